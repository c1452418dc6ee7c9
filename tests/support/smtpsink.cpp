#include "support/smtpsink.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTcpSocket>

namespace qv::test {

namespace {

QString addressIn(const QByteArray &argument)
{
    // "FROM:<a@b> SIZE=12" -> "a@b"
    const qsizetype open = argument.indexOf('<');
    const qsizetype close = argument.indexOf('>', open + 1);
    if (open < 0 || close < 0)
        return QString::fromUtf8(argument.mid(argument.indexOf(':') + 1)).trimmed();
    return QString::fromUtf8(argument.mid(open + 1, close - open - 1));
}

QString decodeBytes(const QByteArray &bytes, const QString &charset)
{
    QStringDecoder decoder(charset.isEmpty() ? "US-ASCII" : charset.toLatin1().constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    QString text = decoder.decode(bytes);
    return text;
}

QByteArray qDecode(const QByteArray &in)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '_')
            out += ' ';
        else if (in[i] == '=' && i + 2 < in.size()) {
            out += QByteArray::fromHex(in.mid(i + 1, 2));
            i += 2;
        } else
            out += in[i];
    }
    return out;
}

} // namespace

QStringList SmtpSink::Mail::headerLines() const
{
    const qsizetype end = data.indexOf("\r\n\r\n");
    const QByteArray head = end < 0 ? data : data.left(end);
    QStringList lines;
    for (const QByteArray &raw : head.split('\n')) {
        QByteArray line = raw;
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t') && !lines.isEmpty())
            lines.last() += QString::fromUtf8(line);
        else
            lines << QString::fromUtf8(line);
    }
    return lines;
}

QStringList SmtpSink::Mail::headerNames() const
{
    QStringList names;
    for (const QString &l : headerLines())
        names << l.section(QLatin1Char(':'), 0, 0);
    return names;
}

QString SmtpSink::Mail::header(const QString &name) const
{
    for (const QString &l : headerLines()) {
        const qsizetype colon = l.indexOf(QLatin1Char(':'));
        if (colon > 0 && l.left(colon).compare(name, Qt::CaseInsensitive) == 0)
            return l.mid(colon + 1).trimmed();
    }
    return QString();
}

QString SmtpSink::Mail::decodedHeader(const QString &name) const { return decodeWords(header(name)); }

QString SmtpSink::Mail::bodyText() const
{
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return QString();
    QByteArray body = data.mid(end + 4);
    const QString encoding = header(QStringLiteral("Content-Transfer-Encoding")).toLower();
    static const QRegularExpression charsetRe(QStringLiteral("charset=\"?([^\";]+)\"?"),
                                              QRegularExpression::CaseInsensitiveOption);
    const auto m = charsetRe.match(header(QStringLiteral("Content-Type")));
    const QString charset = m.hasMatch() ? m.captured(1) : QStringLiteral("US-ASCII");
    if (encoding == QLatin1String("base64")) {
        body.replace("\r\n", "");
        const auto decoded = QByteArray::fromBase64Encoding(body, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return QStringLiteral("<bad base64>");
        body = *decoded;
    }
    return decodeBytes(body, charset);
}

QString SmtpSink::decodeWords(const QString &value)
{
    static const QRegularExpression word(QStringLiteral("=\\?([^?]+)\\?([BbQq])\\?([^?]*)\\?="));
    QString out;
    qsizetype pos = 0;
    bool lastWasWord = false;
    auto it = word.globalMatch(value);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString between = value.mid(pos, m.capturedStart() - pos);
        // Blanks between two encoded words are not part of the text.
        if (!(lastWasWord && between.trimmed().isEmpty()))
            out += between;
        const QByteArray payload = m.captured(3).toLatin1();
        const QByteArray bytes =
            m.captured(2).toUpper() == QLatin1String("B") ? QByteArray::fromBase64(payload) : qDecode(payload);
        out += decodeBytes(bytes, m.captured(1));
        pos = m.capturedEnd();
        lastWasWord = true;
    }
    out += value.mid(pos);
    return out;
}

SmtpSink::SmtpSink(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &SmtpSink::onConnection);
}

SmtpSink::~SmtpSink()
{
    // Open sessions end here, while the table their handlers use still exists:
    // a socket closed later would reach it after it is gone.
    const QList<QTcpSocket *> sockets = m_sessions.keys();
    for (QTcpSocket *socket : sockets)
        socket->disconnect(this);
    m_sessions.clear();
    qDeleteAll(sockets);
}

bool SmtpSink::listen() { return m_server.listen(QHostAddress::LocalHost, 0); }

void SmtpSink::onConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        ++m_connections;
        if (m_refuseConnections) {
            socket->write("554 5.3.2 sink: no service\r\n");
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        Session &s = m_sessions[socket];
        s.number = m_connections;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_sessions.remove(socket);
            socket->deleteLater();
        });
        socket->write("220 sink.test ESMTP ready\r\n");
    }
}

void SmtpSink::onReadyRead(QTcpSocket *socket)
{
    auto it = m_sessions.find(socket);
    if (it == m_sessions.end())
        return;
    it->buffer += socket->readAll();
    qsizetype start = 0;
    for (;;) {
        const qsizetype eol = it->buffer.indexOf("\r\n", start);
        if (eol < 0)
            break;
        const QByteArray line = it->buffer.mid(start, eol - start);
        start = eol + 2;
        handleLine(socket, *it, line);
        it = m_sessions.find(socket);
        if (it == m_sessions.end())
            return;
    }
    it->buffer.remove(0, start);
}

