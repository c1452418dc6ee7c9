// The searched site, the engines' addresses, the no-results phrases in the
// charsets engines answer in, and the metric replies.
#include "core/http.h"
#include "workbench/search_logic.h"

#include <QStringEncoder>
#include <QtTest>

using namespace qv::workbench;

class TestSearchLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchedSite_data()
    {
        QTest::addColumn<QString>("projectUrl");
        QTest::addColumn<QString>("site");
        QTest::newRow("scheme, www, slash") << "http://www.site.example/"
                                            << "site.example/";
        QTest::newRow("https") << "https://www.site.example/path"
                               << "site.example/path";
        QTest::newRow("no scheme") << "www.site.example"
                                   << "site.example";
        QTest::newRow("www later stays") << "site.example/www.x"
                                         << "site.example/www.x";
        QTest::newRow("http inside") << "xhttp://www.a.example"
                                     << "xwww.a.example";
        QTest::newRow("other scheme stays") << "ftp://www.a.example"
                                            << "ftp://www.a.example";
        QTest::newRow("empty") << ""
                               << "";
    }
    void searchedSite()
    {
        QFETCH(QString, projectUrl);
        QFETCH(QString, site);
        QCOMPARE(SearchedSite(projectUrl), site);
    }

    void addressesKeepTheirSeparators()
    {
        QCOMPARE(YandexSearchPath(QStringLiteral("site.example/"), QStringLiteral("cat.example")),
                 QStringLiteral("/yandsearch?text=site.example/&serverurl=cat.example"));
        QCOMPARE(RamblerSearchPath(QStringLiteral("site.example"), QStringLiteral("cat.example")),
                 QStringLiteral("/srch?words=site.example&set=www&news=0&and=1&limitcontext=0&exclude=&dlang=0&mimex=0"
                                "&st_date=&end_date=&filter=cat.example"));
        QCOMPARE(GoogleSearchPath(QStringLiteral("site.example"), QStringLiteral("cat.example")),
                 QStringLiteral("/search?hl=ru&newwindow=1&as_qdr=all&q=site.example+site:cat.example"));
        // A value never changes the query around it.
        QCOMPARE(YandexSearchPath(QStringLiteral("a.example/?x=1&y=2#top"), QStringLiteral("b c+d%.рф")),
                 QStringLiteral("/yandsearch?text=a.example/?x=1%26y=2%23top&serverurl=b%20c%2Bd%25.%D1%80%D1%84"));
    }

    void phrasesInEveryCharset()
    {
        const QString yandexNothing = QStringLiteral("<p>Искомая комбинация слов нигде не встречается</p>");
        const QString googleNothing = QStringLiteral("Не найдено ни одного документа, соответствующего запросу");
        QStringEncoder cp1251("windows-1251");
        const QByteArray undeclared1251 =
            cp1251.encode(QStringLiteral("<html><body>") + yandexNothing + QStringLiteral("</body></html>"));
        QVERIFY(YandexFoundNothing(qv::core::DecodeHtmlPage(undeclared1251, QByteArray())));
        const QByteArray declared = cp1251.encode(googleNothing);
        QVERIFY(GoogleFoundNothing(qv::core::DecodeHtmlPage(declared, "text/html; charset=windows-1251")));
        const QByteArray meta =
            "<html><head><meta charset=\"windows-1251\"></head><body>" + cp1251.encode(googleNothing) + "</body></html>";
        QVERIFY(GoogleFoundNothing(qv::core::DecodeHtmlPage(meta, "text/html")));
        QVERIFY(YandexFoundNothing(qv::core::DecodeHtmlPage(yandexNothing.toUtf8(), "text/html")));
        QVERIFY(!YandexFoundNothing(qv::core::DecodeHtmlPage("<html>found 10 pages</html>", "text/html")));
        QVERIFY(!GoogleFoundNothing(yandexNothing));
    }

    void verdicts()
    {
        QCOMPARE(CheckVerdict(true, true), QStringLiteral("Подтверждено Яндексом и Гуглом"));
        QCOMPARE(CheckVerdict(true, false), QStringLiteral("Подтверждено только Яндексом"));
        QCOMPARE(CheckVerdict(false, true), QStringLiteral("Подтверждено только Гуглом"));
        QCOMPARE(CheckVerdict(false, false), QStringLiteral("Не подтверждено ни Яндексом ни Гуглом"));
    }

    void metricReplies()
    {
        QCOMPARE(MetricDomain(QStringLiteral("HTTP://WWW.Site.Example")), QStringLiteral("site.example"));
        QCOMPARE(MetricDomain(QStringLiteral("https://www.site.example/a")), QStringLiteral("site.example/a"));
        QCOMPARE(MetricDomain(QStringLiteral("site.www.example")), QStringLiteral("site.www.example"));
        QCOMPARE(TicFromReply(QStringLiteral("<tcy rang=\"1\" value=\"12\"/>")), QStringLiteral("12"));
        QCOMPARE(TicFromReply(QStringLiteral("<error/>")), QStringLiteral("?"));
        QCOMPARE(TicFromReply(QStringLiteral("value=\"12")), QString());
        QCOMPARE(PageRankFromReply(QStringLiteral("Rank_1:1:5")), QStringLiteral("5"));
        QCOMPARE(PageRankFromReply(QStringLiteral("Rank_1:1:5\n")), QStringLiteral("5"));
        QCOMPARE(PageRankFromReply(QStringLiteral(" 7 ")), QStringLiteral("7"));
        QCOMPARE(PageRankFromReply(QString()), QString());
    }
};

QTEST_APPLESS_MAIN(TestSearchLogic)
#include "tst_search_logic.moc"
