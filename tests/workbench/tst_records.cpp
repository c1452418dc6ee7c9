// The record editor on the main window over the test database: adding a
// resource by its address, loading and saving a record with its rubrics, the
// unsaved-edit question, the upload offer against a local service, and the
// field capture by a right click in the browser.
#include "support/httpserver.h"
#include "support/pagejs.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "workbench/browserpane.h"
#include "workbench/capture.h"
#include "workbench/recordeditor.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/tfrmtobaza.h"
#include "workbenchfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QWebEngineView>
#include <QtTest>

#include "controls/tframelessie.h"
#include "controls/tmirztreeview.h"
#include "core/http.h"

using namespace qv::workbench;
using qv::test::HttpScript;
using qv::test::HttpServer;
using qv::test::ScriptedPrompt;
using qv::test::Workbench;

namespace {

// A workbench whose maker is a local HTTP server, with the catalogs template
// beside the program.
struct Records {
    HttpServer server;
    std::unique_ptr<Workbench> w;
    TfrmToBaza *upload = nullptr;

    Records()
    {
        server.listen();
        w = std::make_unique<Workbench>();
        QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/catalogs.shbl"), w->ctx.AppDir + QStringLiteral("catalogs.shbl"));
        QFile ini(w->ctx.configPath());
        if (ini.open(QIODevice::WriteOnly))
            ini.write(("[Hosts]\nmaker=" + server.baseUrl() + "\n").toUtf8());
        ini.close();
        w->ctx.ConfigIni.open(w->ctx.configPath());
        w->ctx.CurrentKind = QStringLiteral("catalogs");
        w->ctx.CurrentUserId = 1;
        upload = new TfrmToBaza(w->ctx, w->main.get());
        upload->client()->setTimeoutMs(2000);
        editor().attachUpload(upload);
    }
    RecordEditor &editor() { return *w->main->records; }

    int addCatalog(const QString &name, const QList<int> &rubrics)
    {
        w->db.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='%1', catalog_title='Title %1', catalog_url='http://%1', "
                                  "catalog_aurl='http://%1/add', catalog_need_burl='1', catalog_redirect='0'")
                       .arg(name));
        const int id = w->db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        for (int r : rubrics)
            w->db.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=%2").arg(id).arg(r));
        return id;
    }
    // The list of one rubric, with the resource `name` selected as by a click.
    void select(int rubricId, const QString &name)
    {
        ResourceList &list = *w->main->resources;
        list.fill({ListSource::Rubric, rubricId, {}});
        for (int r = 0; r < list.count(); ++r) {
            if (list.subItem(r, SubName) == name)
                list.selectRow(r);
        }
        w->main->browser->lvLinksClick();
    }
    // The edit page, entered as the user's tab choice does.
    bool openEditor()
    {
        w->main->pcMain->setCurrentIndex(1);
        editor().pcMainChange();
        return w->main->pcMain->currentIndex() == 1;
    }
    // The resource chosen in the list, then the edit page.
    bool edit(int rubricId, const QString &name)
    {
        select(rubricId, name);
        return openEditor();
    }
    QTreeWidgetItem *rubricNode(int id)
    {
        QList<QTreeWidgetItem *> stack;
        for (int i = 0; i < editor().trvSubjects->topLevelItemCount(); ++i)
            stack << editor().trvSubjects->topLevelItem(i);
        while (!stack.isEmpty()) {
            QTreeWidgetItem *n = stack.takeLast();
            if (n->data(0, Qt::UserRole).toInt() == id)
                return n;
            for (int i = 0; i < n->childCount(); ++i)
                stack << n->child(i);
        }
        return nullptr;
    }
    int state(int rubricId) { return qv::controls::TmirzTreeView::state(rubricNode(rubricId)); }
    void tick(int rubricId, bool on) { editor().trvSubjects->setState(rubricNode(rubricId), on ? 2 : 1); }
    QString column(int id, const QString &col)
    {
        return w->db.scalar(QStringLiteral("SELECT %1 FROM catalogs WHERE catalog_id=%2").arg(col).arg(id));
    }
    QStringList links(int id)
    {
        return w->db.rows(
            QStringLiteral("SELECT s2c_subject_id FROM csubjects2catalogs WHERE s2c_catalog_id=%1 ORDER BY s2c_subject_id").arg(id));
    }
};

