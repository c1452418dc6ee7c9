#include "workbench/capture.h"
#include "controls/browsermenu.h"
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

// The element under a point of the page: focused, its name and the link
// around it, read in one script.
QString probeScript(const QPointF &css)
{
    return QStringLiteral("(function(x, y) {"
                          "  var e = document.elementFromPoint(x, y);"
                          "  if (!e) return {name: '', link: ''};"
                          "  var a = e.closest ? e.closest('a') : null;"
                          "  if (e.focus) e.focus();"
                          "  var n = e.getAttribute ? e.getAttribute('name') : null;"
                          "  return {name: n || '', link: a && a.href ? String(a.href) : ''};"
                          "})(%1, %2)")
        .arg(css.x(), 0, 'f', 1)
        .arg(css.y(), 0, 'f', 1);
}
} // namespace

FieldCapture::FieldCapture(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    main.WebMenuItemClick = [this](QAction *a) { WebMenuItemClick(a); };
    connect(main.pmWeb, &QMenu::aboutToShow, this, &FieldCapture::pmWebPopup);
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
    const QPointF global = view->mapToGlobal(local);
    const bool withMenu = view == m_main.Web || view == m_main.wbHelp;
    if (!withMenu || qobject_cast<controls::TFramelessIE *>(view))
        return;
    const quint64 click = ++m_clicks;
    QPointer<QWebEngineView> guard(view);
    const QPoint screen = global.toPoint();
    if (view->url().isEmpty()) {
        m_target = Target{};
        m_main.pmWeb->popup(screen);
        Q_EMIT menuOpened();
        return;
    }
    // The element under the pointer is focused and read by script alone.
    target->setFocus(Qt::MouseFocusReason);
    const QPointF css = QPointF(local) / view->zoomFactor();
    view->page()->runJavaScript(probeScript(css), QWebEngineScript::ApplicationWorld, [this, guard, click, screen](const QVariant &v) {
        // A later click, or a view gone meanwhile, makes this answer stale.
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
    RecordEditor *editor = m_main.records;
    Q_ASSERT(editor);
    if (items.size() < 4 || !editor)
        return;
    const QString name = m_target.fieldName;
    for (int i = 0; i < items.size() - 3; ++i) {
        QAction *a = items[i];
        if (a->isSeparator())
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
