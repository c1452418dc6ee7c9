#include "db/streamedresult.h"
#include "db/database.h"
#include "db/mysqlapi.h"

namespace qv::db {

void FieldNames::append(const QString &name)
{
    const QString key = name.toLower();
    if (!m_index.contains(key))
        m_index.insert(key, static_cast<int>(m_names.size()));
    m_names.append(name);
}

int FieldNames::indexOf(const QString &name) const { return m_index.value(name.toLower(), -1); }

StreamedResult::StreamedResult(Database &db) : m_db(db)
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

StreamedResult::~StreamedResult() { free(); }

void StreamedResult::free()
{
    if (!m_res)
        return;
    MySqlApi::get().free_result(m_res);
    m_res = nullptr;
    m_row = nullptr;
    m_lengths = nullptr;
    m_db.setResultOpen(false);
}

bool StreamedResult::fetch()
{
    if (!m_res)
        return false;
    const auto &api = MySqlApi::get();
    m_row = api.fetch_row(m_res);
    if (!m_row) {
        // The end of the rows, or a read that broke off: only the error
        // number tells them apart.
        m_failed = api.errno_(m_db.handle()) != 0;
        m_ended = true;
        free();
        return false;
    }
    m_lengths = api.fetch_lengths(m_res);
    return true;
}

} // namespace qv::db
