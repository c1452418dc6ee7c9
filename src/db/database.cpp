#include "db/database.h"
#include "db/mysqlapi.h"

#include <QByteArray>
#include <memory>

namespace qv::db {

namespace {
std::unique_ptr<Database> g_connection;
}

Database &DbConnection()
{
    if (!g_connection)
        g_connection = std::make_unique<Database>();
    return *g_connection;
}

void setDbConnection(Database *db) { g_connection.reset(db); }

Database::~Database() { close(); }

bool Database::create()
{
    close();
    if (!MySqlApi::load())
        return false;
    m_handle = MySqlApi::get().init(nullptr);
    return m_handle != nullptr;
}

bool Database::setConnectTimeout(unsigned seconds)
{
    if (!m_handle)
        return false;
    const auto &api = MySqlApi::get();
    unsigned int value = seconds;
    return api.options(m_handle, MYSQL_OPT_CONNECT_TIMEOUT, &value) == 0;
}

bool Database::connect(const QString &host, const QString &user, const QString &password, unsigned port)
{
    if (!m_handle)
        return false;
    const auto &api = MySqlApi::get();
    unsigned int protocol = MYSQL_PROTOCOL_TCP;
    api.options(m_handle, MYSQL_OPT_PROTOCOL, &protocol);
    api.options(m_handle, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const QByteArray h = host.toUtf8(), u = user.toUtf8(), p = password.toUtf8();
    m_connected = api.real_connect(m_handle, h.constData(), u.constData(), p.constData(), nullptr, port,
                                   nullptr, 0) != nullptr;
    return m_connected;
}

bool Database::selectDatabase(const QString &name)
{
    if (!m_handle)
        return false;
    return MySqlApi::get().select_db(m_handle, name.toUtf8().constData()) == 0;
}

int Database::query(const QString &sql)
{
    if (!m_handle)
        return 2006; // "server has gone away": there is no client object to send on
    const QByteArray bytes = sql.toUtf8();
    const int rc = MySqlApi::get().real_query(m_handle, bytes.constData(), static_cast<unsigned long>(bytes.size()));
    if (rc == 0)
        return 0;
    const unsigned no = errorNumber();
    return no ? static_cast<int>(no) : rc;
}

QString Database::errorText() const
{
    if (!m_handle)
        return QStringLiteral("нет соединения с сервером MySQL");
    return QString::fromUtf8(MySqlApi::get().error(m_handle));
}

unsigned Database::errorNumber() const
{
    return m_handle ? MySqlApi::get().errno_(m_handle) : 0;
}

QString Database::escape(const QString &text) const
{
    const QByteArray from = text.toUtf8();
    if (m_handle && m_connected) {
        QByteArray to(from.size() * 2 + 1, Qt::Uninitialized);
        const unsigned long n = MySqlApi::get().real_escape_string(m_handle, to.data(), from.constData(),
                                                                     static_cast<unsigned long>(from.size()));
        if (n != static_cast<unsigned long>(-1)) {
            to.truncate(static_cast<qsizetype>(n));
            return QString::fromUtf8(to);
        }
    }
    // Without a connection: the same set of characters the client escapes.
    QByteArray to;
    to.reserve(from.size() + 8);
    for (char c : from) {
        switch (c) {
        case '\0': to += "\\0"; break;
        case '\n': to += "\\n"; break;
        case '\r': to += "\\r"; break;
        case '\\': to += "\\\\"; break;
        case '\'': to += "\\'"; break;
        case '"': to += "\\\""; break;
        case '\032': to += "\\Z"; break;
        default: to += c;
        }
    }
    return QString::fromUtf8(to);
}

quint64 Database::lastInsertId() const
{
    return m_handle ? MySqlApi::get().insert_id(m_handle) : 0;
}

void Database::close()
{
    if (m_handle && MySqlApi::isLoaded())
        MySqlApi::get().close(m_handle);
    m_handle = nullptr;
    m_connected = false;
    m_resultOpen = false;
}

} // namespace qv::db
