#pragma once
// A streamed result read column by column: a long list (the resource list,
// the contacts) converts only the columns it shows, straight from the client
// library's row buffers, so a list of 100,000 rows costs little more than the
// transfer itself.
#include "db/streamedresult.h"

#include <QByteArrayView>
#include <QString>

namespace qv::db {

class RawRows {
public:
    // Opens the result of the statement just run on `db` (unbuffered).
    explicit RawRows(db::Database &db) : m_result(db) {}

    bool isValid() const { return m_result.isOpen() || m_result.ended(); }
    // Position of a column by its case-insensitive name; -1 when absent.
    int column(const QString &name) const { return m_result.fieldNames().indexOf(name); }
    int columnCount() const { return static_cast<int>(m_result.columnCount()); }

    // Moves to the next row; false at the end (the result is then freed).
    bool next() { return m_result.fetch(); }
    // The current row's value; empty for NULL and for column -1.
    QString text(int col) const;
    QByteArrayView bytes(int col) const;
    // The value as an integer when it is one, else `fallback`.
    qint64 integer(int col, qint64 fallback = 0) const;
    // True when the stream ended on an error rather than at its end.
    bool failed() const { return m_result.failed(); }

    void free() { m_result.free(); }

private:
    StreamedResult m_result;
};

} // namespace qv::db
