#pragma once
// The program's HTTP client: GET and form POST, waited on in a local event
// loop so that the window stays responsive during long loops. Redirects are
// not followed (a 3xx reply is a failure); every request has one deadline
// for the whole exchange, however slowly the bytes come; each client keeps
// its own cookies.
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace qv::core {

struct HttpReply {
    bool ok = false;        // a 2xx reply received in full
    bool cancelled = false; // the client was destroyed or aborted during the wait
    bool timedOut = false;  // the exchange did not end before the client's deadline
    int status = 0;         // HTTP status code, 0 when none arrived
    // Why the request failed, as plain text a message can show after a colon
    // (the deadline passed, the server refused the connection, the HTTP
    // status it answered); empty when ok.
    QString error;
    QByteArray body;        // raw bytes (error statuses included)
    QByteArray contentType; // the Content-Type header
    QString text;           // the body decoded: declared charset, else the client's default
};

class HttpClient : public QObject {
    Q_OBJECT
public:
    explicit HttpClient(QObject *parent = nullptr);
    // A wait in progress ends with `cancelled` set.
    ~HttpClient() override;

    // The deadline of each request, from its start to its last byte.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }
    void setDefaultCharset(const QByteArray &name) { m_defaultCharset = name; }
    QByteArray defaultCharset() const { return m_defaultCharset; }
    bool busy() const { return m_wait != nullptr; }

    // Blocking calls; the caller guards against re-entry. A window that owns
    // the client may be destroyed during the wait: callers check a guard on
    // themselves (or `cancelled`) before touching their members again.
    HttpReply get(const QUrl &url);
    HttpReply post(const QUrl &url, const QByteArray &body,
                   const QByteArray &contentType = QByteArrayLiteral("application/x-www-form-urlencoded"));
    // Ends the current wait: not ok, cancelled.
    void abort();

    static QByteArray userAgent();

private:
    HttpReply run(QNetworkReply *reply);

    QNetworkAccessManager *m_nam;
    // The wait in progress (it lives on the waiting call's stack).
    struct Wait;
    Wait *m_wait = nullptr;
    int m_timeoutMs = 30000;
    QByteArray m_defaultCharset = QByteArrayLiteral("windows-1251");
};

// A network failure in words (the server refused, was not found, ...);
// `fallback` for the others.
QString NetworkErrorText(int error, const QUrl &url, const QString &fallback);
// The charset named in a Content-Type header ("" when none).
QByteArray CharsetOf(const QByteArray &contentType);
// Bytes decoded as `charset`; an unknown charset name decodes as windows-1251.
QString DecodeAs(const QByteArray &bytes, const QByteArray &charset);
// Text of a reply body: the charset of the Content-Type header, else `fallback`.
QString DecodeBody(const QByteArray &body, const QByteArray &contentType, const QByteArray &fallback);
// Text of an HTML page: the charset of the header, else of a <meta> in its
// first 2 KB, else UTF-8 when the bytes are valid UTF-8, else windows-1251.
QString DecodeHtmlPage(const QByteArray &body, const QByteArray &contentType);

} // namespace qv::core
