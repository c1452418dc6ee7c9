#pragma once
#include "db/streamedresult.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace qv::db {

// A row of a result: the column texts in the result's order. SQL NULL reads
// as an empty text; isNull() tells the two apart where that matters.
class Row {
public:
    Row() = default;
    explicit Row(QStringList values, QList<bool> nulls = {}) : m_values(std::move(values)), m_nulls(std::move(nulls)) {}
    qsizetype size() const { return m_values.size(); }
    QString operator[](qsizetype i) const { return i >= 0 && i < m_values.size() ? m_values[i] : QString(); }
    QString value(qsizetype i) const { return (*this)[i]; }
    bool isNull(qsizetype i) const { return i >= 0 && i < m_nulls.size() && m_nulls[i]; }
    const QStringList &values() const { return m_values; }

private:
    QStringList m_values;
    QList<bool> m_nulls;
};

// A streamed result of the last statement. Rows come one by one from the
// server; the result is freed (and the rest of it skipped) when the object
// goes away, so the connection is free for the next statement on every path.
class QueryResult {
public:
    explicit QueryResult(Database &db) : m_result(db) {}

    bool isValid() const { return m_result.isOpen(); }
    // The next row; nothing at the end of the rows or when reading failed
    // (then failed() is true and the failure has been reported).
    std::optional<Row> FetchRow();
    bool failed() const { return m_result.failed(); }
    const FieldNames &fieldNames() const { return m_result.fieldNames(); }
    // Value of a named column of a fetched row ("" when there is no such column).
    QString field(const Row &row, const QString &name) const { return row[fieldNames().indexOf(name)]; }
    void free() { m_result.free(); }

private:
    StreamedResult m_result;
};

// Runs one statement on the process connection. 0 on success; on failure shows
// "Ошибка в запросе:" + statement + CR + the server's text and returns the
// client's non-zero code.
int ExecQuery(const QString &sql);
// Runs a statement that changes rows, as ExecQuery does: the number of rows it
// changed, inserted or deleted; nothing when it failed (reported).
std::optional<quint64> ExecChanging(const QString &sql);
// A statement as a message shows it: the value of every password column
// (user_password, project_smtp_password, the site passwords, any "*_password")
// as "***", then its first 2,000 characters, then "…".
QString StatementForMessage(const QString &sql);
// "Ошибка в запросе:" + the statement as shown + CR + the server's text (where
// it quotes a hidden value, "***" too).
QString StatementFailedMessage(const QString &sql, const QString &serverText);

// Runs a statement on the process connection without the standard message;
// on failure the caller reports it with RunFailedMessage().
int RunDirect(const QString &sql);
QString RunFailedMessage(const QString &sql);

// Runs a SELECT and hands every row to `onRow`; false when the statement failed
// (already reported). Streams: no events may be processed inside `onRow`.
// A read that breaks off counts as a failure too.
bool ForEachRow(const QString &sql, const std::function<void(const Row &)> &onRow);
// First row of a SELECT, nothing when there is none or the statement failed.
// `failed` tells the two apart.
std::optional<Row> FirstRow(const QString &sql, bool *failed = nullptr);

// Escapes text for a quoted literal: every backslash, both quotes, NUL, CR,
// LF and ^Z.
QString EscapeSqlText(const QString &text);
// The text as a complete double-quoted literal.
QString Sql(const QString &text);
// An id or number as a bare literal.
QString SqlInt(qint64 value);
// Parses a whole integer ("12", "-1"; blanks around it allowed).
std::optional<qint64> ParseInt(const QString &text);

} // namespace qv::db
