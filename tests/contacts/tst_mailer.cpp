// The mailer DAVireza run as its own process on a test database, sending to
// the local SMTP sink: the modes, contacts linked twice, several addresses,
// Russian texts, long subjects, CR/LF in names and subjects, unusable
// addresses and settings, refused recipients and logins, a closed port, bad
// arguments, a foreign letter or section, log rows updated in place, and log
// rows when the base goes away after a letter has gone out.
#include "db/query.h"
#include "support/secondcopy.h"
#include "support/smtpsink.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace qv;
using qv::test::SmtpSink;
using qv::test::TestDb;

namespace {

struct RunResult {
    int exitCode = -1;
    QString errorOutput;
};

} // namespace

class TestMailer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void modeZeroMailsEveryContactOnceOverOneConnection();
    void modeOneSkipsContactsAlreadyMailed();
    void severalAddressesGoInOneMessage();
    void russianSubjectNameAndBodyDecodeExactly();
    void longSubjectIsSplitIntoShortWords();
    void lineBreaksInNameOrSubjectAddNoHeaderOrRecipient();
    void unusableAddressesFailBeforeAnySmtpCommand();
    void refusedRecipientFailsOnlyThatContact();
    void refusedLoginFailsEveryContactAtOnce();
    void refusedConnectionFailsEveryContact();
    void closedPortFailsEveryContact();
    void startTlsIsTriedWhenOffered();
    void unusableSettingsFailEveryContactWithoutConnecting_data();
    void unusableSettingsFailEveryContactWithoutConnecting();
    void senderIsProjectEmailWhenUserNameIsNoAddress();
    void badArgumentsExitTwoAndWriteNothing_data();
    void badArgumentsExitTwoAndWriteNothing();
    void foreignLetterOrSectionExitThree();
    void secondRunUpdatesLogRowsInPlace();
    void sentContactStaysSentWhenALaterRunFails();
    void emptySectionExitsZero();
    void logRowFollowsItsLetterOverALostConnection();
    void unloggableLetterStopsTheMailingAndNamesItsContact();

private:
    int addProject(const QString &name, int smtpPort, const QString &user = QStringLiteral("mailer@example.org"),
                   const QString &email = QStringLiteral("owner@example.org"));
    int addLetter(int projectId, const QString &subject, const QString &body);
    int addSection(int projectId, const QString &name);
    int addContact(const QString &fio, const QString &email, int sectionId);
    void link(int contactId, int sectionId);
    RunResult runMailer(const QStringList &args);
    RunResult runMailer(int project, int letter, int section, int user, int mode);
    // "status|error" of the contact's log row for the letter ("" when none).
    QString logOf(int contactId, int letterId);
    int logRows();
    void writeConfig(const QString &user, const QString &password);

    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<SmtpSink> m_sink;
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_project = 0, m_letter = 0, m_section = 0;
};

int TestMailer::addProject(const QString &name, int smtpPort, const QString &user, const QString &email)
{
    m_db->exec(QStringLiteral("INSERT INTO projects SET project_name=%1, project_email=%2, project_smtp_username=%3, "
                              "project_smtp_password=%4, project_smtp_host=%5, project_smtp_port=%6")
                   .arg(db::Sql(name), db::Sql(email), db::Sql(user), db::Sql(QStringLiteral("s3cr\"et")),
                        db::Sql(QStringLiteral("127.0.0.1")), db::Sql(QString::number(smtpPort))));
    return m_db->scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
}

int TestMailer::addLetter(int projectId, const QString &subject, const QString &body)
{
    m_db->exec(QStringLiteral("INSERT INTO omaterials SET omaterial_name=%1, omaterial_project_id=%2, "
                              "omaterial_subject=%3, omaterial_body_text=%4")
                   .arg(db::Sql(QStringLiteral("Письмо")), db::SqlInt(projectId), db::Sql(subject), db::Sql(body)));
    return m_db->scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
}

int TestMailer::addSection(int projectId, const QString &name)
{
    m_db->exec(QStringLiteral("INSERT INTO osubjects SET osubject_name=%1, osubject_project_id=%2, osubject_pid=0")
                   .arg(db::Sql(name), db::SqlInt(projectId)));
    return m_db->scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
}

int TestMailer::addContact(const QString &fio, const QString &email, int sectionId)
{
    m_db->exec(QStringLiteral("INSERT INTO contacts SET contact_FIO=%1, contact_email=%2").arg(db::Sql(fio), db::Sql(email)));
    const int id = m_db->scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
    link(id, sectionId);
    return id;
}

