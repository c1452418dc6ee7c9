// The update window against a local service: the exact requests, what is
// stored, when the date of the last update is written, the messages.
#include "core/appcontext.h"
#include "core/http.h"
#include "support/httpserver.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "workbench/tfrmfrombaza.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv::workbench;
using qv::test::HttpScript;
using qv::test::HttpServer;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
const QString kDate = QStringLiteral("2024-01-02 03:04:05");

struct Setup {
    TestDb db;
    HttpServer server;
    QTemporaryDir dir;
    qv::core::AppContext ctx;
    Setup(bool admin = false)
    {
        server.listen();
        ctx.AppDir = dir.path() + QLatin1Char('/');
        QFile ini(ctx.configPath());
        if (ini.open(QIODevice::WriteOnly))
            ini.write(("[SQL]\ndate_update=" + kDate
                       + "\ndate_update_forums=2020-05-06 07:08:09\n[Hosts]\nmaker=" + server.baseUrl() + "\n")
                          .toUtf8());
        ini.close();
        ctx.ConfigIni.open(ctx.configPath());
        ctx.AdminMode = admin;
    }
    static HttpScript body(const QByteArray &b)
    {
        HttpScript s;
        s.body = b;
        s.addHeader("Content-Type", "text/plain; charset=windows-1251");
        return s;
    }
    QString storedDate() const
    {
        qv::core::IniFile ini(ctx.configPath());
        return ini.readString("SQL", "date_update");
    }
    QStringList targets() const
    {
        QStringList t;
        for (const auto &r : server.requests())
            t << QString::fromLatin1(r.target);
        return t;
    }
};
} // namespace

