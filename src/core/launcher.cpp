#include "core/launcher.h"
#include "core/prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <vector>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::core {

namespace {

struct CleanStart {
    qint64 pid = -1;
    // With a watch: the process that waits for the program, and the pipe
    // on which it reports the program's wait status when it has ended.
    pid_t waiter = -1;
    int endFd = -1;
};

void closeFrom3Except(long maxFd, int keep1, int keep2)
{
    for (long fd = 3; fd < maxFd; ++fd) {
        if (fd != keep1 && fd != keep2)
            ::close(static_cast<int>(fd));
    }
}

// What the children need, prepared before the fork: after it they only make
// system calls.
struct ExecPlan {
    QByteArray prog;
    QList<QByteArray> argBytes;
    std::vector<char *> argv;
    QByteArray dir;
    QByteArray out;
    long maxFd;

    ExecPlan(const QString &program, const QStringList &arguments, const QString &workingDir, const QString &outputFile)
        : prog(QFile::encodeName(program)), dir(QFile::encodeName(workingDir)),
          out(outputFile.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(outputFile)),
          maxFd(::sysconf(_SC_OPEN_MAX) > 0 ? ::sysconf(_SC_OPEN_MAX) : 1024)
    {
        argBytes.append(prog);
        for (const QString &a : arguments)
            argBytes.append(a.toLocal8Bit());
        for (QByteArray &a : argBytes)
            argv.push_back(a.data());
        argv.push_back(nullptr);
    }
    ExecPlan(const ExecPlan &) = delete;
    ExecPlan &operator=(const ExecPlan &) = delete;
};

void reap(pid_t p)
{
    int status = 0;
    while (::waitpid(p, &status, 0) < 0 && errno == EINTR) {
    }
}

// The grandchild: input from /dev/null, output to the output file, the folder
// changed, then the program. Writes -1 to `pidFd` when it cannot be started.
[[noreturn]] void execProgram(const ExecPlan &plan, int pidFd)
{
    const int in = ::open("/dev/null", O_RDONLY);
    const int logFd = ::open(plan.out.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in < 0 || logFd < 0)
        ::_exit(127);
    ::dup2(in, 0);
    ::dup2(logFd, 1);
    ::dup2(logFd, 2);
    closeFrom3Except(plan.maxFd, pidFd, -1);
    if (!plan.dir.isEmpty() && ::chdir(plan.dir.constData()) != 0)
        ::_exit(127);
    // The pipe closes on exec, which tells the parent the start worked.
    ::execv(plan.prog.constData(), plan.argv.data());
    const qint64 failed = -1;
    (void)!::write(pidFd, &failed, sizeof failed);
    ::_exit(127);
}

// The child in between, in a session of its own: starts the grandchild and
// reports its pid on `pidFd`; with a watch it then waits for it and writes
// its wait status to `endFd`.
[[noreturn]] void startGrandchild(const ExecPlan &plan, int pidFd, int endFd, bool watch)
{
    ::setsid();
    if (watch) {
        const int none = ::open("/dev/null", O_RDWR);
        if (none < 0)
            ::_exit(127);
        for (int fd = 0; fd < 3; ++fd)
            ::dup2(none, fd);
        closeFrom3Except(plan.maxFd, pidFd, endFd);
    }
    const pid_t grandchild = ::fork();
    if (grandchild == 0)
        execProgram(plan, pidFd);
    const qint64 id = grandchild;
    (void)!::write(pidFd, &id, sizeof id);
    if (!watch || grandchild < 0)
        ::_exit(0);
    ::close(pidFd);
    int status = 0;
    while (::waitpid(grandchild, &status, 0) < 0 && errno == EINTR) {
    }
    (void)!::write(endFd, &status, sizeof status);
    ::_exit(0);
}

// The grandchild's pid as the child reports it; -1 when it could not be
// started (no pid, or a second value after it: exec failed).
qint64 readStartedPid(int fd)
{
    qint64 id = -1, execFailed = 0;
    ssize_t n;
    while ((n = ::read(fd, &id, sizeof id)) < 0 && errno == EINTR) {
    }
    if (n != sizeof id)
        id = -1;
    // A second value means exec failed; the end of the pipe, that it worked.
    while ((n = ::read(fd, &execFailed, sizeof execFailed)) < 0 && errno == EINTR) {
    }
    if (n == sizeof execFailed && execFailed == -1)
        id = -1;
    return id;
}

// Starts the program in a grandchild of its own session. Without a watch the
// child in between exits at once; with one it stays, holding nothing of this
// process open, waits for the program and writes its wait status to endFd.
CleanStart startClean(const QString &program, const QStringList &arguments, const QString &workingDir, const QString &outputFile,
                      bool watch)
{
    const ExecPlan plan(program, arguments, workingDir, outputFile);

    // The grandchild's pid comes back through a pipe.
    int pidPipe[2];
    if (::pipe2(pidPipe, O_CLOEXEC) != 0)
        return {};
    int endPipe[2] = {-1, -1};
    if (watch && ::pipe2(endPipe, O_CLOEXEC) != 0) {
        ::close(pidPipe[0]);
        ::close(pidPipe[1]);
        return {};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        for (int fd : {pidPipe[0], pidPipe[1], endPipe[0], endPipe[1]}) {
            if (fd >= 0)
                ::close(fd);
        }
        return {};
    }
    if (child == 0)
        startGrandchild(plan, pidPipe[1], endPipe[1], watch);
    ::close(pidPipe[1]);
    if (watch)
        ::close(endPipe[1]);
    if (!watch)
        reap(child);
    const qint64 id = readStartedPid(pidPipe[0]);
    ::close(pidPipe[0]);
    if (!watch)
        return {id, -1, -1};
    if (id < 0) {
        // The waiter ends with the program that never started.
        ::close(endPipe[0]);
        reap(child);
        return {};
    }
    return {id, child, endPipe[0]};
}

// Waits in the event loop for the end a waiter reports, then hands the exit
// code and the collected output to the caller's callback.
class ProgramWatch : public QObject {
public:
    ProgramWatch(const CleanStart &start, QString outputFile, ProgramEnded ended)
        : QObject(QCoreApplication::instance()), m_waiter(start.waiter), m_fd(start.endFd), m_output(std::move(outputFile)),
          m_ended(std::move(ended)), m_notifier(m_fd, QSocketNotifier::Read, this)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &ProgramWatch::onEnd);
    }
    ~ProgramWatch() override
    {
        // The program may outlive this process: its output file goes, the
        // program writes on into the removed file.
        if (m_fd >= 0)
            ::close(m_fd);
        QFile::remove(m_output);
    }

