#include "db/rowguard.h"
#include "db/database.h"
#include "db/query.h"
#include "core/prompt.h"

namespace qv::db {

namespace {
QString key(const QString &column) { return column.toLower(); }

QString selectColumns(const LoadedRow &row, const QStringList &columns, bool lock)
{
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + row.table()
           + QStringLiteral(" WHERE ") + row.idColumn() + QLatin1Char('=') + SqlInt(row.id())
           + (lock ? QStringLiteral(" FOR UPDATE") : QString());
}

void rollback() { RunDirect(QStringLiteral("ROLLBACK")); }
} // namespace

LoadedRow::LoadedRow(const QString &table, const QString &idColumn, qint64 id) : m_table(table), m_idColumn(idColumn), m_id(id) {}

LoadedRow LoadedRow::fromResult(const QString &table, const QString &idColumn, qint64 id, const QueryResult &result,
                                const Row &row)
{
    LoadedRow out(table, idColumn, id);
    const QStringList &names = result.fieldNames().names();
    for (qsizetype i = 0; i < names.size(); ++i) {
        // The first of two columns of one name is the one read by name.
        if (!out.has(names[i]))
            out.set(names[i], row.value(i));
    }
    return out;
}

LoadedRow LoadedRow::read(const QString &table, const QString &idColumn, qint64 id)
{
    if (id < 0)
        return LoadedRow();
    const QString sql =
        QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + idColumn + QLatin1Char('=') + SqlInt(id);
    if (ExecQuery(sql) != 0)
        return LoadedRow();
    QueryResult result(DbConnection());
    const auto row = result.FetchRow();
    if (!row)
        return LoadedRow();
    return fromResult(table, idColumn, id, result, *row);
}

void LoadedRow::set(const QString &column, const QString &value) { m_values.insert(key(column), value); }

bool LoadedRow::has(const QString &column) const { return m_values.contains(key(column)); }

QString LoadedRow::value(const QString &column) const { return m_values.value(key(column)); }

RowState CheckRow(const LoadedRow &loaded, const QStringList &columns, LoadedRow *now)
{
    if (!loaded.isValid() || columns.isEmpty())
        return RowState::Failed;
    bool failed = false;
    const auto row = FirstRow(selectColumns(loaded, columns, true), &failed);
    if (failed)
        return RowState::Failed;
    if (!row)
        return RowState::Gone;
    if (now)
        *now = LoadedRow(loaded.table(), loaded.idColumn(), loaded.id());
    bool same = true;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString current = row->value(i);
        if (now)
            now->set(columns[i], current);
        // Byte for byte, whatever the column's collation: another copy's
        // change of letter case alone is a change.
        if (loaded.has(columns[i]) && loaded.value(columns[i]) != current)
            same = false;
    }
    return same ? RowState::Same : RowState::Changed;
}

bool RememberRow(LoadedRow &loaded, const QStringList &columns)
{
    if (!loaded.isValid() || columns.isEmpty())
        return false;
    bool failed = false;
    const auto row = FirstRow(selectColumns(loaded, columns, false), &failed);
    if (failed || !row)
        return false;
    for (qsizetype i = 0; i < columns.size(); ++i)
        loaded.set(columns[i], row->value(i));
    return true;
}

QString RowChangedQuestion(const QStringList &changed)
{
    QString text = QStringLiteral("Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?");
    if (changed.isEmpty())
        return text;
    QStringList quoted;
    for (const QString &caption : changed)
        quoted << QLatin1Char('"') + caption + QLatin1Char('"');
    text += QLatin1Char('\n');
    if (changed.size() == 1)
        return text + QStringLiteral("В другой копии программы изменено поле ") + quoted[0]
               + QStringLiteral("; его значение в базе будет заменено значением из этого окна.");
    return text + QStringLiteral("В другой копии программы изменены поля ") + quoted.join(QStringLiteral(", "))
           + QStringLiteral("; их значения в базе будут заменены значениями из этого окна.");
}

QStringList ChangedCaptions(const LoadedRow &loaded, const LoadedRow &now, const QList<FieldValue> &fields)
{
    QStringList out;
    for (const FieldValue &f : fields) {
        const QString caption = ShownCaption(f.label);
        // Compared exactly: a change of letter case alone is a change.
        if (caption.isEmpty() || !loaded.has(f.column) || loaded.value(f.column) == now.value(f.column) || out.contains(caption))
            continue;
        out << caption;
    }
    return out;
}

QString RowGoneMessage()
{
    return QStringLiteral("Запись удалена из базы после того, как вы её открыли. Ваши изменения не записаны.");
}

SaveOutcome SaveRow(LoadedRow &loaded, const QList<FieldValue> &fields, const std::function<bool()> &write)
{
    QStringList columns;
    for (const FieldValue &f : fields)
        columns << f.column;
    const bool guarded = loaded.isValid();
    LoadedRow expected = loaded;
    for (;;) {
        if (ExecQuery(QStringLiteral("START TRANSACTION")) != 0)
            return SaveOutcome::Failed;
        if (guarded) {
            LoadedRow now;
            switch (CheckRow(expected, columns, &now)) {
            case RowState::Same: break;
            case RowState::Changed:
                rollback();
                if (!core::prompt().question(RowChangedQuestion(ChangedCaptions(expected, now, fields))))
                    return SaveOutcome::Declined;
                // Written over only what the user was asked about: a change
                // made while the question was shown is asked about again.
                expected = now;
                continue;
            case RowState::Gone: rollback(); return SaveOutcome::Gone;
            case RowState::Failed: rollback(); return SaveOutcome::Failed;
            }
        }
        if (!write()) {
            rollback();
            return SaveOutcome::Failed;
        }
        LoadedRow written = loaded;
        if (guarded && !RememberRow(written, columns)) {
            rollback();
            return SaveOutcome::Failed;
        }
        if (ExecQuery(QStringLiteral("COMMIT")) != 0) {
            rollback();
            return SaveOutcome::Failed;
        }
        loaded = written;
        return SaveOutcome::Saved;
    }
}

} // namespace qv::db
