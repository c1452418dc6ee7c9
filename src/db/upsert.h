#pragma once
// Rows found by their key and then written over or added.
#include <QString>

namespace qv::db {

// The row `where` (" WHERE <key conditions>") picks in `table`.
QString KeyedRowSql(const QString &table, const QString &where);
// The statement that writes the row `where` picks: `set` on it when it
// exists, else `insert`.
QString KeyedWriteSql(const QString &table, const QString &where, bool exists, const QString &set, const QString &insert);
// Reads the row `where` picks in `table`, then sets `set` on it when there is
// one, else runs `insert`. False when a statement failed (reported).
bool Upsert(const QString &table, const QString &where, const QString &set, const QString &insert);

} // namespace qv::db
