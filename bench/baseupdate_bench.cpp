// The base update at scale: 10,000 catalog lines (half of them resources that
// exist, half new; Cyrillic, quotes and backslashes in the values, three rubric
// pieces each) downloaded from an in-process HTTP server and stored through the
// update window, against the same writes sent as prepared statements in one
// transaction. Prints "base update/raw ratio: X" last.
//
// Without --host it starts a private MariaDB server in a temporary folder the
// way the test fixture does (tests/fixture/mariadb.sh) and stops it at the end.
#include "benchsupport.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"
#include "support/httpserver.h"
#include "workbench/tfrmfrombaza.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdio>

using namespace qv;
using bench::out;
using bench::run;
using bench::Server;

namespace {

class StderrPrompt : public core::InteractivePrompt {
public:
    void message(const QString &text, core::MessageIcon) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool question(const QString &) override { return false; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    bool openUrl(const QUrl &) override { return false; }
    int exec(QDialog *) override { return 0; }
};

bool createDatabase(const QString &name, int existing)
{
    if (!run(QStringLiteral("CREATE DATABASE ") + name + QStringLiteral(" CHARACTER SET utf8mb4"))
        || !db::DbConnection().selectDatabase(name))
        return false;
    if (!bench::createSchema())
        return false;
    for (int from = 1; from <= existing; from += 1000) {
        QString rows = QStringLiteral("INSERT INTO catalogs (catalog_id, catalog_name, catalog_title) VALUES ");
        QString links = QStringLiteral("INSERT INTO csubjects2catalogs VALUES ");
        for (int id = from; id < from + 1000 && id <= existing; ++id) {
            const QString sep = id == from ? QString() : QStringLiteral(",");
            rows += sep + QStringLiteral("(%1,'old%1.example','Старый')").arg(id);
            links += sep + QStringLiteral("(%1,1)").arg(id);
        }
        if (!run(rows) || !run(links))
            return false;
    }
    return true;
}

QString title(int i) { return QStringLiteral("Каталог «%1» — it's \"quoted\", path C:\\dir\\%1, запятые, да").arg(i); }

// The reply line as the service writes it (the last quote missing).
QString line(int i, const QString &name)
{
    QString t = title(i);
    t.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QStringLiteral("%1,catalog_name='%2',catalog_title='%3',catalog_url='http://%2/',"
                          "catalog_subjects='3: 7: %4 ")
        .arg(100000 + i)
        .arg(name, t)
        .arg(10 + i % 5);
}

} // namespace

int main(int argc, char **argv)
{
    bench::prepareDisplay();
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Base update benchmark"));
    cli.addHelpOption();
    QCommandLineOption linesOpt(QStringLiteral("lines"), QStringLiteral("Catalog lines."), QStringLiteral("N"),
                                QStringLiteral("10000"));
    QCommandLineOption hostOpt(QStringLiteral("host"), QStringLiteral("Server host (default: a private server)."),
                               QStringLiteral("host"));
    QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("Server port."), QStringLiteral("port"),
                               QStringLiteral("3306"));
    QCommandLineOption userOpt(QStringLiteral("user"), QStringLiteral("User."), QStringLiteral("user"), QStringLiteral("qvtest"));
    QCommandLineOption passOpt(QStringLiteral("password"), QStringLiteral("Password."), QStringLiteral("password"),
                               QStringLiteral("qvtest"));
    cli.addOptions({linesOpt, hostOpt, portOpt, userOpt, passOpt});
    cli.process(app);
    const int n = qMax(2, cli.value(linesOpt).toInt());
    const int half = n / 2;

    StderrPrompt prompt;
    core::setPrompt(&prompt);
    Server server;
    QString host = cli.value(hostOpt);
    int port = cli.value(portOpt).toInt();
    if (host.isEmpty()) {
        if (!server.start()) {
            std::fprintf(stderr, "could not start a private server\n");
            return 1;
        }
        host = QStringLiteral("127.0.0.1");
        port = server.port;
    }
    auto *conn = new db::Database;
    db::setDbConnection(conn);
    if (!conn->create() || !conn->connect(host, cli.value(userOpt), cli.value(passOpt), static_cast<unsigned>(port))) {
        std::fprintf(stderr, "cannot connect to %s:%d: %s\n", qPrintable(host), port, qPrintable(conn->errorText()));
        return 1;
    }
    const QString dbUpdate = QStringLiteral("qv_bench_bu_%1").arg(QCoreApplication::applicationPid());
    const QString dbRaw = dbUpdate + QStringLiteral("_raw");
    auto dropAll = [&] {
        run(QStringLiteral("DROP DATABASE IF EXISTS ") + dbUpdate);
        run(QStringLiteral("DROP DATABASE IF EXISTS ") + dbRaw);
    };
    if (!createDatabase(dbRaw, half) || !createDatabase(dbUpdate, half)) {
        dropAll();
        return 1;
    }

