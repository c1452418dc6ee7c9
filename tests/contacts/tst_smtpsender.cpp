// The mailer's SMTP address: implicit TLS on port 465, plain SMTP (with
// STARTTLS when offered) on the others.
#include "smtpsender.h"

#include <QtTest>

using qv::mailer::SmtpAccount;
using qv::mailer::SmtpSender;

class TestSmtpSender : public QObject {
    Q_OBJECT

private slots:
    void urls_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("url");
        QTest::newRow("465") << QStringLiteral("smtp.example.ru") << 465 << QStringLiteral("smtps://smtp.example.ru:465");
        QTest::newRow("587") << QStringLiteral("smtp.example.ru") << 587 << QStringLiteral("smtp://smtp.example.ru:587");
        QTest::newRow("25") << QStringLiteral(" mx.example.ru ") << 25 << QStringLiteral("smtp://mx.example.ru:25");
        QTest::newRow("ipv6") << QStringLiteral("::1") << 465 << QStringLiteral("smtps://[::1]:465");
    }
    void urls()
    {
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QString, url);
        SmtpAccount a;
        a.host = host;
        a.port = port;
        QCOMPARE(SmtpSender::urlFor(a), url);
    }
};

QTEST_GUILESS_MAIN(TestSmtpSender)
#include "tst_smtpsender.moc"
