// The local database server of small-server mode, with a real server.
#include "core/appcontext.h"
#include "app/tfrmmain.h"
#include "app/tfrmstart.h"
#include "db/database.h"
#include "db/query.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>

using namespace qv;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
int freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}
} // namespace

class TestServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nothingHappensWithoutSmallServerMode()
    {
        QTemporaryDir dir;
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        ctx.readConfig();
        ScriptedPrompt p;
        app::TfrmStart start(ctx);
        QVERIFY(!start.run());
        QVERIFY(start.progress().isEmpty());
        QVERIFY(p.started.isEmpty());
        QVERIFY(p.messages.isEmpty());
    }

    void answeringServerIsLeftAlone()
    {
        QTemporaryDir dir;
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        ctx.Db.serverSmall = true;
        ctx.Db.host = TestDb::host();
        ctx.Db.user = TestDb::user();
        ctx.Db.password = TestDb::password();
        ctx.Db.port = TestDb::fixturePort();
        QVERIFY(ctx.Db.port > 0);
        ScriptedPrompt p;
        app::TfrmStart start(ctx);
        QVERIFY(!start.run());
        QVERIFY(p.started.isEmpty());
        QCOMPARE(start.progress(), (QStringList{QStringLiteral("Проверка работоспособности MySQL сервера..."),
                                                QStringLiteral("Server Small Mode...")}));
    }

    void refusedLoginMeansAServerRuns()
    {
        QTemporaryDir dir;
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        ctx.Db.serverSmall = true;
        ctx.Db.host = TestDb::host();
        ctx.Db.user = TestDb::user();
        ctx.Db.password = QStringLiteral("wrong password");
        ctx.Db.port = TestDb::fixturePort();
        ScriptedPrompt p;
        app::TfrmStart start(ctx);
        // A second server on the same port would only fail: none is launched.
        QVERIFY(!start.run());
        QVERIFY(p.started.isEmpty());
        QVERIFY(p.messages.isEmpty());
    }

    void missingDataFolderIsReported()
    {
        QTemporaryDir dir;
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        ctx.Db.serverSmall = true;
        ctx.Db.host = QStringLiteral("127.0.0.1");
        ctx.Db.port = freePort();
        ScriptedPrompt p;
        app::TfrmStart start(ctx);
        QVERIFY(!start.run());
        QVERIFY(p.started.isEmpty());
        QCOMPARE(p.messages,
                 QStringList{QStringLiteral("Нет папки данных сервера MySQL: ") + ctx.AppDir + QStringLiteral("mysql/data")});
        QCOMPARE(start.progress().first(), QStringLiteral("Запуск mysql сервера (Server Small Mode)"));
        QCOMPARE(start.progress()[1], QStringLiteral("mySQL cервер не запущен!"));
    }

    void longFolderNamesGetAShortSocket()
    {
        const QString shortDir = QStringLiteral("/opt/q/");
        QCOMPARE(app::LocalServerSocket(shortDir), QStringLiteral("/opt/q/mysql/mysqld.sock"));
        const QString longDir = QStringLiteral("/") + QString(120, QLatin1Char('x')) + QStringLiteral("/");
        const QString s = app::LocalServerSocket(longDir);
        QVERIFY(s.startsWith(QStringLiteral("/tmp/quorvantile-")));
        QCOMPARE(s.size(), QStringLiteral("/tmp/quorvantile-").size() + 12 + 5);
        // The run script names the same socket for the same folder.
        QProcess sh;
        sh.start(QStringLiteral("bash"), {QStringLiteral("-c"), QStringLiteral("source \"$0\"; qv_socket_path \"$1\""),
                                          test::sourcePath(QStringLiteral("scripts/common.sh")), longDir.chopped(1)});
        QVERIFY(sh.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(sh.readAllStandardOutput()).trimmed(), s);
    }

    void startsItsOwnServerAndConnectsThroughTheRetry()
    {
        QTemporaryDir dir;
        const QString appDir = dir.path() + QLatin1Char('/');
        QDir(appDir).mkpath(QStringLiteral("mysql"));
        QProcess install;
        QStringList args{QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + appDir + QStringLiteral("mysql/data"),
                         QStringLiteral("--auth-root-authentication-method=normal"), QStringLiteral("--skip-test-db")};
        if (::geteuid() == 0)
            args << QStringLiteral("--user=root");
        install.start(QStringLiteral("mariadb-install-db"), args);
        QVERIFY(install.waitForFinished(60000));
        QCOMPARE(install.exitCode(), 0);

        core::AppContext ctx;
        ctx.AppDir = appDir;
        ctx.Db.serverSmall = true;
        ctx.Db.host = QStringLiteral("127.0.0.1");
        ctx.Db.user = QStringLiteral("root");
        ctx.Db.port = freePort();
        ScriptedPrompt p;
        p.realPrograms = true;
        {
            app::TfrmStart start(ctx);
            QVERIFY(start.run());
            // The start waited for the server it launched.
            QCOMPARE(start.progress().first(), QStringLiteral("Сервер MySQL запущен."));
        }
        QCOMPARE(p.started.size(), 1);
        QVERIFY(p.started[0].arguments.contains(QStringLiteral("--port=") + QString::number(ctx.Db.port)));
        QVERIFY(p.started[0].arguments.contains(QStringLiteral("--bind-address=127.0.0.1")));

        app::TfrmMain w(ctx);
        const bool connected = w.connectDatabase();
        const QString pidFile = appDir + QStringLiteral("mysql/mysqld.pid");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pidFile), 10000);
        QFile pf(pidFile);
        QVERIFY(pf.open(QIODevice::ReadOnly));
        const qint64 pid = QString::fromLatin1(pf.readAll()).trimmed().toLongLong();
        QVERIFY(connected);
        // No "cannot connect" question on a first start.
        QVERIFY(p.questions.isEmpty());
        QCOMPARE(db::DbConnection().query(QStringLiteral("SELECT 1")), 0);
        {
            db::QueryResult drained(db::DbConnection());
        }

        // A second start finds the server running and launches nothing.
        {
            app::TfrmStart again(ctx);
            QVERIFY(!again.run());
        }
        QCOMPARE(p.started.size(), 1);

        db::setDbConnection(nullptr);
        ::kill(static_cast<pid_t>(pid), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(pidFile), 30000);
    }
};

QTEST_MAIN(TestServer)
#include "tst_server.moc"
