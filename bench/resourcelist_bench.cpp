// The resource list at scale: creates a database with N resources (default
// 100,000) in one rubric, statuses and check results for half of them, then
// measures the list fill through the program's own code, the sorts by TIC and
// by name, and, for comparison, the same SELECT statements streamed through
// the client library alone.
//
// Without --host it starts a private MariaDB server in a temporary folder the
// way the test fixture does (tests/fixture/mariadb.sh) and stops it at the end.
#include "benchsupport.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/mysqlapi.h"
#include "db/query.h"
#include "workbench/resourcelist_fill.h"
#include "workbench/resourcelist_model.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace qv;
using bench::out;
using bench::run;
using bench::Server;

namespace {

// Messages go to the error output; nothing waits on a dialog.
class StderrPrompt : public core::InteractivePrompt {
public:
    void message(const QString &text, core::MessageIcon) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool question(const QString &) override { return false; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    bool openUrl(const QUrl &) override { return false; }
    int exec(QDialog *) override { return 0; }
};

bool createData(int n, int rubric, int project)
{
    if (!bench::createSchema())
        return false;
    const int batch = 1000;
    const char *pr[] = {"0", "1", "2", "3", "4", "5", "-", "?", "6", "7"};
    for (int from = 1; from <= n; from += batch) {
        QString resources =
            QStringLiteral("INSERT INTO catalogs (catalog_id, catalog_name, catalog_title, catalog_description, catalog_url, "
                           "catalog_aurl, catalog_purl, catalog_pr, catalog_tic, catalog_moderate, catalog_need_burl, "
                           "catalog_redirect, catalog_datetime_add, catalog_datetime_edit) VALUES ");
        QString links = QStringLiteral("INSERT INTO csubjects2catalogs (s2c_catalog_id, s2c_subject_id) VALUES ");
        QString statuses =
            QStringLiteral("INSERT INTO creglog (crl_catalog_id, crl_project_id, crl_user_id, crl_datetime, crl_status) VALUES ");
        QString checks = QStringLiteral("INSERT INTO gcreglog (gcrl_catalog_id, gcrl_project_id, gcrl_yandex, "
                                        "gcrl_google, gcrl_status, gcrl_DateTime) VALUES ");
        bool anyHalf = false;
        for (int id = from; id < from + batch && id <= n; ++id) {
            const QString sep = id == from ? QString() : QStringLiteral(",");
            // Names are scrambled so that the name sort has work to do.
            const unsigned h = static_cast<unsigned>(id) * 2654435761u;
            const QString name = QStringLiteral("site%1-%2.example").arg(h % 100000).arg(id);
            resources += sep
                         + QStringLiteral("(%1,'%2','Каталог сайтов номер %1 — ресурс для регистрации','Описание "
                                          "каталога %1 с модерацией','http://%2','http://%2/add.php','http://%2/p',"
                                          "'%3','%4','%5','%6','%7','2024-01-%8 10:00:00','2024-02-%8 11:00:00')")
                               .arg(id)
                               .arg(name)
                               .arg(QLatin1String(pr[h % 10]))
                               .arg(h % 7 == 0 ? QStringLiteral("?") : QString::number((h >> 8) % 5000))
                               .arg(id % 5 ? 1 : 0)
                               .arg(id % 3 ? 0 : 1)
                               .arg(id % 4 ? 0 : 1)
                               .arg(id % 28 + 1, 2, 10, QLatin1Char('0'));
            links += sep + QStringLiteral("(%1,%2)").arg(id).arg(rubric);
            if (id % 2 == 0) {
                const QString s2 = anyHalf ? QStringLiteral(",") : QString();
                anyHalf = true;
                statuses += s2 + QStringLiteral("(%1,%2,0,'2024-03-04 05:06:07','%3')").arg(id).arg(project).arg(id % 8 / 2);
                checks += s2
                          + QStringLiteral("(%1,%2,'%3','%4','1','2024-03-05 06:07:08')")
                                .arg(id)
                                .arg(project)
                                .arg(id % 3 ? 1 : 0)
                                .arg(id % 5 ? 0 : 1);
            }
        }
        if (!run(resources) || !run(links))
            return false;
        if (anyHalf && (!run(statuses) || !run(checks)))
            return false;
    }
    return true;
}

// The statements of the fill, streamed through the client library alone.
qint64 streamRaw(const QStringList &statements, qint64 *rowsSeen)
{
    const auto &api = db::MySqlApi::get();
    MYSQL *h = db::DbConnection().handle();
    QElapsedTimer t;
    t.start();
    qint64 rows = 0;
    for (const QString &sql : statements) {
        const QByteArray b = sql.toUtf8();
        if (api.real_query(h, b.constData(), static_cast<unsigned long>(b.size())) != 0)
            return -1;
        MYSQL_RES *res = api.use_result(h);
        while (api.fetch_row(res))
            ++rows;
        api.free_result(res);
    }
    *rowsSeen = rows;
    return t.nsecsElapsed();
}

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

double median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return ms(v[v.size() / 2]);
}

} // namespace

