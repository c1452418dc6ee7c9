#pragma once
// The resource list without widgets: the statements of a fill, the status and
// check texts, the filter test and the sort keys.
#include "workbench/kindfacts.h"

#include <QString>
#include <vector>

namespace qv::db {
class QueryResult;
class Row;
} // namespace qv::db

namespace qv::workbench {

// The list's sub-items, in item order.
enum SubItem {
    SubStatus = 0,
    SubName = 1,
    SubTitle = 2,
    SubNote = 3,
    SubPr = 4,
    SubTic = 5,
    SubBackLink = 6,
    SubLinkType = 7,
    SubAdded = 8,
    SubEdited = 9,
    SubId = 10,
    SubUrl = 11,
    SubRegUrl = 12,
    SubPUrl = 13,
    SubItemCount = 14,
};
// The visible columns: the caption (check text) and sub-items 0 to 10.
constexpr int ColumnCount = 12;

// "Проверка (", "Добавлен (" or "Отказано (" + time + ")"; empty for "0" and others.
QString StatusText(const QString &status, const QString &dateTime);
// "Я Г", "Я" or "Г" + " (" + time + ")" after the engine flags (set = not "0");
// empty when the log row's status is "0".
QString CheckText(const QString &yandex, const QString &google, const QString &status, const QString &dateTime);
QString BackLinkText(const QString &needBurl);
QString LinkTypeText(const QString &redirect);
// A flag is set unless it reads "0" (empty and NULL count as set).
inline bool FlagSet(const QString &flag) { return flag != QLatin1String("0"); }

// The conditions of a filter row as stored.
struct FilterConditions {
    QString tic = QStringLiteral("-1");
    QString pr = QStringLiteral("-1");
    QString needBurl;
    QString redirect;
    QString autocheck;
    QString regstatus;
};
// The conditions of a filter row whose columns start with `prefix`.
FilterConditions FilterConditionsFromRow(const db::QueryResult &result, const db::Row &row, const QString &prefix);
// The registration-status and check conditions of a filter (the others are in
// the statement).
bool FilterAccepts(const FilterConditions &filter, const QString &statusText, const QString &checkText);

// The statements of a fill. Names are quoted; ids and numbers go in as integers.
QString StatusLogSql(const KindFacts &k, int projectId, int materialId);
QString CheckLogSql(const KindFacts &k, int projectId);
QString FilterRowSql(const KindFacts &k, const QString &filterName);
QString FilterListSql(const KindFacts &k, const FilterConditions &filter);
QString SectionListSql(const KindFacts &k, int sectionId);
QString RubricListSql(const KindFacts &k, int rubricId);

// Sorting.
// The number a PR or TIC cell sorts by: an integer, 0 for anything else.
qint64 SortNumber(QStringView text);
// Cells the number sort shows as "0".
bool ShownAsZero(QStringView text);
// Locale-aware (the default locale's collation), case-insensitive
// comparison (negative: a before b).
int CompareText(QStringView a, QStringView b);

// Sort keys of many texts, kept one after another in one buffer: computed
// once, compared many times, in the order CompareText gives.
class TextKeys {
public:
    TextKeys();
    void reserve(size_t count, size_t bytes);
    // The key of the next text (index size() before the call).
    void append(QStringView text);
    size_t size() const { return m_offsets.size(); }
    const char *key(size_t i) const { return m_arena.data() + m_offsets[i]; }
    int compare(size_t a, size_t b) const;

private:
    std::vector<char> m_arena;
    std::vector<quint32> m_offsets;
};
// The comparators of the list's sort, as strict weak orderings: true when the
// first item goes before the second.
bool CaptionDescLess(const QString &a, const QString &b);
bool SubItemTextLess(const QString &a, const QString &b);
// Larger numbers first; equal numbers are equivalent (a stable sort keeps their order).
bool SubItemNumberLess(const QString &a, const QString &b);

// How a column sorts.
enum class SortKind { None, CaptionDesc, Text, Number };
struct ColumnSort {
    SortKind kind = SortKind::None;
    int subItem = -1; // -1: the caption
};
ColumnSort columnSort(int column);

} // namespace qv::workbench
