// The field-mapping capture as a user meets it: a right click over a page in
// the real browser engine opens the program's menu without clicking the page,
// and the menu's mapping rows, picked on the shown menu, add or remove the
// field under the pointer in the record grid.
#include "support/httpserver.h"
#include "support/pagejs.h"
#include "support/scriptedprompt.h"
#include "workbench/capture.h"
#include "workbench/recordeditor.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/browserpane.h"
#include "workbenchfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QAbstractItemDelegate>
#include <QStyleOptionViewItem>
#include <QLayout>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QWebEngineView>
#include <QtTest>

#include "controls/browsermenu.h"
#include "controls/tframelessie.h"

using namespace qv::workbench;
using qv::test::HttpScript;
using qv::test::HttpServer;
using qv::test::ScriptedPrompt;
using qv::test::Workbench;

namespace {

// A catalog resource open on the edit page, its registration form served by a
// local HTTP server and loaded in the main browser.
struct Capture {
    HttpServer server;
    Workbench w;
    std::unique_ptr<QSignalSpy> opened;

    Capture() { server.listen(); }
    qv::app::TfrmMain &main() { return *w.main; }
    RecordEditor &editor() { return *w.main->records; }

    // Opens the edit page of a new catalog and loads `body` as its form.
    bool open(const QByteArray &body)
    {
        if (!w.db.ok())
            return false;
        QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/catalogs.shbl"), w.ctx.AppDir + QStringLiteral("catalogs.shbl"));
        w.ctx.CurrentKind = qv::core::Kind::Catalogs;
        w.ctx.CurrentUserId = 1;
        w.db.exec(QStringLiteral(
            "INSERT INTO catalogs SET catalog_name='a.example', catalog_title='A', catalog_url='http://a.example', "
            "catalog_aurl='http://a.example/add', catalog_need_burl='0', catalog_redirect='0'"));
        const int id = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        w.db.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=7").arg(id));
        ResourceList &list = *w.main->resources;
        list.fill({ListSource::Rubric, 7, {}});
        for (int r = 0; r < list.count(); ++r) {
            if (list.subItem(r, SubName) == QLatin1String("a.example"))
                list.selectRow(r);
        }
        w.main->browser->lvLinksClick();
        w.main->pcMain->setCurrentIndex(1);
        editor().pcMainChange();
        if (w.main->pcMain->currentIndex() != 1 || editor().loadedId() != id)
            return false;

        HttpScript page;
        page.addHeader("Content-Type", "text/html; charset=utf-8");
        page.body = body;
        server.setReply("/form.html", page);
        HttpScript sent;
        sent.addHeader("Content-Type", "text/html; charset=utf-8");
        sent.body = "<html><body>sent</body></html>";
        server.setReply("/sent.html", sent);
        server.setReply("/linked.html", sent);
        main().resize(1200, 800);
        main().show();
        main().tcWeb->setCurrentIndex(1);
        QSignalSpy loaded(main().Web, &QWebEngineView::loadFinished);
        main().Web->setUrl(QUrl(formUrl()));
        if (!loaded.wait(20000) || !loaded.first().first().toBool())
            return false;
        if (!QTest::qWaitFor([&] { return main().Web->focusProxy() && main().Web->focusProxy()->isVisible(); }, 5000))
            return false;
        opened = std::make_unique<QSignalSpy>(main().capture, &FieldCapture::menuOpened);
        return true;
    }
    QString formUrl() const { return server.baseUrl() + QStringLiteral("/form.html"); }

