// Settings, modes, the installation record and plug-ins: no database needed.
#include "core/appcontext.h"
#include "core/inifile.h"
#include "core/installpath.h"
#include "core/launcher.h"
#include "app/program.h"
#include "support/files.h"
#include "support/scriptedprompt.h"

#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;
using qv::test::readFile;
using qv::test::ScriptedPrompt;
using qv::test::writeFile;

class TestConfig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void iniIsCaseInsensitiveAndVerbatim()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        writeFile(path,
                  "; comment\r\n[sql]\r\nHOST=db.local\r\nPassword= p@ss=word \r\nport=3310x\r\n\r\n[Other]\r\nauseradmin=1\r\n");
        core::IniFile ini(path);
        QCOMPARE(ini.readString(QStringLiteral("SQL"), QStringLiteral("host")), QStringLiteral("db.local"));
        QCOMPARE(ini.readString(QStringLiteral("SQL"), QStringLiteral("password")), QStringLiteral("p@ss=word"));
        QCOMPARE(ini.readInteger(QStringLiteral("SQL"), QStringLiteral("port"), 3304), 3310);
        QCOMPARE(ini.readInteger(QStringLiteral("SQL"), QStringLiteral("missing"), 3304), 3304);
        QVERIFY(ini.readBool(QStringLiteral("OTHER"), QStringLiteral("AUserAdmin"), false));
        QCOMPARE(ini.readString(QStringLiteral("Auth"), QStringLiteral("Login"), QStringLiteral("d")), QStringLiteral("d"));
    }

    void iniWritesInPlaceAndKeepsTheRest()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        writeFile(path, "[SQL]\nhost=h\n; keep me\n\n[Auth]\nlogin=old\n");
        core::IniFile ini(path);
        QVERIFY(ini.writeString(QStringLiteral("AUTH"), QStringLiteral("Login"), QStringLiteral("Иван")));
        QVERIFY(ini.writeString(QStringLiteral("Auth"), QStringLiteral("AutoSave"), QStringLiteral("1")));
        QVERIFY(ini.writeString(QStringLiteral("SQL"), QStringLiteral("date_update"), QStringLiteral("2026-12-09 10:00:00")));
        QVERIFY(ini.writeString(QStringLiteral("New"), QStringLiteral("k"), QStringLiteral("v")));
        QCOMPARE(QString::fromUtf8(readFile(path)),
                 QStringLiteral("[SQL]\nhost=h\ndate_update=2026-12-09 10:00:00\n; keep me\n\n[Auth]\nlogin=Иван\n"
                                "AutoSave=1\n\n[New]\nk=v\n"));
        core::IniFile again(path);
        QCOMPARE(again.readString(QStringLiteral("auth"), QStringLiteral("LOGIN")), QStringLiteral("Иван"));
    }

    void unreadSettingsAreNeverWrittenOver()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        const QByteArray notIni("just a note\nhost=h\n");
        writeFile(path, notIni);
        core::IniFile ini(path);
        QCOMPARE(ini.readError(), QStringLiteral("это не файл настроек: строка 1 (\"just a note\") не заголовок раздела и "
                                                 "не строка ключ=значение"));
        QCOMPARE(ini.readString(QStringLiteral("SQL"), QStringLiteral("host"), QStringLiteral("d")), QStringLiteral("d"));
        QVERIFY(!ini.writeString(QStringLiteral("Auth"), QStringLiteral("Login"), QStringLiteral("x")));
        QVERIFY(ini.errorString().startsWith(QStringLiteral("файл не прочитан: это не файл настроек")));
        QCOMPARE(readFile(path), notIni);
        // A file that is not there yet is made by the first write.
        const QString fresh = dir.filePath(QStringLiteral("new.ini"));
        core::IniFile created(fresh);
        QCOMPARE(created.readError(), QStringLiteral("файла нет"));
        QVERIFY(created.writeString(QStringLiteral("Auth"), QStringLiteral("Login"), QStringLiteral("x")));
        QCOMPARE(readFile(fresh), QByteArray("[Auth]\nLogin=x\n"));
    }

    void missingConfigGivesDefaults()
    {
        QTemporaryDir dir;
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        ctx.readConfig();
        QCOMPARE(ctx.Db.host, QStringLiteral("localhost"));
        QCOMPARE(ctx.Db.port, 3304);
        QCOMPARE(ctx.Db.name, QString());
        QCOMPARE(ctx.Db.user, QString());
        QCOMPARE(ctx.Db.password, QString());
        QVERIFY(!ctx.Db.serverSmall);
        QVERIFY(!ctx.AdminMode);
        QCOMPARE(ctx.Db.connectTimeoutSeconds, 10u);
    }

    void hostsGetTheirScheme()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("config.ini")), "[Hosts]\nmaker=127.0.0.1:8080/\ngoogle=https://g.example\n");
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        ctx.readConfig();
        QCOMPARE(ctx.makerUrl(QStringLiteral("/new/index.php?board=6.0 ")).toString(),
                 QStringLiteral("http://127.0.0.1:8080/new/index.php?board=6.0"));
        QCOMPARE(ctx.searchUrl(QStringLiteral("google"), QStringLiteral("/search?q=1")).toString(),
                 QStringLiteral("https://g.example/search?q=1"));
        QCOMPARE(ctx.searchUrl(QStringLiteral("yandex"), QStringLiteral("/x")).toString(), QStringLiteral("http://yandex.ru/x"));
    }

    void iniWritesAndReadsSafely()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        writeFile(path, "[SQL]\nhost = 127.0.0.1 \nport=3304\n[Auth]\nLogin=old\n");
        core::IniFile ini(path);
        // Blanks around the sign and the value are layout.
        QCOMPARE(ini.readString(QStringLiteral("SQL"), QStringLiteral("host")), QStringLiteral("127.0.0.1"));
        // A pasted value with line breaks stays one line and adds no key.
        QVERIFY(ini.writeString(QStringLiteral("Auth"), QStringLiteral("Login"), QStringLiteral("user\r\nPassword=evil")));
        core::IniFile again(path);
        QCOMPARE(again.readString(QStringLiteral("Auth"), QStringLiteral("Login")), QStringLiteral("userPassword=evil"));
        QVERIFY(!again.contains(QStringLiteral("Auth"), QStringLiteral("Password")));
    }

    void iniAndTasksReadUtf8OrWindows1251()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.ini"));
        const QString login = QStringLiteral("Администратор");
        writeFile(path, "[Auth]\nLogin=" + QStringEncoder("windows-1251").encode(login) + "\n");
        QCOMPARE(core::IniFile(path).readString(QStringLiteral("Auth"), QStringLiteral("Login")), login);
        writeFile(path, "\xEF\xBB\xBF[Auth]\nLogin=" + login.toUtf8() + "\n");
        QCOMPARE(core::IniFile(path).readString(QStringLiteral("Auth"), QStringLiteral("Login")), login);
        QCOMPARE(core::DecodeLocalText(QStringEncoder("windows-1251").encode(QStringLiteral("ёжик"))), QStringLiteral("ёжик"));
    }

    void portOutOfRangeIsRefused_data()
    {
        QTest::addColumn<QByteArray>("port");
        QTest::newRow("zero") << QByteArray("0");
        QTest::newRow("too large") << QByteArray("70000");
        QTest::newRow("negative") << QByteArray("-5");
    }
    void portOutOfRangeIsRefused()
    {
        QFETCH(QByteArray, port);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("config.ini")), "[SQL]\nport=" + port + "\n");
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        ScriptedPrompt p;
        ctx.readConfig();
        QCOMPARE(ctx.Db.port, 3304);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].contains(QStringLiteral("port")));
    }

    void modeFromFirstArgument()
    {
        using app::Mode;
        QCOMPARE(app::ModeFromArguments({QStringLiteral("q")}), Mode::Normal);
        QCOMPARE(app::ModeFromArguments({QStringLiteral("q"), QStringLiteral("update")}), Mode::Update);
        QCOMPARE(app::ModeFromArguments({QStringLiteral("q"), QStringLiteral("update"), QStringLiteral("x")}), Mode::Update);
        QCOMPARE(app::ModeFromArguments({QStringLiteral("q"), QStringLiteral("Update")}), Mode::Normal);
        QCOMPARE(app::ModeFromArguments({QStringLiteral("q"), QStringLiteral("updates")}), Mode::Normal);
    }

    void installPathIsRecordedOnce()
    {
        QTemporaryDir store;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
        QCOMPARE(core::ReadInstallPath(), QString());
        core::RecordInstallPath(QStringLiteral("/opt/first/"));
        QCOMPARE(core::ReadInstallPath(), QStringLiteral("/opt/first/"));
        core::RecordInstallPath(QStringLiteral("/opt/second/"));
        QCOMPARE(core::ReadInstallPath(), QStringLiteral("/opt/first/"));
    }

    void pluginFoldersAndPrograms()
    {
        QTemporaryDir dir;
        const QString app = dir.path() + QLatin1Char('/');
        ScriptedPrompt p;
        QCOMPARE(core::ListSubfolders(app + QStringLiteral("Plugins/")), QStringList());
        QCOMPARE(p.messages, QStringList{QStringLiteral("Не могу войти в каталог: ") + app + QStringLiteral("Plugins/")});
        QDir(app).mkpath(QStringLiteral("Plugins/b-tool"));
        QDir(app).mkpath(QStringLiteral("Plugins/A&B"));
        QDir(app).mkpath(QStringLiteral("Plugins/empty"));
        writeFile(app + QStringLiteral("Plugins/readme.txt"), "not a plug-in");
        writeFile(app + QStringLiteral("Plugins/b-tool/notes.txt"), "x");
        writeFile(app + QStringLiteral("Plugins/b-tool/z.sh"), "#!/bin/sh\n");
        QFile::setPermissions(app + QStringLiteral("Plugins/b-tool/z.sh"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(app + QStringLiteral("Plugins/b-tool/Tool.EXE"), "MZ");
        const QString cwd = QDir::currentPath();
        QCOMPARE(core::ListSubfolders(app + QStringLiteral("Plugins/")),
                 (QStringList{QStringLiteral("A&B"), QStringLiteral("b-tool"), QStringLiteral("empty")}));
        QCOMPARE(core::FindPluginProgram(app + QStringLiteral("Plugins/b-tool/")),
                 app + QStringLiteral("Plugins/b-tool/Tool.EXE"));
        p.messages.clear();
        QCOMPARE(core::RunPlugin(app, QStringLiteral("empty")), -1);
        QCOMPARE(p.messages, QStringList{QStringLiteral("Нет исполнительного файла для плагина!")});
        QCOMPARE(core::RunPlugin(app, QStringLiteral("b-tool")), 4242);
        QCOMPARE(p.started.size(), 1);
        QCOMPARE(p.started[0].program, app + QStringLiteral("Plugins/b-tool/Tool.EXE"));
        QCOMPARE(p.started[0].workingDir, app + QStringLiteral("Plugins/b-tool/"));
        QCOMPARE(QDir::currentPath(), cwd);
    }

    void pluginRunsForReal()
    {
        QTemporaryDir dir;
        const QString app = dir.path() + QLatin1Char('/');
        QDir(app).mkpath(QStringLiteral("Plugins/marker"));
        const QString script = app + QStringLiteral("Plugins/marker/run.sh");
        writeFile(script, "#!/bin/sh\necho started > \"$PWD/marker.txt\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(core::RunPlugin(app, QStringLiteral("marker")) > 0);
        const QString marker = app + QStringLiteral("Plugins/marker/marker.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker) && readFile(marker) == "started\n", 10000);
    }

    void startedProgramsGetOnlyTheStandardFiles()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("fds.sh"));
        // The program lists its own open descriptors on its output.
        writeFile(script, "#!/bin/sh\nexec ls -l /proc/self/fd\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A file this process holds open must not reach the child.
        QFile held(dir.filePath(QStringLiteral("held.txt")));
        QVERIFY(held.open(QIODevice::WriteOnly));
        const QString log = dir.filePath(QStringLiteral("out.log"));
        QVERIFY(core::StartDetachedClean(script, {}, dir.path(), log) > 0);
        QTRY_VERIFY_WITH_TIMEOUT(readFile(log).contains(" 2 -> "), 10000);
        const QString text = QString::fromLocal8Bit(readFile(log));
        QVERIFY2(text.contains(QStringLiteral(" 1 -> ") + log), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral(" 0 -> /dev/null")), qPrintable(text));
        QStringList others;
        for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype arrow = line.indexOf(QStringLiteral(" -> "));
            if (arrow < 0)
                continue;
            const QString fd = line.left(arrow).section(QLatin1Char(' '), -1);
            // ls's own handle on the folder it lists is the only other one.
            if (fd.toInt() > 2 && !line.mid(arrow + 4).startsWith(QStringLiteral("/proc/")))
                others << line;
        }
        QVERIFY2(others.isEmpty(), qPrintable(text));
        QCOMPARE(core::StartDetachedClean(dir.filePath(QStringLiteral("missing")), {}, dir.path()), -1);
    }

    void launchOpensAddresses()
    {
        ScriptedPrompt p;
        QCOMPARE(core::LaunchProgram(QStringLiteral(" http://maker.example/new/index.php?board=4.0 "), QString(),
                                     QStringLiteral("/tmp/")),
                 0);
        QCOMPARE(p.openedUrls, QList<QUrl>{QUrl(QStringLiteral("http://maker.example/new/index.php?board=4.0"))});
        QVERIFY(p.started.isEmpty());
        QCOMPARE(core::LaunchProgram(QStringLiteral("mariadbd"), QStringLiteral("--port=3304 --bind-address=127.0.0.1"),
                                     QStringLiteral("/srv/mysql/bin/")),
                 4242);
        QCOMPARE(p.started[0].program, QStringLiteral("/srv/mysql/bin/mariadbd"));
        QCOMPARE(p.started[0].arguments,
                 (QStringList{QStringLiteral("--port=3304"), QStringLiteral("--bind-address=127.0.0.1")}));
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
