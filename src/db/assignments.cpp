#include "db/assignments.h"
#include "db/query.h"

namespace qv::db {

QString Assignment(const QString &column, const QString &value) { return column + QLatin1Char('=') + Sql(value); }

} // namespace qv::db
