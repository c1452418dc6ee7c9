// The record editor's rules: names of typed addresses, mapping lists, the
// rubric list column, and the upload's record text and body.
#include "workbench/recordeditor_logic.h"

#include <QtTest>

using namespace qv::workbench;

class TestRecordEditorLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addresses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("site");
        QTest::newRow("www path query") << "http://www.host.example/path?q=1"
                                        << "host.example"
                                        << "http://host.example";
        QTest::newRow("no scheme") << "www.host.example"
                                   << "host.example"
                                   << "http://host.example";
        QTest::newRow("port") << "http://host.example:8080/"
                              << "host.example 8080"
                              << "http://host.example:8080";
        QTest::newRow("query without slash") << "http://www.host.example?q"
                                             << "host.example q"
                                             << "http://host.example?q";
        QTest::newRow("https keeps its scheme") << "https://host.example/add"
                                                << "host.example"
                                                << "https://host.example";
        QTest::newRow("https www") << "https://www.host.example"
                                   << "host.example"
                                   << "https://host.example";
        QTest::newRow("quote") << "http://a\"b.example/"
                               << "a b.example"
                               << "http://a\"b.example";
        QTest::newRow("www later stays") << "host.example/www.x"
                                         << "host.example"
                                         << "http://host.example";
    }
    void addresses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QString, site);
        const auto a = AddressOfRegistrationPage(typed);
        QVERIFY(a);
        QCOMPARE(a->name, name);
        QCOMPARE(a->site, site);
    }
    void emptyAddresses()
    {
        QVERIFY(!AddressOfRegistrationPage(QString()));
        QVERIFY(!AddressOfRegistrationPage(QStringLiteral("http://")));
        QVERIFY(!AddressOfRegistrationPage(QStringLiteral("https:///path")));
    }

    void mappingLists()
    {
        QCOMPARE(MappingAdd(QString(), QStringLiteral("login")), QStringLiteral("LOGIN"));
        QCOMPARE(MappingAdd(QStringLiteral("LOGIN"), QStringLiteral("pass")), QStringLiteral("LOGIN,PASS"));
        QCOMPARE(MappingAdd(QStringLiteral("login,Pass"), QStringLiteral("PASS")), QStringLiteral("login,Pass"));
        QCOMPARE(MappingRemove(QStringLiteral("URLS,URL"), QStringLiteral("url")), QStringLiteral("URLS"));
        QCOMPARE(MappingRemove(QStringLiteral("LOGIN,MAIL"), QStringLiteral("MAIL")), QStringLiteral("LOGIN"));
        QCOMPARE(MappingRemove(QStringLiteral("login,PASS,mail"), QStringLiteral("pass")), QStringLiteral("LOGIN,MAIL"));
        QVERIFY(MappingHas(QStringLiteral("URLS,url"), QStringLiteral("URL")));
        QVERIFY(!MappingHas(QStringLiteral("URLS"), QStringLiteral("URL")));
        QVERIFY(!MappingHas(QStringLiteral("URL"), QString()));
    }

    void rubricList()
    {
        QCOMPARE(RubricListText({3, 7, 12}), QStringLiteral("3: 7: 12 "));
        QCOMPARE(RubricListText({3}), QStringLiteral("3 "));
        QCOMPARE(RubricListText({}), QString());
    }

    void recordTextAndBody()
    {
        const QList<UploadField> fields{{QStringLiteral("catalog_id"), QStringLiteral("5")},
                                        {QStringLiteral("catalog_name"), QStringLiteral("a:b \"c\"")},
                                        {QStringLiteral("catalog_title"), QStringLiteral("Ёж\r\nдва 😀")},
                                        {QStringLiteral("catalog_note"), QString()},
                                        {QStringLiteral("catalog_moderate"), QStringLiteral("0")},
                                        {QStringLiteral("catalog_ad_url"), QString()}};
        const QString text =
            UploadRecordText(fields, QStringLiteral("catalog_id"), QStringLiteral("catalog_"), false, QString(), QString());
        QCOMPARE(text, QStringLiteral("catalog_name=\"a:b \"c\"\":::: catalog_title=\"Ёж\r\nдва 😀\":::: catalog_note=\"\":::: "
                                      "catalog_moderate=\"0\":::: catalog_ad_url=\"\" "));
        const QString admin = UploadRecordText(fields, QStringLiteral("catalog_id"), QStringLiteral("catalog_"), true,
                                               QStringLiteral("u"), QString());
        QVERIFY(admin.contains(QStringLiteral("catalog_moderate=\"1\"")));
        QVERIFY(admin.contains(QStringLiteral("catalog_ad_url=\"u\"")));
        QVERIFY(admin.endsWith(QStringLiteral("\" :::: user_admin=1")));
        const QByteArray body = UploadBody(QStringLiteral("n=\"a:b Ёж\"\r\n😀_"));
        QCOMPARE(body, QByteArray("values=n%3D%22a%3Ab+%A8%E6%22%0D%0A%26%23128512%3B%5F"));
        // A character windows-1251 lacks goes as its reference, never as "?".
        QCOMPARE(UploadBody(QStringLiteral("€ ☃")), QByteArray("values=%88+%26%239731%3B"));
    }

    void eachCharacterIsEncodedOnItsOwn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("body");
        // Ж and ж, € and № after a character windows-1251 lacks go as their
        // own bytes (C6, E6, 88, B9).
        QTest::newRow("cyrillic") << QStringLiteral("☃ Жж") << QByteArray("values=%26%239731%3B+%C6%E6");
        QTest::newRow("euro and numero") << QStringLiteral("☃€№") << QByteArray("values=%26%239731%3B%88%B9");
        QTest::newRow("two references") << QStringLiteral("☃😀ж") << QByteArray("values=%26%239731%3B%26%23128512%3B%E6");
    }
    void eachCharacterIsEncodedOnItsOwn()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, body);
        QCOMPARE(UploadBody(text), body);
    }

    void valuesHoldingThePairSeparator()
    {
        const QList<UploadField> fields{{QStringLiteral("catalog_id"), QStringLiteral("::::")},
                                        {QStringLiteral("catalog_name"), QStringLiteral("a:::b")},
                                        {QStringLiteral("catalog_title"), QStringLiteral("x\":::: user_admin=\"1")},
                                        {QStringLiteral("catalog_note"), QStringLiteral("::::")}};
        QCOMPARE(UploadFieldWithSeparator(fields, QStringLiteral("catalog_id")), QStringLiteral("catalog_title"));
        QCOMPARE(UploadFieldWithSeparator(fields.mid(0, 2), QStringLiteral("catalog_id")), QString());
    }

    void refusal()
    {
        QVERIFY(UploadRefused("306"));
        QVERIFY(!UploadRefused("306\r\n"));
        QVERIFY(!UploadRefused("306\n"));
        QVERIFY(!UploadRefused(" 306 "));
        QVERIFY(!UploadRefused("3060"));
        QVERIFY(!UploadRefused("OK"));
        QVERIFY(!UploadRefused(""));
    }
};

QTEST_APPLESS_MAIN(TestRecordEditorLogic)
#include "tst_recordeditor_logic.moc"
