#pragma once
// The bookkeeping every streamed result shares: the client library's handle
// of the statement just run, its column names, the fetch of one row, the
// check that tells the end of the rows from a read that broke off, and the
// free that leaves the connection ready for the next statement. The readers
// (QueryResult, RawRows) only turn the row's buffers into what they hand out.
#include <QHash>
#include <QString>
#include <QStringList>

struct st_mysql_res;

namespace qv::db {

class Database;

// The case-insensitive list of a result's column names, in column order.
class FieldNames {
public:
    void append(const QString &name);
    // Position of the column, -1 when the result has none by that name.
    int indexOf(const QString &name) const;
    qsizetype size() const { return m_names.size(); }
    const QStringList &names() const { return m_names; }

private:
    QStringList m_names;
    QHash<QString, int> m_index;
};

class StreamedResult {
public:
    // Opens the result of the statement just run on `db` (unbuffered), unless
    // the connection has none or another result is still open on it.
    explicit StreamedResult(Database &db);
    ~StreamedResult();
    StreamedResult(const StreamedResult &) = delete;
    StreamedResult &operator=(const StreamedResult &) = delete;

    bool isOpen() const { return m_res != nullptr; }
    // True once the rows ran out (or broke off); the result is freed by then.
    bool ended() const { return m_ended; }
    const FieldNames &fieldNames() const { return m_fields; }
    unsigned columnCount() const { return m_columns; }

    // Moves to the next row; false at the end of the rows and when the read
    // broke off (then failed() is true). Either way the result is then freed.
    bool fetch();
    // The current row's buffers: its values (nullptr for NULL) and their
    // lengths; nullptr before the first row and after the last.
    char *const *row() const { return m_row; }
    const unsigned long *lengths() const { return m_lengths; }
    bool failed() const { return m_failed; }

    // Freeing a streamed result reads and drops the rows that are left.
    void free();

    Database &database() const { return m_db; }

private:
    Database &m_db;
    st_mysql_res *m_res = nullptr;
    FieldNames m_fields;
    unsigned m_columns = 0;
    char **m_row = nullptr;
    unsigned long *m_lengths = nullptr;
    bool m_ended = false;
    bool m_failed = false;
};

} // namespace qv::db
