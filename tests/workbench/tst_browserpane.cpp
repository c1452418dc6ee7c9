// The browser pane: selecting a resource opens its page, the page is filled
// when it has loaded (not in the forums view), the strip follows the clicks,
// and the status buttons record the outcome.
#include "app/program.h"
#include "controls/browserview.h"
#include "controls/tframelessie.h"
#include "core/urlsafety.h"
#include "db/query.h"
#include "projects/projectchoice.h"
#include "support/pagejs.h"
#include "support/scriptedprompt.h"
#include "workbench/browserpane.h"
#include "workbench/formfiller.h"
#include "workbench/pagebridge.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/tfrmauth.h"
#include "workbench/tfrmautocheck.h"
#include "userroad.h"
#include "workbenchfixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::ScriptedPrompt;

// A check of what the selection shows that ends the test when it fails.
#define CHECK_SELECTED(...)                                                                                                      \
    do {                                                                                                                         \
        expectSelected(__VA_ARGS__);                                                                                             \
        if (QTest::currentTestFailed())                                                                                          \
            return;                                                                                                              \
    } while (false)

namespace {
const char *const kForm = R"HTML(<!doctype html><html><head><meta charset="utf-8"></head><body>
<form><input name="title" id="title"><input type="password" name="pwd" id="pwd"></form></body></html>)HTML";
} // namespace

