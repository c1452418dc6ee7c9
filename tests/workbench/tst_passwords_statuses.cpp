// The password manager and the registration statuses against a real database.
#include "core/appcontext.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "workbench/statuses.h"
#include "workbench/tfrmauth.h"
#include "userroad.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
// A registration form with a title, a login and a password field.
const char *const kLoginPage = R"HTML(<!doctype html><html><head><meta charset="utf-8"></head><body>
<form>
<input name="title" id="title">
<input name="login" id="login">
<input type="password" name="pwd" id="pwd">
</form></body></html>)HTML";

// The main window with the password manager as the program wires it, a site
// description, and a catalog whose page is a local form, opened as a user
// opens it: the project, the branch, the rubric, the resource.
struct PasswordRoad : qv::test::Road {
    TfrmAuth *auth = nullptr;
    int catalog = 0;

    bool open()
    {
        if (!w.db.ok())
            return false;
        auth = new TfrmAuth(w.ctx, w.main.get());
        w.main->browser->attachAuth(auth);
        for (const char *name : {"Первое", "Второе"})
            w.db.exec(QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='%1', cmaterial_title='Заголовок: %1', "
                                     "cmaterial_project_id=%2")
                          .arg(QString::fromUtf8(name))
                          .arg(w.projectId));
        addResource(QStringLiteral("catalogs"), QStringLiteral("cat.example"), 10, kLoginPage,
                    QStringLiteral("catalog_title_site='title', CATALOG_LOGIN_PROGRAM='login', CATALOG_PASSWORD_PROGRAM='pwd'"));
        catalog = w.db.scalar(QStringLiteral("SELECT catalog_id FROM catalogs WHERE catalog_name='cat.example'")).toInt();
        w.db.exec(QStringLiteral("INSERT INTO cauth SET cauth_login='old', cauth_password='old-pw', cauth_project_id=%1, "
                                 "cauth_catalog_id=%2")
                      .arg(w.projectId)
                      .arg(catalog));
        return qv::test::showMain(w) && qv::test::chooseProject(w)
               && openRubric(TopCatalogs, {QStringLiteral("Интернет и компьютеры"), QStringLiteral("Веб-дизайн и хостинг")})
               && openResource(QStringLiteral("cat.example"));
    }
    // A click on "Пароли"; `act` plays the user in the window. Waits for a
    // fill that follows.
    void pressPasswords(const std::function<int()> &act)
    {
        p.dialogs = {[act](QDialog *) { return act(); }};
        QTest::mouseClick(w.main->browser->tbnAuth, Qt::LeftButton);
        QTest::qWait(50);
        for (int i = 0; i < 400 && filler()->isBusy(); ++i)
            QTest::qWait(50);
    }
};
} // namespace