void TestMailer::link(int contactId, int sectionId)
{
    m_db->exec(QStringLiteral("INSERT INTO osubjects2contacts (s2o_subject_id, s2o_contact_id) VALUES (%1, %2)")
                   .arg(sectionId)
                   .arg(contactId));
}

RunResult TestMailer::runMailer(const QStringList &args)
{
    RunResult r;
    QProcess p;
    p.setWorkingDirectory(m_dir->path());
    QSignalSpy finished(&p, &QProcess::finished);
    p.start(qEnvironmentVariable("QV_PROGRAM_DIR") + QStringLiteral("/DAVireza/DAVireza"), args);
    // The sink answers in this event loop while the mailer runs.
    [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000); }();
    if (finished.count() != 1)
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.errorOutput = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

RunResult TestMailer::runMailer(int project, int letter, int section, int user, int mode)
{
    return runMailer({QString::number(project), QString::number(letter), QString::number(section), QString::number(user),
                      QString::number(mode)});
}

QString TestMailer::logOf(int contactId, int letterId)
{
    const QStringList rows = m_db->rows(QStringLiteral("SELECT orl_status, orl_error FROM oreglog WHERE orl_contact_id=%1 "
                                                       "AND orl_material_id=%2")
                                            .arg(contactId)
                                            .arg(letterId));
    return rows.isEmpty() ? QString() : rows.join(QStringLiteral(" / "));
}

