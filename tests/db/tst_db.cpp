// The query layer against a real server: quoting, messages, streamed results.
#include "db/database.h"
#include "db/query.h"
#include "db/upsert.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qv;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

class TestDbLayer : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
    }
    void cleanup() { m_db.reset(); }

    void quotingRoundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("He said \"hi\" and 'bye'");
        QTest::newRow("backslashes") << QStringLiteral("a\\b\\\\c\\nd");
        QTest::newRow("backslash before blank") << QStringLiteral("C:\\ dir\\file");
        QTest::newRow("trailing backslash") << QStringLiteral("ends with\\");
        QTest::newRow("backslash before quote") << QStringLiteral("a\\\"b\\'c");
        QTest::newRow("cyrillic") << QStringLiteral("Каталог «Рунет» — лучший");
        QTest::newRow("emoji") << QStringLiteral("ракета 🚀 и 😀");
        QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\nthree\rfour");
        QTest::newRow("control chars") << (QStringLiteral("nul") + QChar(0) + QStringLiteral("sub") + QChar(26));
        QTest::newRow("sql injection") << QStringLiteral("x\"); DROP TABLE t; --");
        QTest::newRow("empty") << QString();
    }
    void quotingRoundTrips()
    {
        QFETCH(QString, text);
        QVERIFY(m_db->exec(QStringLiteral("CREATE TABLE t (v TEXT, w VARCHAR(200)) CHARACTER SET utf8mb4")));
        ScriptedPrompt p;
        QCOMPARE(db::ExecQuery(QStringLiteral("INSERT INTO t SET v=") + db::Sql(text) + QStringLiteral(", w='")
                               + db::EscapeSqlText(text) + QStringLiteral("'")),
                 0);
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join('\n')));
        const auto row = db::FirstRow(QStringLiteral("SELECT v, w FROM t"));
        QVERIFY(row.has_value());
        QCOMPARE(row->value(0), text);
        QCOMPARE(row->value(1), text);
        // The looked-up form matches too.
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM t WHERE v=") + db::Sql(text)), QStringLiteral("1"));
    }

    void escapingWithoutConnectionMatchesClient()
    {
        const QString text = QStringLiteral("a\\b \"c\" 'd'\r\n") + QChar(0) + QChar(26) + QStringLiteral("ё");
        const QString withClient = db::EscapeSqlText(text);
        db::Database offline;
        QCOMPARE(offline.escape(text), withClient);
    }

    void execQueryReportsStatementAndServerText()
    {
        ScriptedPrompt p;
        const QString bad = QStringLiteral("SELEKT * FROM users");
        const int rc = db::ExecQuery(bad);
        QVERIFY(rc != 0);
        QCOMPARE(p.messages.size(), 1);
        const QString msg = p.messages.first();
        QVERIFY(msg.startsWith(QStringLiteral("Ошибка в запросе:") + bad + QLatin1Char('\r')));
        const QString serverText = msg.mid(QStringLiteral("Ошибка в запросе:").size() + bad.size() + 1);
        QVERIFY2(serverText.contains(QStringLiteral("SQL syntax")), qPrintable(serverText));
        QCOMPARE(msg.count(QLatin1Char('\r')), 1);
    }

    void emptyStatementFailsWithStandardMessage()
    {
        ScriptedPrompt p;
        QVERIFY(db::ExecQuery(QString()) != 0);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages.first().startsWith(QStringLiteral("Ошибка в запросе:\r")));
    }

    void resultsAreFreedOnEarlyExit()
    {
        ScriptedPrompt p;
        QVERIFY(m_db->exec(QStringLiteral("CREATE TABLE n (i INT)")));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO n VALUES (1),(2),(3),(4),(5)")));
        // An existence test reads one row of five.
        auto first = db::FirstRow(QStringLiteral("SELECT i FROM n ORDER BY i"));
        QVERIFY(first.has_value());
        QCOMPARE(first->value(0), QStringLiteral("1"));
        // A reader that stops early, by scope.
        {
            QCOMPARE(db::ExecQuery(QStringLiteral("SELECT i FROM n")), 0);
            db::QueryResult r(db::DbConnection());
            QVERIFY(r.FetchRow().has_value());
            QVERIFY(db::DbConnection().resultOpen());
        }
        QVERIFY(!db::DbConnection().resultOpen());
        // The connection is free for the next statement.
        QCOMPARE(db::ExecQuery(QStringLiteral("UPDATE n SET i=i+1")), 0);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SUM(i) FROM n")), QStringLiteral("20"));
        QVERIFY(p.messages.isEmpty());
    }

    void nullsAndFieldNames()
    {
        QVERIFY(m_db->exec(QStringLiteral("CREATE TABLE f (Abc_Id INT, nm TEXT)")));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO f VALUES (7, NULL)")));
        QCOMPARE(db::ExecQuery(QStringLiteral("SELECT * FROM f")), 0);
        db::QueryResult r(db::DbConnection());
        QCOMPARE(r.fieldNames().names(), (QStringList{QStringLiteral("Abc_Id"), QStringLiteral("nm")}));
        QCOMPARE(r.fieldNames().indexOf(QStringLiteral("abc_id")), 0);
        QCOMPARE(r.fieldNames().indexOf(QStringLiteral("NM")), 1);
        QCOMPARE(r.fieldNames().indexOf(QStringLiteral("missing")), -1);
        auto row = r.FetchRow();
        QVERIFY(row);
        QCOMPARE(r.field(*row, QStringLiteral("ABC_ID")), QStringLiteral("7"));
        QCOMPARE(row->value(1), QString());
        QVERIFY(row->isNull(1));
        QVERIFY(!row->isNull(0));
        QCOMPARE(r.field(*row, QStringLiteral("missing")), QString());
        QVERIFY(!r.FetchRow());
    }

    void streamsManyRows()
    {
        QVERIFY(m_db->exec(QStringLiteral("CREATE TABLE big (i INT, s TEXT)")));
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO big SELECT seq, CONCAT('строка ', seq) FROM seq_1_to_20000")));
        qint64 sum = 0;
        int count = 0;
        QVERIFY(db::ForEachRow(QStringLiteral("SELECT i, s FROM big"), [&](const db::Row &row) {
            sum += row[0].toLongLong();
            if (row[1] != QStringLiteral("строка ") + row[0])
                sum = -1000000000;
            ++count;
        }));
        QCOMPARE(count, 20000);
        QCOMPARE(sum, qint64(20000) * 20001 / 2);
    }

    void parseIntAcceptsOnlyWholeNumbers()
    {
        QCOMPARE(db::ParseInt(QStringLiteral(" 42 ")).value_or(0), 42);
        QCOMPARE(db::ParseInt(QStringLiteral("-1")).value_or(0), -1);
        QVERIFY(!db::ParseInt(QStringLiteral("1 OR 1=1")));
        QVERIFY(!db::ParseInt(QStringLiteral("")));
        QVERIFY(!db::ParseInt(QStringLiteral("12a")));
    }

    void schemaLoadsUnderStrictMode()
    {
        const QString mode = m_db->scalar(QStringLiteral("SELECT @@sql_mode"));
        // Strict for every table, or at least for the transactional ones the schema uses.
        QVERIFY2(mode.contains(QStringLiteral("STRICT_ALL_TABLES")) || mode.contains(QStringLiteral("STRICT_TRANS_TABLES")),
                 qPrintable(mode));
        const QStringList tables = m_db->rows(QStringLiteral("SHOW TABLES"));
        // clang-format off
        const QStringList expected = {
            "users", "projects", "cmaterials", "fmaterials", "omaterials", "smaterials",
            "catalogs", "forums", "soft", "csubjects", "fsubjects", "ssubjects",
            "csubjects2catalogs", "fsubjects2forums", "ssubjects2soft", "cgroups", "fgroups", "sgroups",
            "cgroups2catalogs", "fgroups2forums", "sgroups2soft", "cfilters", "ffilters", "sfilters",
            "creglog", "freglog", "sreglog", "gcreglog", "gfreglog", "gsreglog", "flinks",
            "cauth", "fauth", "sauth", "contacts", "osubjects", "osubjects2contacts", "oreglog"};
        // clang-format on
        for (const QString &t : expected)
            QVERIFY2(tables.contains(t), qPrintable(t));
        // Every table speaks utf8mb4.
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema=DATABASE() "
                                             "AND table_collation<>'utf8mb4_unicode_520_ci'")),
                 QStringLiteral("0"));
        // A filter inserted with its name alone reads as "no condition".
        QVERIFY(m_db->exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='f'")));
        QCOMPARE(m_db->rows(QStringLiteral("SELECT cfilter_tic, cfilter_pr, cfilter_need_burl, cfilter_redirect, "
                                           "cfilter_autocheck, cfilter_regstatus FROM cfilters")),
                 QStringList{QStringLiteral("-1|-1||||")});
    }

    // A keyed upsert updates the one row of its key and leaves every other
    // row alone; a key without a row gets one new row.
    void keyedUpsertTouchesOnlyItsRow_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns"); // two key columns, then the value
        QTest::newRow("check results") << QStringLiteral("gcreglog")
                                       << QStringList{"gcrl_catalog_id", "gcrl_project_id", "gcrl_status"};
        QTest::newRow("discussion links") << QStringLiteral("flinks")
                                          << QStringList{"flink_material_id", "flink_forum_id", "flink_url"};
        QTest::newRow("saved logins") << QStringLiteral("cauth")
                                      << QStringList{"cauth_catalog_id", "cauth_project_id", "cauth_password"};
    }
    void keyedUpsertTouchesOnlyItsRow()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        const QString a = columns[0], b = columns[1], v = columns[2];
        QStringList expected;
        for (int i = 1; i <= 2; ++i) {
            for (int j = 1; j <= 2; ++j) {
                QVERIFY(m_db->exec(
                    QStringLiteral("INSERT INTO %1 SET %2=%3, %4=%5, %6='v%3%5'").arg(table, a).arg(i).arg(b).arg(j).arg(v)));
                expected << QStringLiteral("%1|%2|v%1%2").arg(i).arg(j);
            }
        }
        auto rows = [&] { return m_db->rows(QStringLiteral("SELECT %2, %3, %4 FROM %1 ORDER BY %2, %3").arg(table, a, b, v)); };
        auto upsert = [&](int i, int j, const QString &value) {
            const QString where = QStringLiteral(" WHERE %1=%2 AND %3=%4").arg(a).arg(i).arg(b).arg(j);
            return db::Upsert(table, where, v + QLatin1Char('=') + db::Sql(value),
                              QStringLiteral("INSERT INTO %1 SET %2=%3, %4=%5, %6=").arg(table, a).arg(i).arg(b).arg(j).arg(v)
                                  + db::Sql(value));
        };
        ScriptedPrompt p;
        QVERIFY(upsert(1, 2, QStringLiteral("новое")));
        expected[1] = QStringLiteral("1|2|новое");
        QCOMPARE(rows(), expected);
        QVERIFY(upsert(3, 1, QStringLiteral("третий")));
        expected << QStringLiteral("3|1|третий");
        QCOMPARE(rows(), expected);
        QVERIFY(upsert(3, 1, QStringLiteral("снова")));
        expected[4] = QStringLiteral("3|1|снова");
        QCOMPARE(rows(), expected);
        QVERIFY(p.messages.isEmpty());
    }

    void seedAndSampleLoad()
    {
        m_db.reset();
        m_db = std::make_unique<TestDb>(TestDb::WithSample);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QCOMPARE(m_db->rows(QStringLiteral("SELECT user_id, user_login, user_active FROM users WHERE user_id=0")),
                 QStringList{QStringLiteral("0|admin|1")});
        for (const char *t : {"csubjects", "fsubjects", "ssubjects"}) {
            const QString table = QString::fromLatin1(t);
            const QString prefix = table.left(table.size() - 1);
            QCOMPARE(
                m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2_pid=0 AND %2_name='Корзина'").arg(table, prefix)),
                QStringLiteral("1"));
        }
        for (const char *k : {"catalog", "forum", "soft"}) {
            const QString kind = QString::fromLatin1(k);
            const QString table = kind == QLatin1String("soft") ? kind : kind + QLatin1Char('s');
            QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2_name='Корзина'").arg(table, kind)),
                     QStringLiteral("1"));
            QVERIFY(m_db->scalar(QStringLiteral(
                                     "SELECT COUNT(*) FROM %1 WHERE %2_aurl LIKE 'file:///tmp/quorvantile-sample/samples/%'")
                                     .arg(table, kind))
                        .toInt()
                    >= 3);
        }
    }
};

QTEST_MAIN(TestDbLayer)
#include "tst_db.moc"
