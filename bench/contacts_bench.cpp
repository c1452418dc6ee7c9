// The contact list at scale: 100,000 contacts in one section, mailing log rows
// of the active letter for half of them. Times the list fill through the
// contacts view against streaming its two statements through the client
// library alone, and prints "contacts fill/raw ratio: X" last.
//
// Without --host it starts a private MariaDB server in a temporary folder the
// way the test fixture does (tests/fixture/mariadb.sh) and stops it at the end.
#include "app/tfrmmain.h"
#include "benchsupport.h"
#include "contacts/contactsview.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/mysqlapi.h"
#include "db/query.h"
#include "projects/projectchoice.h"
#include "workbench/navigator.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

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

qint64 streamRaw(const QStringList &statements)
{
    const auto &api = db::MySqlApi::get();
    MYSQL *h = db::DbConnection().handle();
    QElapsedTimer t;
    t.start();
    for (const QString &sql : statements) {
        const QByteArray b = sql.toUtf8();
        if (api.real_query(h, b.constData(), static_cast<unsigned long>(b.size())) != 0)
            return -1;
        MYSQL_RES *res = api.use_result(h);
        while (api.fetch_row(res)) {
        }
        api.free_result(res);
    }
    return t.nsecsElapsed();
}

double median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return static_cast<double>(v[v.size() / 2]) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    bench::prepareDisplay();
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Contact list benchmark"));
    cli.addHelpOption();
    QCommandLineOption countOpt(QStringLiteral("contacts"), QStringLiteral("Contacts."), QStringLiteral("N"),
                                QStringLiteral("100000"));
    QCommandLineOption hostOpt(QStringLiteral("host"), QStringLiteral("Server host (default: a private server)."),
                               QStringLiteral("host"));
    QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("Server port."), QStringLiteral("port"),
                               QStringLiteral("3306"));
    QCommandLineOption userOpt(QStringLiteral("user"), QStringLiteral("User."), QStringLiteral("user"), QStringLiteral("qvtest"));
    QCommandLineOption passOpt(QStringLiteral("password"), QStringLiteral("Password."), QStringLiteral("password"),
                               QStringLiteral("qvtest"));
    cli.addOptions({countOpt, hostOpt, portOpt, userOpt, passOpt});
    cli.process(app);
    const int n = qMax(2, cli.value(countOpt).toInt());

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
    const QString name = QStringLiteral("qv_bench_ct_%1").arg(QCoreApplication::applicationPid());
    auto drop = [&] { run(QStringLiteral("DROP DATABASE IF EXISTS ") + name); };
    if (!run(QStringLiteral("CREATE DATABASE ") + name + QStringLiteral(" CHARACTER SET utf8mb4")) || !conn->selectDatabase(name)
        || !bench::createSchema()) {
        drop();
        return 1;
    }
    bool ok =
        run(QStringLiteral("INSERT INTO projects SET project_id=1, project_name='Проект', project_url='http://site.example'"))
        && run(QStringLiteral("INSERT INTO omaterials SET omaterial_id=1, omaterial_name='Письмо', omaterial_project_id=1"))
        && run(QStringLiteral("INSERT INTO osubjects SET osubject_id=1, osubject_name='Раздел', osubject_project_id=1"));
    for (int from = 1; ok && from <= n; from += 2000) {
        QString contacts = QStringLiteral("INSERT INTO contacts (contact_id, contact_FIO, contact_company, contact_status, "
                                          "contact_department, contact_tel, contact_email, contact_address) VALUES ");
        QString links = QStringLiteral("INSERT INTO osubjects2contacts VALUES ");
        QString log = QStringLiteral("INSERT INTO oreglog (orl_contact_id, orl_material_id, orl_project_id, orl_subject_id, "
                                     "orl_datetime, orl_status) VALUES ");
        bool anyLog = false;
        for (int id = from; id < from + 2000 && id <= n; ++id) {
            const QString sep = id == from ? QString() : QStringLiteral(",");
            contacts += sep
                        + QStringLiteral("(%1,'Иванов Иван %1','ООО «Ромашка %1»','менеджер','отдел продаж','+7 495 000-%1',"
                                         "'user%1@mail.example','Москва, ул. Ленина, д. %1')")
                              .arg(id);
            links += sep + QStringLiteral("(1,%1)").arg(id);
            if (id % 2) {
                log +=
                    (anyLog ? QStringLiteral(",") : QString()) + QStringLiteral("(%1,1,1,1,'2026-01-02 03:04:05','1')").arg(id);
                anyLog = true;
            }
        }
        ok = run(contacts) && run(links) && (!anyLog || run(log));
    }
    if (!ok) {
        drop();
        return 1;
    }

    QTemporaryDir dir;
    core::AppContext ctx;
    ctx.AppDir = dir.path() + QLatin1Char('/');
    ctx.CurrentUserId = 0;
    app::TfrmMain main(ctx);
    main.fillProjects();
    main.cbProjects->setCurrentIndex(1);
    main.projects->cbProjectsChange();
    QTreeWidgetItem *top = main.navigator->top(workbench::TopContacts);
    main.contacts->contactsExpanded(top);
    QTreeWidgetItem *section = nullptr;
    for (int i = 0; i < top->childCount(); ++i) {
        if (workbench::Navigator::nodeId(top->child(i)).value_or(0) == 1)
            section = top->child(i);
    }
    if (!section) {
        std::fprintf(stderr, "no section node\n");
        drop();
        return 1;
    }
    main.trvFilters->setCurrentItem(section);
    const QStringList statements{
        QStringLiteral("SELECT orl_contact_id, orl_status, orl_datetime FROM oreglog WHERE orl_material_id=1"),
        QStringLiteral("SELECT contact_id, contact_FIO, contact_company, contact_status, contact_department, contact_tel, "
                       "contact_email, contact_address FROM contacts, osubjects2contacts WHERE contacts.contact_id = "
                       "osubjects2contacts.s2o_contact_id AND osubjects2contacts.s2o_subject_id=1")};
    std::vector<qint64> fill, raw;
    for (int round = 0; round < 5; ++round) {
        raw.push_back(streamRaw(statements));
        QElapsedTimer t;
        t.start();
        main.contacts->relist();
        fill.push_back(t.nsecsElapsed());
    }
    const int listed = main.contacts->contactsModel->rowCount();
    const double fillMs = median(fill), rawMs = median(raw);
    out(QStringLiteral("contacts listed: %1 of %2").arg(listed).arg(n));
    out(QStringLiteral("contact list fill: %1 ms (median of 5)").arg(fillMs, 0, 'f', 1));
    out(QStringLiteral("raw streaming of its two statements: %1 ms").arg(rawMs, 0, 'f', 1));
    drop();
    conn->close();
    server.stop();
    out(QStringLiteral("contacts fill/raw ratio: %1").arg(fillMs / qMax(rawMs, 0.001), 0, 'f', 2));
    return listed == n ? 0 : 1;
}
