#include "workbench/capture.h"
#include "controls/browsermenu.h"
#include "controls/browserview.h"
#include "mainview/mainview.h"
#include "controls/tframelessie.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "workbench/recordeditor.h"
#include "workbench/recordeditor_logic.h"
#include "workbench/resourcelist.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace qv::workbench {

using core::prompt;

namespace {
// The tick a mapping row showed when the menu opened. Qt turns the check
// over before an item's `triggered` arrives, so the pick is decided by this.
const char *const kShownTicked = "shownTicked";

// An item's caption as the menu was given it (the shown text doubles "&").
QString captionOf(const QAction *a) { return a->data().toString(); }

// The browser a widget belongs to (its own view or the engine's inner widget).
QWebEngineView *browserOf(QObject *o)
{
    for (auto *w = qobject_cast<QWidget *>(o); w; w = w->parentWidget()) {
        if (auto *view = qobject_cast<QWebEngineView *>(w))
            return view;
    }
    return nullptr;
}

// What the menu needs of an element, in script: its name and the link
// around it.
const char *const kDescribe = "function describe(e) {"
                              "  if (!e) return {name: '', link: ''};"
                              "  var a = e.closest ? e.closest('a') : null;"
                              "  var n = e.getAttribute ? e.getAttribute('name') : null;"
                              "  return {name: n || '', link: a && a.href ? String(a.href) : ''};"
                              "}";

// The element under a point of the page, focused and described.
QString probeScript(const QPointF &css)
{
    return QStringLiteral("(function(x, y) { %1"
                          "  var e = document.elementFromPoint(x, y);"
                          "  if (e && e.focus) e.focus();"
                          "  return describe(e);"
                          "})(%2, %3)")
        .arg(QLatin1String(kDescribe))
        .arg(css.x(), 0, 'f', 1)
        .arg(css.y(), 0, 'f', 1);
}

// The page's focused element, described (the page itself counts as none).
QString focusedScript()
{
    return QStringLiteral("(function() { %1"
                          "  var e = document.activeElement;"
                          "  return describe(e === document.body || e === document.documentElement ? null : e);"
                          "})()")
        .arg(QLatin1String(kDescribe));
}
} // namespace

FieldCapture::FieldCapture(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    main.WebMenuItemClick = [this](QAction *a) { WebMenuItemClick(a); };
    connect(main.pmWeb, &QMenu::aboutToShow, this, &FieldCapture::pmWebPopup);
    // The keyboard's request for the menu (the Menu key, Shift+F10) opens it
    // for the focused element, as a right click does for the one under the
    // pointer.
    for (QWebEngineView *view : {main.Web, main.wbHelp}) {
        if (auto *browser = qobject_cast<controls::BrowserView *>(view))
            connect(browser, &controls::BrowserView::pageMenuRequested, this, [this, browser](const QPoint &at) {
                openMenu(browser, browser->mapToGlobal(browser->rect().contains(at) ? at : browser->rect().center()),
                         focusedScript());
            });
    }
    qApp->installEventFilter(this);
}

FieldCapture::~FieldCapture()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool FieldCapture::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick
        && type != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    QWebEngineView *view = browserOf(watched);
    if (!view || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    // No browser shows its own menu.
    if (type == QEvent::ContextMenu)
        return true;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::RightButton)
        return QObject::eventFilter(watched, event);
    // The page never sees the right button: no press, no release, no click.
    if (type == QEvent::MouseButtonRelease)
        browserRightClick(view, static_cast<QWidget *>(watched), view->mapFromGlobal(mouse->globalPosition().toPoint()));
    return true;
}

void FieldCapture::browserRightClick(QWebEngineView *view, QWidget *target, const QPoint &local)
{
    if (!hasMenu(view))
        return;
    // The element under the pointer is focused and read by script alone.
    if (!view->url().isEmpty())
        target->setFocus(Qt::MouseFocusReason);
    openMenu(view, view->mapToGlobal(local), probeScript(QPointF(local) / view->zoomFactor()));
}

bool FieldCapture::hasMenu(QWebEngineView *view) const
{
    return (view == m_main.Web || view == m_main.wbHelp) && !qobject_cast<controls::TFramelessIE *>(view);
}

