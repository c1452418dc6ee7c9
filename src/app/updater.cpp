#include "app/updater.h"
#include "core/prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>
#include <atomic>
#include <QSaveFile>
#include <QStandardPaths>

namespace qv::app {

QStringList UpdateFiles()
{
    return {QStringLiteral("Vevizavuzod.ure"), QStringLiteral("catalogs.shbl"), QStringLiteral("tasks.sql")};
}

QString RunningCopyLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/quorvantile-running.lock");
}

namespace {
// Each running copy locks a file of its own beside the base path: the base
// name, a dot, the process id and a serial number.
QString ownLockPath(const QString &base)
{
    static std::atomic<int> serial{0};
    return base + QLatin1Char('.') + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-')
           + QString::number(serial.fetch_add(1));
}
} // namespace

RunningCopyLock::RunningCopyLock(const QString &path) : m_lock(std::make_unique<QLockFile>(ownLockPath(path)))
{
    m_lock->setStaleLockTime(0);
    m_lock->tryLock(0);
}

RunningCopyLock::~RunningCopyLock() = default;

bool RunningCopyLock::held() const { return m_lock->isLocked(); }

bool RunningCopyExists(const QString &lockPath)
{
    const QFileInfo base(lockPath);
    const QDir dir = base.absoluteDir();
    const QStringList names = dir.entryList({base.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (name.endsWith(QStringLiteral(".rmlock")))
            continue;
        QLockFile probe(dir.filePath(name));
        probe.setStaleLockTime(0);
        // A lock left by a process that is gone is taken over and removed.
        if (probe.tryLock(0)) {
            probe.unlock();
            continue;
        }
        if (probe.error() == QLockFile::LockFailedError)
            return true;
    }
    return false;
}

bool WaitForRunningCopy(const QString &lockPath)
{
    while (RunningCopyExists(lockPath)) {
        if (!core::prompt().okCancel(QStringLiteral("У Вас открыта копия Quorvantile. Закройте ее и нажмите OK")))
            return false;
    }
    return true;
}

QString CopyFileStream(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("Не могу открыть файл ") + source + QStringLiteral(": ") + in.errorString();
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("Не могу создать файл ") + destination + QStringLiteral(": ") + out.errorString();
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            return QStringLiteral("Не могу прочитать файл ") + source + QStringLiteral(": ") + in.errorString();
        if (n == 0)
            break;
        if (out.write(buffer, n) != n)
            return QStringLiteral("Не могу записать файл ") + destination + QStringLiteral(": ") + out.errorString();
    }
    if (!out.commit())
        return QStringLiteral("Не могу записать файл ") + destination + QStringLiteral(": ") + out.errorString();
    QFile::setPermissions(destination, in.permissions());
    return QString();
}

UpdateOutcome RunUpdate(const QString &sourceDir, const QString &installDir)
{
    UpdateOutcome outcome;
    if (installDir.isEmpty()) {
        core::prompt().message(QStringLiteral("Не записана папка установки программы: обновлять нечего. "
                                              "Запустите программу Quorvantile хотя бы один раз."),
                               core::MessageIcon::Error);
        return outcome;
    }
    if (!QFileInfo(installDir).isDir()) {
        core::prompt().message(QStringLiteral("Нет папки установки программы: ") + installDir, core::MessageIcon::Error);
        return outcome;
    }
    const QString from = QFileInfo(sourceDir).canonicalFilePath();
    if (!from.isEmpty() && from == QFileInfo(installDir).canonicalFilePath()) {
        core::prompt().message(QStringLiteral("Обновление запущено из папки установки программы (") + installDir
                                   + QStringLiteral("): файлы некуда копировать."),
                               core::MessageIcon::Error);
        return outcome;
    }
    for (const QString &name : UpdateFiles()) {
        const QString error = CopyFileStream(sourceDir + name, installDir + name);
        if (!error.isEmpty()) {
            core::prompt().message(error, core::MessageIcon::Error);
            return outcome;
        }
        outcome.copied << name;
    }
    outcome.done = true;
    return outcome;
}

} // namespace qv::app