class TestPasswordsStatuses : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    core::AppContext m_ctx;
    int m_p1 = 0, m_p2 = 0;

    // Opens the manager; `act` plays the user inside the window.
    QStringList open(TfrmAuth &auth, const std::function<void()> &act)
    {
        ScriptedPrompt p;
        p.dialogs = {[&](QDialog *) {
            act();
            return 1;
        }};
        auth.tbnAuthClick();
        return p.dialogsShown;
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO projects SET project_name='one', project_config_deflogin='seo-user'")));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO projects SET project_name='two'")));
        m_p1 = m_db->scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='one'")).toInt();
        m_p2 = m_db->scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='two'")).toInt();
        m_ctx = core::AppContext();
        m_ctx.CurrentUserId = 0;
        m_ctx.CurrentProjectId = m_p1;
        m_ctx.CurrentKind = core::Kind::Catalogs;
        m_ctx.SelectedResourceId = 42;
    }
    void cleanup() { m_db.reset(); }

    void storesAndReloadsEntries_data()
    {
        QTest::addColumn<core::Kind>("kind");
        QTest::addColumn<QString>("table");
        QTest::newRow("catalogs") << core::Kind::Catalogs << QStringLiteral("cauth");
        QTest::newRow("forums") << core::Kind::Forums << QStringLiteral("fauth");
        QTest::newRow("soft") << core::Kind::Soft << QStringLiteral("sauth");
    }
    void storesAndReloadsEntries()
    {
        QFETCH(core::Kind, kind);
        QFETCH(QString, table);
        m_ctx.CurrentKind = kind;
        TfrmAuth auth(m_ctx);
        // No entry: manual choice, empty edits; the typed entry is stored exactly.
        open(auth, [&] {
            QVERIFY(auth.rbManual->isChecked());
            QVERIFY(auth.edtLogin->text().isEmpty());
            auth.edtLogin->setText(QStringLiteral("иван\"o'k"));
            auth.edtPassword->setText(QStringLiteral("C:\\ dir\\"));
            auth.Button1Click();
        });
        QCOMPARE(m_db->rows(QStringLiteral("SELECT %1_login, %1_password, %1_project_id FROM %1").arg(table)),
                 QStringList{QStringLiteral("иван\"o'k|C:\\ dir\\|%1").arg(m_p1)});
        // Reopened: the stored entry, kept choice; a change updates the same row.
        open(auth, [&] {
            QVERIFY(auth.rbOld->isChecked());
            QCOMPARE(auth.edtLogin->text(), QStringLiteral("иван\"o'k"));
            QCOMPARE(auth.edtPassword->text(), QStringLiteral("C:\\ dir\\"));
            auth.edtPassword->setText(QStringLiteral("new"));
        });
        QCOMPARE(m_db->rows(QStringLiteral("SELECT %1_password FROM %1").arg(table)), QStringList{QStringLiteral("new")});
        // Another project keeps its own row for the same resource.
        m_ctx.CurrentProjectId = m_p2;
        open(auth, [&] {
            QVERIFY(auth.edtLogin->text().isEmpty());
            auth.edtLogin->setText(QStringLiteral("second"));
        });
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), QStringLiteral("2"));
    }

    void closingEmptySavesNothing()
    {
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO cauth SET cauth_login='keep', cauth_password='me', "
                                          "cauth_project_id=%1, cauth_catalog_id=42")
                               .arg(m_p1)));
        TfrmAuth auth(m_ctx);
        open(auth, [&] {
            auth.rbManual->click();
            QVERIFY(auth.edtLogin->text().isEmpty());
        });
        QCOMPARE(m_db->rows(QStringLiteral("SELECT cauth_login, cauth_password FROM cauth")),
                 QStringList{QStringLiteral("keep|me")});
    }

    void generatedPasswordAndDefaultLogin()
    {
        TfrmAuth auth(m_ctx);
        QSet<QString> passwords;
        open(auth, [&] {
            for (int i = 0; i < 5; ++i) {
                auth.rbAuto->click();
                QCOMPARE(auth.edtLogin->text(), QStringLiteral("seo-user"));
                const QString pw = auth.edtPassword->text();
                QVERIFY(QRegularExpression(QStringLiteral("^(0|[1-9][0-9]{0,8})$")).match(pw).hasMatch());
                passwords << pw;
            }
            // Ticking the box stores the login shown as the project's default at once.
            auth.edtLogin->setText(QStringLiteral("new-default"));
            auth.cbDefaultLogin->click();
            QCOMPARE(m_db->scalar(QStringLiteral("SELECT project_config_deflogin FROM projects WHERE project_id=%1").arg(m_p1)),
                     QStringLiteral("new-default"));
            // Typing afterwards unticks it and stores nothing.
            auth.edtLogin->setText(QStringLiteral("typed"));
            QVERIFY(!auth.cbDefaultLogin->isChecked());
        });
        QVERIFY(passwords.size() > 1);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT project_config_deflogin FROM projects WHERE project_id=%1").arg(m_p1)),
                 QStringLiteral("new-default"));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT cauth_login FROM cauth")), QStringLiteral("typed"));
    }

    void noSelectionDoesNothing()
    {
        TfrmAuth auth(m_ctx);
        auth.hasSelection = [] { return false; };
        ScriptedPrompt p;
        auth.tbnAuthClick();
        QVERIFY(p.dialogsShown.isEmpty());
    }

    // "Сохр. пароль и заполнить поля" opened from "Пароли" saves the entry and
    // fills the page with it, as it does when the filler opened the window,
    // with the site description the page holds; the close box saves without
    // filling.
    void passwordButtonSavesAndFills()
    {
        PasswordRoad r;
        QVERIFY(r.open());
        QCOMPARE(r.value("login"), QStringLiteral("old"));
        QCOMPARE(r.value("pwd"), QStringLiteral("old-pw"));
        const QString title = r.value("title");
        QVERIFY(title.startsWith(QStringLiteral("Заголовок: ")));
        r.clearPage();
        r.pressPasswords([&] {
            r.auth->rbManual->click();
            r.auth->edtLogin->setText(QStringLiteral("new \"login\""));
            r.auth->edtPassword->setText(QStringLiteral("new\\pw"));
            r.auth->Button1->click();
            return int(QDialog::Accepted);
        });
        QCOMPARE(r.p.dialogsShown, QStringList{QStringLiteral("frmAuth")});
        QCOMPARE(r.w.db.rows(QStringLiteral("SELECT cauth_login, cauth_password FROM cauth")),
                 QStringList{QStringLiteral("new \"login\"|new\\pw")});
        QCOMPARE(r.value("login"), QStringLiteral("new \"login\""));
        QCOMPARE(r.value("pwd"), QStringLiteral("new\\pw"));
        QCOMPARE(r.value("title"), title);

        r.clearPage();
        r.pressPasswords([&] {
            r.auth->edtPassword->setText(QStringLiteral("closed"));
            r.auth->reject();
            return int(QDialog::Rejected);
        });
        QCOMPARE(r.w.db.scalar(QStringLiteral("SELECT cauth_password FROM cauth")), QStringLiteral("closed"));
        QCOMPARE(r.value("pwd"), QString());
        QVERIFY2(r.p.messages.isEmpty(), qPrintable(r.p.messages.join(QLatin1Char('|'))));
    }

    // After a refill the row right-clicked is the one whose entry is stored.
    void rightClickAfterARefillChoosesTheEntrysResource()
    {
        PasswordRoad r;
        QVERIFY(r.open());
        r.addResource(QStringLiteral("catalogs"), QStringLiteral("two.example"), 10, kLoginPage, QString());
        const int two = r.w.db.scalar(QStringLiteral("SELECT catalog_id FROM catalogs WHERE catalog_name='two.example'")).toInt();
        QVERIFY(r.openRubric(TopCatalogs, {QStringLiteral("Интернет и компьютеры"), QStringLiteral("Веб-дизайн и хостинг")}));
        QTableView *lv = r.w.main->lvLinks;
        int row = -1;
        for (int i = 0; i < r.w.main->resources->count(); ++i) {
            if (r.w.main->resources->subItem(i, SubName) == QLatin1String("two.example"))
                row = i;
        }
        QVERIFY(row >= 0);
        QTest::mouseClick(lv->viewport(), Qt::RightButton, {}, lv->visualRect(lv->model()->index(row, 2)).center());
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        bool empty = false;
        r.pressPasswords([&] {
            // Nothing is stored for this one yet.
            empty = r.auth->rbManual->isChecked() && r.auth->edtLogin->text().isEmpty();
            r.auth->edtLogin->setText(QStringLiteral("second"));
            r.auth->edtPassword->setText(QStringLiteral("second-pw"));
            r.auth->Button1->click();
            return int(QDialog::Accepted);
        });
        QCOMPARE(r.p.dialogsShown, QStringList{QStringLiteral("frmAuth")});
        QVERIFY(empty);
        QCOMPARE(r.w.db.rows(QStringLiteral("SELECT cauth_catalog_id, cauth_login FROM cauth ORDER BY cauth_id")),
                 (QStringList{QStringLiteral("%1|old").arg(r.catalog), QStringLiteral("%1|second").arg(two)}));
    }

    // An entry whose row cannot be read is a failure: the window does not
    // open, nothing is inserted over it, and the fill stops.
    void failedReadOfTheEntryInsertsNothing()
    {
        PasswordRoad r;
        QVERIFY(r.open());
        // The entry's table becomes a view whose rows break off while they are
        // read: the statement is accepted, the row never arrives.
        for (const char *sql :
             {"RENAME TABLE cauth TO cauth_rows", "CREATE TABLE two (x INT)", "INSERT INTO two VALUES (1), (2)",
              "CREATE VIEW cauth AS SELECT c.cauth_id, c.cauth_login, c.cauth_password, c.cauth_project_id, "
              "c.cauth_catalog_id, (SELECT x FROM two WHERE x <> c.cauth_id + 1000) AS broken FROM cauth_rows c"})
            QVERIFY2(r.w.db.exec(QString::fromUtf8(sql)), sql);
        auto typeAndSave = [&] {
            r.auth->edtLogin->setText(QStringLiteral("intruder"));
            r.auth->edtPassword->setText(QStringLiteral("pw"));
            r.auth->Button1->click();
            return int(QDialog::Accepted);
        };
        r.p.messages.clear();
        r.pressPasswords(typeAndSave);
        QVERIFY(r.p.dialogsShown.isEmpty());
        QCOMPARE(r.p.messages.size(), 1);
        QVERIFY2(r.p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT * FROM cauth")), qPrintable(r.p.messages[0]));
        QCOMPARE(r.w.db.rows(QStringLiteral("SELECT cauth_login, cauth_password FROM cauth_rows")),
                 QStringList{QStringLiteral("old|old-pw")});

        // "Заполнить" reads the same entry: it stops, and opens no window.
        r.clearPage();
        r.p.dialogs = {[&](QDialog *) { return typeAndSave(); }};
        const QStringList shown = r.pressFill();
        QVERIFY(r.p.dialogsShown.isEmpty());
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT * FROM cauth")), qPrintable(shown[0]));
        QCOMPARE(r.value("login"), QString());
        QCOMPARE(r.w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cauth_rows")), QStringLiteral("1"));
    }

    void statusesInsertUpdateReset()
    {
        const QDateTime t1(QDate(2026, 12, 9), QTime(10, 0, 5));
        const QDateTime t2(QDate(2026, 12, 9), QTime(11, 30, 0));
        ScriptedPrompt p;
        QCOMPARE(SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, false, true, false, t1).value_or(QStringLiteral("none")),
                 QStringLiteral("Добавлен (2026-12-09 10:00:05)"));
        QCOMPARE(m_db->rows(
                     QStringLiteral("SELECT crl_catalog_id, crl_project_id, crl_user_id, crl_datetime, crl_status FROM creglog")),
                 QStringList{QStringLiteral("42|%1|0|2026-12-09 10:00:05|2").arg(m_p1)});
        m_ctx.CurrentUserId = 7;
        QCOMPARE(SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, true, false, false, t2).value_or(QStringLiteral("none")),
                 QStringLiteral("Проверка (2026-12-09 11:30:00)"));
        QCOMPARE(m_db->rows(QStringLiteral("SELECT crl_user_id, crl_datetime, crl_status FROM creglog")),
                 QStringList{QStringLiteral("7|2026-12-09 11:30:00|1")});
        QCOMPARE(SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, false, false, false, t2).value_or(QStringLiteral("none")),
                 QString());
        QCOMPARE(m_db->rows(QStringLiteral("SELECT crl_status FROM creglog")), QStringList{QStringLiteral("0")});
        // Another project has its own row.
        m_ctx.CurrentProjectId = m_p2;
        QVERIFY(SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, false, false, true, t2));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM creglog")), QStringLiteral("2"));
        QVERIFY(p.messages.isEmpty());
    }

    void forumStatusesBelongToThePressRelease()
    {
        m_ctx.CurrentKind = core::Kind::Forums;
        const QDateTime t(QDate(2026, 1, 2), QTime(3, 4, 5));
        m_ctx.CurrentMaterialId = 0;
        QVERIFY(!SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, true, false, false, t));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM freglog")), QStringLiteral("0"));
        m_ctx.CurrentMaterialId = 5;
        QVERIFY(SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, true, false, false, t));
        m_ctx.CurrentMaterialId = 6;
        QVERIFY(SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, false, false, true, t));
        QCOMPARE(
            m_db->rows(QStringLiteral("SELECT frl_forum_id, frl_material_id, frl_status FROM freglog ORDER BY frl_material_id")),
            (QStringList{QStringLiteral("42|5|1"), QStringLiteral("42|6|3")}));
        m_ctx.CurrentKind = core::Kind::Soft;
        QVERIFY(SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, false, true, false, t));
        QCOMPARE(m_db->rows(QStringLiteral("SELECT srl_soft_id, srl_project_id, srl_status FROM sreglog")),
                 QStringList{QStringLiteral("42|%1|2").arg(m_p1)});
        m_ctx.CurrentKind = core::Kind::Contacts;
        QVERIFY(!SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, false, true, false, t));
    }

    void failedWriteChangesNoText()
    {
        QVERIFY(
            m_db->exec(QStringLiteral("ALTER TABLE creglog MODIFY crl_status VARCHAR(16) NOT NULL CHECK (crl_status <> '2')")));
        ScriptedPrompt p;
        QVERIFY(!SetRegistrationStatus(m_ctx, m_ctx.CurrentMaterialId, false, true, false));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:INSERT INTO creglog")));
    }
};

QTEST_MAIN(TestPasswordsStatuses)
#include "tst_passwords_statuses.moc"