int TestMailer::logRows() { return m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM oreglog")).toInt(); }

void TestMailer::writeConfig(const QString &user, const QString &password)
{
    QFile ini(m_dir->filePath(QStringLiteral("config.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(QStringLiteral("[SQL]\nhost=%1\nport=%2\ndbname=%3\nusername=%4\npassword=%5\n")
                  .arg(TestDb::host())
                  .arg(TestDb::fixturePort())
                  .arg(m_db->name(), user, password)
                  .toUtf8());
}

void TestMailer::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
    m_sink = std::make_unique<SmtpSink>();
    QVERIFY(m_sink->listen());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeConfig(TestDb::user(), TestDb::password());
    m_project = addProject(QStringLiteral("Проект"), m_sink->port());
    m_letter = addLetter(m_project, QStringLiteral("Тема"), QStringLiteral("Текст"));
    m_section = addSection(m_project, QStringLiteral("Раздел"));
}

void TestMailer::cleanup()
{
    m_sink.reset();
    m_dir.reset();
    m_db.reset();
}

void TestMailer::modeZeroMailsEveryContactOnceOverOneConnection()
{
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int b = addContact(QStringLiteral("B"), QStringLiteral("b@example.ru"), m_section);
    link(b, m_section); // linked twice
    const int other = addSection(m_project, QStringLiteral("Другой"));
    const int c = addContact(QStringLiteral("C"), QStringLiteral("c@example.ru"), other);

    const RunResult r = runMailer(m_project, m_letter, m_section, 7, 0);
    QVERIFY2(r.exitCode == 0, qPrintable(r.errorOutput));
    QCOMPARE(m_sink->mails().size(), 2);
    QCOMPARE(m_sink->mails()[0].recipients, QStringList{QStringLiteral("a@example.ru")});
    QCOMPARE(m_sink->mails()[1].recipients, QStringList{QStringLiteral("b@example.ru")});
    QCOMPARE(m_sink->connections(), 1);
    QCOMPARE(m_sink->logins(), 1);
    QCOMPARE(m_sink->lastUser(), QStringLiteral("mailer@example.org"));
    QCOMPARE(m_sink->lastPassword(), QStringLiteral("s3cr\"et"));
    QCOMPARE(m_sink->mails()[0].from, QStringLiteral("mailer@example.org"));
    QCOMPARE(m_sink->mails()[0].header(QStringLiteral("From")), QStringLiteral("<mailer@example.org>"));
    QCOMPARE(m_sink->commands().last(), QStringLiteral("QUIT"));
    QVERIFY(!m_sink->commands().contains(QStringLiteral("STARTTLS")));

    QCOMPARE(logRows(), 2);
    QCOMPARE(logOf(a, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(b, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(c, m_letter), QString());
    const QStringList row =
        m_db->rows(QStringLiteral("SELECT orl_project_id, orl_subject_id, orl_user_id, "
                                  "orl_datetime IS NOT NULL, TIMESTAMPDIFF(SECOND, orl_datetime, NOW()) < 120 "
                                  "FROM oreglog WHERE orl_contact_id=%1")
                       .arg(b));
    QCOMPARE(row, QStringList{QStringLiteral("%1|%2|7|1|1").arg(m_project).arg(m_section)});
}

void TestMailer::modeOneSkipsContactsAlreadyMailed()
{
    const int sent = addContact(QStringLiteral("Sent"), QStringLiteral("sent@example.ru"), m_section);
    const int failed = addContact(QStringLiteral("Failed"), QStringLiteral("failed@example.ru"), m_section);
    const int fresh = addContact(QStringLiteral("Fresh"), QStringLiteral("fresh@example.ru"), m_section);
    const int otherLetter = addLetter(m_project, QStringLiteral("Другое"), QStringLiteral("x"));
    m_db->exec(QStringLiteral("INSERT INTO oreglog (orl_contact_id, orl_material_id, orl_status) VALUES "
                              "(%1, %2, '1'), (%3, %2, '2'), (%4, %5, '1')")
                   .arg(sent)
                   .arg(m_letter)
                   .arg(failed)
                   .arg(fresh)
                   .arg(otherLetter));

    RunResult r = runMailer(m_project, m_letter, m_section, 0, 1);
    QCOMPARE(r.exitCode, 0);
    QStringList to;
    for (const auto &m : m_sink->mails())
        to << m.recipients;
    QCOMPARE(to, (QStringList{QStringLiteral("failed@example.ru"), QStringLiteral("fresh@example.ru")}));
    QCOMPARE(logOf(failed, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(fresh, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(fresh, otherLetter), QStringLiteral("1|"));

    // Mode 0 mails everybody again.
    r = runMailer(m_project, m_letter, m_section, 0, 0);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(m_sink->mails().size(), 5);
    QCOMPARE(logRows(), 4);
}

void TestMailer::severalAddressesGoInOneMessage()
{
    const int c =
        addContact(QStringLiteral("Иван"), QStringLiteral(" one@example.ru,two@example.ru , three@example.ru,"), m_section);
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 0);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(m_sink->mails().size(), 1);
    const SmtpSink::Mail &m = m_sink->mails()[0];
    QCOMPARE(m.recipients, (QStringList{QStringLiteral("one@example.ru"), QStringLiteral("two@example.ru"),
                                        QStringLiteral("three@example.ru")}));
    QCOMPARE(m.decodedHeader(QStringLiteral("To")),
             QStringLiteral("Иван <one@example.ru>, Иван <two@example.ru>, Иван <three@example.ru>"));
    QCOMPARE(logOf(c, m_letter), QStringLiteral("1|"));
}

void TestMailer::russianSubjectNameAndBodyDecodeExactly()
{
    const QString subject = QStringLiteral("Предложение о сотрудничестве — «Ёжик» № 1 😀");
    const QString body = QStringLiteral("Здравствуйте!\nЭто письмо.\r\nВторая строка\r\n.\nточка выше\n\nС уважением, Ёлкин");
    const int letter = addLetter(m_project, subject, body);
    addContact(QStringLiteral("Иванов Иван Иванович"), QStringLiteral("ivan@example.ru"), m_section);
    const RunResult r = runMailer(m_project, letter, m_section, 0, 0);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(m_sink->mails().size(), 1);
    const SmtpSink::Mail &m = m_sink->mails()[0];
    QCOMPARE(m.decodedHeader(QStringLiteral("Subject")), subject);
    QCOMPARE(m.decodedHeader(QStringLiteral("To")), QStringLiteral("Иванов Иван Иванович <ivan@example.ru>"));
    QString expected = body;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QCOMPARE(m.bodyText(), expected);
    QCOMPARE(m.header(QStringLiteral("Content-Type")), QStringLiteral("text/plain; charset=UTF-8"));
    QCOMPARE(m.header(QStringLiteral("Content-Transfer-Encoding")), QStringLiteral("base64"));
    QCOMPARE(m.header(QStringLiteral("MIME-Version")), QStringLiteral("1.0"));
    // The raw message is ASCII with CRLF line ends only.
    for (const char ch : m.data)
        QVERIFY(static_cast<unsigned char>(ch) < 128);
    QCOMPARE(m.data.count('\n'), m.data.count("\r\n"));
    QVERIFY(QRegularExpression(QStringLiteral("^<[^<>@\\s]+@example\\.org>$"))
                .match(m.header(QStringLiteral("Message-ID")))
                .hasMatch());
    QVERIFY2(QRegularExpression(QStringLiteral("^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), \\d\\d "
                                               "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \\d{4} "
                                               "\\d\\d:\\d\\d:\\d\\d [+-]\\d{4}$"))
                 .match(m.header(QStringLiteral("Date")))
                 .hasMatch(),
             qPrintable(m.header(QStringLiteral("Date"))));
}

void TestMailer::longSubjectIsSplitIntoShortWords()
{
    QString subject;
    while (subject.size() < 300)
        subject += QStringLiteral("Длинная тема письма ё1 ");
    subject.truncate(300);
    const int letter = addLetter(m_project, subject, QStringLiteral("x"));
    addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    QCOMPARE(runMailer(m_project, letter, m_section, 0, 0).exitCode, 0);
    QCOMPARE(m_sink->mails().size(), 1);
    const SmtpSink::Mail &m = m_sink->mails()[0];
    QCOMPARE(m.decodedHeader(QStringLiteral("Subject")), subject);
    const QString raw = m.header(QStringLiteral("Subject"));
    const QStringList words = raw.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QVERIFY(words.size() > 5);
    for (const QString &w : words) {
        QVERIFY2(w.size() <= 75, qPrintable(w));
        QVERIFY(w.startsWith(QStringLiteral("=?UTF-8?B?")) && w.endsWith(QStringLiteral("?=")));
    }
    for (const QByteArray &line : m.data.split('\n'))
        QVERIFY2(line.size() <= 998, line.left(80).constData());
}

void TestMailer::lineBreaksInNameOrSubjectAddNoHeaderOrRecipient()
{
    const int letter =
        addLetter(m_project, QStringLiteral("Hello\r\nBcc: hidden@evil.test\r\nX-Injected: yes"), QStringLiteral("body"));
    const int c = addContact(QStringLiteral("Evil\nBcc: other@evil.test\r\nCc: third@evil.test"),
                             QStringLiteral("victim@example.ru"), m_section);
    QCOMPARE(runMailer(m_project, letter, m_section, 0, 0).exitCode, 0);
    QCOMPARE(m_sink->mails().size(), 1);
    const SmtpSink::Mail &m = m_sink->mails()[0];
    QCOMPARE(m.recipients, QStringList{QStringLiteral("victim@example.ru")});
    QCOMPARE(m.headerNames(), (QStringList{QStringLiteral("Date"), QStringLiteral("Message-ID"), QStringLiteral("From"),
                                           QStringLiteral("To"), QStringLiteral("Subject"), QStringLiteral("MIME-Version"),
                                           QStringLiteral("Content-Type"), QStringLiteral("Content-Transfer-Encoding")}));
    QCOMPARE(m.decodedHeader(QStringLiteral("Subject")), QStringLiteral("Hello  Bcc: hidden@evil.test  X-Injected: yes"));
    QCOMPARE(m.decodedHeader(QStringLiteral("To")),
             QStringLiteral("Evil Bcc: other@evil.test  Cc: third@evil.test <victim@example.ru>"));
    for (const QString &cmd : m_sink->commands())
        QVERIFY2(!cmd.contains(QStringLiteral("evil.test")), qPrintable(cmd));
    QCOMPARE(logOf(c, m_letter).isEmpty(), true);
    QCOMPARE(logOf(c, letter), QStringLiteral("1|"));
}

void TestMailer::unusableAddressesFailBeforeAnySmtpCommand()
{
    const QStringList bad = {QString(),
                             QStringLiteral(" , "),
                             QStringLiteral("no-at-sign.example.ru"),
                             QStringLiteral("with blank@example.ru"),
                             QStringLiteral("<x@example.ru>"),
                             QStringLiteral("x@example.ru>"),
                             QStringLiteral("ok@example.ru, x@y.ru\r\nRCPT TO:<z@evil.test>"),
                             QStringLiteral("tab\t@example.ru")};
    QList<int> ids;
    for (const QString &e : bad)
        ids << addContact(QStringLiteral("X"), e, m_section);
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 0);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(m_sink->connections(), 0);
    QCOMPARE(logRows(), bad.size());
    for (int id : ids) {
        const QString log = logOf(id, m_letter);
        QVERIFY2(log.startsWith(QStringLiteral("2|")) && log.size() > 2, qPrintable(log));
    }

    // With one good contact among them, only that one is mailed.
    const int good = addContact(QStringLiteral("Good"), QStringLiteral("good@example.ru"), m_section);
    QCOMPARE(runMailer(m_project, m_letter, m_section, 0, 0).exitCode, 1);
    QCOMPARE(m_sink->mails().size(), 1);
    QCOMPARE(m_sink->mails()[0].recipients, QStringList{QStringLiteral("good@example.ru")});
    QCOMPARE(logOf(good, m_letter), QStringLiteral("1|"));
    for (const QString &cmd : m_sink->commands())
        QVERIFY2(!cmd.contains(QStringLiteral("evil.test")) && !cmd.contains(QStringLiteral("ok@example.ru")), qPrintable(cmd));
}

void TestMailer::refusedRecipientFailsOnlyThatContact()
{
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int b = addContact(QStringLiteral("B"), QStringLiteral("b@example.ru, refused@example.ru"), m_section);
    const int c = addContact(QStringLiteral("C"), QStringLiteral("c@example.ru"), m_section);
    m_sink->refuseRecipient(QStringLiteral("refused@example.ru"));
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 0);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(m_sink->mails().size(), 2);
    QCOMPARE(logOf(a, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(c, m_letter), QStringLiteral("1|"));
    const QString log = logOf(b, m_letter);
    QVERIFY2(log.startsWith(QStringLiteral("2|550 5.1.1 sink: recipient refused")), qPrintable(log));
}

void TestMailer::refusedLoginFailsEveryContactAtOnce()
{
    QList<int> ids;
    for (int i = 0; i < 3; ++i)
        ids << addContact(QStringLiteral("C%1").arg(i), QStringLiteral("c%1@example.ru").arg(i), m_section);
    m_sink->setRefuseLogin(true);
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 0);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(m_sink->mails().size(), 0);
    QCOMPARE(m_sink->connections(), 1);
    for (int id : ids) {
        const QString log = logOf(id, m_letter);
        QVERIFY2(log.startsWith(QStringLiteral("2|535 5.7.8")), qPrintable(log));
    }
    for (const QString &cmd : m_sink->commands())
        QVERIFY2(!cmd.startsWith(QStringLiteral("MAIL")), qPrintable(cmd));
}

void TestMailer::refusedConnectionFailsEveryContact()
{
    QList<int> ids;
    for (int i = 0; i < 2; ++i)
        ids << addContact(QStringLiteral("C%1").arg(i), QStringLiteral("c%1@example.ru").arg(i), m_section);
    m_sink->setRefuseConnections(true);
    QCOMPARE(runMailer(m_project, m_letter, m_section, 0, 0).exitCode, 1);
    QCOMPARE(m_sink->connections(), 1);
    for (int id : ids)
        QVERIFY2(logOf(id, m_letter).startsWith(QStringLiteral("2|554")), qPrintable(logOf(id, m_letter)));
}

void TestMailer::closedPortFailsEveryContact()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closed = probe.serverPort();
    probe.close();
    m_db->exec(QStringLiteral("UPDATE projects SET project_smtp_port=%1 WHERE project_id=%2")
                   .arg(db::Sql(QString::number(closed)))
                   .arg(m_project));
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int b = addContact(QStringLiteral("B"), QStringLiteral("b@example.ru"), m_section);
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 0);
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!r.errorOutput.isEmpty());
    for (int id : {a, b}) {
        const QString log = logOf(id, m_letter);
        QVERIFY2(log.startsWith(QStringLiteral("2|")) && log.size() > 2, qPrintable(log));
    }
}

