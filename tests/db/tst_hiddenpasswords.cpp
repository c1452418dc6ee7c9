// A failing save of a window that writes a password shows the statement
// without it: the user editor, the password manager and the SMTP settings,
// each saved while the server refuses to write its table. Nor does the
// server's own text show it where it quotes the statement.
#include "contacts/tfrmemailconfig.h"
#include "core/appcontext.h"
#include "db/database.h"
#include "db/query.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "users/tfrmuseredit.h"
#include "workbench/tfrmauth.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace qv;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
// Quotes and backslashes: the hidden value must end where its literal ends.
const QString kSecret = QStringLiteral("S3cret-\"Pa55' \\ x");
} // namespace

class TestHiddenPasswords : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;

    // The server refuses every `what` ("INSERT", "UPDATE") of `table`.
    bool refuse(const QString &table, const QString &what)
    {
        return m_db->exec(QStringLiteral("CREATE TRIGGER qv_refuse BEFORE %1 ON %2 FOR EACH ROW "
                                         "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='refused'")
                              .arg(what, table));
    }
    // The messages shown name the statement but not the password.
    static void checkHidden(const ScriptedPrompt &p, const QString &statementStart)
    {
        QCOMPARE(p.messages.size(), 1);
        const QString &m = p.messages[0];
        QVERIFY2(m.contains(statementStart), qPrintable(m));
        QVERIFY2(m.contains(QStringLiteral("***")), qPrintable(m));
        QVERIFY2(!m.contains(QStringLiteral("S3cret")), qPrintable(m));
        QVERIFY2(!m.contains(QStringLiteral("Pa55")), qPrintable(m));
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO projects SET project_name='one'")));
    }
    void cleanup() { m_db.reset(); }

    void userEditor()
    {
        ScriptedPrompt p;
        users::TfrmUserEdit editor;
        QVERIFY(editor.loadUser(0));
        editor.EditMode = QStringLiteral("UPDATE");
        editor.EditUserId = 0;
        editor.edtPassword->setText(kSecret);
        editor.edtFIO->setText(QStringLiteral("Администратор"));
        QVERIFY(refuse(QStringLiteral("users"), QStringLiteral("UPDATE")));
        editor.btnSave->click();
        checkHidden(p, QStringLiteral("UPDATE users SET user_login="));
        QVERIFY(p.messages[0].contains(QStringLiteral("user_fio=\"Администратор\"")));
    }

    void passwordManager()
    {
        core::AppContext ctx;
        ctx.CurrentUserId = 0;
        ctx.CurrentProjectId = m_db->scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='one'")).toInt();
        ctx.CurrentKind = core::Kind::Catalogs;
        ctx.SelectedResourceId = 42;
        workbench::TfrmAuth auth(ctx);
        ScriptedPrompt p;
        p.dialogs = {[&](QDialog *) {
            auth.edtLogin->setText(QStringLiteral("seo-user"));
            auth.edtPassword->setText(kSecret);
            // The table is refused while the window is open.
            if (!refuse(QStringLiteral("cauth"), QStringLiteral("INSERT")))
                return 0;
            auth.Button1->click();
            return 1;
        }};
        auth.tbnAuthClick();
        checkHidden(p, QStringLiteral("INSERT INTO cauth"));
        QVERIFY(p.messages[0].contains(QStringLiteral("\"seo-user\"")));
    }

    void smtpSettings()
    {
        const int project = m_db->scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='one'")).toInt();
        ScriptedPrompt p;
        contacts::TfrmEmailConfig cfg;
        QVERIFY(cfg.load(project));
        cfg.edtUserName->setText(QStringLiteral("mailer"));
        cfg.edtPassword->setText(kSecret);
        cfg.edtHost->setText(QStringLiteral("smtp.example"));
        cfg.edtPort->setText(QStringLiteral("25"));
        QVERIFY(refuse(QStringLiteral("projects"), QStringLiteral("UPDATE")));
        cfg.btnSaveEmailConfig->click();
        checkHidden(p, QStringLiteral("UPDATE projects SET project_smtp_username="));
        QVERIFY(p.messages[0].contains(QStringLiteral("project_smtp_host=\"smtp.example\"")));
    }

    // A syntax error quotes the statement from the point of the error on,
    // cut after some characters: wherever the cut falls, no part of the
    // password is shown, neither in the statement nor in the server's text.
    void serverTextQuotingTheStatement()
    {
        const QString escaped = db::EscapeSqlText(kSecret);
        for (int filler = 0; filler <= 90; filler += 3) {
            ScriptedPrompt p;
            // "user_fio" lacks its "=": the error is there, before the password.
            const QString sql = QStringLiteral("UPDATE users SET user_login=\"x\", user_fio ")
                                + db::Sql(QString(filler, QLatin1Char('f'))) + QStringLiteral(", user_password=")
                                + db::Sql(kSecret) + QStringLiteral(" WHERE user_id=0");
            QVERIFY(db::ExecQuery(sql) != 0);
            QCOMPARE(p.messages.size(), 1);
            const QString &m = p.messages[0];
            QVERIFY2(m.contains(QStringLiteral("near '")), qPrintable(m));
            for (qsizetype n = 2; n <= escaped.size(); ++n) {
                QVERIFY2(!m.contains(escaped.left(n)), qPrintable(QString::number(filler) + QLatin1Char(' ') + m));
                QVERIFY2(!m.contains(kSecret.left(n)), qPrintable(QString::number(filler) + QLatin1Char(' ') + m));
            }
        }
    }
};

QTEST_MAIN(TestHiddenPasswords)
#include "tst_hiddenpasswords.moc"
