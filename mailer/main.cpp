// DAVireza: the mailer the program hands a mailing to.
//   DAVireza PROJECT LETTER SECTION USER MODE
// sends the letter to every contact of the contact section (MODE 0) or only to
// those it has not reached yet (MODE 1) over the project's SMTP account, and
// writes each outcome to the mailing log. The database is the one in [SQL] of
// "config.ini" in the working folder. Messages go to the error output.
// Exit codes: 0 every contact got the letter, 1 some did not (or the database
// failed), 2 bad arguments, 3 the letter or the section is not the project's,
// 4 stopped because a letter went out and its log row could not be written
// (the error output names that contact).
#include "mailingrun.h"
#include "stderrprompt.h"

#include "core/inifile.h"
#include "db/database.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <curl/curl.h>

using namespace qv;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("DAVireza"));
    mailer::StderrPrompt stderrPrompt;
    core::setPrompt(&stderrPrompt);

    const auto args = mailer::ParseMailingArgs(app.arguments().mid(1));
    if (!args) {
        std::fprintf(stderr, "DAVireza: ожидаются пять чисел: проект письмо раздел пользователь режим(0|1)\n");
        return contacts::MailerBadArguments;
    }

    const QString iniPath = QDir::current().filePath(QStringLiteral("config.ini"));
    const core::IniFile ini(iniPath);
    const QString sql = QStringLiteral("SQL");
    const QString host = ini.readString(sql, QStringLiteral("host"), QStringLiteral("localhost"));
    const QString dbName = ini.readString(sql, QStringLiteral("dbname"));
    const QString user = ini.readString(sql, QStringLiteral("username"));
    const QString password = ini.readString(sql, QStringLiteral("password"));
    const int port = ini.readInteger(sql, QStringLiteral("port"), 3304);

    auto *conn = new db::Database;
    db::setDbConnection(conn);
    if (!conn->create()) {
        stderrPrompt.message(QStringLiteral("не загружена клиентская библиотека MySQL"), core::MessageIcon::Error);
        return contacts::MailerNotAllSent;
    }
    conn->setConnectTimeout(10);
    if (!conn->connect(host, user, password, static_cast<unsigned>(port)) || !conn->selectDatabase(dbName)) {
        stderrPrompt.message(QStringLiteral("нет соединения с базой данных (") + iniPath + QStringLiteral("): ")
                                 + conn->errorText(),
                             core::MessageIcon::Error);
        return contacts::MailerNotAllSent;
    }

    curl_global_init(CURL_GLOBAL_DEFAULT);
    const int code = mailer::RunMailing(*args);
    curl_global_cleanup();
    db::setDbConnection(nullptr);
    return code;
}