void TestMailer::startTlsIsTriedWhenOffered()
{
    m_sink->setOfferStartTls(true);
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    QCOMPARE(runMailer(m_project, m_letter, m_section, 0, 0).exitCode, 0);
    const QStringList cmds = m_sink->commands();
    QVERIFY(cmds.size() > 2);
    QVERIFY(cmds[0].startsWith(QStringLiteral("EHLO")));
    QCOMPARE(cmds[1], QStringLiteral("STARTTLS"));
    // The server could not start TLS: the mailer goes on without it.
    QCOMPARE(m_sink->mails().size(), 1);
    QCOMPARE(logOf(a, m_letter), QStringLiteral("1|"));
}

void TestMailer::unusableSettingsFailEveryContactWithoutConnecting_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::newRow("port with letters") << QStringLiteral("project_smtp_port=CONCAT(project_smtp_port, 'x')");
    QTest::newRow("port zero") << QStringLiteral("project_smtp_port='0'");
    QTest::newRow("empty host") << QStringLiteral("project_smtp_host=''");
    QTest::newRow("no sender") << QStringLiteral("project_smtp_username='login', project_email='nobody'");
}

void TestMailer::unusableSettingsFailEveryContactWithoutConnecting()
{
    QFETCH(QString, assignment);
    QVERIFY(m_db->exec(QStringLiteral("UPDATE projects SET %1 WHERE project_id=%2").arg(assignment).arg(m_project)));
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int b = addContact(QStringLiteral("B"), QStringLiteral("b@example.ru"), m_section);
    QCOMPARE(runMailer(m_project, m_letter, m_section, 0, 0).exitCode, 1);
    QCOMPARE(m_sink->connections(), 0);
    for (int id : {a, b}) {
        const QString log = logOf(id, m_letter);
        QVERIFY2(log.startsWith(QStringLiteral("2|")) && log.size() > 2, qPrintable(log));
    }
}

