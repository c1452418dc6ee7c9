// The date of the last base update when "config.ini" cannot be written: the
// update is stored and the user is told that its date was not kept.
#include "core/appcontext.h"
#include "core/http.h"
#include "support/httpserver.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "workbench/tfrmfrombaza.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv::workbench;
using qv::test::HttpScript;
using qv::test::HttpServer;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

class TestFromBazaDate : public QObject {
    Q_OBJECT
private slots:
    void unwritableConfigIsReported()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        HttpServer server;
        server.listen();
        QTemporaryDir dir;
        qv::core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        {
            QFile ini(ctx.configPath());
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(("[SQL]\ndate_update=2024-01-02 03:04:05\n[Hosts]\nmaker=" + server.baseUrl() + "\n").toUtf8());
        }
        ctx.ConfigIni.open(ctx.configPath());
        // A folder in the file's place: not writable, even for root.
        QVERIFY(QFile::remove(ctx.configPath()));
        QVERIFY(QDir().mkdir(ctx.configPath()));

        HttpScript reply;
        reply.body = "1,catalog_name='new.ru'";
        reply.addHeader("Content-Type", "text/plain; charset=windows-1251");
        server.setReply("/out_catalog.php", reply);
        HttpScript empty = reply;
        empty.body.clear();
        server.setReply("/out_forum.php", empty);
        server.setReply("/out_soft.php", empty);

        ScriptedPrompt p;
        TfrmFromBaza w(ctx);
        // However slow the machine, the local service answers before this.
        w.http->setTimeoutMs(120000);
        w.show();
        w.btnUpdateDownload->setEnabled(true);
        // The click runs the whole download before it returns: what it shows
        // is there at once, with no waiting on a clock.
        w.btnUpdateDownload->click();
        QCOMPARE(server.requests().size(), 3);
        QCOMPARE(p.messages.size(), 2);
        QVERIFY2(p.messages[0].startsWith(QStringLiteral("Не удалось записать настройки в файл \"")
                                          + QDir::toNativeSeparators(ctx.configPath()) + QStringLiteral("\": ")),
                 qPrintable(p.messages[0]));
        QVERIFY(p.messages[0].endsWith(
            QStringLiteral("\rДата обновления базы не сохранена: следующее обновление загрузит эти изменения снова.")));
        QCOMPARE(p.messages[1], QStringLiteral("Обновление локальной базы завершено!"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM catalogs WHERE catalog_name='new.ru'")), QStringLiteral("1"));
        // The date read back is still the one the file holds.
        QCOMPARE(ctx.ConfigIni.readString(QStringLiteral("SQL"), QStringLiteral("date_update")),
                 QStringLiteral("2024-01-02 03:04:05"));
    }
};

QTEST_MAIN(TestFromBazaDate)
#include "tst_frombaza_date.moc"
