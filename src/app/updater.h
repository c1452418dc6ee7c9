#pragma once
// The updater mode: wait until no copy of the program runs, then copy the new
// files from the updater's own folder into the recorded installation folder.
#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

namespace qv::app {

// The files an update brings, in the order they are copied.
QStringList UpdateFiles();

// Every normal-mode copy of the program holds a lock of its own, named after
// this path, while it runs.
QString RunningCopyLockPath();
class RunningCopyLock {
public:
    explicit RunningCopyLock(const QString &path = RunningCopyLockPath());
    ~RunningCopyLock();
    bool held() const;

private:
    std::unique_ptr<QLockFile> m_lock;
};

// True while any copy of the program runs (a lock held by a live process).
bool RunningCopyExists(const QString &lockPath = RunningCopyLockPath());

// Returns when no copy runs; false when the user cancelled the wait.
bool WaitForRunningCopy(const QString &lockPath = RunningCopyLockPath());

// Copies `source` over `destination` through a temporary file renamed into
// place, keeping the source's permissions. Empty on success, else the reason.
QString CopyFileStream(const QString &source, const QString &destination);

struct UpdateOutcome {
    bool done = false;  // every file copied
    QStringList copied; // names copied, in order
};

// The whole update from `sourceDir` into `installDir` (both with a trailing
// slash), reporting what stops it.
UpdateOutcome RunUpdate(const QString &sourceDir, const QString &installDir);

} // namespace qv::app
