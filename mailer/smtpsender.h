#pragma once
// One SMTP account over libcurl: a single easy handle, so the connection (and
// its login) is kept between messages and closed with QUIT at the end.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <curl/curl.h>

namespace qv::mailer {

struct SmtpAccount {
    QString host;
    int port = 25;
    QString userName; // no login when empty
    QString password;
    // Bounds of one conversation step and of one whole message, in seconds.
    int connectTimeout = 20;
    int replyTimeout = 60;
    int messageTimeout = 180;
};

class SmtpSender {
public:
    enum class Outcome {
        Sent,
        // The message was refused (sender, a recipient, the data): the next
        // message may still go.
        Refused,
        // The server could not be reached, TLS failed or the login was
        // refused: no message can go on this account.
        NoSession,
    };

    explicit SmtpSender(const SmtpAccount &account);
    ~SmtpSender();
    SmtpSender(const SmtpSender &) = delete;
    SmtpSender &operator=(const SmtpSender &) = delete;

    // smtps:// for port 465, otherwise smtp:// with STARTTLS when the server offers it.
    static QString urlFor(const SmtpAccount &account);

    // Sends one message to every recipient (bare addresses); on failure
    // errorText() holds the server's reply or the reason.
    Outcome send(const QString &from, const QStringList &recipients, const QByteArray &message);
    QString errorText() const { return m_error; }

private:
    static size_t readCallback(char *buffer, size_t size, size_t count, void *self);
    static int debugCallback(CURL *handle, curl_infotype type, char *data, size_t size, void *self);
    Outcome perform(const QString &from, const QStringList &recipients, const QByteArray &message);

    SmtpAccount m_account;
    CURL *m_curl = nullptr;
    QByteArray m_url, m_user, m_password, m_from;
    QByteArray m_message;
    qsizetype m_offset = 0;
    QString m_error;
    QString m_lastErrorReply;   // the last 4xx/5xx line the server sent
    bool m_mailStarted = false; // MAIL FROM went out in this transfer
    bool m_sessionUsed = false; // a message went out on the kept connection
};

} // namespace qv::mailer
