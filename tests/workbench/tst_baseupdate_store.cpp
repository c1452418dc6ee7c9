// Storing update lines in a fresh database: local ids kept, inserts, links
// rebuilt, empty lists keep links, a failing line leaves nothing behind.
#include "workbench/baseupdate_store.h"
#include "db/database.h"
#include "db/query.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qv::workbench;
using qv::core::Kind;
using qv::test::TestDb;

namespace {
const KindFacts &kindOf(Kind kind) { return *kindFacts(kind); }
} // namespace

class TestBaseUpdateStore : public QObject {
    Q_OBJECT
private slots:
    void updatesInPlaceAndInserts()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QVERIFY(db.exec("INSERT INTO catalogs SET catalog_id=40, catalog_name='old.ru', catalog_title='Старое'"));
        QVERIFY(db.exec("INSERT INTO csubjects2catalogs VALUES (40, 1), (40, 2)"));
        const auto out = StoreUpdateLines(
            kindOf(Kind::Catalogs),
            {
                "900,catalog_name='old.ru',catalog_title='Новое, \\'в кавычках\\' \\\\ путь',catalog_subjects='3: 7: 12 ",
                "901,catalog_name='new.ru',catalog_title='x\\'); DROP TABLE catalogs; -- ',catalog_subjects='5'",
            });
        QCOMPARE(out.stored, 2);
        QCOMPARE(out.failed, 0);
        QCOMPARE(db.scalar("SELECT catalog_id FROM catalogs WHERE catalog_name='old.ru'"), QString("40"));
        QCOMPARE(db.scalar("SELECT catalog_title FROM catalogs WHERE catalog_id=40"), QString("Новое, 'в кавычках' \\ путь"));
        QCOMPARE(db.rows("SELECT s2c_subject_id FROM csubjects2catalogs WHERE s2c_catalog_id=40 ORDER BY 1"),
                 QStringList({"3", "7", "12"}));
        const QString newId = db.scalar("SELECT catalog_id FROM catalogs WHERE catalog_name='new.ru'");
        QVERIFY(!newId.isEmpty() && newId != "901");
        QCOMPARE(db.scalar("SELECT catalog_title FROM catalogs WHERE catalog_name='new.ru'"),
                 QString("x'); DROP TABLE catalogs; -- "));
        QCOMPARE(db.rows("SELECT s2c_subject_id FROM csubjects2catalogs WHERE s2c_catalog_id=" + newId), QStringList({"5"}));
    }

    void emptyListKeepsLinks()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QVERIFY(db.exec("INSERT INTO forums SET forum_id=8, forum_name='f.ru'"));
        QVERIFY(db.exec("INSERT INTO fsubjects2forums VALUES (8, 4)"));
        const auto out = StoreUpdateLines(kindOf(Kind::Forums), {"1,forum_name='f.ru',forum_subjects='',forum_title='T'"});
        QCOMPARE(out.stored, 1);
        QCOMPARE(db.rows("SELECT s2f_subject_id FROM fsubjects2forums WHERE s2f_forum_id=8"), QStringList({"4"}));
        QCOMPARE(db.scalar("SELECT forum_title FROM forums WHERE forum_id=8"), QString("T"));
    }

    void failingLineTouchesNothing()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QVERIFY(db.exec("INSERT INTO soft SET soft_id=3, soft_name='s.ru', soft_title='keep'"));
        QVERIFY(db.exec("INSERT INTO ssubjects2soft VALUES (3, 9)"));
        // A rubric list that is not numbers, then a value too long for its column.
        const auto out =
            StoreUpdateLines(kindOf(Kind::Soft), {
                                                     "1,soft_name='s.ru',soft_title='changed',soft_subjects='1: 2 OR 1=1'",
                                                     "2,soft_name='" + QString(300, 'a') + "',soft_subjects='1'",
                                                     "3,soft_name='ok.ru',soft_title='ok'",
                                                     "4,soft_title='no name'",
                                                 });
        QCOMPARE(out.stored, 1);
        QCOMPARE(out.failed, 3);
        QVERIFY(out.firstFailedLine.startsWith("1,soft_name='s.ru'"));
        QCOMPARE(db.scalar("SELECT soft_title FROM soft WHERE soft_id=3"), QString("keep"));
        QCOMPARE(db.rows("SELECT s2s_subject_id FROM ssubjects2soft WHERE s2s_soft_id=3"), QStringList({"9"}));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM soft"), QString("2"));
    }

    void lineFailingAfterItsUpdateLeavesNothing()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QVERIFY(db.exec("INSERT INTO soft SET soft_id=3, soft_name='s.ru', soft_title='keep'"));
        QVERIFY(db.exec("INSERT INTO ssubjects2soft VALUES (3, 9)"));
        // The row is updated and its links deleted before a rubric id too big
        // for its column fails the line: all of the line is taken back.
        const auto out =
            StoreUpdateLines(kindOf(Kind::Soft), {
                                                     "1,soft_name='s.ru',soft_title='changed',soft_subjects='5: 99999999999'",
                                                     "2,soft_name='t.ru',soft_title='next'",
                                                 });
        QCOMPARE(out.stored, 1);
        QCOMPARE(out.failed, 1);
        QCOMPARE(db.scalar("SELECT soft_title FROM soft WHERE soft_id=3"), QString("keep"));
        QCOMPARE(db.rows("SELECT s2s_subject_id FROM ssubjects2soft WHERE s2s_soft_id=3"), QStringList({"9"}));
        QCOMPARE(db.scalar("SELECT soft_title FROM soft WHERE soft_name='t.ru'"), QString("next"));
    }

    void tooLongValueNamesItsColumn_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("column");
        // Characters for VARCHAR, bytes for TEXT: trailing blanks past the
        // TEXT limit would otherwise be cut with no more than a note.
        QTest::newRow("varchar") << "1,soft_name='" + QString(256, QChar(0x0444)) + "'"
                                 << "soft_name";
        QTest::newRow("text blanks") << "1,soft_name='x.ru',soft_title='" + QString(65535, 'a') + "   '"
                                     << "soft_title";
        QTest::newRow("text bytes") << "1,soft_name='x.ru',soft_url='" + QString(40000, QChar(0x0444)) + "'"
                                    << "soft_url";
    }
    void tooLongValueNamesItsColumn()
    {
        QFETCH(QString, line);
        QFETCH(QString, column);
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        const auto out = StoreUpdateLines(kindOf(Kind::Soft), {line, "2,soft_name='y.ru'"});
        QCOMPARE(out.stored, 1);
        QCOMPARE(out.failed, 1);
        QVERIFY2(out.firstError.contains(column), qPrintable(out.firstError));
        QCOMPARE(db.rows("SELECT soft_name FROM soft"), QStringList({"y.ru"}));
    }

    void killedConnectionStoresNothingOfTheKind_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("killAt"); // the connection goes once this many lines are done
        QStringList many;
        for (int i = 1; i <= 1000; ++i)
            many << QString("%1,catalog_name='c%1.ru',catalog_subjects='3'").arg(i);
        QTest::newRow("midway") << many << 500;
        // The second line fails on the server and is taken back to its
        // savepoint: the kind's transaction stays open, so the first line goes
        // with the connection and the third is not run on a new one.
        QTest::newRow("after a line taken back") << QStringList{"1,catalog_name='a.ru',catalog_subjects='3'",
                                                                "2,catalog_name='b.ru',catalog_subjects='5: 99999999999'",
                                                                "3,catalog_name='c.ru',catalog_subjects='4'"}
                                                 << 2;
    }
    void killedConnectionStoresNothingOfTheKind()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, killAt);
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        const QString id = db.scalar("SELECT CONNECTION_ID()");
        qv::db::Database killer;
        QVERIFY(killer.create() && killer.connect(TestDb::host(), TestDb::user(), TestDb::password(), TestDb::fixturePort()));
        bool killed = false;
        const auto out = StoreUpdateLines(kindOf(Kind::Catalogs), lines, [&](int done, const QString &) {
            if (done == killAt)
                killed = killer.query("KILL CONNECTION " + id) == 0;
        });
        QVERIFY(killed);
        // What ran before ran in a transaction the server rolled back: nothing is stored, and the outcome says so.
        QVERIFY(out.aborted);
        QCOMPARE(out.stored, 0);
        QCOMPARE(out.failed, lines.size());
        QVERIFY(!out.abortError.isEmpty());
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM catalogs"), QString("0"));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM csubjects2catalogs"), QString("0"));
        // The next kind is stored on a new connection.
        const auto next = StoreUpdateLines(kindOf(Kind::Forums), {"1,forum_name='f.ru'"});
        QCOMPARE(next.stored, 1);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM forums"), QString("1"));
    }

    void oneNewResourceNamedTwiceMakesOneRow()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        const auto out =
            StoreUpdateLines(kindOf(Kind::Forums), {
                                                       "1,forum_name='twice.ru',forum_title='first',forum_subjects='3'",
                                                       "2,forum_name='Twice.RU',forum_title='second',forum_subjects='4: 5'",
                                                   });
        QCOMPARE(out.stored, 2);
        QCOMPARE(out.failed, 0);
        QCOMPARE(db.rows("SELECT forum_title FROM forums"), QStringList({"second"}));
        const QString id = db.scalar("SELECT forum_id FROM forums");
        QCOMPARE(db.rows("SELECT s2f_subject_id FROM fsubjects2forums WHERE s2f_forum_id=" + id + " ORDER BY 1"),
                 QStringList({"4", "5"}));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM fsubjects2forums"), QString("2"));
    }

    void emojiNearTheLimitCountAsTheColumnCounts_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("refusal"); // empty: stored whole
        const QString emoji = QStringLiteral("\U0001F600");
        // VARCHAR(16) counts characters: an emoji is one, however many UTF-16 units.
        QTest::newRow("varchar fits") << "catalog_pr" << emoji.repeated(16) << QString();
        QTest::newRow("varchar over") << "catalog_pr" << emoji.repeated(17)
                                      << "значение поля catalog_pr длиннее допустимого (не более 16 символов)";
        // TEXT counts bytes: an emoji is four.
        QTest::newRow("text fits") << "catalog_title" << emoji.repeated(16383) + "abc" << QString();
        QTest::newRow("text over") << "catalog_title" << emoji.repeated(16383) + "abcd"
                                   << "значение поля catalog_title длиннее допустимого (не более 65535 байт)";
    }
    void emojiNearTheLimitCountAsTheColumnCounts()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, refusal);
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        const auto out = StoreUpdateLines(kindOf(Kind::Catalogs), {"1,catalog_name='e.ru'," + column + "='" + value + "'"});
        if (refusal.isEmpty()) {
            QCOMPARE(out.failed, 0);
            QCOMPARE(db.scalar("SELECT " + column + " FROM catalogs WHERE catalog_name='e.ru'"), value);
        } else {
            QCOMPARE(out.failed, 1);
            QCOMPARE(out.firstError, refusal);
            QCOMPARE(db.scalar("SELECT COUNT(*) FROM catalogs"), QString("0"));
        }
    }

    void unknownColumnsNamedOnce()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        const auto out = StoreUpdateLines(kindOf(Kind::Catalogs), {
                                                                      "1,catalog_id=77,catalog_name='a.ru',bogus='1'",
                                                                      "2,catalog_name='b.ru',bogus='2'",
                                                                  });
        QCOMPARE(out.stored, 2);
        QCOMPARE(out.skippedColumns, QStringList({"catalog_id", "bogus"}));
        QVERIFY(db.scalar("SELECT catalog_id FROM catalogs WHERE catalog_name='a.ru'") != "77");
    }
};

QTEST_MAIN(TestBaseUpdateStore)
#include "tst_baseupdate_store.moc"
