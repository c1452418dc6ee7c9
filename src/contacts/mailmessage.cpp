#include "contacts/mailmessage.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QRandomGenerator>

namespace qv::contacts {

namespace {

// Raw bytes per encoded word: "=?UTF-8?B?" + 60 base64 characters + "?=" is 72.
constexpr qsizetype kWordBytes = 45;
constexpr qsizetype kBodyLine = 76;

const char *const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

QString encodedWord(const QByteArray &bytes)
{
    return QStringLiteral("=?UTF-8?B?") + QString::fromLatin1(bytes.toBase64()) + QStringLiteral("?=");
}

// The text with CR and LF made blanks: it stays within its header line.
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// A display name and its address as one mailbox of an address list.
QString mailbox(const QString &name, const QString &address)
{
    const QString words = EncodeHeaderText(name);
    const QString addr = QLatin1Char('<') + oneLine(address) + QLatin1Char('>');
    return words.isEmpty() ? addr : words + QLatin1Char(' ') + addr;
}

QByteArray headerLine(const char *name, const QString &value) { return QByteArray(name) + ": " + value.toUtf8() + "\r\n"; }

} // namespace

QStringList SplitAddresses(const QString &emailField)
{
    QStringList out;
    const QStringList pieces = emailField.split(QLatin1Char(','));
    for (const QString &piece : pieces) {
        const QString a = piece.trimmed();
        if (!a.isEmpty())
            out << a;
    }
    return out;
}

QString AddressProblem(const QString &address)
{
    if (address.isEmpty())
        return QStringLiteral("пустой адрес");
    for (const QChar c : address) {
        if (c.isSpace())
            return QStringLiteral("адрес содержит пробел или перевод строки: ") + address.simplified();
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return QStringLiteral("адрес содержит управляющий символ");
        if (c == QLatin1Char('<') || c == QLatin1Char('>'))
            return QStringLiteral("адрес содержит \"<\" или \">\": ") + address.simplified();
    }
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    if (at < 0)
        return QStringLiteral("в адресе нет \"@\": ") + address.simplified();
    if (at == 0 || at == address.size() - 1)
        return QStringLiteral("неполный адрес: ") + address.simplified();
    return QString();
}

QString ChooseSender(const QString &smtpUserName, const QString &projectEmail)
{
    const QString user = smtpUserName.trimmed();
    if (IsUsableAddress(user))
        return user;
    const QString project = projectEmail.trimmed();
    if (IsUsableAddress(project))
        return project;
    return QString();
}

QString RfcDate(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    const int offsetMinutes = when.offsetFromUtc() / 60;
    const int absOffset = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return QString::fromLatin1(kDays[d.dayOfWeek() - 1]) + QStringLiteral(", ") + twoDigits(d.day()) + QLatin1Char(' ')
           + QString::fromLatin1(kMonths[d.month() - 1]) + QLatin1Char(' ') + QString::number(d.year()) + QLatin1Char(' ')
           + twoDigits(t.hour()) + QLatin1Char(':') + twoDigits(t.minute()) + QLatin1Char(':') + twoDigits(t.second())
           + QLatin1Char(' ') + (offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+')) + twoDigits(absOffset / 60)
           + twoDigits(absOffset % 60);
}

QString MakeMessageId(const QString &senderAddress, qint64 contactId)
{
    static QAtomicInteger<quint32> counter;
    QString domain;
    const qsizetype at = senderAddress.lastIndexOf(QLatin1Char('@'));
    const QString tail = at >= 0 ? senderAddress.mid(at + 1) : QString();
    for (const QChar c : tail) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') || c == QLatin1Char('-'))
            domain += c;
    }
    if (domain.isEmpty())
        domain = QStringLiteral("localhost");
    return QStringLiteral("%1.%2.%3.%4.%5@%6")
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(QCoreApplication::applicationPid())
        .arg(counter.fetchAndAddRelaxed(1))
        .arg(QRandomGenerator::global()->generate64(), 0, 16)
        .arg(contactId)
        .arg(domain);
}

QString EncodeHeaderText(const QString &text)
{
    const QString clean = oneLine(text);
    if (clean.isEmpty())
        return QString();
    QStringList words;
    QByteArray chunk;
    // Whole characters (surrogate pairs kept together) into chunks of at most kWordBytes.
    for (qsizetype i = 0; i < clean.size();) {
        qsizetype n = 1;
        if (clean.at(i).isHighSurrogate() && i + 1 < clean.size() && clean.at(i + 1).isLowSurrogate())
            n = 2;
        const QByteArray bytes = QStringView(clean).mid(i, n).toUtf8();
        if (chunk.size() + bytes.size() > kWordBytes) {
            words << encodedWord(chunk);
            chunk.clear();
        }
        chunk += bytes;
        i += n;
    }
    if (!chunk.isEmpty())
        words << encodedWord(chunk);
    return words.join(QStringLiteral("\r\n "));
}

QByteArray ComposeMailMessage(const MailMessage &message)
{
    QByteArray out;
    out += headerLine("Date", RfcDate(message.date));
    out += headerLine("Message-ID", QLatin1Char('<') + oneLine(message.messageId) + QLatin1Char('>'));
    out += headerLine("From", QLatin1Char('<') + oneLine(message.fromAddress) + QLatin1Char('>'));
    QStringList to;
    for (const QString &a : message.toAddresses)
        to << mailbox(message.toName, a);
    out += headerLine("To", to.join(QStringLiteral(",\r\n ")));
    const QString subject = EncodeHeaderText(message.subject);
    out += subject.isEmpty() ? QByteArray("Subject:\r\n") : headerLine("Subject", subject);
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: text/plain; charset=UTF-8\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "\r\n";

    QString body = message.body;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray encoded = body.toUtf8().toBase64();
    for (qsizetype i = 0; i < encoded.size(); i += kBodyLine) {
        out += encoded.mid(i, kBodyLine);
        out += "\r\n";
    }
    return out;
}

} // namespace qv::contacts
