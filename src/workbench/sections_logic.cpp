#include "workbench/sections_logic.h"
#include "db/query.h"

namespace qv::workbench {

namespace {

// " AND cgroup_project_id=" + project
QString andProject(const KindFacts &k, int projectId)
{
    return QStringLiteral(" AND ") + k.groupPrefix + QStringLiteral("project_id=") + db::SqlInt(projectId);
}

QString nameIs(const KindFacts &k, const QString &name) { return k.groupPrefix + QStringLiteral("name=") + db::Sql(name); }

} // namespace

SectionLinks sectionLinks(const KindFacts &k)
{
    // cgroups2catalogs (cg2c_cgroup_id, cg2c_catalog_id), fgroups2forums
    // (fg2f_...), sgroups2soft (sg2s_...).
    const QString letter = k.groups.left(1);
    const QString linkPrefix = letter + QStringLiteral("g2") + letter + QLatin1Char('_');
    SectionLinks l;
    l.table = k.groups + QLatin1Char('2') + k.table;
    l.sectionColumn = linkPrefix + k.groupPrefix + QStringLiteral("id");
    l.resourceColumn = linkPrefix + k.prefix + QStringLiteral("id");
    return l;
}

QString SectionMenuHeader(const QString &resourceName)
{
    return QStringLiteral("Внести \"") + resourceName + QStringLiteral("\" в разделы пользователя:");
}

QString MenuCaption(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return out;
}

QString ProjectSectionsSql(const KindFacts &k, int projectId)
{
    return QStringLiteral("SELECT * FROM ") + k.groups + QStringLiteral(" WHERE ") + k.groupPrefix + QStringLiteral("project_id=")
           + db::SqlInt(projectId);
}

QString MemberSectionsSql(const KindFacts &k, int projectId, int resourceId)
{
    const SectionLinks l = sectionLinks(k);
    const QString sectionId = k.groups + QLatin1Char('.') + k.groupPrefix + QStringLiteral("id");
    return QStringLiteral("SELECT DISTINCT ") + l.table + QLatin1Char('.') + l.sectionColumn + QStringLiteral(" FROM ") + l.table
           + QStringLiteral(", ") + k.groups + QStringLiteral(" WHERE ") + sectionId + QStringLiteral(" = ") + l.table
           + QLatin1Char('.') + l.sectionColumn + QStringLiteral(" AND ") + k.groups + QLatin1Char('.') + k.groupPrefix
           + QStringLiteral("project_id=") + db::SqlInt(projectId) + QStringLiteral(" AND ") + l.table + QLatin1Char('.')
           + l.resourceColumn + QLatin1Char('=') + db::SqlInt(resourceId);
}

QString LinkInsertSql(const KindFacts &k, int sectionId, int resourceId)
{
    const SectionLinks l = sectionLinks(k);
    return QStringLiteral("INSERT INTO ") + l.table + QStringLiteral(" SET ") + l.sectionColumn + QLatin1Char('=')
           + db::SqlInt(sectionId) + QStringLiteral(" , ") + l.resourceColumn + QLatin1Char('=') + db::SqlInt(resourceId);
}

QString LinkDeleteSql(const KindFacts &k, int sectionId, int resourceId)
{
    const SectionLinks l = sectionLinks(k);
    return QStringLiteral("DELETE FROM ") + l.table + QStringLiteral(" WHERE ") + l.sectionColumn + QLatin1Char('=')
           + db::SqlInt(sectionId) + QStringLiteral(" AND ") + l.resourceColumn + QLatin1Char('=') + db::SqlInt(resourceId);
}

QString SectionByNameSql(const KindFacts &k, const QString &name, int projectId)
{
    return QStringLiteral("SELECT * FROM ") + k.groups + QStringLiteral(" WHERE ") + nameIs(k, name) + andProject(k, projectId);
}

QString SectionRenameSql(const KindFacts &k, const QString &oldName, const QString &newName, int projectId)
{
    return QStringLiteral("UPDATE ") + k.groups + QStringLiteral(" SET ") + nameIs(k, newName) + QStringLiteral(" WHERE ")
           + nameIs(k, oldName) + andProject(k, projectId);
}

QString SectionDeleteSql(const KindFacts &k, const QString &name, int projectId)
{
    return QStringLiteral("DELETE FROM ") + k.groups + QStringLiteral(" WHERE ") + nameIs(k, name) + andProject(k, projectId);
}

} // namespace qv::workbench
