// The base update's reply parser, addresses and rubric pieces, without a database.
#include "workbench/baseupdate_logic.h"

#include <QtTest>

using namespace qv::workbench;
using qv::core::Kind;

namespace {
const KindFacts &kindOf(Kind kind) { return *kindFacts(kind); }
const QSet<QString> catalogColumns{"catalog_id",       "catalog_name", "catalog_title",
                                   "catalog_subjects", "catalog_url",  "catalog_note"};
QString valueOf(const UpdateRow &row, const QString &column)
{
    for (const auto &f : row.fields)
        if (f.first == column)
            return f.second;
    return QStringLiteral("<absent>");
}
} // namespace

class TestBaseUpdateLogic : public QObject {
    Q_OBJECT
private slots:
    void paths()
    {
        const KindFacts &c = kindOf(Kind::Catalogs), &f = kindOf(Kind::Forums), &s = kindOf(Kind::Soft);
        QCOMPARE(InfoPath(c, "2024-01-02 03:04:05"), QString("/out_catalog.php?action=info&date=2024-01-02%2003:04:05"));
        QCOMPARE(InfoPath(f, "2006-05-24"), QString("/out_forum.php?action=info&date=2006-05-24"));
        QCOMPARE(UpdatePath(s, "2024-01-02 03:04", "2001-01-01", false),
                 QString("/out_soft.php?action=update&date=2024-01-02%2003:04"));
        QCOMPARE(UpdatePath(c, "2024-01-02 03:04", "2001-01-01 00:00", true),
                 QString("/out_catalog.php?action=update&date=2024-01-02%2003:04&formoderate=1"));
        QCOMPARE(UpdatePath(f, "2024-01-02 03:04", "2001-01-01 00:00", true),
                 QString("/out_forum.php?action=update&date=2001-01-01%2000:00&formoderate=1"));
        QCOMPARE(UpdatePath(f, "2024-01-02 03:04", "2001-01-01 00:00", false),
                 QString("/out_forum.php?action=update&date=2024-01-02%2003:04"));
    }

    void parsesQuotedValues()
    {
        const auto row = ReadUpdateRow(kindOf(Kind::Catalogs),
                                       "17,catalog_name='site.ru',catalog_title='a, b \\'c\\' it''s',catalog_note=\"dq, \\\\ x\","
                                       "catalog_url=NULL,catalog_subjects='3: 7: 12 ",
                                       catalogColumns);
        QVERIFY(row);
        QCOMPARE(row->name, QString("site.ru"));
        QCOMPARE(valueOf(*row, "catalog_title"), QString("a, b 'c' it's"));
        QCOMPARE(valueOf(*row, "catalog_note"), QString("dq, \\ x"));
        QCOMPARE(valueOf(*row, "catalog_url"), QString(""));
        QCOMPARE(row->subjects, QString("3: 7: 12 "));
        QVERIFY(row->hasSubjects);
    }

    void lastQuotePresentOrMissing()
    {
        const auto a = ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_name='x.ru',catalog_title='Т", catalogColumns);
        const auto b = ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_name='x.ru',catalog_title='Т'", catalogColumns);
        QVERIFY(a && b);
        QCOMPARE(valueOf(*a, "catalog_title"), QString("Т"));
        QCOMPARE(valueOf(*b, "catalog_title"), QString("Т"));
    }

    void numbersAndUnknownColumns()
    {
        const auto row =
            ReadUpdateRow(kindOf(Kind::Catalogs),
                          "5,catalog_id=99,catalog_name='n.ru',evil_column='1',catalog_title=42,evil_column='2'", catalogColumns);
        QVERIFY(row);
        QCOMPARE(valueOf(*row, "catalog_title"), QString("42"));
        QCOMPARE(valueOf(*row, "catalog_id"), QString("<absent>"));
        QCOMPARE(row->skipped, QStringList({"catalog_id", "evil_column"}));
    }

    void columnNamedTwiceKeepsTheFirstValue()
    {
        QString err;
        const auto row =
            ReadUpdateRow(kindOf(Kind::Catalogs),
                          "1,catalog_name='d.ru',catalog_title='first',CATALOG_TITLE='second',catalog_name='other.ru',"
                          "catalog_title='third'",
                          catalogColumns, &err);
        QVERIFY(row);
        QCOMPARE(row->name, QString("d.ru"));
        QCOMPARE(valueOf(*row, "catalog_title"), QString("first"));
        int titles = 0;
        for (const auto &f : row->fields)
            titles += f.first == QLatin1String("catalog_title");
        QCOMPARE(titles, 1);
        QCOMPARE(row->duplicated, QStringList({"catalog_title", "catalog_name"}));
        QVERIFY(row->skipped.contains("catalog_title"));
        QCOMPARE(err, QString("поля catalog_title, catalog_name названы в строке дважды: внесено первое значение, "
                              "повторное отброшено"));
        // A line without repeats has no reason.
        QVERIFY(ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_name='d.ru',catalog_title='x'", catalogColumns, &err));
        QVERIFY(err.isEmpty());
    }

    void sqlInValuesIsKeptAsText()
    {
        const QString evil = "x'); DROP TABLE catalogs; -- ";
        const auto row = ReadUpdateRow(kindOf(Kind::Catalogs),
                                       "1,catalog_name='e.ru',catalog_title='x\\'); DROP TABLE catalogs; -- '", catalogColumns);
        QVERIFY(row);
        QCOMPARE(valueOf(*row, "catalog_title"), evil);
    }

    void refusedLines()
    {
        QString err;
        QVERIFY(!ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_title='x'", catalogColumns, &err));
        QVERIFY(err.contains("catalog_name"));
        QVERIFY(!ReadUpdateRow(kindOf(Kind::Catalogs), "nocomma", catalogColumns));
        QVERIFY(!ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_name='a.ru',catalog_title=now()", catalogColumns));
        QVERIFY(!ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_name='a.ru',`x` y='1'", catalogColumns));
        QVERIFY(!ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_name='a.ru' OR 1=1,catalog_title='1'", catalogColumns));
        QVERIFY(!ReadUpdateRow(kindOf(Kind::Catalogs), "1,catalog_name=''", catalogColumns));
    }

    void rubricPieces()
    {
        QCOMPARE(*RubricPieces("3: 7: 12 "), QList<qint64>({3, 7, 12}));
        QCOMPARE(*RubricPieces("5"), QList<qint64>({5}));
        QCOMPARE(*RubricPieces(""), QList<qint64>());
        QVERIFY(!RubricPieces("3: 1 OR 1=1"));
        QVERIFY(!RubricPieces("3: -1"));
    }

    void replyLines()
    {
        QCOMPARE(ReplyLines("a\r\nb\rc\n\nd"), QStringList({"a", "b", "c", "d"}));
        QCOMPARE(ReplyLines(""), QStringList());
    }
};

QTEST_MAIN(TestBaseUpdateLogic)
#include "tst_baseupdate_logic.moc"
