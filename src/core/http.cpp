#include "core/http.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimer>

namespace qv::core {

struct HttpClient::Wait {
    QEventLoop loop;
    QPointer<QNetworkReply> reply;
    bool cancelled = false;
    bool clientGone = false;
};

HttpClient::HttpClient(QObject *parent) : QObject(parent), m_nam(new QNetworkAccessManager(this))
{
    m_nam->setCookieJar(new QNetworkCookieJar(m_nam));
    m_nam->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

HttpClient::~HttpClient()
{
    if (m_wait)
        m_wait->clientGone = true;
    abort();
}

QByteArray HttpClient::userAgent() { return QByteArrayLiteral("Quorvantile/3.1"); }

void HttpClient::abort()
{
    if (!m_wait)
        return;
    m_wait->cancelled = true;
    if (m_wait->reply)
        m_wait->reply->abort();
    m_wait->loop.quit();
}

HttpReply HttpClient::get(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setRawHeader("Accept", "text/html, */*");
    return run(m_nam->get(request));
}

HttpReply HttpClient::post(const QUrl &url, const QByteArray &body, const QByteArray &contentType)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    request.setRawHeader("Accept", "text/html, */*");
    return run(m_nam->post(request, body));
}

HttpReply HttpClient::run(QNetworkReply *reply)
{
    HttpReply result;
    if (m_wait) {
        // One request at a time per client.
        reply->abort();
        reply->deleteLater();
        result.error = QStringLiteral("Запрос уже выполняется");
        return result;
    }
    Wait wait;
    wait.reply = reply;
    m_wait = &wait;
    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    // One deadline for the whole exchange, counted from the request's start:
    // a server that trickles a byte now and then cannot hold the caller past it.
    QObject::connect(&deadline, &QTimer::timeout, &wait.loop, [&] {
        timedOut = true;
        if (wait.reply)
            wait.reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &wait.loop, &QEventLoop::quit);
    const int timeoutMs = m_timeoutMs;
    deadline.start(timeoutMs);
    if (!reply->isFinished())
        wait.loop.exec();
    deadline.stop();

    if (wait.cancelled) {
        result.cancelled = true;
        result.error = QStringLiteral("Запрос прерван");
        if (wait.reply)
            wait.reply->deleteLater();
        // A destroyed client is not touched again.
        if (!wait.clientGone)
            m_wait = nullptr;
        return result;
    }
    m_wait = nullptr;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.contentType = reply->rawHeader("Content-Type");
    if (reply->isOpen())
        result.body = reply->readAll();
    result.text = DecodeBody(result.body, result.contentType, m_defaultCharset);
    if (timedOut) {
        result.timedOut = true;
        result.error = QStringLiteral("время ожидания ответа сервера (%1 с) истекло").arg((timeoutMs + 999) / 1000);
    } else if (result.status >= 300 && result.status < 400) {
        result.error = QStringLiteral("сервер ответил перенаправлением (HTTP %1), оно не выполняется").arg(result.status);
    } else if (result.status >= 400) {
        result.error = QStringLiteral("сервер ответил ошибкой HTTP %1").arg(result.status);
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = NetworkErrorText(reply->error(), reply->url(), reply->errorString());
    } else if (result.status < 200) {
        result.error = QStringLiteral("сервер не прислал ответа");
    } else {
        result.ok = true;
    }
    reply->deleteLater();
    return result;
}

QString NetworkErrorText(int error, const QUrl &url, const QString &fallback)
{
    const QString server = url.port() > 0 ? url.host() + QLatin1Char(':') + QString::number(url.port()) : url.host();
    switch (error) {
    case QNetworkReply::ConnectionRefusedError: return QStringLiteral("сервер %1 отказал в соединении").arg(server);
    case QNetworkReply::HostNotFoundError: return QStringLiteral("сервер %1 не найден").arg(server);
    case QNetworkReply::RemoteHostClosedError: return QStringLiteral("сервер %1 закрыл соединение, не ответив").arg(server);
    case QNetworkReply::TimeoutError: return QStringLiteral("сервер %1 не отвечает").arg(server);
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("не удалось установить защищённое соединение с %1").arg(server);
    default: return fallback.isEmpty() ? QStringLiteral("ошибка сети") : fallback;
    }
}

QByteArray CharsetOf(const QByteArray &contentType)
{
    static const QRegularExpression re(QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9._:-]+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(QString::fromLatin1(contentType));
    return m.hasMatch() ? m.captured(1).toLatin1().toLower() : QByteArray();
}

QString DecodeAs(const QByteArray &bytes, const QByteArray &charset)
{
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1251");
    return decoder.decode(bytes);
}

QString DecodeBody(const QByteArray &body, const QByteArray &contentType, const QByteArray &fallback)
{
    const QByteArray declared = CharsetOf(contentType);
    return DecodeAs(body, declared.isEmpty() ? fallback : declared);
}

namespace {
bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}
} // namespace

QString DecodeHtmlPage(const QByteArray &body, const QByteArray &contentType)
{
    QByteArray charset = CharsetOf(contentType);
    if (charset.isEmpty()) {
        static const QRegularExpression meta(QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?([A-Za-z0-9._:-]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
        const auto m = meta.match(QString::fromLatin1(body.left(2048)));
        if (m.hasMatch())
            charset = m.captured(1).toLatin1().toLower();
    }
    if (charset.isEmpty())
        charset = isValidUtf8(body) ? QByteArrayLiteral("utf-8") : QByteArrayLiteral("windows-1251");
    return DecodeAs(body, charset);
}

} // namespace qv::core
