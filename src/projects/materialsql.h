#pragma once
// Statements of the project materials (site descriptions, forum press
// releases, mailing letters) and the small text rules of their saves.
#include "projects/projectsql.h"

#include <QList>
#include <QString>
#include <utility>

namespace qv::db {
class QueryResult;
class Row;
} // namespace qv::db

namespace qv::projects {

// The three parts of a full name: surname, first name, patronymic. Each of the
// first two is the text before the next blank (empty when there is none, or
// when the blank comes first) and is taken off with that blank; the patronymic
// is whatever is left.
struct FullName {
    QString f;
    QString i;
    QString o;
};
FullName SplitFullName(const QString &fio);

// The keyword text with every comma replaced by a blank.
QString CommaFree(const QString &text);

// The columns a save writes with their values, in the statement's order.
using ColumnValues = QList<std::pair<QString, QString>>;

enum class MaterialKind { Site, Forum, Letter };

// "cmaterials", "fmaterials", "omaterials".
QString MaterialTable(MaterialKind kind);
// The column prefix: "cmaterial_", "fmaterial_", "omaterial_".
QString MaterialPrefix(MaterialKind kind);

// The material of the project with this name (names are unique per project).
QString MaterialByNameSql(MaterialKind kind, const QString &name, int projectId);
// The material with this id, provided it belongs to the project.
QString MaterialByIdSql(MaterialKind kind, int id, int projectId);
// Every material of the project, in the server's order.
QString MaterialsOfProjectSql(MaterialKind kind, int projectId);

// A site description as the tab shows it.
struct SiteDescription {
    QString url, burl, categories, fio, email, company, tel, fax, city, country, address;
    QString title50, title100, title200, title;
    QString description100, description250, description500, description;
    QString keywords100, keywords250, keywords500, keywords;
};
SiteDescription SiteDescriptionFromRow(const db::QueryResult &result, const db::Row &row);
// Every column of the save, "column=\"value\"" joined by commas: the fields,
// the parts of the full name and the comma-free keyword texts.
QString SiteDescriptionAssignments(const SiteDescription &d);
ColumnValues SiteDescriptionColumns(const SiteDescription &d);
QString SiteDescriptionUpdateSql(const SiteDescription &d, int id, int projectId);
// A copy under a new name: one insert carrying every column of the save.
QString SiteDescriptionCopySql(const QString &name, int projectId, const SiteDescription &d);
// A new description, with the contact data of the project.
QString SiteDescriptionNewSql(const QString &name, int projectId, const ProjectData &p);

// A forum press release as the tab shows it.
struct PressRelease {
    QString url, fio, email, company, tel, fax, city, country, title, stitle, description;
};
PressRelease PressReleaseFromRow(const db::QueryResult &result, const db::Row &row);
ColumnValues PressReleaseColumns(const PressRelease &d);
QString PressReleaseUpdateSql(const PressRelease &d, int id, int projectId);
QString PressReleaseCopySql(const QString &name, int projectId, const PressRelease &d);
QString PressReleaseNewSql(const QString &name, int projectId, const ProjectData &p);
QString PressReleaseRenameSql(int id, int projectId, const QString &name);
QString PressReleaseDeleteSql(int id, int projectId);

// A mailing letter.
struct Letter {
    QString subject;
    QString body;
};
Letter LetterFromRow(const db::QueryResult &result, const db::Row &row);
ColumnValues LetterColumns(const Letter &d);
QString LetterUpdateSql(const Letter &d, int id, int projectId);
QString LetterNewSql(const QString &name, int projectId);

} // namespace qv::projects
