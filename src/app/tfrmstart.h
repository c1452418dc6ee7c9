#pragma once
// The local database server of small-server mode: before the main connection
// is opened, a test connection tells whether a server answers; when none
// does, the program's own server is started on its data folder.
#include <QDialog>
#include <QStringList>

class QListWidget;

namespace qv::core {
struct AppContext;
}
namespace qv::app {

struct LocalServerCommand {
    QString program;
    QStringList arguments;
    QString workingDir;
};

// Where the local server keeps its socket: beside its data unless that path
// is too long for a socket, then a fixed name under /tmp.
QString LocalServerSocket(const QString &appDir);
// The server binary: AppDir + "mysql/bin/mariadbd" when there, else the
// system's; empty when there is none.
QString LocalServerProgram(const QString &appDir);
// The command that starts the local server on the configured port.
LocalServerCommand LocalServerStart(const QString &appDir, const QString &program, int port);

class TfrmStart : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStart(core::AppContext &ctx, QWidget *parent = nullptr);

    QListWidget *lbProgress;

    // The whole work: test, and start the server when none answers. Returns
    // true when a server was launched.
    bool run();
    // Progress lines, newest first.
    QStringList progress() const;

    // How long the start waits for a launched server to take connections.
    void setWaitMs(int ms) { m_waitMs = ms; }

private:
    void addLine(const QString &text);
    bool serverAnswers(unsigned timeoutSeconds = 0);
    bool waitForServer();

    int m_waitMs = 20000;

    core::AppContext &m_ctx;
};

} // namespace qv::app
