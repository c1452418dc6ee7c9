// The PAD file built from the shipped template and parsed back as XML.
#include "projects/padexport.h"
#include "projects/softlists.h"
#include "support/testdb.h"

#include <QFile>
#include <QRegularExpression>
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

// The format's field rules the catalogs check: the element is there and its
// value matches the pattern (an empty optional value passes).
struct FieldRule {
    const char *path;
    const char *pattern;
    bool required;
};
const FieldRule kRules[] = {
    {"Program_Info/Program_Name", "^[^\\r\\n]{1,64}$", true},
    {"Program_Info/Program_Type", "^(Shareware|Freeware|Adware|Demo|Commercial|Data Only)$", true},
    {"Program_Info/Program_Release_Status", "^(Major Update|Minor Update|New Release|Beta|Alpha|Media Only)$", true},
    {"Program_Info/Program_Install_Support", "^(Install and Uninstall|Install Only|No Install Support|Uninstall Only)$", true},
    {"Program_Info/Program_OS_Support",
     "^(Win3\\.x|Win95|Win98|WinME|WinNT 3\\.x|WinNT 4\\.x|Windows2000|WinXP|Windows2003|Unix|Linux|MS-DOS|AS/400|OS/2|"
     "OS/2 Warp|OS/2 Warp 4|Mac PPC|Mac OS X|Mac Other|Palm|Windows CE|Pocket PC|Windows Mobile 2003|Symbian|"
     "Handheld/Mobile Other|OpenVMS|Netware|BEOS|Not Applicable)(,(Win3\\.x|Win95|Win98|WinME|WinNT 3\\.x|WinNT 4\\.x|"
     "Windows2000|WinXP|Windows2003|Unix|Linux|MS-DOS|AS/400|OS/2|OS/2 Warp|OS/2 Warp 4|Mac PPC|Mac OS X|Mac Other|"
     "Palm|Windows CE|Pocket PC|Windows Mobile 2003|Symbian|Handheld/Mobile Other|OpenVMS|Netware|BEOS|"
     "Not Applicable))*$", true},
    {"Program_Info/Program_Language", "^[A-Za-z]+(,[A-Za-z]+)*$", true},
    {"Program_Info/Program_Specific_Category", "^(Audio|Business|Development Tools|Education|Games|Graphics|"
     "Home & Hobby|Internet|Miscellaneous|Screen Savers|Utilities)$", false},
    {"Program_Info/Program_Category_Class", "^(Audio & Multimedia|Business|Communications|Desktop|Development|"
     "Education|Games & Entertainment|Graphic Apps|Home & Hobby|Network & Internet|Security & Privacy|Servers|"
     "System Utilities|Web Development)::[^:].*$", true},
    {"Program_Info/File_Info/File_Size_Bytes", "^[0-9]+$", true},
    {"Program_Info/File_Info/File_Size_K", "^[0-9]+(\\.[0-9]{1,2})?$", true},
    {"Program_Info/File_Info/File_Size_MB", "^[0-9]+(\\.[0-9]{1,2})?$", true},
    {"Program_Descriptions/English/Keywords", "^[^\\r\\n<>]{0,250}$", false},
    {"Program_Descriptions/English/Char_Desc_45", "^[^\\r\\n]{0,45}$", false},
    {"Program_Descriptions/English/Char_Desc_80", "^[^\\r\\n]{0,80}$", false},
    {"Program_Descriptions/English/Char_Desc_250", "^[^\\r\\n]{0,250}$", false},
    {"Program_Descriptions/English/Char_Desc_450", "^[^\\r\\n]{0,450}$", false},
    {"Program_Descriptions/English/Char_Desc_2000", "^(?!.*<BR>)[\\s\\S]{0,2000}$", false},
};

