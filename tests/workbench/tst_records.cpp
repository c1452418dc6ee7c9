// The record editor on the main window over the test database: adding a
// resource by its address, loading and saving a record with its rubrics, the
// unsaved-edit question and the upload offer against a local service.
#include "support/httpserver.h"
#include "support/paste.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "workbench/browserpane.h"
#include "workbench/recordeditor.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/tfrmtobaza.h"
#include "workbenchfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QWebEngineView>
#include <QtTest>

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
        for (const char *kind : {"catalogs", "forums", "soft"})
            QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/") + QLatin1String(kind) + QStringLiteral(".shbl"),
                        w->ctx.AppDir + QLatin1String(kind) + QStringLiteral(".shbl"));
        QFile ini(w->ctx.configPath());
        if (ini.open(QIODevice::WriteOnly))
            ini.write(("[Hosts]\nmaker=" + server.baseUrl() + "\n").toUtf8());
        ini.close();
        w->ctx.ConfigIni.open(w->ctx.configPath());
        w->ctx.CurrentKind = qv::core::Kind::Catalogs;
        w->ctx.CurrentUserId = 1;
        upload = new TfrmToBaza(w->ctx, w->main.get());
        upload->client()->setTimeoutMs(2000);
        editor().attachUpload(upload);
    }
    RecordEditor &editor() { return *w->main->records; }

    int addCatalog(const QString &name, const QList<int> &rubrics)
    {
        w->db.exec(
            QStringLiteral("INSERT INTO catalogs SET catalog_name='%1', catalog_title='Title %1', catalog_url='http://%1', "
                           "catalog_aurl='http://%1/add', catalog_need_burl='1', catalog_redirect='0'")
                .arg(name));
        const int id = w->db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        for (int r : rubrics)
            w->db.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=%2").arg(id).arg(r));
        return id;
    }
    // A resource of any kind linked to `rubrics`.
    int addResource(const QString &kind, const QString &name, const QList<int> &rubrics)
    {
        const QString p = prefixOf(kind);
        w->db.exec(QStringLiteral("INSERT INTO %1 SET %2name='%3', %2title='Title %3', %2url='http://%3', %2aurl='http://%3/add'")
                       .arg(kind, p, name));
        const int id = w->db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        const auto [table, resource, subject] = linkTable(kind);
        for (int r : rubrics)
            w->db.exec(QStringLiteral("INSERT INTO %1 SET %2=%3, %4=%5").arg(table, resource).arg(id).arg(subject).arg(r));
        return id;
    }
    static QString prefixOf(const QString &kind)
    {
        return (kind == QLatin1String("soft") ? kind : kind.chopped(1)) + QLatin1Char('_');
    }
    static std::tuple<QString, QString, QString> linkTable(const QString &kind)
    {
        if (kind == QLatin1String("forums"))
            return {QStringLiteral("fsubjects2forums"), QStringLiteral("s2f_forum_id"), QStringLiteral("s2f_subject_id")};
        if (kind == QLatin1String("soft"))
            return {QStringLiteral("ssubjects2soft"), QStringLiteral("s2s_soft_id"), QStringLiteral("s2s_subject_id")};
        return {QStringLiteral("csubjects2catalogs"), QStringLiteral("s2c_catalog_id"), QStringLiteral("s2c_subject_id")};
    }
    QStringList linksOf(const QString &kind, int id)
    {
        const auto [table, resource, subject] = linkTable(kind);
        return w->db.rows(QStringLiteral("SELECT %1 FROM %2 WHERE %3=%4 ORDER BY %1").arg(subject, table, resource).arg(id));
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
    // A click on a tab of pcMain.
    void clickTab(int index)
    {
        QTabBar *bar = w->main->pcMain->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    // The edit page, entered by a click on its tab.
    bool openEditor()
    {
        clickTab(1);
        return w->main->pcMain->currentIndex() == 1;
    }
    // The user's edit of a grid cell (which marks the record unsaved).
    void editCell(const QString &label, const QString &text)
    {
        editor().vlCatalog->item(editor().rowOfLabel(label), 1)->setText(text);
    }
    // The first item of the browser's popup menu: "Редактировать каталог/форум"
    // in the list's layout, a mapping row in the edit page's.
    QString firstWebMenuItem()
    {
        const QList<QAction *> items = w->main->pmWeb->actions();
        return items.isEmpty() ? QString() : items.constFirst()->text();
    }
    // The resource chosen in the list, then the edit page.
    bool edit(int rubricId, const QString &name)
    {
        select(rubricId, name);
        return openEditor();
    }
    QList<QTreeWidgetItem *> rubricNodes()
    {
        QList<QTreeWidgetItem *> out, stack;
        for (int i = 0; i < editor().trvSubjects->topLevelItemCount(); ++i)
            stack << editor().trvSubjects->topLevelItem(i);
        while (!stack.isEmpty()) {
            QTreeWidgetItem *n = stack.takeLast();
            out << n;
            for (int i = 0; i < n->childCount(); ++i)
                stack << n->child(i);
        }
        return out;
    }
    QTreeWidgetItem *rubricNode(int id)
    {
        for (QTreeWidgetItem *n : rubricNodes()) {
            if (n->data(0, Qt::UserRole).toInt() == id)
                return n;
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
            QStringLiteral("SELECT s2c_subject_id FROM csubjects2catalogs WHERE s2c_catalog_id=%1 ORDER BY s2c_subject_id")
                .arg(id));
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

        // Another form of the same site, typed on the add page: the site's
        // record opens, and the message names it.
        r.clickTab(2);
        e.edtURLAdd->setText(QStringLiteral("http://www.new.example/second-form.php"));
        p.messages.clear();
        e.LinkCreate->click();
        QCOMPARE(r.w->db.scalar(QStringLiteral("SELECT COUNT(*) FROM catalogs WHERE catalog_name='new.example'")).toInt(), 1);
        QCOMPARE(e.loadedId(), id);
        QCOMPARE(r.w->main->pcMain->currentIndex(), 1);
        QCOMPARE(p.messages, QStringList{QStringLiteral("Ресурс \"new.example\" уже есть в базе: открыта его запись.")});
    }

    // "Добавить в базу" makes the new record the selected resource: the
    // caption names it, the old row is no longer current, the status goes to
    // it, the grid opens at its first row; the list shown holds it as its
    // current row as soon as it belongs there. Before a branch is chosen the
    // button says what to choose.
    void addedRecordIsTheSelectedResource()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        RecordEditor &e = r.editor();
        auto &ctx = r.w->ctx;
        ctx.CurrentKind = qv::core::Kind::None;
        r.clickTab(2);
        e.edtURLAdd->setText(QStringLiteral("first.example/add.php"));
        QTest::mouseClick(e.LinkCreate, Qt::LeftButton);
        QCOMPARE(p.messages, QStringList{QStringLiteral("Сначала выберите в дереве слева, куда добавить ресурс: каталоги, "
                                                        "форумы или софт каталоги.")});
        QCOMPARE(r.w->db.scalar(QStringLiteral("SELECT COUNT(*) FROM catalogs WHERE catalog_name='first.example'")),
                 QStringLiteral("0"));
        p.messages.clear();
        ctx.CurrentKind = qv::core::Kind::Catalogs;

        r.w->main->show();
        QVERIFY(QTest::qWaitForWindowExposed(r.w->main.get()));
        const int a = r.addCatalog(QStringLiteral("a.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        QTableWidget *grid = e.vlCatalog;
        grid->setCurrentCell(grid->rowCount() - 1, 1);
        grid->scrollToBottom();
        QVERIFY(grid->verticalScrollBar()->value() > 0);
        r.clickTab(2);
        e.edtURLAdd->setText(QStringLiteral("new.example/add.php"));
        QTest::mouseClick(e.LinkCreate, Qt::LeftButton);
        const int id = r.w->db.scalar(QStringLiteral("SELECT catalog_id FROM catalogs WHERE catalog_name='new.example'")).toInt();
        QVERIFY(id > 0);
        QCOMPARE(ctx.SelectedResourceId, id);
        QCOMPARE(e.loadedId(), id);
        QCOMPARE(r.w->main->pcMain->tabText(1), QStringLiteral("Редактировать \"new.example\""));
        ResourceList &list = *r.w->main->resources;
        QCOMPARE(list.selectedRow(), -1);
        QVERIFY(!r.w->main->lvLinks->selectionModel()->hasSelection());
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
        BrowserPane &pane = *r.w->main->browser;
        QTest::mouseClick(pane.tbnStatus1, Qt::LeftButton);
        QCOMPARE(r.w->db.rows(QStringLiteral("SELECT crl_catalog_id, crl_status FROM creglog")),
                 QStringList{QStringLiteral("%1|1").arg(id)});
        // Saved into the rubric shown, it is listed there, current.
        r.tick(7, true);
        p.dialogs << skipUpload;
        QTest::mouseClick(e.btnSaveChanges, Qt::LeftButton);
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.selectedSubItem(SubId), QString::number(id));
        QVERIFY(list.selectedSubItem(SubStatus).startsWith(QStringLiteral("Проверка (")));
        QVERIFY(pane.tbnStatus1->isChecked());
        QCOMPARE(ctx.SelectedResourceId, id);

        // A list it belongs to at once (a filter of every catalog) shows it
        // current at once; a known site typed again makes its row current.
        r.w->db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='all'"));
        QVERIFY(list.fill({ListSource::Filter, 0, QStringLiteral("all")}));
        for (int row = 0; row < list.count(); ++row) {
            if (list.subItem(row, SubName) == QLatin1String("a.example"))
                list.selectRow(row);
        }
        pane.lvLinksClick();
        r.clickTab(2);
        e.edtURLAdd->setText(QStringLiteral("other.example/add.php"));
        QTest::mouseClick(e.LinkCreate, Qt::LeftButton);
        QCOMPARE(list.selectedSubItem(SubName), QStringLiteral("other.example"));
        QCOMPARE(ctx.SelectedResourceName, QStringLiteral("other.example"));
        QCOMPARE(r.w->main->pcMain->tabText(1), QStringLiteral("Редактировать \"other.example\""));
        QVERIFY(!pane.tbnStatus1->isChecked());
        r.clickTab(2);
        e.edtURLAdd->setText(QStringLiteral("http://a.example/form"));
        QTest::mouseClick(e.LinkCreate, Qt::LeftButton);
        QCOMPARE(list.selectedSubItem(SubId), QString::number(a));
        QCOMPARE(ctx.SelectedResourceId, a);
        QCOMPARE(p.messages, QStringList{QStringLiteral("Ресурс \"a.example\" уже есть в базе: открыта его запись.")});
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

    // The record's line edits, its grid cells and the upload window's edits
    // take a pasted value longer than a line edit's default whole: it is
    // saved whole, or, longer than its column, refused with the field named.
    void pastedValuesAreKeptWhole()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int id = r.addCatalog(QStringLiteral("a.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        const QString title = qv::test::longerThanALineEdit(QLatin1Char('t'));
        const QString description = qv::test::longerThanALineEdit(QLatin1Char('d'));
        qv::test::paste(e.edtCatalogTitle, title);
        // A cell as a user edits it: its editor, the paste, Enter.
        const int row = e.rowOfLabel(QStringLiteral("Описание сайта"));
        e.vlCatalog->setCurrentCell(row, 1);
        e.vlCatalog->editItem(e.vlCatalog->item(row, 1));
        auto *cell = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (!cell)
            cell = e.vlCatalog->viewport()->findChild<QLineEdit *>();
        QVERIFY(cell);
        qv::test::paste(cell, description);
        QTest::keyClick(cell, Qt::Key_Return);
        QTRY_COMPARE(e.gridValue(row), description);
        p.dialogs << [&](QDialog *d) {
            auto *upload = static_cast<TfrmToBaza *>(d);
            for (QLineEdit *edit : {upload->edtURL, upload->edtNURL, upload->edtEmail}) {
                qv::test::paste(edit, description);
                if (edit->text() != description)
                    p.messages << QStringLiteral("cut: ") + QString::number(edit->text().size());
            }
            return skipUpload(d);
        };
        QVERIFY(e.btnSaveChangesClick());
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), title);
        QCOMPARE(r.column(id, QStringLiteral("catalog_description_site")), description);
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join(QLatin1Char('|'))));

        const QString tooLong(70000, QLatin1Char('x'));
        qv::test::paste(e.edtCatalogTitle, tooLong);
        QVERIFY(!e.btnSaveChangesClick());
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"Описание каталога/форума\""))
                     && p.messages[0].contains(QStringLiteral("65535 байт")),
                 qPrintable(p.messages[0]));
        QCOMPARE(e.edtCatalogTitle->text(), tooLong);
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), title);

        const QString address = QStringLiteral("http://b.example/") + description;
        qv::test::paste(e.edtURLAdd, address);
        QCOMPARE(e.edtURLAdd->text(), address);
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

    // Loading shows exactly the resource's rubric links, whatever the kind,
    // with every ticked rubric in sight; a save made for another reason
    // leaves the links as they were.
    void loadAndSaveKeepExactlyTheLinks_data()
    {
        QTest::addColumn<qv::core::Kind>("current");
        QTest::addColumn<int>("parent"); // a top rubric with sub-rubrics
        QTest::addColumn<int>("child");  // a sub-rubric of another top rubric
        QTest::newRow("catalogs") << qv::core::Kind::Catalogs << 1 << 10;
        QTest::newRow("forums") << qv::core::Kind::Forums << 2 << 5;
        QTest::newRow("soft") << qv::core::Kind::Soft << 1 << 11;
    }
    void loadAndSaveKeepExactlyTheLinks()
    {
        QFETCH(qv::core::Kind, current);
        QFETCH(int, parent);
        QFETCH(int, child);
        const QString kind = qv::core::kindName(current); // the table's name
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        r.w->ctx.CurrentKind = current;
        const int onParent = r.addResource(kind, QStringLiteral("parent.example"), {parent});
        const int onChild = r.addResource(kind, QStringLiteral("child.example"), {child});
        const QString prefix = Records::prefixOf(kind);
        for (const auto &[id, name, rubric] : {std::tuple{onParent, QStringLiteral("parent.example"), parent},
                                               std::tuple{onChild, QStringLiteral("child.example"), child}}) {
            QVERIFY(r.edit(rubric, name));
            QCOMPARE(r.editor().loadedId(), id);
            QVERIFY(r.rubricNode(parent)->childCount() > 0);
            QVERIFY(r.rubricNode(child)->parent() && r.rubricNode(child)->parent() != r.rubricNode(parent));
            for (QTreeWidgetItem *n : r.rubricNodes())
                QCOMPARE(qv::controls::TmirzTreeView::state(n), n->data(0, Qt::UserRole).toInt() == rubric ? 2 : 1);
            for (QTreeWidgetItem *up = r.rubricNode(rubric)->parent(); up; up = up->parent())
                QVERIFY(up->isExpanded());
            r.editor().edtCatalogTitle->setText(QStringLiteral("Новое название"));
            p.dialogs << skipUpload;
            r.editor().btnSaveChanges->click();
            QCOMPARE(r.w->db.scalar(QStringLiteral("SELECT %1title FROM %2 WHERE %1id=%3").arg(prefix, kind).arg(id)),
                     QStringLiteral("Новое название"));
            QCOMPARE(r.linksOf(kind, id), QStringList{QString::number(rubric)});
            QCOMPARE(r.w->db.scalar(QStringLiteral("SELECT %1subjects FROM %2 WHERE %1id=%3").arg(prefix, kind).arg(id)),
                     QString::number(rubric) + QLatin1Char(' '));
            r.clickTab(0);
        }
        QVERIFY(p.messages.isEmpty());
    }

    void unsavedEditsAreOfferedWhenThePageChanges()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int a = r.addCatalog(QStringLiteral("a.example"), {7});
        const int b = r.addCatalog(QStringLiteral("b.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();

        // "Нет": nothing is written, the list page comes.
        e.edtCatalogTitle->setText(QStringLiteral("lost"));
        r.editCell(QStringLiteral("Описание сайта"), QStringLiteral("LOST"));
        p.answers << false;
        r.clickTab(0);
        QCOMPARE(p.questions.size(), 1);
        QCOMPARE(r.w->main->pcMain->currentIndex(), 0);
        QCOMPARE(r.column(a, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
        QVERIFY(!r.w->ctx.LinkEditUnsaved);

        // The next record, with no question.
        QVERIFY(r.edit(7, QStringLiteral("b.example")));
        QCOMPARE(p.questions.size(), 1);
        QCOMPARE(e.loadedId(), b);

        // "Да": the record on screen is saved before the page changes.
        e.edtCatalogTitle->setText(QStringLiteral("kept"));
        r.editCell(QStringLiteral("Описание сайта"), QStringLiteral("KEPT"));
        p.answers << true;
        p.dialogs << skipUpload;
        r.clickTab(0);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(r.w->main->pcMain->currentIndex(), 0);
        QCOMPARE(r.column(b, QStringLiteral("catalog_title")), QStringLiteral("kept"));
        QCOMPARE(r.column(b, QStringLiteral("catalog_description_site")), QStringLiteral("KEPT"));
        QCOMPARE(r.column(a, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
        QVERIFY(!r.w->ctx.LinkEditUnsaved);
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        QCOMPARE(e.edtCatalogTitle->text(), QStringLiteral("Title a.example"));
    }

    // "Да" to the question, and the save refused: the edited record stays on
    // screen with its edits, unsaved and selected, whatever asked.
    void refusedSaveFromTheQuestionKeepsTheEditedRecord_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::newRow("no rubric") << QStringLiteral("no rubric");
        QTest::newRow("empty name") << QStringLiteral("empty name");
        QTest::newRow("taken name") << QStringLiteral("taken name");
        QTest::newRow("failed statement") << QStringLiteral("failed statement");
    }
    void refusedSaveFromTheQuestionKeepsTheEditedRecord()
    {
        QFETCH(QString, cause);
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int a = r.addCatalog(QStringLiteral("a.example"), {7});
        r.addCatalog(QStringLiteral("taken.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        ResourceList &list = *r.w->main->resources;
        e.edtCatalogTitle->setText(QStringLiteral("edited"));
        r.editCell(QStringLiteral("Описание сайта"), QStringLiteral("EDITED"));
        if (cause == QLatin1String("no rubric"))
            r.tick(7, false);
        else if (cause == QLatin1String("empty name"))
            r.editCell(e.vlCatalog->item(0, 0)->text(), QString());
        else if (cause == QLatin1String("taken name"))
            r.editCell(e.vlCatalog->item(0, 0)->text(), QStringLiteral("taken.example"));
        else
            QVERIFY(r.w->db.exec(QStringLiteral("CREATE TRIGGER qv_no_links BEFORE INSERT ON csubjects2catalogs FOR EACH ROW "
                                                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='no links'")));
        const QString name = e.gridValue(0);
        QVERIFY(r.w->ctx.LinkEditUnsaved);

        auto stillEditing = [&](int questions) {
            QCOMPARE(p.questions.size(), questions);
            QCOMPARE(p.messages.size(), questions); // the refusal's reason
            QCOMPARE(r.w->main->pcMain->currentIndex(), 1);
            QCOMPARE(e.loadedId(), a);
            QCOMPARE(e.edtCatalogTitle->text(), QStringLiteral("edited"));
            QCOMPARE(e.gridValue(e.rowOfLabel(QStringLiteral("Описание сайта"))), QStringLiteral("EDITED"));
            QCOMPARE(e.gridValue(0), name);
            QVERIFY(r.w->ctx.LinkEditUnsaved);
            QCOMPARE(r.w->ctx.SelectedResourceId, a);
            QCOMPARE(list.selectedSubItem(SubId), QString::number(a));
            QCOMPARE(r.column(a, QStringLiteral("catalog_title")), QStringLiteral("Title a.example"));
            QCOMPARE(r.links(a), QStringList{"7"});
            QVERIFY(p.dialogsShown.isEmpty());
        };
        // Leaving by the list page's tab.
        p.answers << true;
        r.clickTab(0);
        stillEditing(1);
        if (QTest::currentTestFailed())
            return;
        // Leaving by a click in the navigator: the click ends there, the
        // list keeps its rows and selection.
        const int rows = list.count();
        p.answers << true;
        qv::test::click(*r.w, r.w->main->navigator->top(TopForums));
        stillEditing(2);
        QCOMPARE(r.w->ctx.CurrentKind, qv::core::Kind::Catalogs);
        QCOMPARE(list.count(), rows);
    }

    // The page changes by the keys of the tab bar run the same steps as a
    // click: the unsaved-edit question, the browser menu, the record loaded.
    void pageChangesByKeysRunTheHandler()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        r.addCatalog(QStringLiteral("a.example"), {7});
        const int b = r.addCatalog(QStringLiteral("b.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("a.example")));
        RecordEditor &e = r.editor();
        QTabBar *bar = r.w->main->pcMain->tabBar();
        const QString listMenu = QStringLiteral("Редактировать каталог/форум");
        QVERIFY(r.firstWebMenuItem() != listMenu);

        r.editCell(QStringLiteral("Описание сайта"), QStringLiteral("EDITED"));
        p.answers << false;
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(r.w->main->pcMain->currentIndex(), 0);
        QCOMPARE(p.questions.size(), 1);
        QCOMPARE(r.firstWebMenuItem(), listMenu);

        r.select(7, QStringLiteral("b.example"));
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(r.w->main->pcMain->currentIndex(), 1);
        QCOMPARE(e.loadedId(), b);
        QCOMPARE(e.gridValue(0), QStringLiteral("b.example"));
        QVERIFY(r.firstWebMenuItem() != listMenu);

        e.edtURLAdd->setText(QStringLiteral("typed before"));
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(r.w->main->pcMain->currentIndex(), 2);
        QCOMPARE(e.edtURLAdd->text(), QString());
        QCOMPARE(r.firstWebMenuItem(), listMenu);
        QCOMPARE(p.questions.size(), 1);
    }

    void savingADeletedRecordGoesBackToTheList()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        const int id = r.addCatalog(QStringLiteral("gone.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("gone.example")));
        r.tick(8, true);
        r.w->db.exec(QStringLiteral("DELETE FROM catalogs WHERE catalog_id=%1").arg(id));
        p.dialogs << skipUpload;
        r.editor().btnSaveChanges->click();
        QCOMPARE(p.messages, QStringList{QStringLiteral("Ресурс не найден в базе: возможно, он удалён.")});
        QVERIFY(p.dialogsShown.isEmpty());
        QCOMPARE(r.links(id), QStringList{"7"});
        QCOMPARE(r.w->main->pcMain->currentIndex(), 0);
        QVERIFY(r.server.requests().isEmpty());
    }

    void aRecordHoldingThePairSeparatorIsNotSent()
    {
        Records r;
        QVERIFY2(r.w->db.ok(), qPrintable(r.w->db.error()));
        ScriptedPrompt p;
        HttpScript ok;
        ok.body = "OK";
        r.server.setReply("/get_catalog.php", ok);
        const int id = r.addCatalog(QStringLiteral("up.example"), {7});
        QVERIFY(r.edit(7, QStringLiteral("up.example")));
        const QString forged = QStringLiteral("x\":::: catalog_user_admin=\"1\":::: user_admin=\"1");
        r.editor().edtCatalogTitle->setText(forged);
        p.dialogs << sendUpload;
        r.editor().btnSaveChanges->click();
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Информация не внесена: значение поля \"catalog_title\" содержит \"::::\".")});
        QVERIFY(r.server.requests().isEmpty());
        QCOMPARE(r.column(id, QStringLiteral("catalog_title")), forged);
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
        // Only the exact body "306" is a refusal.
        QTest::newRow("306 and a line break") << 200 << QByteArray("306\r\n") << false << ok;
        QTest::newRow("306 and a blank") << 200 << QByteArray("306 ") << false << ok;
        const QString why = no + QStringLiteral("\nПричина: ");
        QTest::newRow("server error") << 500 << QByteArray("OK") << false << why + "сервер ответил ошибкой HTTP 500";
        QTest::newRow("redirect") << 302 << QByteArray("OK") << false
                                  << why + "сервер ответил перенаправлением (HTTP 302), оно не выполняется";
        QTest::newRow("no answer") << 200 << QByteArray() << true << why + "время ожидания ответа сервера (2 с) истекло";
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
        QVERIFY(
            other.exec(QStringLiteral("UPDATE catalogs SET catalog_title='Их заголовок', catalog_description_site='их описание', "
                                      "catalog_subjects='10 ' WHERE catalog_id=%1")
                           .arg(id)));
        QVERIFY(other.exec(QStringLiteral("UPDATE csubjects2catalogs SET s2c_subject_id=10 WHERE s2c_catalog_id=%1").arg(id)));

        p.answers = {false};
        e.btnSaveChanges->click();
        QCOMPARE(
            p.questions,
            QStringList{QStringLiteral(
                "Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                "В другой копии программы изменены поля \"Описание сайта\", \"Описание каталога/форума\", \"Выберите раздел\"; их значения в базе будут заменены значениями из этого окна.")});
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
