#include "smtpsender.h"

#include <cstring>

namespace qv::mailer {

namespace {
char g_errorBuffer[CURL_ERROR_SIZE];
}

SmtpSender::SmtpSender(const SmtpAccount &account) : m_account(account)
{
    m_curl = curl_easy_init();
    if (!m_curl)
        return;
    m_url = urlFor(account).toUtf8();
    curl_easy_setopt(m_curl, CURLOPT_URL, m_url.constData());
    if (!account.userName.isEmpty()) {
        m_user = account.userName.toUtf8();
        m_password = account.password.toUtf8();
        curl_easy_setopt(m_curl, CURLOPT_USERNAME, m_user.constData());
        curl_easy_setopt(m_curl, CURLOPT_PASSWORD, m_password.constData());
    }
    // Implicit TLS comes with smtps://; on other ports STARTTLS when offered.
    curl_easy_setopt(m_curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(account.connectTimeout));
    curl_easy_setopt(m_curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(account.replyTimeout));
    curl_easy_setopt(m_curl, CURLOPT_TIMEOUT, static_cast<long>(account.messageTimeout));
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, &SmtpSender::readCallback);
    curl_easy_setopt(m_curl, CURLOPT_READDATA, this);
    // The conversation is watched for the server's refusals and for how far it got.
    curl_easy_setopt(m_curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(m_curl, CURLOPT_DEBUGFUNCTION, &SmtpSender::debugCallback);
    curl_easy_setopt(m_curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, g_errorBuffer);
}

SmtpSender::~SmtpSender()
{
    if (m_curl)
        curl_easy_cleanup(m_curl); // QUIT on the kept connection
}

QString SmtpSender::urlFor(const SmtpAccount &account)
{
    QString host = account.host.trimmed();
    // A literal IPv6 address needs brackets in the URL.
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    const QString scheme = account.port == 465 ? QStringLiteral("smtps://") : QStringLiteral("smtp://");
    return scheme + host + QLatin1Char(':') + QString::number(account.port);
}

size_t SmtpSender::readCallback(char *buffer, size_t size, size_t count, void *self)
{
    auto *s = static_cast<SmtpSender *>(self);
    const qsizetype room = static_cast<qsizetype>(size * count);
    const qsizetype n = qMin(room, s->m_message.size() - s->m_offset);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, s->m_message.constData() + s->m_offset, static_cast<size_t>(n));
    s->m_offset += n;
    return static_cast<size_t>(n);
}

int SmtpSender::debugCallback(CURL *, curl_infotype type, char *data, size_t size, void *self)
{
    auto *s = static_cast<SmtpSender *>(self);
    if (type == CURLINFO_HEADER_OUT) {
        if (size >= 9 && std::strncmp(data, "MAIL FROM", 9) == 0)
            s->m_mailStarted = true;
    } else if (type == CURLINFO_HEADER_IN) {
        if (size > 0 && (data[0] == '4' || data[0] == '5'))
            s->m_lastErrorReply = QString::fromUtf8(data, static_cast<qsizetype>(size)).trimmed();
    }
    return 0;
}

SmtpSender::Outcome SmtpSender::perform(const QString &from, const QStringList &recipients, const QByteArray &message)
{
    m_message = message;
    m_offset = 0;
    m_mailStarted = false;
    m_lastErrorReply.clear();
    g_errorBuffer[0] = '\0';

    m_from = QByteArray("<") + from.toUtf8() + '>';
    curl_slist *rcpt = nullptr;
    for (const QString &r : recipients)
        rcpt = curl_slist_append(rcpt, (QByteArray("<") + r.toUtf8() + '>').constData());
    curl_easy_setopt(m_curl, CURLOPT_MAIL_FROM, m_from.constData());
    curl_easy_setopt(m_curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    const CURLcode rc = curl_easy_perform(m_curl);
    curl_easy_setopt(m_curl, CURLOPT_MAIL_RCPT, static_cast<curl_slist *>(nullptr));
    curl_slist_free_all(rcpt);

    if (rc == CURLE_OK) {
        m_error.clear();
        return Outcome::Sent;
    }
    const QString curlText = g_errorBuffer[0] ? QString::fromUtf8(g_errorBuffer) : QString::fromUtf8(curl_easy_strerror(rc));
    m_error = m_lastErrorReply.isEmpty() ? curlText : m_lastErrorReply + QStringLiteral(" (") + curlText + QLatin1Char(')');
    // Nothing of the message went out: the trouble is the server or the login.
    return m_mailStarted ? Outcome::Refused : Outcome::NoSession;
}

SmtpSender::Outcome SmtpSender::send(const QString &from, const QStringList &recipients, const QByteArray &message)
{
    if (!m_curl) {
        m_error = QStringLiteral("libcurl не создал соединение");
        return Outcome::NoSession;
    }
    Outcome outcome = perform(from, recipients, message);
    if (outcome == Outcome::NoSession && m_sessionUsed) {
        // The kept connection may have been closed by the server meanwhile: one fresh try.
        curl_easy_setopt(m_curl, CURLOPT_FRESH_CONNECT, 1L);
        outcome = perform(from, recipients, message);
        curl_easy_setopt(m_curl, CURLOPT_FRESH_CONNECT, 0L);
    }
    m_sessionUsed = outcome == Outcome::Sent; // a refused message closes the connection
    return outcome;
}

} // namespace qv::mailer
