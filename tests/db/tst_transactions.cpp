// Transactions across dropped connections: a connection killed inside a
// transaction loses the whole transaction (nothing of it runs on in
// autocommit), a killed idle connection is opened again before the next
// statement, and the windows that write in transactions say what was stored.
#include "app/tfrmmain.h"
#include "db/database.h"
#include "db/query.h"
#include "support/httpserver.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "workbench/browserpane.h"
#include "workbench/recordeditor.h"
#include "workbench/resourcelist.h"
#include "workbench/tfrmfrombaza.h"
#include "workbench/workbenchfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace qv;
using qv::test::HttpScript;
using qv::test::HttpServer;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;
using qv::test::Workbench;

namespace {

std::unique_ptr<db::Database> otherConnection(const QString &database = QString())
{
    auto other = std::make_unique<db::Database>();
    if (!other->create() || !other->connect(TestDb::host(), TestDb::user(), TestDb::password(), TestDb::fixturePort()))
        return nullptr;
    if (!database.isEmpty() && !other->selectDatabase(database))
        return nullptr;
    return other;
}

QString scalarOn(db::Database &conn, const QString &sql)
{
    if (conn.query(sql) != 0)
        return QStringLiteral("error: ") + conn.errorText();
    db::QueryResult r(conn);
    const auto row = r.FetchRow();
    return row ? row->value(0) : QString();
}

// Kills the session `id` from another connection and waits until the server has dropped it.
bool killSession(const QString &id)
{
    auto killer = otherConnection();
    if (!killer || killer->query(QStringLiteral("KILL CONNECTION ") + id) != 0)
        return false;
    for (int i = 0; i < 200; ++i) {
        if (scalarOn(*killer, QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist WHERE id=") + id)
            == QLatin1String("0"))
            return true;
        QThread::msleep(10);
    }
    return false;
}

QString sessionId() { return scalarOn(db::DbConnection(), QStringLiteral("SELECT CONNECTION_ID()")); }

// A resource record on the edit page of a main window.
struct RecordPage {
    Workbench w;
    int id = 0;

    RecordPage()
    {
        QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/catalogs.shbl"), w.ctx.AppDir + QStringLiteral("catalogs.shbl"));
        w.ctx.CurrentKind = core::Kind::Catalogs;
        w.ctx.CurrentUserId = 1;
        w.db.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='a.example', catalog_title='Old title', "
                                 "catalog_url='http://a.example', catalog_aurl='http://a.example/add'"));
        id = w.db.scalar(QStringLiteral("SELECT MAX(catalog_id) FROM catalogs")).toInt();
        w.db.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=7").arg(id));
    }
    workbench::RecordEditor &editor() { return *w.main->records; }
    // The record chosen in its rubric's list, then the edit page's tab.
    bool open()
    {
        workbench::ResourceList &list = *w.main->resources;
        list.fill({workbench::ListSource::Rubric, 7, {}});
        for (int r = 0; r < list.count(); ++r) {
            if (list.subItem(r, workbench::SubName) == QLatin1String("a.example"))
                list.selectRow(r);
        }
        w.main->browser->lvLinksClick();
        w.main->pcMain->setCurrentIndex(1);
        editor().pcMainChange();
        return w.main->pcMain->currentIndex() == 1 && editor().edtCatalogTitle->text() == QLatin1String("Old title");
    }
    QString stored() { return w.db.scalar(QStringLiteral("SELECT catalog_title FROM catalogs WHERE catalog_id=%1").arg(id)); }
    QStringList links()
    {
        return w.db.rows(
            QStringLiteral("SELECT s2c_subject_id FROM csubjects2catalogs WHERE s2c_catalog_id=%1 ORDER BY 1").arg(id));
    }
};

HttpScript body(const QByteArray &b)
{
    HttpScript s;
    s.body = b;
    s.addHeader("Content-Type", "text/plain; charset=windows-1251");
    return s;
}

// Runs `act` the first time `label` paints a text starting with `prefix`.
class PaintHook : public QObject {
public:
    PaintHook(QLabel *label, QString prefix, std::function<void()> act)
        : m_label(label), m_prefix(std::move(prefix)), m_act(std::move(act))
    {
        label->installEventFilter(this);
    }
    bool fired = false;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (!fired && o == m_label && e->type() == QEvent::Paint && m_label->text().startsWith(m_prefix)) {
            fired = true;
            m_act();
        }
        return false;
    }

