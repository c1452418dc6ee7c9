// The dialogs of the contacts tab that feed a column: the SMTP settings
// window's save against a real server and a second connection playing
// another copy of the program, and the new subsection's name.
#include "contacts/tfrmemailconfig.h"
#include "contacts/tfrmosubjectadd.h"
#include "support/paste.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/testdb.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace qv;
using qv::test::ScriptedPrompt;
using qv::test::SecondCopy;
using qv::test::TestDb;

class TestContactDialogs : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    int m_project = 0;

    TestDb &db() { return *m_db; }
    QString stored()
    {
        return db().scalar(QStringLiteral("SELECT CONCAT_WS('|', project_name, project_smtp_username, project_smtp_password, "
                                          "project_smtp_host, project_smtp_port) FROM projects WHERE project_id=%1")
                               .arg(m_project));
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QVERIFY(db().exec(
            QStringLiteral("INSERT INTO projects SET project_name='one', project_smtp_username='mailer', "
                           "project_smtp_password='Secret', project_smtp_host='smtp.example', project_smtp_port='25'")));
        m_project = db().scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
    }
    void cleanup() { m_db.reset(); }

    // Every edit takes a pasted value whole; one longer than its column is
    // refused with one message naming the field and its limit; nothing is
    // written and the window stays open with the edits.
    void tooLongValueIsRefused()
    {
        ScriptedPrompt p;
        contacts::TfrmEmailConfig cfg;
        QSignalSpy accepted(&cfg, &QDialog::accepted);
        QVERIFY(cfg.load(m_project));
        const QString pasted = qv::test::longerThanALineEdit();
        for (QLineEdit *e : {cfg.edtUserName, cfg.edtPassword, cfg.edtHost, cfg.edtPort}) {
            qv::test::paste(e, pasted);
            QCOMPARE(e->text(), pasted);
        }
        for (QLineEdit *e : {cfg.edtUserName, cfg.edtPassword, cfg.edtPort})
            e->setText(QStringLiteral("ok"));
        QTest::mouseClick(cfg.btnSaveEmailConfig, Qt::LeftButton);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"Имя сервера или IP адрес (Host)\""))
                     && p.messages[0].contains(QStringLiteral("255 символов")),
                 qPrintable(p.messages[0]));
        QCOMPARE(accepted.size(), 0);
        QCOMPARE(cfg.edtHost->text(), pasted);
        QCOMPARE(stored(), QStringLiteral("one|mailer|Secret|smtp.example|25"));

        cfg.edtHost->setText(QStringLiteral("host"));
        cfg.edtPort->setText(QString(33, QLatin1Char('9')));
        QTest::mouseClick(cfg.btnSaveEmailConfig, Qt::LeftButton);
        QVERIFY2(p.messages.value(1).contains(QStringLiteral("\"Порт (Port)\""))
                     && p.messages[1].contains(QStringLiteral("32 символов")),
                 qPrintable(p.messages.value(1)));
        QCOMPARE(stored(), QStringLiteral("one|mailer|Secret|smtp.example|25"));
    }

    // Settings another copy changed after the window loaded them (a change
    // of letter case alone counts) are written over only when the user says
    // so, and the question names the field that copy changed. Other columns
    // of the project are not the window's and stay as that copy left them.
    void settingsChangedByAnotherCopy()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        contacts::TfrmEmailConfig cfg;
        QSignalSpy accepted(&cfg, &QDialog::accepted);
        QVERIFY(cfg.load(m_project));
        cfg.edtHost->setText(QStringLiteral("smtp.ours"));
        QVERIFY(other.exec(QStringLiteral("UPDATE projects SET project_smtp_password='secret', project_name='их имя'")));

        p.answers = {false};
        QTest::mouseClick(cfg.btnSaveEmailConfig, Qt::LeftButton);
        QCOMPARE(p.questions, QStringList{QStringLiteral(
                                  "Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                                  "В другой копии программы изменено поле \"Пароль (Password)\"; его значение в базе "
                                  "будет заменено значением из этого окна.")});
        QCOMPARE(accepted.size(), 0);
        QCOMPARE(stored(), QStringLiteral("их имя|mailer|secret|smtp.example|25"));
        QCOMPARE(cfg.edtHost->text(), QStringLiteral("smtp.ours"));

        p.answers = {true};
        QTest::mouseClick(cfg.btnSaveEmailConfig, Qt::LeftButton);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(stored(), QStringLiteral("их имя|mailer|Secret|smtp.ours|25"));
        QVERIFY(p.messages.isEmpty());
    }

    // The new subsection's name takes a pasted value whole.
    void subsectionNameIsKeptWhole()
    {
        contacts::TfrmOSubjectAdd add;
        const QString pasted = qv::test::longerThanALineEdit();
        qv::test::paste(add.edtOsubjectName, pasted);
        QCOMPARE(add.edtOsubjectName->text(), pasted);
    }
};

QTEST_MAIN(TestContactDialogs)
#include "tst_contactdialogs.moc"