void FieldCapture::openMenu(QWebEngineView *view, const QPoint &screen, const QString &script)
{
    if (!hasMenu(view))
        return;
    const quint64 click = ++m_clicks;
    if (view->url().isEmpty()) {
        m_target = Target{};
        m_main.pmWeb->popup(screen);
        Q_EMIT menuOpened();
        return;
    }
    QPointer<QWebEngineView> guard(view);
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [this, guard, click, screen](const QVariant &v) {
        // A later request, or a view gone meanwhile, makes this answer stale.
        if (!guard || click != m_clicks)
            return;
        const QVariantMap m = v.toMap();
        m_target.document = v.isValid();
        m_target.fieldName = m.value(QStringLiteral("name")).toString().toUpper();
        m_target.link = m.value(QStringLiteral("link")).toString();
        m_main.pmWeb->popup(screen);
        Q_EMIT menuOpened();
    });
}

void FieldCapture::pmWebPopup()
{
    const QList<QAction *> items = m_main.pmWeb->actions();
    // Without a page nothing is ticked, and the user is told.
    if (!m_target.document) {
        for (QAction *a : items) {
            a->setChecked(false);
            a->setProperty(kShownTicked, false);
        }
        prompt().message(QStringLiteral(" !!!??? Nothing dowloaded ... "));
        return;
    }
    RecordEditor *editor = m_main.records;
    Q_ASSERT(editor);
    if (items.size() < 4 || !editor)
        return;
    const QString name = m_target.fieldName;
    const QStringList fixed = controls::DefaultBrowserMenu();
    for (int i = 0; i < items.size() - 3; ++i) {
        QAction *a = items[i];
        // The menu's own items are commands, never ticked.
        if (a->isSeparator() || fixed.contains(captionOf(a)))
            continue;
        a->setCheckable(true);
        const int row = editor->rowOfLabel(captionOf(a));
        const QString value = row >= 0 ? editor->gridValue(row) : QString();
        a->setChecked(name.isEmpty() ? !value.isEmpty() : MappingHas(value, name));
        a->setProperty(kShownTicked, a->isChecked());
    }
}

void FieldCapture::WebMenuItemClick(QAction *item)
{
    if (!item)
        return;
    const QString caption = captionOf(item);
    QWebEngineView *web = m_main.Web;
    if (caption == controls::BrowserCopyItem()) {
        web->page()->triggerAction(QWebEnginePage::Copy);
        return;
    }
    if (caption == controls::BrowserCopyLinkItem()) {
        // The link under the pointer, else the page's own address.
        QApplication::clipboard()->setText(m_target.link.isEmpty() ? web->url().toString() : m_target.link);
        return;
    }
    if (caption == controls::BrowserPropertiesItem()) {
        prompt().message(QStringLiteral("Заголовок: ") + web->title() + QStringLiteral("\nАдрес: ") + web->url().toString());
        return;
    }
    if (caption == controls::BrowserEditItem()) {
        Q_ASSERT(m_main.resources && m_main.records);
        if (m_main.resources && m_main.resources->selectedRow() >= 0 && m_main.records) {
            m_main.pcMain->setCurrentIndex(1);
            m_main.records->pcMainChange();
        }
        return;
    }
    RecordEditor *editor = m_main.records;
    Q_ASSERT(editor);
    if (!editor)
        return;
    // Removal when the row showed a tick, addition otherwise. The tick Qt
    // turned over is put back; a pick below sets it to what the row holds.
    const bool ticked = item->property(kShownTicked).toBool();
    item->setChecked(ticked);
    m_ctx.LinkEditUnsaved = true;
    if (!m_target.document) {
        prompt().message(QStringLiteral(" !!!??? Nothing dowloaded ... "));
        return;
    }
    const QString name = m_target.fieldName;
    if (name.isEmpty()) {
        prompt().message(QStringLiteral("Не установлен курсор в поле формы!"));
        return;
    }
    const int row = editor->rowOfLabel(caption);
    if (row < 0)
        return;
    const QString value = ticked ? MappingRemove(editor->gridValue(row), name) : MappingAdd(editor->gridValue(row), name);
    editor->setGridValue(row, value);
    item->setChecked(MappingHas(value, name));
    item->setProperty(kShownTicked, item->isChecked());
    // The row the pick changed, current and in view.
    QTableWidget *grid = editor->vlCatalog;
    grid->setCurrentCell(row, 1);
    grid->scrollToItem(grid->item(row, 1));
}

} // namespace qv::workbench
