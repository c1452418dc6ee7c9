#include "support/httpserver.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace qv::test {

QByteArray HttpRequestRecord::header(const QByteArray &name) const
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return QByteArray();
}

HttpServer::HttpServer(QObject *parent) : QObject(parent), m_server(new QTcpServer(this))
{
    m_default.status = 404;
    m_default.body = "not found";
    connect(m_server, &QTcpServer::newConnection, this, &HttpServer::onNewConnection);
}

HttpServer::~HttpServer() { m_server->close(); }

bool HttpServer::listen() { return m_server->listen(QHostAddress::LocalHost, 0); }

quint16 HttpServer::port() const { return m_server->serverPort(); }

QString HttpServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }

void HttpServer::setReply(const QByteArray &path, const HttpScript &script) { m_replies.insert(path, script); }

void HttpServer::queueReply(const QByteArray &path, const HttpScript &script) { m_queued[path].enqueue(script); }

void HttpServer::setDefaultReply(const HttpScript &script) { m_default = script; }

HttpScript HttpServer::scriptFor(const QByteArray &path)
{
    auto q = m_queued.find(path);
    if (q != m_queued.end() && !q->isEmpty())
        return q->dequeue();
    return m_replies.value(path, m_default);
}

void HttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void HttpServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        HttpRequestRecord request;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        const int q = request.target.indexOf('?');
        request.path = q < 0 ? request.target : request.target.left(q);
        request.query = q < 0 ? QByteArray() : request.target.mid(q + 1);
        qsizetype length = 0;
        for (int i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const int colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        }
        length = request.header("Content-Length").toLongLong();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        m_requests.append(request);
        emit requestReceived(request);
        const HttpScript script = scriptFor(request.path);
        if (script.drop) {
            socket->abort();
            return;
        }
        if (script.hang)
            return;
        if (script.delayMs > 0) {
            QPointer<QTcpSocket> guard(socket);
            QTimer::singleShot(script.delayMs, this, [this, guard, script] {
                if (guard)
                    answer(guard, script);
            });
        } else {
            answer(socket, script);
        }
    }
}

void HttpServer::answer(QTcpSocket *socket, const HttpScript &script)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(script.status) + " Scripted\r\n";
    bool hasType = false;
    for (const auto &h : script.headers) {
        out += h.first + ": " + h.second + "\r\n";
        hasType = hasType || h.first.compare("Content-Type", Qt::CaseInsensitive) == 0;
    }
    if (!hasType)
        out += "Content-Type: text/html\r\n";
    out += "Content-Length: " + QByteArray::number(script.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    if (script.trickleMs > 0) {
        socket->write(out);
        trickle(socket, script.body, script.trickleMs);
        return;
    }
    out += script.body;
    socket->write(out);
    socket->disconnectFromHost();
}

void HttpServer::trickle(QTcpSocket *socket, const QByteArray &rest, int everyMs)
{
    if (rest.isEmpty()) {
        socket->disconnectFromHost();
        return;
    }
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(everyMs, this, [this, guard, rest, everyMs] {
        if (!guard || guard->state() != QAbstractSocket::ConnectedState)
            return;
        guard->write(rest.left(1));
        guard->flush();
        trickle(guard, rest.mid(1), everyMs);
    });
}

} // namespace qv::test