void TestMailer::senderIsProjectEmailWhenUserNameIsNoAddress()
{
    m_db->exec(QStringLiteral("UPDATE projects SET project_smtp_username='login' WHERE project_id=%1").arg(m_project));
    addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    QCOMPARE(runMailer(m_project, m_letter, m_section, 0, 0).exitCode, 0);
    QCOMPARE(m_sink->lastUser(), QStringLiteral("login"));
    QCOMPARE(m_sink->mails().size(), 1);
    QCOMPARE(m_sink->mails()[0].from, QStringLiteral("owner@example.org"));
    QCOMPARE(m_sink->mails()[0].header(QStringLiteral("From")), QStringLiteral("<owner@example.org>"));
}

void TestMailer::badArgumentsExitTwoAndWriteNothing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("none") << QStringList{};
    QTest::newRow("four") << QStringList{"1", "1", "1", "0"};
    QTest::newRow("six") << QStringList{"1", "1", "1", "0", "0", "0"};
    QTest::newRow("mode 2") << QStringList{"P", "L", "S", "0", "2"};
    QTest::newRow("mode 01") << QStringList{"P", "L", "S", "0", "01"};
    QTest::newRow("mode 00") << QStringList{"P", "L", "S", "0", "00"};
    QTest::newRow("letters") << QStringList{"P", "abc", "S", "0", "0"};
    QTest::newRow("negative") << QStringList{"P", "L", "-1", "0", "0"};
    QTest::newRow("fraction") << QStringList{"P", "L", "S", "1.5", "0"};
    QTest::newRow("blank") << QStringList{"P", "L", "S", " 0", "0"};
    QTest::newRow("empty") << QStringList{"P", "", "S", "0", "0"};
    QTest::newRow("huge") << QStringList{"P", "L", "S", "99999999999", "0"};
}