    // A right click at `at` (view coordinates) with the real mouse events;
    // true once the program's menu is shown.
    bool rightClick(QPoint at)
    {
        const qsizetype before = opened->size();
        QWidget *inner = main().Web->focusProxy();
        QTest::mousePress(inner, Qt::RightButton, {}, inner->mapFrom(main().Web, at));
        QTest::mouseRelease(inner, Qt::RightButton, {}, inner->mapFrom(main().Web, at));
        return QTest::qWaitFor([&] { return opened->size() > before && main().pmWeb->isVisible(); }, 10000);
    }
    QAction *item(const QString &caption)
    {
        for (QAction *a : main().pmWeb->actions()) {
            if (a->data().toString() == caption)
                return a;
        }
        return nullptr;
    }
    QStringList captions()
    {
        QStringList out;
        for (QAction *a : main().pmWeb->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->data().toString());
        return out;
    }
    // Picks an item of the shown menu with a mouse click on it.
    void clickItem(QAction *a)
    {
        QMenu *menu = main().pmWeb;
        const QPoint at = menu->actionGeometry(a).center();
        QTest::mouseMove(menu, at);
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
    }
    // Picks an item of the shown menu from the keyboard.
    void keyItem(QAction *a)
    {
        QMenu *menu = main().pmWeb;
        menu->setActiveAction(a);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    QVariant js(const QString &script) { return qv::test::evaluateJs(main().Web, script); }
    // The context-menu request from the keyboard on the focused page; true
    // once the program's menu is shown, and no other menu is.
    bool menuKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        const qsizetype before = opened->size();
        QTest::keyClick(main().Web->focusProxy(), key, modifiers);
        return QTest::qWaitFor([&] { return opened->size() > before && main().pmWeb->isVisible(); }, 10000)
               && otherMenusShown().isEmpty();
    }
    // Moves the page's focus with the Tab key until the element `id` has it.
    bool tabTo(const QString &id)
    {
        QWidget *inner = main().Web->focusProxy();
        inner->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(inner, Qt::Key_Tab);
            if (QTest::qWaitFor([&] { return js(QStringLiteral("document.activeElement.id")).toString() == id; }, 1000))
                return true;
        }
        return false;
    }
    // Menus on screen besides the program's (the engine's own among them).
    QList<QMenu *> otherMenusShown()
    {
        QList<QMenu *> shown;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *menu = qobject_cast<QMenu *>(w); menu && menu->isVisible() && menu != main().pmWeb)
                shown << menu;
        }
        return shown;
    }
};

const QByteArray kForm = "<html><head><title>Form</title></head><body style='margin:0'>"
                         "<input name='email' id='f1' style='position:absolute;left:10px;top:10px;width:200px;height:30px'>"
                         "<input name='Descr' id='f2' style='position:absolute;left:10px;top:60px;width:200px;height:30px'>"
                         "<a id='l' href='/linked.html' style='position:absolute;left:10px;top:120px'>link</a>"
                         "</body></html>";

} // namespace

