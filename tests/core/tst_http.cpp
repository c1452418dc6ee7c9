// The HTTP client against the local test server: what is sent, what counts as
// a failure, how texts are decoded, and a client destroyed during its wait.
#include "core/http.h"
#include "support/httpserver.h"

#include <QPointer>
#include <QStringEncoder>
#include <QTimer>
#include <QtTest>

using qv::core::HttpClient;
using qv::test::HttpScript;
using qv::test::HttpServer;

class TestHttp : public QObject {
    Q_OBJECT
private:
    HttpServer *m_server = nullptr;
    QUrl url(const QString &target) const { return QUrl(m_server->baseUrl() + target); }
    static QByteArray cp1251(const QString &s) { return QStringEncoder("windows-1251").encode(s); }

private slots:
    void init()
    {
        m_server = new HttpServer(this);
        QVERIFY(m_server->listen());
    }
    void cleanup()
    {
        delete m_server;
        m_server = nullptr;
    }

    void getSendsPathAndQueryAsWritten()
    {
        HttpScript s;
        s.body = "42";
        m_server->setReply("/out_catalog.php", s);
        HttpClient client;
        const auto r = client.get(url(QStringLiteral("/out_catalog.php?action=info&date=2026-01-02%2010:11:12")));
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.status, 200);
        QCOMPARE(r.text, QStringLiteral("42"));
        QCOMPARE(m_server->requests().size(), 1);
        const auto req = m_server->requests().first();
        QCOMPARE(req.method, QByteArray("GET"));
        QCOMPARE(req.query, QByteArray("action=info&date=2026-01-02%2010:11:12"));
        QCOMPARE(req.header("User-Agent"), HttpClient::userAgent());
    }

    void postSendsBodyBytes()
    {
        HttpScript s;
        s.body = "ok";
        m_server->setReply("/get_catalog.php", s);
        HttpClient client;
        const QByteArray body = "values=" + cp1251(QStringLiteral("имя")).toPercentEncoding();
        const auto r = client.post(url(QStringLiteral("/get_catalog.php")), body);
        QVERIFY(r.ok);
        const auto req = m_server->requests().first();
        QCOMPARE(req.method, QByteArray("POST"));
        QCOMPARE(req.body, body);
        QCOMPARE(req.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    }

    void failuresAreNotOk_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("drop");
        QTest::newRow("server error") << 500 << false;
        QTest::newRow("not found") << 404 << false;
        QTest::newRow("redirect") << 302 << false;
        QTest::newRow("dropped") << 200 << true;
    }
    void failuresAreNotOk()
    {
        QFETCH(int, status);
        QFETCH(bool, drop);
        HttpScript s;
        s.status = status;
        s.drop = drop;
        s.body = "306";
        if (status == 302)
            s.addHeader("Location", (m_server->baseUrl() + QStringLiteral("/elsewhere")).toLatin1());
        m_server->setReply("/x", s);
        HttpClient client;
        const auto r = client.get(url(QStringLiteral("/x")));
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QVERIFY(!r.cancelled);
        // A redirect is never followed.
        for (const auto &req : m_server->requests())
            QCOMPARE(req.path, QByteArray("/x"));
    }

    void refusedConnectionFails()
    {
        const QString dead = m_server->baseUrl();
        delete m_server;
        m_server = nullptr;
        HttpClient client;
        const auto r = client.get(QUrl(dead + QStringLiteral("/x")));
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        m_server = new HttpServer(this);
        QVERIFY(m_server->listen());
    }

    void silentServerTimesOut()
    {
        HttpScript s;
        s.hang = true;
        m_server->setReply("/hang", s);
        HttpClient client;
        client.setTimeoutMs(300);
        QElapsedTimer t;
        t.start();
        const auto r = client.get(url(QStringLiteral("/hang")));
        QVERIFY(!r.ok);
        QVERIFY(!r.cancelled);
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(!client.busy());
        // The client is usable again.
        HttpScript fine;
        fine.body = "1";
        m_server->setReply("/fine", fine);
        QVERIFY(client.get(url(QStringLiteral("/fine"))).ok);
    }

    void tricklingServerFailsAtTheDeadline()
    {
        // A byte every 100 ms: the transfer never stands still for long, but
        // the whole exchange would take four seconds.
        HttpScript slow;
        slow.body = QByteArray(40, 'x');
        slow.trickleMs = 100;
        m_server->setReply("/trickle", slow);
        HttpClient client;
        client.setTimeoutMs(700);
        QElapsedTimer t;
        t.start();
        const auto r = client.get(url(QStringLiteral("/trickle")));
        QVERIFY(!r.ok);
        QVERIFY(!r.cancelled);
        QVERIFY(r.timedOut);
        QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(r.error.contains(QStringLiteral("истекло")));
        QVERIFY(!client.busy());
        // A trickle that ends before the deadline is received whole.
        HttpScript shortOne;
        shortOne.body = "12345";
        shortOne.trickleMs = 20;
        m_server->setReply("/short", shortOne);
        const auto ok = client.get(url(QStringLiteral("/short")));
        QVERIFY2(ok.ok, qPrintable(ok.error));
        QCOMPARE(ok.body, QByteArray("12345"));
    }

    void failureReasonsSayWhatHappened()
    {
        HttpScript broken;
        broken.status = 503;
        m_server->setReply("/broken", broken);
        HttpClient client;
        client.setTimeoutMs(400);
        const auto status = client.get(url(QStringLiteral("/broken")));
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(QStringLiteral("HTTP 503")), qPrintable(status.error));

        HttpScript hang;
        hang.hang = true;
        m_server->setReply("/hang", hang);
        const auto late = client.get(url(QStringLiteral("/hang")));
        QVERIFY(late.timedOut);
        QVERIFY2(late.error.contains(QStringLiteral("время ожидания")), qPrintable(late.error));

        const QString dead = m_server->baseUrl();
        delete m_server;
        m_server = nullptr;
        const auto refused = client.get(QUrl(dead + QStringLiteral("/x")));
        QVERIFY(!refused.ok);
        QVERIFY(!refused.timedOut);
        QVERIFY2(refused.error.contains(QStringLiteral("отказал в соединении")), qPrintable(refused.error));
        m_server = new HttpServer(this);
        QVERIFY(m_server->listen());
    }

    void textsFollowTheDeclaredCharset()
    {
        HttpScript plain;
        plain.body = cp1251(QStringLiteral("Привет"));
        m_server->setReply("/plain", plain);
        HttpScript utf;
        utf.body = QStringLiteral("Привет").toUtf8();
        utf.addHeader("Content-Type", "text/plain; charset=UTF-8");
        m_server->setReply("/utf", utf);
        HttpClient client;
        QCOMPARE(client.get(url(QStringLiteral("/plain"))).text, QStringLiteral("Привет"));
        QCOMPARE(client.get(url(QStringLiteral("/utf"))).text, QStringLiteral("Привет"));
    }

    void htmlPagesDecodeByHeaderMetaOrBytes()
    {
        const QString word = QStringLiteral("ничего не найдено");
        QCOMPARE(qv::core::DecodeHtmlPage(cp1251(word), "text/html; charset=windows-1251"), word);
        QCOMPARE(qv::core::DecodeHtmlPage("<meta charset=\"windows-1251\">" + cp1251(word), "text/html"),
                 QStringLiteral("<meta charset=\"windows-1251\">") + word);
        QCOMPARE(qv::core::DecodeHtmlPage(word.toUtf8(), "text/html"), word);
        QCOMPARE(qv::core::DecodeHtmlPage(cp1251(word), "text/html"), word);
    }

    void destroyedDuringWaitEndsCleanly()
    {
        HttpScript s;
        s.hang = true;
        m_server->setReply("/hang", s);
        auto *client = new HttpClient;
        QTimer::singleShot(100, [client] { delete client; });
        const auto r = client->get(url(QStringLiteral("/hang")));
        QVERIFY(r.cancelled);
        QVERIFY(!r.ok);
    }

    void abortEndsTheWaitAndTheClientGoesOn()
    {
        HttpScript s;
        s.hang = true;
        m_server->setReply("/hang", s);
        HttpClient client;
        QTimer::singleShot(100, &client, [&client] { client.abort(); });
        const auto r = client.get(url(QStringLiteral("/hang")));
        QVERIFY(r.cancelled);
        QVERIFY(!client.busy());
        HttpScript fine;
        fine.body = "1";
        m_server->setReply("/fine", fine);
        QVERIFY(client.get(url(QStringLiteral("/fine"))).ok);
    }

    void secondRequestDuringAWaitIsRefused()
    {
        HttpScript slow;
        slow.delayMs = 300;
        slow.body = "slow";
        m_server->setReply("/slow", slow);
        HttpClient client;
        qv::core::HttpReply inner;
        QTimer::singleShot(50, &client, [&] { inner = client.get(url(QStringLiteral("/slow"))); });
        const auto outer = client.get(url(QStringLiteral("/slow")));
        QVERIFY(outer.ok);
        QVERIFY(!inner.ok);
        QCOMPARE(m_server->requests().size(), 1);
    }
};

QTEST_MAIN(TestHttp)
#include "tst_http.moc"