void SmtpSink::checkLogin(QTcpSocket *socket, Session &s, const QString &user, const QString &password)
{
    m_lastUser = user;
    m_lastPassword = password;
    if (m_refuseLogin) {
        socket->write("535 5.7.8 sink: authentication credentials invalid\r\n");
        return;
    }
    ++m_logins;
    s.authenticated = true;
    socket->write("235 2.7.0 Authentication successful\r\n");
}

void SmtpSink::handleLine(QTcpSocket *socket, Session &s, const QByteArray &line)
{
    switch (s.state) {
    case Session::State::Data:
        if (line == ".") {
            s.mail.data = s.data;
            s.mail.connection = s.number;
            m_mails << s.mail;
            s.mail = Mail();
            s.data.clear();
            s.state = Session::State::Command;
            socket->write("250 2.0.0 Ok: queued\r\n");
            emit mailReceived();
            return;
        }
        s.data += line.startsWith('.') ? line.mid(1) : line;
        s.data += "\r\n";
        return;
    case Session::State::AuthPlain: {
        s.state = Session::State::Command;
        const QList<QByteArray> parts = QByteArray::fromBase64(line).split('\0');
        checkLogin(socket, s, parts.size() > 1 ? QString::fromUtf8(parts[1]) : QString(),
                   parts.size() > 2 ? QString::fromUtf8(parts[2]) : QString());
        return;
    }
    case Session::State::AuthLoginUser:
        s.loginUser = QString::fromUtf8(QByteArray::fromBase64(line));
        s.state = Session::State::AuthLoginPassword;
        socket->write("334 UGFzc3dvcmQ6\r\n");
        return;
    case Session::State::AuthLoginPassword:
        s.state = Session::State::Command;
        checkLogin(socket, s, s.loginUser, QString::fromUtf8(QByteArray::fromBase64(line)));
        return;
    case Session::State::Command:
        m_commands << QString::fromUtf8(line);
        handleCommand(socket, s, line);
        return;
    }
}

void SmtpSink::handleCommand(QTcpSocket *socket, Session &s, const QByteArray &line)
{
    const qsizetype blank = line.indexOf(' ');
    const QByteArray verb = (blank < 0 ? line : line.left(blank)).toUpper();
    const QByteArray rest = blank < 0 ? QByteArray() : line.mid(blank + 1);
    if (verb == "EHLO") {
        socket->write(m_offerStartTls ? "250-sink.test\r\n250-STARTTLS\r\n250-AUTH PLAIN LOGIN\r\n250 8BITMIME\r\n"
                                      : "250-sink.test\r\n250-AUTH PLAIN LOGIN\r\n250 8BITMIME\r\n");
    } else if (verb == "STARTTLS") {
        socket->write("454 4.7.0 sink: TLS not available\r\n");
    } else if (verb == "HELO") {
        socket->write("250 sink.test\r\n");
    } else if (verb == "AUTH") {
        const QList<QByteArray> words = rest.split(' ');
        const QByteArray mech = words.value(0).toUpper();
        if (mech == "PLAIN" && words.size() > 1) {
            const QList<QByteArray> parts = QByteArray::fromBase64(words[1]).split('\0');
            checkLogin(socket, s, parts.size() > 1 ? QString::fromUtf8(parts[1]) : QString(),
                       parts.size() > 2 ? QString::fromUtf8(parts[2]) : QString());
        } else if (mech == "PLAIN") {
            s.state = Session::State::AuthPlain;
            socket->write("334 \r\n");
        } else if (mech == "LOGIN") {
            s.state = Session::State::AuthLoginUser;
            socket->write("334 VXNlcm5hbWU6\r\n");
        } else {
            socket->write("504 5.5.4 sink: unknown mechanism\r\n");
        }
    } else if (verb == "MAIL") {
        s.mail = Mail();
        s.mail.from = addressIn(rest);
        socket->write("250 2.1.0 Ok\r\n");
    } else if (verb == "RCPT") {
        const QString to = addressIn(rest);
        if (m_refusedRecipients.contains(to.toLower())) {
            socket->write("550 5.1.1 sink: recipient refused\r\n");
        } else {
            s.mail.recipients << to;
            socket->write("250 2.1.5 Ok\r\n");
        }
    } else if (verb == "DATA") {
        if (s.mail.recipients.isEmpty()) {
            socket->write("554 5.5.1 sink: no valid recipients\r\n");
            return;
        }
        s.state = Session::State::Data;
        s.data.clear();
        socket->write("354 End data with <CR><LF>.<CR><LF>\r\n");
    } else if (verb == "RSET") {
        s.mail = Mail();
        socket->write("250 2.0.0 Ok\r\n");
    } else if (verb == "NOOP") {
        socket->write("250 2.0.0 Ok\r\n");
    } else if (verb == "QUIT") {
        socket->write("221 2.0.0 Bye\r\n");
        socket->disconnectFromHost();
    } else {
        socket->write("502 5.5.2 sink: command not recognized\r\n");
    }
}

} // namespace qv::test
