// Login, the users list and the user editor against a real database.
#include "core/appcontext.h"
#include "support/paste.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/testdb.h"
#include "users/tfrmlogin.h"
#include "users/tfrmuseredit.h"
#include "users/tfrmusers.h"

#include <QApplication>
#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace qv;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
const QString kNoSuchUser =
    QStringLiteral("Пользователей с данной комбинацией логина и пароля не существует, попробуйте еще раз!");
const QString kInactive = QStringLiteral("Ваша аккаунт не активизирована!");
const QString kAdminOnly = QStringLiteral("С пользователями может работать только администратор программы");
const QString kEmptyFields = QStringLiteral("Введите логин и пароль: без них вход в программу невозможен.");

// The dialog as exec() shows it: open, its result not yet given.
void showDialog(QDialog *d)
{
    d->setResult(QDialog::Rejected);
    d->show();
}

// Types into the shown dialog and clicks "Вход".
void typeAndEnter(users::TfrmLogin *dlg, const QString &login, const QString &password, bool remember)
{
    dlg->edtLogin->setText(login);
    dlg->edtPassword->setText(password);
    dlg->cbAutoSave->setChecked(remember);
    QTest::mouseClick(dlg->btnEnter, Qt::LeftButton);
}

std::function<int(QDialog *)> typeLogin(const QString &login, const QString &password, bool remember = false)
{
    return [=](QDialog *d) {
        auto *dlg = static_cast<users::TfrmLogin *>(d);
        dlg->edtLogin->setText(login);
        dlg->edtPassword->setText(password);
        dlg->cbAutoSave->setChecked(remember);
        showDialog(d);
        QTest::mouseClick(dlg->btnEnter, Qt::LeftButton);
        return d->result();
    };
}
} // namespace

