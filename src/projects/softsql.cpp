#include "projects/softsql.h"
#include "db/assignments.h"
#include "db/query.h"

#include <QRegularExpression>

namespace qv::projects {

namespace {
const char *const kPrefixes[] = {"smaterial_Keywords_",       "smaterial_Description45_",  "smaterial_Description80_",
                                 "smaterial_Description250_", "smaterial_Description450_", "smaterial_Description2000_"};

QString rowValue(const db::QueryResult &result, const db::Row &row, const QString &column) { return result.field(row, column); }
} // namespace

QString SoftwareOfProjectSql(int projectId)
{
    return QStringLiteral("SELECT * FROM smaterials WHERE smaterial_project_id=") + db::SqlInt(projectId);
}

QString SoftwareByIdSql(int id) { return QStringLiteral("SELECT * FROM smaterials WHERE smaterial_id=") + db::SqlInt(id); }

QString SoftwareByNameSql(const QString &name, int projectId)
{
    return QStringLiteral("SELECT * FROM smaterials WHERE smaterial_name=") + db::Sql(name)
           + QStringLiteral(" AND smaterial_project_id=") + db::SqlInt(projectId);
}

QString SoftwareInsertSql(const QString &name, int projectId)
{
    return QStringLiteral("INSERT INTO smaterials SET smaterial_name=") + db::Sql(name)
           + QStringLiteral(", smaterial_project_id=") + db::SqlInt(projectId);
}

QString PadSourceSql(int projectId)
{
    return QStringLiteral("SELECT * FROM smaterials WHERE  smaterial_project_id=") + db::SqlInt(projectId);
}

const QStringList &SoftSaveColumns()
{
    static const QStringList columns = [] {
        QStringList out;
        // clang-format off
        for (const char *c :
             {"smaterial_softname", "smaterial_releasedate", "smaterial_type", "smaterial_releasestatus",
              "smaterial_install", "smaterial_version", "smaterial_cost", "smaterial_rcost", "smaterial_CategoryClass",
              "smaterial_Changes", "smaterial_Req", "smaterial_Languages", "smaterial_OS", "smaterial_URLSite",
              "smaterial_URLDownload", "smaterial_URLSecDownload", "smaterial_URLDownload1", "smaterial_URLDownload2",
              "smaterial_URLScreenShot", "smaterial_URLPAD", "smaterial_URLIcon", "smaterial_URLInfo",
              "smaterial_URLOrder", "smaterial_company", "smaterial_Country", "smaterial_City", "smaterial_State",
              "smaterial_ZIP", "smaterial_ExpExists", "smaterial_ExpDays", "smaterial_ExpUses", "smaterial_ExpOther",
              "smaterial_ExpDate", "smaterial_Address1", "smaterial_Address2", "smaterial_AFirstName",
              "smaterial_ALastName", "smaterial_AEmail", "smaterial_CFirstName", "smaterial_CLastName",
              "smaterial_CEmail", "smaterial_GEmail", "smaterial_GPhone", "smaterial_GFAX", "smaterial_SEmail",
              "smaterial_SPhone", "smaterial_SaEmail", "smaterial_SaPhone", "smaterial_Category",
              "smaterial_CategoryPossible"})
            out << QString::fromLatin1(c);
        // clang-format on
        return out;
    }();
    return columns;
}

QString SizeInUnits(qint64 bytes, qint64 unit)
{
    // The remainder is the fraction's digits: it keeps its leading zeros, so
    // 1050 bytes are "1,050" kilobytes, never "1,50". A sign stands once, in front.
    const quint64 magnitude = bytes < 0 ? 0 - static_cast<quint64>(bytes) : static_cast<quint64>(bytes);
    const auto u = static_cast<quint64>(unit);
    const int digits = static_cast<int>(QString::number(u).size()) - 1;
    return (bytes < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / u) + QLatin1Char(',')
           + QStringLiteral("%1").arg(magnitude % u, digits, 10, QLatin1Char('0'));
}

std::optional<SoftSizes> SoftSizesFromText(const QString &text, QString *error)
{
    const std::optional<qint64> n = db::ParseInt(text);
    if (!n) {
        if (error)
            *error = QStringLiteral("'%1' is not a valid integer value").arg(text);
        return std::nullopt;
    }
    return SoftSizes{QString::number(*n), SizeInUnits(*n, 1000), SizeInUnits(*n, 1000000)};
}

bool IsDescriptionLanguage(const QString &language) { return DescriptionLanguages().contains(language); }

QStringList LanguageColumns(const QString &language)
{
    QStringList out;
    for (const char *prefix : kPrefixes)
        out << QString::fromLatin1(prefix) + language;
    return out;
}

QString LineBreaksToBr(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString out = text;
    out.replace(lineBreak, QStringLiteral("<BR>"));
    return out;
}

QString BrToLineBreaks(const QString &stored)
{
    static const QRegularExpression br(QStringLiteral("<br>"), QRegularExpression::CaseInsensitiveOption);
    QString out = stored;
    out.replace(br, QStringLiteral("\r\n"));
    return out;
}

QStringList StoredLanguageValues(const LanguageTexts &texts)
{
    return {LineBreaksToBr(texts.keywords),
            texts.description45,
            texts.description80,
            LineBreaksToBr(texts.description250),
            LineBreaksToBr(texts.description450),
            LineBreaksToBr(texts.description2000)};
}

LanguageTexts LanguageTextsFromRow(const db::QueryResult &result, const db::Row &row, const QString &language)
{
    const QStringList columns = LanguageColumns(language);
    LanguageTexts t;
    // The keywords keep a stored "<BR>" as text.
    t.keywords = rowValue(result, row, columns[0]);
    t.description45 = rowValue(result, row, columns[1]);
    t.description80 = rowValue(result, row, columns[2]);
    t.description250 = BrToLineBreaks(rowValue(result, row, columns[3]));
    t.description450 = BrToLineBreaks(rowValue(result, row, columns[4]));
    t.description2000 = BrToLineBreaks(rowValue(result, row, columns[5]));
    return t;
}

std::optional<QList<std::pair<QString, QString>>> SoftwareSaveValues(const QHash<QString, QString> &values,
                                                                     const QString &language,
                                                                     const std::optional<LanguageTexts> &texts, QString *error)
{
    QList<std::pair<QString, QString>> items;
    for (const QString &column : SoftSaveColumns()) {
        items.append({column, values.value(column)});
        if (column != QLatin1String("smaterial_rcost"))
            continue;
        const QString typed = values.value(QStringLiteral("smaterial_bsize"));
        if (typed.isEmpty())
            continue;
        const std::optional<SoftSizes> sizes = SoftSizesFromText(typed, error);
        if (!sizes)
            return std::nullopt;
        items.append({QStringLiteral("smaterial_bsize"), sizes->bsize});
        items.append({QStringLiteral("smaterial_ksize"), sizes->ksize});
        items.append({QStringLiteral("smaterial_msize"), sizes->msize});
    }
    if (texts) {
        if (!IsDescriptionLanguage(language)) {
            if (error)
                *error = QStringLiteral("Неизвестный язык описаний: ") + language;
            return std::nullopt;
        }
        const QStringList columns = LanguageColumns(language);
        const QStringList stored = StoredLanguageValues(*texts);
        for (qsizetype i = 0; i < columns.size(); ++i)
            items.append({columns[i], stored[i]});
    }
    return items;
}

std::optional<QString> SoftwareUpdateSql(const QHash<QString, QString> &values, const QString &language,
                                         const std::optional<LanguageTexts> &texts, int projectId, QString *error)
{
    const auto items = SoftwareSaveValues(values, language, texts, error);
    if (!items)
        return std::nullopt;
    return QStringLiteral("UPDATE smaterials SET ") + db::Assignments(*items, QStringLiteral(" ,"))
           + QStringLiteral(" WHERE smaterial_project_id=") + db::SqlInt(projectId);
}

QString SoftFieldCaption(const QString &column)
{
    static const QHash<QString, QString> captions = [] {
        QHash<QString, QString> c;
        const char *const pairs[][2] = {{"smaterial_company", "Company Info, Company Name"},
                                        {"smaterial_Address1", "Company Info, Address1"},
                                        {"smaterial_Address2", "Company Info, Address2"},
                                        {"smaterial_City", "Company Info, City/Town"},
                                        {"smaterial_State", "Company Info, State/Province"},
                                        {"smaterial_ZIP", "Company Info, Zip/Postal Code"},
                                        {"smaterial_Country", "Company Info, Country"},
                                        {"smaterial_AFirstName", "Author Info, First Name"},
                                        {"smaterial_ALastName", "Author Info, Last Name"},
                                        {"smaterial_AEmail", "Author Info, Email"},
                                        {"smaterial_CFirstName", "Contact Info, First Name"},
                                        {"smaterial_CLastName", "Contact Info, Last Name"},
                                        {"smaterial_CEmail", "Contact Info, Email"},
                                        {"smaterial_GEmail", "Support Info, General, Email"},
                                        {"smaterial_GPhone", "Support Info, General, Phone"},
                                        {"smaterial_GFAX", "Support Info, General, FAX"},
                                        {"smaterial_SEmail", "Support Info, Support, Email"},
                                        {"smaterial_SPhone", "Support Info, Support, Phone"},
                                        {"smaterial_SaEmail", "Support Info, Sales, Email"},
                                        {"smaterial_SaPhone", "Support Info, Sales, Phone"},
                                        {"smaterial_softname", "Program Name"},
                                        {"smaterial_version", "Program Version"},
                                        {"smaterial_releasedate", "Release Date"},
                                        {"smaterial_type", "Type"},
                                        {"smaterial_releasestatus", "Release Status"},
                                        {"smaterial_cost", "Cost ($US)"},
                                        {"smaterial_rcost", "Cost (RUB)"},
                                        {"smaterial_install", "Install Support"},
                                        {"smaterial_Languages", "Languages"},
                                        {"smaterial_bsize", "Size(bytes)"},
                                        {"smaterial_ksize", "Size(bytes)"},
                                        {"smaterial_msize", "Size(bytes)"},
                                        {"smaterial_CategoryClass", "Category Class"},
                                        {"smaterial_Changes", "Recent Changes"},
                                        {"smaterial_Req", "System Req"},
                                        {"smaterial_OS", "Supported OS"},
                                        {"smaterial_ExpExists", "Has Expiration Info"},
                                        {"smaterial_ExpDays", "Num of Days"},
                                        {"smaterial_ExpUses", "Num of uses"},
                                        {"smaterial_ExpOther", "Other Expiration Info"},
                                        {"smaterial_ExpDate", "Expiration Date"},
                                        {"smaterial_URLSite", "Company URL"},
                                        {"smaterial_URLDownload", "URL Download"},
                                        {"smaterial_URLScreenShot", "URL Big Screenshot"},
                                        {"smaterial_URLPAD", "URL PAD file"},
                                        {"smaterial_URLOrder", "Order"},
                                        {"smaterial_URLIcon", "Icon"},
                                        {"smaterial_URLInfo", "Application Info"},
                                        {"smaterial_URLSecDownload", "Secondary Download"},
                                        {"smaterial_URLDownload1", "Additional DL URL 1"},
                                        {"smaterial_URLDownload2", "Additional DL URL 2"},
                                        {"smaterial_Category", "Specific Category"},
                                        {"smaterial_CategoryPossible", "Possible Ctegories"}};
        for (const auto &pair : pairs)
            c.insert(QString::fromLatin1(pair[0]).toLower(), QString::fromUtf8(pair[1]));
        return c;
    }();
    const QString key = column.toLower();
    if (const auto it = captions.constFind(key); it != captions.constEnd())
        return *it;
    // The per-language texts: the Description page's field and the language.
    static const char *const languageCaptions[] = {"Keywords(128)", "45 Char Desc",  "80 Char Desc",
                                                   "250 Char Desc", "450 Char Desc", "2000 Char Desc"};
    for (qsizetype i = 0; i < 6; ++i) {
        const QString prefix = QString::fromLatin1(kPrefixes[i]).toLower();
        if (key.startsWith(prefix))
            return QString::fromLatin1(languageCaptions[i]) + QStringLiteral(" (") + column.mid(prefix.size()) + QLatin1Char(')');
    }
    return column;
}

QString LanguageTextsUpdateSql(int id, const QString &language, const LanguageTexts &texts)
{
    if (!IsDescriptionLanguage(language))
        return QString();
    const QStringList columns = LanguageColumns(language);
    const QStringList stored = StoredLanguageValues(texts);
    QString set;
    for (qsizetype i = 0; i < columns.size(); ++i)
        set += db::Assignment(columns[i], stored[i]) + (i + 1 < columns.size() ? QStringLiteral(", ") : QStringLiteral(" "));
    return QStringLiteral("UPDATE smaterials SET ") + set + QStringLiteral(" WHERE smaterial_id=") + db::SqlInt(id);
}

PadSource PadSourceFromRow(const db::QueryResult &result, const db::Row &row)
{
    PadSource source;
    const QStringList &names = result.fieldNames().names();
    for (qsizetype i = 0; i < names.size(); ++i)
        source.columns.insert(names[i].toLower(), row.value(i));
    return source;
}

} // namespace qv::projects
