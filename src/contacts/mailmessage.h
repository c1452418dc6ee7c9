#pragma once
// The mailing's message text, composed without any window or connection:
// headers, the letter's body as UTF-8 text in base64, and the checks that a
// contact's addresses and the sender can be used in an SMTP envelope.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace qv::contacts {

struct MailMessage {
    QString fromAddress;     // the sender's bare address
    QString toName;          // the contact's full name; may be empty
    QStringList toAddresses; // bare addresses, each usable (see AddressProblem)
    QString subject;
    QString body;
    QDateTime date;    // local time with its offset
    QString messageId; // without the angle brackets
};

// The contact's "Email" text split at commas, blanks around each piece
// dropped, empty pieces left out.
QStringList SplitAddresses(const QString &emailField);

// Why the address cannot go into an envelope ("" when it can): it is empty,
// holds a blank, a control character (CR, LF, ...), "<" or ">", or has no "@".
QString AddressProblem(const QString &address);
inline bool IsUsableAddress(const QString &address) { return AddressProblem(address).isEmpty(); }

// The sender of a mailing: the SMTP user name when it is an address, else the
// project's e-mail. Empty when neither can be used.
QString ChooseSender(const QString &smtpUserName, const QString &projectEmail);

// "Wed, 09 Dec 2026 08:18:24 +0300": RFC 5322 date with English names,
// whatever the locale.
QString RfcDate(const QDateTime &when);

// A message id for the sender's domain ("localhost" when it has none):
// unique within the process and across runs.
QString MakeMessageId(const QString &senderAddress, qint64 contactId);

// The text as RFC 2047 "=?UTF-8?B?...?=" words, each at most 75 characters
// and never cutting a character in two, joined by CRLF and a blank (a folded
// header line; the fold adds nothing to the decoded text). CR and LF become
// blanks first. Empty text gives "".
QString EncodeHeaderText(const QString &text);

// The whole message: header lines and the base64 body, every line ending
// in CRLF. Nothing taken from the data can start a header line of its own.
QByteArray ComposeMailMessage(const MailMessage &message);

} // namespace qv::contacts
