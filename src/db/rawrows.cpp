#include "db/rawrows.h"

namespace qv::db {

QByteArrayView RawRows::bytes(int col) const
{
    char *const *row = m_result.row();
    if (!row || col < 0 || static_cast<unsigned>(col) >= m_result.columnCount() || !row[col])
        return {};
    return QByteArrayView(row[col], static_cast<qsizetype>(m_result.lengths()[col]));
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