// Every rule the file breaks, one line each; empty when the file passes.
QStringList ruleBreaks(const QString &xml)
{
    QString error;
    QHash<QString, QString> e = parse(xml, &error);
    if (!error.isEmpty())
        return {error};
    QStringList out;
    for (const FieldRule &r : kRules) {
        const QString path = QString::fromLatin1(r.path);
        const QString leaf = path.section(QLatin1Char('/'), -1);
        if (!xml.contains(QLatin1Char('<') + leaf + QLatin1Char('>'))) {
            out << path + QStringLiteral(": missing");
            continue;
        }
        const QString value = e.value(path);
        if (value.isEmpty() && !r.required)
            continue;
        const QRegularExpression re(QString::fromLatin1(r.pattern));
        if (!re.match(value).hasMatch())
            out << path + QStringLiteral(": '") + value + QLatin1Char('\'');
    }
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
    set("smaterial_Description80_Russian", QStringLiteral("одна<br>строка"));
    set("smaterial_Keywords_English", QStringLiteral("a<BR/>b"));
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
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_K")), QStringLiteral("1205.63"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_MB")), QStringLiteral("1.18"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Category_Class")), QStringLiteral("Audio & Multimedia::Audio File Players"));
        // A value holding a placeholder's name is not substituted again.
        QCOMPARE(e.value(QStringLiteral("Company_Info/City_Town")), QStringLiteral("%Name% и \"кавычки\""));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Change_Info")), QStringLiteral("строка 1\nстрока 2"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/Russian/Keywords")), QStringLiteral("текст, редактор"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/Russian/Char_Desc_45")), QStringLiteral("Короткое <описание>"));
        // The long description's break is a line break (read back as LF by the XML reader).
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/English/Char_Desc_2000")), QStringLiteral("Long\ntext"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/Russian/Char_Desc_80")), QStringLiteral("одна строка"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/English/Keywords")), QStringLiteral("a b"));
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

    // The stored spellings of the page's lists, and text with breaks and controls.
    void passesTheFormatRules()
    {
        PadSource s;
        auto set = [&](const char *column, const QString &value) { s.columns.insert(QString::fromLatin1(column).toLower(), value); };
        set("smaterial_softname", QStringLiteral("Tool<BR>name\x01"));
        set("smaterial_Type", QStringLiteral("ShareWare"));
        set("smaterial_ReleaseStatus", QStringLiteral("New Release"));
        set("smaterial_Install", QStringLiteral("Install Only"));
        set("smaterial_OS", QStringLiteral("Win 3.1x,WinXP,Palm OS 3.0,Palm OS 5.0,Mas Other,Handled/Mobile Other,"));
        set("smaterial_Languages", QStringLiteral("English,Russian,"));
        set("smaterial_Category", QStringLiteral("Scree Savers"));
        set("smaterial_CategoryClass", QStringLiteral("System Utilites::File & Disc Management"));
        set("smaterial_bsize", QStringLiteral("1050"));
        set("smaterial_Keywords_English", QStringLiteral("one<BR>two\x0b"));
        set("smaterial_Description45_English", QStringLiteral("short<BR>text\x1f"));
        set("smaterial_Description2000_English", QStringLiteral("line 1<BR>line 2\x08"));
        const PadResult pad = BuildPad(shippedTemplate(), s);
        QVERIFY2(pad.error.isEmpty(), qPrintable(pad.error));
        const QStringList breaks = ruleBreaks(pad.text);
        QVERIFY2(breaks.isEmpty(), qPrintable(breaks.join(QLatin1Char('\n'))));
        QString error;
        const auto e = parse(pad.text, &error);
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Type")), QStringLiteral("Shareware"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Specific_Category")), QStringLiteral("Screen Savers"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Category_Class")), QStringLiteral("System Utilities::File & Disk Management"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_OS_Support")), QStringLiteral("Win3.x,WinXP,Palm,Mac Other,Handheld/Mobile Other"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Language")), QStringLiteral("English,Russian"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_K")), QStringLiteral("1.03"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Name")), QStringLiteral("Tool name"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/English/Keywords")), QStringLiteral("one two"));
        QVERIFY(pad.text.contains(QStringLiteral("<Char_Desc_2000>line 1\r\nline 2</Char_Desc_2000>")));
    }

    void everyStoredItemHasAStandardSpelling()
    {
        for (const QString &t : SoftTypeItems())
            QVERIFY2(QRegularExpression(QStringLiteral("^(Shareware|Freeware|Adware|Demo|Commercial|Data Only)$")).match(PadProgramType(t)).hasMatch(), qPrintable(t));
        const QRegularExpression cls(QString::fromLatin1(kRules[7].pattern));
        for (const QString &c : SoftCategoryClassItems()) {
            if (!c.isEmpty())
                QVERIFY2(cls.match(PadCategoryClass(c)).hasMatch(), qPrintable(c));
        }
        const QRegularExpression os(QString::fromLatin1(kRules[4].pattern));
        for (const QString &o : SoftOsItems())
            QVERIFY2(os.match(PadOsName(o)).hasMatch(), qPrintable(o));
        const QRegularExpression cat(QString::fromLatin1(kRules[6].pattern));
        for (const QString &c : SoftCategoryItems())
            QVERIFY2(cat.match(PadCategory(c)).hasMatch(), qPrintable(c));
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("k");
        QTest::addColumn<QString>("m");
        QTest::newRow("1050") << QStringLiteral("1050") << QStringLiteral("1.03") << QStringLiteral("0.00");
        QTest::newRow("1 KiB") << QStringLiteral("1024") << QStringLiteral("1.00") << QStringLiteral("0.00");
        QTest::newRow("1.5 MiB") << QStringLiteral("1572864") << QStringLiteral("1536.00") << QStringLiteral("1.50");
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("over 2 GiB") << QStringLiteral("5000000123") << QStringLiteral("4882812.62") << QStringLiteral("4768.37");
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
