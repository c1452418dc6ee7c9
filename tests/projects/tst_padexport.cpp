// The PAD file built from the shipped template and parsed back as XML.
#include "projects/padexport.h"
#include "support/testdb.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QtTest>

using namespace qv::projects;

namespace {
QString shippedTemplate()
{
    QFile f(qv::test::sourcePath(QStringLiteral("data/Pad_File.xml")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Element text by path ("Program_Info/File_Info/File_Size_K"); repeated paths keep the first.
QHash<QString, QString> parse(const QString &xml, QString *error)
{
    QHash<QString, QString> out;
    QXmlStreamReader r(xml);
    QStringList path;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            path << r.name().toString();
        } else if (r.isCharacters() && !r.isWhitespace() && !path.isEmpty()) {
            const QString key = path.mid(1).join(QLatin1Char('/'));
            out[key] += r.text().toString();
        } else if (r.isEndElement()) {
            path.removeLast();
        }
    }
    if (r.hasError())
        *error = r.errorString() + QStringLiteral(" at line ") + QString::number(r.lineNumber());
    return out;
}

PadSource source()
{
    PadSource s;
    auto set = [&](const char *column, const QString &value) { s.columns.insert(QString::fromLatin1(column).toLower(), value); };
    set("smaterial_softname", QStringLiteral("Редактор «Текст» & Co <beta>"));
    set("smaterial_version", QStringLiteral("3.1"));
    set("smaterial_releasedate", QStringLiteral("2026-03-07"));
    set("smaterial_bsize", QStringLiteral("1234567"));
    set("smaterial_CategoryClass", QStringLiteral("Audio & Multimedia::Audio File Players"));
    set("smaterial_City", QStringLiteral("%Name% и \"кавычки\""));
    set("smaterial_Changes", QStringLiteral("строка 1\nстрока 2"));
    set("smaterial_Keywords_Russian", QStringLiteral("текст, редактор"));
    set("smaterial_Description45_Russian", QStringLiteral("Короткое <описание>"));
    set("smaterial_Description2000_English", QStringLiteral("Long<BR>text"));
    s.distributionAgreement = QStringLiteral("Можно & нужно");
    s.licenseAgreement = QStringLiteral("EULA 'text'");
    return s;
}
} // namespace

class TestPadExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullFileParsesBack()
    {
        const QString tpl = shippedTemplate();
        QVERIFY(!tpl.isEmpty());
        const PadResult pad = BuildPad(tpl, source());
        QVERIFY2(pad.error.isEmpty(), qPrintable(pad.error));
        QString error;
        const auto e = parse(pad.text, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Name")), QStringLiteral("Редактор «Текст» & Co <beta>"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Release_Month")), QStringLiteral("03"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Release_Day")), QStringLiteral("07"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Release_Year")), QStringLiteral("2026"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_K")), QStringLiteral("1234,567"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_MB")), QStringLiteral("1,234567"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Category_Class")), QStringLiteral("Audio & Multimedia::Audio File Players"));
        // A value holding a placeholder's name is not substituted again.
        QCOMPARE(e.value(QStringLiteral("Company_Info/City_Town")), QStringLiteral("%Name% и \"кавычки\""));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Change_Info")), QStringLiteral("строка 1\nстрока 2"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/Russian/Keywords")), QStringLiteral("текст, редактор"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/Russian/Char_Desc_45")), QStringLiteral("Короткое <описание>"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/English/Char_Desc_2000")), QStringLiteral("Long<BR>text"));
        QCOMPARE(e.value(QStringLiteral("Permissions/Distribution_Permissions")), QStringLiteral("Можно & нужно"));
        QCOMPARE(e.value(QStringLiteral("Permissions/EULA")), QStringLiteral("EULA 'text'"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Expire_Info/Has_Expire_Info")), QStringLiteral("N"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Expire_Info/Expire_Based_On")), QStringLiteral("Days"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Expire_Info/Expire_Month")), QString());
        // Every language has its block.
        for (const QString &lang : DescriptionLanguages()) {
            QVERIFY2(pad.text.contains(QLatin1Char('<') + lang + QLatin1Char('>')), qPrintable(lang));
            QVERIFY2(pad.text.contains(QStringLiteral("</") + lang + QLatin1Char('>')), qPrintable(lang));
        }
        QCOMPARE(DescriptionLanguages().size(), 23);
        // No placeholder of the template is left.
        QVERIFY(!pad.text.contains(QStringLiteral("%Version%")));
        QVERIFY(!pad.text.contains(QStringLiteral("%Description%")));
        // CR LF throughout, after the last line too.
        QVERIFY(pad.text.endsWith(QStringLiteral("</XML_DIZ_INFO>\r\n")));
        QCOMPARE(pad.text.count(QLatin1Char('\n')), pad.text.count(QStringLiteral("\r\n")));
        QCOMPARE(pad.text.count(QLatin1Char('\r')), pad.text.count(QStringLiteral("\r\n")));
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("k");
        QTest::addColumn<QString>("m");
        QTest::newRow("1005") << QStringLiteral("1005") << QStringLiteral("1,5") << QStringLiteral("0,1005");
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("over 2 GiB") << QStringLiteral("5000000123") << QStringLiteral("5000000,123") << QStringLiteral("5000,123");
    }
    void sizes()
    {
        QFETCH(QString, bytes);
        QFETCH(QString, k);
        QFETCH(QString, m);
        PadSource s;
        s.columns.insert(QStringLiteral("smaterial_bsize"), bytes);
        const PadResult pad = BuildPad(QStringLiteral("[%KSize%|%MSize%|%BSize%]"), s);
        QCOMPARE(pad.text, QStringLiteral("[") + k + QLatin1Char('|') + m + QLatin1Char('|') + bytes + QStringLiteral("]\r\n"));
    }

    void badSizeWritesNothing()
    {
        PadSource s;
        s.columns.insert(QStringLiteral("smaterial_bsize"), QStringLiteral("12a"));
        const PadResult pad = BuildPad(QStringLiteral("%KSize%"), s);
        QVERIFY(pad.text.isEmpty());
        QVERIFY(pad.error.contains(QStringLiteral("12a")));
    }

    void expiry()
    {
        PadSource s;
        s.columns.insert(QStringLiteral("smaterial_expexists"), QStringLiteral("1"));
        s.columns.insert(QStringLiteral("smaterial_expother"), QStringLiteral("trial"));
        s.columns.insert(QStringLiteral("smaterial_expdate"), QStringLiteral("0000-00-00"));
        s.expDays = QStringLiteral("30");
        s.expUses = QStringLiteral("10");
        const QString tpl = QStringLiteral("%ExpExists%|%ExpOther%|%ExpType%|%ExpCount%|%ExpDateY%-%ExpDateM%-%ExpDateD%");
        QCOMPARE(BuildPad(tpl, s).text, QStringLiteral("Y|trial|Either/Or|30|0000-00-00\r\n"));
        s.expDays.clear();
        QCOMPARE(BuildPad(tpl, s).text, QStringLiteral("Y|trial|Uses|10|0000-00-00\r\n"));
        s.expUses.clear();
        s.columns.remove(QStringLiteral("smaterial_expdate"));
        QCOMPARE(BuildPad(tpl, s).text, QStringLiteral("Y|trial|||--\r\n"));
        // An empty release date leaves empty month, day and year.
        QCOMPARE(BuildPad(QStringLiteral("%ReleaseDateM%/%ReleaseDateD%/%ReleaseDateY%"), s).text, QStringLiteral("//\r\n"));
    }

    void textOutsidePlaceholdersIsKept()
    {
        const QString tpl = QStringLiteral("100% of %Unknown% and %%\r\nline2\nline3");
        QCOMPARE(BuildPad(tpl, PadSource()).text, QStringLiteral("100% of %Unknown% and %%\r\nline2\r\nline3\r\n"));
        PadSource s;
        s.columns.insert(QStringLiteral("smaterial_version"), QStringLiteral("2"));
        QCOMPARE(BuildPad(QStringLiteral("%x%Version%"), s).text, QStringLiteral("%x2\r\n"));
    }
};

QTEST_MAIN(TestPadExport)
#include "tst_padexport.moc"
