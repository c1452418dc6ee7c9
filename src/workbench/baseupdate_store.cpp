#include "workbench/baseupdate_store.h"

#include "db/assignments.h"
#include "db/database.h"
#include "db/query.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace qv::workbench {

namespace {

QString key(const QString &name) { return name.trimmed().toCaseFolded(); }

// How much a column takes: characters for CHAR and VARCHAR, bytes (UTF-8) for
// the TEXT types; nothing for the rest.
struct ColumnSize {
    qint64 limit = 0;
    bool bytes = false;
};

ColumnSize columnSize(const QString &type)
{
    static const QRegularExpression chars(QStringLiteral("^(var)?char\\((\\d+)\\)"), QRegularExpression::CaseInsensitiveOption);
    const QString t = type.trimmed().toLower();
    if (const auto m = chars.match(t); m.hasMatch())
        return {m.captured(2).toLongLong(), false};
    if (t.startsWith(QLatin1String("tinytext")))
        return {255, true};
    if (t.startsWith(QLatin1String("text")))
        return {65535, true};
    if (t.startsWith(QLatin1String("mediumtext")))
        return {16777215, true};
    return {};
}

// Why a value does not fit its column; nothing when it does. The server would
// cut trailing blanks off a TEXT value with no more than a note.
std::optional<QString> tooLong(const QString &column, const QString &value, const ColumnSize &size)
{
    if (size.limit <= 0)
        return std::nullopt;
    if (size.bytes) {
        if (value.toUtf8().size() <= size.limit)
            return std::nullopt;
        return QStringLiteral("значение поля %1 длиннее допустимого (не более %2 байт)").arg(column).arg(size.limit);
    }
    const qint64 length = value.size() - std::count_if(value.cbegin(), value.cend(), [](QChar c) { return c.isLowSurrogate(); });
    if (length <= size.limit)
        return std::nullopt;
    return QStringLiteral("значение поля %1 длиннее допустимого (не более %2 символов)").arg(column).arg(size.limit);
}

// Runs one statement; the server's text on failure.
std::optional<QString> run(const QString &sql)
{
    if (db::RunDirect(sql) == 0)
        return std::nullopt;
    const QString text = db::DbConnection().errorText();
    return text.isEmpty() ? QStringLiteral("ошибка сервера") : text;
}

// One kind's lines stored in one transaction, each line under a savepoint of
// its own.
class KindStore {
public:
    KindStore(const KindFacts &kind, const QStringList &lines, const std::function<void(int, const QString &)> &progress)
        : m_kind(kind), m_lines(lines), m_progress(progress)
    {}

    StoreOutcome store();

private:
    enum class Next { Line, Stop };

    bool readTable();
    Next storeLine(const QString &line, QString *name);
    std::optional<QString> assignments(const UpdateRow &row, QString *set) const;
    std::optional<QString> writeRow(const QString &name, const QString &set, qint64 *id, bool *known);
    std::optional<QString> linkRubrics(qint64 id, const QList<qint64> &rubrics);
    void noteSkipped(const QStringList &skipped);
    void lineFailed(const QString &line, const QString &error);
    void abort(const QString &error);