class TestCapture : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A mapping row picked on the shown menu adds the field when the menu
    // showed it unticked and removes it when it showed it ticked.
    void pickedMappingRowsAddAndRemoveTheField()
    {
        Capture c;
        QVERIFY(c.open(kForm));
        ScriptedPrompt p;
        RecordEditor &e = c.editor();
        const QString caption = QStringLiteral("Описание сайта");
        const int row = e.rowOfLabel(caption);
        QVERIFY(row >= 0);
        e.setGridValue(row, QString());
        c.w.ctx.LinkEditUnsaved = false;

        // Add: the row showed no tick.
        QVERIFY(c.rightClick(QPoint(50, 25)));
        QCOMPARE(c.js(QStringLiteral("document.activeElement.id")).toString(), QStringLiteral("f1"));
        QAction *item = c.item(caption);
        QVERIFY(item);
        QVERIFY(!item->isChecked());
        c.clickItem(item);
        QTRY_VERIFY(!c.main().pmWeb->isVisible());
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));
        QVERIFY(c.w.ctx.LinkEditUnsaved);

        // A second field is appended to the row.
        QVERIFY(c.rightClick(QPoint(50, 75)));
        QVERIFY(!item->isChecked());
        c.clickItem(item);
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL,DESCR"));

        // Remove: the row showed a tick for the field under the pointer.
        QVERIFY(c.rightClick(QPoint(50, 75)));
        QVERIFY(item->isChecked());
        item->trigger();
        c.main().pmWeb->hide();
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));

        // The same row picked twice for one field: in, then out again.
        QVERIFY(c.rightClick(QPoint(50, 75)));
        QVERIFY(!item->isChecked());
        c.keyItem(item);
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL,DESCR"));
        QVERIFY(c.rightClick(QPoint(50, 75)));
        QVERIFY(item->isChecked());
        c.keyItem(item);
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));
        QVERIFY(p.messages.isEmpty());
    }

    // A right click only focuses and reads the element under the pointer:
    // the page sees no click, a submit button sends nothing, a check box
    // keeps its state, a link is not followed.
    void aRightClickSendsNoClickToThePage()
    {
        Capture c;
        QVERIFY(c.open(
            "<html><body style='margin:0'>"
            "<script>var seen = 0; ['mousedown','mouseup','click','auxclick','contextmenu'].forEach("
            "function(t){ document.addEventListener(t, function(){"
            " document.documentElement.setAttribute('data-seen', ++seen); }, true); });</script>"
            "<form action='/sent.html' method='post'>"
            "<input name='email' value='me@example.com' style='position:absolute;left:10px;top:10px;width:200px;height:30px'>"
            "<input type='submit' name='go' value='Send' style='position:absolute;left:10px;top:60px;width:200px;height:30px'>"
            "<input type='checkbox' name='agree' id='agree' style='position:absolute;left:10px;top:110px;width:30px;height:30px'>"
            "</form>"
            "<a href='/linked.html' style='position:absolute;left:10px;top:160px'>link</a>"
            "</body></html>"));
        ScriptedPrompt p;
        c.server.clearRequests();
        // Nothing reached the page, nothing was sent, the page stayed.
        auto untouched = [&] {
            QTest::qWait(300);
            bool sent = false;
            for (const auto &request : c.server.requests())
                sent = sent || request.path != "/favicon.ico";
            return !sent
                   && c.js(QStringLiteral("document.documentElement.getAttribute('data-seen') || 'none'")).toString()
                          == QLatin1String("none")
                   && c.js(QStringLiteral("location.href")).toString() == c.formUrl();
        };

        QVERIFY(c.rightClick(QPoint(50, 75)));
        QCOMPARE(c.main().capture->target().fieldName, QStringLiteral("GO"));
        c.main().pmWeb->hide();
        QVERIFY(untouched());

        QVERIFY(c.rightClick(QPoint(25, 125)));
        QCOMPARE(c.main().capture->target().fieldName, QStringLiteral("AGREE"));
        QCOMPARE(c.js(QStringLiteral("document.activeElement.id")).toString(), QStringLiteral("agree"));
        c.main().pmWeb->hide();
        QVERIFY(untouched());
        QCOMPARE(c.js(QStringLiteral("document.getElementById('agree').checked")).toBool(), false);

        QVERIFY(c.rightClick(QPoint(15, 165)));
        QCOMPARE(c.main().capture->target().fieldName, QString());
        c.main().pmWeb->hide();
        QVERIFY(untouched());
        QCOMPARE(c.main().Web->url().toString(), c.formUrl());
    }

    // The grid row a pick changed is the current one and in view, and every
    // name of the grid can be read whole.
    void aPickShowsItsRowInTheGrid()
    {
        Capture c;
        QVERIFY(c.open(kForm));
        ScriptedPrompt p;
        RecordEditor &e = c.editor();
        QTableWidget *grid = e.vlCatalog;
        const QString caption = QStringLiteral("Пароль на сайте");
        const int row = e.rowOfLabel(caption);
        QVERIFY(row >= 0);
        grid->setCurrentCell(0, 1);
        grid->scrollToTop();
        QVERIFY(!grid->viewport()->rect().contains(grid->visualItemRect(grid->item(row, 1))));

        QVERIFY(c.rightClick(QPoint(50, 25)));
        QAction *item = c.item(caption);
        QVERIFY(item);
        c.keyItem(item);
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));
        QCOMPARE(grid->currentRow(), row);
        QVERIFY(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(row, 1))));

        // Each name fits its column, or shows whole as the cell's tool tip.
        QStyleOptionViewItem option;
        option.initFrom(grid);
        option.font = grid->font();
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QTableWidgetItem *name = grid->item(r, 0);
            QVERIFY(name);
            const int needed = grid->itemDelegate()->sizeHint(option, grid->model()->index(r, 0)).width();
            QVERIFY2(needed <= grid->columnWidth(0) || name->toolTip() == name->text(), qPrintable(name->text()));
        }
    }

    // The menu's other items: the link under the pointer, the page's
    // properties, and a mapping row with no field under the pointer.
    void theLinkPropertiesAndNoFieldItems()
    {
        Capture c;
        QVERIFY(c.open(kForm));
        ScriptedPrompt p;
        RecordEditor &e = c.editor();
        const int row = e.rowOfLabel(QStringLiteral("Описание сайта"));
        e.setGridValue(row, QStringLiteral("EMAIL"));

        QVERIFY(c.rightClick(QPoint(50, 25)));
        c.clickItem(c.item(QStringLiteral("Свойства")));
        QCOMPARE(p.messages.constLast(), QStringLiteral("Заголовок: Form\nАдрес: ") + c.formUrl());

        // "Копировать ссылку" copies the link under the pointer and touches
        // neither the grid nor the unsaved flag.
        c.w.ctx.LinkEditUnsaved = false;
        QVERIFY(c.rightClick(QPoint(20, 128)));
        c.clickItem(c.item(QStringLiteral("Копировать ссылку")));
        QCOMPARE(QApplication::clipboard()->text(), c.server.baseUrl() + QStringLiteral("/linked.html"));
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));
        QVERIFY(!c.w.ctx.LinkEditUnsaved);

        // A mapping row with no field under the pointer says so.
        QVERIFY(c.rightClick(QPoint(20, 128)));
        c.clickItem(c.item(QStringLiteral("Описание сайта")));
        QCOMPARE(p.messages.constLast(), QStringLiteral("Не установлен курсор в поле формы!"));
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));
        QVERIFY(c.w.ctx.LinkEditUnsaved);
    }

    // The Menu key and Shift+F10 on the page open the program's menu, never
    // the engine's: on the edit page its mapping rows for the focused field,
    // ticked where the row lists it, and a pick adds the field.
    void theKeyboardOpensTheMappingMenuForTheFocusedField()
    {
        Capture c;
        QVERIFY(c.open(kForm));
        ScriptedPrompt p;
        RecordEditor &e = c.editor();
        const QString caption = QStringLiteral("Описание сайта");
        const int row = e.rowOfLabel(caption);
        e.setGridValue(row, QStringLiteral("EMAIL"));
        QVERIFY(c.tabTo(QStringLiteral("f2")));

        QVERIFY(c.menuKey(Qt::Key_Menu));
        QCOMPARE(c.main().capture->target().fieldName, QStringLiteral("DESCR"));
        QAction *item = c.item(caption);
        QVERIFY(item && item->isCheckable());
        QVERIFY(!item->isChecked());
        c.keyItem(item);
        QTRY_VERIFY(!c.main().pmWeb->isVisible());
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL,DESCR"));

        // The field stays focused: Shift+F10 shows the row ticked now.
        QVERIFY(c.menuKey(Qt::Key_F10, Qt::ShiftModifier));
        QCOMPARE(c.main().capture->target().fieldName, QStringLiteral("DESCR"));
        QVERIFY(c.item(caption)->isChecked());
        c.main().pmWeb->hide();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(c.js(QStringLiteral("location.href")).toString(), c.formUrl());
    }

    // Outside the edit page the keyboard opens the fixed menu, whose items
    // carry no check box.
    void theKeyboardOpensTheFixedMenuOutsideTheEditPage()
    {
        Capture c;
        QVERIFY(c.open(kForm));
        ScriptedPrompt p;
        c.main().pcMain->setCurrentIndex(0);
        QCOMPARE(c.captions(), qv::controls::DefaultBrowserMenu());
        QVERIFY(c.rightClick(QPoint(50, 25)));
        for (QAction *a : c.main().pmWeb->actions())
            QVERIFY2(!a->isCheckable(), qPrintable(a->data().toString()));
        c.main().pmWeb->hide();
        QVERIFY(c.tabTo(QStringLiteral("f1")));
        for (auto [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers{}},
                                      std::pair{Qt::Key_F10, Qt::KeyboardModifiers{Qt::ShiftModifier}}}) {
            QVERIFY(c.menuKey(key, modifiers));
            for (QAction *a : c.main().pmWeb->actions())
                QVERIFY2(!a->isCheckable() && !a->isChecked(), qPrintable(a->data().toString()));
            c.main().pmWeb->hide();
        }
        // Its edit item opens the resource's record.
        QVERIFY(c.menuKey(Qt::Key_Menu));
        c.keyItem(c.item(qv::controls::BrowserEditItem()));
        QTRY_COMPARE(c.main().pcMain->currentIndex(), 1);
        QVERIFY(p.messages.isEmpty());
    }

    // With no page loaded (the help pane before its first page) the menu
    // says so and ticks nothing.
    void aMenuWithNoPageSaysSoAndTicksNothing()
    {
        Capture c;
        QVERIFY(c.open(kForm));
        ScriptedPrompt p;
        RecordEditor &e = c.editor();
        e.setGridValue(e.rowOfLabel(QStringLiteral("Описание сайта")), QStringLiteral("EMAIL"));
        QWebEngineView *help = c.main().wbHelp;
        QVERIFY(help->url().isEmpty());
        QTest::mousePress(help, Qt::RightButton, {}, QPoint(20, 20));
        QTest::mouseRelease(help, Qt::RightButton, {}, QPoint(20, 20));
        QTRY_VERIFY(c.main().pmWeb->isVisible());
        QCOMPARE(p.messages, QStringList{QStringLiteral(" !!!??? Nothing dowloaded ... ")});
        QVERIFY(c.item(QStringLiteral("Описание сайта")));
        for (QAction *a : c.main().pmWeb->actions())
            QVERIFY2(!a->isChecked(), qPrintable(a->data().toString()));
        c.main().pmWeb->hide();
    }

    void theAdStripOpensNoMenu()
    {
        HttpServer server;
        server.listen();
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        qv::app::TfrmMain &m = *w.main;
        HttpScript page;
        page.addHeader("Content-Type", "text/html; charset=utf-8");
        page.body = "<html><body><input name='ad' style='width:100%;height:100%'></body></html>";
        server.setReply("/pad/frmMain.php", page);
        m.AdStrip = new qv::controls::TFramelessIE(m.pnlAdTop);
        m.pnlAdTop->layout()->addWidget(m.AdStrip);
        m.resize(1200, 900);
        m.show();
        QSignalSpy loaded(m.AdStrip, &QWebEngineView::loadFinished);
        m.AdStrip->setUrl(QUrl(server.baseUrl() + QStringLiteral("/pad/frmMain.php")));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(m.AdStrip->focusProxy() && m.AdStrip->focusProxy()->isVisible(), 5000);
        QSignalSpy opened(m.capture, &FieldCapture::menuOpened);
        QWidget *target = m.AdStrip->focusProxy();
        QTest::mousePress(target, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(5, 5));
        QTest::qWait(300);
        QCOMPARE(opened.size(), 0);
        QVERIFY(!m.pmWeb->isVisible());
        // Nor does the keyboard: no menu of the program's, none of the engine's.
        QTest::keyClick(target, Qt::Key_Menu);
        QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
        QTest::qWait(300);
        QCOMPARE(opened.size(), 0);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QMenu *>(w) || !w->isVisible());
    }
};

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
