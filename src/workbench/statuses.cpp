#include "workbench/statuses.h"
#include "core/appcontext.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/kindfacts.h"
#include "workbench/resourcelist_logic.h"

namespace qv::workbench {

namespace {
// Whose status a log row keeps: the project's (forums: the press release's).
QString logOwner(const KindFacts &k, int projectId, int materialId)
{
    return k.statusPerMaterial ? k.statusPrefix + QStringLiteral("material_id=") + db::SqlInt(materialId)
                               : k.statusPrefix + QStringLiteral("project_id=") + db::SqlInt(projectId);
}
} // namespace

StatusChoice StatusFromButtons(bool checking, bool added, bool refused, const QString &time)
{
    if (checking)
        return {QStringLiteral("1"), QStringLiteral("Проверка (") + time + QLatin1Char(')')};
    if (added)
        return {QStringLiteral("2"), QStringLiteral("Добавлен (") + time + QLatin1Char(')')};
    if (refused)
        return {QStringLiteral("3"), QStringLiteral("Отказано (") + time + QLatin1Char(')')};
    return {QStringLiteral("0"), QString()};
}

std::optional<QString> StatusFindSql(core::Kind kind, int resourceId, int projectId, int materialId)
{
    const KindFacts *k = kindFacts(kind);
    if (!k)
        return std::nullopt;
    return QStringLiteral("SELECT * FROM ") + k->statusLog + QStringLiteral(" WHERE ") + k->statusResource + QLatin1Char('=')
           + db::SqlInt(resourceId) + QStringLiteral(" AND ") + logOwner(*k, projectId, materialId);
}

std::optional<QString> StatusWriteSql(core::Kind kind, std::optional<int> rowId, int resourceId, const QString &time, int userId,
                                      int projectId, int materialId, const QString &code)
{
    const KindFacts *k = kindFacts(kind);
    if (!k)
        return std::nullopt;
    const QString &p = k->statusPrefix;
    const QString set = k->statusResource + QLatin1Char('=') + db::SqlInt(resourceId) + QStringLiteral(", ") + p
                        + QStringLiteral("datetime=") + db::Sql(time) + QStringLiteral(", ") + p + QStringLiteral("user_id=")
                        + db::SqlInt(userId) + QStringLiteral(", ") + logOwner(*k, projectId, materialId) + QStringLiteral(", ")
                        + p + QStringLiteral("status=") + db::Sql(code);
    if (rowId)
        return QStringLiteral("UPDATE ") + k->statusLog + QStringLiteral(" SET ") + set + QStringLiteral(" WHERE ") + p
               + QStringLiteral("id=") + db::SqlInt(*rowId);
    return QStringLiteral("INSERT INTO ") + k->statusLog + QStringLiteral(" SET ") + set;
}

namespace {
// The log row of one resource into `row` (none when there is none); false when
// the kind has no log or the read failed (reported).
bool readLogRow(core::Kind kind, int resourceId, int projectId, int materialId, std::optional<db::Row> &row)
{
    const auto find = StatusFindSql(kind, resourceId, projectId, materialId);
    if (!find)
        return false;
    bool failed = false;
    row = db::FirstRow(*find, &failed);
    return !failed;
}
} // namespace

std::optional<QString> StoredStatusText(core::Kind kind, int resourceId, int projectId, int materialId)
{
    std::optional<db::Row> row;
    if (!readLogRow(kind, resourceId, projectId, materialId, row))
        return std::nullopt;
    // The log's columns: id, resource, project (press release), user, time, status.
    return row ? StatusText(row->value(5), row->value(4)) : QString();
}

std::optional<QString> SetRegistrationStatus(const core::AppContext &ctx, int materialId, bool checking, bool added, bool refused,
                                             const QDateTime &now)
{
    if (ctx.SelectedResourceId <= 0 || !ctx.CurrentUserId)
        return std::nullopt;
    if (ctx.CurrentKind == core::Kind::Forums && materialId <= 0)
        return std::nullopt;
    const QString time = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const StatusChoice choice = StatusFromButtons(checking, added, refused, time);
    std::optional<db::Row> row;
    if (!readLogRow(ctx.CurrentKind, ctx.SelectedResourceId, ctx.CurrentProjectId, materialId, row))
        return std::nullopt;
    std::optional<int> rowId;
    if (row)
        rowId = static_cast<int>(db::ParseInt(row->value(0)).value_or(0));
    const auto write = StatusWriteSql(ctx.CurrentKind, rowId, ctx.SelectedResourceId, time, *ctx.CurrentUserId,
                                      ctx.CurrentProjectId, materialId, choice.code);
    if (db::ExecQuery(*write) != 0)
        return std::nullopt;
    return choice.text;
}

} // namespace qv::workbench
