#pragma once
// Storing the lines of one kind's update reply in the local base: one
// transaction per kind, each line all or nothing.
#include "workbench/baseupdate_logic.h"

#include <QStringList>
#include <functional>

namespace qv::workbench {

struct StoreOutcome {
    int stored = 0;
    int failed = 0;
    QString firstFailedLine;    // the first line that was not stored
    QString firstError;         // and why (the server's text or the reader's reason)
    QStringList skippedColumns; // columns the lines held that the table lacks (each once)
    // The kind's transaction could not begin or commit, or its connection was
    // lost on the way: nothing of this kind is stored.
    bool aborted = false;
    QString abortError;
};

// Stores `lines` for `kind`. `progress` (may be empty) is called after every line
// with the count done and the line's resource name; it must not run a statement.
StoreOutcome StoreUpdateLines(const KindFacts &kind, const QStringList &lines,
                              const std::function<void(int, const QString &)> &progress = {});

} // namespace qv::workbench
