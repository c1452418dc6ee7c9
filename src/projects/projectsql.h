#pragma once
// Statements of the projects table and of a new project's seed rows.
#include <QString>
#include <QStringList>

namespace qv::db {
class QueryResult;
class Row;
} // namespace qv::db

namespace qv::projects {

// The columns of a projects row that the project data window and the new
// materials use, as text.
struct ProjectData {
    QString name;
    QString url;
    QString fio;
    QString email;
    QString company;
    QString tel;
    QString fax;
    QString city;
    QString country;
    QString address;
    QString burl;
};

// Reads the named columns of a projects row.
ProjectData ProjectFromRow(const db::QueryResult &result, const db::Row &row);

QString ProjectByIdSql(int projectId);
QString ProjectByNameSql(const QString &name);
// The new row of the project data window ("Add").
QString ProjectInsertSql(const ProjectData &p);
// The edited row ("Edit"); the back link is not part of the window.
QString ProjectUpdateSql(const ProjectData &p, int projectId);
QString ProjectDeleteSql(int projectId);

// The twelve seed statements of a new project, in the order they run: the main
// software version, site description, press release and letter, two contact
// sections and two user sections of each resource kind. `stored` is the new
// row as read back from the server.
QStringList ProjectSeedSql(int projectId, const ProjectData &stored);

} // namespace qv::projects
