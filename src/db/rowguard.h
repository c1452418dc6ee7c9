#pragma once
// Several copies of the program may edit the same row at once. A window that
// edits a row remembers what it loaded; its save checks, inside the save's
// transaction, that the row still holds it, so that nobody's changes are lost
// without a word.
#include "db/columnlimits.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace qv::db {

class QueryResult;
class Row;

// The values of one row as a window loaded them, by column name (names compare
// without regard to letter case). SQL NULL counts as the empty text, as every
// window shows it.
class LoadedRow {
public:
    LoadedRow() = default;
    // Ids start at 0 (the administrator's user row has id 0).
    LoadedRow(const QString &table, const QString &idColumn, qint64 id);
    // Every column of a fetched row.
    static LoadedRow fromResult(const QString &table, const QString &idColumn, qint64 id, const QueryResult &result,
                                const Row &row);
    // Reads every column of the row; an empty LoadedRow when the statement
    // failed (reported) or there is no such row.
    static LoadedRow read(const QString &table, const QString &idColumn, qint64 id);

    // A row to compare with: table, id column and id are known.
    bool isValid() const { return m_id >= 0 && !m_table.isEmpty() && !m_idColumn.isEmpty(); }
    const QString &table() const { return m_table; }
    const QString &idColumn() const { return m_idColumn; }
    qint64 id() const { return m_id; }

    void set(const QString &column, const QString &value);
    bool has(const QString &column) const;
    QString value(const QString &column) const;

private:
    QString m_table;
    QString m_idColumn;
    qint64 m_id = -1;
    QHash<QString, QString> m_values;
};

enum class RowState {
    Same,    // every compared column holds what was loaded
    Changed, // another copy changed at least one of them
    Gone,    // the row is no longer there
    Failed,  // the statement failed (already reported)
};

// Inside an open transaction: "SELECT <columns> FROM <table> WHERE <id>=<n>
// FOR UPDATE", which also keeps other copies off the row until the transaction
// ends, and compares the columns with what was loaded. A column the window did
// not load is not compared. `now`, when given, receives the row's values of
// `columns`.
RowState CheckRow(const LoadedRow &loaded, const QStringList &columns, LoadedRow *now = nullptr);

// Reads `columns` of the row again into `loaded` (after the save's statements,
// in its transaction), so that the next save compares with what was written.
bool RememberRow(LoadedRow &loaded, const QStringList &columns);

// "Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?",
// then a sentence naming `changed`, the captions of the fields whose stored
// value the other copy changed (none: the question alone).
QString RowChangedQuestion(const QStringList &changed = {});
// The captions (as messages show them) of the fields whose value in `now`
// differs from the one in `loaded`, in the order of `fields`, each once.
// Fields without a caption, or not loaded, are left out.
QStringList ChangedCaptions(const LoadedRow &loaded, const LoadedRow &now, const QList<FieldValue> &fields);
// The row a window was saving was deleted by another copy.
QString RowGoneMessage();

enum class SaveOutcome {
    Saved,    // written and committed; `loaded` holds what was written
    Declined, // another copy changed the row and the user chose not to write over it
    Gone,     // the row is gone; nothing written
    Failed,   // a statement failed (reported) and the transaction was rolled back
};

// One save of a remembered row: START TRANSACTION, the check of the columns
// of `fields`, `write` (its statements; false when one failed, already
// reported), the columns read back into `loaded`, COMMIT. When another copy
// changed the row, the transaction is rolled back before the question, which
// names the fields that copy changed by their captions (no row stays locked
// and no transaction open while the user thinks); on "Да" the check runs
// again in a new transaction against what the user has now been told about.
// With no remembered row the save is not checked.
SaveOutcome SaveRow(LoadedRow &loaded, const QList<FieldValue> &fields, const std::function<bool()> &write);

} // namespace qv::db
