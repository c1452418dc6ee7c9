// The normal start against a real server: connection questions, login, the
// project list, the windows and a pending "Tasks.sql".
#include "core/installpath.h"
#include "app/pendingtasks.h"
#include "app/program.h"
#include "app/tfrmmain.h"
#include "db/database.h"
#include "support/files.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "users/tfrmlogin.h"
#include "users/tfrmusers.h"
#include "users/tfrmuseredit.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectinfo.h"
#include "workbench/tfrmauth.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

using namespace qv;
using qv::test::readFile;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;
using qv::test::writeFile;

namespace {
const QString kConnectQuestion = QStringLiteral("Не получается подключиться к базе mysql. Возможные причины:\r"
                                                "1) Указаны не верно логин и пароль в config.ini\r"
                                                "2) Не успел загрузится mysql сервер. Попробовать повторить подключение?");

int closedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int port = s.serverPort();
    s.close();
    return port;
}

// A login dialog answer: types the login and presses "Вход".
std::function<int(QDialog *)> typeLogin(const QString &login, const QString &password, bool remember = false)
{
    return [=](QDialog *d) {
        auto *dlg = qobject_cast<users::TfrmLogin *>(d);
        if (!dlg)
            return 0;
        dlg->edtLogin->setText(login);
        dlg->edtPassword->setText(password);
        dlg->cbAutoSave->setChecked(remember);
        dlg->Button1Click();
        return static_cast<int>(QDialog::Accepted);
    };
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_settings;
    QTemporaryDir *m_appDir = nullptr;

    QString appDir() const { return m_appDir->path() + QLatin1Char('/'); }

    void writeConfig(int port, const QString &dbname, const QByteArray &extra = QByteArray())
    {
        writeFile(appDir() + QStringLiteral("config.ini"),
                  "[SQL]\nhost=127.0.0.1\nport=" + QByteArray::number(port) + "\ndbname=" + dbname.toUtf8()
                      + "\nusername=qvtest\npassword=qvtest\n\n[Hosts]\nmaker=http://127.0.0.1:"
                      + QByteArray::number(closedPort()) + "\n" + extra);
    }

private Q_SLOTS:
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path()); }
    void init() { m_appDir = new QTemporaryDir; }
    void cleanup()
    {
        delete m_appDir;
        m_appDir = nullptr;
    }

    void closedPortAsksUntilNo()
    {
        writeConfig(closedPort(), QStringLiteral("quorvantile"));
        ScriptedPrompt p;
        p.answers = {true, true, false};
        app::Program program;
        program.ctx.AppDir = appDir();
        QVERIFY(!program.startNormal());
        QVERIFY(program.ctx.ConnectAbandoned);
        QCOMPARE(p.questions, (QStringList{kConnectQuestion, kConnectQuestion, kConnectQuestion}));
        QVERIFY(p.dialogsShown.isEmpty());
        QVERIFY(program.windows.createdOrder.isEmpty());
        QVERIFY(!program.windows.frmUsers);
        QVERIFY(!program.ctx.CurrentUserId);
    }

    // Settings that cannot be used are named with what is wrong with them:
    // no connection is tried, nothing is asked, the file stays as it was.
    void unusableSettingsAreNamed_data()
    {
        QTest::addColumn<QByteArray>("content"); // "" and `kind` say what stands in the file's place
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fault");
        const QByteArray port = QByteArray::number(TestDb::fixturePort());
        const QByteArray sql = "[SQL]\nhost=127.0.0.1\nport=" + port + "\nserver_small=1\n";
        QTest::newRow("folder") << QByteArray() << "folder"
                                << "это папка, а не файл.";
        QTest::newRow("unreadable") << QByteArray() << "loop"
                                    << "файл не читается (";
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "file"
                                << "это не файл настроек: это не текстовый файл.";
        QTest::newRow("text") << QByteArray("<html>\n<body>config</body>\n") << "file"
                              << "это не файл настроек: строка 1 (\"<html>\") не заголовок раздела и не строка ключ=значение.";
        QTest::newRow("no dbname") << sql + "username=qvtest\npassword=qvtest\n"
                                   << "file"
                                   << "в разделе [SQL] нет ключа dbname.";
        QTest::newRow("no username") << sql + "dbname=x\npassword=qvtest\n"
                                     << "file"
                                     << "в разделе [SQL] нет ключа username.";
        QTest::newRow("no password") << sql + "dbname=x\nusername=qvtest\n"
                                     << "file"
                                     << "в разделе [SQL] нет ключа password.";
        QTest::newRow("none of them") << sql << "file"
                                      << "в разделе [SQL] нет ключей dbname, username, password.";
    }
    void unusableSettingsAreNamed()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, kind);
        QFETCH(QString, fault);
        const QString path = appDir() + QStringLiteral("config.ini");
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (kind == QLatin1String("loop"))
            QVERIFY(QFile::link(path, path)); // a link to itself: there, and never readable
        else
            writeFile(path, content);
        ScriptedPrompt p;
        p.answers = {false};
        app::Program program;
        program.ctx.AppDir = appDir();
        QVERIFY(!program.startNormal());
        QVERIFY(program.ctx.ConnectAbandoned);
        QVERIFY2(p.questions.isEmpty(), qPrintable(p.questions.join(QLatin1Char('\n'))));
        QVERIFY(p.started.isEmpty());
        QCOMPARE(p.messages.size(), 1);
        const QString head = QStringLiteral("Файл настроек \"") + QDir::toNativeSeparators(path) + QStringLiteral("\": ");
        const QString tail = QStringLiteral("\rБез него программа не может подключиться к базе данных: исправьте файл и "
                                            "запустите программу снова.");
        QVERIFY2(p.messages[0].startsWith(head + fault) && p.messages[0].endsWith(tail), qPrintable(p.messages[0]));
        QCOMPARE(p.messageIcons, QList<core::MessageIcon>{core::MessageIcon::Error});
        QVERIFY(program.windows.createdOrder.isEmpty());
        // Nothing was written in the file's place.
        if (kind == QLatin1String("folder"))
            QVERIFY(QFileInfo(path).isDir() && QDir(path).isEmpty());
        else if (kind == QLatin1String("loop"))
            QCOMPARE(QFileInfo(path).symLinkTarget(), path);
        else
            QCOMPARE(readFile(path), content);
        QCOMPARE(QDir(appDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{QStringLiteral("config.ini")});
    }

    void wrongDatabaseNameIsReported()
    {
        TestDb db(TestDb::WithSeed);
        QVERIFY2(db.ok(), qPrintable(db.error()));
        writeConfig(TestDb::fixturePort(), QStringLiteral("no_such_db_here"));
        ScriptedPrompt p;
        p.answers = {true, false};
        app::Program program;
        program.ctx.AppDir = appDir();
        QVERIFY(!program.startNormal());
        QCOMPARE(p.questions.size(), 2);
        QVERIFY(p.questions[0].contains(QStringLiteral("\"no_such_db_here\"")));
        QVERIFY(p.questions[0].contains(QStringLiteral("Unknown database")));
        QVERIFY(p.dialogsShown.isEmpty());
        QVERIFY(program.windows.createdOrder.isEmpty());
    }

    void fullStartup()
    {
        TestDb db(TestDb::WithSeed);
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QVERIFY(
            db.exec(QStringLiteral("INSERT INTO projects SET project_name='Сайт \"один\"', project_url='http://one.example'")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO projects SET project_name='two', project_url='http://two.example'")));
        writeConfig(TestDb::fixturePort(), db.name(), "\n[OTHER]\nAUserAdmin=1\n");
        QDir(appDir()).mkpath(QStringLiteral("Plugins/Одна утилита"));
        writeFile(appDir() + QStringLiteral("tasks.sql"),
                  "UPDATE projects SET project_url='http://changed' WHERE project_name='two';\r\n\r\n");

        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvantile"), QStringLiteral("Quorvantile"))
            .clear();
        ScriptedPrompt p;
        p.dialogs = {typeLogin(QStringLiteral("admin"), QStringLiteral("wrong")),
                     typeLogin(QStringLiteral("admin"), QStringLiteral("admin"), true)};
        app::Program program;
        program.ctx.AppDir = appDir();
        QVERIFY(program.startNormal());
        QCOMPARE(p.messages, QStringList{QStringLiteral(
                                 "Пользователей с данной комбинацией логина и пароля не существует, попробуйте еще раз!")});
        QCOMPARE(program.ctx.CurrentUserId.value_or(-1), 0);

        app::TfrmMain &w = *program.mainWindow;
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorvantile 3.1 АДМИН ПРИВЕЛЕГИИ"));
        QCOMPARE(w.cbProjects->count(), 3);
        QCOMPARE(w.cbProjects->itemText(0), QStringLiteral("--Выберите проект--"));
        QCOMPARE(w.cbProjects->currentIndex(), 0);
        QCOMPARE(w.cbProjects->itemText(1), QStringLiteral("Сайт \"один\""));
        QCOMPARE(w.projectIds.size(), 3);
        QCOMPARE(QString::number(w.projectIds[2]),
                 db.scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='two'")));
        QCOMPARE(program.ctx.CurrentProjectId, 0);
        QVERIFY(w.AdStrip);
        QCOMPARE(w.AdStrip->url(), QUrl());
        QCOMPARE(w.pluginActions.size(), 1);
        QCOMPARE(w.pluginActions[0]->data().toString(), QStringLiteral("Одна утилита"));

        // The pending migration ran and went away.
        QVERIFY(!QFile::exists(appDir() + QStringLiteral("tasks.sql")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT project_url FROM projects WHERE project_name='two'")),
                 QStringLiteral("http://changed"));

        // The remembered login.
        core::IniFile ini(appDir() + QStringLiteral("config.ini"));
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("AutoSave")), QStringLiteral("1"));
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("Login")), QStringLiteral("admin"));

        // Every other window exists, hidden, owned by the main window, under its own name.
        const app::AppWindows &aw = program.windows;
        const QList<QPair<QWidget *, const char *>> windows{{aw.frmConfig, "frmConfig"},
                                                            {aw.frmToBaza, "frmToBaza"},
                                                            {aw.frmFromBaza, "frmFromBaza"},
                                                            {aw.frmUsers, "frmUsers"},
                                                            {aw.frmUserEdit, "frmUserEdit"},
                                                            {aw.frmProjectMaterials, "frmProjectMaterials"},
                                                            {aw.frmAuth, "frmAuth"},
                                                            {aw.frmSubjectNew, "frmSubjectNew"},
                                                            {aw.frmPrim, "frmPrim"},
                                                            {aw.frmAutocheck, "frmAutocheck"},
                                                            {aw.frmFilter, "frmFilter"},
                                                            {aw.frmHelp, "frmHelp"},
                                                            {aw.frmOSubjectAdd, "frmOSubjectAdd"},
                                                            {aw.frmProjectInfo, "frmProjectInfo"},
                                                            {aw.frmEmailConfig, "frmEmailConfig"},
                                                            {aw.frmGoAd, "frmGoAd"}};
        for (const auto &[window, name] : windows) {
            QVERIFY2(window, name);
            QCOMPARE(window->objectName(), QString::fromLatin1(name));
            // The user editor is the users window's own dialog.
            QWidget *owner = window == aw.frmUserEdit ? static_cast<QWidget *>(aw.frmUsers) : program.mainWindow.get();
            QCOMPARE(window->parentWidget(), owner);
            QVERIFY2(window->isHidden(), name);
        }
        QCOMPARE(core::ReadInstallPath(), appDir());
    }

    // Closing the login dialog, even with a remembered login in its fields,
    // ends the program: no user, no windows.
    void closingTheLoginDialogEndsTheProgram()
    {
        TestDb db(TestDb::WithSeed);
        QVERIFY2(db.ok(), qPrintable(db.error()));
        writeConfig(TestDb::fixturePort(), db.name(), "\n[Auth]\nAutoSave=1\nLogin=admin\nPassword=admin\n");
        ScriptedPrompt p;
        p.dialogs = {[](QDialog *d) {
            d->setResult(QDialog::Rejected);
            d->show();
            QTest::keyClick(d, Qt::Key_Escape);
            return d->result();
        }};
        app::Program program;
        program.ctx.AppDir = appDir();
        QVERIFY(!program.startNormal());
        QVERIFY(program.ctx.ConnectAbandoned);
        QCOMPARE(p.dialogsShown, QStringList{QStringLiteral("frmLogin")});
        QVERIFY(!program.ctx.CurrentUserId);
        QVERIFY(program.windows.createdOrder.isEmpty());
    }

    void rememberedLoginPresetsTheDialog()
    {
        TestDb db(TestDb::WithSeed);
        QVERIFY2(db.ok(), qPrintable(db.error()));
        writeConfig(TestDb::fixturePort(), db.name(), "\n[Auth]\nAutoSave=1\nLogin=admin\nPassword=admin\n");
        ScriptedPrompt p;
        QString seenLogin;
        bool seenTick = false;
        p.dialogs = {[&](QDialog *d) {
            auto *dlg = qobject_cast<users::TfrmLogin *>(d);
            seenLogin = dlg->edtLogin->text() + QLatin1Char('/') + dlg->edtPassword->text();
            seenTick = dlg->cbAutoSave->isChecked();
            dlg->Button1Click();
            return 1;
        }};
        app::Program program;
        program.ctx.AppDir = appDir();
        QVERIFY(program.startNormal());
        QCOMPARE(seenLogin, QStringLiteral("admin/admin"));
        QVERIFY(seenTick);
    }

    // Qt's own buttons speak Russian once the program has loaded its texts.
    void standardButtonsSpeakRussian()
    {
        QVERIFY(app::InstallRussianTranslations());
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes | QDialogButtonBox::No);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Отмена"));
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Да"));
        QCOMPARE(box.button(QDialogButtonBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Нет"));
    }

    void pendingTasks()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE m (v INT)")));
        ScriptedPrompt p;

        // All lines succeed (CRLF, blank lines, a SELECT): the file goes away.
        writeFile(appDir() + QStringLiteral("Tasks.sql"),
                  "INSERT INTO m VALUES (1)\r\n\r\nSELECT * FROM m\r\n   \nINSERT INTO m VALUES (2)");
        app::TasksOutcome out = app::RunPendingTasks(appDir());
        QVERIFY(out.found);
        QCOMPARE(out.ran, 3);
        QVERIFY(!out.failed);
        QVERIFY(!QFile::exists(appDir() + QStringLiteral("Tasks.sql")));
        QVERIFY(p.messages.isEmpty());

        // The second statement fails: the first stays done, the file keeps the rest.
        writeFile(appDir() + QStringLiteral("tasks.sql"),
                  "INSERT INTO m VALUES (3)\r\nINSERT INTO nowhere VALUES (4)\r\nINSERT INTO m VALUES (5)\r\n");
        out = app::RunPendingTasks(appDir());
        QVERIFY(out.failed);
        QCOMPARE(out.ran, 1);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:INSERT INTO nowhere VALUES (4)\r")));
        QCOMPARE(readFile(appDir() + QStringLiteral("tasks.sql")),
                 QByteArray("INSERT INTO nowhere VALUES (4)\nINSERT INTO m VALUES (5)\n"));
        QCOMPARE(db.rows(QStringLiteral("SELECT v FROM m ORDER BY v")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));

        // A later start does not replay the done line.
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE nowhere (v INT)")));
        out = app::RunPendingTasks(appDir());
        QVERIFY(!out.failed);
        QCOMPARE(db.rows(QStringLiteral("SELECT v FROM m ORDER BY v")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("5")}));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM nowhere")), QStringLiteral("1"));
        QVERIFY(!QFile::exists(appDir() + QStringLiteral("tasks.sql")));
        QVERIFY(!app::RunPendingTasks(appDir()).found);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
