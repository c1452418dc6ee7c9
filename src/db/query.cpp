#include "db/query.h"
#include "db/database.h"
#include "db/mysqlapi.h"
#include "core/prompt.h"

namespace qv::db {

void FieldNames::append(const QString &name)
{
    const QString key = name.toLower();
    if (!m_index.contains(key))
        m_index.insert(key, static_cast<int>(m_names.size()));
    m_names.append(name);
}

int FieldNames::indexOf(const QString &name) const { return m_index.value(name.toLower(), -1); }

QueryResult::QueryResult(Database &db) : m_db(db)
{
    if (!db.handle() || db.resultOpen())
        return;
    const auto &api = MySqlApi::get();
    m_res = api.use_result(db.handle());
    if (!m_res)
        return;
    db.setResultOpen(true);
    m_columns = api.num_fields(m_res);
    while (MYSQL_FIELD *f = api.fetch_field(m_res))
        m_fields.append(QString::fromUtf8(f->name, static_cast<qsizetype>(f->name_length)));
}

QueryResult::~QueryResult() { free(); }

void QueryResult::free()
{
    if (!m_res)
        return;
    // Freeing a streamed result reads and drops whatever rows are left.
    MySqlApi::get().free_result(m_res);
    m_res = nullptr;
    m_db.setResultOpen(false);
}

std::optional<Row> QueryResult::FetchRow()
{
    if (!m_res)
        return std::nullopt;
    const auto &api = MySqlApi::get();
    MYSQL_ROW row = api.fetch_row(m_res);
    if (!row) {
        // The end of the rows, or a read that broke off: only the error
        // number tells them apart.
        const unsigned no = api.errno_(m_db.handle());
        free();
        if (no != 0) {
            m_failed = true;
            core::prompt().message(StatementFailedMessage(m_db.lastStatement(), m_db.errorText()));
        }
        return std::nullopt;
    }
    const unsigned long *lengths = api.fetch_lengths(m_res);
    QStringList values;
    QList<bool> nulls;
    values.reserve(m_columns);
    nulls.reserve(m_columns);
    for (unsigned i = 0; i < m_columns; ++i) {
        if (row[i]) {
            values.append(QString::fromUtf8(row[i], static_cast<qsizetype>(lengths[i])));
            nulls.append(false);
        } else {
            values.append(QString());
            nulls.append(true);
        }
    }
    return Row(std::move(values), std::move(nulls));
}

QString StatementForMessage(const QString &sql)
{
    constexpr qsizetype kShown = 2000;
    if (sql.size() <= kShown)
        return sql;
    return sql.left(kShown) + QChar(0x2026);
}

QString StatementFailedMessage(const QString &sql, const QString &serverText)
{
    return QStringLiteral("Ошибка в запросе:") + StatementForMessage(sql) + QLatin1Char('\r') + serverText;
}

int ExecQuery(const QString &sql)
{
    Database &db = DbConnection();
    const int rc = db.query(sql);
    if (rc != 0)
        core::prompt().message(StatementFailedMessage(sql, db.errorText()));
    return rc;
}

int RunDirect(const QString &sql) { return DbConnection().query(sql); }

QString RunFailedMessage(const QString &sql)
{
    return QStringLiteral("Ошибка в выполнении запроса:") + QLatin1Char('\r') + StatementForMessage(sql);
}

bool ForEachRow(const QString &sql, const std::function<void(const Row &)> &onRow)
{
    if (ExecQuery(sql) != 0)
        return false;
    QueryResult result(DbConnection());
    while (auto row = result.FetchRow())
        onRow(*row);
    return !result.failed();
}

std::optional<Row> FirstRow(const QString &sql, bool *failed)
{
    if (failed)
        *failed = false;
    if (ExecQuery(sql) != 0) {
        if (failed)
            *failed = true;
        return std::nullopt;
    }
    QueryResult result(DbConnection());
    auto row = result.FetchRow();
    if (!row && result.failed() && failed)
        *failed = true;
    return row;
}

QString EscapeSqlText(const QString &text) { return DbConnection().escape(text); }

QString Sql(const QString &text) { return QLatin1Char('"') + EscapeSqlText(text) + QLatin1Char('"'); }

QString SqlInt(qint64 value) { return QString::number(value); }

std::optional<qint64> ParseInt(const QString &text)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace qv::db
