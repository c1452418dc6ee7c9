#pragma once
// A streamed result read column by column: a long list (the resource list,
// the contacts) converts only the columns it shows, straight from the client
// library's row buffers, so a list of 100,000 rows costs little more than the
// transfer itself.
#include <QByteArrayView>
#include <QHash>
#include <QString>

struct st_mysql_res;

namespace qv::db {

class Database;

class RawRows {
public:
    // Opens the result of the statement just run on `db` (unbuffered).
    explicit RawRows(db::Database &db);
    ~RawRows();
    RawRows(const RawRows &) = delete;
    RawRows &operator=(const RawRows &) = delete;

    bool isValid() const { return m_res != nullptr || m_done; }
    // Position of a column by its case-insensitive name; -1 when absent.
    int column(const QString &name) const;
    int columnCount() const { return static_cast<int>(m_columns); }

    // Moves to the next row; false at the end (the result is then freed).
    bool next();
    // The current row's value; empty for NULL and for column -1.
    QString text(int col) const;
    QByteArrayView bytes(int col) const;
    // The value as an integer when it is one, else `fallback`.
    qint64 integer(int col, qint64 fallback = 0) const;
    // True when the stream ended on an error rather than at its end.
    bool failed() const { return m_failed; }

    void free();

private:
    db::Database &m_db;
    st_mysql_res *m_res = nullptr;
    unsigned m_columns = 0;
    QHash<QString, int> m_index;
    char **m_row = nullptr;
    unsigned long *m_lengths = nullptr;
    bool m_done = false;
    bool m_failed = false;
};

} // namespace qv::db
