#include "workbench/resourcelist_logic.h"
#include "db/query.h"

#include <QLocale>
#include <cstring>
#include <unicode/ucol.h>

namespace qv::workbench {

namespace {

struct KindStatements {
    const char *statusLog;   // + project id (forums: + material id)
    const char *checkLog;    // + project id
    const char *filterList;  // + "Корзина" quoted
    const char *sectionList; // + section id + " "
    const char *rubricList;  // + rubric id + " "
};

const KindStatements kSoft = {
    "SELECT * FROM sreglog WHERE srl_project_id =",
    "SELECT * FROM gsreglog WHERE  gsrl_project_id =",
    "SELECT * FROM soft WHERE soft_name<>",
    "SELECT * FROM soft, sgroups2soft  WHERE  soft.soft_id = sgroups2soft.sg2s_soft_id AND sgroups2soft.sg2s_sgroup_id=",
    "SELECT * FROM soft, ssubjects2soft WHERE  soft.soft_id = ssubjects2soft.s2s_soft_id AND ssubjects2soft.s2s_subject_id=",
};
const KindStatements kCatalogs = {
    "SELECT * FROM creglog WHERE  crl_project_id =",
    "SELECT * FROM gcreglog WHERE  gcrl_project_id =",
    "SELECT * FROM catalogs WHERE catalog_name<>",
    "SELECT * FROM catalogs, cgroups2catalogs  WHERE  catalogs.catalog_id = cgroups2catalogs.cg2c_catalog_id AND "
    "cgroups2catalogs.cg2c_cgroup_id=",
    "SELECT * FROM catalogs, csubjects2catalogs  WHERE  catalogs.catalog_id = csubjects2catalogs.s2c_catalog_id AND "
    "csubjects2catalogs.s2c_subject_id=",
};
const KindStatements kForums = {
    "SELECT * FROM freglog WHERE  frl_material_id =",
    "SELECT * FROM gfreglog WHERE  gfrl_project_id =",
    "SELECT * FROM forums WHERE forum_name<>",
    "SELECT * FROM forums, fgroups2forums WHERE  forums.forum_id = fgroups2forums.fg2f_forum_id AND "
    "fgroups2forums.fg2f_fgroup_id=",
    "SELECT * FROM forums, fsubjects2forums WHERE forums.forum_id = fsubjects2forums.s2f_forum_id AND "
    "fsubjects2forums.s2f_subject_id=",
};

const KindStatements &statements(const KindFacts &k)
{
    switch (k.kind) {
    case core::Kind::Soft: return kSoft;
    case core::Kind::Forums: return kForums;
    default: return kCatalogs;
    }
}

// The collator of the default locale (the program sets Russian at start),
// case-insensitive: differences of case are ignored, accents are not.
class Collation {
public:
    ~Collation()
    {
        if (m_collator)
            ucol_close(m_collator);
    }
    UCollator *get()
    {
        const QString name = QLocale().name();
        if (!m_collator || name != m_name) {
            if (m_collator)
                ucol_close(m_collator);
            UErrorCode status = U_ZERO_ERROR;
            m_collator = ucol_open(name.toLatin1().constData(), &status);
            if (U_FAILURE(status) || !m_collator) {
                status = U_ZERO_ERROR;
                m_collator = ucol_open("", &status);
            }
            if (m_collator)
                ucol_setStrength(m_collator, UCOL_SECONDARY);
            m_name = name;
        }
        return m_collator;
    }

private:
    UCollator *m_collator = nullptr;
    QString m_name;
};

UCollator *collator()
{
    static Collation c;
    return c.get();
}

const UChar *uchars(QStringView s) { return reinterpret_cast<const UChar *>(s.utf16()); }

} // namespace

QString StatusText(const QString &status, const QString &dateTime)
{
    const char *word = nullptr;
    if (status == QLatin1String("1"))
        word = "Проверка (";
    else if (status == QLatin1String("2"))
        word = "Добавлен (";
    else if (status == QLatin1String("3"))
        word = "Отказано (";
    if (!word)
        return {};
    return QString::fromUtf8(word) + dateTime + QLatin1Char(')');
}

QString CheckText(const QString &yandex, const QString &google, const QString &status, const QString &dateTime)
{
    if (status == QLatin1String("0"))
        return {};
    QString engines;
    if (FlagSet(yandex) && FlagSet(google))
        engines = QStringLiteral("Я Г");
    else if (FlagSet(yandex))
        engines = QStringLiteral("Я");
    else if (FlagSet(google))
        engines = QStringLiteral("Г");
    return engines + QStringLiteral(" (") + dateTime + QLatin1Char(')');
}

QString BackLinkText(const QString &needBurl)
{
    return FlagSet(needBurl) ? QStringLiteral("Требуют обратную ссылку") : QStringLiteral("Не требуют обратной ссылки");
}

QString LinkTypeText(const QString &redirect)
{
    return FlagSet(redirect) ? QStringLiteral("Редирект") : QStringLiteral("Прямая");
}

FilterConditions FilterConditionsFromRow(const db::QueryResult &result, const db::Row &row, const QString &prefix)
{
    auto col = [&](const char *c) { return result.field(row, prefix + QLatin1String(c)); };
    FilterConditions f;
    f.tic = col("tic");
    f.pr = col("pr");
    f.needBurl = col("need_burl");
    f.redirect = col("redirect");
    f.autocheck = col("autocheck");
    f.regstatus = col("regstatus");
    return f;
}

bool FilterAccepts(const FilterConditions &filter, const QString &statusText, const QString &checkText)
{
    if (!filter.regstatus.isEmpty()) {
        if (statusText.isEmpty())
            return false;
        QChar want;
        if (filter.regstatus == QLatin1String("1"))
            want = QChar(0x041F); // П
        else if (filter.regstatus == QLatin1String("2"))
            want = QChar(0x0414); // Д
        else if (filter.regstatus == QLatin1String("3"))
            want = QChar(0x041E); // О
        if (want.isNull() || statusText.at(0) != want)
            return false;
    }
    if (!filter.autocheck.isEmpty()) {
        const QChar first = checkText.isEmpty() ? QChar() : checkText.at(0);
        const QChar third = checkText.size() >= 3 ? checkText.at(2) : QChar();
        const QChar ya(0x042F), ge(0x0413); // Я, Г
        const QString &a = filter.autocheck;
        bool keep = false;
        if (a == QLatin1String("0"))
            keep = checkText.isEmpty();
        else if (a == QLatin1String("1"))
            keep = first == ya && third == QLatin1Char('(');
        else if (a == QLatin1String("2"))
            keep = first == ge && third == QLatin1Char('(');
        else if (a == QLatin1String("3"))
            keep = first == ya && third == ge;
        if (!keep)
            return false;
    }
    return true;
}

QString StatusLogSql(const KindFacts &k, int projectId, int materialId)
{
    return QString::fromUtf8(statements(k).statusLog) + db::SqlInt(k.statusPerMaterial ? materialId : projectId);
}

QString CheckLogSql(const KindFacts &k, int projectId)
{
    return QString::fromUtf8(statements(k).checkLog) + db::SqlInt(projectId);
}

QString FilterRowSql(const KindFacts &k, const QString &filterName)
{
    return QStringLiteral("SELECT * FROM ") + k.filters + QStringLiteral(" WHERE ") + k.filterPrefix + QStringLiteral("name=")
           + db::Sql(filterName);
}

QString FilterListSql(const KindFacts &k, const FilterConditions &filter)
{
    QString sql = QString::fromUtf8(statements(k).filterList) + db::Sql(QStringLiteral("Корзина"));
    // TIC and PR only as integers; a value that is not one sets no condition.
    auto minimum = [&](const char *column, const QString &value) {
        const auto v = db::ParseInt(value);
        if (v && *v != -1)
            sql += QStringLiteral(" AND ") + k.prefix + QLatin1String(column) + QStringLiteral(">=") + db::SqlInt(*v);
    };
    minimum("tic", filter.tic);
    minimum("pr", filter.pr);
    if (k.hasLinkFlags) {
        // The list shows a flag as set unless it is "0" (an empty or NULL
        // flag included): "0" picks the rows whose flag is "0", any other
        // value the rest, so that the filter and the list's texts agree.
        auto equals = [&](const char *column, const QString &value) {
            if (value.isEmpty())
                return;
            const QString col = k.prefix + QLatin1String(column);
            if (value.trimmed() == QLatin1String("0"))
                sql += QStringLiteral(" AND ") + col + QStringLiteral("='0'");
            else
                sql += QStringLiteral(" AND COALESCE(") + col + QStringLiteral(",'')<>'0'");
        };
        equals("redirect", filter.redirect);
        equals("need_burl", filter.needBurl);
    }
    return sql;
}

QString SectionListSql(const KindFacts &k, int sectionId)
{
    return QString::fromUtf8(statements(k).sectionList) + db::SqlInt(sectionId) + QLatin1Char(' ');
}

QString RubricListSql(const KindFacts &k, int rubricId)
{
    return QString::fromUtf8(statements(k).rubricList) + db::SqlInt(rubricId) + QLatin1Char(' ');
}

bool ShownAsZero(QStringView text) { return text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("?"); }

qint64 SortNumber(QStringView text)
{
    if (ShownAsZero(text))
        return 0;
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok ? v : 0;
}

int CompareText(QStringView a, QStringView b)
{
    UCollator *c = collator();
    if (!c)
        return a.compare(b, Qt::CaseInsensitive);
    switch (ucol_strcoll(c, uchars(a), static_cast<int32_t>(a.size()), uchars(b), static_cast<int32_t>(b.size()))) {
    case UCOL_LESS: return -1;
    case UCOL_GREATER: return 1;
    default: return 0;
    }
}

TextKeys::TextKeys() = default;

void TextKeys::reserve(size_t count, size_t bytes)
{
    m_offsets.reserve(count);
    m_arena.reserve(bytes);
}

void TextKeys::append(QStringView text)
{
    const size_t at = m_arena.size();
    m_offsets.push_back(static_cast<quint32>(at));
    UCollator *c = collator();
    if (!c) {
        // No collation service: the case-folded UTF-8 text orders well enough.
        const QByteArray folded = text.toString().toCaseFolded().toUtf8();
        m_arena.insert(m_arena.end(), folded.begin(), folded.end());
        m_arena.push_back('\0');
        return;
    }
    // Room for a typical key; a longer one is asked for again.
    size_t room = 16 + static_cast<size_t>(text.size()) * 3;
    m_arena.resize(at + room);
    auto *out = reinterpret_cast<uint8_t *>(m_arena.data() + at);
    int32_t need = ucol_getSortKey(c, uchars(text), static_cast<int32_t>(text.size()), out, static_cast<int32_t>(room));
    if (need > static_cast<int32_t>(room)) {
        room = static_cast<size_t>(need);
        m_arena.resize(at + room);
        out = reinterpret_cast<uint8_t *>(m_arena.data() + at);
        need = ucol_getSortKey(c, uchars(text), static_cast<int32_t>(text.size()), out, static_cast<int32_t>(room));
    }
    // The key ends with its zero byte.
    m_arena.resize(at + static_cast<size_t>(qMax(need, 1)));
    m_arena.back() = '\0';
}

int TextKeys::compare(size_t a, size_t b) const { return std::strcmp(key(a), key(b)); }

bool CaptionDescLess(const QString &a, const QString &b) { return CompareText(a, b) > 0; }

bool SubItemTextLess(const QString &a, const QString &b) { return CompareText(a, b) < 0; }

bool SubItemNumberLess(const QString &a, const QString &b) { return SortNumber(a) > SortNumber(b); }

ColumnSort columnSort(int column)
{
    switch (column) {
    case 0: return {SortKind::CaptionDesc, -1};
    case 1:
    case 2:
    case 3:
    case 4: return {SortKind::Text, column - 1};
    case 5:
    case 6: return {SortKind::Number, column - 1};
    case 7:
    case 8: return {SortKind::Text, column - 1};
    default: return {SortKind::None, -1};
    }
}

} // namespace qv::workbench
