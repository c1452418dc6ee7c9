#include "app/tfrmstart.h"
#include "core/appcontext.h"
#include "core/launcher.h"
#include "core/prompt.h"
#include "db/database.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <unistd.h>

namespace qv::app {

namespace {
// Attempts at getting a client object before giving up.
constexpr int kClientAttempts = 20;

QString withoutSlash(QString dir)
{
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}
} // namespace

QString LocalServerSocket(const QString &appDir)
{
    const QString base = withoutSlash(appDir);
    const QString socket = base + QStringLiteral("/mysql/mysqld.sock");
    if (socket.toUtf8().size() <= 100)
        return socket;
    const QByteArray hash = QCryptographicHash::hash(base.toUtf8(), QCryptographicHash::Md5).toHex().left(12);
    return QStringLiteral("/tmp/quorvantile-") + QString::fromLatin1(hash) + QStringLiteral(".sock");
}

QString LocalServerProgram(const QString &appDir)
{
    const QString own = appDir + QStringLiteral("mysql/bin/mariadbd");
    if (QFileInfo(own).isExecutable())
        return own;
    QString system = QStandardPaths::findExecutable(QStringLiteral("mariadbd"));
    if (system.isEmpty())
        system = QStandardPaths::findExecutable(QStringLiteral("mariadbd"),
                                                {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return system;
}

LocalServerCommand LocalServerStart(const QString &appDir, const QString &program, int port)
{
    const QString mysqlDir = appDir + QStringLiteral("mysql/");
    LocalServerCommand c;
    c.program = program;
    c.workingDir = mysqlDir;
    c.arguments = {QStringLiteral("--no-defaults"),
                   QStringLiteral("--datadir=") + mysqlDir + QStringLiteral("data"),
                   QStringLiteral("--port=") + QString::number(port),
                   QStringLiteral("--bind-address=127.0.0.1"),
                   QStringLiteral("--socket=") + LocalServerSocket(appDir),
                   QStringLiteral("--pid-file=") + mysqlDir + QStringLiteral("mysqld.pid"),
                   QStringLiteral("--log-error=") + mysqlDir + QStringLiteral("mysqld.err")};
    if (::geteuid() == 0)
        c.arguments << QStringLiteral("--user=root");
    return c;
}

TfrmStart::TfrmStart(core::AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmStart"));
    setWindowTitle(QStringLiteral("Quorvantile 3"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Quorvantile 3.0 - загрузка программы....."), this));
    lbProgress = new QListWidget(this);
    lbProgress->setObjectName(QStringLiteral("lbProgress"));
    layout->addWidget(lbProgress);
    resize(420, 180);
}

void TfrmStart::addLine(const QString &text)
{
    lbProgress->insertItem(0, text);
    QCoreApplication::processEvents();
}

QStringList TfrmStart::progress() const
{
    QStringList lines;
    for (int i = 0; i < lbProgress->count(); ++i)
        lines << lbProgress->item(i)->text();
    return lines;
}

bool TfrmStart::serverAnswers(unsigned timeoutSeconds)
{
    db::Database probe;
    for (int i = 0; i < kClientAttempts && !probe.create(); ++i)
        QCoreApplication::processEvents();
    if (!probe.isCreated()) {
        core::prompt().message(QStringLiteral("Couldn't init PMYSQL object"), core::MessageIcon::Error);
        return false;
    }
    if (!probe.setConnectTimeout(timeoutSeconds ? timeoutSeconds : m_ctx.Db.connectTimeoutSeconds))
        return false;
    bool answers = probe.connect(m_ctx.Db.host, m_ctx.Db.user, m_ctx.Db.password, static_cast<unsigned>(m_ctx.Db.port));
    // A refused login (1045) comes from a server that runs: the connection
    // step will say what is wrong with the settings.
    if (!answers && probe.errorNumber() == 1045)
        answers = true;
    probe.close();
    return answers;
}

bool TfrmStart::run()
{
    if (!m_ctx.Db.serverSmall)
        return false;
    QCoreApplication::processEvents();
    addLine(QStringLiteral("Server Small Mode..."));
    addLine(QStringLiteral("Проверка работоспособности MySQL сервера..."));
    QCoreApplication::processEvents();
    if (serverAnswers())
        return false;

    addLine(QStringLiteral("mySQL cервер не запущен!"));
    addLine(QStringLiteral("Запуск mysql сервера (Server Small Mode)"));
    const QString program = LocalServerProgram(m_ctx.AppDir);
    if (program.isEmpty()) {
        core::prompt().message(QStringLiteral("Не найден сервер MySQL: нет ни ") + m_ctx.AppDir
                                   + QStringLiteral("mysql/bin/mariadbd, ни mariadbd в системе."),
                               core::MessageIcon::Error);
        return false;
    }
    const QString dataDir = m_ctx.AppDir + QStringLiteral("mysql/data");
    if (!QFileInfo(dataDir).isDir()) {
        core::prompt().message(QStringLiteral("Нет папки данных сервера MySQL: ") + dataDir, core::MessageIcon::Error);
        return false;
    }
    const LocalServerCommand c = LocalServerStart(m_ctx.AppDir, program, m_ctx.Db.port);
    if (core::prompt().startProgram(c.program, c.arguments, c.workingDir) <= 0)
        return false;
    waitForServer();
    return true;
}

bool TfrmStart::waitForServer()
{
    // The connection comes right after: wait until the new server takes one,
    // so that a first start does not end in the connection question.
    QElapsedTimer elapsed;
    elapsed.start();
    int lastSecond = -1;
    while (elapsed.elapsed() < m_waitMs) {
        const int second = static_cast<int>(elapsed.elapsed() / 1000);
        if (second != lastSecond) {
            lastSecond = second;
            addLine(QStringLiteral("Ожидание запуска сервера... %1 с").arg(second));
        }
        if (serverAnswers(1)) {
            addLine(QStringLiteral("Сервер MySQL запущен."));
            return true;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        QThread::msleep(100);
    }
    addLine(QStringLiteral("Сервер MySQL не ответил."));
    return false;
}

} // namespace qv::app
