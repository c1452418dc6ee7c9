// The updater: waiting for a running copy and copying the new files.
#include "core/installpath.h"
#include "app/tfrmupdate.h"
#include "app/updater.h"
#include "support/files.h"
#include "support/scriptedprompt.h"

#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;
using qv::test::readFile;
using qv::test::ScriptedPrompt;
using qv::test::writeFile;

namespace {
const QString kRunning = QStringLiteral("У Вас открыта копия Quorvantile. Закройте ее и нажмите OK");
} // namespace

class TestUpdater : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_src, m_dst;
    QString src() const { return m_src->path() + QLatin1Char('/'); }
    QString dst() const { return m_dst->path() + QLatin1Char('/'); }
    QString lock() const { return m_src->path() + QStringLiteral("/running.lock"); }

    void recordInstallPath(const QString &path)
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvantile"), QStringLiteral("Quorvantile"))
            .clear();
        if (!path.isEmpty())
            core::RecordInstallPath(path);
    }

private Q_SLOTS:
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path()); }
    void init()
    {
        m_src = std::make_unique<QTemporaryDir>();
        m_dst = std::make_unique<QTemporaryDir>();
        QByteArray binary;
        for (int i = 0; i < 300000; ++i)
            binary.append(char(i * 7));
        writeFile(src() + QStringLiteral("Vevizavuzod.ure"), binary);
        QFile::setPermissions(src() + QStringLiteral("Vevizavuzod.ure"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        writeFile(src() + QStringLiteral("catalogs.shbl"), "Адрес=catalog_name\r\n");
        writeFile(src() + QStringLiteral("tasks.sql"), "UPDATE users SET user_fio='x'\n");
        writeFile(dst() + QStringLiteral("catalogs.shbl"), "old");
        recordInstallPath(dst());
    }

    void copiesAllThreeByteForByte()
    {
        ScriptedPrompt p;
        app::TfrmUpdate w(src(), lock());
        QVERIFY(w.outcome().done);
        QCOMPARE(w.outcome().copied, app::UpdateFiles());
        for (const QString &name : app::UpdateFiles())
            QCOMPARE(readFile(dst() + name), readFile(src() + name));
        QVERIFY(QFileInfo(dst() + QStringLiteral("Vevizavuzod.ure")).isExecutable());
        QCOMPARE(w.lblResult->text(), QStringLiteral("Обновление программы Quorvantile успешно завершено."));
        QVERIFY(p.messages.isEmpty());
        QVERIFY(p.questions.isEmpty());
        // No temporary files are left behind.
        QCOMPARE(QDir(dst()).entryList(QDir::Files).size(), 3);
    }

    void waitsWhileACopyRuns()
    {
        auto running = std::make_unique<app::RunningCopyLock>(lock());
        QVERIFY(running->held());
        ScriptedPrompt p;
        int asked = 0;
        p.onQuestion = [&](const QString &) {
            if (++asked == 3)
                running.reset(); // the user closed the other copy
            return true;
        };
        app::TfrmUpdate w(src(), lock());
        QCOMPARE(asked, 3);
        QCOMPARE(p.questions, (QStringList{kRunning, kRunning, kRunning}));
        QVERIFY(w.outcome().done);
    }

    void cancellingTheWaitCopiesNothing()
    {
        app::RunningCopyLock running(lock());
        ScriptedPrompt p;
        p.answers = {true, false};
        app::TfrmUpdate w(src(), lock());
        QVERIFY(w.cancelled());
        QVERIFY(w.outcome().copied.isEmpty());
        QCOMPARE(readFile(dst() + QStringLiteral("catalogs.shbl")), QByteArray("old"));
    }

    void missingSourceFileIsReported()
    {
        QFile::remove(src() + QStringLiteral("tasks.sql"));
        ScriptedPrompt p;
        app::TfrmUpdate w(src(), lock());
        QVERIFY(!w.outcome().done);
        QCOMPARE(w.outcome().copied, (QStringList{QStringLiteral("Vevizavuzod.ure"), QStringLiteral("catalogs.shbl")}));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Не могу открыть файл ") + src() + QStringLiteral("tasks.sql")));
        QCOMPARE(w.lblResult->text(), QStringLiteral("Обновление программы Quorvantile не выполнено."));
        QVERIFY(!QFile::exists(dst() + QStringLiteral("tasks.sql")));
    }

    void refusesWithoutAUsableTarget()
    {
        ScriptedPrompt p;
        recordInstallPath(QString());
        QVERIFY(!app::TfrmUpdate(src(), lock()).outcome().done);
        recordInstallPath(src());
        QVERIFY(!app::TfrmUpdate(src(), lock()).outcome().done);
        QCOMPARE(p.messages.size(), 2);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Не записана папка установки программы")));
        QVERIFY(p.messages[1].startsWith(QStringLiteral("Обновление запущено из папки установки программы")));
        QCOMPARE(readFile(src() + QStringLiteral("catalogs.shbl")), QByteArray("Адрес=catalog_name\r\n"));
    }

    void unwritableTargetIsReported()
    {
        // A folder where the file should go cannot be replaced, even by root.
        QVERIFY(QDir(dst()).mkdir(QStringLiteral("tasks.sql")));
        ScriptedPrompt p;
        app::TfrmUpdate w(src(), lock());
        QVERIFY(!w.outcome().done);
        QCOMPARE(w.outcome().copied, (QStringList{QStringLiteral("Vevizavuzod.ure"), QStringLiteral("catalogs.shbl")}));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Не могу")));
        QVERIFY(QFileInfo(dst() + QStringLiteral("tasks.sql")).isDir());
        QCOMPARE(w.lblResult->text(), QStringLiteral("Обновление программы Quorvantile не выполнено."));
    }

    void staleLockDoesNotCount()
    {
        // A lock file left by a process that is gone.
        writeFile(lock() + QStringLiteral(".999999-0"), "999999\nquorvantile\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        QVERIFY(!app::RunningCopyExists(lock()));
    }

    void everyCopyHoldsItsOwnLock()
    {
        // Two copies open: each holds a lock, and the update waits while either runs.
        auto first = std::make_unique<app::RunningCopyLock>(lock());
        auto second = std::make_unique<app::RunningCopyLock>(lock());
        QVERIFY(first->held());
        QVERIFY(second->held());
        first.reset();
        QVERIFY(app::RunningCopyExists(lock()));
        second.reset();
        QVERIFY(!app::RunningCopyExists(lock()));
    }
};

QTEST_MAIN(TestUpdater)
#include "tst_updater.moc"
