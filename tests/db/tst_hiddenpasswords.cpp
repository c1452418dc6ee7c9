// A failing save of a window that writes a password shows the statement
// without it: the user editor, the password manager and the SMTP settings,
// each saved while another user holds its table.
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
}

class TestHiddenPasswords : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<db::Database> m_holder;

    // Another user locks `table` for a moment; the program waits one second, then fails.
    bool holdTable(const QString &table)
    {
        m_holder = std::make_unique<db::Database>();
        if (!m_holder->create()
            || !m_holder->connect(TestDb::host(), TestDb::user(), TestDb::password(), TestDb::fixturePort())
            || !m_holder->selectDatabase(m_db->name()))
            return false;
        return m_db->exec(QStringLiteral("SET SESSION lock_wait_timeout=1"))
               && m_holder->query(QStringLiteral("LOCK TABLES ") + table + QStringLiteral(" WRITE")) == 0;
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
    void cleanup()
    {
        m_holder.reset();
        m_db.reset();
    }

    void userEditor()
    {
        ScriptedPrompt p;
        users::TfrmUserEdit editor;
        QVERIFY(editor.loadUser(0));
        editor.EditMode = QStringLiteral("UPDATE");
        editor.EditUserId = 0;
        editor.edtPassword->setText(kSecret);
        editor.edtFIO->setText(QStringLiteral("Администратор"));
        QVERIFY(holdTable(QStringLiteral("users")));
        editor.btnSave->click();
        checkHidden(p, QStringLiteral("UPDATE users SET user_login="));
        QVERIFY(p.messages[0].contains(QStringLiteral("user_fio=\"Администратор\"")));
    }

    void passwordManager()
    {
        core::AppContext ctx;
        ctx.CurrentUserId = 0;
        ctx.CurrentProjectId = m_db->scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='one'")).toInt();
        ctx.CurrentKind = QStringLiteral("catalogs");
        ctx.SelectedResourceId = 42;
        workbench::TfrmAuth auth(ctx);
        ScriptedPrompt p;
        p.dialogs = {[&](QDialog *) {
            auth.edtLogin->setText(QStringLiteral("seo-user"));
            auth.edtPassword->setText(kSecret);
            // The table is taken while the window is open.
            if (!holdTable(QStringLiteral("cauth")))
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
        QVERIFY(holdTable(QStringLiteral("projects")));
        cfg.btnSaveEmailConfig->click();
        checkHidden(p, QStringLiteral("UPDATE projects SET project_smtp_username="));
        QVERIFY(p.messages[0].contains(QStringLiteral("project_smtp_host=\"smtp.example\"")));
    }
};

QTEST_MAIN(TestHiddenPasswords)
#include "tst_hiddenpasswords.moc"
