#include "projects/materialsql.h"
#include "db/assignments.h"
#include "db/query.h"

#include <utility>

namespace qv::projects {

namespace {
using Pairs = QList<std::pair<const char *, QString>>;

ColumnValues columnValues(const Pairs &pairs)
{
    ColumnValues out;
    out.reserve(pairs.size());
    for (const auto &[column, value] : pairs)
        out.append({QLatin1String(column), value});
    return out;
}

QString whereRow(MaterialKind kind, int id, int projectId)
{
    const QString p = MaterialPrefix(kind);
    return QStringLiteral(" WHERE ") + p + QStringLiteral("id=") + db::SqlInt(id) + QStringLiteral(" AND ") + p
           + QStringLiteral("project_id=") + db::SqlInt(projectId);
}

QString insertHead(MaterialKind kind, const QString &name, int projectId)
{
    const QString p = MaterialPrefix(kind);
    return QStringLiteral("INSERT INTO ") + MaterialTable(kind) + QStringLiteral(" SET ") + p + QStringLiteral("name=")
           + db::Sql(name) + QStringLiteral(", ") + p + QStringLiteral("project_id=") + db::SqlInt(projectId);
}

// Takes the text before the first blank of `rest` and removes it with the blank.
QString takeWord(QString &rest)
{
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return QString();
    const QString word = rest.left(blank);
    rest.remove(0, blank + 1);
    return word;
}
} // namespace

FullName SplitFullName(const QString &fio)
{
    FullName n;
    QString rest = fio;
    if (!rest.isEmpty())
        n.f = takeWord(rest);
    if (!rest.isEmpty())
        n.i = takeWord(rest);
    if (!rest.isEmpty())
        n.o = rest;
    return n;
}

QString CommaFree(const QString &text)
{
    QString out = text;
    return out.replace(QLatin1Char(','), QLatin1Char(' '));
}

QString MaterialTable(MaterialKind kind)
{
    switch (kind) {
    case MaterialKind::Site: return QStringLiteral("cmaterials");
    case MaterialKind::Forum: return QStringLiteral("fmaterials");
    case MaterialKind::Letter: break;
    }
    return QStringLiteral("omaterials");
}

QString MaterialPrefix(MaterialKind kind)
{
    QString table = MaterialTable(kind);
    table.chop(1);
    return table + QLatin1Char('_');
}

QString MaterialByNameSql(MaterialKind kind, const QString &name, int projectId)
{
    const QString p = MaterialPrefix(kind);
    return QStringLiteral("SELECT * FROM ") + MaterialTable(kind) + QStringLiteral(" WHERE ") + p + QStringLiteral("name=")
           + db::Sql(name) + QStringLiteral(" AND ") + p + QStringLiteral("project_id=") + db::SqlInt(projectId);
}

QString MaterialByIdSql(MaterialKind kind, int id, int projectId)
{
    return QStringLiteral("SELECT * FROM ") + MaterialTable(kind) + whereRow(kind, id, projectId);
}

QString MaterialsOfProjectSql(MaterialKind kind, int projectId)
{
    return QStringLiteral("SELECT * FROM ") + MaterialTable(kind) + QStringLiteral(" WHERE ") + MaterialPrefix(kind)
           + QStringLiteral("project_id=") + db::SqlInt(projectId);
}

// ---- site descriptions ----

SiteDescription SiteDescriptionFromRow(const db::QueryResult &r, const db::Row &row)
{
    auto f = [&](const char *column) { return r.field(row, QLatin1String(column)); };
    SiteDescription d;
    d.url = f("cmaterial_url");
    d.burl = f("cmaterial_burl");
    d.categories = f("cmaterial_categories");
    d.fio = f("cmaterial_fio");
    d.email = f("cmaterial_email");
    d.company = f("cmaterial_company");
    d.tel = f("cmaterial_tel");
    d.fax = f("cmaterial_fax");
    d.city = f("cmaterial_city");
    d.country = f("cmaterial_country");
    d.address = f("cmaterial_address");
    d.title50 = f("cmaterial_title50");
    d.title100 = f("cmaterial_title100");
    d.title200 = f("cmaterial_title200");
    d.title = f("cmaterial_title");
    d.description100 = f("cmaterial_description100");
    d.description250 = f("cmaterial_description250");
    d.description500 = f("cmaterial_description500");
    d.description = f("cmaterial_description");
    d.keywords100 = f("cmaterial_keywords100");
    d.keywords250 = f("cmaterial_keywords250");
    d.keywords500 = f("cmaterial_keywords500");
    d.keywords = f("cmaterial_keywords");
    return d;
}

ColumnValues SiteDescriptionColumns(const SiteDescription &d)
{
    const FullName n = SplitFullName(d.fio);
    return columnValues({{"cmaterial_url", d.url},
                         {"cmaterial_burl", d.burl},
                         {"cmaterial_categories", d.categories},
                         {"cmaterial_email", d.email},
                         {"cmaterial_company", d.company},
                         {"cmaterial_tel", d.tel},
                         {"cmaterial_fax", d.fax},
                         {"cmaterial_city", d.city},
                         {"cmaterial_fio", d.fio},
                         {"cmaterial_f", n.f},
                         {"cmaterial_i", n.i},
                         {"cmaterial_o", n.o},
                         {"cmaterial_country", d.country},
                         {"cmaterial_title50", d.title50},
                         {"cmaterial_title100", d.title100},
                         {"cmaterial_title200", d.title200},
                         {"cmaterial_address", d.address},
                         {"cmaterial_title", d.title},
                         {"cmaterial_description100", d.description100},
                         {"cmaterial_description250", d.description250},
                         {"cmaterial_description500", d.description500},
                         {"cmaterial_description", d.description},
                         {"cmaterial_keywords100", d.keywords100},
                         {"cmaterial_keywords250", d.keywords250},
                         {"cmaterial_keywords500", d.keywords500},
                         {"cmaterial_keywords", d.keywords},
                         {"cmaterial_keywords100_", CommaFree(d.keywords100)},
                         {"cmaterial_keywords250_", CommaFree(d.keywords250)},
                         {"cmaterial_keywords500_", CommaFree(d.keywords500)},
                         {"cmaterial_keywords_", CommaFree(d.keywords)}});
}

QString SiteDescriptionAssignments(const SiteDescription &d)
{
    return db::Assignments(SiteDescriptionColumns(d), QStringLiteral(","));
}

QString SiteDescriptionUpdateSql(const SiteDescription &d, int id, int projectId)
{
    return QStringLiteral("UPDATE cmaterials SET ") + SiteDescriptionAssignments(d) + whereRow(MaterialKind::Site, id, projectId);
}

QString SiteDescriptionCopySql(const QString &name, int projectId, const SiteDescription &d)
{
    return insertHead(MaterialKind::Site, name, projectId) + QLatin1Char(',') + SiteDescriptionAssignments(d);
}

QString SiteDescriptionNewSql(const QString &name, int projectId, const ProjectData &p)
{
    return insertHead(MaterialKind::Site, name, projectId) + QLatin1Char(',')
           + db::Assignments(Pairs{{"cmaterial_url", p.url},
                                   {"cmaterial_burl", p.burl},
                                   {"cmaterial_fio", p.fio},
                                   {"cmaterial_email", p.email},
                                   {"cmaterial_company", p.company},
                                   {"cmaterial_tel", p.tel},
                                   {"cmaterial_fax", p.fax},
                                   {"cmaterial_city", p.city},
                                   {"cmaterial_country", p.country},
                                   {"cmaterial_address", p.address}},
                             QStringLiteral(","));
}

// ---- forum press releases ----

PressRelease PressReleaseFromRow(const db::QueryResult &r, const db::Row &row)
{
    auto f = [&](const char *column) { return r.field(row, QLatin1String(column)); };
    PressRelease d;
    d.url = f("fmaterial_url");
    d.fio = f("fmaterial_fio");
    d.email = f("fmaterial_email");
    d.company = f("fmaterial_company");
    d.tel = f("fmaterial_tel");
    d.fax = f("fmaterial_fax");
    d.city = f("fmaterial_city");
    d.country = f("fmaterial_country");
    d.title = f("fmaterial_title");
    d.stitle = f("fmaterial_stitle");
    d.description = f("fmaterial_description");
    return d;
}

ColumnValues PressReleaseColumns(const PressRelease &d)
{
    const FullName n = SplitFullName(d.fio);
    return columnValues({{"fmaterial_url", d.url},
                         {"fmaterial_email", d.email},
                         {"fmaterial_company", d.company},
                         {"fmaterial_tel", d.tel},
                         {"fmaterial_fax", d.fax},
                         {"fmaterial_city", d.city},
                         {"fmaterial_fio", d.fio},
                         {"fmaterial_f", n.f},
                         {"fmaterial_i", n.i},
                         {"fmaterial_o", n.o},
                         {"fmaterial_country", d.country},
                         {"fmaterial_title", d.title},
                         {"fmaterial_stitle", d.stitle},
                         {"fmaterial_description", d.description}});
}

QString PressReleaseUpdateSql(const PressRelease &d, int id, int projectId)
{
    return QStringLiteral("UPDATE fmaterials SET ") + db::Assignments(PressReleaseColumns(d), QStringLiteral(","))
           + whereRow(MaterialKind::Forum, id, projectId);
}

QString PressReleaseCopySql(const QString &name, int projectId, const PressRelease &d)
{
    const FullName n = SplitFullName(d.fio);
    return insertHead(MaterialKind::Forum, name, projectId) + QLatin1Char(',')
           + db::Assignments(Pairs{{"fmaterial_fio", d.fio},
                                   {"fmaterial_f", n.f},
                                   {"fmaterial_i", n.i},
                                   {"fmaterial_o", n.o},
                                   {"fmaterial_url", d.url},
                                   {"fmaterial_email", d.email},
                                   {"fmaterial_company", d.company},
                                   {"fmaterial_city", d.city},
                                   {"fmaterial_country", d.country},
                                   {"fmaterial_tel", d.tel},
                                   {"fmaterial_fax", d.fax},
                                   {"fmaterial_title", d.title},
                                   {"fmaterial_stitle", d.stitle},
                                   {"fmaterial_description", d.description}},
                             QStringLiteral(","));
}

QString PressReleaseNewSql(const QString &name, int projectId, const ProjectData &p)
{
    return insertHead(MaterialKind::Forum, name, projectId) + QLatin1Char(',')
           + db::Assignments(Pairs{{"fmaterial_url", p.url},
                                   {"fmaterial_burl", p.burl},
                                   {"fmaterial_fio", p.fio},
                                   {"fmaterial_email", p.email},
                                   {"fmaterial_company", p.company},
                                   {"fmaterial_tel", p.tel},
                                   {"fmaterial_fax", p.fax},
                                   {"fmaterial_city", p.city},
                                   {"fmaterial_country", p.country}},
                             QStringLiteral(","));
}

QString PressReleaseRenameSql(int id, int projectId, const QString &name)
{
    return QStringLiteral("UPDATE fmaterials SET fmaterial_name=") + db::Sql(name) + whereRow(MaterialKind::Forum, id, projectId);
}

QString PressReleaseDeleteSql(int id, int projectId)
{
    return QStringLiteral("DELETE FROM fmaterials") + whereRow(MaterialKind::Forum, id, projectId);
}

// ---- letters ----

Letter LetterFromRow(const db::QueryResult &r, const db::Row &row)
{
    return Letter{r.field(row, QStringLiteral("omaterial_subject")), r.field(row, QStringLiteral("omaterial_body_text"))};
}

ColumnValues LetterColumns(const Letter &d)
{
    return columnValues({{"omaterial_subject", d.subject}, {"omaterial_body_text", d.body}});
}

QString LetterUpdateSql(const Letter &d, int id, int projectId)
{
    return QStringLiteral("UPDATE omaterials SET ") + db::Assignments(LetterColumns(d), QStringLiteral(","))
           + whereRow(MaterialKind::Letter, id, projectId);
}

QString LetterNewSql(const QString &name, int projectId) { return insertHead(MaterialKind::Letter, name, projectId); }

} // namespace qv::projects
