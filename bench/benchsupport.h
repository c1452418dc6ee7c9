#pragma once
// What every benchmark needs: output lines, statements on the process
// connection, and a private MariaDB server started the way the test fixture
// starts one (tests/fixture/mariadb.sh), stopped again at the end.
#include <QString>
#include <QTemporaryDir>

namespace qv::bench {

// Before the application object: no display needed (offscreen unless one is
// chosen), and the browser engine's sandbox off when running as root, which
// Chromium refuses otherwise (QTWEBENGINE_CHROMIUM_FLAGS gets --no-sandbox).
void prepareDisplay();
// A line on the standard output, flushed at once.
void out(const QString &line);
// Runs a statement on the process connection (its rows read off); false,
// with the reason on the error output, when it fails.
bool run(const QString &sql);
// First column of the first row ("" when none or failed).
QString scalar(const QString &sql);
// Runs every statement of sql/schema.sql.
bool createSchema();

struct Server {
    QTemporaryDir dir;
    bool started = false;
    int port = 0;

    bool start();
    void stop();
    ~Server() { stop(); }
};

} // namespace qv::bench
