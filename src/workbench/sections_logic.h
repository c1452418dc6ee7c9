#pragma once
// User sections without widgets: the link table of a kind, the statements of
// the list's section menu (the sections, the ticks in one statement, putting a
// resource in or taking it out) and of renaming and deleting a section.
#include "workbench/resourcelist_logic.h"

#include <QString>

namespace qv::workbench {

// The table that links a kind's sections with its resources.
struct SectionLinks {
    QString table;          // cgroups2catalogs
    QString sectionColumn;  // cg2c_cgroup_id
    QString resourceColumn; // cg2c_catalog_id
};
SectionLinks sectionLinks(const KindFacts &k);

// The header item of the list's section menu.
QString SectionMenuHeader(const QString &resourceName);
// A caption shown as typed: "&" would otherwise make an access key.
QString MenuCaption(const QString &text);

// The sections of a project: "SELECT * FROM cgroups WHERE cgroup_project_id=.."
QString ProjectSectionsSql(const KindFacts &k, int projectId);
// The ids of the project's sections that hold the resource, in one statement.
QString MemberSectionsSql(const KindFacts &k, int projectId, int resourceId);
QString LinkInsertSql(const KindFacts &k, int sectionId, int resourceId);
QString LinkDeleteSql(const KindFacts &k, int sectionId, int resourceId);

QString SectionByNameSql(const KindFacts &k, const QString &name, int projectId);
QString SectionRenameSql(const KindFacts &k, const QString &oldName, const QString &newName, int projectId);
QString SectionDeleteSql(const KindFacts &k, const QString &name, int projectId);

} // namespace qv::workbench
