#pragma once
// "Tasks.sql" beside the executable: statements left by an update, one per
// line, run at the next normal start.
#include <QString>

namespace qv::app {

struct TasksOutcome {
    bool found = false;     // a tasks file was there
    int ran = 0;            // statements that succeeded
    bool failed = false;    // a statement failed (already reported)
    bool fileError = false; // the file could not be read or rewritten (already reported)
};

// Finds the file in `dir` whatever the letter case of its name.
QString FindTasksFile(const QString &dir);

// Runs every non-blank line, in order, through ExecQuery. When all succeed the
// file is deleted; at the first failure the file is rewritten to hold only
// the lines not yet run (the failing one first), so a later start does not
// replay what already ran.
TasksOutcome RunPendingTasks(const QString &dir);

} // namespace qv::app
