#pragma once
// The names the user types for the navigator's nodes: a new filter, user
// section or contact section, and the rename of one. One routine checks and
// writes them all: a blank name, a name longer than its column and a name
// already taken are refused with a message and nothing is written.
#include "workbench/resourcelist_logic.h"

#include <QString>
#include <functional>
#include <optional>

namespace qv::workbench {

// How a node's name is asked for and where it goes.
struct NodeNaming {
    QString caption; // the input box's caption
    QString label;   // its prompt; the field's caption in the length message
    QString blank;   // shown for a blank name
    QString taken;   // shown for a name already taken
    QString what;    // "Фильтр", "Раздел": the node, in the message that it changed elsewhere
    // The table and column the name is written to.
    QString table;
    QString column;
    // The SELECT that finds the name taken, and the statement that writes it.
    std::function<QString(const QString &name)> takenSql;
    std::function<QString(const QString &name)> writeSql;
};

enum class NameWrite {
    Written,
    Refused, // a message said why (or a statement failed and was reported)
    Gone,    // the statement found no row to change: another copy changed it first
};

// The name of a kind's filter and of a project's user section: the blank
// message, the column, the node in messages and the SELECT that finds the
// name taken (a filter's among the kind's filters, a section's among the
// project's sections of the kind). The caller adds the input box's texts, the
// taken message and the writing statement.
NodeNaming FilterNaming(const KindFacts &k);
NodeNaming SectionNaming(const KindFacts &k, int projectId);

// Checks the name and runs the writing statement.
NameWrite WriteNodeName(const NodeNaming &naming, const QString &name);

// The message for a rename or delete whose row another copy of the program
// changed or deleted first.
QString ChangedElsewhereMessage(const QString &what, const QString &name);

} // namespace qv::workbench