private:
    void onEnd()
    {
        m_notifier.setEnabled(false);
        int status = 0;
        ssize_t n;
        while ((n = ::read(m_fd, &status, sizeof status)) < 0 && errno == EINTR) {
        }
        ::close(m_fd);
        m_fd = -1;
        int waited = 0;
        while (::waitpid(m_waiter, &waited, 0) < 0 && errno == EINTR) {
        }
        const int exitCode = n == sizeof status && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        // The end of the output is what tells how the run ended.
        QString output;
        QFile f(m_output);
        if (f.open(QIODevice::ReadOnly)) {
            constexpr qint64 kTail = 64 * 1024;
            if (f.size() > kTail)
                f.seek(f.size() - kTail);
            output = QString::fromLocal8Bit(f.readAll());
        }
        const ProgramEnded ended = std::move(m_ended);
        deleteLater();
        if (ended)
            ended(exitCode, output);
    }

    pid_t m_waiter;
    int m_fd;
    QString m_output;
    ProgramEnded m_ended;
    QSocketNotifier m_notifier;
};

// A relative program file is looked up in `folder`.
QString programIn(const QString &file, const QString &folder)
{
    QString program = file.trimmed();
    if (QFileInfo(program).isRelative() && !folder.isEmpty())
        program = QDir(folder).filePath(program);
    return program;
}

} // namespace

qint64 StartDetachedClean(const QString &program, const QStringList &arguments, const QString &workingDir,
                          const QString &outputFile)
{
    return startClean(program, arguments, workingDir, outputFile, false).pid;
}

qint64 StartWatchedClean(const QString &program, const QStringList &arguments, const QString &workingDir, ProgramEnded ended)
{
    QTemporaryFile output(QDir::tempPath() + QStringLiteral("/quorvantile-program-XXXXXX.log"));
    output.setAutoRemove(false);
    if (!output.open())
        return -1;
    const QString outputFile = output.fileName();
    output.close();
    const CleanStart start = startClean(program, arguments, workingDir, outputFile, true);
    if (start.pid < 0) {
        QFile::remove(outputFile);
        return -1;
    }
    new ProgramWatch(start, outputFile, std::move(ended));
    return start.pid;
}

qint64 LaunchProgram(const QString &file, const QString &parameters, const QString &folder)
{
    const QString f = file.trimmed();
    const QUrl url(f);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1 && url.scheme() != QLatin1String("file"))
        return prompt().openUrl(url) ? 0 : -1;
    return prompt().startProgram(programIn(f, folder), QProcess::splitCommand(parameters), folder);
}

qint64 LaunchProgram(const QString &file, const QStringList &parameters, const QString &folder)
{
    return prompt().startProgram(programIn(file, folder), parameters, folder);
}

qint64 LaunchWatchedProgram(const QString &file, const QStringList &parameters, const QString &folder, ProgramEnded ended)
{
    return prompt().startWatchedProgram(programIn(file, folder), parameters, folder, std::move(ended));
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
