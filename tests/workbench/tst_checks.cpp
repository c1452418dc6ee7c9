// Confirming registrations by hand: the engine buttons' searches in the
// browser, the site analysis against local services, and the discussion
// links kept from the browser.
#include "core/http.h"
#include "db/query.h"
#include "projects/projectchoice.h"
#include "support/httpserver.h"
#include "support/pagejs.h"
#include "support/scriptedprompt.h"
#include "workbench/browserpane.h"
#include "workbench/registrationsearch.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/sitemetrics.h"
#include "workbenchfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::HttpScript;
using qv::test::HttpServer;
using qv::test::ScriptedPrompt;

class TestChecks : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<test::Workbench> m_wb;
    std::unique_ptr<HttpServer> m_http;
    BrowserPane *m_pane = nullptr;

    // Every engine and service of the checks at the local server.
    void pointHostsAtServer(const QString &maker)
    {
        QFile ini(m_wb->ctx.configPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        QByteArray text = "[Hosts]\nmaker=" + maker.toUtf8() + "\n";
        for (const char *key : {"yandex", "rambler", "google_ru", "google", "yandex_bar", "google_toolbar"})
            text += QByteArray(key) + "=" + m_http->baseUrl().toUtf8() + "\n";
        ini.write(text);
        ini.close();
        m_wb->ctx.ConfigIni.open(m_wb->ctx.configPath());
    }
    QList<QByteArray> targets() const
    {
        QList<QByteArray> out;
        for (const auto &r : m_http->requests())
            out << r.target;
        return out;
    }
    // Selects the list's row of `name` the way a click does.
    void clickResource(const QString &name)
    {
        ResourceList &list = *m_wb->main->resources;
        for (int i = 0; i < list.count(); ++i) {
            if (list.subItem(i, SubName) == name)
                list.selectRow(i);
        }
        m_pane->lvLinksClick();
        QCOMPARE(m_wb->ctx.SelectedResourceName, name);
    }
    int forumId() { return m_wb->db.scalar(QStringLiteral("SELECT forum_id FROM forums")).toInt(); }

private Q_SLOTS:
    void init()
    {
        m_wb = std::make_unique<test::Workbench>();
        QVERIFY2(m_wb->db.ok(), qPrintable(m_wb->db.error()));
        m_http = std::make_unique<HttpServer>();
        QVERIFY(m_http->listen());
        pointHostsAtServer(m_http->baseUrl());
        HttpScript page;
        page.body = "<html><body>results</body></html>";
        page.addHeader("Content-Type", "text/html; charset=utf-8");
        m_http->setDefaultReply(page);
        m_pane = m_wb->main->browser;
        auto &tdb = m_wb->db;
        QVERIFY(tdb.exec(QStringLiteral("UPDATE projects SET project_url='http://www.site.example/'")));
        QVERIFY(
            tdb.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='cat.example', catalog_url='http://cat.example'")));
        QVERIFY(tdb.exec(QStringLiteral(
            "INSERT INTO csubjects2catalogs (s2c_catalog_id, s2c_subject_id) SELECT catalog_id, 1 FROM catalogs")));
        QVERIFY(tdb.exec(QStringLiteral("INSERT INTO forums SET forum_name='forum.example', forum_aurl='http://forum.example'")));
        QVERIFY(tdb.exec(
            QStringLiteral("INSERT INTO fsubjects2forums (s2f_forum_id, s2f_subject_id) SELECT forum_id, 1 FROM forums")));
    }
    void cleanup()
    {
        m_wb.reset();
        m_http.reset();
    }

    void engineButtonsSearchTheSelectedResource()
    {
        ScriptedPrompt p;
        QVERIFY(m_wb->db.exec(
            QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='A', cmaterial_project_id=%1").arg(m_wb->projectId)));
        m_wb->main->projects->cbProjectsChange();
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *m_wb->main->resources;
        QVERIFY(list.fill(ListSource{ListSource::Rubric, 1, {}}));
        clickResource(QStringLiteral("cat.example"));
        RegistrationSearch &s = *m_pane->search;
        QVERIFY(s.tbYandex->isChecked());
        QSignalSpy loaded(m_wb->main->Web, &QWebEngineView::loadFinished);
        m_wb->main->tcWeb->setCurrentIndex(2);
        QTRY_VERIFY_WITH_TIMEOUT(targets().contains("/yandsearch?text=site.example/&serverurl=cat.example"), 20000);
        // Rambler while Yandex is down: only Rambler stays down.
        s.tbRambler->click();
        QVERIFY(s.tbRambler->isChecked());
        QVERIFY(!s.tbYandex->isChecked() && !s.tbGoogle->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(m_wb->main->Web->url().path() == QLatin1String("/srch"), 20000);
        QCOMPARE(m_wb->main->Web->url().query(QUrl::FullyEncoded).section(QLatin1Char('&'), -1),
                 QStringLiteral("filter=cat.example"));
        // Rambler again: no button down, the empty address.
        s.tbRambler->click();
        QVERIFY(!s.tbRambler->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(
            m_wb->main->Web->url().isEmpty() || m_wb->main->Web->url() == QUrl(QStringLiteral("about:blank")), 20000);
        s.tbGoogle->click();
        QTRY_VERIFY_WITH_TIMEOUT(targets().contains("/search?hl=ru&newwindow=1&as_qdr=all&q=site.example/+site:cat.example"),
                                 20000);
        QVERIFY(p.messages.isEmpty());
    }

    void noMaterialLeavesThePage()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        ResourceList &list = *m_wb->main->resources;
        QVERIFY(list.fill(ListSource{ListSource::Rubric, 1, {}}));
        clickResource(QStringLiteral("cat.example"));
        m_pane->search->tbYandex->click();
        m_pane->search->tbYandex->click();
        QTest::qWait(300);
        QVERIFY(m_wb->main->Web->url().host().isEmpty());
        QVERIFY(targets().isEmpty());
        // Another project's material does not count either.
        QVERIFY(m_wb->db.exec(
            QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='A', cmaterial_project_id=%1").arg(m_wb->projectId + 1)));
        m_pane->search->SearchRegistration();
        QTest::qWait(300);
        QVERIFY(targets().isEmpty());
    }

    void analysisAsksInOrder()
    {
        ScriptedPrompt p;
        HttpScript sum;
        sum.body = "  8123456789\r\n";
        m_http->setReply("/gch.php", sum);
        HttpScript rank;
        rank.body = "Rank_1:1:5\n";
        m_http->setReply("/search", rank);
        HttpScript tic;
        tic.body = "<tcy rang=\"3\" value=\"120\"/>";
        m_http->setReply("/u", tic);
        m_pane->edtURLAudit->setText(QStringLiteral("HTTP://WWW.Site.Example"));
        m_wb->main->tcWeb->setCurrentIndex(3);
        QTRY_VERIFY_WITH_TIMEOUT(m_wb->main->Web->url().path() == QLatin1String("/url_info.php"), 20000);
        const QList<QByteArray> asked = targets();
        QCOMPARE(asked.mid(0, 5), (QList<QByteArray>{
                                      "/gch.php?url=http://site.example",
                                      "/search?client=navclient-auto&ch=68123456789&features=Rank&q=info:http://site.example",
                                      "/gch.php?url=http://www.site.example",
                                      "/search?client=navclient-auto&ch=68123456789&features=Rank&q=info:http://www.site.example",
                                      "/u?ver=2&show=32&url=http://www.site.example",
                                  }));
        QCOMPARE(m_wb->main->Web->url().query(QUrl::FullyEncoded), QStringLiteral("PR1=5&PR2=5&TIC=120&url=site.example"));
        QVERIFY(!m_pane->metrics->running());
        QVERIFY(p.messages.isEmpty());
    }

    void analysisFailuresAndReentry()
    {
        ScriptedPrompt p;
        HttpScript broken;
        broken.status = 500;
        m_http->setReply("/gch.php", broken);
        HttpScript slowTic;
        slowTic.body = "value=\"7\"";
        slowTic.delayMs = 600;
        m_http->setReply("/u", slowTic);
        // An empty field: the wait page and no request.
        m_pane->edtURLAudit->clear();
        m_pane->metrics->btnURLAuditClick();
        QVERIFY(m_wb->main->Web->url().toString().endsWith(QStringLiteral("wait.htm")));
        QVERIFY(targets().isEmpty());
        // A failed checksum gives "?" without the PageRank request; a second
        // click while the analysis runs is ignored.
        m_wb->main->tcWeb->setCurrentIndex(3);
        m_pane->edtURLAudit->setText(QStringLiteral("site.example"));
        QTimer::singleShot(200, this, [this] {
            QVERIFY(m_pane->metrics->running());
            m_pane->metrics->btnURLAuditClick();
            QTest::keyClick(m_pane->edtURLAudit, Qt::Key_Return);
        });
        m_pane->metrics->btnURLAuditClick();
        QCOMPARE(targets(), (QList<QByteArray>{"/gch.php?url=http://site.example", "/gch.php?url=http://www.site.example",
                                               "/u?ver=2&show=32&url=http://www.site.example"}));
        QTRY_VERIFY_WITH_TIMEOUT(m_wb->main->Web->url().path() == QLatin1String("/url_info.php"), 20000);
        QCOMPARE(m_wb->main->Web->url().query(QUrl::FullyEncoded), QStringLiteral("PR1=?&PR2=?&TIC=7&url=site.example"));
        // A result that comes after the user changed the field is dropped.
        m_http->clearRequests();
        QTimer::singleShot(200, this, [this] { m_pane->edtURLAudit->setText(QStringLiteral("other.example")); });
        m_pane->metrics->btnURLAuditClick();
        QCOMPARE(targets().size(), 3);
        QTest::qWait(300);
        QVERIFY(m_wb->main->Web->url().toString().endsWith(QStringLiteral("wait.htm")));
        QVERIFY(p.messages.isEmpty());
    }

    void analysisOfATricklingServiceEndsAtTheDeadline()
    {
        ScriptedPrompt p;
        // Each checksum reply would take five seconds, a byte every 100 ms.
        HttpScript slow;
        slow.body = QByteArray(50, '7');
        slow.trickleMs = 100;
        m_http->setReply("/gch.php", slow);
        HttpScript tic;
        tic.body = "value=\"9\"";
        m_http->setReply("/u", tic);
        m_pane->metrics->client()->setTimeoutMs(500);
        m_wb->main->tcWeb->setCurrentIndex(3);
        m_pane->edtURLAudit->setText(QStringLiteral("site.example"));
        QElapsedTimer t;
        t.start();
        m_pane->metrics->btnURLAuditClick();
        QVERIFY2(t.elapsed() < 4000, qPrintable(QString::number(t.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(m_wb->main->Web->url().path() == QLatin1String("/url_info.php"), 20000);
        QCOMPARE(m_wb->main->Web->url().query(QUrl::FullyEncoded), QStringLiteral("PR1=?&PR2=?&TIC=9&url=site.example"));
    }

    void discussionLinks()
    {
        ScriptedPrompt p;
        auto &tdb = m_wb->db;
        const int project = m_wb->projectId;
        for (const char *name : {"R1", "R2"})
            QVERIFY(tdb.exec(QStringLiteral("INSERT INTO fmaterials SET fmaterial_name='%1', fmaterial_project_id=%2")
                                 .arg(QLatin1String(name))
                                 .arg(project)));
        const int r1 = tdb.scalar(QStringLiteral("SELECT fmaterial_id FROM fmaterials WHERE fmaterial_name='R1'")).toInt();
        const int r2 = tdb.scalar(QStringLiteral("SELECT fmaterial_id FROM fmaterials WHERE fmaterial_name='R2'")).toInt();
        RegistrationSearch &s = *m_pane->search;
        // No press release yet in the main window: nothing happens.
        m_wb->ctx.CurrentKind = core::Kind::Forums;
        m_wb->ctx.SelectedResourceId = forumId();
        s.SpeedButton3Click();
        QCOMPARE(tdb.scalar(QStringLiteral("SELECT COUNT(*) FROM flinks")), QStringLiteral("0"));

        m_wb->main->projects->cbProjectsChange();
        m_wb->main->cbFMaterials->setCurrentIndex(m_wb->main->cbFMaterials->findData(r1));
        m_wb->ctx.SelectedResourceId = forumId();
        auto show = [&](const QString &address) {
            QSignalSpy loaded(m_wb->main->Web, &QWebEngineView::loadFinished);
            m_wb->main->Web->setUrl(QUrl(address));
            QVERIFY(loaded.wait(20000));
        };
        show(m_http->baseUrl() + QStringLiteral("/thread?a=1"));
        s.SpeedButton3Click();
        show(m_http->baseUrl() + QStringLiteral("/thread?t=\"q\"\\x"));
        s.SpeedButton3Click();
        const QString second = m_wb->main->Web->url().toString();
        QVERIFY(second.contains(QLatin1Char('\\')) || second.contains(QStringLiteral("%5C")));
        QCOMPARE(tdb.rows(QStringLiteral("SELECT flink_material_id, flink_forum_id, flink_url FROM flinks")),
                 QStringList{QStringLiteral("%1|%2|%3").arg(r1).arg(forumId()).arg(second)});
        // Another press release keeps its own row.
        m_wb->main->cbFMaterials->setCurrentIndex(m_wb->main->cbFMaterials->findData(r2));
        s.SpeedButton3Click();
        QCOMPARE(tdb.scalar(QStringLiteral("SELECT COUNT(*) FROM flinks")), QStringLiteral("2"));
        QCOMPARE(tdb.scalar(QStringLiteral("SELECT COUNT(*) FROM flinks WHERE flink_material_id=%1").arg(r2)),
                 QStringLiteral("1"));
        QVERIFY(p.messages.isEmpty());
    }

    void discussionLinkOnlyFromAWebPage()
    {
        ScriptedPrompt p;
        auto &tdb = m_wb->db;
        QVERIFY(tdb.exec(
            QStringLiteral("INSERT INTO fmaterials SET fmaterial_name='R1', fmaterial_project_id=%1").arg(m_wb->projectId)));
        const int r1 = tdb.scalar(QStringLiteral("SELECT fmaterial_id FROM fmaterials")).toInt();
        // The forums view, where the button shows.
        m_wb->main->projects->cbProjectsChange();
        test::click(*m_wb, m_wb->main->navigator->top(TopForums));
        QCOMPARE(m_wb->ctx.CurrentKind, core::Kind::Forums);
        m_wb->main->cbFMaterials->setCurrentIndex(m_wb->main->cbFMaterials->findData(r1));
        m_wb->ctx.SelectedResourceId = forumId();
        QWebEngineView *web = m_wb->main->Web;
        QToolButton *save = m_pane->search->SpeedButton3;
        QVERIFY(save->isEnabled());
        auto show = [&](const QUrl &address) {
            QSignalSpy loaded(web, &QWebEngineView::loadFinished);
            web->setUrl(address);
            QVERIFY(loaded.wait(20000));
        };
        const QString refused = QStringLiteral("Адрес обсуждения не сохранён: в браузере должна быть открыта страница "
                                               "обсуждения на форуме (адрес http:// или https://).");
        // Nothing shown yet, a blank page, a local page of the program.
        web->setUrl(QUrl());
        save->click();
        show(QUrl(QStringLiteral("about:blank")));
        save->click();
        QFile local(m_wb->ctx.AppDir + QStringLiteral("start.htm"));
        QVERIFY(local.open(QIODevice::WriteOnly));
        local.write("<html><body>start</body></html>");
        local.close();
        show(QUrl::fromLocalFile(local.fileName()));
        save->click();
        // The program's page that stands in for the maker's unreachable site.
        pointHostsAtServer(QStringLiteral("http://127.0.0.1:%1").arg(test::closedLocalPort()));
        web->setUrl(m_wb->ctx.makerUrl(QStringLiteral("/program3_start.php")));
        QTRY_VERIFY_WITH_TIMEOUT(test::evaluateJs(web, QStringLiteral("document.body ? document.body.innerText : ''"))
                                     .toString()
                                     .contains(QStringLiteral("Сайт разработчика сейчас недоступен")),
                                 20000);
        save->click();
        QCOMPARE(p.messages, QStringList({refused, refused, refused, refused}));
        QCOMPARE(tdb.scalar(QStringLiteral("SELECT COUNT(*) FROM flinks")), QStringLiteral("0"));
        // A forum's page is kept.
        p.messages.clear();
        show(QUrl(m_http->baseUrl() + QStringLiteral("/thread?id=5")));
        save->click();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(tdb.rows(QStringLiteral("SELECT flink_url FROM flinks")),
                 QStringList{m_http->baseUrl() + QStringLiteral("/thread?id=5")});
    }
};

QTEST_MAIN(TestChecks)
#include "tst_checks.moc"
