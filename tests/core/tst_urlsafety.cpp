// Which addresses the browsers may open.
#include "controls/browserview.h"
#include "core/urlsafety.h"
#include "support/files.h"
#include "support/pagejs.h"
#include "support/scriptedprompt.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using qv::core::SafeBrowserUrl;

class TestUrlSafety : public QObject {
    Q_OBJECT
private slots:
    void webAddressesPass_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        QTest::newRow("http") << "http://catalog.example/add.php?a=1&b=2"
                              << "http://catalog.example/add.php?a=1&b=2";
        QTest::newRow("https upper") << "HTTPS://Catalog.Example/"
                                     << "https://catalog.example/";
        QTest::newRow("no scheme") << "catalog.example/add"
                                   << "http://catalog.example/add";
        QTest::newRow("host and port") << "localhost:8080/x"
                                       << "http://localhost:8080/x";
        QTest::newRow("blanks around") << "  http://a.example  "
                                       << "http://a.example";
    }
    void webAddressesPass()
    {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        const QUrl url = SafeBrowserUrl(address, QStringLiteral("/nowhere/"));
        QVERIFY(url.isValid());
        QCOMPARE(url.toString(), expected);
    }

    void otherSchemesAreRefused_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("javascript") << "javascript:alert(document.forms[0].password.value)";
        QTest::newRow("javascript upper") << "JavaScript:void(0)";
        QTest::newRow("data") << "data:text/html,<script>alert(1)</script>";
        QTest::newRow("file outside") << "file:///etc/passwd";
        QTest::newRow("ftp") << "ftp://files.example/";
        QTest::newRow("empty") << "   ";
        QTest::newRow("no host") << "http://";
    }
    void otherSchemesAreRefused()
    {
        QFETCH(QString, address);
        QVERIFY(!SafeBrowserUrl(address, QStringLiteral("/nowhere/")).isValid());
    }

    void filePagesOnlyInsideTheProgramFolder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString appDir = dir.path() + QStringLiteral("/prog/");
        QVERIFY(QDir().mkpath(appDir + QStringLiteral("samples")));
        QFile page(appDir + QStringLiteral("samples/form.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        QFile outside(dir.path() + QStringLiteral("/secret.html"));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.close();

        QVERIFY(SafeBrowserUrl(QUrl::fromLocalFile(page.fileName()).toString(), appDir).isValid());
        QVERIFY(!SafeBrowserUrl(QUrl::fromLocalFile(outside.fileName()).toString(), appDir).isValid());
        // Climbing out with ".." is outside too.
        QVERIFY(!SafeBrowserUrl(QStringLiteral("file://") + appDir + QStringLiteral("../secret.html"), appDir).isValid());
        // A folder whose name merely starts like the program folder is not inside it.
        QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/program")));
        QVERIFY(!SafeBrowserUrl(QUrl::fromLocalFile(dir.path() + QStringLiteral("/progX/a.html")).toString(), appDir).isValid());
        // A link inside the folder that points outside is outside.
        QVERIFY(QFile::link(outside.fileName(), appDir + QStringLiteral("samples/link.html")));
        QVERIFY(!SafeBrowserUrl(QUrl::fromLocalFile(appDir + QStringLiteral("samples/link.html")).toString(), appDir).isValid());
    }

    // A frame inside a page of the program folder is refused what the page
    // itself is refused: a file outside the folder stays out of the frame,
    // while a frame of the folder's own file loads.
    void aFrameIsRefusedWhatThePageIsRefused()
    {
        QTemporaryDir program, elsewhere;
        const QString appDir = program.path() + QLatin1Char('/');
        const QString outside = QUrl::fromLocalFile(elsewhere.path() + QStringLiteral("/outside.html")).toString();
        qv::test::writeFile(elsewhere.path() + QStringLiteral("/outside.html"), "<html><body>OUTSIDE</body></html>");
        qv::test::writeFile(appDir + QStringLiteral("inside.html"), "<html><body>INSIDE</body></html>");
        qv::test::writeFile(appDir + QStringLiteral("page.html"), "<html><body><iframe id='in' src='inside.html'></iframe>"
                                                                  "<iframe id='out' src='"
                                                                      + outside.toUtf8() + "'></iframe></body></html>");
        qv::controls::SafePage::setProgramFolder(appDir);
        qv::test::ScriptedPrompt p;
        qv::controls::BrowserView view;
        view.resize(600, 400);
        view.show();
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        view.setUrl(QUrl::fromLocalFile(appDir + QStringLiteral("page.html")));
        QVERIFY(loaded.wait(20000));
        auto frameText = [&](const char *id) {
            return qv::test::evaluateJs(&view,
                                        QStringLiteral("(function() { var d = document.getElementById('%1').contentDocument;"
                                                       " return d && d.body ? d.body.innerText : ''; })()")
                                            .arg(QLatin1String(id)))
                .toString();
        };
        QTRY_COMPARE(frameText("in"), QStringLiteral("INSIDE"));
        QTest::qWait(300);
        QCOMPARE(frameText("out"), QString());
        QVERIFY(p.messages.isEmpty());
        // The page itself is refused the same address, and says so.
        view.setUrl(QUrl(outside));
        QTRY_COMPARE(p.messages, QStringList{qv::core::RefusedAddressMessage(outside)});
        QCOMPARE(qv::test::evaluateJs(&view, QStringLiteral("location.href")).toString(),
                 QUrl::fromLocalFile(appDir + QStringLiteral("page.html")).toString());
    }

    void refusalNamesTheAddressShortly()
    {
        const QString msg = qv::core::RefusedAddressMessage(QStringLiteral("javascript:") + QString(5000, QLatin1Char('x')));
        QVERIFY(msg.contains(QStringLiteral("javascript:")));
        QVERIFY(msg.size() < 400);
    }
};

QTEST_MAIN(TestUrlSafety)
#include "tst_urlsafety.moc"
