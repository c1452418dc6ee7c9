// The mailer at scale: a section of N contacts (default 1,000) mailed by the
// built DAVireza to the local SMTP sink of the tests, log writes included.
// Prints "mailer messages per second: N" for the first run (every log row
// inserted), then the same for a second run over the same contacts (every row
// updated in place).
//
// Without --host it starts a private MariaDB server in a temporary folder the
// way the test fixture does (tests/fixture/mariadb.sh) and stops it at the end.
#include "benchsupport.h"
#include "db/database.h"
#include "db/query.h"
#include "support/smtpsink.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace qv;
using bench::createSchema;
using bench::out;
using bench::run;
using bench::scalar;
using bench::Server;

namespace {

bool createContacts(int n, int section)
{
    const int batch = 500;
    for (int from = 1; from <= n; from += batch) {
        QString contacts =
            QStringLiteral("INSERT INTO contacts (contact_id, contact_FIO, contact_company, contact_email) VALUES ");
        QString links = QStringLiteral("INSERT INTO osubjects2contacts (s2o_subject_id, s2o_contact_id) VALUES ");
        for (int id = from; id < from + batch && id <= n; ++id) {
            const QString sep = id == from ? QString() : QStringLiteral(",");
            contacts += sep + QStringLiteral("(%1,'Иванов Иван %1','ООО «Рога и копыта»','contact%1@example.ru')").arg(id);
            links += sep + QStringLiteral("(%1,%2)").arg(section).arg(id);
        }
        if (!run(contacts) || !run(links))
            return false;
    }
    return true;
}

// Runs the mailer and waits in this event loop, where the sink answers.
int runMailer(const QString &program, const QString &folder, const QStringList &args, QString *errors)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    p.start(program, args);
    loop.exec();
    *errors = QString::fromLocal8Bit(p.readAllStandardError());
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Mailer benchmark"));
    cli.addHelpOption();
    QCommandLineOption countOpt(QStringLiteral("contacts"), QStringLiteral("Contacts in the section."), QStringLiteral("N"),
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
    const QString mailer = QCoreApplication::applicationDirPath() + QStringLiteral("/DAVireza/DAVireza");

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
    const QString dbName = QStringLiteral("qv_mailbench_%1").arg(QCoreApplication::applicationPid());
    if (!run(QStringLiteral("CREATE DATABASE ") + dbName + QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"))
        || !conn->selectDatabase(dbName))
        return 1;
    struct Drop {
        QString name;
        ~Drop() { run(QStringLiteral("DROP DATABASE IF EXISTS ") + name); }
    } drop{dbName};

    test::SmtpSink sink;
    if (!sink.listen()) {
        std::fprintf(stderr, "the SMTP sink cannot listen\n");
        return 1;
    }
    const int project = 1, letter = 1, section = 1;
    if (!createSchema()
        || !run(
            QStringLiteral("INSERT INTO projects SET project_id=%1, project_name='Проект', project_email='owner@example.org', "
                           "project_smtp_username='robot@example.org', project_smtp_password='secret', "
                           "project_smtp_host='127.0.0.1', project_smtp_port='%2'")
                .arg(project)
                .arg(sink.port()))
        || !run(QStringLiteral("INSERT INTO omaterials SET omaterial_id=%1, omaterial_project_id=%2, omaterial_name='Письмо', "
                               "omaterial_subject='Предложение о сотрудничестве', omaterial_body_text=%3")
                    .arg(letter)
                    .arg(project)
                    .arg(db::Sql(QStringLiteral("Здравствуйте!\nПредлагаем сотрудничество.\n").repeated(20))))
        || !run(QStringLiteral("INSERT INTO osubjects SET osubject_id=%1, osubject_project_id=%2, osubject_name='Раздел'")
                    .arg(section)
                    .arg(project))
        || !createContacts(n, section))
        return 1;

    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("config.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write(QStringLiteral("[SQL]\nhost=%1\nport=%2\ndbname=%3\nusername=%4\npassword=%5\n")
                  .arg(host)
                  .arg(port)
                  .arg(dbName, cli.value(userOpt), cli.value(passOpt))
                  .toUtf8());
    ini.close();

    const QStringList args = {QString::number(project), QString::number(letter), QString::number(section), QStringLiteral("0"),
                              QStringLiteral("0")};
    bool ok = true;
    for (const char *what : {"log rows inserted", "log rows updated"}) {
        const qsizetype before = sink.mails().size();
        QString errors;
        QElapsedTimer t;
        t.start();
        const int code = runMailer(mailer, folder.path(), args, &errors);
        const double seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
        const qsizetype mailed = sink.mails().size() - before;
        const int logged = scalar(QStringLiteral("SELECT COUNT(*) FROM oreglog WHERE orl_status='1'")).toInt();
        if (code != 0 || mailed != n || logged != n) {
            std::fprintf(stderr, "mailer exit %d, %lld messages, %d log rows:\n%s\n", code, static_cast<long long>(mailed),
                         logged, qPrintable(errors.right(2000)));
            ok = false;
            break;
        }
        out(QStringLiteral("%1 messages in %2 s over %3 connection(s), %4")
                .arg(n)
                .arg(seconds, 0, 'f', 2)
                .arg(sink.connections())
                .arg(QLatin1String(what)));
        if (before == 0)
            out(QStringLiteral("mailer messages per second: %1").arg(qRound(n / seconds)));
        else
            out(QStringLiteral("mailer messages per second, log rows updated: %1").arg(qRound(n / seconds)));
    }
    return ok ? 0 : 1;
}
