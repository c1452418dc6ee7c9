// The browser pane: selecting a resource opens its page, the page is filled
// when it has loaded (not in the forums view), the strip follows the clicks,
// and the status buttons record the outcome.
#include "app/program.h"
#include "controls/tframelessie.h"
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
#include "workbenchfixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::ScriptedPrompt;

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
        return qv::test::evaluateJs(m_wb->main->Web, QStringLiteral("document.getElementById('%1').value").arg(QLatin1String(id))).toString();
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
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='A', cmaterial_project_id=%1, cmaterial_title='Заголовок A'").arg(p)));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='B', cmaterial_project_id=%1, cmaterial_title='Заголовок B'").arg(p)));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='cat.example', catalog_url=%1, catalog_aurl=%2, "
                                       "catalog_title_site='title', CATALOG_PASSWORD_PROGRAM='pwd', catalog_pr='3', catalog_tic='10'")
                            .arg(db::Sql(page(QStringLiteral("site.html"))), db::Sql(page(QStringLiteral("add.html"))))));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO csubjects2catalogs (s2c_catalog_id, s2c_subject_id) "
                                       "SELECT catalog_id, 1 FROM catalogs WHERE catalog_name='cat.example'")));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO cauth SET cauth_login='l', cauth_password='secret', cauth_project_id=%1, "
                                       "cauth_catalog_id=(SELECT catalog_id FROM catalogs WHERE catalog_name='cat.example')").arg(p)));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO forums SET forum_name='forum.example', forum_aurl=%1, forum_title_site='title'")
                            .arg(db::Sql(page(QStringLiteral("forum.html"))))));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO fsubjects2forums (s2f_forum_id, s2f_subject_id) "
                                       "SELECT forum_id, 1 FROM forums WHERE forum_name='forum.example'")));
        m_wb->ctx.CurrentUserId = 0;
        m_wb->main->projects->cbProjectsChange();
        m_wb->main->AdStrip = new controls::TFramelessIE(m_wb->main->pnlAdTop);
        m_pane->attachAuth(new TfrmAuth(m_wb->ctx, m_wb->main.get()));
    }
    void cleanup()
    {
        m_wb.reset();
    }

    void catalogsPageOpensAndFills()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = QStringLiteral("catalogs");
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
        m_wb->ctx.CurrentKind = QStringLiteral("catalogs");
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        clickFirstRow();
        QSignalSpy loaded(m_wb->main->Web, &QWebEngineView::loadFinished);
        m_wb->main->tcWeb->setCurrentIndex(0);
        m_pane->tcWebChange();
        QVERIFY(loaded.wait(20000));
        QVERIFY(m_wb->main->Web->url().toString().endsWith(QStringLiteral("site.html")));
        // The analysis tab only shows its panel when the address field is empty.
        m_pane->edtURLAudit->clear();
        m_wb->main->tcWeb->setCurrentIndex(3);
        m_pane->tcWebChange();
        QVERIFY(!m_pane->pnlAudit->isHidden());
        QVERIFY(m_wb->main->tbWeb->isHidden());
        // The search tab shows the engine buttons.
        m_wb->main->tcWeb->setCurrentIndex(2);
        m_pane->tcWebChange();
        QVERIFY(!m_pane->tbCheckReg->isHidden());
        QVERIFY(m_pane->pnlAudit->isHidden());
    }

    void forumsAreNotFilledOnLoad()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = QStringLiteral("forums");
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        QCOMPARE(m_list->count(), 1);
        clickFirstRow();
        QTest::qWait(300);
        QCOMPARE(value("title"), QString());
        // Without a saved address the discussion tab says so and shows the start page.
        m_wb->main->tcWeb->setCurrentIndex(3);
        m_pane->tcWebChange();
        QVERIFY(p.messages.isEmpty() || p.messages.last() == QStringLiteral("Для данного форума и пресс-релиза URL на обсуждение не установлен"));
    }

    void noSelectionChangesNothing()
    {
        m_wb->ctx.CurrentKind = QStringLiteral("catalogs");
        QVERIFY(m_list->fill(ListSource{ListSource::Rubric, 1, {}}));
        m_list->selectRow(-1);
        m_pane->lvLinksClick();
        QCOMPARE(m_wb->ctx.LinkClickCounter, 0);
        m_pane->tbnStatus2->click();
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM creglog")), QStringLiteral("0"));
    }

    void statusButtons()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = QStringLiteral("catalogs");
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