class TestBrowserPane : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<test::Workbench> m_wb;
    BrowserPane *m_pane = nullptr;
    ResourceList *m_list = nullptr;

    QString page(const QString &name)
    {
        const QString path = m_wb->dir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(kForm);
        return QUrl::fromLocalFile(path).toString();
    }
    QString value(const char *id)
    {
        return qv::test::evaluateJs(m_wb->main->Web, QStringLiteral("document.getElementById('%1').value").arg(QLatin1String(id)))
            .toString();
    }
    // Selects the list's first row the way a click does and waits for its page.
    void clickFirstRow()
    {
        bool done = false;
        auto c = connect(m_wb->main->Web, &QWebEngineView::loadFinished, this, [&](bool ok) { done = done || ok; });
        m_list->selectRow(0);
        m_pane->lvLinksClick();
        QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
        disconnect(c);
    }

    // A catalog of rubric 1 (linked `links` times) whose pages are a local form.
    int addCatalog(const QString &name, int pr, int links = 1)
    {
        auto &tdb = m_wb->db;
        tdb.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name=%1, catalog_url=%2, catalog_aurl=%2, catalog_pr='%3'")
                     .arg(db::Sql(name), db::Sql(page(name + QStringLiteral(".html"))))
                     .arg(pr));
        const int id = tdb.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        for (int i = 0; i < links; ++i)
            tdb.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=1").arg(id));
        return id;
    }
    int catalogId(const QString &name)
    {
        return m_wb->db.scalar(QStringLiteral("SELECT catalog_id FROM catalogs WHERE catalog_name=%1").arg(db::Sql(name)))
            .toInt();
    }
    // What a selected resource shows: its name everywhere, its status on the
    // buttons, its page in the browser.
    void expectSelected(const QString &name, QToolButton *pressed, const QString &page)
    {
        QCOMPARE(m_wb->ctx.SelectedResourceName, name);
        QCOMPARE(m_wb->ctx.SelectedResourceId, catalogId(name));
        QCOMPARE(m_list->selectedSubItem(SubName), name);
        QCOMPARE(m_wb->main->lvLinks->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(m_wb->main->lvLinks->selectionModel()->selectedRows().first().row(), m_list->selectedRow());
        QCOMPARE(m_wb->main->pcMain->tabText(1), QStringLiteral("Редактировать \"") + name + QLatin1Char('"'));
        QCOMPARE(m_pane->edtURLAudit->text(), QStringLiteral("http://") + name);
        for (QToolButton *b : {m_pane->tbnStatus1, m_pane->tbnStatus2, m_pane->tbnStatus3})
            QCOMPARE(b->isChecked(), b == pressed);
        QVERIFY2(m_wb->main->Web->url().toString().endsWith(page), qPrintable(m_wb->main->Web->url().toString()));
    }
    // Three catalogs of rubric 1 listed by PR: cat.example, b.example (added),
    // c.example; the window on screen.
    void threeCatalogs()
    {
        addCatalog(QStringLiteral("b.example"), 2);
        addCatalog(QStringLiteral("c.example"), 1);
        m_wb->db.exec(QStringLiteral("INSERT INTO creglog SET crl_catalog_id=%1, crl_project_id=%2, crl_user_id=0, "
                                     "crl_datetime='2026-01-02 03:04:05', crl_status='2'")
                          .arg(catalogId(QStringLiteral("b.example")))
                          .arg(m_wb->projectId));
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        m_list->resort();
        QVERIFY(test::showMain(*m_wb));
    }
    void rightClick(int row)
    {
        QTableView *lv = m_wb->main->lvLinks;
        QTest::mouseClick(lv->viewport(), Qt::RightButton, {}, lv->visualRect(lv->model()->index(row, 2)).center());
        // The list's popup menu, if it opened, is closed as Escape closes it.
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

private Q_SLOTS:
    void init()
    {
        m_wb = std::make_unique<test::Workbench>();
        QVERIFY2(m_wb->db.ok(), qPrintable(m_wb->db.error()));
        m_pane = m_wb->main->browser;
        m_list = m_wb->main->resources;
        QVERIFY(m_pane && m_list);
        auto &tdb = m_wb->db;
        const int p = m_wb->projectId;
        QVERIFY(
            tdb.exec(QStringLiteral(
                         "INSERT INTO cmaterials SET cmaterial_name='A', cmaterial_project_id=%1, cmaterial_title='Заголовок A'")
                         .arg(p)));
        QVERIFY(
            tdb.exec(QStringLiteral(
                         "INSERT INTO cmaterials SET cmaterial_name='B', cmaterial_project_id=%1, cmaterial_title='Заголовок B'")
                         .arg(p)));
        QVERIFY(tdb.exec(
            QStringLiteral("INSERT INTO catalogs SET catalog_name='cat.example', catalog_url=%1, catalog_aurl=%2, "
                           "catalog_title_site='title', CATALOG_PASSWORD_PROGRAM='pwd', catalog_pr='3', catalog_tic='10'")
                .arg(db::Sql(page(QStringLiteral("site.html"))), db::Sql(page(QStringLiteral("add.html"))))));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO csubjects2catalogs (s2c_catalog_id, s2c_subject_id) "
                                        "SELECT catalog_id, 1 FROM catalogs WHERE catalog_name='cat.example'")));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO cauth SET cauth_login='l', cauth_password='secret', cauth_project_id=%1, "
                                        "cauth_catalog_id=(SELECT catalog_id FROM catalogs WHERE catalog_name='cat.example')")
                             .arg(p)));
        QVERIFY(
            tdb.exec(QStringLiteral("INSERT INTO forums SET forum_name='forum.example', forum_aurl=%1, forum_title_site='title'")
                         .arg(db::Sql(page(QStringLiteral("forum.html"))))));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO fsubjects2forums (s2f_forum_id, s2f_subject_id) "
                                        "SELECT forum_id, 1 FROM forums WHERE forum_name='forum.example'")));
        m_wb->ctx.CurrentUserId = 0;
        m_wb->main->projects->cbProjectsChange();
        m_wb->main->AdStrip = new controls::TFramelessIE(m_wb->main->pnlAdTop);
        m_pane->attachAuth(new TfrmAuth(m_wb->ctx, m_wb->main.get()));
    }
    void cleanup() { m_wb.reset(); }

    void catalogsPageOpensAndFills()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        QCOMPARE(m_list->count(), 1);
        clickFirstRow();
        QCOMPARE(m_wb->ctx.SelectedResourceName, QStringLiteral("cat.example"));
        QVERIFY(m_wb->main->Web->url().toString().endsWith(QStringLiteral("add.html")));
        QCOMPARE(m_pane->edtURLAudit->text(), QStringLiteral("http://cat.example"));
        // Filled on load with the turn's first description.
        QTRY_COMPARE(value("title"), QStringLiteral("Заголовок B"));
        QCOMPARE(value("pwd"), QStringLiteral("secret"));
        // The strip loads on the first click, not on the second, then on the third.
        QCOMPARE(m_wb->main->AdStrip->url().query(), QStringLiteral("counter=1"));
        m_pane->lvLinksClick();
        QCOMPARE(m_wb->ctx.LinkClickCounter, 2);
        QCOMPARE(m_wb->main->AdStrip->url().query(), QStringLiteral("counter=1"));
        m_pane->lvLinksClick();
        QCOMPARE(m_wb->main->AdStrip->url().query(), QStringLiteral("counter=3"));
        QVERIFY(p.messages.isEmpty());
    }

    void tabsChooseThePage()
    {
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        QSignalSpy loaded(m_wb->main->Web, &QWebEngineView::loadFinished);
        m_wb->main->tcWeb->setCurrentIndex(0);
        QVERIFY(loaded.wait(20000));
        QVERIFY(m_wb->main->Web->url().toString().endsWith(QStringLiteral("site.html")));
        // The analysis tab only shows its panel when the address field is empty.
        m_pane->edtURLAudit->clear();
        m_wb->main->tcWeb->setCurrentIndex(3);
        QVERIFY(!m_pane->pnlAudit->isHidden());
        QVERIFY(m_wb->main->tbWeb->isHidden());
        // The search tab shows the engine buttons.
        m_wb->main->tcWeb->setCurrentIndex(2);
        QVERIFY(!m_pane->tbCheckReg->isHidden());
        QVERIFY(m_pane->pnlAudit->isHidden());
    }

    // The tab bar runs its handler when the current tab changes, however
    // chosen; a click on the current tab leaves the page alone.
    void tabHandlerRunsOnRealChangesOnly()
    {
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        QTabBar *bar = m_wb->main->tcWeb;
        QCOMPARE(bar->currentIndex(), 1);
        // Navigate away by hand; a click on the current tab must not reload it.
        QSignalSpy loaded(m_wb->main->Web, &QWebEngineView::loadFinished);
        m_wb->main->Web->setUrl(QUrl(page(QStringLiteral("other.html"))));
        QVERIFY(loaded.wait(20000));
        bar->show();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QTest::qWait(200);
        QVERIFY(m_wb->main->Web->url().toString().endsWith(QStringLiteral("other.html")));
        // The keyboard moves to the site tab: its page opens.
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(bar->currentIndex(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_wb->main->Web->url().toString().endsWith(QStringLiteral("site.html")), 20000);
    }

    // Addresses in the base that are not web pages never reach the browser:
    // a script address would run inside the page on screen.
    void onlyWebAddressesOpen()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        QTRY_COMPARE(value("pwd"), QStringLiteral("secret"));
        const QString before = m_wb->main->Web->url().toString();
        const QString script = QStringLiteral("javascript:document.title=document.getElementById('pwd').value");
        QVERIFY(m_wb->db.exec(QStringLiteral("UPDATE catalogs SET catalog_url=%1").arg(db::Sql(script))));
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        m_list->selectRow(0);
        m_wb->main->tcWeb->setCurrentIndex(0);
        QCOMPARE(p.messages, QStringList{core::RefusedAddressMessage(script)});
        QTest::qWait(300);
        QCOMPARE(m_wb->main->Web->url().toString(), before);
        QVERIFY(qv::test::evaluateJs(m_wb->main->Web, QStringLiteral("document.title")).toString() != QLatin1String("secret"));
        // A file outside the program folder is refused the same way, from the
        // base or from a page.
        p.messages.clear();
        QVERIFY(!m_pane->openAddress(QStringLiteral("file:///etc/hostname")));
        QCOMPARE(p.messages.size(), 1);
        qv::test::evaluateJs(m_wb->main->Web, QStringLiteral("location.href='file:///etc/hostname'; 1"));
        QTest::qWait(500);
        QCOMPARE(m_wb->main->Web->url().toString(), before);
        // An address without a scheme is a web address.
        QVERIFY(m_pane->openAddress(QStringLiteral("127.0.0.1:1/x")));
        QCOMPARE(m_wb->main->Web->url().toString(), QStringLiteral("http://127.0.0.1:1/x"));
    }

    // The maker's host is a closed port here: its pages give way to the
    // program's own page, and the strip stays hidden while it has nothing;
    // a strip page that loads shows it, and its new-window links open one.
    void unreachableMakerShowsTheProgramsPage()
    {
        ScriptedPrompt p;
        m_wb->main->show();
        QVERIFY(!m_wb->main->pnlAdTop->isVisible());
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        m_wb->main->Web->setUrl(QUrl(m_wb->makerStart()));
        QTRY_VERIFY_WITH_TIMEOUT(
            qv::test::evaluateJs(m_wb->main->Web, QStringLiteral("document.body ? document.body.innerText : ''"))
                .toString()
                .contains(QStringLiteral("Сайт разработчика сейчас недоступен")),
            20000);
        QCOMPARE(m_wb->main->Web->url().toString(), m_wb->makerStart());
        clickFirstRow();
        QTest::qWait(300);
        QVERIFY(!m_wb->main->pnlAdTop->isVisible());

        const QString strip = m_wb->dir.filePath(QStringLiteral("strip.html"));
        QFile f(strip);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<html><body><a id=a href='site.html' target='_blank'>site</a></body></html>");
        f.close();
        QSignalSpy loaded(m_wb->main->AdStrip, &QWebEngineView::loadFinished);
        m_wb->main->AdStrip->setUrl(QUrl::fromLocalFile(strip));
        QVERIFY(loaded.wait(20000));
        QTRY_VERIFY(m_wb->main->pnlAdTop->isVisible());
        const int windows = QApplication::topLevelWidgets().size();
        qv::test::evaluateJs(m_wb->main->AdStrip, QStringLiteral("document.getElementById('a').click(); 1"));
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::topLevelWidgets().size(), windows + 1, 20000);
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *v = qobject_cast<QWebEngineView *>(w)) {
                QTRY_VERIFY_WITH_TIMEOUT(v->url().toString().endsWith(QStringLiteral("site.html")), 20000);
                v->close();
            }
        }
        QVERIFY(p.messages.isEmpty());
    }

    // Only the maker's host and port give way to the program's page: a
    // resource on the same host at another port shows its own failure; the
    // auto-check window's pane gives way like the main browser.
    void offlinePageOnlyForTheMakersSite()
    {
        ScriptedPrompt p;
        auto *web = qobject_cast<controls::BrowserView *>(m_wb->main->Web);
        QVERIFY(web);
        const auto bodyText = [](QWebEngineView *v) {
            return qv::test::evaluateJs(v, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
        };
        const QString offline = QStringLiteral("Сайт разработчика сейчас недоступен");
        const QUrl maker = m_wb->ctx.makerUrl();
        const QString other = QStringLiteral("http://%1:%2/resource.html").arg(maker.host()).arg(test::closedLocalPort());
        QSignalSpy failed(m_wb->main->Web, &QWebEngineView::loadFinished);
        m_wb->main->Web->setUrl(QUrl(other));
        QVERIFY(failed.wait(20000));
        QCOMPARE(failed.first().first().toBool(), false);
        // Time enough for a replacement to come, had there been one.
        QTest::qWait(700);
        QVERIFY(!bodyText(m_wb->main->Web).contains(offline));
        QVERIFY(!web->showsOfflinePage());
        QCOMPARE(m_wb->main->Web->url().toString(), other);

        m_wb->main->Web->setUrl(QUrl(m_wb->makerStart()));
        QTRY_VERIFY_WITH_TIMEOUT(bodyText(m_wb->main->Web).contains(offline), 20000);
        QVERIFY(web->showsOfflinePage());

        TfrmAutocheck check(m_wb->ctx, m_wb->main.get());
        m_wb->ctx.ProjectUrl = QStringLiteral("http://site.example");
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        check.N36Click(*m_list, QStringLiteral("Рубрика"));
        QVERIFY(check.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(bodyText(check.wbAd).contains(offline), 20000);
        QVERIFY(p.messages.isEmpty());
    }

    int forumId() { return m_wb->db.scalar(QStringLiteral("SELECT forum_id FROM forums")).toInt(); }
    // Two press releases of the project; the main window's list holds them,
    // `active` chosen there. Returns their ids.
    QPair<int, int> pressReleases(int active)
    {
        auto &tdb = m_wb->db;
        const int p = m_wb->projectId;
        for (const char *name : {"R1", "R2"})
            tdb.exec(QStringLiteral(
                         "INSERT INTO fmaterials SET fmaterial_name='%1', fmaterial_project_id=%2, fmaterial_title='Релиз %1'")
                         .arg(QLatin1String(name))
                         .arg(p));
        const int r1 = tdb.scalar(QStringLiteral("SELECT fmaterial_id FROM fmaterials WHERE fmaterial_name='R1'")).toInt();
        const int r2 = tdb.scalar(QStringLiteral("SELECT fmaterial_id FROM fmaterials WHERE fmaterial_name='R2'")).toInt();
        tdb.exec(QStringLiteral("INSERT INTO fauth SET fauth_login='fl', fauth_password='fp', fauth_project_id=%1, "
                                "fauth_forum_id=%2")
                     .arg(p)
                     .arg(forumId()));
        m_wb->main->projects->cbProjectsChange();
        m_wb->main->cbFMaterials->setCurrentIndex(m_wb->main->cbFMaterials->findData(active == 1 ? r1 : r2));
        return {r1, r2};
    }

    void forumsAreNotFilledOnLoad()
    {
        ScriptedPrompt p;
        pressReleases(1);
        m_wb->ctx.CurrentKind = core::Kind::Forums;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        QCOMPARE(m_list->count(), 1);
        clickFirstRow();
        QTest::qWait(300);
        QCOMPARE(value("title"), QString());
        // "Заполнить" fills it with the active press release.
        QSignalSpy filled(m_pane->filler(), &FormFiller::fillFinished);
        m_pane->tbFeel->click();
        QVERIFY(filled.wait(20000));
        QCOMPARE(value("title"), QStringLiteral("Релиз R1"));
        QVERIFY(p.messages.isEmpty());
    }

    // The branch opened with its arrow never made a press release active in
    // the context: the main window's choice is what counts, everywhere.
    void forumsFollowTheMainWindowsPressRelease()
    {
        ScriptedPrompt p;
        const auto [r1, r2] = pressReleases(2);
        QVERIFY(m_wb->db.exec(QStringLiteral("INSERT INTO freglog SET frl_forum_id=%1, frl_material_id=%2, frl_user_id=0, "
                                             "frl_datetime='2026-01-02 03:04:05', frl_status='3'")
                                  .arg(forumId())
                                  .arg(r2)));
        m_wb->ctx.CurrentKind = core::Kind::Forums;
        // An editor load left another release in the context.
        m_wb->ctx.CurrentMaterialId = r1;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        QCOMPARE(m_list->subItem(0, SubStatus), QStringLiteral("Отказано (2026-01-02 03:04:05)"));
        clickFirstRow();
        QVERIFY(m_pane->tbnStatus3->isChecked());
        QSignalSpy filled(m_pane->filler(), &FormFiller::fillFinished);
        m_pane->tbFeel->click();
        QVERIFY(filled.wait(20000));
        QCOMPARE(value("title"), QStringLiteral("Релиз R2"));
        // The status goes to the same release.
        m_pane->tbnStatus2->click();
        QCOMPARE(m_wb->db.rows(QStringLiteral("SELECT frl_material_id, frl_status FROM freglog")),
                 QStringList{QStringLiteral("%1|2").arg(r2)});
        QVERIFY(p.messages.isEmpty());
    }

    void discussionTabOpensTheReleasesThread()
    {
        ScriptedPrompt p;
        const auto [r1, r2] = pressReleases(2);
        const QString thread = page(QStringLiteral("thread.html"));
        QVERIFY(m_wb->db.exec(QStringLiteral("INSERT INTO flinks SET flink_material_id=%1, flink_forum_id=%2, flink_url=%3")
                                  .arg(r2)
                                  .arg(forumId())
                                  .arg(db::Sql(thread))));
        m_wb->ctx.CurrentKind = core::Kind::Forums;
        m_wb->ctx.CurrentMaterialId = r1;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        QSignalSpy loaded(m_wb->main->Web, &QWebEngineView::loadFinished);
        m_wb->main->tcWeb->setCurrentIndex(3);
        QVERIFY(loaded.wait(20000));
        QCOMPARE(m_wb->main->Web->url().toString(), thread);
        QVERIFY(p.messages.isEmpty());
        // The other release has no thread on this forum: the message says so.
        m_wb->main->cbFMaterials->setCurrentIndex(m_wb->main->cbFMaterials->findData(r1));
        m_pane->tcWebChange();
        QCOMPARE(p.messages, QStringList{QStringLiteral("Для данного форума и пресс-релиза URL на обсуждение не установлен")});
    }

    void forumStatusWithoutPressReleaseSaysWhy()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = core::Kind::Forums;
        m_wb->ctx.CurrentMaterialId = 0;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        QCOMPARE(m_wb->main->cbFMaterials->count(), 0);
        m_pane->tbnStatus2->click();
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Статус не сохранен: в проекте не выбран активный пресс-релиз для форумов.")});
        QVERIFY(!m_pane->tbnStatus2->isChecked());
        QCOMPARE(m_list->subItem(0, SubStatus), QString());
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM freglog")), QStringLiteral("0"));
    }

    // A failed read of the active press release is said once, by the failing
    // statement, and not followed by "no active press release".
    void forumStatusWithAnUnreadablePressReleaseSaysItOnce()
    {
        ScriptedPrompt p;
        pressReleases(1);
        m_wb->ctx.CurrentKind = core::Kind::Forums;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        p.messages.clear();
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE fmaterials TO fmaterials_away")));
        m_pane->tbnStatus2->click();
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE fmaterials_away TO fmaterials")));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("FROM fmaterials")), qPrintable(p.messages[0]));
        QVERIFY(!m_pane->tbnStatus2->isChecked());
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM freglog")), QStringLiteral("0"));
    }

    // The current row is the selected resource however it became current:
    // the arrows, End, Home, the page keys, a right click; a refill leaves
    // none current and nothing selected.
    void theCurrentRowIsTheSelectedResource()
    {
        ScriptedPrompt p;
        threeCatalogs();
        QVERIFY(test::clickResource(*m_wb, QStringLiteral("cat.example")));
        CHECK_SELECTED(QStringLiteral("cat.example"), nullptr, QStringLiteral("add.html"));
        QTableView *lv = m_wb->main->lvLinks;
        lv->setFocus();
        QTest::keyClick(lv, Qt::Key_Down);
        CHECK_SELECTED(QStringLiteral("b.example"), m_pane->tbnStatus2, QStringLiteral("b.example.html"));
        QTest::keyClick(lv, Qt::Key_End);
        CHECK_SELECTED(QStringLiteral("c.example"), nullptr, QStringLiteral("c.example.html"));
        QTest::keyClick(lv, Qt::Key_Home);
        CHECK_SELECTED(QStringLiteral("cat.example"), nullptr, QStringLiteral("add.html"));
        QTest::keyClick(lv, Qt::Key_PageDown);
        CHECK_SELECTED(QStringLiteral("c.example"), nullptr, QStringLiteral("c.example.html"));
        rightClick(1);
        CHECK_SELECTED(QStringLiteral("b.example"), m_pane->tbnStatus2, QStringLiteral("b.example.html"));
        // Ctrl with a click unselects the row: nothing is selected then.
        QTest::mouseClick(lv->viewport(), Qt::LeftButton, Qt::ControlModifier, lv->visualRect(lv->model()->index(1, 2)).center());
        QCOMPARE(m_list->selectedRow(), -1);
        QCOMPARE(m_wb->ctx.SelectedResourceId, 0);
        QVERIFY(!m_pane->tbnStatus2->isChecked());
        QTest::keyClick(lv, Qt::Key_Down);
        QCOMPARE(m_wb->ctx.SelectedResourceId, catalogId(m_list->selectedSubItem(SubName)));
        // A refill: no row is current, and nothing stays selected.
        QTest::keyClick(lv, Qt::Key_Down);
        QVERIFY(m_wb->ctx.SelectedResourceId > 0);
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        QCOMPARE(m_list->selectedRow(), -1);
        QCOMPARE(m_wb->ctx.SelectedResourceId, 0);
        QCOMPARE(m_wb->ctx.SelectedResourceName, QString());
        QCOMPARE(m_wb->main->pcMain->tabText(1), QStringLiteral("Редактировать..."));
        QCOMPARE(m_pane->edtURLAudit->text(), QString());
        QVERIFY(p.messages.isEmpty());
    }

    // The status goes to the resource of the current row and is shown on that
    // resource's rows, every one of them.
    void statusesGoToTheCurrentRowsResource()
    {
        ScriptedPrompt p;
        const int twice = addCatalog(QStringLiteral("twice.example"), 2, 2);
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        m_list->resort();
        QVERIFY(test::showMain(*m_wb));
        QVERIFY(test::clickResource(*m_wb, QStringLiteral("cat.example")));
        QTest::keyClick(m_wb->main->lvLinks, Qt::Key_Down);
        QTest::mouseClick(m_pane->tbnStatus2, Qt::LeftButton);
        const QString stored = m_wb->db.scalar(QStringLiteral("SELECT crl_datetime FROM creglog"));
        QCOMPARE(m_wb->db.rows(QStringLiteral("SELECT crl_catalog_id, crl_status FROM creglog")),
                 QStringList{QStringLiteral("%1|2").arg(twice)});
        QCOMPARE(m_list->subItem(0, SubStatus), QString());
        for (int row : {1, 2})
            QCOMPARE(m_list->subItem(row, SubStatus), QStringLiteral("Добавлен (") + stored + QLatin1Char(')'));
        QVERIFY(m_pane->tbnStatus2->isChecked());
        QVERIFY(p.messages.isEmpty());
    }

    // With no current row (after a refill) the status buttons and "Пароли"
    // say that no resource is selected, record nothing and stay released.
    void noCurrentRowButtonsSaySo()
    {
        ScriptedPrompt p;
        threeCatalogs();
        QVERIFY(test::clickResource(*m_wb, QStringLiteral("cat.example")));
        QCOMPARE(m_wb->ctx.LinkClickCounter, 1);
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        const QString noResource = QStringLiteral("Не выбран ресурс: выберите его в списке ресурсов.");
        QTest::mouseClick(m_pane->tbnStatus2, Qt::LeftButton);
        QCOMPARE(p.messages, QStringList{noResource});
        QVERIFY(!m_pane->tbnStatus2->isChecked());
        QTest::mouseClick(m_pane->tbnStatus0, Qt::LeftButton);
        QCOMPARE(p.messages.size(), 2);
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM creglog")), QStringLiteral("1"));
        QTest::mouseClick(m_pane->tbnAuth, Qt::LeftButton);
        QCOMPARE(p.messages, (QStringList{noResource, noResource, noResource}));
        QVERIFY(p.dialogsShown.isEmpty());
        QCOMPARE(m_wb->ctx.LinkClickCounter, 1);
    }

    void statusButtons()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        m_pane->tbnStatus2->click();
        QVERIFY(m_pane->tbnStatus2->isChecked());
        const QString stored = m_wb->db.scalar(QStringLiteral("SELECT crl_datetime FROM creglog"));
        QCOMPARE(m_list->subItem(0, SubStatus), QStringLiteral("Добавлен (") + stored + QLatin1Char(')'));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT crl_status FROM creglog")), QStringLiteral("2"));
        m_pane->tbnStatus1->click();
        QVERIFY(!m_pane->tbnStatus2->isChecked());
        QVERIFY(m_list->subItem(0, SubStatus).startsWith(QStringLiteral("Проверка (")));
        // The button that is down, clicked again, releases and resets.
        m_pane->tbnStatus1->click();
        QCOMPARE(m_list->subItem(0, SubStatus), QString());
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT crl_status FROM creglog")), QStringLiteral("0"));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM creglog")), QStringLiteral("1"));
        // A refill shows the stored status and the click presses its button.
        m_pane->tbnStatus3->click();
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        QVERIFY(m_pane->tbnStatus3->isChecked());
        QVERIFY(!m_pane->tbnStatus1->isChecked());
    }
};

QTEST_MAIN(TestBrowserPane)
#include "tst_browserpane.moc"
