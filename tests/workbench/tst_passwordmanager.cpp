// The password manager's save against a real server and a second connection
// playing another copy of the program: values too long for their columns, an
// entry the other copy changed or stored meanwhile, line edits that take a
// pasted value whole.
#include "core/appcontext.h"
#include "support/paste.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/testdb.h"
#include "workbench/tfrmauth.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::ScriptedPrompt;
using qv::test::SecondCopy;
using qv::test::TestDb;

class TestPasswordManager : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    core::AppContext m_ctx;
    int m_p1 = 0, m_p2 = 0;

    TestDb &db() { return *m_db; }
    // Every stored entry: resource, project, login, password.
    QStringList entries()
    {
        return db().rows(QStringLiteral("SELECT cauth_catalog_id, cauth_project_id, cauth_login, cauth_password FROM cauth "
                                        "ORDER BY cauth_id"));
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QVERIFY(db().exec(QStringLiteral("INSERT INTO projects SET project_name='one', project_config_deflogin='seo'")));
        m_p1 = db().scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        QVERIFY(db().exec(QStringLiteral("INSERT INTO projects SET project_name='two'")));
        m_p2 = db().scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        m_ctx = core::AppContext();
        m_ctx.CurrentUserId = 0;
        m_ctx.CurrentProjectId = m_p1;
        m_ctx.CurrentKind = core::Kind::Catalogs;
        m_ctx.SelectedResourceId = 42;
    }
    void cleanup() { m_db.reset(); }

    // A pasted value longer than a line edit's default stays whole; one
    // longer than its column is refused with one message naming the field
    // and its limit, nothing is written, and the window stays open with the
    // edits until they fit. The default login is refused the same way.
    void tooLongValuesAreRefusedAndKept()
    {
        ScriptedPrompt p;
        TfrmAuth auth(m_ctx);
        QSignalSpy closed(&auth, &QDialog::finished);
        const QString pasted = qv::test::longerThanALineEdit();
        QStringList seen;
        p.dialogs = {[&](QDialog *) {
                         qv::test::paste(auth.edtLogin, pasted);
                         qv::test::paste(auth.edtPassword, pasted);
                         seen << QString::number(auth.edtLogin->text().size())
                              << QString::number(auth.edtPassword->text().size());
                         // Ticked with the long login: not stored as the default.
                         auth.cbDefaultLogin->click();
                         seen << QString::number(auth.cbDefaultLogin->isChecked());
                         auth.Button1->click();
                         seen << QString::number(closed.size()) << QString::number(entries().size());
                         return int(QDialog::Accepted);
                     },
                     [&](QDialog *) {
                         // Shown again with the edits whole.
                         seen << (auth.edtLogin->text() == pasted ? QStringLiteral("kept") : QStringLiteral("changed"));
                         auth.edtLogin->setText(QString(255, QChar(0x2014)));
                         auth.edtPassword->setText(QStringLiteral("pw"));
                         auth.Button1->click();
                         seen << QString::number(closed.size());
                         return int(QDialog::Accepted);
                     }};
        QCOMPARE(auth.tbnAuthClick(), TfrmAuth::SavedToFill);
        QCOMPARE(seen, (QStringList{"40000", "40000", "0", "0", "0", "kept", "1"}));
        QCOMPARE(p.messages.size(), 2);
        for (const QString &m : p.messages)
            QVERIFY2(m.contains(QStringLiteral("\"Логин\"")) && m.contains(QStringLiteral("255 символов")), qPrintable(m));
        QCOMPARE(entries(), QStringList{QStringLiteral("42|%1|%2|pw").arg(m_p1).arg(QString(255, QChar(0x2014)))});
        QCOMPARE(db().scalar(QStringLiteral("SELECT project_config_deflogin FROM projects WHERE project_id=%1").arg(m_p1)),
                 QStringLiteral("seo"));
    }

    // Another copy changed the stored entry after the window showed it (a
    // change of letter case alone counts): the save asks, naming the field
    // that copy changed. "Нет" writes nothing and keeps the window open with
    // the edits; "Да" writes them into that entry alone.
    void entryChangedByAnotherCopy()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        const QString entry = QStringLiteral("INSERT INTO cauth SET cauth_catalog_id=%1, cauth_project_id=%2, cauth_login='%3', "
                                             "cauth_password='%4'");
        QVERIFY(db().exec(entry.arg(41).arg(m_p1).arg(QStringLiteral("a"), QStringLiteral("A-pw"))));
        QVERIFY(db().exec(entry.arg(42).arg(m_p1).arg(QStringLiteral("old"), QStringLiteral("Secret"))));
        QVERIFY(db().exec(entry.arg(42).arg(m_p2).arg(QStringLiteral("b"), QStringLiteral("B-pw"))));
        QVERIFY(db().exec(entry.arg(43).arg(m_p1).arg(QStringLiteral("c"), QStringLiteral("C-pw"))));
        const QStringList before = entries();
        TfrmAuth auth(m_ctx);
        QSignalSpy closed(&auth, &QDialog::finished);
        QStringList seen;
        p.answers = {false, true};
        p.dialogs = {[&](QDialog *) {
                         seen << auth.edtLogin->text() + QLatin1Char('|') + auth.edtPassword->text();
                         if (!other.exec(QStringLiteral("UPDATE cauth SET cauth_password='secret' WHERE cauth_catalog_id=42 "
                                                        "AND cauth_project_id=%1")
                                             .arg(m_p1)))
                             seen << other.error();
                         auth.edtLogin->setText(QStringLiteral("mine"));
                         auth.Button1->click();
                         seen << QString::number(closed.size()) << entries().join(QLatin1Char(';'));
                         return int(QDialog::Accepted);
                     },
                     [&](QDialog *) {
                         seen << auth.edtLogin->text() + QLatin1Char('|') + auth.edtPassword->text();
                         auth.Button1->click();
                         seen << QString::number(closed.size());
                         return int(QDialog::Accepted);
                     }};
        QCOMPARE(auth.tbnAuthClick(), TfrmAuth::SavedToFill);
        QStringList changed = before;
        changed[1] = QStringLiteral("42|%1|old|secret").arg(m_p1);
        QCOMPARE(seen, (QStringList{QStringLiteral("old|Secret"), QStringLiteral("0"), changed.join(QLatin1Char(';')),
                                    QStringLiteral("mine|Secret"), QStringLiteral("1")}));
        const QString question =
            QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                           "В другой копии программы изменено поле \"Пароль\"; его значение в базе будет "
                           "заменено значением из этого окна.");
        QCOMPARE(p.questions, QStringList(2, question));
        QStringList saved = before;
        saved[1] = QStringLiteral("42|%1|mine|Secret").arg(m_p1);
        QCOMPARE(entries(), saved);
        QVERIFY(p.messages.isEmpty());
    }

    // An entry the other copy stored while this window showed none is that
    // copy's record of the account: the save asks before writing over it, and
    // "Да" updates it instead of adding a second entry.
    void entryStoredByAnotherCopyMeanwhile()
    {
        ScriptedPrompt p;
        SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        TfrmAuth auth(m_ctx);
        p.answers = {false, true};
        QStringList seen;
        auto type = [&](QDialog *) {
            if (!auth.rbManual->isChecked())
                seen << QStringLiteral("not manual");
            auth.edtLogin->setText(QStringLiteral("mine"));
            auth.edtPassword->setText(QStringLiteral("my-pw"));
            auth.Button1->click();
            seen << entries().join(QLatin1Char(';'));
            return int(QDialog::Accepted);
        };
        p.dialogs = {[&](QDialog *d) {
                         if (!other.exec(QStringLiteral("INSERT INTO cauth SET cauth_catalog_id=42, cauth_project_id=%1, "
                                                        "cauth_login='their', cauth_password='their-pw'")
                                             .arg(m_p1)))
                             seen << other.error();
                         return type(d);
                     },
                     type};
        QCOMPARE(auth.tbnAuthClick(), TfrmAuth::SavedToFill);
        QCOMPARE(seen.value(0), QStringLiteral("42|%1|their|their-pw").arg(m_p1));
        QCOMPARE(p.questions.size(), 2);
        QVERIFY2(p.questions[0].endsWith(QStringLiteral("изменены поля \"Логин\", \"Пароль\"; их значения в базе будут "
                                                        "заменены значениями из этого окна.")),
                 qPrintable(p.questions[0]));
        QCOMPARE(entries(), QStringList{QStringLiteral("42|%1|mine|my-pw").arg(m_p1)});

        // The other copy deletes it: the save says so and keeps the window;
        // the next close stores the entry anew.
        p.answers.clear();
        p.dialogs = {[&](QDialog *) {
                         if (!other.exec(QStringLiteral("DELETE FROM cauth")))
                             seen << other.error();
                         auth.edtPassword->setText(QStringLiteral("new-pw"));
                         auth.Button1->click();
                         seen << QString::number(entries().size());
                         return int(QDialog::Accepted);
                     },
                     [&](QDialog *) {
                         auth.reject();
                         return int(QDialog::Rejected);
                     }};
        QCOMPARE(auth.tbnAuthClick(), TfrmAuth::Saved);
        QCOMPARE(seen.last(), QStringLiteral("0"));
        QCOMPARE(p.messages, QStringList{QStringLiteral(
                                 "Запись удалена из базы после того, как вы её открыли. Ваши изменения не записаны.")});
        QCOMPARE(entries(), QStringList{QStringLiteral("42|%1|mine|new-pw").arg(m_p1)});
    }
};

QTEST_MAIN(TestPasswordManager)
#include "tst_passwordmanager.moc"