private:
    QLabel *m_label;
    QString m_prefix;
    std::function<void()> m_act;
};

} // namespace

class TestTransactions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lostConnectionLosesTheWholeTransaction()
    {
        TestDb db(TestDb::WithSeed);
        QVERIFY2(db.ok(), qPrintable(db.error()));
        ScriptedPrompt p;
        QCOMPARE(db::ExecQuery(QStringLiteral("START TRANSACTION")), 0);
        QCOMPARE(db::ExecQuery(QStringLiteral("UPDATE users SET user_fio='first' WHERE user_id=0")), 0);
        QVERIFY(killSession(sessionId()));
        // The rest of the transaction fails: nothing of it reaches the base on a new connection.
        QVERIFY(db::ExecQuery(QStringLiteral("UPDATE users SET user_email='second' WHERE user_id=0")) != 0);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(db::RunDirect(QStringLiteral("INSERT INTO projects SET project_name='third'")) != 0);
        // Its end reports the loss.
        QVERIFY(db::RunDirect(QStringLiteral("COMMIT")) != 0);
        QVERIFY(!db::DbConnection().inTransaction());
        QVERIFY(db.scalar(QStringLiteral("SELECT user_fio FROM users WHERE user_id=0")) != QLatin1String("first"));
        QVERIFY(db.scalar(QStringLiteral("SELECT user_email FROM users WHERE user_id=0")) != QLatin1String("second"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM projects WHERE project_name='third'")), QStringLiteral("0"));
        // After it, statements run again.
        QCOMPARE(db::ExecQuery(QStringLiteral("UPDATE users SET user_fio='after' WHERE user_id=0")), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT user_fio FROM users WHERE user_id=0")), QStringLiteral("after"));
    }

    void baseUpdateKilledMidwayShowsWhatIsStored()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        HttpServer server;
        server.listen();
        QTemporaryDir dir;
        core::AppContext ctx;
        ctx.AppDir = dir.path() + QLatin1Char('/');
        {
            QFile ini(ctx.configPath());
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(("[SQL]\ndate_update=2024-01-02 03:04:05\n[Hosts]\nmaker=" + server.baseUrl() + "\n").toUtf8());
        }
        ctx.ConfigIni.open(ctx.configPath());
        QByteArray catalogs;
        for (int i = 1; i <= 1000; ++i)
            catalogs += QByteArray::number(i) + ",catalog_name='c" + QByteArray::number(i)
                        + ".ru',catalog_title='T',catalog_subjects='3: 7\r\n";
        server.setReply("/out_catalog.php", body(catalogs));
        server.setReply("/out_forum.php", body("1,forum_name='f1.ru'\r\n2,forum_name='f2.ru'\r\n3,forum_name='f3.ru'"));
        server.setReply("/out_soft.php", body("1,soft_name='s1.ru'\r\n2,soft_name='s2.ru'"));
        ScriptedPrompt p;
        workbench::TfrmFromBaza w(ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The store's first progress line repaints at once: the connection is
        // killed there, with the rest of the kind's lines still to come.
        QTest::qWait(150);
        const QString id = sessionId();
        bool killed = false;
        PaintHook hook(w.lbCatalogs, QStringLiteral("Новые/измененные каталоги, доски: "), [&] { killed = killSession(id); });
        w.btnUpdateDownload->setEnabled(true);
        QTest::mouseClick(w.btnUpdateDownload, Qt::LeftButton);
        QVERIFY(hook.fired);
        QVERIFY(killed);
        QCOMPARE(p.messages.size(), 1);
        const QString text = p.messages[0];
        const auto m = QRegularExpression(QStringLiteral("Внесено строк: (\\d+), не внесено строк: (\\d+)")).match(text);
        QVERIFY2(m.hasMatch(), qPrintable(text));
        const int inBase = db.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM catalogs) + (SELECT COUNT(*) FROM forums) "
                                                    "+ (SELECT COUNT(*) FROM soft)"))
                               .toInt();
        QCOMPARE(m.captured(1).toInt(), inBase);
        QCOMPARE(inBase, 5);
        QCOMPARE(m.captured(2).toInt(), 1000);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM csubjects2catalogs")), QStringLiteral("0"));
        // The kind that was not stored is named.
        QVERIFY2(text.contains(QStringLiteral("Ничего не внесено: каталоги")), qPrintable(text));
        QVERIFY2(
            w.lbCatalogs->text().startsWith(QStringLiteral("Новые/измененные каталоги, доски: не внесены в базу!\nПричина: ")),
            qPrintable(w.lbCatalogs->text()));
        QCOMPARE(w.lbForums->text(), QStringLiteral("Новые/измененные форумы успешно внесены в базу! "));
        qv::core::IniFile stored(ctx.configPath());
        QCOMPARE(stored.readString(QStringLiteral("SQL"), QStringLiteral("date_update")), QStringLiteral("2024-01-02 03:04:05"));
    }

    void recordSaveKilledMidwayKeepsTheBaseAndTheEdits()
    {
        RecordPage r;
        QVERIFY2(r.w.db.ok(), qPrintable(r.w.db.error()));
        ScriptedPrompt p;
        QVERIFY(r.open());
        r.editor().edtCatalogTitle->setText(QStringLiteral("New title"));
        // Another user holds the record's links: the save waits in its
        // transaction after the record's row was written, and is killed there.
        auto holder = otherConnection(r.w.db.name());
        QVERIFY(holder);
        QCOMPARE(holder->query(QStringLiteral("START TRANSACTION")), 0);
        QCOMPARE(
            scalarOn(*holder, QStringLiteral("SELECT COUNT(*) FROM (SELECT * FROM csubjects2catalogs WHERE s2c_catalog_id=%1 "
                                             "FOR UPDATE) AS held")
                                  .arg(r.id)),
            QStringLiteral("1"));
        const QString id = sessionId();
        auto watcher = otherConnection();
        QVERIFY(watcher);
        std::atomic<bool> killed = false;
        std::thread killer([&] {
            for (int i = 0; i < 1000 && !killed; ++i) {
                if (scalarOn(*watcher, QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist WHERE id=%1 "
                                                      "AND info LIKE 'DELETE%'")
                                           .arg(id))
                    == QLatin1String("1"))
                    killed = watcher->query(QStringLiteral("KILL CONNECTION ") + id) == 0;
                else
                    QThread::msleep(10);
            }
        });
        r.editor().btnSaveChanges->click();
        killer.join();
        holder->query(QStringLiteral("ROLLBACK"));
        QVERIFY(killed);
        // The save says it failed; the base holds the record as it was; the edit is still on screen.
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("не записаны")), qPrintable(p.messages[0]));
        QCOMPARE(r.stored(), QStringLiteral("Old title"));
        QCOMPARE(r.links(), QStringList{QStringLiteral("7")});
        QCOMPARE(r.editor().edtCatalogTitle->text(), QStringLiteral("New title"));
        // Saved again, it goes through.
        r.editor().btnSaveChanges->click();
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(r.stored(), QStringLiteral("New title"));
    }

    void firstSaveAfterALostConnectionSucceeds_data()
    {
        QTest::addColumn<bool>("idleTimeOut");
        QTest::newRow("killed") << false;
        QTest::newRow("idle time-out") << true;
    }
    void firstSaveAfterALostConnectionSucceeds()
    {
        QFETCH(bool, idleTimeOut);
        RecordPage r;
        QVERIFY2(r.w.db.ok(), qPrintable(r.w.db.error()));
        ScriptedPrompt p;
        QVERIFY(r.open());
        const QString id = sessionId();
        if (idleTimeOut) {
            // The server closes a session left idle past its time-out.
            QVERIFY(r.w.db.exec(QStringLiteral("SET SESSION wait_timeout=1")));
            auto watcher = otherConnection();
            QVERIFY(watcher);
            QTRY_COMPARE_WITH_TIMEOUT(
                scalarOn(*watcher, QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist WHERE id=") + id),
                QStringLiteral("0"), 10000);
        } else {
            QVERIFY(killSession(id));
        }
        r.editor().edtCatalogTitle->setText(QStringLiteral("After the loss"));
        r.editor().btnSaveChanges->click();
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join(QLatin1Char('\n'))));
        QCOMPARE(r.stored(), QStringLiteral("After the loss"));
        QCOMPARE(r.links(), QStringList{QStringLiteral("7")});
        QVERIFY(sessionId() != id);
    }
};

QTEST_MAIN(TestTransactions)
#include "tst_transactions.moc"
