// The software page's rules without a database: the fixed lists, the check
// list texts, the sizes, the "<BR>" storage, the dates and the statements.
#include "projects/softlists.h"
#include "projects/softpage.h"
#include "projects/softsql.h"

#include <QDate>
#include <limits>
#include <QtTest>

using namespace qv::projects;

class TestSoftLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixedLists()
    {
        QCOMPARE(SoftTypeItems(), (QStringList{"ShareWare", "FreeWare", "AdWare", "Demo", "Comercial", "Data Only"}));
        QCOMPARE(SoftReleaseStatusItems(),
                 (QStringList{"Major Update", "Minor Update", "New Release", "Beta", "Alpha", "Media Only"}));
        QCOMPARE(SoftInstallItems(),
                 (QStringList{"Install and Uninstall", "Install Only", "No Install Support", "Uninstall Only"}));
        QCOMPARE(SoftCategoryItems().size(), 11);
        QCOMPARE(SoftCategoryItems().at(9), QStringLiteral("Scree Savers"));
        QCOMPARE(SoftCategoryItems().last(), QStringLiteral("Utilites"));
        // The languages: the 23 description languages, then three more.
        QCOMPARE(SoftLanguageItems().size(), 26);
        QCOMPARE(SoftLanguageItems().mid(0, 23), DescriptionLanguages());
        QCOMPARE(SoftLanguageItems().mid(23), (QStringList{"Urdu", "Vietnamese", "Yiddish"}));
        QCOMPARE(SoftOsItems().size(), 39);
        QCOMPARE(SoftOsItems().at(19), QStringLiteral("Mas Other"));
        QCOMPARE(SoftOsItems().at(34), QStringLiteral("Handled/Mobile Other"));
        QCOMPARE(SoftOsItems().last(), QStringLiteral("Not Applicable"));

        const QStringList &classes = SoftCategoryClassItems();
        QCOMPARE(classes.size(), 153);
        QCOMPARE(classes.first(), QStringLiteral("Audio & Multimedia::Audio Encoders/Decoders"));
        QCOMPARE(classes.at(3), QStringLiteral("Audio & Multimedia::CD Burnes"));
        QVERIFY(classes.contains(QStringLiteral("Development::Basic, VB, VB DotNet")));
        QVERIFY(classes.contains(QStringLiteral("Network & Internet::Search/Lookup Tools ")));
        QVERIFY(!classes.contains(QStringLiteral("Network & Internet::Search/Lookup Tools")));
        QCOMPARE(classes.at(149), QStringLiteral("Web Development::Wizards & Components"));
        QCOMPARE(classes.at(150), QStringLiteral("Web Development:XML/CSS Tools"));
        QCOMPARE(classes.at(151), QString());
        QCOMPARE(classes.at(152), QString());
        int grouped = 0;
        for (const QString &c : classes)
            grouped += c.contains(QLatin1String("::")) ? 1 : 0;
        QCOMPARE(grouped, 150);
    }

    void listMatching()
    {
        QCOMPARE(FindItemNoCase(SoftTypeItems(), QStringLiteral("freeware")), 1);
        QCOMPARE(FindItemNoCase(SoftTypeItems(), QStringLiteral("Free")), -1);
        QCOMPARE(FindItemNoCase(SoftCategoryClassItems(), QString()), 151);

        // Whole items only: "OS/2 Warp 4" does not tick "OS/2" or "OS/2 Warp".
        const QList<bool> os = CheckedItemsFromText(SoftOsItems(), QStringLiteral("OS/2 Warp 4,"));
        QCOMPARE(os.count(true), 1);
        QVERIFY(os.at(SoftOsItems().indexOf(QStringLiteral("OS/2 Warp 4"))));
        const QList<bool> langs = CheckedItemsFromText(SoftLanguageItems(), QStringLiteral("Russian, english,Klingon,,Urdu"));
        QCOMPARE(CheckedItemsText(SoftLanguageItems(), langs), QStringLiteral("English,Russian,Urdu,"));
        QCOMPARE(CheckedItemsText(SoftLanguageItems(), QList<bool>(26, false)), QString());
        // A stored text round-trips unchanged.
        const QString stored = QStringLiteral("Win95,WinXP,Linux,Mac OS X,");
        QCOMPARE(CheckedItemsText(SoftOsItems(), CheckedItemsFromText(SoftOsItems(), stored)), stored);
    }

    void sizes()
    {
        QString error;
        auto sizes = SoftSizesFromText(QStringLiteral("1234567"), &error);
        QVERIFY(sizes);
        QCOMPARE(sizes->bsize, QStringLiteral("1234567"));
        QCOMPARE(sizes->ksize, QStringLiteral("1234,567"));
        QCOMPARE(sizes->msize, QStringLiteral("1,234567"));
        // The remainder keeps its leading zeros.
        sizes = SoftSizesFromText(QStringLiteral("1050"), &error);
        QCOMPARE(sizes->ksize, QStringLiteral("1,050"));
        QCOMPARE(sizes->msize, QStringLiteral("0,001050"));
        sizes = SoftSizesFromText(QStringLiteral("0012"), &error);
        QCOMPARE(sizes->bsize, QStringLiteral("12"));
        QCOMPARE(sizes->ksize, QStringLiteral("0,012"));
        QCOMPARE(sizes->msize, QStringLiteral("0,000012"));
        // Past 2 GiB and 4 GiB.
        sizes = SoftSizesFromText(QStringLiteral("5000000001"), &error);
        QCOMPARE(sizes->bsize, QStringLiteral("5000000001"));
        QCOMPARE(sizes->ksize, QStringLiteral("5000000,001"));
        QCOMPARE(sizes->msize, QStringLiteral("5000,000001"));
        // A negative number carries its sign once, in front.
        QCOMPARE(SizeInUnits(-1234567, 1000), QStringLiteral("-1234,567"));
        QCOMPARE(SizeInUnits(-50, 1000), QStringLiteral("-0,050"));
        QCOMPARE(SizeInUnits(std::numeric_limits<qint64>::min(), 1000000), QStringLiteral("-9223372036854,775808"));
        QVERIFY(error.isEmpty());
        QVERIFY(!SoftSizesFromText(QStringLiteral("12a"), &error));
        QCOMPARE(error, QStringLiteral("'12a' is not a valid integer value"));
        QVERIFY(!SoftSizesFromText(QStringLiteral("1.5"), &error));
        QCOMPARE(error, QStringLiteral("'1.5' is not a valid integer value"));
    }

    void lineBreaks()
    {
        QCOMPARE(LineBreaksToBr(QStringLiteral("a\r\nb\nc")), QStringLiteral("a<BR>b<BR>c"));
        QCOMPARE(BrToLineBreaks(QStringLiteral("a<br>b<Br>c<BR>d<bR>")), QStringLiteral("a\r\nb\r\nc\r\nd\r\n"));
        LanguageTexts t;
        t.keywords = QStringLiteral("k1\r\nk2");
        t.description45 = QStringLiteral("d45");
        t.description80 = QStringLiteral("d80");
        t.description250 = QStringLiteral("one\ntwo");
        t.description450 = QStringLiteral("x");
        t.description2000 = QStringLiteral("a\n\nb");
        QCOMPARE(StoredLanguageValues(t), (QStringList{"k1<BR>k2", "d45", "d80", "one<BR>two", "x", "a<BR><BR>b"}));
        QCOMPARE(LanguageColumns(QStringLiteral("Russian")),
                 (QStringList{"smaterial_Keywords_Russian", "smaterial_Description45_Russian", "smaterial_Description80_Russian",
                              "smaterial_Description250_Russian", "smaterial_Description450_Russian",
                              "smaterial_Description2000_Russian"}));
    }

    void dates()
    {
        QCOMPARE(DateFromStored(QStringLiteral("2024-02-29")), std::optional<QDate>(QDate(2024, 2, 29)));
        QVERIFY(!DateFromStored(QStringLiteral("0000-00-00")));
        QVERIFY(!DateFromStored(QString()));
        QVERIFY(!DateFromStored(QStringLiteral("2023-02-29")));
        QVERIFY(!DateFromStored(QStringLiteral("garbage!!!")));
        QCOMPARE(DateForStorage(QDate(987, 1, 2)), QStringLiteral("0987-01-02"));
    }

    void statements()
    {
        QHash<QString, QString> values;
        values.insert(QStringLiteral("smaterial_softname"), QStringLiteral("Ёж \"x\""));
        values.insert(QStringLiteral("smaterial_rcost"), QStringLiteral("100"));
        values.insert(QStringLiteral("smaterial_bsize"), QStringLiteral("1005"));
        QString error;
        auto sql = SoftwareUpdateSql(values, QStringLiteral("English"), std::nullopt, 7, &error);
        QVERIFY(sql);
        QVERIFY(sql->startsWith(
            QStringLiteral("UPDATE smaterials SET smaterial_softname=\"Ёж \\\"x\\\"\" ,smaterial_releasedate=\"\" ,")));
        QVERIFY(sql->contains(QStringLiteral(
            "smaterial_rcost=\"100\" ,smaterial_bsize=\"1005\" ,smaterial_ksize=\"1,005\" ,smaterial_msize=\"0,001005\" "
            ",smaterial_CategoryClass=\"\"")));
        QVERIFY(sql->endsWith(QStringLiteral("smaterial_CategoryPossible=\"\" WHERE smaterial_project_id=7")));
        QVERIFY(!sql->contains(QStringLiteral("Keywords")));

        // An empty size leaves the three size columns out; the texts come last.
        values.insert(QStringLiteral("smaterial_bsize"), QString());
        LanguageTexts t;
        t.keywords = QStringLiteral("a,b");
        t.description250 = QStringLiteral("1\n2");
        sql = SoftwareUpdateSql(values, QStringLiteral("German"), t, 7, &error);
        QVERIFY(!sql->contains(QStringLiteral("size")));
        QVERIFY(sql->endsWith(QStringLiteral(
            "smaterial_CategoryPossible=\"\" ,smaterial_Keywords_German=\"a,b\" ,smaterial_Description45_German=\"\" "
            ",smaterial_Description80_German=\"\" ,smaterial_Description250_German=\"1<BR>2\" "
            ",smaterial_Description450_German=\"\" ,smaterial_Description2000_German=\"\" WHERE smaterial_project_id=7")));

        // Nothing for a size that is not a number or a language that names no column.
        values.insert(QStringLiteral("smaterial_bsize"), QStringLiteral("12a"));
        QVERIFY(!SoftwareUpdateSql(values, QStringLiteral("English"), std::nullopt, 7, &error));
        QCOMPARE(error, QStringLiteral("'12a' is not a valid integer value"));
        values.insert(QStringLiteral("smaterial_bsize"), QString());
        QVERIFY(!SoftwareUpdateSql(values, QStringLiteral("English=1,x"), t, 7, &error));

        QCOMPARE(LanguageTextsUpdateSql(5, QStringLiteral("Russian"), t),
                 QStringLiteral("UPDATE smaterials SET smaterial_Keywords_Russian=\"a,b\", "
                                "smaterial_Description45_Russian=\"\", smaterial_Description80_Russian=\"\", "
                                "smaterial_Description250_Russian=\"1<BR>2\", smaterial_Description450_Russian=\"\", "
                                "smaterial_Description2000_Russian=\"\"  WHERE smaterial_id=5"));
        QCOMPARE(LanguageTextsUpdateSql(5, QStringLiteral("Urdu"), t), QString());
        QCOMPARE(SoftwareByNameSql(QStringLiteral("В \"1\""), 3),
                 QStringLiteral("SELECT * FROM smaterials WHERE smaterial_name=\"В \\\"1\\\"\" AND smaterial_project_id=3"));
        QCOMPARE(SoftwareInsertSql(QStringLiteral("v2"), 3),
                 QStringLiteral("INSERT INTO smaterials SET smaterial_name=\"v2\", smaterial_project_id=3"));
        QCOMPARE(PadSourceSql(3), QStringLiteral("SELECT * FROM smaterials WHERE  smaterial_project_id=3"));
    }
};

QTEST_MAIN(TestSoftLogic)
#include "tst_software_logic.moc"
