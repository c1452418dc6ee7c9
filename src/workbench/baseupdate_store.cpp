#include "workbench/baseupdate_store.h"

#include "db/database.h"
#include "db/query.h"

#include <QHash>

namespace qv::workbench {

namespace {

QString key(const QString &name) { return name.trimmed().toCaseFolded(); }

struct LineFailure {
    QString error;
};

// Runs one statement; the server's text on failure.
std::optional<QString> run(const QString &sql)
{
    if (db::RunDirect(sql) == 0)
        return std::nullopt;
    const QString text = db::DbConnection().errorText();
    return text.isEmpty() ? QStringLiteral("ошибка сервера") : text;
}

} // namespace

StoreOutcome StoreUpdateLines(const UpdateKind &kind, const QStringList &lines,
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
    if (!db::ForEachRow(QStringLiteral("SHOW COLUMNS FROM ") + kind.table,
                        [&](const db::Row &r) { columns.insert(r[0].toLower()); })
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
        for (const auto &f : row->fields) {
            if (!set.isEmpty())
                set += QLatin1Char(',');
            const QString value = f.first == kind.nameColumn ? row->name : f.second;
            set += f.first + QLatin1Char('=') + db::Sql(value);
        }
        if (const auto err = run(QStringLiteral("SAVEPOINT qv_line"))) {
            lineFailed(line, *err);
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
            err = run("DELETE FROM " + kind.linkTable + " WHERE " + kind.linkOwner + '=' + db::SqlInt(id));
            if (!err) {
                QString values;
                for (qint64 r : *rubrics) {
                    if (!values.isEmpty())
                        values += QLatin1Char(',');
                    values += QLatin1Char('(') + db::SqlInt(id) + QLatin1Char(',') + db::SqlInt(r) + QLatin1Char(')');
                }
                err = run("INSERT INTO " + kind.linkTable + " (" + kind.linkOwner + ',' + kind.linkSubject
                          + ") VALUES " + values);
            }
        }
        if (err) {
            run(QStringLiteral("ROLLBACK TO SAVEPOINT qv_line"));
            lineFailed(line, *err);
        } else {
            run(QStringLiteral("RELEASE SAVEPOINT qv_line"));
            if (found == ids.constEnd())
                ids.insert(key(row->name), id);
            ++out.stored;
        }
        if (progress)
            progress(done, row->name);
    }
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