void TestMailer::badArgumentsExitTwoAndWriteNothing()
{
    QFETCH(QStringList, args);
    addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    for (QString &a : args) {
        a.replace(QLatin1Char('P'), QString::number(m_project));
        a.replace(QLatin1Char('L'), QString::number(m_letter));
        a.replace(QLatin1Char('S'), QString::number(m_section));
    }
    const RunResult r = runMailer(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(!r.errorOutput.isEmpty());
    QCOMPARE(logRows(), 0);
    QCOMPARE(m_sink->connections(), 0);
}

void TestMailer::foreignLetterOrSectionExitThree()
{
    addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int other = addProject(QStringLiteral("Чужой"), m_sink->port());
    const int foreignLetter = addLetter(other, QStringLiteral("s"), QStringLiteral("b"));
    const int foreignSection = addSection(other, QStringLiteral("Чужой раздел"));
    addContact(QStringLiteral("B"), QStringLiteral("b@example.ru"), foreignSection);

    QCOMPARE(runMailer(m_project, foreignLetter, m_section, 0, 0).exitCode, 3);
    QCOMPARE(runMailer(m_project, m_letter, foreignSection, 0, 0).exitCode, 3);
    QCOMPARE(runMailer(m_project, m_letter + 1000, m_section, 0, 0).exitCode, 3);
    QCOMPARE(runMailer(m_project + 1000, m_letter, m_section, 0, 0).exitCode, 3);
    QCOMPARE(logRows(), 0);
    QCOMPARE(m_sink->connections(), 0);
}

void TestMailer::secondRunUpdatesLogRowsInPlace()
{
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int b = addContact(QStringLiteral("B"), QStringLiteral("b@example.ru"), m_section);
    m_sink->refuseRecipient(QStringLiteral("b@example.ru"));
    QCOMPARE(runMailer(m_project, m_letter, m_section, 3, 0).exitCode, 1);
    QVERIFY(logOf(b, m_letter).startsWith(QStringLiteral("2|550")));
    const QStringList before = m_db->rows(QStringLiteral("SELECT orl_id, orl_contact_id FROM oreglog ORDER BY orl_id"));
    QCOMPARE(before.size(), 2);

    m_sink->acceptAllRecipients();
    QCOMPARE(runMailer(m_project, m_letter, m_section, 9, 0).exitCode, 0);
    QCOMPARE(m_db->rows(QStringLiteral("SELECT orl_id, orl_contact_id FROM oreglog ORDER BY orl_id")), before);
    QCOMPARE(logOf(a, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(b, m_letter), QStringLiteral("1|"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM oreglog WHERE orl_user_id=9")), QStringLiteral("2"));
}

void TestMailer::sentContactStaysSentWhenALaterRunFails()
{
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int b = addContact(QStringLiteral("B"), QStringLiteral("b@example.ru"), m_section);
    QCOMPARE(runMailer(m_project, m_letter, m_section, 3, 0).exitCode, 0);
    QCOMPARE(logOf(a, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(b, m_letter), QStringLiteral("1|"));
    // The sending was some time ago.
    QVERIFY(m_db->exec(QStringLiteral("UPDATE oreglog SET orl_datetime='2026-01-05 10:00:00'")));
    const int c = addContact(QStringLiteral("C"), QStringLiteral("c@example.ru"), m_section);
    const int d = addContact(QStringLiteral("D"), QStringLiteral("d@example.ru"), m_section);
    m_db->exec(QStringLiteral("INSERT INTO oreglog (orl_contact_id, orl_material_id, orl_datetime, orl_status, orl_error) "
                              "VALUES (%1, %2, '2026-01-04 09:00:00', '2', 'old failure')")
                   .arg(d)
                   .arg(m_letter));
    // B's address is no longer one: it fails before any SMTP command.
    m_db->exec(QStringLiteral("UPDATE contacts SET contact_email='b at example.ru' WHERE contact_id=%1").arg(b));

    // A rerun of every contact that fails at the login.
    m_sink->setRefuseLogin(true);
    const int mailsBefore = m_sink->mails().size();
    QCOMPARE(runMailer(m_project, m_letter, m_section, 9, 0).exitCode, 1);
    QCOMPARE(m_sink->mails().size(), mailsBefore);
    const QString row = QStringLiteral("SELECT orl_status, orl_datetime, orl_user_id FROM oreglog "
                                       "WHERE orl_contact_id=%1 AND orl_material_id=%2");
    // Who had the letter still has it, with the date and user of that sending; the failure is noted.
    QCOMPARE(m_db->rows(row.arg(a).arg(m_letter)), QStringList{QStringLiteral("1|2026-01-05 10:00:00|3")});
    QCOMPARE(m_db->rows(row.arg(b).arg(m_letter)), QStringList{QStringLiteral("1|2026-01-05 10:00:00|3")});
    QVERIFY2(logOf(a, m_letter).startsWith(QStringLiteral("1|повторная отправка не удалась: 535 5.7.8")),
             qPrintable(logOf(a, m_letter)));
    QVERIFY2(logOf(b, m_letter).startsWith(QStringLiteral("1|повторная отправка не удалась: ")), qPrintable(logOf(b, m_letter)));
    QVERIFY(logOf(b, m_letter).size() > QStringLiteral("1|повторная отправка не удалась: ").size());
    // Who never had it failed, as before.
    QVERIFY2(logOf(c, m_letter).startsWith(QStringLiteral("2|535 5.7.8")), qPrintable(logOf(c, m_letter)));
    QVERIFY2(logOf(d, m_letter).startsWith(QStringLiteral("2|535 5.7.8")), qPrintable(logOf(d, m_letter)));
    QCOMPARE(m_db->rows(row.arg(d).arg(m_letter)).value(0).section(QLatin1Char('|'), 2), QStringLiteral("9"));
    QCOMPARE(logRows(), 4);

    // Mailing the not-yet-mailed sends to those two only.
    m_sink->setRefuseLogin(false);
    QCOMPARE(runMailer(m_project, m_letter, m_section, 9, 1).exitCode, 0);
    QStringList to;
    for (const auto &m : m_sink->mails().mid(mailsBefore))
        to << m.recipients;
    QCOMPARE(to, (QStringList{QStringLiteral("c@example.ru"), QStringLiteral("d@example.ru")}));
    QCOMPARE(logOf(c, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(d, m_letter), QStringLiteral("1|"));
    QCOMPARE(m_db->rows(row.arg(a).arg(m_letter)), QStringList{QStringLiteral("1|2026-01-05 10:00:00|3")});
}

void TestMailer::emptySectionExitsZero()
{
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 1);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(logRows(), 0);
    QCOMPARE(m_sink->connections(), 0);
}

// The base goes away just after a letter has gone out: once while the log
// row's statement is on its way (the connection is killed under it), once for
// a while (the connection is killed and no new one is let in for a second).
// Every row is written when the connection is back, and a rerun for the
// contacts not reached yet sends nothing again.
void TestMailer::logRowFollowsItsLetterOverALostConnection()
{
    QList<int> ids;
    for (const char *name : {"a", "b", "c", "d"})
        ids << addContact(QString::fromLatin1(name), QStringLiteral("%1@example.ru").arg(QLatin1String(name)), m_section);
    // The mailer logs in as an account of its own, which can be locked out.
    const QString account = QStringLiteral("'m%1'@'localhost'").arg(m_db->name());
    QVERIFY2(m_db->exec(QStringLiteral("CREATE USER %1 IDENTIFIED BY 'pw'").arg(account)), qPrintable(m_db->error()));
    const auto dropAccount = qScopeGuard([&] { m_db->exec(QStringLiteral("DROP USER IF EXISTS ") + account); });
    QVERIFY(m_db->exec(QStringLiteral("GRANT ALL ON %1.* TO %2").arg(m_db->name(), account)));
    writeConfig(QStringLiteral("m") + m_db->name(), QStringLiteral("pw"));
    test::SecondCopy other(*m_db);
    QVERIFY2(other.ok(), qPrintable(other.error()));
    const QString mailerConnection = QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST WHERE USER=%1 AND %2")
                                         .arg(db::Sql(QStringLiteral("m") + m_db->name()));
    QTimer watch;
    watch.setInterval(10);
    int kills = 0;
    connect(m_sink.get(), &SmtpSink::mailReceived, this, [&] {
        if (m_sink->mails().size() == 2) {
            // The log row's statement waits on the table; the connection dies under it.
            QVERIFY(other.exec(QStringLiteral("LOCK TABLES oreglog WRITE")));
            connect(&watch, &QTimer::timeout, this, [&] {
                const QString id = m_db->scalar(mailerConnection.arg(QStringLiteral("INFO LIKE 'INSERT INTO oreglog%'")));
                if (id.isEmpty())
                    return;
                watch.stop();
                kills += m_db->exec(QStringLiteral("KILL ") + id);
                QVERIFY(other.exec(QStringLiteral("UNLOCK TABLES")));
            });
            watch.start();
        } else if (m_sink->mails().size() == 3) {
            // No connection to be had for a second.
            QVERIFY(m_db->exec(QStringLiteral("ALTER USER %1 ACCOUNT LOCK").arg(account)));
            kills += m_db->exec(QStringLiteral("KILL ") + m_db->scalar(mailerConnection.arg(QStringLiteral("1"))));
            QTimer::singleShot(1000, this,
                               [&] { QVERIFY(m_db->exec(QStringLiteral("ALTER USER %1 ACCOUNT UNLOCK").arg(account))); });
        }
    });
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 0);
    QVERIFY2(r.exitCode == 0, qPrintable(r.errorOutput));
    QCOMPARE(kills, 2);
    QCOMPARE(m_sink->mails().size(), 4);
    for (int id : ids)
        QCOMPARE(logOf(id, m_letter), QStringLiteral("1|"));
    QCOMPARE(runMailer(m_project, m_letter, m_section, 0, 1).exitCode, 0);
    QCOMPARE(m_sink->mails().size(), 4);
}

// A log row that cannot be written at all stops the mailing at once: the
// output and the exit code say that the contact got the letter unlogged.
void TestMailer::unloggableLetterStopsTheMailingAndNamesItsContact()
{
    const int a = addContact(QStringLiteral("A"), QStringLiteral("a@example.ru"), m_section);
    const int b = addContact(QStringLiteral("Борис"), QStringLiteral("b@example.ru"), m_section);
    addContact(QStringLiteral("C"), QStringLiteral("c@example.ru"), m_section);
    connect(m_sink.get(), &SmtpSink::mailReceived, this, [&] {
        if (m_sink->mails().size() == 2)
            QVERIFY(m_db->exec(QStringLiteral("RENAME TABLE oreglog TO oreglog_away")));
    });
    const RunResult r = runMailer(m_project, m_letter, m_section, 0, 0);
    QVERIFY(m_db->exec(QStringLiteral("RENAME TABLE oreglog_away TO oreglog")));
    QCOMPARE(r.exitCode, 4);
    QVERIFY2(r.errorOutput.contains(QStringLiteral("не записано в журнал рассылки: контакт %1 \"Борис\" <b@example.ru>").arg(b)),
             qPrintable(r.errorOutput));
    QCOMPARE(m_sink->mails().size(), 2);
    QCOMPARE(logOf(a, m_letter), QStringLiteral("1|"));
    QCOMPARE(logOf(b, m_letter), QString());
}

QTEST_GUILESS_MAIN(TestMailer)
#include "tst_mailer.moc"
