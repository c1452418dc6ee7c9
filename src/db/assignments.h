#pragma once
// The "column=value" parts of UPDATE and INSERT ... SET statements, every value
// quoted.
#include <QString>

namespace qv::db {

// "column=" and the quoted value.
QString Assignment(const QString &column, const QString &value);

// Assignment() of every (column, value) pair, joined by `separator`.
template <typename Pairs>
QString Assignments(const Pairs &pairs, const QString &separator)
{
    QString out;
    bool first = true;
    for (const auto &[column, value] : pairs) {
        if (!first)
            out += separator;
        first = false;
        out += Assignment(QString(column), value);
    }
    return out;
}

} // namespace qv::db
