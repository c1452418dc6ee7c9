#include "db/rawrows.h"
#include "db/database.h"
#include "db/mysqlapi.h"

namespace qv::db {

RawRows::RawRows(db::Database &db) : m_db(db)
{
    if (!db.handle() || db.resultOpen())
        return;
    const auto &api = db::MySqlApi::get();
    m_res = api.use_result(db.handle());
    if (!m_res)
        return;
    db.setResultOpen(true);
    m_columns = api.num_fields(m_res);
    int i = 0;
    while (MYSQL_FIELD *f = api.fetch_field(m_res)) {
        const QString key = QString::fromUtf8(f->name, static_cast<qsizetype>(f->name_length)).toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
        ++i;
    }
}

RawRows::~RawRows() { free(); }

void RawRows::free()
{
    if (!m_res)
        return;
    // Freeing a streamed result reads and drops the rows that are left.
    db::MySqlApi::get().free_result(m_res);
    m_res = nullptr;
    m_row = nullptr;
    m_lengths = nullptr;
    m_db.setResultOpen(false);
}

int RawRows::column(const QString &name) const { return m_index.value(name.toLower(), -1); }

bool RawRows::next()
{
    if (!m_res)
        return false;
    const auto &api = db::MySqlApi::get();
    m_row = api.fetch_row(m_res);
    if (!m_row) {
        m_failed = api.errno_(m_db.handle()) != 0;
        m_done = true;
        free();
        return false;
    }
    m_lengths = api.fetch_lengths(m_res);
    return true;
}

QByteArrayView RawRows::bytes(int col) const
{
    if (!m_row || col < 0 || static_cast<unsigned>(col) >= m_columns || !m_row[col])
        return {};
    return QByteArrayView(m_row[col], static_cast<qsizetype>(m_lengths[col]));
}

QString RawRows::text(int col) const
{
    const QByteArrayView b = bytes(col);
    return b.isEmpty() ? QString() : QString::fromUtf8(b);
}

qint64 RawRows::integer(int col, qint64 fallback) const
{
    const QByteArrayView b = bytes(col);
    if (b.isEmpty())
        return fallback;
    // Ids are plain decimal digits; anything else goes the slow way.
    qint64 v = 0;
    qsizetype i = 0;
    const bool negative = b[0] == '-';
    if (negative)
        i = 1;
    if (i >= b.size())
        return fallback;
    for (; i < b.size(); ++i) {
        const char c = b[i];
        if (c < '0' || c > '9' || v > (Q_INT64_C(0x7fffffffffffffff) - 9) / 10) {
            bool ok = false;
            const qint64 slow = QString::fromUtf8(b).trimmed().toLongLong(&ok);
            return ok ? slow : fallback;
        }
        v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

} // namespace qv::db
