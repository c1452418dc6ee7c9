#pragma once
#include <QElapsedTimer>
#include <QString>

struct st_mysql;

namespace qv::db {

// One client connection. The process uses one of them (DbConnection()), which
// the main window opens at start-up and keeps until the process ends.
class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Creates the client object. False when the library gives none.
    bool create();
    bool isCreated() const { return m_handle != nullptr; }
    // Connect time-out in seconds; false when the client refuses the option.
    bool setConnectTimeout(unsigned seconds);
    // Always over TCP, utf8mb4 on the connection, no default database.
    bool connect(const QString &host, const QString &user, const QString &password, unsigned port);
    bool isConnected() const { return m_connected; }
    bool selectDatabase(const QString &name);
    // Sends one statement; 0 on success, the client's error number otherwise.
    // A connection idle for a while, or one the server has closed, is checked
    // (a ping) before anything is sent and opened again first when it is gone.
    // A connection that went away (2006, 2013) while a statement was sent is
    // opened again once; the statement is sent again only when it never
    // reached the server.
    // Inside a transaction (START TRANSACTION or BEGIN up to COMMIT or
    // ROLLBACK) a lost connection is a lost transaction: the server has undone
    // its work, so that statement and every later one of it fail without being
    // sent, and its COMMIT or ROLLBACK reports the loss. Nothing of it runs on
    // in autocommit on a new connection.
    int query(const QString &sql);
    // True between a transaction's start and its COMMIT or ROLLBACK.
    bool inTransaction() const { return m_inTransaction; }
    // True when the connection of the open transaction was lost.
    bool transactionLost() const { return m_transactionLost; }
    // The statement sent last, for messages about its result.
    const QString &lastStatement() const { return m_lastStatement; }
    // Opens the connection again with the settings of the last connect, the
    // selected database and the session settings. False when that fails.
    bool reconnect();
    QString errorText() const;
    unsigned errorNumber() const;
    // The text ready to stand between quotes in a statement.
    QString escape(const QString &text) const;
    quint64 lastInsertId() const;
    // The rows the last statement changed, inserted or deleted (an UPDATE
    // counts only the rows whose values it changed).
    quint64 affectedRows() const;
    void close();

    st_mysql *handle() const { return m_handle; }
    // Set while a streamed result is open on this connection.
    bool resultOpen() const { return m_resultOpen; }
    void setResultOpen(bool open) { m_resultOpen = open; }

private:
    // The session's SQL mode: the server's own without the flags that change
    // how quoted texts are read (NO_BACKSLASH_ESCAPES, ANSI_QUOTES).
    bool applySessionMode();
    // True when the connection is known to be usable without sending the
    // statement: it has not been idle for long and the server has not closed
    // it; otherwise a ping decides.
    bool stillThere();
    // Records a failure that the client object does not hold itself.
    int fail(unsigned number, const QString &text);
    // A lost transaction: remembered until its COMMIT or ROLLBACK.
    int loseTransaction(const QString &why);

    st_mysql *m_handle = nullptr;
    QString m_host, m_user, m_password, m_database, m_lastStatement;
    unsigned m_port = 0;
    unsigned m_timeout = 0;
    // The failure of a statement that was not sent again after a reconnect.
    QString m_lastError;
    unsigned m_lastErrno = 0;
    bool m_connected = false;
    bool m_resultOpen = false;
    bool m_inTransaction = false;
    bool m_transactionLost = false;
    // Time since the connection last answered.
    QElapsedTimer m_idle;
};

// The process-wide connection every window uses.
Database &DbConnection();
// Replaces the process-wide connection (the old one is closed); takes ownership.
void setDbConnection(Database *db);

} // namespace qv::db
