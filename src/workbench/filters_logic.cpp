#include "workbench/filters_logic.h"
#include "db/query.h"

#include <climits>

namespace qv::workbench {

namespace {

QStringList utf8List(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *t : texts)
        out << QString::fromUtf8(t);
    return out;
}

int intOr(const QString &text, int fallback)
{
    const auto v = db::ParseInt(text);
    if (!v || *v < INT_MIN || *v > INT_MAX)
        return fallback;
    return static_cast<int>(*v);
}

} // namespace

const FilterChoice &burlChoice()
{
    static const FilterChoice c{"need_burl",
                                utf8List({"Любое значение", "Не требуют обратную ссылку", "Требуют обратную ссылку"}),
                                utf8List({"", "0", "1"})};
    return c;
}

const FilterChoice &redirectChoice()
{
    static const FilterChoice c{"redirect", utf8List({"Любое значение", "Прямая", "Редирект"}), utf8List({"", "0", "1"})};
    return c;
}

const FilterChoice &autoCheckChoice()
{
    static const FilterChoice c{
        "autocheck", utf8List({"Любое значение", "Не найдено ни кем", "Только Яндексом", "Только Гуглом", "Яндексом и Гуглом"}),
        utf8List({"", "0", "1", "2", "3"})};
    return c;
}

const FilterChoice &regStatusChoice()
{
    static const FilterChoice c{"regstatus", utf8List({"Любое значение", "Проверка", "Добавлен", "Отказано"}),
                                utf8List({"", "1", "2", "3"})};
    return c;
}

int IndexOfStored(const FilterChoice &choice, const QString &stored)
{
    const qsizetype i = choice.values.indexOf(stored);
    return i < 0 ? 0 : static_cast<int>(i);
}

QString StoredAt(const FilterChoice &choice, int index)
{
    return index >= 0 && index < choice.values.size() ? choice.values.at(index) : QString();
}

FilterEditorValues EditorValuesFromRow(const FilterConditions &row)
{
    FilterEditorValues v;
    v.tic = intOr(row.tic, -1);
    v.pr = intOr(row.pr, -1);
    v.burl = IndexOfStored(burlChoice(), row.needBurl);
    v.redirect = IndexOfStored(redirectChoice(), row.redirect);
    v.autoCheck = IndexOfStored(autoCheckChoice(), row.autocheck);
    v.regStatus = IndexOfStored(regStatusChoice(), row.regstatus);
    return v;
}

FilterConditions ConditionsFromEditor(const FilterEditorValues &v)
{
    FilterConditions c;
    c.tic = QString::number(v.tic);
    c.pr = QString::number(v.pr);
    c.needBurl = StoredAt(burlChoice(), v.burl);
    c.redirect = StoredAt(redirectChoice(), v.redirect);
    c.autocheck = StoredAt(autoCheckChoice(), v.autoCheck);
    c.regstatus = StoredAt(regStatusChoice(), v.regStatus);
    return c;
}

namespace {
// "UPDATE cfilters SET cfilter_tic=.. , ... WHERE "
QString filterUpdate(const KindFacts &k, const FilterEditorValues &v)
{
    const QString &fp = k.filterPrefix;
    QString set =
        fp + QStringLiteral("tic=") + db::SqlInt(v.tic) + QStringLiteral(" , ") + fp + QStringLiteral("pr=") + db::SqlInt(v.pr);
    const struct {
        const FilterChoice &choice;
        int index;
    } lists[] = {{burlChoice(), v.burl},
                 {redirectChoice(), v.redirect},
                 {autoCheckChoice(), v.autoCheck},
                 {regStatusChoice(), v.regStatus}};
    for (const auto &l : lists)
        set +=
            QStringLiteral(" , ") + fp + QLatin1String(l.choice.column) + QLatin1Char('=') + db::Sql(StoredAt(l.choice, l.index));
    return QStringLiteral("UPDATE ") + k.filters + QStringLiteral(" SET ") + set + QStringLiteral(" WHERE ");
}
} // namespace

QString FilterSaveSql(const KindFacts &k, const QString &name, const FilterEditorValues &v)
{
    return filterUpdate(k, v) + k.filterPrefix + QStringLiteral("name=") + db::Sql(name);
}

QString FilterSaveByIdSql(const KindFacts &k, qint64 id, const FilterEditorValues &v)
{
    return filterUpdate(k, v) + k.filterPrefix + QStringLiteral("id=") + db::SqlInt(id);
}

QString FilterRenameSql(const KindFacts &k, const QString &oldName, const QString &newName)
{
    return QStringLiteral("UPDATE ") + k.filters + QStringLiteral(" SET ") + k.filterPrefix + QStringLiteral("name=")
           + db::Sql(newName) + QStringLiteral(" WHERE ") + k.filterPrefix + QStringLiteral("name=") + db::Sql(oldName);
}

QString FilterDeleteSql(const KindFacts &k, const QString &name)
{
    return QStringLiteral("DELETE FROM ") + k.filters + QStringLiteral(" WHERE ") + k.filterPrefix + QStringLiteral("name=")
           + db::Sql(name);
}

} // namespace qv::workbench
