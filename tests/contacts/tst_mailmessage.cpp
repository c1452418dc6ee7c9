// The mailing's message composer on its own: address splitting and checks,
// the sender choice, the date, encoded words and the whole message text.
#include "contacts/mailmessage.h"
#include "support/smtpsink.h"

#include <QLocale>
#include <QStringDecoder>
#include <QTimeZone>
#include <QtTest>

using namespace qv::contacts;
using qv::test::SmtpSink;

class TestMailMessage : public QObject {
    Q_OBJECT

private slots:
    void splitsAddressesAtCommas();
    void addressProblems_data();
    void addressProblems();
    void senderIsUserNameOrProjectEmail();
    void dateHasEnglishNamesAndOffset();
    void encodedWordsAreShortWholeAndDecodeBack_data();
    void encodedWordsAreShortWholeAndDecodeBack();
    void lineBreaksBecomeBlanks();
    void messageHasHeadersInOrderAndBase64Body();
    void messageWithoutNameOrSubject();
    void messageIdsDiffer();
};

void TestMailMessage::splitsAddressesAtCommas()
{
    QCOMPARE(SplitAddresses(QStringLiteral(" a@b.ru, c@d.ru ,,e@f.ru,")),
             (QStringList{QStringLiteral("a@b.ru"), QStringLiteral("c@d.ru"), QStringLiteral("e@f.ru")}));
    QCOMPARE(SplitAddresses(QStringLiteral(" , ")), QStringList{});
    QCOMPARE(SplitAddresses(QString()), QStringList{});
    QCOMPARE(SplitAddresses(QStringLiteral("a b@c.ru")), QStringList{QStringLiteral("a b@c.ru")});
}

void TestMailMessage::addressProblems_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("usable");
    QTest::newRow("plain") << QStringLiteral("ivan@example.ru") << true;
    QTest::newRow("plus and dots") << QStringLiteral("i.v+an@mail.example.ru") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("no at") << QStringLiteral("example.ru") << false;
    QTest::newRow("at first") << QStringLiteral("@example.ru") << false;
    QTest::newRow("at last") << QStringLiteral("ivan@") << false;
    QTest::newRow("blank") << QStringLiteral("iv an@example.ru") << false;
    QTest::newRow("tab") << QStringLiteral("ivan@exa\tmple.ru") << false;
    QTest::newRow("cr") << QStringLiteral("ivan@example.ru\r") << false;
    QTest::newRow("lf") << QStringLiteral("ivan@example.ru\nBcc: x@y.ru") << false;
    QTest::newRow("lt") << QStringLiteral("<ivan@example.ru") << false;
    QTest::newRow("gt") << QStringLiteral("ivan@example.ru>") << false;
    QTest::newRow("nul") << QStringLiteral("ivan@exa") + QChar(0) + QStringLiteral("mple.ru") << false;
}

void TestMailMessage::addressProblems()
{
    QFETCH(QString, address);
    QFETCH(bool, usable);
    QCOMPARE(IsUsableAddress(address), usable);
    QCOMPARE(AddressProblem(address).isEmpty(), usable);
}

void TestMailMessage::senderIsUserNameOrProjectEmail()
{
    QCOMPARE(ChooseSender(QStringLiteral("robot@example.org"), QStringLiteral("owner@example.org")),
             QStringLiteral("robot@example.org"));
    QCOMPARE(ChooseSender(QStringLiteral("robot"), QStringLiteral(" owner@example.org ")), QStringLiteral("owner@example.org"));
    QCOMPARE(ChooseSender(QString(), QStringLiteral("owner@example.org")), QStringLiteral("owner@example.org"));
    QCOMPARE(ChooseSender(QStringLiteral("robot"), QStringLiteral("a@b.ru, c@d.ru")), QString());
    QCOMPARE(ChooseSender(QStringLiteral("robot"), QString()), QString());
}

void TestMailMessage::dateHasEnglishNamesAndOffset()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QDateTime moscow(QDate(2026, 12, 9), QTime(8, 5, 7), QTimeZone(3 * 3600));
    QCOMPARE(RfcDate(moscow), QStringLiteral("Wed, 09 Dec 2026 08:05:07 +0300"));
    const QDateTime west(QDate(2025, 3, 1), QTime(23, 59, 0), QTimeZone(-(4 * 3600 + 30 * 60)));
    QCOMPARE(RfcDate(west), QStringLiteral("Sat, 01 Mar 2025 23:59:00 -0430"));
    const QDateTime utc(QDate(2024, 7, 15), QTime(0, 0, 0), QTimeZone::utc());
    QCOMPARE(RfcDate(utc), QStringLiteral("Mon, 15 Jul 2024 00:00:00 +0000"));
    QLocale::setDefault(QLocale::c());
}

void TestMailMessage::encodedWordsAreShortWholeAndDecodeBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("Hello");
    QTest::newRow("russian") << QStringLiteral("Предложение о сотрудничестве");
    // Four-byte characters after every possible offset cross the word boundaries.
    for (int shift = 0; shift < 4; ++shift)
        QTest::addRow("emoji shift %d", shift) << QString(shift, QLatin1Char('x')) + QStringLiteral("😀ё😀Ж").repeated(30);
    QTest::newRow("300 chars") << QStringLiteral("Длинная тема ").repeated(24).left(300);
    QTest::newRow("looks encoded") << QStringLiteral("=?UTF-8?B?SGk=?= =?x?=");
}

