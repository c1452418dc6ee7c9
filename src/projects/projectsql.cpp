#include "projects/projectsql.h"
#include "db/assignments.h"
#include "db/query.h"

#include <utility>

namespace qv::projects {

namespace {
using Pairs = QList<std::pair<const char *, QString>>;
} // namespace

ProjectData ProjectFromRow(const db::QueryResult &result, const db::Row &row)
{
    ProjectData p;
    p.name = result.field(row, QStringLiteral("project_name"));
    p.url = result.field(row, QStringLiteral("project_url"));
    p.fio = result.field(row, QStringLiteral("project_fio"));
    p.email = result.field(row, QStringLiteral("project_email"));
    p.company = result.field(row, QStringLiteral("project_company"));
    p.tel = result.field(row, QStringLiteral("project_tel"));
    p.fax = result.field(row, QStringLiteral("project_fax"));
    p.city = result.field(row, QStringLiteral("project_city"));
    p.country = result.field(row, QStringLiteral("project_country"));
    p.address = result.field(row, QStringLiteral("project_address"));
    p.burl = result.field(row, QStringLiteral("project_burl"));
    return p;
}

QString ProjectByIdSql(int projectId)
{
    return QStringLiteral("SELECT * FROM projects WHERE project_id=") + db::SqlInt(projectId);
}

QString ProjectByNameSql(const QString &name)
{
    return QStringLiteral("SELECT * FROM projects WHERE project_name=") + db::Sql(name);
}

QString ProjectInsertSql(const ProjectData &p)
{
    const QStringList values{db::Sql(p.name), db::Sql(p.url), db::Sql(p.fio),  db::Sql(p.email),   db::Sql(p.company),
                             db::Sql(p.tel),  db::Sql(p.fax), db::Sql(p.city), db::Sql(p.country), db::Sql(p.address)};
    return QStringLiteral("INSERT INTO projects (project_name, project_url, project_fio, project_email, "
                          "project_company, project_tel, project_fax, project_city, project_country, "
                          "project_address) VALUES (")
           + values.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString ProjectUpdateSql(const ProjectData &p, int projectId)
{
    const Pairs pairs{{"project_name", p.name},      {"project_url", p.url},     {"project_address", p.address},
                      {"project_fio", p.fio},        {"project_email", p.email}, {"project_company", p.company},
                      {"project_tel", p.tel},        {"project_fax", p.fax},     {"project_city", p.city},
                      {"project_country", p.country}};
    return QStringLiteral("UPDATE projects SET ") + db::Assignments(pairs, QStringLiteral(", "))
           + QStringLiteral(" WHERE project_id=") + db::SqlInt(projectId);
}

QString ProjectDeleteSql(int projectId)
{
    return QStringLiteral("DELETE FROM projects WHERE project_id=") + db::SqlInt(projectId);
}

QStringList ProjectSeedSql(int projectId, const ProjectData &s)
{
    const QString id = db::SqlInt(projectId);
    QStringList out;
    out << QStringLiteral("INSERT INTO smaterials SET smaterial_name=\"Основная версия\", smaterial_project_id=") + id
               + QStringLiteral(", ")
               + db::Assignments(Pairs{{"smaterial_urlsite", s.url},
                                       {"smaterial_company", s.company},
                                       {"smaterial_country", s.country},
                                       {"smaterial_city", s.city},
                                       {"smaterial_address1", s.address},
                                       {"smaterial_address2", s.address},
                                       {"smaterial_afirstname", s.fio},
                                       {"smaterial_alastname", s.fio},
                                       {"smaterial_aemail", s.email},
                                       {"smaterial_cfirstname", s.fio},
                                       {"smaterial_clastname", s.fio},
                                       {"smaterial_cemail", s.email},
                                       {"smaterial_gemail", s.email},
                                       {"smaterial_semail", s.email},
                                       {"smaterial_saemail", s.email},
                                       {"smaterial_gphone", s.tel},
                                       {"smaterial_sphone", s.tel},
                                       {"smaterial_saphone", s.tel},
                                       {"smaterial_gfax", s.fax}},
                                 QStringLiteral(", "));
    out << QStringLiteral("INSERT INTO cmaterials SET cmaterial_name=\"Основное описание\", cmaterial_project_id=") + id
               + QStringLiteral(", ")
               + db::Assignments(Pairs{{"cmaterial_url", s.url},
                                       {"cmaterial_address", s.address},
                                       {"cmaterial_fio", s.fio},
                                       {"cmaterial_email", s.email},
                                       {"cmaterial_company", s.company},
                                       {"cmaterial_tel", s.tel},
                                       {"cmaterial_fax", s.fax},
                                       {"cmaterial_city", s.city},
                                       {"cmaterial_country", s.country}},
                                 QStringLiteral(", "));
    out << QStringLiteral("INSERT INTO fmaterials SET fmaterial_name=\"Основной пресс-релиз\", fmaterial_project_id=") + id
               + QStringLiteral(", ")
               + db::Assignments(Pairs{{"fmaterial_url", s.url},
                                       {"fmaterial_fio", s.fio},
                                       {"fmaterial_email", s.email},
                                       {"fmaterial_company", s.company},
                                       {"fmaterial_tel", s.tel},
                                       {"fmaterial_fax", s.fax},
                                       {"fmaterial_city", s.city},
                                       {"fmaterial_country", s.country}},
                                 QStringLiteral(", "));
    out << QStringLiteral("INSERT INTO omaterials SET omaterial_name=\"Основное письмо\", omaterial_project_id=") + id;
    for (const char *n : {"1", "2"})
        out << QStringLiteral("INSERT INTO osubjects SET osubject_name=\"Тестовый раздел %1\", osubject_pid=0, "
                              "osubject_project_id=")
                       .arg(QLatin1String(n))
                   + id;
    for (const char *kind : {"s", "c", "f"}) {
        for (const char *n : {"1", "2"})
            out << QStringLiteral("INSERT INTO %1groups SET %1group_name=\"Тестовый раздел пользователя %2\", "
                                  "%1group_project_id=")
                           .arg(QLatin1String(kind), QLatin1String(n))
                       + id;
    }
    return out;
}

} // namespace qv::projects
