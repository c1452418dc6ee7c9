#pragma once
// A small HTTP server on the loopback interface that plays the maker's
// service and the search engines in tests: scripted replies per path,
// failures on demand, every request recorded as it arrived.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QQueue>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace qv::test {

struct HttpScript {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers; // extra headers
    QByteArray body;
    int delayMs = 0;   // answer after this delay
    bool hang = false; // never answer, keep the connection open
    bool drop = false; // close the connection without answering
    int trickleMs = 0; // send the headers at once, then the body one byte every trickleMs

    HttpScript &addHeader(const QByteArray &name, const QByteArray &value)
    {
        headers.append(qMakePair(name, value));
        return *this;
    }
};

struct HttpRequestRecord {
    QByteArray method;
    QByteArray target; // path and query exactly as received
    QByteArray path;   // the target before "?"
    QByteArray query;  // the target after "?", not decoded
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Case-insensitive; "" when absent.
    QByteArray header(const QByteArray &name) const;
};

class HttpServer : public QObject {
    Q_OBJECT
public:
    explicit HttpServer(QObject *parent = nullptr);
    ~HttpServer() override;

    // Listens on 127.0.0.1 on a free port.
    bool listen();
    quint16 port() const;
    QString baseUrl() const;

    // The answer to every request for `path`.
    void setReply(const QByteArray &path, const HttpScript &script);
    // A one-time answer for `path`, used before the standing one.
    void queueReply(const QByteArray &path, const HttpScript &script);
    // The answer for paths without one (404 by default).
    void setDefaultReply(const HttpScript &script);

    QList<HttpRequestRecord> requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

signals:
    void requestReceived(const qv::test::HttpRequestRecord &request);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const HttpScript &script);
    void trickle(QTcpSocket *socket, const QByteArray &rest, int everyMs);
    HttpScript scriptFor(const QByteArray &path);

    QTcpServer *m_server;
    QHash<QByteArray, HttpScript> m_replies;
    QHash<QByteArray, QQueue<HttpScript>> m_queued;
    HttpScript m_default;
    QList<HttpRequestRecord> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

} // namespace qv::test
