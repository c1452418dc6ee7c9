// The auto-check run against local engines and the real base: verdicts and
// the check log, a second run, the pauses, stops, failures and launches.
#include "core/http.h"
#include "db/query.h"
#include "support/httpserver.h"
#include "support/scriptedprompt.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/tfrmautocheck.h"
#include "workbenchfixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::HttpScript;
using qv::test::HttpServer;
using qv::test::ScriptedPrompt;

namespace {
const QString kDone = QStringLiteral("Авто проверка регистрации успешно завершена!");
const QByteArray kYandexNothing = "<p>Искомая комбинация слов нигде не встречается</p>";
const QByteArray kGoogleNothing = "<p>Не найдено ни одного документа, соответствующего запросу</p>";

HttpScript page(const QByteArray &body, const QByteArray &type = "text/html; charset=utf-8")
{
    HttpScript s;
    s.body = body;
    if (!type.isEmpty())
        s.addHeader("Content-Type", type);
    return s;
}
} // namespace

class TestAutocheck : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<test::Workbench> m_wb;
    std::unique_ptr<HttpServer> m_http;
    TfrmAutocheck *m_check = nullptr;

    int addCatalog(const QString &name)
    {
        m_wb->db.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name=%1").arg(db::Sql(name)));
        const int id = m_wb->db.scalar(QStringLiteral("SELECT MAX(catalog_id) FROM catalogs")).toInt();
        m_wb->db.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=11").arg(id));
        return id;
    }
    // The list of rubric 11 on screen and the window launched for it.
    void launch()
    {
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_wb->main->resources->fill(ListSource{ListSource::Rubric, 11, {}}));
        m_check->N36Click(*m_wb->main->resources, QStringLiteral("Рубрика"));
    }
    QStringList logRows()
    {
        return m_wb->db.rows(QStringLiteral("SELECT gcrl_catalog_id, gcrl_project_id, gcrl_yandex, gcrl_google, gcrl_status, "
                                            "gcrl_DateTime FROM gcreglog ORDER BY gcrl_catalog_id"));
    }
    QStringList logLines() const
    {
        QStringList out;
        for (int i = 0; i < m_check->lbAutoCheckLog->count(); ++i)
            out << m_check->lbAutoCheckLog->item(i)->text();
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_wb = std::make_unique<test::Workbench>();
        QVERIFY2(m_wb->db.ok(), qPrintable(m_wb->db.error()));
        m_http = std::make_unique<HttpServer>();
        QVERIFY(m_http->listen());
        QFile ini(m_wb->ctx.configPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Hosts]\nmaker=" + m_http->baseUrl().toUtf8() + "\nyandex=" + m_http->baseUrl().toUtf8()
                  + "\ngoogle=" + m_http->baseUrl().toUtf8() + "\n");
        ini.close();
        m_wb->ctx.ConfigIni.open(m_wb->ctx.configPath());
        m_wb->ctx.ProjectUrl = QStringLiteral("http://www.site.example");
        m_check = new TfrmAutocheck(m_wb->ctx, m_wb->main.get());
        m_check->setPauseMs(0);
        m_check->client()->setTimeoutMs(2000);
    }
    void cleanup()
    {
        delete m_check;
        m_wb.reset();
        m_http.reset();
    }

    void launchChecksListAndAddress()
    {
        ScriptedPrompt p;
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_wb->main->resources->fill(ListSource{ListSource::Rubric, 11, {}}));
        m_check->N36Click(*m_wb->main->resources, QString());
        QCOMPARE(p.messages, QStringList{"Выберите раздел хотя бы с одним каталогом/форумом!"});
        QVERIFY(!m_check->isVisible());
        addCatalog(QStringLiteral("a.example"));
        m_wb->ctx.ProjectUrl.clear();
        p.messages.clear();
        launch();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("В информации о проекте не заполнен URL сайта проекта!\r")));
        QVERIFY(!m_check->isVisible());
    }

    void runStoresVerdictsAndUpdatesOnTheNextRun()
    {
        ScriptedPrompt p;
        const int both = addCatalog(QStringLiteral("both.example"));
        const int none = addCatalog(QStringLiteral("none.example"));
        const int eq = addCatalog(QStringLiteral("a=b.example"));
        const int empty = addCatalog(QStringLiteral("empty.example"));
        // Yandex: windows-1251 pages without a declared charset.
        QStringEncoder cp1251("windows-1251");
        const QByteArray nothing1251 = cp1251.encode(QString::fromUtf8(kYandexNothing));
        m_http->setReply("/yandsearch", page("<html>found</html>", QByteArray()));
        m_http->setReply("/search", page("<html>found</html>"));
        launch();
        QStringList sorted = m_check->Links;
        sorted.sort();
        QCOMPARE(sorted,
                 (QStringList{QStringLiteral("a=b.example=%1").arg(eq), QStringLiteral("both.example=%1").arg(both),
                              QStringLiteral("empty.example=%1").arg(empty), QStringLiteral("none.example=%1").arg(none)}));
        QCOMPARE(m_check->lbURL->text(), QStringLiteral("site.example"));
        QCOMPARE(m_check->lbWhere->text(), QStringLiteral("Рубрика"));
        // Answers per resource, queued in the run's order.
        const QHash<QString, QPair<HttpScript, HttpScript>> answers = {
            {QStringLiteral("a=b.example"), {page("<html>found</html>", QByteArray()), page(kGoogleNothing)}},
            {QStringLiteral("both.example"), {page("<html>found</html>", QByteArray()), page("<html>found</html>")}},
            {QStringLiteral("empty.example"), {page(QByteArray(), QByteArray()), page(QByteArray())}},
            {QStringLiteral("none.example"), {page(nothing1251, QByteArray()), page(kGoogleNothing)}},
        };
        const QHash<QString, QString> verdicts = {
            {QStringLiteral("a=b.example"), QStringLiteral("Подтверждено только Яндексом")},
            {QStringLiteral("both.example"), QStringLiteral("Подтверждено Яндексом и Гуглом")},
            {QStringLiteral("empty.example"), QStringLiteral("Не подтверждено ни Яндексом ни Гуглом")},
            {QStringLiteral("none.example"), QStringLiteral("Не подтверждено ни Яндексом ни Гуглом")}};
        QStringList expectedLog;
        for (const QString &line : m_check->Links) {
            const QString name = line.left(line.lastIndexOf(QLatin1Char('=')));
            m_http->queueReply("/yandsearch", answers[name].first);
            m_http->queueReply("/search", answers[name].second);
            expectedLog.prepend(verdicts[name] + QStringLiteral(" :: ") + name);
        }
        m_check->btnAutoCheckStart->click();
        QCOMPARE(p.messages, QStringList{kDone});
        QCOMPARE(p.messageIcons, QList<core::MessageIcon>{core::MessageIcon::Information});
        QVERIFY(m_check->btnAutoCheckStart->isEnabled());
        QCOMPARE(m_check->lbProgress->text(), QStringLiteral("4 из 4"));
        QCOMPARE(m_check->lbNow->text(), QString());
        QCOMPARE(logLines(), expectedLog);
        const QStringList first = logRows();
        QCOMPARE(first.size(), 4);
        const QString stamp = first[0].section(QLatin1Char('|'), 5);
        const QString p_ = QString::number(m_wb->projectId);
        QCOMPARE(first, (QStringList{QStringLiteral("%1|%2|1|1|1|%3").arg(both).arg(p_, stamp),
                                     QStringLiteral("%1|%2|0|0|0|%3").arg(none).arg(p_, stamp),
                                     QStringLiteral("%1|%2|1|0|1|%3").arg(eq).arg(p_, stamp),
                                     QStringLiteral("%1|%2|0|0|0|%3").arg(empty).arg(p_, stamp)}));
        // The addresses: the site and the name, values encoded.
        const auto reqs = m_http->requests();
        QVERIFY(!reqs.isEmpty());
        QList<QByteArray> asked;
        for (const auto &r : reqs) {
            if (r.path != "/pad/frmAutoCheck.php" && r.path != "/favicon.ico")
                asked << r.target;
        }
        QVERIFY(asked.contains("/yandsearch?text=site.example&serverurl=a=b.example"));
        QVERIFY(asked.contains("/search?hl=ru&newwindow=1&as_qdr=all&q=site.example+site:a=b.example"));

        // A second run updates the rows with its own stamp: no duplicates.
        QTest::qWait(1100);
        p.messages.clear();
        m_check->btnAutoCheckStartClick();
        QCOMPARE(p.messages, QStringList{kDone});
        const QStringList second = logRows();
        QCOMPARE(second.size(), 4);
        QVERIFY(second[0].section(QLatin1Char('|'), 5) != stamp);
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(DISTINCT gcrl_DateTime) FROM gcreglog")), QStringLiteral("1"));
    }

    void failuresAreLoggedAndSkipped()
    {
        ScriptedPrompt p;
        addCatalog(QStringLiteral("a.example"));
        addCatalog(QStringLiteral("b.example"));
        addCatalog(QStringLiteral("c.example"));
        const int d = addCatalog(QStringLiteral("d.example"));
        m_http->setReply("/yandsearch", page("<html>found</html>"));
        m_http->setReply("/search", page("<html>found</html>"));
        HttpScript error;
        error.status = 500;
        HttpScript moved;
        moved.status = 302;
        moved.addHeader("Location", "/elsewhere");
        HttpScript hang;
        hang.hang = true;
        m_check->client()->setTimeoutMs(400);
        m_http->queueReply("/yandsearch", error);
        m_http->queueReply("/yandsearch", page("<html>found</html>"));
        m_http->queueReply("/search", moved);
        m_http->queueReply("/yandsearch", hang);
        launch();
        // "Выполнено:" as each resource's first request arrives: every resource
        // the run is through with counts, checked or not.
        QStringList progress;
        connect(m_http.get(), &HttpServer::requestReceived, m_check, [&](const test::HttpRequestRecord &r) {
            if (r.path == "/yandsearch")
                progress << m_check->lbNow->text() + QStringLiteral(": ") + m_check->lbProgress->text();
        });
        m_check->btnAutoCheckStart->click();
        QCOMPARE(progress, (QStringList{"a.example: 0 из 4", "b.example: 1 из 4", "c.example: 2 из 4", "d.example: 3 из 4"}));
        QCOMPARE(m_check->lbProgress->text(), QStringLiteral("4 из 4"));
        QCOMPARE(m_check->lbNow->text(), QString());
        QCOMPARE(p.messages, QStringList{"Авто проверка регистрации завершена с ошибками: не удалось проверить 3 из 4. "
                                         "Причины указаны в логе проверки."});
        QCOMPARE(p.messageIcons, QList<core::MessageIcon>{core::MessageIcon::Warning});
        QCOMPARE(logLines(),
                 (QStringList{"Подтверждено Яндексом и Гуглом :: d.example",
                              "Ошибка при проверке Yandex :: c.example :: время ожидания ответа сервера (1 с) истекло",
                              "Ошибка при проверке Google :: b.example :: сервер ответил перенаправлением (HTTP 302), "
                              "оно не выполняется",
                              "Ошибка при проверке Yandex :: a.example :: сервер ответил ошибкой HTTP 500"}));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT GROUP_CONCAT(gcrl_catalog_id) FROM gcreglog")), QString::number(d));
    }

    void noEngineReachableEndsWithTheCount()
    {
        ScriptedPrompt p;
        for (const char *name : {"a.example", "b.example", "c.example"})
            addCatalog(QString::fromLatin1(name));
        // The engines at a port where nothing listens; the maker's page stays here.
        quint16 closedPort = 0;
        {
            HttpServer gone;
            QVERIFY(gone.listen());
            closedPort = gone.port();
        }
        const QByteArray dead = "http://127.0.0.1:" + QByteArray::number(closedPort);
        QFile ini(m_wb->ctx.configPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Hosts]\nmaker=" + m_http->baseUrl().toUtf8() + "\nyandex=" + dead + "\ngoogle=" + dead + "\n");
        ini.close();
        m_wb->ctx.ConfigIni.open(m_wb->ctx.configPath());
        launch();
        m_check->btnAutoCheckStart->click();
        QCOMPARE(p.messages, QStringList{"Авто проверка регистрации завершена с ошибками: не удалось проверить 3 из 3. "
                                         "Причины указаны в логе проверки."});
        const QStringList lines = logLines();
        QCOMPARE(lines.size(), 3);
        for (const QString &line : lines)
            QVERIFY2(line.startsWith(QStringLiteral("Ошибка при проверке Yandex :: "))
                         && line.endsWith(QStringLiteral(" :: сервер 127.0.0.1:%1 отказал в соединении").arg(closedPort)),
                     qPrintable(line));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM gcreglog")), QStringLiteral("0"));
    }

    void contactsSectionStartSaysWhy()
    {
        ScriptedPrompt p;
        addCatalog(QStringLiteral("a.example"));
        m_http->setDefaultReply(page("<html>found</html>"));
        // A list still on screen while the navigator is on a contacts section.
        m_wb->ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(m_wb->main->resources->fill(ListSource{ListSource::Rubric, 11, {}}));
        m_wb->ctx.CurrentKind = core::Kind::Contacts;
        m_check->N36Click(*m_wb->main->resources, QStringLiteral("Контакты"));
        QVERIFY(m_check->isVisible());
        m_http->clearRequests();
        m_check->btnAutoCheckStart->click();
        QCOMPARE(p.messages, QStringList{"Контакты автопроверкой не проверяются: она проверяет регистрацию на каталогах, "
                                         "форумах и софт-каталогах. Выберите их раздел и запустите автопроверку снова."});
        for (const auto &r : m_http->requests())
            QVERIFY2(r.path != "/yandsearch" && r.path != "/search", r.target.constData());
        QVERIFY(m_check->btnAutoCheckStart->isEnabled());
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM gcreglog")), QStringLiteral("0"));
    }

    void pausesAfterEveryHundred()
    {
        ScriptedPrompt p;
        QString values;
        for (int i = 0; i < 250; ++i)
            values +=
                QStringLiteral("%1('r%2.example')").arg(i ? QStringLiteral(",") : QString()).arg(i, 3, 10, QLatin1Char('0'));
        QVERIFY(m_wb->db.exec(QStringLiteral("INSERT INTO catalogs (catalog_name) VALUES ") + values));
        QVERIFY(m_wb->db.exec(QStringLiteral("INSERT INTO csubjects2catalogs (s2c_catalog_id, s2c_subject_id) "
                                             "SELECT catalog_id, 11 FROM catalogs WHERE catalog_name LIKE 'r%.example'")));
        m_http->setReply("/yandsearch", page("<html>found</html>"));
        m_http->setReply("/search", page("<html>found</html>"));
        launch();
        QCOMPARE(m_check->Links.size(), 250);
        m_check->setPauseMs(400);
        QElapsedTimer clock;
        QList<qint64> at;
        connect(m_check, &TfrmAutocheck::resourceChecked, this, [&](int) { at << clock.elapsed(); });
        clock.start();
        m_check->btnAutoCheckStartClick();
        QCOMPARE(at.size(), 250);
        QList<int> slow;
        for (int i = 1; i < at.size(); ++i) {
            if (at[i] - at[i - 1] >= 380)
                slow << i;
        }
        QCOMPARE(slow, (QList<int>{100, 200}));
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM gcreglog")), QStringLiteral("250"));
    }

    void stopsDuringRequestsAndPauses()
    {
        ScriptedPrompt p;
        const int a = addCatalog(QStringLiteral("a.example"));
        addCatalog(QStringLiteral("b.example"));
        HttpScript slow = page("<html>found</html>");
        slow.delayMs = 300;
        m_http->setReply("/yandsearch", slow);
        m_http->setReply("/search", page("<html>found</html>"));
        launch();
        // Closed during the first Yandex request: nothing is written for it.
        QTimer::singleShot(100, m_check, [this] { m_check->Button1Click(); });
        m_check->btnAutoCheckStartClick();
        QCOMPARE(p.messages, QStringList{"Авто проверка регистрации остановлена: проверено 0 из 2."});
        QVERIFY(!m_check->isVisible());
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT COUNT(*) FROM gcreglog")), QStringLiteral("0"));
        QVERIFY(m_check->btnAutoCheckStart->isEnabled());

        // Closed during the Google request: that resource is written, then the run ends.
        m_http->setReply("/yandsearch", page("<html>found</html>"));
        HttpScript slowGoogle = page("<html>found</html>");
        slowGoogle.delayMs = 300;
        m_http->setReply("/search", slowGoogle);
        launch();
        p.messages.clear();
        QTimer::singleShot(150, m_check, [this] { m_check->close(); });
        m_check->btnAutoCheckStartClick();
        QCOMPARE(p.messages, QStringList{"Авто проверка регистрации остановлена: проверено 1 из 2."});
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT GROUP_CONCAT(gcrl_catalog_id) FROM gcreglog")), QString::number(a));

        // A stop ends a long pause at once.
        for (int i = 0; i < 100; ++i)
            addCatalog(QStringLiteral("p%1.example").arg(i));
        m_http->setReply("/search", page("<html>found</html>"));
        launch();
        m_check->setPauseMs(60000);
        QElapsedTimer clock;
        connect(m_check, &TfrmAutocheck::resourceChecked, this, [&](int done) {
            if (done == 100)
                QTimer::singleShot(200, m_check, [this] { m_check->Button1Click(); });
        });
        clock.start();
        m_check->btnAutoCheckStartClick();
        QVERIFY(clock.elapsed() < 20000);
    }

    void launchWhileRunningOnlyRaises()
    {
        ScriptedPrompt p;
        const int a = addCatalog(QStringLiteral("a.example"));
        HttpScript slow = page("<html>found</html>");
        slow.delayMs = 400;
        m_http->setReply("/yandsearch", slow);
        m_http->setReply("/search", page("<html>found</html>"));
        launch();
        const QStringList links = m_check->Links;
        QTimer::singleShot(100, m_check, [&] {
            QVERIFY(m_check->running());
            QVERIFY(!m_check->btnAutoCheckStart->isEnabled());
            addCatalog(QStringLiteral("b.example"));
            m_wb->ctx.ProjectUrl = QStringLiteral("http://other.example");
            launch();
            QCOMPARE(m_check->Links, links);
            QCOMPARE(m_check->lbURL->text(), QStringLiteral("site.example"));
            // A second start is ignored too.
            m_check->btnAutoCheckStartClick();
        });
        m_check->btnAutoCheckStartClick();
        QCOMPARE(p.messages, QStringList{kDone});
        QCOMPARE(m_wb->db.scalar(QStringLiteral("SELECT GROUP_CONCAT(gcrl_catalog_id) FROM gcreglog")), QString::number(a));
    }

    void failingWriteEndsTheRunWithoutTheEndMessage()
    {
        ScriptedPrompt p;
        addCatalog(QStringLiteral("a.example"));
        m_http->setReply("/yandsearch", page("<html>found</html>"));
        m_http->setReply("/search", page("<html>found</html>"));
        launch();
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE gcreglog TO gcreglog_away")));
        m_check->btnAutoCheckStartClick();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT * FROM gcreglog")));
        QVERIFY(m_check->btnAutoCheckStart->isEnabled());
        QVERIFY(!m_check->running());
        QVERIFY(m_wb->db.exec(QStringLiteral("RENAME TABLE gcreglog_away TO gcreglog")));
    }
};

QTEST_MAIN(TestAutocheck)
#include "tst_autocheck.moc"
