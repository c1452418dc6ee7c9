#include "db/database.h"
#include "db/mysqlapi.h"

#include <errmsg.h>
#include <mysqld_error.h>
#include <poll.h>

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>
#include <memory>

namespace qv::db {

namespace {
std::unique_ptr<Database> g_connection;

// A connection unused for longer than this is pinged before the next statement.
constexpr qint64 kIdleCheckMs = 3000;

const QString kTransactionLost = QStringLiteral(
    "Соединение с сервером MySQL прервалось во время транзакции: сервер отменил её изменения, они не записаны в базу.");

enum class TxStatement { Other, Begin, End };

// What a statement does to the session's transaction.
TxStatement classify(const QString &sql)
{
    static const QRegularExpression begin(QStringLiteral("^\\s*(START\\s+TRANSACTION\\b|BEGIN(\\s+WORK)?\\s*;?\\s*$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    // ROLLBACK TO [SAVEPOINT] keeps the transaction open.
    static const QRegularExpression end(QStringLiteral("^\\s*(COMMIT\\b|ROLLBACK\\b(?!(\\s+WORK)?\\s+TO\\b))"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QString head = sql.left(80);
    if (begin.match(head).hasMatch())
        return TxStatement::Begin;
    if (end.match(head).hasMatch())
        return TxStatement::End;
    return TxStatement::Other;
}

// The failures that mean the connection is gone.
bool connectionGone(int rc) { return rc == CR_SERVER_GONE_ERROR || rc == CR_SERVER_LOST || rc == ER_CONNECTION_KILLED; }
} // namespace

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
    m_timeout = seconds;
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
    m_host = host;
    m_user = user;
    m_password = password;
    m_port = port;
    m_connected = api.real_connect(m_handle, h.constData(), u.constData(), p.constData(), nullptr, port, nullptr, 0) != nullptr;
    if (m_connected && !applySessionMode())
        m_connected = false;
    if (m_connected)
        m_idle.start();
    return m_connected;
}

bool Database::applySessionMode()
{
    const auto &api = MySqlApi::get();
    const QByteArray select = "SELECT @@GLOBAL.sql_mode";
    if (api.real_query(m_handle, select.constData(), static_cast<unsigned long>(select.size())) != 0)
        return false;
    MYSQL_RES *res = api.use_result(m_handle);
    if (!res)
        return false;
    QString mode;
    if (MYSQL_ROW row = api.fetch_row(res); row && row[0])
        mode = QString::fromUtf8(row[0]);
    api.free_result(res);
    QStringList kept;
    for (const QString &flag : mode.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString f = flag.trimmed().toUpper();
        // "ANSI" as a combined mode brings ANSI_QUOTES back with it.
        if (f == QLatin1String("NO_BACKSLASH_ESCAPES") || f == QLatin1String("ANSI_QUOTES") || f == QLatin1String("ANSI"))
            continue;
        // Mode names are letters, digits and underscores only.
        bool plain = !f.isEmpty();
        for (QChar c : f)
            plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('_'));
        if (plain)
            kept.append(f);
    }
    // Strict in every session, whatever the server's own mode: a value that
    // does not fit its column is refused, never cut or coerced.
    if (!kept.contains(QLatin1String("STRICT_ALL_TABLES")))
        kept.append(QStringLiteral("STRICT_ALL_TABLES"));
    // Single quotes read the same under every mode.
    const QByteArray set = "SET SESSION sql_mode='" + kept.join(QLatin1Char(',')).toLatin1() + "'";
    return api.real_query(m_handle, set.constData(), static_cast<unsigned long>(set.size())) == 0;
}

bool Database::selectDatabase(const QString &name)
{
    if (!m_handle)
        return false;
    if (MySqlApi::get().select_db(m_handle, name.toUtf8().constData()) != 0)
        return false;
    m_database = name;
    return true;
}

bool Database::reconnect()
{
    if (m_host.isEmpty() && m_user.isEmpty())
        return false;
    const QString host = m_host, user = m_user, password = m_password, database = m_database;
    const unsigned port = m_port, timeout = m_timeout;
    if (!create())
        return false;
    if (timeout)
        setConnectTimeout(timeout);
    if (!connect(host, user, password, port))
        return false;
    return database.isEmpty() || selectDatabase(database);
}

bool Database::stillThere()
{
    // Never connected: the statement itself reports why.
    if (m_host.isEmpty() && m_user.isEmpty())
        return true;
    if (!m_connected)
        return false;
    const auto &api = MySqlApi::get();
    bool check = !m_idle.isValid() || m_idle.elapsed() > kIdleCheckMs;
    if (!check && api.get_socket) {
        // Nothing is due from the server now: anything to read on the socket
        // (the end of the stream, a "connection killed" packet) means the
        // server has closed the connection.
        const my_socket fd = api.get_socket(m_handle);
        if (fd >= 0) {
            pollfd p{static_cast<int>(fd), POLLIN, 0};
            check = ::poll(&p, 1, 0) > 0;
        }
    }
    if (!check)
        return true;
    if (api.ping(m_handle) != 0)
        return false;
    m_idle.restart();
    return true;
}

int Database::fail(unsigned number, const QString &text)
{
    m_lastErrno = number;
    m_lastError = text;
    return static_cast<int>(number);
}

int Database::loseTransaction(const QString &why)
{
    m_transactionLost = true;
    return fail(CR_SERVER_LOST,
                why.isEmpty() ? kTransactionLost : kTransactionLost + QStringLiteral(" (") + why + QLatin1Char(')'));
}

int Database::query(const QString &sql)
{
    m_lastStatement = sql;
    m_lastErrno = 0;
    const TxStatement kind = classify(sql);
    // Ends the transaction's bookkeeping with its COMMIT or ROLLBACK, sent or not.
    const auto settle = [&](int rc) {
        if (kind == TxStatement::End) {
            m_inTransaction = false;
            m_transactionLost = false;
        } else if (kind == TxStatement::Begin && rc == 0) {
            m_inTransaction = true;
            m_transactionLost = false;
        }
        return rc;
    };
    if (m_transactionLost)
        return settle(fail(CR_SERVER_LOST, kTransactionLost));
    if (!m_handle) {
        if (m_inTransaction)
            return settle(loseTransaction(QString()));
        return 2006; // "server has gone away": there is no client object to send on
    }
    if (!m_resultOpen && !stillThere()) {
        // Gone before anything was sent: open it again first.
        const QString why = errorText();
        const bool reopened = reconnect();
        if (m_inTransaction)
            return settle(loseTransaction(why));
        if (!reopened) {
            const unsigned no = errorNumber();
            return no ? static_cast<int>(no) : CR_SERVER_GONE_ERROR; // the new client's own error says why
        }
    }
    const QByteArray bytes = sql.toUtf8();
    const auto send = [&] {
        const int rc = MySqlApi::get().real_query(m_handle, bytes.constData(), static_cast<unsigned long>(bytes.size()));
        if (rc == 0) {
            m_idle.restart();
            return 0;
        }
        const unsigned no = errorNumber();
        if (!connectionGone(static_cast<int>(no)))
            m_idle.restart();
        return no ? static_cast<int>(no) : rc;
    };
    int rc = send();
    if (connectionGone(rc) && !m_resultOpen) {
        // A restarted server or a killed session: open the connection again.
        // "Gone away" means the statement was never taken; "lost" may mean it
        // ran, so it is reported rather than run twice. Inside a transaction
        // the server has rolled back what came before: the transaction is lost.
        const unsigned firstError = static_cast<unsigned>(rc);
        const QString firstText = errorText();
        const bool reopened = reconnect();
        if (m_inTransaction)
            return settle(loseTransaction(firstText));
        if (!reopened)
            return rc; // the new client's own error says why
        if (firstError == CR_SERVER_GONE_ERROR)
            return settle(send());
        return fail(firstError, firstText);
    }
    return settle(rc);
}

QString Database::errorText() const
{
    if (m_lastErrno)
        return m_lastError;
    if (!m_handle)
        return QStringLiteral("нет соединения с сервером MySQL");
    return QString::fromUtf8(MySqlApi::get().error(m_handle));
}

unsigned Database::errorNumber() const
{
    if (m_lastErrno)
        return m_lastErrno;
    return m_handle ? MySqlApi::get().errno_(m_handle) : 0;
}

QString Database::escape(const QString &text) const
{
    const QByteArray from = text.toUtf8();
    if (m_handle && m_connected) {
        QByteArray to(from.size() * 2 + 1, Qt::Uninitialized);
        const unsigned long n =
            MySqlApi::get().real_escape_string(m_handle, to.data(), from.constData(), static_cast<unsigned long>(from.size()));
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

quint64 Database::lastInsertId() const { return m_handle ? MySqlApi::get().insert_id(m_handle) : 0; }

quint64 Database::affectedRows() const
{
    if (!m_handle)
        return 0;
    const my_ulonglong n = MySqlApi::get().affected_rows(m_handle);
    // (my_ulonglong)-1: the statement failed or was a SELECT.
    return n == static_cast<my_ulonglong>(-1) ? 0 : static_cast<quint64>(n);
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
