#include "db/upsert.h"
#include "db/query.h"

namespace qv::db {

QString KeyedRowSql(const QString &table, const QString &where) { return QStringLiteral("SELECT * FROM ") + table + where; }

QString KeyedWriteSql(const QString &table, const QString &where, bool exists, const QString &set, const QString &insert)
{
    return exists ? QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + set + where : insert;
}

bool Upsert(const QString &table, const QString &where, const QString &set, const QString &insert)
{
    bool failed = false;
    const auto row = FirstRow(KeyedRowSql(table, where), &failed);
    if (failed)
        return false;
    return ExecQuery(KeyedWriteSql(table, where, row.has_value(), set, insert)) == 0;
}

} // namespace qv::db
