#include "workbench/statuses.h"
#include "core/appcontext.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/resourcelist_logic.h"

namespace qv::workbench {

namespace {
struct StatusLog {
    QString table;    // creglog
    QString prefix;   // crl_
    QString resource; // crl_catalog_id
    bool perMaterial = false;
};

std::optional<StatusLog> statusLog(const QString &kind)
{
    if (kind == QLatin1String("catalogs"))
        return StatusLog{QStringLiteral("creglog"), QStringLiteral("crl_"), QStringLiteral("crl_catalog_id"), false};
    if (kind == QLatin1String("soft"))
        return StatusLog{QStringLiteral("sreglog"), QStringLiteral("srl_"), QStringLiteral("srl_soft_id"), false};
    if (kind == QLatin1String("forums"))
        return StatusLog{QStringLiteral("freglog"), QStringLiteral("frl_"), QStringLiteral("frl_forum_id"), true};
    return std::nullopt;
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

std::optional<QString> StatusFindSql(const QString &kind, int resourceId, int projectId, int materialId)
{
    const auto log = statusLog(kind);
    if (!log)
        return std::nullopt;
    const QString owner = log->perMaterial ? log->prefix + QStringLiteral("material_id=") + db::SqlInt(materialId)
                                           : log->prefix + QStringLiteral("project_id=") + db::SqlInt(projectId);
    return QStringLiteral("SELECT * FROM ") + log->table + QStringLiteral(" WHERE ") + log->resource + QLatin1Char('=')
           + db::SqlInt(resourceId) + QStringLiteral(" AND ") + owner;
}

std::optional<QString> StatusWriteSql(const QString &kind, std::optional<int> rowId, int resourceId,
                                      const QString &time, int userId, int projectId, int materialId,
                                      const QString &code)
{
    const auto log = statusLog(kind);
    if (!log)
        return std::nullopt;
    const QString owner = log->perMaterial ? log->prefix + QStringLiteral("material_id=") + db::SqlInt(materialId)
                                           : log->prefix + QStringLiteral("project_id=") + db::SqlInt(projectId);
    const QString set = log->resource + QLatin1Char('=') + db::SqlInt(resourceId) + QStringLiteral(", ") + log->prefix
                        + QStringLiteral("datetime=") + db::Sql(time) + QStringLiteral(", ") + log->prefix
                        + QStringLiteral("user_id=") + db::SqlInt(userId) + QStringLiteral(", ") + owner
                        + QStringLiteral(", ") + log->prefix + QStringLiteral("status=") + db::Sql(code);
    if (rowId)
        return QStringLiteral("UPDATE ") + log->table + QStringLiteral(" SET ") + set + QStringLiteral(" WHERE ")
               + log->prefix + QStringLiteral("id=") + db::SqlInt(*rowId);
    return QStringLiteral("INSERT INTO ") + log->table + QStringLiteral(" SET ") + set;
}

namespace {
// The log row of one resource into `row` (none when there is none); false when
// the kind has no log or the read failed (reported).
bool readLogRow(const QString &kind, int resourceId, int projectId, int materialId, std::optional<db::Row> &row)
{
    const auto find = StatusFindSql(kind, resourceId, projectId, materialId);
    if (!find)
        return false;
    bool failed = false;
    row = db::FirstRow(*find, &failed);
    return !failed;
}
} // namespace

std::optional<QString> StoredStatusText(const QString &kind, int resourceId, int projectId, int materialId)
{
    std::optional<db::Row> row;
    if (!readLogRow(kind, resourceId, projectId, materialId, row))
        return std::nullopt;
    // The log's columns: id, resource, project (press release), user, time, status.
    return row ? StatusText(row->value(5), row->value(4)) : QString();
}

std::optional<QString> SetRegistrationStatus(const core::AppContext &ctx, int materialId, bool checking, bool added,
                                             bool refused, const QDateTime &now)
{
    if (ctx.SelectedResourceId <= 0 || !ctx.CurrentUserId)
        return std::nullopt;
    if (ctx.CurrentKind == QLatin1String("forums") && materialId <= 0)
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
