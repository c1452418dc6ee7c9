#pragma once
// Starting outside programs: the local database server, the mailer, plug-ins
// and the maker's pages.
#include "core/prompt.h"

#include <QString>
#include <QStringList>

namespace qv::core {

// Starts `file` with `parameters` in `folder` without waiting. A relative file
// name is looked up in `folder`; a web address opens in the default browser.
// Returns the process id (0 for an opened address), or -1.
qint64 LaunchProgram(const QString &file, const QString &parameters, const QString &folder);
// The same with the parameters as a list, each one argument whatever it holds.
qint64 LaunchProgram(const QString &file, const QStringList &parameters, const QString &folder);

// Starts `program` with `arguments` in `workingDir`, detached from this
// process: its own session, standard input from /dev/null, standard output
// and error to `outputFile` (appended; /dev/null when empty), and no other
// file of this process open in it (the browser engine's sockets and shared
// memory stay here). Returns the process id, or -1.
qint64 StartDetachedClean(const QString &program, const QStringList &arguments, const QString &workingDir,
                          const QString &outputFile = QString());

// Starts `program` as StartDetachedClean does, its output and error output
// collected, and calls `ended` from the event loop once it has ended (never
// from within this call): nothing waits for it meanwhile. Returns the process
// id, or -1 (and `ended` is never called).
qint64 StartWatchedClean(const QString &program, const QStringList &arguments, const QString &workingDir, ProgramEnded ended);

// LaunchProgram with the parameters as a list, through the prompt seam's
// watched start: `ended` is called when the program has ended.
qint64 LaunchWatchedProgram(const QString &file, const QStringList &parameters, const QString &folder, ProgramEnded ended);

// Names of the subfolders of `folder`, in name order. A missing folder gives
// the message "Не могу войти в каталог: " + folder and an empty list.
QStringList ListSubfolders(const QString &folder);

// The program a plug-in folder starts: the first file, in name order, whose
// name ends in ".exe" or that may be executed. Empty when there is none.
QString FindPluginProgram(const QString &pluginFolder);

// Starts the plug-in of the subfolder `name` of AppDir + "Plugins/".
// Returns the process id, or -1 (with the reason shown).
qint64 RunPlugin(const QString &appDir, const QString &name);

} // namespace qv::core
