// The auto-check at scale: 1,000 resources checked against an in-process
// HTTP server that answers at once with a 30 KB page (half windows-1251 with
// the no-results phrase, half UTF-8 without), the pause after every hundred
// set to 0 and one request in flight at a time. Prints the longest stall of
// the event loop during the run, then, last, "auto-check/raw ratio: X": the
// run's time over that of the same 2,000 GETs and 1,000 writes done bare.
//
// Without --host it starts a private MariaDB server in a temporary folder the
// way the test fixture does (tests/fixture/mariadb.sh) and stops it at the end.
#include "benchsupport.h"
#include "core/appcontext.h"
#include "core/http.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"
#include "support/httpserver.h"
#include "workbench/search_logic.h"
#include "workbench/tfrmautocheck.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
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

// A result page of about 30 KB; every other one says nothing was found, in
// windows-1251 without a declared charset.
test::HttpScript resultPage(bool nothing, const QString &phrase)
{
    test::HttpScript s;
    QString text = QStringLiteral("<html><head><title>Результаты поиска</title></head><body>");
    while (text.size() < 15000)
        text += QStringLiteral("<p>Строка результатов поиска, ещё одна строка результатов.</p>");
    text += (nothing ? phrase : QStringLiteral("<p>Найдено 10 страниц</p>")) + QStringLiteral("</body></html>");
    if (nothing) {
        QStringEncoder cp1251("windows-1251");
        s.body = cp1251.encode(text);
    } else {
        s.body = text.toUtf8();
        s.addHeader("Content-Type", "text/html; charset=utf-8");
    }
    if (s.body.size() < 30000)
        s.body += QByteArray(30000 - s.body.size(), ' ');
    return s;
}

void queueAnswers(test::HttpServer &http, int n)
{
    const test::HttpScript yFound = resultPage(false, QString());
    const test::HttpScript yNothing = resultPage(true, QStringLiteral("Искомая комбинация слов нигде не встречается"));
    const test::HttpScript gFound = resultPage(false, QString());
    const test::HttpScript gNothing =
        resultPage(true, QStringLiteral("Не найдено ни одного документа, соответствующего запросу"));
    for (int i = 0; i < n; ++i) {
        http.queueReply("/yandsearch", i % 2 ? yNothing : yFound);
        http.queueReply("/search", i % 2 ? gNothing : gFound);
    }
}

} // namespace

int main(int argc, char **argv)
{
    bench::prepareDisplay();
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Auto-check benchmark"));
    cli.addHelpOption();
    QCommandLineOption countOpt(QStringLiteral("resources"), QStringLiteral("Resources."), QStringLiteral("N"),
                                QStringLiteral("1000"));
    QCommandLineOption hostOpt(QStringLiteral("host"), QStringLiteral("Server host (default: a private server)."),
                               QStringLiteral("host"));
    QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("Server port."), QStringLiteral("port"),
                               QStringLiteral("3306"));
    QCommandLineOption userOpt(QStringLiteral("user"), QStringLiteral("User."), QStringLiteral("user"), QStringLiteral("qvtest"));
    QCommandLineOption passOpt(QStringLiteral("password"), QStringLiteral("Password."), QStringLiteral("password"),
                               QStringLiteral("qvtest"));
    cli.addOptions({countOpt, hostOpt, portOpt, userOpt, passOpt});
    cli.process(app);
    const int n = qMax(1, cli.value(countOpt).toInt());

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
    const QString name = QStringLiteral("qv_bench_ac_%1").arg(QCoreApplication::applicationPid());
    auto drop = [&] { run(QStringLiteral("DROP DATABASE IF EXISTS ") + name); };
    if (!run(QStringLiteral("CREATE DATABASE ") + name + QStringLiteral(" CHARACTER SET utf8mb4")) || !conn->selectDatabase(name)
        || !bench::createSchema()) {
        drop();
        return 1;
    }
    QStringList links;
    {
        QString rows = QStringLiteral("INSERT INTO catalogs (catalog_id, catalog_name) VALUES ");
        for (int id = 1; id <= n; ++id) {
            rows += (id > 1 ? QStringLiteral(",") : QString()) + QStringLiteral("(%1,'r%1.example')").arg(id);
            links << QStringLiteral("r%1.example=%1").arg(id);
        }
        if (!run(rows)) {
            drop();
            return 1;
        }
    }

    test::HttpServer http;
    if (!http.listen())
        return 1;
    test::HttpScript empty;
    http.setDefaultReply(empty);
    QTemporaryDir dir;
    core::AppContext ctx;
    ctx.AppDir = dir.path() + QLatin1Char('/');
    {
        QFile ini(ctx.configPath());
        if (ini.open(QIODevice::WriteOnly))
            ini.write(("[Hosts]\nmaker=" + http.baseUrl() + "\nyandex=" + http.baseUrl() + "\ngoogle=" + http.baseUrl() + "\n")
                          .toUtf8());
    }
    ctx.ConfigIni.open(ctx.configPath());

    // The run through the window, with a tick every 5 ms to see the event
    // loop's longest stall.
    workbench::TfrmAutocheck check(ctx);
    check.setPauseMs(0);
    check.ProjectId = 1;
    check.Kind = core::Kind::Catalogs;
    check.Links = links;
    check.lbURL->setText(QStringLiteral("site.example"));
    queueAnswers(http, n);
    QElapsedTimer tick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] { longest = qMax(longest, tick.restart()); });
    QElapsedTimer t;
    t.start();
    tick.start();
    ticker.start();
    check.btnAutoCheckStartClick();
    ticker.stop();
    const double runMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const QString written = bench::scalar(QStringLiteral("SELECT COUNT(*) FROM gcreglog"));
    out(QStringLiteral("auto-check of %1 resources: %2 ms (%3 rows)").arg(n).arg(runMs, 0, 'f', 0).arg(written));
    out(QStringLiteral("longest event-loop stall: %1 ms").arg(qMax<qint64>(0, longest - 5)));

    // The same requests and writes, bare and in sequence.
    run(QStringLiteral("DELETE FROM gcreglog"));
    queueAnswers(http, n);
    core::HttpClient client;
    const QString stamp = QStringLiteral("2026-01-01 00:00:00");
    t.restart();
    for (int i = 1; i <= n; ++i) {
        const QString resource = QStringLiteral("r%1.example").arg(i);
        const auto y = client.get(
            ctx.searchUrl(QStringLiteral("yandex"), workbench::YandexSearchPath(QStringLiteral("site.example"), resource)));
        const auto g = client.get(
            ctx.searchUrl(QStringLiteral("google"), workbench::GoogleSearchPath(QStringLiteral("site.example"), resource)));
        const bool found = !workbench::YandexFoundNothing(core::DecodeHtmlPage(y.body, y.contentType));
        const bool gFound = !workbench::GoogleFoundNothing(core::DecodeHtmlPage(g.body, g.contentType));
        run(QStringLiteral("INSERT INTO gcreglog SET gcrl_catalog_id=%1, gcrl_project_id=1, gcrl_yandex=%2, gcrl_google=%3, "
                           "gcrl_status='%4', gcrl_DateTime='%5'")
                .arg(i)
                .arg(found ? 1 : 0)
                .arg(gFound ? 1 : 0)
                .arg(found || gFound ? 1 : 0)
                .arg(stamp));
    }
    const double rawMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    out(QStringLiteral("bare requests and writes: %1 ms").arg(rawMs, 0, 'f', 0));
    drop();
    conn->close();
    server.stop();
    out(QStringLiteral("auto-check/raw ratio: %1").arg(runMs / qMax(rawMs, 1.0), 0, 'f', 2));
    return 0;
}