class TestFromBaza : public QObject {
    Q_OBJECT
private slots:
    void infoRequests()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        s.server.setReply("/out_catalog.php", Setup::body("12<b>"));
        s.server.setReply("/out_forum.php", Setup::body("3"));
        s.server.setReply("/out_soft.php", Setup::body("0"));
        TfrmFromBaza w(s.ctx);
        w.runInfo();
        QCOMPARE(s.targets(), QStringList({"/out_catalog.php?action=info&date=2024-01-02%2003:04:05",
                                           "/out_forum.php?action=info&date=2024-01-02%2003:04:05",
                                           "/out_soft.php?action=info&date=2024-01-02%2003:04:05"}));
        QCOMPARE(w.lbCatalogs->text(), QString("Новых/измененных каталогов:12<b>"));
        QCOMPARE(w.lbCatalogs->textFormat(), Qt::PlainText);
        QVERIFY(w.btnUpdateDownload->isEnabled());
    }

    void downloadStoresAndWritesDate()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        QVERIFY(s.db.exec("INSERT INTO catalogs SET catalog_id=40, catalog_name='old.ru'"));
        QVERIFY(s.db.exec("INSERT INTO csubjects2catalogs VALUES (40, 1)"));
        s.server.setReply("/out_catalog.php", Setup::body("1,catalog_name='old.ru',catalog_subjects='3: 7: 12 \r\n"
                                                          "2,catalog_name='new.ru',catalog_title='\xcd\xee\xe2\xfb\xe9"));
        s.server.setReply("/out_forum.php", Setup::body(""));
        s.server.setReply("/out_soft.php", Setup::body("5,soft_name='s.ru'"));
        TfrmFromBaza w(s.ctx);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        w.btnUpdateDownloadClick();
        QCOMPARE(s.targets(), QStringList({"/out_catalog.php?action=update&date=2024-01-02%2003:04:05",
                                           "/out_forum.php?action=update&date=2024-01-02%2003:04:05",
                                           "/out_soft.php?action=update&date=2024-01-02%2003:04:05"}));
        QCOMPARE(s.db.rows("SELECT s2c_subject_id FROM csubjects2catalogs WHERE s2c_catalog_id=40 ORDER BY 1"),
                 QStringList({"3", "7", "12"}));
        QCOMPARE(s.db.scalar("SELECT catalog_title FROM catalogs WHERE catalog_name='new.ru'"), QString("Новый"));
        QCOMPARE(s.db.scalar("SELECT COUNT(*) FROM soft WHERE soft_name='s.ru'"), QString("1"));
        QCOMPARE(p.messages, QStringList({"Обновление локальной базы завершено!"}));
        const QDateTime written = QDateTime::fromString(s.storedDate(), "yyyy-MM-dd hh:mm:ss");
        QVERIFY(written.isValid() && written >= before);
    }

    void moderationUsesForumDateAndKeepsDate()
    {
        Setup s(true);
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        s.server.setDefaultReply(Setup::body(""));
        TfrmFromBaza w(s.ctx);
        w.btnNoModerClick();
        QCOMPARE(s.targets(), QStringList({"/out_catalog.php?action=update&date=2024-01-02%2003:04:05&formoderate=1",
                                           "/out_forum.php?action=update&date=2020-05-06%2007:08:09&formoderate=1",
                                           "/out_soft.php?action=update&date=2024-01-02%2003:04:05&formoderate=1"}));
        QCOMPARE(w.ForModeration, quint8(0));
        QCOMPARE(s.storedDate(), kDate);
    }

    void failingSecondKindKeepsDate()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        s.server.setReply("/out_catalog.php", Setup::body("1,catalog_name='a.ru'"));
        HttpScript err = Setup::body("oops");
        err.status = 500;
        s.server.setReply("/out_forum.php", err);
        TfrmFromBaza w(s.ctx);
        w.btnUpdateDownloadClick();
        QCOMPARE(s.db.scalar("SELECT COUNT(*) FROM catalogs WHERE catalog_name='a.ru'"), QString("1"));
        QCOMPARE(w.lbForums->text(), QString("Новых/измененных форумов: ... Нет доступа в интернет, проверьте настройки...\n"
                                             "Причина: сервер ответил ошибкой HTTP 500"));
        QCOMPARE(s.targets().size(), 2);
        QCOMPARE(s.storedDate(), kDate);
        QVERIFY(p.messages.isEmpty());
    }

    void repeatedColumnIsNamed()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        s.server.setReply("/out_catalog.php",
                          Setup::body("1,catalog_name='twice.ru',catalog_title='first',catalog_title='second"));
        s.server.setReply("/out_forum.php", Setup::body(""));
        s.server.setReply("/out_soft.php", Setup::body(""));
        TfrmFromBaza w(s.ctx);
        w.btnUpdateDownloadClick();
        QCOMPARE(s.db.scalar("SELECT catalog_title FROM catalogs WHERE catalog_name='twice.ru'"), QString("first"));
        QCOMPARE(p.messages, QStringList({"Обновление локальной базы завершено!\nПропущены поля, которых нет в локальной "
                                          "базе, и повторы поля в одной строке (внесено первое значение): catalog_title"}));
    }

    void slowOrAbsentServiceSaysWhy()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        // A reply that trickles a byte every 100 ms ends at the deadline, not
        // when the last byte would come seconds later.
        HttpScript slow = Setup::body("1,catalog_name='slow.ru',catalog_title='" + QByteArray(60, 'x'));
        slow.trickleMs = 100;
        s.server.setReply("/out_catalog.php", slow);
        TfrmFromBaza w(s.ctx);
        w.http->setTimeoutMs(700);
        QElapsedTimer t;
        t.start();
        w.btnUpdateDownloadClick();
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(w.lbCatalogs->text(),
                 QString("Новых/измененных каталогов, досок: ... Нет доступа в интернет, проверьте настройки...\n"
                         "Причина: время ожидания ответа сервера (1 с) истекло"));
        QCOMPARE(s.db.scalar("SELECT COUNT(*) FROM catalogs WHERE catalog_name='slow.ru'"), QString("0"));
        QCOMPARE(s.storedDate(), kDate);
        // A service that refuses the connection: the counts say so.
        quint16 closedPort = 0;
        {
            HttpServer gone;
            QVERIFY(gone.listen());
            closedPort = gone.port();
        }
        QFile ini(s.ctx.configPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(
            ("[SQL]\ndate_update=" + kDate + "\n[Hosts]\nmaker=http://127.0.0.1:" + QString::number(closedPort) + "\n").toUtf8());
        ini.close();
        s.ctx.ConfigIni.open(s.ctx.configPath());
        w.runInfo();
        QCOMPARE(w.lbCatalogs->text(), QString("Новых/измененных каталогов: ... Нет доступа в интернет, проверьте настройки...\n"
                                               "Причина: сервер 127.0.0.1:%1 отказал в соединении")
                                           .arg(closedPort));
        QVERIFY(!w.btnUpdateDownload->isEnabled());
        QVERIFY(p.messages.isEmpty());
    }

    void infoDuringDownloadOnlyRaises()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        HttpScript slow = Setup::body("1,catalog_name='slow.ru'");
        slow.delayMs = 300;
        s.server.setReply("/out_catalog.php", slow);
        s.server.setDefaultReply(Setup::body(""));
        TfrmFromBaza w(s.ctx);
        QTimer::singleShot(50, &w, [&] {
            w.runInfo();
            w.btnUpdateDownloadClick();
        });
        w.btnUpdateDownloadClick();
        QCOMPARE(s.targets().size(), 3);
        for (const QString &t : s.targets())
            QVERIFY(t.contains("action=update"));
        QCOMPARE(p.messages, QStringList({"Обновление локальной базы завершено!"}));
        QCOMPARE(w.lbForums->text(), QString("Новые/измененные форумы успешно внесены в базу! "));
    }

    void everyKindSaysWhyAndUnreadableTextIsNotStored()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        s.server.setReply("/out_catalog.php",
                          Setup::body("1,catalog_name='c-ok.ru'\n2,catalog_name='c-bad.ru',catalog_subjects='x'"));
        s.server.setReply("/out_forum.php", Setup::body("1,forum_name='f-ok.ru'\r\n2,forum_title='no name'"));
        // Declared UTF-8, its second line in windows-1251.
        HttpScript soft;
        soft.body = "1,soft_name='s-ok.ru'\n2,soft_name='s2.ru',soft_title='\xcd\xee\xe2\xfb\xe9'";
        soft.addHeader("Content-Type", "text/plain; charset=utf-8");
        s.server.setReply("/out_soft.php", soft);
        TfrmFromBaza w(s.ctx);
        w.show();
        w.btnUpdateDownload->setEnabled(true);
        w.btnUpdateDownload->click();
        const QString unreadable =
            QStringLiteral("ответ объявлен в кодировке utf-8, но его строка 2 в этой кодировке не читается");
        QCOMPARE(p.messages,
                 QStringList{"Обновление локальной базы завершено с ошибками. Внесено строк: 2, не внесено строк: 4\n"
                             "Ничего не внесено: софт-каталоги ("
                             + unreadable
                             + ")\n"
                               "Первая из не внесённых строк (каталоги):\n2,catalog_name='c-bad.ru',catalog_subjects='x'\n"
                               "Ошибка: список разделов не из чисел: x\n"
                               "Первая из не внесённых строк (форумы):\n2,forum_title='no name'\n"
                               "Ошибка: в строке нет поля forum_name"});
        QCOMPARE(p.messageIcons, QList<qv::core::MessageIcon>{qv::core::MessageIcon::Warning});
        QCOMPARE(w.lbCatalogs->text(), QString("Новые/измененные каталоги, доски: внесены не все: не внесено строк 1 из 2\n"
                                               "Причина: список разделов не из чисел: x"));
        QCOMPARE(w.lbForums->text(), QString("Новые/измененные форумы: внесены не все: не внесено строк 1 из 2\n"
                                             "Причина: в строке нет поля forum_name"));
        QCOMPARE(w.lbSoft->text(), "Новые/измененные софт-каталоги: не внесены в базу!\nПричина: " + unreadable);
        QCOMPARE(s.db.rows("SELECT catalog_name FROM catalogs"), QStringList{"c-ok.ru"});
        QCOMPARE(s.db.rows("SELECT forum_name FROM forums"), QStringList{"f-ok.ru"});
        QCOMPARE(s.db.scalar("SELECT COUNT(*) FROM soft"), QString("0"));
        QCOMPARE(s.storedDate(), kDate);
    }

    void downloadCanRunAgainWhateverItsOutcome()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        s.server.setDefaultReply(Setup::body("0"));
        TfrmFromBaza w(s.ctx);
        w.runInfo();
        QVERIFY(w.btnUpdateDownload->isEnabled());
        QList<bool> enabledDuring;
        connect(&s.server, &HttpServer::requestReceived, &w, [&] { enabledDuring << w.btnUpdateDownload->isEnabled(); });
        // The service fails, then a line is refused, then all is stored.
        HttpScript err = Setup::body("oops");
        err.status = 500;
        s.server.setReply("/out_catalog.php", err);
        w.btnUpdateDownload->click();
        QCOMPARE(enabledDuring, QList<bool>{false});
        QVERIFY(w.btnUpdateDownload->isEnabled());
        s.server.setReply("/out_catalog.php", Setup::body("1,catalog_title='no name'"));
        s.server.setDefaultReply(Setup::body(""));
        w.btnUpdateDownload->click();
        QCOMPARE(enabledDuring, QList<bool>(4, false));
        QVERIFY(w.btnUpdateDownload->isEnabled());
        s.server.setReply("/out_catalog.php", Setup::body("1,catalog_name='a.ru'"));
        w.btnUpdateDownload->click();
        QCOMPARE(enabledDuring, QList<bool>(7, false));
        QVERIFY(w.btnUpdateDownload->isEnabled());
        QCOMPARE(s.db.rows("SELECT catalog_name FROM catalogs"), QStringList{"a.ru"});
        QCOMPARE(p.messages.size(), 2);
        QCOMPARE(p.messages.last(), QString("Обновление локальной базы завершено!"));
    }

    void failingLineShownOnceAndKeepsDate()
    {
        Setup s;
        QVERIFY2(s.db.ok(), qPrintable(s.db.error()));
        ScriptedPrompt p;
        s.server.setReply("/out_catalog.php",
                          Setup::body("1,catalog_title='no name'\n2,catalog_name=now()\n3,catalog_name='ok.ru'"));
        s.server.setDefaultReply(Setup::body(""));
        TfrmFromBaza w(s.ctx);
        w.btnUpdateDownloadClick();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].contains("2"));
        QVERIFY(p.messages[0].contains("1,catalog_title='no name'"));
        QCOMPARE(s.db.scalar("SELECT COUNT(*) FROM catalogs WHERE catalog_name='ok.ru'"), QString("1"));
        QCOMPARE(s.storedDate(), kDate);
    }
};

QTEST_MAIN(TestFromBaza)
#include "tst_frombaza.moc"
