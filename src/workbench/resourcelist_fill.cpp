#include "workbench/resourcelist_fill.h"
#include "db/database.h"
#include "db/query.h"
#include "db/rawrows.h"

#include <QHash>
#include <QStringDecoder>

namespace qv::workbench {

namespace {

using TextById = QHash<qint64, QString>;

// Runs a statement through the standard message and opens its stream.
bool run(const QString &sql) { return db::ExecQuery(sql) == 0; }

bool readStatusLog(const FillParams &p, TextById &statuses)
{
    if (!run(StatusLogSql(p.kind, p.projectId, p.materialId)))
        return false;
    db::RawRows rows(db::DbConnection());
    const QString &sp = p.kind.statusPrefix;
    const int id = rows.column(sp + p.kind.prefix + QStringLiteral("id"));
    const int status = rows.column(sp + QStringLiteral("status"));
    const int when = rows.column(sp + QStringLiteral("datetime"));
    while (rows.next()) {
        const QString text = StatusText(rows.text(status), rows.text(when));
        if (!text.isEmpty())
            statuses.insert(rows.integer(id), text);
    }
    return true;
}

bool readCheckLog(const FillParams &p, TextById &checks)
{
    if (!run(CheckLogSql(p.kind, p.projectId)))
        return false;
    db::RawRows rows(db::DbConnection());
    const QString &cp = p.kind.checkPrefix;
    const int id = rows.column(cp + p.kind.prefix + QStringLiteral("id"));
    const int yandex = rows.column(cp + QStringLiteral("yandex"));
    const int google = rows.column(cp + QStringLiteral("google"));
    const int status = rows.column(cp + QStringLiteral("status"));
    const int when = rows.column(cp + QStringLiteral("datetime"));
    while (rows.next())
        checks.insert(rows.integer(id), CheckText(rows.text(yandex), rows.text(google), rows.text(status), rows.text(when)));
    return true;
}

std::optional<FilterConditions> readFilter(const FillParams &p, const QString &name, bool *failed)
{
    if (!run(FilterRowSql(p.kind, name))) {
        *failed = true;
        return std::nullopt;
    }
    db::QueryResult result(db::DbConnection());
    const auto row = result.FetchRow();
    if (!row)
        return std::nullopt;
    return FilterConditionsFromRow(result, *row, p.kind.filterPrefix);
}

} // namespace

FillOutcome FillResourceRows(const FillParams &p, const ListSource &source, std::vector<ResourceRow> &rows)
{
    rows.clear();
    TextById statuses, checks;
    if (!readStatusLog(p, statuses) || !readCheckLog(p, checks))
        return FillOutcome::Failed;

    std::optional<FilterConditions> filter;
    QString sql;
    switch (source.type) {
    case ListSource::Filter: {
        bool failed = false;
        filter = readFilter(p, source.filterName, &failed);
        if (failed)
            return FillOutcome::Failed;
        if (!filter)
            return FillOutcome::NoFilterRow;
        sql = FilterListSql(p.kind, *filter);
        break;
    }
    case ListSource::Section: sql = SectionListSql(p.kind, source.id); break;
    case ListSource::Rubric: sql = RubricListSql(p.kind, source.id); break;
    }
    if (!run(sql))
        return FillOutcome::Failed;

    db::RawRows list(db::DbConnection());
    const QString &px = p.kind.prefix;
    auto col = [&](const char *name) { return list.column(px + QLatin1String(name)); };
    const int cName = col("name"), cTitle = col("title"), cPr = col("pr"), cTic = col("tic");
    const int cNote = p.kind.hasDescription ? col("description") : -1;
    const int cBurl = col("need_burl"), cRedirect = col("redirect");
    const int cAdded = col("datetime_add"), cEdited = col("datetime_edit"), cId = col("id");
    const int cUrl = col("url"), cAUrl = col("aurl"), cPUrl = col("purl"), cModerate = col("moderate");
    const bool linkTexts = p.kind.showsLinkFlags;
    const QString unmoderated = QStringLiteral("Без модерации");
    // The four flag texts are shared by every row.
    const QString burlSet = BackLinkText(QString()), burlNone = BackLinkText(QStringLiteral("0"));
    const QString redirectSet = LinkTypeText(QString()), redirectNone = LinkTypeText(QStringLiteral("0"));
    const QByteArrayView zero("0", 1);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);

    while (list.next()) {
        const qint64 key = list.integer(0);
        const auto st = statuses.constFind(key);
        const auto ch = checks.constFind(key);
        const QString status = st == statuses.cend() ? QString() : *st;
        const QString check = ch == checks.cend() ? QString() : *ch;
        if (filter && !FilterAccepts(*filter, status, check))
            continue;
        ResourceRow r;
        r.caption = check;
        r.setSub(SubStatus, p.adminMode && list.bytes(cModerate) == zero ? unmoderated : status);
        if (linkTexts) {
            r.setSub(SubBackLink, list.bytes(cBurl) == zero ? burlNone : burlSet);
            r.setSub(SubLinkType, list.bytes(cRedirect) == zero ? redirectNone : redirectSet);
        }
        r.pack({list.bytes(cName), list.bytes(cTitle), list.bytes(cNote), list.bytes(cPr), list.bytes(cTic), list.bytes(cAdded),
                list.bytes(cEdited), list.bytes(cId), list.bytes(cUrl), list.bytes(cAUrl), list.bytes(cPUrl)},
               decoder);
        rows.push_back(std::move(r));
    }
    return list.failed() ? FillOutcome::Failed : FillOutcome::Filled;
}

} // namespace qv::workbench