    // The reply: first the new half, then the existing half, interleaved.
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << line(i, i % 2 ? QStringLiteral("old%1.example").arg((i + 1) / 2) : QStringLiteral("new%1.example").arg(i));
    QStringEncoder enc("windows-1251");
    const QByteArray body = enc.encode(lines.join(QStringLiteral("\r\n")));

    test::HttpServer http;
    if (!http.listen())
        return 1;
    test::HttpScript catalogs;
    catalogs.body = body;
    catalogs.addHeader("Content-Type", "text/plain; charset=windows-1251");
    http.setReply("/out_catalog.php", catalogs);
    test::HttpScript empty;
    empty.addHeader("Content-Type", "text/plain; charset=windows-1251");
    http.setDefaultReply(empty);

    QTemporaryDir dir;
    core::AppContext ctx;
    ctx.AppDir = dir.path() + QLatin1Char('/');
    {
        QFile ini(ctx.configPath());
        if (ini.open(QIODevice::WriteOnly))
            ini.write(("[Hosts]\nmaker=" + http.baseUrl() + "\n").toUtf8());
    }
    ctx.ConfigIni.open(ctx.configPath());

    QElapsedTimer t;
    workbench::TfrmFromBaza window(ctx);
    t.start();
    window.btnUpdateDownloadClick();
    const double updateMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const QString count = db::FirstRow(QStringLiteral("SELECT COUNT(*) FROM catalogs")).value_or(db::Row()).value(0);
    const QString links = db::FirstRow(QStringLiteral("SELECT COUNT(*) FROM csubjects2catalogs")).value_or(db::Row()).value(0);
    out(QStringLiteral("base update of %1 lines: %2 ms (%3 catalogs, %4 links)")
            .arg(n)
            .arg(updateMs, 0, 'f', 0)
            .arg(count, links));

    // The same writes, prepared in advance and sent in one transaction.
    if (!conn->selectDatabase(dbRaw)) {
        dropAll();
        return 1;
    }
    QStringList statements;
    statements << QStringLiteral("START TRANSACTION");
    int nextId = half + 1;
    for (int i = 1; i <= n; ++i) {
        const bool existing = i % 2;
        const int id = existing ? (i + 1) / 2 : nextId++;
        const QString name = existing ? QStringLiteral("old%1.example").arg(id) : QStringLiteral("new%1.example").arg(i);
        const QString set = QStringLiteral("catalog_name=") + db::Sql(name) + QStringLiteral(",catalog_title=")
                            + db::Sql(title(i)) + QStringLiteral(",catalog_url=") + db::Sql("http://" + name + "/")
                            + QStringLiteral(",catalog_subjects=") + db::Sql(QStringLiteral("3: 7: %1 ").arg(10 + i % 5));
        if (existing)
            statements << QStringLiteral("UPDATE catalogs SET ") + set + QStringLiteral(" WHERE catalog_id=") + db::SqlInt(id);
        else
            statements << QStringLiteral("INSERT INTO catalogs SET catalog_id=") + db::SqlInt(id) + QLatin1Char(',') + set;
        statements << QStringLiteral("DELETE FROM csubjects2catalogs WHERE s2c_catalog_id=") + db::SqlInt(id);
        statements << QStringLiteral(
                          "INSERT INTO csubjects2catalogs (s2c_catalog_id,s2c_subject_id) VALUES (%1,3),(%1,7),(%1,%2)")
                          .arg(id)
                          .arg(10 + i % 5);
    }
    statements << QStringLiteral("COMMIT");
    t.restart();
    for (const QString &s : statements)
        if (!run(s)) {
            dropAll();
            return 1;
        }
    const double rawMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    out(QStringLiteral("raw batch of the same writes: %1 ms").arg(rawMs, 0, 'f', 0));
    dropAll();
    conn->close();
    server.stop();
    out(QStringLiteral("base update/raw ratio: %1").arg(updateMs / qMax(rawMs, 1.0), 0, 'f', 2));
    return 0;
}