class TestUsers : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<QTemporaryDir> m_dir;
    core::AppContext m_ctx;

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QVERIFY(m_db->exec(
            QStringLiteral("INSERT INTO users (user_login, user_password, user_active, user_email, user_fio) VALUES "
                           "('ivan', 'секрет\\\\', '1', 'ivan@example.ru', 'Иван Петров'), ('olga', 'pw', '0', '', 'Ольга')")));
        m_dir = std::make_unique<QTemporaryDir>();
        m_ctx = core::AppContext();
        m_ctx.AppDir = m_dir->path() + QLatin1Char('/');
        m_ctx.readConfig();
    }
    void cleanup()
    {
        m_db.reset();
        m_dir.reset();
    }

    void loginSequences()
    {
        ScriptedPrompt p;
        users::TfrmLogin dlg(m_ctx);
        // An empty login or password is said at once and the dialog stays; a
        // wrong password and an inactive account come back with their message.
        bool stayedOpen = false;
        p.dialogs = {[&](QDialog *d) {
                         showDialog(d);
                         typeAndEnter(&dlg, QString(), QStringLiteral("x"), false);
                         typeAndEnter(&dlg, QStringLiteral("ivan"), QString(), false);
                         stayedOpen = dlg.isVisible() && dlg.result() == QDialog::Rejected;
                         typeAndEnter(&dlg, QStringLiteral("ivan"), QStringLiteral("wrong"), false);
                         return dlg.result();
                     },
                     typeLogin(QStringLiteral("olga"), QStringLiteral("pw")),
                     typeLogin(QStringLiteral("ivan"), QStringLiteral("секрет\\"))};
        QVERIFY(users::RunLoginLoop(m_ctx, dlg));
        QVERIFY(stayedOpen);
        QCOMPARE(p.dialogsShown.size(), 3);
        QCOMPARE(p.messages, (QStringList{kEmptyFields, kEmptyFields, kNoSuchUser, kInactive}));
        QCOMPARE(QString::number(m_ctx.CurrentUserId.value_or(-1)),
                 m_db->scalar(QStringLiteral("SELECT user_id FROM users WHERE user_login='ivan'")));
    }

    void inactiveAdministratorIsAccepted()
    {
        QVERIFY(m_db->exec(QStringLiteral("UPDATE users SET user_active='0' WHERE user_id=0")));
        ScriptedPrompt p;
        QCOMPARE(users::TryLogin(m_ctx, QStringLiteral("admin"), QStringLiteral("admin")), users::LoginResult::Accepted);
        QCOMPARE(m_ctx.CurrentUserId.value_or(-1), 0);
        QVERIFY(p.messages.isEmpty());
    }

    void injectionStringsAreRefused_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::newRow("double quote or") << QStringLiteral("admin") << QStringLiteral("\" OR \"1\"=\"1");
        QTest::newRow("single quote or") << QStringLiteral("admin") << QStringLiteral("' OR '1'='1");
        QTest::newRow("comment") << QStringLiteral("admin\" -- ") << QStringLiteral("x");
        QTest::newRow("backslash quote") << QStringLiteral("admin\\") << QStringLiteral(" OR 1=1 OR \"");
    }
    void injectionStringsAreRefused()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        ScriptedPrompt p;
        QCOMPARE(users::TryLogin(m_ctx, login, password), users::LoginResult::Refused);
        QVERIFY(!m_ctx.CurrentUserId);
        QCOMPARE(p.messages, QStringList{kNoSuchUser});
    }

    void failedStatementOffersRetryOrExit()
    {
        QVERIFY(m_db->exec(QStringLiteral("DROP TABLE users")));
        ScriptedPrompt p;
        users::TfrmLogin dlg(m_ctx);
        p.dialogs = {typeLogin(QStringLiteral("admin"), QStringLiteral("s3cret")),
                     typeLogin(QStringLiteral("admin"), QStringLiteral("s3cret"))};
        // Retry once, then leave: the loop ends instead of asking forever.
        p.answers = {true, false};
        QVERIFY(!users::RunLoginLoop(m_ctx, dlg));
        QCOMPARE(p.dialogsShown.size(), 2);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(p.messages.size(), 2);
        // The failing statement is shown, its password is not.
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT * FROM users")));
        QVERIFY(p.messages[0].contains(QStringLiteral("user_password=\"***\"")));
        QVERIFY(!p.messages[0].contains(QStringLiteral("s3cret")));
        QVERIFY(!m_ctx.CurrentUserId);
    }

    // Escape or the window's close button: the loop ends without a login,
    // also when the remembered login fills the fields.
    void closingTheDialogLogsNobodyIn_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close button") << false;
    }
    void closingTheDialogLogsNobodyIn()
    {
        QFETCH(bool, escape);
        QVERIFY(m_ctx.ConfigIni.writeString(QStringLiteral("Auth"), QStringLiteral("AutoSave"), QStringLiteral("1")));
        QVERIFY(m_ctx.ConfigIni.writeString(QStringLiteral("Auth"), QStringLiteral("Login"), QStringLiteral("admin")));
        QVERIFY(m_ctx.ConfigIni.writeString(QStringLiteral("Auth"), QStringLiteral("Password"), QStringLiteral("admin")));
        ScriptedPrompt p;
        users::TfrmLogin dlg(m_ctx);
        dlg.prepare();
        p.dialogs = {[&](QDialog *d) {
            showDialog(d);
            if (escape)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
            return d->result();
        }};
        QVERIFY(!users::RunLoginLoop(m_ctx, dlg));
        QCOMPARE(p.dialogsShown.size(), 1);
        QVERIFY(!m_ctx.CurrentUserId);
        QVERIFY(p.messages.isEmpty());
    }

    // A refused password is not remembered; the accepted one is.
    void onlyAnAcceptedLoginIsRemembered()
    {
        ScriptedPrompt p;
        users::TfrmLogin dlg(m_ctx);
        QString rememberedAfterRefusal;
        p.dialogs = {typeLogin(QStringLiteral("ivan"), QStringLiteral("wrong"), true), [&](QDialog *d) {
                         rememberedAfterRefusal =
                             core::IniFile(m_ctx.configPath()).readString(QStringLiteral("Auth"), QStringLiteral("Password"));
                         return typeLogin(QStringLiteral("admin"), QStringLiteral("admin"), true)(d);
                     }};
        QVERIFY(users::RunLoginLoop(m_ctx, dlg));
        QCOMPARE(rememberedAfterRefusal, QString());
        core::IniFile ini(m_ctx.configPath());
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("Login")), QStringLiteral("admin"));
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("Password")), QStringLiteral("admin"));
    }

    // A "config.ini" that cannot be written says so; the login still goes on.
    void unwritableConfigIsReported()
    {
        QFile::remove(m_ctx.configPath());
        // A folder in the file's place: not writable even for root.
        QVERIFY(QDir().mkdir(m_ctx.configPath()));
        ScriptedPrompt p;
        users::TfrmLogin dlg(m_ctx);
        p.dialogs = {typeLogin(QStringLiteral("admin"), QStringLiteral("admin"), true)};
        QVERIFY(users::RunLoginLoop(m_ctx, dlg));
        QCOMPARE(m_ctx.CurrentUserId.value_or(-1), 0);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].startsWith(QStringLiteral("Не удалось записать настройки в файл \"")
                                          + QDir::toNativeSeparators(m_ctx.configPath()) + QStringLiteral("\": ")),
                 qPrintable(p.messages[0]));
        QVERIFY(p.messages[0].endsWith(QStringLiteral("\rЛогин и пароль не запомнены.")));
        // What is read back in this run is what the file holds: nothing.
        QVERIFY(!m_ctx.ConfigIni.contains(QStringLiteral("Auth"), QStringLiteral("AutoSave")));
    }

    void rememberedLoginIsWrittenOrCleared()
    {
        ScriptedPrompt p;
        users::TfrmLogin dlg(m_ctx);
        p.dialogs = {typeLogin(QStringLiteral("ivan"), QStringLiteral("секрет\\"), true)};
        users::RunLoginLoop(m_ctx, dlg);
        core::IniFile ini(m_ctx.configPath());
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("AutoSave")), QStringLiteral("1"));
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("Password")), QStringLiteral("секрет\\"));
        dlg.prepare();
        QVERIFY(dlg.cbAutoSave->isChecked());
        QCOMPARE(dlg.edtLogin->text(), QStringLiteral("ivan"));
        // Unticked: forgotten, and still so once a login is accepted.
        p.dialogs = {typeLogin(QStringLiteral("ivan"), QStringLiteral("bad"), false),
                     typeLogin(QStringLiteral("admin"), QStringLiteral("admin"), false)};
        users::RunLoginLoop(m_ctx, dlg);
        ini.open(m_ctx.configPath());
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("AutoSave")), QStringLiteral("0"));
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("Login")), QString());
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("Password")), QString());
        dlg.prepare();
        QVERIFY(!dlg.cbAutoSave->isChecked());
        QVERIFY(dlg.edtLogin->text().isEmpty());
    }

    // Unticking "Запомнить логин и пароль" forgets the remembered login at
    // once: a login that then fails, or the dialog closed, leaves none of it
    // in "config.ini".
    void untickingForgetsTheLoginAtOnce_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("mouse") << false;
        QTest::newRow("space bar") << true;
    }
    void untickingForgetsTheLoginAtOnce()
    {
        QFETCH(bool, byKey);
        for (const auto &[key, value] : {std::pair{"AutoSave", "1"}, {"Login", "admin"}, {"Password", "admin"}})
            QVERIFY(m_ctx.ConfigIni.writeString(QStringLiteral("Auth"), QLatin1String(key), QLatin1String(value)));
        auto stored = [this] {
            core::IniFile ini(m_ctx.configPath());
            QStringList v;
            for (const char *key : {"AutoSave", "Login", "Password"})
                v << ini.readString(QStringLiteral("Auth"), QLatin1String(key));
            return v.join(QLatin1Char('|'));
        };
        ScriptedPrompt p;
        users::TfrmLogin dlg(m_ctx);
        dlg.prepare();
        QStringList seen;
        p.dialogs = {[&](QDialog *d) {
                         showDialog(d);
                         seen << QString::number(dlg.cbAutoSave->isChecked()) + QLatin1Char('|') + stored();
                         if (byKey) {
                             dlg.cbAutoSave->setFocus();
                             QTest::keyClick(dlg.cbAutoSave, Qt::Key_Space);
                         } else {
                             QStyleOptionButton opt;
                             opt.initFrom(dlg.cbAutoSave);
                             const QRect box =
                                 dlg.cbAutoSave->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, dlg.cbAutoSave);
                             QTest::mouseClick(dlg.cbAutoSave, Qt::LeftButton, {}, box.center());
                         }
                         seen << QString::number(dlg.cbAutoSave->isChecked()) + QLatin1Char('|') + stored();
                         dlg.edtPassword->setText(QStringLiteral("wrong"));
                         QTest::mouseClick(dlg.btnEnter, Qt::LeftButton);
                         return d->result();
                     },
                     [&](QDialog *d) {
                         showDialog(d);
                         QTest::keyClick(d, Qt::Key_Escape);
                         return d->result();
                     }};
        QVERIFY(!users::RunLoginLoop(m_ctx, dlg));
        QCOMPARE(p.messages, QStringList{kNoSuchUser});
        QCOMPARE(seen, (QStringList{QStringLiteral("1|1|admin|admin"), QStringLiteral("0|0||")}));
        QCOMPARE(stored(), QStringLiteral("0||"));
    }

    // The user editor is the users window's dialog: it opens modal above the
    // users window, which stays on top, as the active window, whether to add
    // a user or to edit one.
    void userEditorOpensAboveTheUsersWindow()
    {
        ScriptedPrompt p;
        QWidget owner;
        owner.resize(800, 600);
        owner.show();
        // As the program makes it: first owned by the main window.
        auto *editor = new users::TfrmUserEdit(&owner);
        users::TfrmUsers list(m_ctx, editor, &owner);
        m_ctx.CurrentUserId = 0;
        list.open();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(list.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QStringList seen;
        auto look = [&](QDialog *d) {
            QTimer::singleShot(0, d, [&seen, &list, d] {
                const bool active = QTest::qWaitFor([d] { return QApplication::activeWindow() == d; }, 3000);
                const QWindow *handle = d->windowHandle();
                seen << QStringLiteral("%1|%2|%3|%4")
                            .arg(d->parentWidget() == &list)
                            .arg(handle && list.windowHandle() && handle->transientParent() == list.windowHandle())
                            .arg(handle && handle->modality() != Qt::NonModal)
                            .arg(active);
                d->reject();
            });
            return d->exec();
        };
        p.dialogs = {look, look};
        QTest::mouseClick(list.tbUserAdd, Qt::LeftButton);
        list.lvUsers->setFocus();
        QTest::keyClick(list.lvUsers, Qt::Key_End);
        QTest::mouseClick(list.tbnUserEdit, Qt::LeftButton);
        QCOMPARE(p.dialogsShown, (QStringList{QStringLiteral("frmUserEdit"), QStringLiteral("frmUserEdit")}));
        QCOMPARE(seen, QStringList(2, QStringLiteral("1|1|1|1")));
    }

    void usersListIsForTheAdministratorOnly()
    {
        ScriptedPrompt p;
        users::TfrmUsers list(m_ctx, new users::TfrmUserEdit);
        m_ctx.CurrentUserId = 5;
        list.open();
        list.tbUserAddClick();
        QCOMPARE(p.messages, (QStringList{kAdminOnly, kAdminOnly}));
        QVERIFY(!list.isVisible());
        QCOMPARE(list.lvUsers->topLevelItemCount(), 0);
        QVERIFY(p.dialogsShown.isEmpty());

        m_ctx.CurrentUserId = 0;
        p.messages.clear();
        list.open();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(list.lvUsers->topLevelItemCount(), 3);
        // Columns: active, id, login, password, full name, e-mail.
        QTreeWidgetItem *ivan = list.lvUsers->findItems(QStringLiteral("ivan"), Qt::MatchExactly, 2).value(0);
        QVERIFY(ivan);
        QCOMPARE(ivan->text(0), QStringLiteral("1"));
        // The password is not shown in the list.
        QCOMPARE(ivan->text(3), QStringLiteral("***"));
        QCOMPARE(ivan->text(4), QStringLiteral("Иван Петров"));
        QCOMPARE(ivan->text(5), QStringLiteral("ivan@example.ru"));

        // A refill that fails says which statement, and keeps no stale rows.
        QVERIFY(m_db->exec(QStringLiteral("RENAME TABLE users TO users_away")));
        QVERIFY(!list.fillList());
        QCOMPARE(p.messages, QStringList{QStringLiteral("Ошибка в выполнении запроса:\rSELECT * FROM users")});
        QCOMPARE(list.lvUsers->topLevelItemCount(), 0);
        QVERIFY(m_db->exec(QStringLiteral("RENAME TABLE users_away TO users")));
    }

    void usersWindowOpensOverItsOwner()
    {
        ScriptedPrompt p;
        QWidget owner;
        owner.setGeometry(300, 200, 1000, 800);
        owner.show();
        users::TfrmUsers list(m_ctx, new users::TfrmUserEdit, &owner);
        m_ctx.CurrentUserId = 0;
        list.open();
        QVERIFY(list.isVisible());
        const QPoint off = list.frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(off.x()).arg(off.y())));
    }

    void addAndEditUsers()
    {
        ScriptedPrompt p;
        auto *editorWindow = new users::TfrmUserEdit;
        users::TfrmUserEdit &editor = *editorWindow;
        users::TfrmUsers list(m_ctx, editorWindow);
        m_ctx.CurrentUserId = 0;
        list.open();

        // Add: login and password are required; the editor stays open until they are given.
        p.dialogs = {[&](QDialog *) {
            editor.edtLogin->setText(QStringLiteral("new\"user"));
            if (editor.btnSaveClick())
                return 0;
            editor.edtPassword->setText(QStringLiteral("p'w\\"));
            editor.edtFIO->setText(QStringLiteral("Новый Пользователь"));
            editor.cbActive->setChecked(false);
            return editor.btnSaveClick() ? 1 : 0;
        }};
        list.tbUserAddClick();
        QCOMPARE(p.messages, QStringList{QStringLiteral("Вы не заполнили обязательные поля: Логин и Пароль пользователя")});
        QCOMPARE(
            m_db->rows(QStringLiteral("SELECT user_password, user_active, user_fio FROM users WHERE user_login='new\"user'")),
            QStringList{QStringLiteral("p'w\\|0|Новый Пользователь")});
        QCOMPARE(list.lvUsers->topLevelItemCount(), 4);

        // Edit: the row is loaded, changed and written back to the same user.
        QTreeWidgetItem *olga = list.lvUsers->findItems(QStringLiteral("olga"), Qt::MatchExactly, 2).value(0);
        list.lvUsers->setCurrentItem(olga);
        p.dialogs = {[&](QDialog *) {
            // The editor shows the password, which stays editable.
            if (editor.edtFIO->text() != QStringLiteral("Ольга") || editor.edtPassword->text() != QStringLiteral("pw")
                || editor.edtPassword->isReadOnly() || editor.cbActive->isChecked())
                return 0;
            editor.edtEmail->setText(QStringLiteral("olga@example.ru"));
            editor.cbActive->setChecked(true);
            return editor.btnSaveClick() ? 1 : 0;
        }};
        list.tbnUserEditClick();
        QCOMPARE(m_db->rows(QStringLiteral("SELECT user_email, user_active FROM users WHERE user_login='olga'")),
                 QStringList{QStringLiteral("olga@example.ru|1")});
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM users")), QStringLiteral("4"));

        // Enter on the current row opens it, as a double click does.
        list.lvUsers->setFocus();
        list.lvUsers->setCurrentItem(list.lvUsers->findItems(QStringLiteral("ivan"), Qt::MatchExactly, 2).value(0));
        QString opened;
        p.dialogs = {[&](QDialog *) {
            opened = editor.edtLogin->text();
            return 0;
        }};
        QTest::keyClick(list.lvUsers, Qt::Key_Return);
        QCOMPARE(opened, QStringLiteral("ivan"));
    }

    void editorEdgeCases()
    {
        ScriptedPrompt p;
        users::TfrmUserEdit editor;
        // A user that has no row starts from empty fields.
        editor.edtLogin->setText(QStringLiteral("stale"));
        QVERIFY(editor.loadUser(999));
        QVERIFY(editor.edtLogin->text().isEmpty());
        QVERIFY(!editor.cbActive->isChecked());

        // A failing save keeps the editor open and says which statement failed.
        QVERIFY(m_db->exec(QStringLiteral("CREATE TRIGGER qv_no_insert BEFORE INSERT ON users FOR EACH ROW "
                                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='refused'")));
        editor.EditMode = QStringLiteral("INSERT");
        editor.edtLogin->setText(QStringLiteral("login"));
        editor.edtPassword->setText(QStringLiteral("x"));
        editor.show();
        QVERIFY(!editor.btnSaveClick());
        QVERIFY(editor.isVisible());
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в выполнении запроса:\rINSERT INTO users")));
    }

    // The editor's fields take a pasted value whole; one longer than its
    // column is refused with one message naming the field and its limit,
    // nothing is written and the editor stays open with the edits.
    void editorRefusesTooLongValues()
    {
        ScriptedPrompt p;
        users::TfrmUserEdit editor;
        QVERIFY(editor.loadUser(0));
        editor.EditMode = QStringLiteral("UPDATE");
        const QString pasted = qv::test::longerThanALineEdit();
        for (QLineEdit *e : {editor.edtLogin, editor.edtPassword, editor.edtFIO, editor.edtEmail}) {
            qv::test::paste(e, pasted);
            QCOMPARE(e->text(), pasted);
        }
        editor.edtLogin->setText(QStringLiteral("admin"));
        editor.edtPassword->setText(QString(255, QChar(0x20AC)));
        editor.show();
        QVERIFY(!editor.btnSaveClick());
        QVERIFY(editor.isVisible());
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"ФИО пользователя\""))
                     && p.messages[0].contains(QStringLiteral("255 символов")),
                 qPrintable(p.messages[0]));
        QCOMPARE(editor.edtFIO->text(), pasted);
        QCOMPARE(m_db->rows(QStringLiteral("SELECT user_login, user_fio FROM users WHERE user_id=0")),
                 QStringList{QStringLiteral("admin|Администратор")});
    }

    // A user another copy changed after the editor loaded it (the
    // administrator, whose id is 0, as well; a change of letter case alone
    // counts) is written over only when the user says so; the question names
    // the fields that copy changed.
    void editorGuardsTheRowItLoaded()
    {
        ScriptedPrompt p;
        qv::test::SecondCopy other(*m_db);
        QVERIFY2(other.ok(), qPrintable(other.error()));
        users::TfrmUserEdit editor;
        QVERIFY(editor.loadUser(0));
        editor.EditMode = QStringLiteral("UPDATE");
        editor.edtFIO->setText(QStringLiteral("Главный"));
        QVERIFY(other.exec(QStringLiteral("UPDATE users SET user_email='their@example.ru', user_login='Admin' WHERE user_id=0")));
        editor.show();
        p.answers = {false};
        QVERIFY(!editor.btnSaveClick());
        QVERIFY(editor.isVisible());
        QCOMPARE(p.questions, QStringList{QStringLiteral(
                                  "Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                                  "В другой копии программы изменены поля \"Логин пользователя\", \"Email "
                                  "пользователя\"; их значения в базе будут заменены значениями из этого окна.")});
        const QString row = QStringLiteral("SELECT user_login, user_fio, user_email FROM users WHERE user_id=0");
        QCOMPARE(m_db->rows(row), QStringList{QStringLiteral("Admin|Администратор|their@example.ru")});
        QCOMPARE(editor.edtFIO->text(), QStringLiteral("Главный"));

        p.answers = {true};
        QVERIFY(editor.btnSaveClick());
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(m_db->rows(row), QStringList{QStringLiteral("admin|Главный|")});
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT user_fio FROM users WHERE user_login='ivan'")),
                 QStringLiteral("Иван Петров"));
        QVERIFY(p.messages.isEmpty());
    }
};

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
