#include "mailingrun.h"
#include "smtpsender.h"

#include "contacts/mailmessage.h"
#include "db/database.h"
#include "db/query.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSet>
#include <QThread>
#include <cstdio>
#include <errmsg.h>
#include <mysqld_error.h>
#include <limits>
#include <vector>

namespace qv::mailer {

namespace {

using namespace contacts;

// How long a log row waits for the base to come back when the connection is
// gone, and the pause between two tries while it cannot be opened.
constexpr qint64 kLogWaitMs = 30000;
constexpr unsigned long kLogRetryPauseMs = 300;

void say(const QString &text) { std::fprintf(stderr, "DAVireza: %s\n", text.toLocal8Bit().constData()); }

std::optional<qint64> parseId(const QString &text)
{
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qint64 v = text.toLongLong();
    if (v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return v;
}

struct Contact {
    qint64 id = 0;
    QString name;
    QString email;
};

struct Settings {
    SmtpAccount account;
    QString sender;
    QString problem; // why nothing can be sent ("" when the settings can be used)
};

class Mailing {
public:
    explicit Mailing(const MailingArgs &args) : m_args(args) {}
    int run();

private:
    // Reads the letter, the section, the SMTP settings and the contacts; the
    // exit status when the mailing cannot go on.
    std::optional<int> readMailing();
    // Why a contact's addresses cannot be written to ("" when they can).
    static QString addressesProblem(const QStringList &addresses);
    // Sends the letter to the contact.
    SmtpSender::Outcome send(SmtpSender &sender, const Contact &c, const QStringList &addresses);
    // Each reader: false when the statement failed (reported already).
    bool readLetter(bool *found);
    bool readSection(bool *found);
    bool readSettings(bool *found);
    bool readContacts();
    bool writeLog(qint64 contactId, bool sent, const QString &error);
    // Runs the log statement until it is written, while the connection is
    // lost and can be had again; false when it cannot be written.
    bool runLogStatement(const QString &sql);

    MailingArgs m_args;
    QString m_subject, m_body;
    Settings m_settings;
    std::vector<Contact> m_contacts;
};

bool Mailing::readLetter(bool *found)
{
    bool failed = false;
    const auto row = db::FirstRow(
        QStringLiteral("SELECT omaterial_subject, omaterial_body_text FROM omaterials WHERE omaterial_id=")
            + db::SqlInt(m_args.letterId) + QStringLiteral(" AND omaterial_project_id=") + db::SqlInt(m_args.projectId),
        &failed);
    *found = row.has_value();
    if (row) {
        m_subject = row->value(0);
        m_body = row->value(1);
    }
    return !failed;
}

bool Mailing::readSection(bool *found)
{
    bool failed = false;
    const auto row =
        db::FirstRow(QStringLiteral("SELECT osubject_id FROM osubjects WHERE osubject_id=") + db::SqlInt(m_args.sectionId)
                         + QStringLiteral(" AND osubject_project_id=") + db::SqlInt(m_args.projectId),
                     &failed);
    *found = row.has_value();
    return !failed;
}

bool Mailing::readSettings(bool *found)
{
    bool failed = false;
    const auto row = db::FirstRow(QStringLiteral("SELECT project_smtp_username, project_smtp_password, project_smtp_host, "
                                                 "project_smtp_port, project_email FROM projects WHERE project_id=")
                                      + db::SqlInt(m_args.projectId),
                                  &failed);
    *found = row.has_value();
    if (!row)
        return !failed;
    SmtpAccount &a = m_settings.account;
    a.userName = row->value(0).trimmed();
    a.password = row->value(1);
    a.host = row->value(2).trimmed();
    const QString portText = row->value(3).trimmed();
    const auto port = parseId(portText);
    m_settings.sender = contacts::ChooseSender(a.userName, row->value(4));
    if (a.host.isEmpty())
        m_settings.problem = QStringLiteral("не указан SMTP-сервер");
    else if (!port || *port < 1 || *port > 65535)
        m_settings.problem = QStringLiteral("порт SMTP-сервера не число от 1 до 65535: \"") + portText + QLatin1Char('"');
    else if (m_settings.sender.isEmpty())
        m_settings.problem = QStringLiteral("нет адреса отправителя: ни имя пользователя SMTP, ни email проекта не адрес");
    else
        a.port = static_cast<int>(*port);
    return true;
}

bool Mailing::readContacts()
{
    QString sql = QStringLiteral("SELECT contacts.contact_id, contacts.contact_FIO, contacts.contact_email "
                                 "FROM contacts, osubjects2contacts "
                                 "WHERE contacts.contact_id=osubjects2contacts.s2o_contact_id "
                                 "AND osubjects2contacts.s2o_subject_id=")
                  + db::SqlInt(m_args.sectionId);
    if (m_args.mode == 1)
        sql += QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM oreglog WHERE oreglog.orl_contact_id=contacts.contact_id "
                              "AND oreglog.orl_material_id=")
               + db::SqlInt(m_args.letterId) + QStringLiteral(" AND oreglog.orl_status=") + db::Sql(QStringLiteral("1"))
               + QLatin1Char(')');
    sql += QStringLiteral(" ORDER BY contacts.contact_id");
    // A contact linked to the section twice gets the letter once.
    QSet<qint64> seen;
    return db::ForEachRow(sql, [&](const db::Row &row) {
        const qint64 id = row.value(0).toLongLong();
        if (seen.contains(id))
            return;
        seen.insert(id);
        m_contacts.push_back(Contact{id, row.value(1), row.value(2)});
    });
}

bool Mailing::writeLog(qint64 contactId, bool sent, const QString &error)
{
    // One row per contact and letter (a unique key): a later run updates it in place.
    QString sql = QStringLiteral("INSERT INTO oreglog (orl_contact_id, orl_material_id, orl_project_id, orl_subject_id, "
                                 "orl_user_id, orl_datetime, orl_status, orl_error) VALUES (")
                  + db::SqlInt(contactId) + QLatin1Char(',') + db::SqlInt(m_args.letterId) + QLatin1Char(',')
                  + db::SqlInt(m_args.projectId) + QLatin1Char(',') + db::SqlInt(m_args.sectionId) + QLatin1Char(',')
                  + db::SqlInt(m_args.userId) + QStringLiteral(",NOW(),")
                  + db::Sql(sent ? QStringLiteral("1") : QStringLiteral("2")) + QLatin1Char(',') + db::Sql(error)
                  + QStringLiteral(") ON DUPLICATE KEY UPDATE ");
    if (sent) {
        sql += QStringLiteral("orl_project_id=VALUES(orl_project_id), orl_subject_id=VALUES(orl_subject_id), "
                              "orl_user_id=VALUES(orl_user_id), orl_datetime=VALUES(orl_datetime), "
                              "orl_status=VALUES(orl_status), orl_error=VALUES(orl_error)");
    } else {
        // A contact that has received the letter keeps its "sent" row, with
        // the date of that sending; the failed attempt is noted in its error
        // text. The status is assigned last: the conditions before it read the
        // row's stored status.
        const QString wasSent = QStringLiteral("orl_status=") + db::Sql(QStringLiteral("1"));
        auto keep = [&](const char *column) {
            const QString c = QString::fromLatin1(column);
            return c + QStringLiteral("=IF(") + wasSent + QStringLiteral(", ") + c + QStringLiteral(", VALUES(") + c
                   + QStringLiteral("))");
        };
        sql += keep("orl_project_id") + QStringLiteral(", ") + keep("orl_subject_id") + QStringLiteral(", ") + keep("orl_user_id")
               + QStringLiteral(", ") + keep("orl_datetime") + QStringLiteral(", orl_error=IF(") + wasSent
               + QStringLiteral(", CONCAT(") + db::Sql(QStringLiteral("повторная отправка не удалась: "))
               + QStringLiteral(", VALUES(orl_error)), VALUES(orl_error)), ") + keep("orl_status");
    }
    return runLogStatement(sql);
}

bool Mailing::runLogStatement(const QString &sql)
{
    // The statement sets the row to the same values however often it runs, so
    // after a lost connection it is sent again on the new one, even when the
    // old one may have run it. The letter has gone out: its row waits for the
    // base rather than be dropped.
    db::Database &conn = db::DbConnection();
    QElapsedTimer waiting;
    for (;;) {
        const int rc = db::RunDirect(sql);
        if (rc == 0) {
            if (waiting.isValid())
                say(QStringLiteral("связь с базой данных восстановлена"));
            return true;
        }
        const bool lost = rc == CR_SERVER_GONE_ERROR || rc == CR_SERVER_LOST || rc == ER_CONNECTION_KILLED;
        if (!lost && conn.isConnected()) {
            say(QStringLiteral("журнал рассылки не записан: ") + conn.errorText());
            return false;
        }
        if (!waiting.isValid()) {
            waiting.start();
            say(QStringLiteral("связь с базой данных потеряна (") + conn.errorText()
                + QStringLiteral("), запись в журнал рассылки повторяется"));
        } else if (waiting.elapsed() >= kLogWaitMs) {
            say(QStringLiteral("журнал рассылки не записан: нет связи с базой данных (") + conn.errorText() + QLatin1Char(')'));
            return false;
        }
        // Opened again already: the statement goes at once; else a pause first.
        if (!conn.isConnected())
            QThread::msleep(kLogRetryPauseMs);
    }
}

std::optional<int> Mailing::readMailing()
{
    bool letterFound = false, sectionFound = false, projectFound = false;
    if (!readLetter(&letterFound) || !readSection(&sectionFound))
        return MailerNotAllSent;
    if (!letterFound || !sectionFound) {
        if (!letterFound)
            say(QStringLiteral("письмо %1 не принадлежит проекту %2").arg(m_args.letterId).arg(m_args.projectId));
        if (!sectionFound)
            say(QStringLiteral("раздел контактов %1 не принадлежит проекту %2").arg(m_args.sectionId).arg(m_args.projectId));
        return MailerForeignData;
    }
    if (!readSettings(&projectFound))
        return MailerNotAllSent;
    if (!projectFound) {
        say(QStringLiteral("нет проекта %1").arg(m_args.projectId));
        return MailerForeignData;
    }
    if (!readContacts())
        return MailerNotAllSent;
    return std::nullopt;
}

QString Mailing::addressesProblem(const QStringList &addresses)
{
    if (addresses.isEmpty())
        return QStringLiteral("у контакта нет адреса email");
    for (const QString &a : addresses) {
        const QString problem = contacts::AddressProblem(a);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

SmtpSender::Outcome Mailing::send(SmtpSender &sender, const Contact &c, const QStringList &addresses)
{
    contacts::MailMessage m;
    m.fromAddress = m_settings.sender;
    m.toName = c.name;
    m.toAddresses = addresses;
    m.subject = m_subject;
    m.body = m_body;
    m.date = QDateTime::currentDateTime();
    m.messageId = contacts::MakeMessageId(m_settings.sender, c.id);
    return sender.send(m_settings.sender, addresses, contacts::ComposeMailMessage(m));
}

int Mailing::run()
{
    if (const auto stop = readMailing())
        return *stop;

    QString sessionProblem = m_settings.problem;
    if (!sessionProblem.isEmpty())
        say(QStringLiteral("настройки SMTP непригодны: ") + sessionProblem);
    std::optional<SmtpSender> sender;
    int sentCount = 0;
    for (const Contact &c : m_contacts) {
        const QStringList addresses = contacts::SplitAddresses(c.email);
        QString problem = addressesProblem(addresses);
        if (problem.isEmpty())
            problem = sessionProblem;

        bool sent = false;
        QString error = problem;
        if (problem.isEmpty()) {
            if (!sender)
                sender.emplace(m_settings.account);
            const auto outcome = send(*sender, c, addresses);
            sent = outcome == SmtpSender::Outcome::Sent;
            if (!sent)
                error = sender->errorText();
            if (outcome == SmtpSender::Outcome::NoSession) {
                // No later contact can be reached either: they all get this reason.
                sessionProblem = error;
                say(QStringLiteral("нет связи с SMTP-сервером: ") + error);
            }
        }
        if (!sent)
            say(QStringLiteral("контакт %1 не получил письмо: %2").arg(c.id).arg(error));
        else
            ++sentCount;
        if (!writeLog(c.id, sent, error)) {
            // Nothing more goes out: every letter sent so far but this one is logged.
            say(QStringLiteral("рассылка остановлена: разослано %1 из %2").arg(sentCount).arg(m_contacts.size()));
            if (!sent)
                return MailerNotAllSent;
            say(QStringLiteral("письмо отправлено, но не записано в журнал рассылки: контакт %1 \"%2\" <%3>")
                    .arg(c.id)
                    .arg(c.name, c.email));
            return MailerSentNotLogged;
        }
    }
    sender.reset();
    say(QStringLiteral("разослано %1 из %2").arg(sentCount).arg(m_contacts.size()));
    return sentCount == static_cast<int>(m_contacts.size()) ? MailerAllSent : MailerNotAllSent;
}

} // namespace

std::optional<MailingArgs> ParseMailingArgs(const QStringList &arguments)
{
    if (arguments.size() != 5)
        return std::nullopt;
    std::optional<qint64> v[5];
    for (int i = 0; i < 5; ++i) {
        v[i] = parseId(arguments.at(i));
        if (!v[i])
            return std::nullopt;
    }
    // The mode is the single digit itself: "01" is no mode.
    const QString &mode = arguments.at(4);
    if (mode != QLatin1String("0") && mode != QLatin1String("1"))
        return std::nullopt;
    MailingArgs a;
    a.projectId = *v[0];
    a.letterId = *v[1];
    a.sectionId = *v[2];
    a.userId = *v[3];
    a.mode = static_cast<int>(*v[4]);
    return a;
}

int RunMailing(const MailingArgs &args) { return Mailing(args).run(); }

} // namespace qv::mailer