    const KindFacts &m_kind;
    const QStringList &m_lines;
    const std::function<void(int, const QString &)> &m_progress;
    StoreOutcome m_out;
    // The table's columns with their sizes, and its names → ids.
    QSet<QString> m_columns;
    QHash<QString, ColumnSize> m_sizes;
    QHash<QString, qint64> m_ids;
};

StoreOutcome KindStore::store()
{
    if (!readTable())
        return m_out;
    if (const auto err = run(QStringLiteral("START TRANSACTION"))) {
        abort(*err);
        return m_out;
    }
    int done = 0;
    for (const QString &line : m_lines) {
        ++done;
        QString name;
        if (storeLine(line, &name) == Next::Stop)
            break;
        if (m_progress)
            m_progress(done, name);
    }
    // Only what the COMMIT took is stored: a transaction lost on the way (its
    // connection dropped) or refused at the end stores nothing of this kind.
    if (const auto err = run(QStringLiteral("COMMIT"))) {
        run(QStringLiteral("ROLLBACK"));
        abort(*err);
        m_out.stored = 0;
    }
    return m_out;
}

// The table's columns and its names → ids, each read once.
bool KindStore::readTable()
{
    if (!db::ForEachRow(QStringLiteral("SHOW COLUMNS FROM ") + m_kind.table,
                        [&](const db::Row &r) {
                            m_columns.insert(r[0].toLower());
                            m_sizes.insert(r[0].toLower(), columnSize(r[1]));
                        })
        || !m_columns.contains(m_kind.nameColumn)) {
        abort(db::DbConnection().errorText());
        return false;
    }
    if (!db::ForEachRow(QStringLiteral("SELECT ") + m_kind.idColumn + ", " + m_kind.nameColumn + " FROM " + m_kind.table,
                        [&](const db::Row &r) {
                            if (const auto id = db::ParseInt(r[0]))
                                m_ids.insert(key(r[1]), *id);
                        })) {
        abort(db::DbConnection().errorText());
        return false;
    }
    return true;
}

// One line all or nothing; `name` gets its resource name once it is read.
// Stop when the transaction is lost.
KindStore::Next KindStore::storeLine(const QString &line, QString *name)
{
    QString error;
    const auto row = ReadUpdateRow(m_kind, line, m_columns, &error);
    if (!row) {
        lineFailed(line, error);
        return Next::Line;
    }
    *name = row->name;
    noteSkipped(row->skipped);
    std::optional<QList<qint64>> rubrics;
    if (row->hasSubjects && !row->subjects.trimmed().isEmpty()) {
        rubrics = RubricPieces(row->subjects);
        if (!rubrics) {
            lineFailed(line, QStringLiteral("список разделов не из чисел: ") + row->subjects.left(200));
            return Next::Line;
        }
    }
    QString set;
    if (const auto oversize = assignments(*row, &set)) {
        lineFailed(line, *oversize);
        return Next::Line;
    }
    if (const auto err = run(QStringLiteral("SAVEPOINT qv_line"))) {
        lineFailed(line, *err);
        // A lost connection lost the whole transaction: its COMMIT says so.
        return db::DbConnection().transactionLost() ? Next::Stop : Next::Line;
    }
    qint64 id = 0;
    bool known = false;
    auto err = writeRow(row->name, set, &id, &known);
    if (!err && rubrics && !rubrics->isEmpty())
        err = linkRubrics(id, *rubrics);
    if (err) {
        run(QStringLiteral("ROLLBACK TO SAVEPOINT qv_line"));
        lineFailed(line, *err);
        if (db::DbConnection().transactionLost())
            return Next::Stop;
    } else {
        run(QStringLiteral("RELEASE SAVEPOINT qv_line"));
        if (!known)
            m_ids.insert(key(row->name), id);
        ++m_out.stored;
    }
    return Next::Line;
}

// The row's SET list in `set`; why the first value too long for its column
// is, if one is.
std::optional<QString> KindStore::assignments(const UpdateRow &row, QString *set) const
{
    std::optional<QString> oversize;
    for (const auto &f : row.fields) {
        if (!set->isEmpty())
            *set += QLatin1Char(',');
        const QString value = f.first == m_kind.nameColumn ? row.name : f.second;
        if (!oversize)
            oversize = tooLong(f.first, value, m_sizes.value(f.first));
        *set += db::Assignment(f.first, value);
    }
    return oversize;
}

// The resource of that name updated, or added when the table has none;
// `id` gets its id, `known` whether it was there.
std::optional<QString> KindStore::writeRow(const QString &name, const QString &set, qint64 *id, bool *known)
{
    const auto found = m_ids.constFind(key(name));
    *known = found != m_ids.constEnd();
    if (*known) {
        *id = *found;
        return run("UPDATE " + m_kind.table + " SET " + set + " WHERE " + m_kind.idColumn + '=' + db::SqlInt(*id));
    }
    auto err = run("INSERT INTO " + m_kind.table + " SET " + set);
    if (!err)
        *id = static_cast<qint64>(db::DbConnection().lastInsertId());
    return err;
}

// The resource's rubric links replaced by `rubrics`.
std::optional<QString> KindStore::linkRubrics(qint64 id, const QList<qint64> &rubrics)
{
    if (const auto err =
            run("DELETE FROM " + m_kind.subjectLinks + " WHERE " + m_kind.subjectLinkResource + '=' + db::SqlInt(id)))
        return err;
    QString values;
    for (qint64 r : rubrics) {
        if (!values.isEmpty())
            values += QLatin1Char(',');
        values += QLatin1Char('(') + db::SqlInt(id) + QLatin1Char(',') + db::SqlInt(r) + QLatin1Char(')');
    }
    return run("INSERT INTO " + m_kind.subjectLinks + " (" + m_kind.subjectLinkResource + ',' + m_kind.subjectLinkSubject
               + ") VALUES " + values);
}

void KindStore::noteSkipped(const QStringList &skipped)
{
    for (const QString &c : skipped)
        if (!m_out.skippedColumns.contains(c))
            m_out.skippedColumns.append(c);
}

void KindStore::lineFailed(const QString &line, const QString &error)
{
    if (m_out.failed == 0) {
        m_out.firstFailedLine = line;
        m_out.firstError = error;
    }
    ++m_out.failed;
}

// Nothing of this kind is stored: every line counts as failed.
void KindStore::abort(const QString &error)
{
    m_out.aborted = true;
    m_out.abortError = error;
    m_out.failed = static_cast<int>(m_lines.size());
}

} // namespace

StoreOutcome StoreUpdateLines(const KindFacts &kind, const QStringList &lines,
                              const std::function<void(int, const QString &)> &progress)
{
    return KindStore(kind, lines, progress).store();
}

} // namespace qv::workbench