// Dialog answers for the upload offer.
int skipUpload(QDialog *d)
{
    static_cast<TfrmToBaza *>(d)->btnSkip->click();
    return QDialog::Rejected;
}
int sendUpload(QDialog *d)
{
    static_cast<TfrmToBaza *>(d)->btnSend->click();
    return QDialog::Accepted;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addPageCreatesOnceAndOpensTheEditor()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        RecordEditor &e = r.editor();

        e.edtURLAdd->setText(QStringLiteral("   "));
        e.LinkCreateClick();
        e.edtURLAdd->setText(QStringLiteral("http://"));
        e.LinkCreateClick();
        QCOMPARE(p.messages, (QStringList{QStringLiteral("Вы не ввели URL"), QStringLiteral("Вы не ввели URL")}));

        e.edtURLAdd->setText(QStringLiteral("new.example/cgi/add.php?x=1"));
        e.LinkCreateClick();
        const int id = r.w->db.scalar(QStringLiteral("SELECT catalog_id FROM catalogs WHERE catalog_name='new.example'")).toInt();
        QVERIFY(id > 0);
        QCOMPARE(r.column(id, QStringLiteral("catalog_url")), QStringLiteral("http://new.example"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_aurl")), QStringLiteral("new.example/cgi/add.php?x=1"));
        QCOMPARE(r.w->main->pcMain->currentIndex(), 1);
        QCOMPARE(e.loadedId(), id);
        QCOMPARE(e.gridValue(0), QStringLiteral("new.example"));
        QCOMPARE(e.gridValue(e.rowOfLabel(QStringLiteral("Сайт ресурса"))), QStringLiteral("http://new.example"));
        QCOMPARE(r.w->main->tcWeb->currentIndex(), 1);

        // The same site again opens the row it already has.
        r.w->main->pcMain->setCurrentIndex(2);
        e.pcMainChange();
        QCOMPARE(e.edtURLAdd->text(), QString());
        e.edtURLAdd->setText(QStringLiteral("https://new.example/other"));
        e.LinkCreateClick();
        QCOMPARE(r.w->db.scalar(QStringLiteral("SELECT COUNT(*) FROM catalogs WHERE catalog_name='new.example'")).toInt(), 1);
        QCOMPARE(e.loadedId(), id);
    }

    void loadShowsTheRowTicksAndFlags()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int id = r.addCatalog(QStringLiteral("a.example"), {7, 11});
        QVERIFY(r.edit(11, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        QCOMPARE(e.loadedId(), id);
        QCOMPARE(e.edtCatalogTitle->text(), QStringLiteral("Title a.example"));
        QVERIFY(e.cbNeedBURL->isChecked());
        QVERIFY(!e.cbRedirect->isChecked());
        QCOMPARE(r.state(7), 2);
        QCOMPARE(r.state(11), 2);
        QCOMPARE(r.state(8), 1);
        QVERIFY(r.rubricNode(7)->parent() == r.rubricNode(1));
        QVERIFY(!r.w->main->pmWeb->actions().isEmpty());
        QCOMPARE(r.w->main->pmWeb->actions().constLast()->text(), QStringLiteral("Свойства"));

        // A row gone since the click leaves the editor for the list.
        r.w->db.exec(QStringLiteral("DELETE FROM catalogs WHERE catalog_id=%1").arg(id));
        r.w->main->pcMain->setCurrentIndex(0);
        e.pcMainChange();
        QVERIFY(r.openEditor() == false);
        QCOMPARE(r.w->main->pcMain->currentIndex(), 0);
        QVERIFY(p.messages.constLast().contains(QStringLiteral("a.example")));

        // No template beside the program: a message, back to the list.
        r.addCatalog(QStringLiteral("b.example"), {11});
        r.select(11, QStringLiteral("b.example"));
        QFile::remove(r.w->ctx.AppDir + QStringLiteral("catalogs.shbl"));
        const int before = p.messages.size();
        QVERIFY(!r.openEditor());
        QCOMPARE(p.messages.size(), before + 1);
    }

    void saveWritesOneRecordItsLinksAndList()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int id = r.addCatalog(QStringLiteral("a.example"), {7});
        const int other = r.addCatalog(QStringLiteral("z.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        const QString title = QStringLiteral("Заголовок \"в кавычках\" \\ и 'апостроф'");
        e.edtCatalogTitle->setText(title);
        e.setGridValue(e.rowOfLabel(QStringLiteral("Описание сайта")), QStringLiteral("DESCR, TEXT"));
        e.cbRedirect->setChecked(true);
        r.tick(7, false);
        r.tick(10, true);
        r.tick(12, true);
        // Another click in the list between loading and saving changes nothing.
        r.select(7, QStringLiteral("z.example"));
        p.dialogs << skipUpload;
        QVERIFY(e.btnSaveChangesClick());
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), title);
        QCOMPARE(r.column(id, QStringLiteral("catalog_description_site")), QStringLiteral("DESCR, TEXT"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_redirect")), QStringLiteral("1"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_need_burl")), QStringLiteral("1"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_user_id_edit")), QStringLiteral("1"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_subjects")), QStringLiteral("10: 12 "));
        QCOMPARE(r.links(id), (QStringList{"10", "12"}));
        QCOMPARE(r.links(other), QStringList{"7"});
        QCOMPARE(r.column(other, QStringLiteral("catalog_title")), QStringLiteral("Title z.example"));
        QCOMPARE(p.dialogsShown, QStringList{QStringLiteral("frmToBaza")});
        QVERIFY(r.server.requests().isEmpty());

        // Saved again, the title stays as it is.
        p.dialogs << skipUpload;
        QVERIFY(e.btnSaveChangesClick());
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), title);
        QCOMPARE(r.links(id), (QStringList{"10", "12"}));
    }

    void refusedSavesChangeNothing()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int id = r.addCatalog(QStringLiteral("a.example"), {7});
        r.addCatalog(QStringLiteral("taken.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        e.edtCatalogTitle->setText(QStringLiteral("changed"));
        r.w->ctx.LinkEditUnsaved = true;

        r.tick(7, false);
        QVERIFY(!e.btnSaveChangesClick());
        QCOMPARE(p.messages.constLast(), QStringLiteral("Не выбран раздел ссылки!"));
        QVERIFY(r.w->ctx.LinkEditUnsaved);

        r.tick(8, true);
        e.setGridValue(0, QStringLiteral("  "));
        QVERIFY(!e.btnSaveChangesClick());
        QCOMPARE(p.messages.constLast(), QStringLiteral("Имя ресурса не может быть пустым!"));

        e.setGridValue(0, QStringLiteral("taken.example"));
        QVERIFY(!e.btnSaveChangesClick());
        QCOMPARE(p.messages.constLast(), QStringLiteral("Ресурс с именем \"taken.example\" уже есть в базе!"));

        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_name")), QStringLiteral("a.example"));
        QCOMPARE(r.links(id), QStringList{"7"});

        // A link insert that fails leaves the record and its links as they
        // were, the edits on screen and still unsaved, and no upload offer.
        QVERIFY(r.w->db.exec(QStringLiteral("CREATE TRIGGER qv_no_links BEFORE INSERT ON csubjects2catalogs FOR EACH ROW "
                                            "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='no links'")));
        e.setGridValue(0, QStringLiteral("renamed.example"));
        const int messages = p.messages.size();
        QVERIFY(!e.btnSaveChangesClick());
        QCOMPARE(p.messages.size(), messages + 1);
        QVERIFY(p.messages.constLast().contains(QStringLiteral("no links")));
        QVERIFY(r.w->db.exec(QStringLiteral("DROP TRIGGER qv_no_links")));
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_name")), QStringLiteral("a.example"));
        QCOMPARE(r.column(id, QStringLiteral("IFNULL(catalog_subjects,'')")), QString());
        QCOMPARE(r.links(id), QStringList{"7"});
        QCOMPARE(e.edtCatalogTitle->text(), QStringLiteral("changed"));
        QCOMPARE(e.gridValue(0), QStringLiteral("renamed.example"));
        QVERIFY(r.w->ctx.LinkEditUnsaved);
        QCOMPARE(r.w->ctx.SelectedResourceName, QStringLiteral("a.example"));
        QVERIFY(p.dialogsShown.isEmpty());
    }

    void renameFollowsTheListAndTheSelection()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int id = r.addCatalog(QStringLiteral("old.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("old.example")));
        RecordEditor &e = r.editor();
        e.setGridValue(0, QStringLiteral("new.example"));
        e.edtCatalogTitle->setText(QStringLiteral("New title"));
        p.dialogs << skipUpload;
        QVERIFY(e.btnSaveChangesClick());
        QCOMPARE(r.column(id, QStringLiteral("catalog_name")), QStringLiteral("new.example"));
        QCOMPARE(r.w->ctx.SelectedResourceName, QStringLiteral("new.example"));
        ResourceList &list = *r.w->main->resources;
        QCOMPARE(list.selectedSubItem(SubName), QStringLiteral("new.example"));
        QCOMPARE(list.selectedSubItem(SubTitle), QStringLiteral("New title"));
        QCOMPARE(list.selectedSubItem(SubId), QString::number(id));
    }

    void unsavedEditsAreOfferedBeforeTheReload()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int a = r.addCatalog(QStringLiteral("a.example"), {7});
        const int b = r.addCatalog(QStringLiteral("b.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();

        // "Нет": nothing is written, the next record is shown.
        e.edtCatalogTitle->setText(QStringLiteral("lost"));
        e.vlCatalogSelectCell();
        r.select(7, QStringLiteral("b.example"));
        p.answers << false;
        QVERIFY(r.openEditor());
        QCOMPARE(p.questions.size(), 1);
        QCOMPARE(r.column(a, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
        QCOMPARE(e.loadedId(), b);

        // "Да": the record on screen is saved, then the next one loaded.
        e.edtCatalogTitle->setText(QStringLiteral("kept"));
        e.vlCatalogSelectCell();
        r.select(7, QStringLiteral("a.example"));
        p.answers << true;
        p.dialogs << skipUpload;
        QVERIFY(r.openEditor());
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(r.column(b, QStringLiteral("catalog_title")), QStringLiteral("kept"));
        QCOMPARE(r.column(a, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
        QCOMPARE(e.loadedId(), a);
        QCOMPARE(e.edtCatalogTitle->text(), QStringLiteral("Title a.example"));
        QVERIFY(!r.w->ctx.LinkEditUnsaved);
    }

    void uploadOutcomes_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("hang");
        QTest::addColumn<QString>("message");
        const QString ok = QStringLiteral("Информация успешно внесена на сервер!");
        const QString no = QStringLiteral("Информация не внесена!");
        QTest::newRow("taken") << 200 << QByteArray("OK") << false << ok;
        QTest::newRow("refused") << 200 << QByteArray("306") << false << no;
        QTest::newRow("refused with a line break") << 200 << QByteArray(" 306\r\n") << false << no;
        QTest::newRow("server error") << 500 << QByteArray("OK") << false << no;
        QTest::newRow("redirect") << 302 << QByteArray("OK") << false << no;
        QTest::newRow("no answer") << 200 << QByteArray() << true << no;
    }
    void uploadOutcomes()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, reply);
        QFETCH(bool, hang);
        QFETCH(QString, message);
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        HttpScript s;
        s.status = status;
        s.body = reply;
        s.hang = hang;
        if (status == 302)
            s.addHeader("Location", "/elsewhere");
        r.server.setReply("/get_catalog.php", s);
        r.server.setReply("/elsewhere", HttpScript{});
        const int id = r.addCatalog(QStringLiteral("up.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("up.example")));
        r.editor().edtCatalogTitle->setText(QStringLiteral("Каталог \"№1\""));
        p.dialogs << sendUpload;
        QVERIFY(r.editor().btnSaveChangesClick());
        QCOMPARE(p.messages, QStringList{message});
        const auto requests = r.server.requests();
        QVERIFY(!requests.isEmpty());
        QCOMPARE(requests.first().method, QByteArray("POST"));
        QCOMPARE(requests.first().path, QByteArray("/get_catalog.php"));
        QVERIFY(requests.first().body.startsWith("values="));
        // The saved record went, in windows-1251, percent-encoded.
        const QByteArray text = QByteArray::fromPercentEncoding(requests.first().body.mid(7));
        QVERIFY(text.contains("up.example"));
        QVERIFY(text.contains("\xCA\xE0\xF2\xE0\xEB\xEE\xE3")); // "Каталог" in windows-1251
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), QStringLiteral("Каталог \"№1\""));
    }

    void theOfferDeclinedSendsNothing()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        TfrmToBaza &d = *r.upload;
        d.Accepted = 1;
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&d, &esc);
        QCOMPARE(d.Accepted, 0);
        d.btnSend->click();
        QCOMPARE(d.Accepted, 1);
        d.show();
        d.close();
        QCOMPARE(d.Accepted, 0);

        ScriptedPrompt p;
        r.addCatalog(QStringLiteral("a.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        p.dialogs << [](QDialog *dlg) -> int {
            auto *t = static_cast<TfrmToBaza *>(dlg);
            t->Accepted = 1; // left over from an earlier offer
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(t, &key);
            return QDialog::Rejected;
        };
        QVERIFY(r.editor().btnSaveChangesClick());
        QVERIFY(r.server.requests().isEmpty());
        QVERIFY(p.messages.isEmpty());
    }

    void rightClickCapturesTheFieldUnderThePointer()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        HttpScript page;
        page.addHeader("Content-Type", "text/html; charset=utf-8");
        page.body = "<html><head><title>Form</title></head><body style='margin:0'>"
                    "<input name='email' id='f1' style='position:absolute;left:10px;top:10px;width:200px;height:30px'>"
                    "<input name='Descr' id='f2' style='position:absolute;left:10px;top:60px;width:200px;height:30px'>"
                    "<a id='l' href='/linked.html' style='position:absolute;left:10px;top:120px'>link</a>"
                    "</body></html>";
        r.server.setReply("/form.html", page);
        r.addCatalog(QStringLiteral("a.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        qv::app::TfrmMain &m = *r.w->main;
        m.resize(1200, 900);
        m.show();
        m.tcWeb->setCurrentIndex(1);
        QSignalSpy loaded(m.Web, &QWebEngineView::loadFinished);
        m.Web->setUrl(QUrl(r.server.baseUrl() + QStringLiteral("/form.html")));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
        QVERIFY(loaded.first().first().toBool());
        QTRY_VERIFY_WITH_TIMEOUT(m.Web->focusProxy() && m.Web->focusProxy()->isVisible(), 5000);

        QSignalSpy opened(m.capture, &FieldCapture::menuOpened);
        auto rightClick = [&](QPoint at) {
            QWidget *inner = m.Web->focusProxy();
            QTest::mousePress(inner, Qt::RightButton, {}, inner->mapFrom(m.Web, at));
            QTest::mouseRelease(inner, Qt::RightButton, {}, inner->mapFrom(m.Web, at));
        };
        rightClick(QPoint(50, 25));
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 10000);
        QCOMPARE(m.capture->target().fieldName, QStringLiteral("EMAIL"));
        QCOMPARE(qv::test::evaluateJs(m.Web, QStringLiteral("document.activeElement.id")).toString(), QStringLiteral("f1"));
        m.pmWeb->hide();

        // A mapping row of the menu adds the field, ticks it next time, and
        // takes it out when clicked ticked.
        const int row = e.rowOfLabel(QStringLiteral("Описание сайта"));
        QAction *item = nullptr;
        for (QAction *a : m.pmWeb->actions()) {
            if (a->text() == QStringLiteral("Описание сайта"))
                item = a;
        }
        QVERIFY(item);
        e.setGridValue(row, QString());
        r.w->ctx.LinkEditUnsaved = false;
        m.capture->pmWebPopup();
        QVERIFY(!item->isChecked());
        m.capture->WebMenuItemClick(item);
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));
        QVERIFY(r.w->ctx.LinkEditUnsaved);

        rightClick(QPoint(50, 75));
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 2, 10000);
        m.pmWeb->hide();
        QCOMPARE(m.capture->target().fieldName, QStringLiteral("DESCR"));
        m.capture->pmWebPopup();
        QVERIFY(!item->isChecked());
        m.capture->WebMenuItemClick(item);
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL,DESCR"));
        m.capture->pmWebPopup();
        QVERIFY(item->isChecked());
        m.capture->WebMenuItemClick(item);
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));

        QAction *copyLink = nullptr;
        QAction *properties = nullptr;
        for (QAction *a : m.pmWeb->actions()) {
            if (a->text() == QStringLiteral("Копировать ссылку"))
                copyLink = a;
            if (a->text() == QStringLiteral("Свойства"))
                properties = a;
        }
        QVERIFY(copyLink && properties);
        m.capture->WebMenuItemClick(properties);
        QCOMPARE(p.messages.constLast(),
                 QStringLiteral("Заголовок: Form\nАдрес: ") + r.server.baseUrl() + QStringLiteral("/form.html"));

        // "Копировать ссылку" copies the link under the pointer and touches
        // neither the grid nor the unsaved flag.
        r.w->ctx.LinkEditUnsaved = false;
        rightClick(QPoint(20, 128));
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 3, 10000);
        m.pmWeb->hide();
        m.capture->WebMenuItemClick(copyLink);
        QCOMPARE(QApplication::clipboard()->text(), r.server.baseUrl() + QStringLiteral("/linked.html"));
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));
        QVERIFY(!r.w->ctx.LinkEditUnsaved);

        // A mapping row with no field under the pointer says so.
        m.capture->WebMenuItemClick(item);
        QCOMPARE(p.messages.constLast(), QStringLiteral("Не установлен курсор в поле формы!"));
        QCOMPARE(e.gridValue(row), QStringLiteral("EMAIL"));

    }

    void theAdStripOpensNoMenu()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        qv::app::TfrmMain &m = *r.w->main;
        HttpScript page;
        page.addHeader("Content-Type", "text/html; charset=utf-8");
        page.body = "<html><body><input name='ad' style='width:100%;height:100%'></body></html>";
        r.server.setReply("/pad/frmMain.php", page);
        m.AdStrip = new qv::controls::TFramelessIE(m.pnlAdTop);
        m.pnlAdTop->layout()->addWidget(m.AdStrip);
        m.resize(1200, 900);
        m.show();
        QSignalSpy loaded(m.AdStrip, &QWebEngineView::loadFinished);
        m.AdStrip->setUrl(QUrl(r.server.baseUrl() + QStringLiteral("/pad/frmMain.php")));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(m.AdStrip->focusProxy() && m.AdStrip->focusProxy()->isVisible(), 5000);
        QSignalSpy opened(m.capture, &FieldCapture::menuOpened);
        QWidget *target = m.AdStrip->focusProxy();
        QTest::mousePress(target, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(5, 5));
        QTest::qWait(300);
        QCOMPARE(opened.size(), 0);
        QVERIFY(!m.pmWeb->isVisible());
    }

    // Another copy changed the title, a description and the rubrics of the
    // record after this one opened it; this one changes a flag and saves:
    // asked first. "Нет" writes nothing and keeps the edit; "Да" writes.
    void recordChangedByAnotherCopy()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        qv::test::SecondCopy other(r.w->db);
        QVERIFY2(other.ok(), qPrintable(other.error()));
        const int id = r.addCatalog(QStringLiteral("a.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        e.cbRedirect->setChecked(true);
        QVERIFY(other.exec(QStringLiteral("UPDATE catalogs SET catalog_title='Их заголовок', catalog_description_site='их описание', "
                                          "catalog_subjects='10 ' WHERE catalog_id=%1").arg(id)));
        QVERIFY(other.exec(QStringLiteral("UPDATE csubjects2catalogs SET s2c_subject_id=10 WHERE s2c_catalog_id=%1").arg(id)));

        p.answers = {false};
        e.btnSaveChanges->click();
        QCOMPARE(p.questions,
                 QStringList{QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?")});
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), QStringLiteral("Их заголовок"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_redirect")), QStringLiteral("0"));
        QCOMPARE(r.links(id), QStringList{"10"});
        QVERIFY(e.cbRedirect->isChecked());
        QVERIFY(r.w->ctx.LinkEditUnsaved);
        QVERIFY(p.dialogsShown.isEmpty());

        p.answers = {true};
        p.dialogs << skipUpload;
        e.btnSaveChanges->click();
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
        QCOMPARE(r.column(id, QStringLiteral("catalog_redirect")), QStringLiteral("1"));
        QCOMPARE(r.links(id), QStringList{"7"});
        QVERIFY(!r.w->ctx.LinkEditUnsaved);
        QVERIFY(p.messages.isEmpty());
    }
};

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