int main(int argc, char **argv)
{
    bench::prepareDisplay();
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Resource list fill and sort benchmark"));
    cli.addHelpOption();
    QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Resources in the rubric."), QStringLiteral("N"),
                               QStringLiteral("100000"));
    QCommandLineOption hostOpt(QStringLiteral("host"), QStringLiteral("Server host (default: a private server)."),
                               QStringLiteral("host"));
    QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("Server port."), QStringLiteral("port"),
                               QStringLiteral("3306"));
    QCommandLineOption userOpt(QStringLiteral("user"), QStringLiteral("User."), QStringLiteral("user"), QStringLiteral("qvtest"));
    QCommandLineOption passOpt(QStringLiteral("password"), QStringLiteral("Password."), QStringLiteral("password"),
                               QStringLiteral("qvtest"));
    QCommandLineOption repeatOpt(QStringLiteral("repeat"), QStringLiteral("Runs of each measurement."), QStringLiteral("K"),
                                 QStringLiteral("5"));
    cli.addOptions({rowsOpt, hostOpt, portOpt, userOpt, passOpt, repeatOpt});
    cli.process(app);
    const int n = qMax(1, cli.value(rowsOpt).toInt());
    const int repeat = qMax(1, cli.value(repeatOpt).toInt());

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
    const QString dbName = QStringLiteral("qv_bench_%1").arg(QCoreApplication::applicationPid());
    const int rubric = 11, project = 1;
    QElapsedTimer t;
    t.start();
    if (!run(QStringLiteral("CREATE DATABASE ") + dbName + QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"))
        || !conn->selectDatabase(dbName))
        return 1;
    const bool created = createData(n, rubric, project);
    out(QStringLiteral("database with %1 resources created in %2 s").arg(n).arg(t.elapsed() / 1000.0, 0, 'f', 1));
    if (!created) {
        run(QStringLiteral("DROP DATABASE ") + dbName);
        return 1;
    }
    if (run(QStringLiteral("ANALYZE TABLE catalogs, csubjects2catalogs, creglog, gcreglog")))
        db::QueryResult(db::DbConnection()).free(); // its report is not needed

    workbench::FillParams params;
    params.kind = *workbench::kindFacts(core::Kind::Catalogs);
    params.projectId = project;
    const workbench::ListSource source{workbench::ListSource::Rubric, rubric, {}};
    const QStringList statements = {workbench::StatusLogSql(params.kind, project, 0),
                                    workbench::CheckLogSql(params.kind, project), workbench::RubricListSql(params.kind, rubric)};

    workbench::ResourceListModel model;
    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.resize(1000, 600);
    view.show();

    std::vector<qint64> raw, fill, sortTic, sortName, sortNameAgain;
    qint64 rawRows = 0;
    int listed = 0;
    for (int i = 0; i < repeat; ++i) {
        raw.push_back(streamRaw(statements, &rawRows));
        if (raw.back() < 0) {
            std::fprintf(stderr, "raw streaming failed: %s\n", qPrintable(conn->errorText()));
            return 1;
        }
        t.restart();
        std::vector<workbench::ResourceRow> rows;
        if (workbench::FillResourceRows(params, source, rows) != workbench::FillOutcome::Filled)
            return 1;
        model.setRows(std::move(rows));
        fill.push_back(t.nsecsElapsed());
        listed = model.rowCount();

        t.restart();
        model.sortColumn(6);
        sortTic.push_back(t.nsecsElapsed());
        t.restart();
        model.sortColumn(2);
        sortName.push_back(t.nsecsElapsed());
        t.restart();
        model.sortColumn(2);
        sortNameAgain.push_back(t.nsecsElapsed());
    }
    run(QStringLiteral("DROP DATABASE ") + dbName);

    const double rawMs = median(raw), fillMs = median(fill);
    out(QStringLiteral("rows listed: %1 (rows streamed raw: %2 over 3 statements), median of %3 runs")
            .arg(listed)
            .arg(rawRows)
            .arg(repeat));
    out(QStringLiteral("raw streaming of the fill's statements: %1 ms").arg(rawMs, 0, 'f', 1));
    out(QStringLiteral("list fill (program code):               %1 ms").arg(fillMs, 0, 'f', 1));
    out(QStringLiteral("sort by TIC:                            %1 ms").arg(median(sortTic), 0, 'f', 1));
    out(QStringLiteral("sort by name (keys computed):           %1 ms").arg(median(sortName), 0, 'f', 1));
    out(QStringLiteral("sort by name again (keys cached):       %1 ms").arg(median(sortNameAgain), 0, 'f', 1));
    out(QStringLiteral("fill/raw ratio: %1").arg(fillMs / rawMs, 0, 'f', 2));
    return 0;
}
