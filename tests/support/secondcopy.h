#pragma once
// A second copy of the program on the same base: its own connection to the
// test case's database, for changing rows behind the first copy's back.
#include "support/testdb.h"
#include "db/database.h"
#include "db/query.h"

#include <QString>

namespace qv::test {

class SecondCopy {
public:
    explicit SecondCopy(const TestDb &db)
    {
        m_ok = m_conn.create() && m_conn.setConnectTimeout(10)
               && m_conn.connect(TestDb::host(), TestDb::user(), TestDb::password(), TestDb::fixturePort())
               && m_conn.selectDatabase(db.name());
        if (!m_ok)
            m_error = m_conn.errorText();
    }

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    db::Database &connection() { return m_conn; }

    // Runs one statement on this copy's connection; false with error() set.
    bool exec(const QString &sql)
    {
        if (m_conn.query(sql) != 0) {
            m_error = m_conn.errorText() + QStringLiteral(" in: ") + sql.left(300);
            return false;
        }
        db::QueryResult drained(m_conn);
        return true;
    }

private:
    db::Database m_conn;
    bool m_ok = false;
    QString m_error;
};

} // namespace qv::test
