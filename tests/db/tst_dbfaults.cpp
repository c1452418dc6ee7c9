// The query layer when the server is set up against it or the connection
// goes away: the session's quoting rules, passwords compared exactly, a
// dropped connection opened again, a broken read reported, messages cut.
#include "core/appcontext.h"
#include "db/database.h"
#include "db/query.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "users/tfrmlogin.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

class TestDbFaults : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    core::AppContext m_ctx;

    // A second connection of the test's own, on the same server.
    static std::unique_ptr<db::Database> otherConnection()
    {
        auto other = std::make_unique<db::Database>();
        if (!other->create() || !other->connect(TestDb::host(), TestDb::user(), TestDb::password(), TestDb::fixturePort()))
            return nullptr;
        return other;
    }
    static QString scalarOn(db::Database &conn, const QString &sql)
    {
        if (conn.query(sql) != 0)
            return QStringLiteral("error: ") + conn.errorText();
        db::QueryResult r(conn);
        const auto row = r.FetchRow();
        return row ? row->value(0) : QString();
    }

    // A new connection made while the server's global mode is `mode` (added
    // to the server's own flags when `added`), restored right after the
    // connect so that other tests see the usual mode; it becomes the process
    // connection. Nothing when it could not connect.
    db::Database *connectUnderGlobalMode(const QString &mode, bool added)
    {
        auto admin = otherConnection();
        if (!admin)
            return nullptr;
        const QString saved = scalarOn(*admin, QStringLiteral("SELECT @@GLOBAL.sql_mode"));
        const QString global = added ? saved + QLatin1Char(',') + mode : mode;
        if (saved.startsWith(QStringLiteral("error"))
            || admin->query(QStringLiteral("SET GLOBAL sql_mode='") + global + QStringLiteral("'")) != 0)
            return nullptr;
        auto *conn = new db::Database;
        const bool connected =
            conn->create() && conn->connect(TestDb::host(), TestDb::user(), TestDb::password(), TestDb::fixturePort());
        admin->query(QStringLiteral("SET GLOBAL sql_mode='") + saved + QStringLiteral("'"));
        if (!connected || !conn->selectDatabase(m_db->name())) {
            delete conn;
            return nullptr;
        }
        db::setDbConnection(conn);
        return conn;
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
    }
    void cleanup() { m_db.reset(); }

    void sessionQuotingSurvivesTheServersMode()
    {
        // A connection made under a hostile global mode must undo it.
        db::Database *conn = connectUnderGlobalMode(QStringLiteral("NO_BACKSLASH_ESCAPES,ANSI_QUOTES"), true);
        QVERIFY(conn);

        const QString mode = scalarOn(*conn, QStringLiteral("SELECT @@SESSION.sql_mode"));
        QVERIFY2(!mode.contains(QStringLiteral("NO_BACKSLASH_ESCAPES")), qPrintable(mode));
        QVERIFY2(!mode.contains(QStringLiteral("ANSI_QUOTES")), qPrintable(mode));
        QVERIFY2(mode.contains(QStringLiteral("STRICT_ALL_TABLES")), qPrintable(mode));

        ScriptedPrompt p;
        QCOMPARE(users::TryLogin(m_ctx, QStringLiteral("nobody\" OR user_id=0 OR \""), QStringLiteral("x")),
                 users::LoginResult::Refused);
        QVERIFY(!m_ctx.CurrentUserId);
        const QString text = QStringLiteral("a \"quoted\" \\ value 'x'");
        QCOMPARE(db::ExecQuery(QStringLiteral("UPDATE users SET user_fio=") + db::Sql(text) + QStringLiteral(" WHERE user_id=0")),
                 0);
        QCOMPARE(db::FirstRow(QStringLiteral("SELECT user_fio FROM users WHERE user_id=0"))->value(0), text);
    }

    void passwordsCompareByteForByte_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("exact") << QStringLiteral("admin") << true;
        QTest::newRow("other case") << QStringLiteral("ADMIN") << false;
        QTest::newRow("trailing blanks") << QStringLiteral("admin   ") << false;
    }
    void passwordsCompareByteForByte()
    {
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        ScriptedPrompt p;
        QCOMPARE(users::TryLogin(m_ctx, QStringLiteral("admin"), password) == users::LoginResult::Accepted, accepted);
    }

    void emojiPasswordsAndNamesStayApart()
    {
        QVERIFY(
            m_db->exec(QStringLiteral("INSERT INTO users SET user_id=5, user_login='e', user_password='😀', user_active='1'")));
        ScriptedPrompt p;
        QCOMPARE(users::TryLogin(m_ctx, QStringLiteral("e"), QStringLiteral("🔥")), users::LoginResult::Refused);
        QCOMPARE(users::TryLogin(m_ctx, QStringLiteral("e"), QStringLiteral("😀")), users::LoginResult::Accepted);
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO projects SET project_name='Проект 😀'")));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM projects WHERE project_name='Проект 🔥'")),
                 QStringLiteral("0"));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM projects WHERE project_name='проект 😀'")),
                 QStringLiteral("1"));
    }

    void sessionIsStrictOnAServerWithoutStrictMode()
    {
        db::Database *conn = connectUnderGlobalMode(QString(), false);
        QVERIFY(conn);
        // A value longer than its column is refused, never cut.
        ScriptedPrompt p;
        QVERIFY(db::ExecQuery(QStringLiteral("UPDATE users SET user_login=") + db::Sql(QString(300, QLatin1Char('a')))
                              + QStringLiteral(" WHERE user_id=0"))
                != 0);
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(scalarOn(*conn, QStringLiteral("SELECT user_login FROM users WHERE user_id=0")), QStringLiteral("admin"));
    }

    void killedConnectionIsOpenedAgain()
    {
        db::Database &conn = db::DbConnection();
        const QString id = scalarOn(conn, QStringLiteral("SELECT CONNECTION_ID()"));
        auto killer = otherConnection();
        QVERIFY(killer);
        QCOMPARE(killer->query(QStringLiteral("KILL CONNECTION ") + id), 0);
        // The server has dropped the session before the user acts again.
        QTRY_COMPARE(scalarOn(*killer, QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist WHERE id=") + id),
                     QStringLiteral("0"));
        ScriptedPrompt p;
        // The first statement after the kill goes through, on a new connection.
        QCOMPARE(db::ExecQuery(QStringLiteral("UPDATE users SET user_fio='after kill' WHERE user_id=0")), 0);
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join(QLatin1Char('\n'))));
        QCOMPARE(db::FirstRow(QStringLiteral("SELECT user_fio FROM users WHERE user_id=0"))->value(0),
                 QStringLiteral("after kill"));
        QVERIFY(scalarOn(conn, QStringLiteral("SELECT CONNECTION_ID()")) != id);
        // The new session has the program's quoting rules and database too.
        QCOMPARE(scalarOn(conn, QStringLiteral("SELECT DATABASE()")), m_db->name());
        const QString mode = scalarOn(conn, QStringLiteral("SELECT @@SESSION.sql_mode"));
        QVERIFY2(mode.contains(QStringLiteral("STRICT_ALL_TABLES")), qPrintable(mode));
    }

    void stoppedServerIsReportedWithoutHanging()
    {
        // A server of the test's own, stopped under the program's feet.
        QTemporaryDir dir;
        const QString script = test::sourcePath(QStringLiteral("tests/fixture/mariadb.sh"));
        const QString where = dir.path() + QStringLiteral("/fx");
        QCOMPARE(QProcess::execute(script, {QStringLiteral("start"), where}), 0);
        QFile portFile(where + QStringLiteral("/port"));
        QVERIFY(portFile.open(QIODevice::ReadOnly));
        const int port = QString::fromLatin1(portFile.readAll()).trimmed().toInt();
        auto *conn = new db::Database;
        QVERIFY(conn->create());
        conn->setConnectTimeout(5);
        QVERIFY(conn->connect(TestDb::host(), TestDb::user(), TestDb::password(), static_cast<unsigned>(port)));
        db::setDbConnection(conn);
        QCOMPARE(conn->query(QStringLiteral("SELECT 1")), 0);
        {
            db::QueryResult drained(*conn);
        }
        QCOMPARE(QProcess::execute(script, {QStringLiteral("stop"), where}), 0);

        ScriptedPrompt p;
        QElapsedTimer t;
        t.start();
        QVERIFY(db::ExecQuery(QStringLiteral("SELECT 1")) != 0);
        QVERIFY(t.elapsed() < 15000);
        QCOMPARE(p.messages.size(), 1);
        // The message names the statement and that the server cannot be reached.
        QVERIFY2(p.messages[0].contains(QStringLiteral("SELECT 1")), qPrintable(p.messages[0]));
        QVERIFY2(p.messages[0].contains(QStringLiteral("connect"), Qt::CaseInsensitive)
                     || p.messages[0].contains(QStringLiteral("server"), Qt::CaseInsensitive),
                 qPrintable(p.messages[0]));
        db::setDbConnection(nullptr);
    }

    void brokenReadIsAFailure()
    {
        // A read cut off by a killed connection is not a complete list.
        QVERIFY(m_db->exec(QStringLiteral("CREATE TABLE big (v TEXT)")));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO big SELECT REPEAT('x', 1000) FROM seq_1_to_20000")));
        db::Database &conn = db::DbConnection();
        const QString id = scalarOn(conn, QStringLiteral("SELECT CONNECTION_ID()"));
        auto killer = otherConnection();
        QVERIFY(killer);
        ScriptedPrompt p;
        int rows = 0;
        const bool ok = db::ForEachRow(QStringLiteral("SELECT v FROM big"), [&](const db::Row &) {
            if (++rows == 10)
                killer->query(QStringLiteral("KILL CONNECTION ") + id);
        });
        QVERIFY(rows < 20000);
        QVERIFY(!ok);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT v FROM big")));
    }

    void longStatementsAreCutInMessages()
    {
        ScriptedPrompt p;
        const QString sql =
            QStringLiteral("SELECT * FROM no_such_table WHERE x='") + QString(70000, QLatin1Char('a')) + QStringLiteral("'");
        QVERIFY(db::ExecQuery(sql) != 0);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].size() < 2300);
        QVERIFY(p.messages[0].contains(QChar(0x2026)));
        QVERIFY(p.messages[0].contains(QStringLiteral("no_such_table")));
    }
};

QTEST_MAIN(TestDbFaults)
#include "tst_dbfaults.moc"
