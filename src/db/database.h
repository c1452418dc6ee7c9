#pragma once
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
    int query(const QString &sql);
    QString errorText() const;
    unsigned errorNumber() const;
    // The text ready to stand between quotes in a statement.
    QString escape(const QString &text) const;
    quint64 lastInsertId() const;
    void close();

    st_mysql *handle() const { return m_handle; }
    // Set while a streamed result is open on this connection.
    bool resultOpen() const { return m_resultOpen; }
    void setResultOpen(bool open) { m_resultOpen = open; }

private:
    st_mysql *m_handle = nullptr;
    bool m_connected = false;
    bool m_resultOpen = false;
};

// The process-wide connection every window uses.
Database &DbConnection();
// Replaces the process-wide connection (the old one is closed); takes ownership.
void setDbConnection(Database *db);

} // namespace qv::db
