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
    static const QRegularExpression chars(QStringLiteral("^(var)?char\\((\\d+)\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
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

} // namespace

StoreOutcome StoreUpdateLines(const KindFacts &kind, const QStringList &lines,
                              const std::function<void(int, const QString &)> &progress)
{
    StoreOutcome out;
    auto lineFailed = [&](const QString &line, const QString &error) {
        if (out.failed == 0) {
            out.firstFailedLine = line;
            out.firstError = error;
        }
        ++out.failed;
    };

    // The table's columns and its names → ids, each read once.
    QSet<QString> columns;
    QHash<QString, ColumnSize> sizes;
    if (!db::ForEachRow(QStringLiteral("SHOW COLUMNS FROM ") + kind.table,
                        [&](const db::Row &r) {
                            columns.insert(r[0].toLower());
                            sizes.insert(r[0].toLower(), columnSize(r[1]));
                        })
        || !columns.contains(kind.nameColumn)) {
        out.aborted = true;
        out.abortError = db::DbConnection().errorText();
        out.failed = static_cast<int>(lines.size());
        return out;
    }
    QHash<QString, qint64> ids;
    if (!db::ForEachRow(QStringLiteral("SELECT ") + kind.idColumn + ", " + kind.nameColumn + " FROM " + kind.table,
                        [&](const db::Row &r) {
                            if (const auto id = db::ParseInt(r[0]))
                                ids.insert(key(r[1]), *id);
                        })) {
        out.aborted = true;
        out.abortError = db::DbConnection().errorText();
        out.failed = static_cast<int>(lines.size());
        return out;
    }

    if (const auto err = run(QStringLiteral("START TRANSACTION"))) {
        out.aborted = true;
        out.abortError = *err;
        out.failed = static_cast<int>(lines.size());
        return out;
    }
    int done = 0;
    for (const QString &line : lines) {
        ++done;
        QString error;
        const auto row = ReadUpdateRow(kind, line, columns, &error);
        if (!row) {
            lineFailed(line, error);
            if (progress)
                progress(done, QString());
            continue;
        }
        for (const QString &c : row->skipped)
            if (!out.skippedColumns.contains(c))
                out.skippedColumns.append(c);
        std::optional<QList<qint64>> rubrics;
        if (row->hasSubjects && !row->subjects.trimmed().isEmpty()) {
            rubrics = RubricPieces(row->subjects);
            if (!rubrics) {
                lineFailed(line, QStringLiteral("список разделов не из чисел: ") + row->subjects.left(200));
                if (progress)
                    progress(done, row->name);
                continue;
            }
        }
        QString set;
        std::optional<QString> oversize;
        for (const auto &f : row->fields) {
            if (!set.isEmpty())
                set += QLatin1Char(',');
            const QString value = f.first == kind.nameColumn ? row->name : f.second;
            if (!oversize)
                oversize = tooLong(f.first, value, sizes.value(f.first));
            set += db::Assignment(f.first, value);
        }
        if (oversize) {
            lineFailed(line, *oversize);
            if (progress)
                progress(done, row->name);
            continue;
        }
        if (const auto err = run(QStringLiteral("SAVEPOINT qv_line"))) {
            lineFailed(line, *err);
            // A lost connection lost the whole transaction: its COMMIT says so.
            if (db::DbConnection().transactionLost())
                break;
            if (progress)
                progress(done, row->name);
            continue;
        }
        std::optional<QString> err;
        const auto found = ids.constFind(key(row->name));
        qint64 id = 0;
        if (found != ids.constEnd()) {
            id = *found;
            err = run("UPDATE " + kind.table + " SET " + set + " WHERE " + kind.idColumn + '=' + db::SqlInt(id));
        } else {
            err = run("INSERT INTO " + kind.table + " SET " + set);
            if (!err)
                id = static_cast<qint64>(db::DbConnection().lastInsertId());
        }
        if (!err && rubrics && !rubrics->isEmpty()) {
            err = run("DELETE FROM " + kind.subjectLinks + " WHERE " + kind.subjectLinkResource + '=' + db::SqlInt(id));
            if (!err) {
                QString values;
                for (qint64 r : *rubrics) {
                    if (!values.isEmpty())
                        values += QLatin1Char(',');
                    values += QLatin1Char('(') + db::SqlInt(id) + QLatin1Char(',') + db::SqlInt(r) + QLatin1Char(')');
                }
                err = run("INSERT INTO " + kind.subjectLinks + " (" + kind.subjectLinkResource + ',' + kind.subjectLinkSubject
                          + ") VALUES " + values);
            }
        }
        if (err) {
            run(QStringLiteral("ROLLBACK TO SAVEPOINT qv_line"));
            lineFailed(line, *err);
            if (db::DbConnection().transactionLost())
                break;
        } else {
            run(QStringLiteral("RELEASE SAVEPOINT qv_line"));
            if (found == ids.constEnd())
                ids.insert(key(row->name), id);
            ++out.stored;
        }
        if (progress)
            progress(done, row->name);
    }
    // Only what the COMMIT took is stored: a transaction lost on the way (its
    // connection dropped) or refused at the end stores nothing of this kind.
    if (const auto err = run(QStringLiteral("COMMIT"))) {
        run(QStringLiteral("ROLLBACK"));
        out.aborted = true;
        out.abortError = *err;
        out.failed = static_cast<int>(lines.size());
        out.stored = 0;
    }
    return out;
}

} // namespace qv::workbench