void TestMailMessage::encodedWordsAreShortWholeAndDecodeBack()
{
    QFETCH(QString, text);
    const QString encoded = EncodeHeaderText(text);
    const QStringList lines = encoded.split(QStringLiteral("\r\n "));
    for (const QString &word : lines) {
        QVERIFY2(word.size() <= 75, qPrintable(word));
        QVERIFY(word.startsWith(QStringLiteral("=?UTF-8?B?")) && word.endsWith(QStringLiteral("?=")));
        QVERIFY(!word.contains(QLatin1Char(' ')) && !word.contains(QLatin1Char('\r')) && !word.contains(QLatin1Char('\n')));
        // Each word alone is whole UTF-8: no character is cut in two.
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QByteArray bytes = QByteArray::fromBase64(word.mid(10, word.size() - 12).toLatin1());
        const QString part = utf8.decode(bytes);
        QVERIFY(!utf8.hasError());
        QVERIFY(!part.contains(QChar::ReplacementCharacter));
    }
    QCOMPARE(SmtpSink::decodeWords(encoded), text);
}

void TestMailMessage::lineBreaksBecomeBlanks()
{
    const QString encoded = EncodeHeaderText(QStringLiteral("a\r\nb\nc\rd"));
    QCOMPARE(SmtpSink::decodeWords(encoded), QStringLiteral("a  b c d"));
    QCOMPARE(EncodeHeaderText(QString()), QString());
}

void TestMailMessage::messageHasHeadersInOrderAndBase64Body()
{
    MailMessage m;
    m.fromAddress = QStringLiteral("robot@example.org");
    m.toName = QStringLiteral("Иванов\r\nBcc: x@evil.test");
    m.toAddresses = {QStringLiteral("a@example.ru"), QStringLiteral("b@example.ru")};
    m.subject = QStringLiteral("Тема\nX-Evil: 1");
    m.body = QStringLiteral("Строка 1\nСтрока 2\r\nСтрока 3\r") + QString(200, QChar(0x0416));
    m.date = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone(3 * 3600));
    m.messageId = QStringLiteral("1.2.3@example.org");
    const QByteArray text = ComposeMailMessage(m);

    QVERIFY(text.endsWith("\r\n"));
    QCOMPARE(text.count('\n'), text.count("\r\n"));
    for (const char ch : text)
        QVERIFY(static_cast<unsigned char>(ch) < 128);
    SmtpSink::Mail mail;
    mail.data = text;
    QCOMPARE(mail.headerNames(), (QStringList{QStringLiteral("Date"), QStringLiteral("Message-ID"), QStringLiteral("From"),
                                              QStringLiteral("To"), QStringLiteral("Subject"), QStringLiteral("MIME-Version"),
                                              QStringLiteral("Content-Type"), QStringLiteral("Content-Transfer-Encoding")}));
    QCOMPARE(mail.header(QStringLiteral("Date")), QStringLiteral("Fri, 02 Jan 2026 03:04:05 +0300"));
    QCOMPARE(mail.header(QStringLiteral("Message-ID")), QStringLiteral("<1.2.3@example.org>"));
    QCOMPARE(mail.header(QStringLiteral("From")), QStringLiteral("<robot@example.org>"));
    QCOMPARE(mail.decodedHeader(QStringLiteral("To")),
             QStringLiteral("Иванов  Bcc: x@evil.test <a@example.ru>, Иванов  Bcc: x@evil.test <b@example.ru>"));
    QCOMPARE(mail.decodedHeader(QStringLiteral("Subject")), QStringLiteral("Тема X-Evil: 1"));
    QCOMPARE(mail.bodyText(), QStringLiteral("Строка 1\r\nСтрока 2\r\nСтрока 3\r\n") + QString(200, QChar(0x0416)));
    const QByteArray body = text.mid(text.indexOf("\r\n\r\n") + 4);
    for (const QByteArray &line : body.split('\n'))
        QVERIFY(line.size() <= 77); // 76 and the CR
}

void TestMailMessage::messageWithoutNameOrSubject()
{
    MailMessage m;
    m.fromAddress = QStringLiteral("robot@example.org");
    m.toAddresses = {QStringLiteral("a@example.ru")};
    m.date = QDateTime::currentDateTime();
    m.messageId = QStringLiteral("x@example.org");
    SmtpSink::Mail mail;
    mail.data = ComposeMailMessage(m);
    QCOMPARE(mail.header(QStringLiteral("To")), QStringLiteral("<a@example.ru>"));
    QVERIFY(mail.headerNames().contains(QStringLiteral("Subject")));
    QCOMPARE(mail.header(QStringLiteral("Subject")), QString());
    QCOMPARE(mail.bodyText(), QString());
}

void TestMailMessage::messageIdsDiffer()
{
    const QString a = MakeMessageId(QStringLiteral("robot@Example.org"), 5);
    const QString b = MakeMessageId(QStringLiteral("robot@Example.org"), 5);
    QVERIFY(a != b);
    QVERIFY(a.endsWith(QStringLiteral("@Example.org")));
    QVERIFY(!a.contains(QLatin1Char('<')) && !a.contains(QLatin1Char(' ')));
    QVERIFY(MakeMessageId(QStringLiteral("weird@(x y)"), 1).endsWith(QStringLiteral("@xy")));
    QVERIFY(MakeMessageId(QString(), 1).endsWith(QStringLiteral("@localhost")));
}

QTEST_GUILESS_MAIN(TestMailMessage)
#include "tst_mailmessage.moc"
