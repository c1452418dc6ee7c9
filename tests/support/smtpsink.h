#pragma once
// A local SMTP server for the mailer's tests and bench: it speaks EHLO, AUTH
// (PLAIN and LOGIN), MAIL, RCPT, DATA, RSET, NOOP, QUIT and a refused
// STARTTLS, records every
// envelope and message, and refuses the login, chosen recipients or the whole
// connection on demand. It lives in the event loop of the thread that made it.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

namespace qv::test {

class SmtpSink : public QObject {
    Q_OBJECT
public:
    struct Mail {
        int connection = 0;     // 1 for the first connection, 2 for the next...
        QString from;           // the envelope's MAIL FROM address
        QStringList recipients; // the accepted RCPT TO addresses
        QByteArray data;        // the message as received, dot-stuffing undone

        // Header lines unfolded, in order ("Name: value").
        QStringList headerLines() const;
        // Header names in order.
        QStringList headerNames() const;
        // The unfolded raw value of the first header of that name ("" when none).
        QString header(const QString &name) const;
        // The value with RFC 2047 words decoded (B and Q, any charset Qt knows).
        QString decodedHeader(const QString &name) const;
        // The body, decoded by its transfer encoding and charset.
        QString bodyText() const;
    };

    explicit SmtpSink(QObject *parent = nullptr);
    ~SmtpSink() override;
    bool listen(); // on 127.0.0.1, a free port
    quint16 port() const { return m_server.serverPort(); }

    void setRefuseLogin(bool on) { m_refuseLogin = on; }
    void setRefuseConnections(bool on) { m_refuseConnections = on; }
    // Offers STARTTLS in the EHLO reply and then answers the command with
    // "454 TLS not available" (the sink speaks no TLS).
    void setOfferStartTls(bool on) { m_offerStartTls = on; }
    void refuseRecipient(const QString &address) { m_refusedRecipients.insert(address.toLower()); }
    void acceptAllRecipients() { m_refusedRecipients.clear(); }

    const QList<Mail> &mails() const { return m_mails; }
    int connections() const { return m_connections; }
    int logins() const { return m_logins; }
    QString lastUser() const { return m_lastUser; }
    QString lastPassword() const { return m_lastPassword; }
    // Every command line received, in order, over all connections.
    const QStringList &commands() const { return m_commands; }

    static QString decodeWords(const QString &value);

signals:
    void mailReceived();

private:
    struct Session {
        int number = 0;
        QByteArray buffer;
        enum class State { Command, AuthPlain, AuthLoginUser, AuthLoginPassword, Data } state = State::Command;
        QString loginUser;
        bool authenticated = false;
        Mail mail;
        QByteArray data;
    };

    void onConnection();
    void onReadyRead(QTcpSocket *socket);
    void handleLine(QTcpSocket *socket, Session &s, const QByteArray &line);
    void handleCommand(QTcpSocket *socket, Session &s, const QByteArray &line);
    void checkLogin(QTcpSocket *socket, Session &s, const QString &user, const QString &password);

    QTcpServer m_server;
    QHash<QTcpSocket *, Session> m_sessions;
    QList<Mail> m_mails;
    QStringList m_commands;
    QSet<QString> m_refusedRecipients;
    bool m_refuseLogin = false;
    bool m_refuseConnections = false;
    bool m_offerStartTls = false;
    int m_connections = 0;
    int m_logins = 0;
    QString m_lastUser, m_lastPassword;
};

} // namespace qv::test
