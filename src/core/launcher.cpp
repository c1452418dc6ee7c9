#include "core/launcher.h"
#include "core/prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <cerrno>
#include <vector>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::core {

qint64 StartDetachedClean(const QString &program, const QStringList &arguments, const QString &workingDir,
                          const QString &outputFile)
{
    // Everything the child needs is prepared before the fork.
    const QByteArray prog = QFile::encodeName(program);
    QList<QByteArray> argBytes;
    argBytes.append(prog);
    for (const QString &a : arguments)
        argBytes.append(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const QByteArray dir = QFile::encodeName(workingDir);
    const QByteArray out = outputFile.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(outputFile);
    const long maxFd = ::sysconf(_SC_OPEN_MAX) > 0 ? ::sysconf(_SC_OPEN_MAX) : 1024;

    // The grandchild's pid comes back through a pipe; the child exits at once.
    int pidPipe[2];
    if (::pipe2(pidPipe, O_CLOEXEC) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pidPipe[0]);
        ::close(pidPipe[1]);
        return -1;
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            const qint64 id = grandchild;
            (void)!::write(pidPipe[1], &id, sizeof id);
            ::_exit(0);
        }
        const int in = ::open("/dev/null", O_RDONLY);
        const int logFd = ::open(out.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (in < 0 || logFd < 0)
            ::_exit(127);
        ::dup2(in, 0);
        ::dup2(logFd, 1);
        ::dup2(logFd, 2);
        for (long fd = 3; fd < maxFd; ++fd) {
            if (fd != pidPipe[1])
                ::close(static_cast<int>(fd));
        }
        if (!dir.isEmpty() && ::chdir(dir.constData()) != 0)
            ::_exit(127);
        // The pipe closes on exec, which tells the parent the start worked.
        ::execv(prog.constData(), argv.data());
        const qint64 failed = -1;
        (void)!::write(pidPipe[1], &failed, sizeof failed);
        ::_exit(127);
    }
    ::close(pidPipe[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    qint64 id = -1, execFailed = 0;
    ssize_t n;
    while ((n = ::read(pidPipe[0], &id, sizeof id)) < 0 && errno == EINTR) {
    }
    if (n != sizeof id)
        id = -1;
    // A second value means exec failed.
    while ((n = ::read(pidPipe[0], &execFailed, sizeof execFailed)) < 0 && errno == EINTR) {
    }
    ::close(pidPipe[0]);
    if (n == sizeof execFailed && execFailed == -1)
        return -1;
    return id;
}

qint64 LaunchProgram(const QString &file, const QString &parameters, const QString &folder)
{
    const QString f = file.trimmed();
    const QUrl url(f);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1 && url.scheme() != QLatin1String("file"))
        return prompt().openUrl(url) ? 0 : -1;
    QString program = f;
    if (QFileInfo(program).isRelative() && !folder.isEmpty())
        program = QDir(folder).filePath(program);
    return prompt().startProgram(program, QProcess::splitCommand(parameters), folder);
}

qint64 LaunchProgram(const QString &file, const QStringList &parameters, const QString &folder)
{
    QString program = file.trimmed();
    if (QFileInfo(program).isRelative() && !folder.isEmpty())
        program = QDir(folder).filePath(program);
    return prompt().startProgram(program, parameters, folder);
}

QStringList ListSubfolders(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        prompt().message(QStringLiteral("Не могу войти в каталог: ") + folder, MessageIcon::Warning);
        return {};
    }
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QString FindPluginProgram(const QString &pluginFolder)
{
    const QDir dir(pluginFolder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &fi : files) {
        if (fi.fileName().endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive) || fi.isExecutable())
            return fi.absoluteFilePath();
    }
    return QString();
}

qint64 RunPlugin(const QString &appDir, const QString &name)
{
    const QString folder = appDir + QStringLiteral("Plugins/") + name + QLatin1Char('/');
    if (!QFileInfo(folder).isDir()) {
        prompt().message(QStringLiteral("Не могу войти в каталог: ") + folder, MessageIcon::Warning);
        return -1;
    }
    const QString program = FindPluginProgram(folder);
    if (program.isEmpty()) {
        prompt().message(QStringLiteral("Нет исполнительного файла для плагина!"));
        return -1;
    }
    return LaunchProgram(program, QString(), folder);
}

} // namespace qv::core
