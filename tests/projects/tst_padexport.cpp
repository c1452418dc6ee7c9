// The PAD file built from the shipped template and parsed back as XML.
#include "projects/padcheck.h"
#include "projects/padexport.h"
#include "projects/softlists.h"
#include "support/testdb.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
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

// The public field rules of PAD 3.11 that catalogs check, one for every
// element of the shipped template: the element is there, a required one is
// not empty, and a value matches the field's pattern.
struct FieldRule {
    QString path;
    QString pattern;
    bool required;
};

const char *const kUrl = "^(https?|ftp)://[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+(:[0-9]+)?([/?#][^\\s<>\"]*)?$";
const char *const kEmail = "^[A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+$";
const char *const kLatin1 = "^[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]+$";
const char *const kLine = "^[^\\r\\n]+$";
const char *const kFree = "^[\\s\\S]*$";
const char *const kNumber = "^[0-9]+$";
const char *const kOsValue = "(Android|BlackBerry|Handheld/Mobile Other|iPhone|iPad|iPod|iTouch|Java|Linux|"
                             "Linux Console|Linux Gnome|Linux GPL|Linux Open Source|Mac OS X|Mac Other|MS-DOS|"
                             "Netware|OpenVMS|Palm|Pocket PC|Symbian|Unix|Win2000|Win7 x32|Win7 x64|Win98|"
                             "WinMobile|WinOther|WinServer|WinVista|WinVista x64|WinXP|Windows 8|"
                             "Windows Phone 7|Windows Phone 8|Windows RT|Other|Not Applicable)";
const char *const kCategory = "^(Audio|Business|Development Tools|Education|Games|Graphics|Home/Hobby|Internet|"
                              "Miscellaneous|Screen Savers|Utilities)$";

QList<FieldRule> fieldRules()
{
    const auto L = [](const char *p) { return QString::fromLatin1(p); };
    QList<FieldRule> r = {
        {"MASTER_PAD_VERSION_INFO/MASTER_PAD_VERSION", "^3\\.11$", true},
        {"MASTER_PAD_VERSION_INFO/MASTER_PAD_EDITOR", kFree, false},
        {"MASTER_PAD_VERSION_INFO/MASTER_PAD_INFO", kFree, false},
        {"Company_Info/Company_Name", kLine, true},
        {"Company_Info/Address_1", kLatin1, true},
        {"Company_Info/Address_2", kLatin1, false},
        {"Company_Info/City_Town", kLatin1, true},
        {"Company_Info/State_Province", kLatin1, false},
        {"Company_Info/Zip_Postal_Code", kLatin1, true},
        {"Company_Info/Country", kLatin1, true},
        {"Company_Info/Company_WebSite_URL", kUrl, true},
        {"Company_Info/Contact_Info/Author_First_Name", kLine, true},
        {"Company_Info/Contact_Info/Author_Last_Name", kLine, true},
        {"Company_Info/Contact_Info/Author_Email", kEmail, true},
        {"Company_Info/Contact_Info/Contact_First_Name", kLine, true},
        {"Company_Info/Contact_Info/Contact_Last_Name", kLine, true},
        {"Company_Info/Contact_Info/Contact_Email", kEmail, true},
        {"Company_Info/Support_Info/Sales_Email", kEmail, true},
        {"Company_Info/Support_Info/Support_Email", kEmail, true},
        {"Company_Info/Support_Info/General_Email", kEmail, false},
        {"Company_Info/Support_Info/Sales_Phone", kLine, false},
        {"Company_Info/Support_Info/Support_Phone", kLine, false},
        {"Company_Info/Support_Info/General_Phone", kLine, false},
        {"Company_Info/Support_Info/Fax_Phone", kLine, false},
        {"Program_Info/Program_Name", "^[^<\\r\\n]{1,40}$", true},
        {"Program_Info/Program_Version", "^[A-Za-z0-9._-]{1,15}$", true},
        {"Program_Info/Program_Release_Month", "^(0[1-9]|1[0-2])$", true},
        {"Program_Info/Program_Release_Day", "^(0[1-9]|[12][0-9]|3[01])$", true},
        {"Program_Info/Program_Release_Year", "^[0-9]{4}$", true},
        {"Program_Info/Program_Cost_Dollars", "^[0-9]+(\\.[0-9]{1,2})?$", false},
        {"Program_Info/Program_Type", "^(Shareware|Freeware|Adware|Demo|Commercial|Data Only)$", true},
        {"Program_Info/Program_Release_Status", "^(Major Update|Minor Update|New Release|Beta|Alpha|Media Only)$", true},
        {"Program_Info/Program_Install_Support",
            "^(Install and Uninstall|Install Only|No Install Support|Uninstall Only)$", true},
        {"Program_Info/Program_OS_Support", L("^") + L(kOsValue) + L("(,") + L(kOsValue) + L(")*$"), true},
        {"Program_Info/Program_Language", "^[A-Za-z]+(,[A-Za-z]+)*$", true},
        {"Program_Info/Program_Change_Info", kFree, false},
        {"Program_Info/Program_Specific_Category", kCategory, false},
        {"Program_Info/Program_Category_Class", "^(Audio & Multimedia|Business|Communications|Desktop|Development|"
            "Education|Games & Entertainment|Graphic Apps|Home & Hobby|Network & Internet|Security & Privacy|"
            "Servers|System Utilities|Web Development)::[^:].*$", true},
        {"Program_Info/Program_Category_Possible", kFree, false},
        {"Program_Info/Program_System_Requirements", kFree, false},
        {"Program_Info/File_Info/Filename_Versioned", kLine, false},
        {"Program_Info/File_Info/Filename_Previous", kLine, false},
        {"Program_Info/File_Info/Filename_Generic", kLine, false},
        {"Program_Info/File_Info/Filename_Long", kLine, false},
        {"Program_Info/File_Info/File_Size_Bytes", kNumber, true},
        {"Program_Info/File_Info/File_Size_K", "^[0-9]+(\\.[0-9]{1,2})?$", true},
        {"Program_Info/File_Info/File_Size_MB", "^[0-9]+(\\.[0-9]{1,2})?$", true},
        {"Program_Info/Expire_Info/Has_Expire_Info", "^[YN]$", true},
        {"Program_Info/Expire_Info/Expire_Count", kNumber, false},
        {"Program_Info/Expire_Info/Expire_Based_On", "^(Days|Uses|Either/Or)$", false},
        {"Program_Info/Expire_Info/Expire_Other_Info", kFree, false},
        {"Program_Info/Expire_Info/Expire_Month", "^(0[1-9]|1[0-2])$", false},
        {"Program_Info/Expire_Info/Expire_Day", "^(0[1-9]|[12][0-9]|3[01])$", false},
        {"Program_Info/Expire_Info/Expire_Year", "^[0-9]{4}$", false},
        {"Web_Info/Application_URLs/Application_Info_URL", kUrl, true},
        {"Web_Info/Application_URLs/Application_Order_URL", kUrl, false},
        {"Web_Info/Application_URLs/Application_Screenshot_URL", kUrl, false},
        {"Web_Info/Application_URLs/Application_Icon_URL", kUrl, false},
        {"Web_Info/Application_URLs/Application_XML_File_URL", kUrl, true},
        {"Web_Info/Download_URLs/Primary_Download_URL", kUrl, true},
        {"Web_Info/Download_URLs/Secondary_Download_URL", kUrl, false},
        {"Web_Info/Download_URLs/Additional_Download_URL_1", kUrl, false},
        {"Web_Info/Download_URLs/Additional_Download_URL_2", kUrl, false},
        {"Permissions/Distribution_Permissions", kFree, false},
        {"Permissions/EULA", kFree, false},
    };
    // English needs its keywords and the four short descriptions; every
    // language keeps to the lengths, the short ones on one line.
    for (const QString &lang : DescriptionLanguages()) {
        const bool english = lang == QLatin1String("English");
        const QString at = QStringLiteral("Program_Descriptions/") + lang + QLatin1Char('/');
        r << FieldRule{at + L("Keywords"), L("^[^\\r\\n]{1,250}$"), english}
          << FieldRule{at + L("Char_Desc_45"), L("^[^\\r\\n]{1,45}$"), english}
          << FieldRule{at + L("Char_Desc_80"), L("^[^\\r\\n]{1,80}$"), english}
          << FieldRule{at + L("Char_Desc_250"), L("^[^\\r\\n]{1,250}$"), english}
          << FieldRule{at + L("Char_Desc_450"), L("^[^\\r\\n]{1,450}$"), english}
          << FieldRule{at + L("Char_Desc_2000"), L("^[\\s\\S]{1,2000}$"), false};
    }
    return r;
}

// Every element of a PAD file below its root.
QSet<QString> elementsOf(const QString &xml)
{
    QSet<QString> out;
    QXmlStreamReader r(xml);
    QStringList path;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            path << r.name().toString();
            out.insert(path.mid(1).join(QLatin1Char('/')));
        } else if (r.isEndElement()) {
            path.removeLast();
        }
    }
    return out;
}

// The fields the rules reject, with their values; empty when the file passes.
QMap<QString, QString> ruleBreaks(const QString &xml)
{
    QString error;
    const QHash<QString, QString> e = parse(xml, &error);
    if (!error.isEmpty())
        return {{QStringLiteral("(xml)"), error}};
    const QSet<QString> elements = elementsOf(xml);
    QMap<QString, QString> out;
    for (const FieldRule &r : fieldRules()) {
        if (!elements.contains(r.path)) {
            out.insert(r.path, QStringLiteral("(missing)"));
            continue;
        }
        const QString value = e.value(r.path).trimmed();
        if (value.isEmpty()) {
            if (r.required)
                out.insert(r.path, value);
            continue;
        }
        if (!QRegularExpression(r.pattern).match(value).hasMatch())
            out.insert(r.path, value);
    }
    // A value of the systems' list stands there once.
    const QStringList os = e.value(QStringLiteral("Program_Info/Program_OS_Support")).split(QLatin1Char(','));
    if (QSet<QString>(os.cbegin(), os.cend()).size() != os.size())
        out.insert(QStringLiteral("Program_Info/Program_OS_Support"), os.join(QLatin1Char(',')));
    return out;
}

QString breaksText(const QMap<QString, QString> &breaks)
{
    QStringList out;
    for (auto it = breaks.cbegin(); it != breaks.cend(); ++it)
        out << it.key() + QStringLiteral(": '") + it.value() + QLatin1Char('\'');
    return out.join(QLatin1Char('\n'));
}

// A software description a catalog accepts, in the page's own stored
// spellings (every system of the page's list checked).
PadSource goodSource()
{
    PadSource s;
    auto set = [&](const char *column, const QString &value) { s.columns.insert(QString::fromLatin1(column).toLower(), value); };
    set("smaterial_company", QStringLiteral("ООО «Текстовые решения»"));
    set("smaterial_Address1", QStringLiteral("Lenina 5, Straße ß"));
    set("smaterial_City", QStringLiteral("Moskva"));
    set("smaterial_ZIP", QStringLiteral("101000"));
    set("smaterial_Country", QStringLiteral("Russia"));
    set("smaterial_URLSite", QStringLiteral("http://www.example.ru/"));
    for (const char *c : {"smaterial_AFirstName", "smaterial_CFirstName"})
        set(c, QStringLiteral("Иван"));
    for (const char *c : {"smaterial_ALastName", "smaterial_CLastName"})
        set(c, QStringLiteral("Петров"));
    for (const char *c : {"smaterial_AEmail", "smaterial_CEmail", "smaterial_SaEmail", "smaterial_SEmail"})
        set(c, QStringLiteral("sales.team@example.ru"));
    set("smaterial_softname", QStringLiteral("Tool<BR>name\x01"));
    set("smaterial_version", QStringLiteral("3.1.0-beta_2"));
    set("smaterial_releasedate", QStringLiteral("2026-03-07"));
    set("smaterial_cost", QStringLiteral("19,95"));
    set("smaterial_Type", QStringLiteral("ShareWare"));
    set("smaterial_ReleaseStatus", QStringLiteral("New Release"));
    set("smaterial_Install", QStringLiteral("Install Only"));
    set("smaterial_OS", SoftOsItems().join(QLatin1Char(',')) + QLatin1Char(','));
    set("smaterial_Languages", QStringLiteral("English,Russian,"));
    set("smaterial_Category", QStringLiteral("Scree Savers"));
    set("smaterial_CategoryClass", QStringLiteral("System Utilites::File & Disc Management"));
    set("smaterial_bsize", QStringLiteral("1050"));
    set("smaterial_URLInfo", QStringLiteral("https://www.example.ru/tool/info.html"));
    set("smaterial_URLPAD", QStringLiteral("http://www.example.ru/tool/pad.xml"));
    set("smaterial_URLDownload", QStringLiteral("http://download.example.ru:8080/tool/setup.exe?from=pad"));
    // The address fields start with a bare scheme: no address.
    for (const char *c : {"smaterial_URLOrder", "smaterial_URLScreenShot", "smaterial_URLIcon",
             "smaterial_URLSecDownload", "smaterial_URLDownload1", "smaterial_URLDownload2"})
        set(c, QStringLiteral("http://"));
    set("smaterial_Keywords_English", QStringLiteral("one<BR>two\x0b"));
    set("smaterial_Description45_English", QStringLiteral("short<BR>text\x1f"));
    set("smaterial_Description80_English", QString(80, QLatin1Char('e')));
    set("smaterial_Description250_English", QString(250, QLatin1Char('d')));
    set("smaterial_Description450_English", QStringLiteral("Описание<br>по-русски"));
    set("smaterial_Description2000_English", QStringLiteral("line 1<BR>line 2\x08"));
    set("smaterial_Description45_Russian", QString(45, QChar(0x0436)));
    return s;
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
        const PadResult pad = BuildPad(shippedTemplate(), goodSource());
        QVERIFY2(pad.error.isEmpty(), qPrintable(pad.error));
        const QMap<QString, QString> breaks = ruleBreaks(pad.text);
        QVERIFY2(breaks.isEmpty(), qPrintable(breaksText(breaks)));
        // Nothing to report after the export.
        QCOMPARE(PadProblems(pad.text), QStringList());
        QString error;
        const auto e = parse(pad.text, &error);
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Type")), QStringLiteral("Shareware"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Specific_Category")), QStringLiteral("Screen Savers"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Category_Class")), QStringLiteral("System Utilities::File & Disk Management"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_OS_Support")),
                 QStringLiteral("WinOther,Win98,Win2000,WinXP,WinServer,Unix,Linux,MS-DOS,Other,Mac Other,Mac OS X,"
                                "Palm,WinMobile,Pocket PC,BlackBerry,Symbian,Handheld/Mobile Other,OpenVMS,Netware,"
                                "Not Applicable"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Language")), QStringLiteral("English,Russian"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Cost_Dollars")), QStringLiteral("19.95"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_K")), QStringLiteral("1.03"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Name")), QStringLiteral("Tool name"));
        QCOMPARE(e.value(QStringLiteral("Program_Descriptions/English/Keywords")), QStringLiteral("one two"));
        QCOMPARE(e.value(QStringLiteral("Web_Info/Application_URLs/Application_Order_URL")), QString());
        QVERIFY(pad.text.contains(QStringLiteral("<Char_Desc_2000>line 1\r\nline 2</Char_Desc_2000>")));
    }

    // Every item of the page's systems and categories lists is written as a
    // value the format accepts; the stored texts themselves are not touched.
    void listItemsBecomeFormatValues()
    {
        const QRegularExpression os(QStringLiteral("^") + QString::fromLatin1(kOsValue) + QStringLiteral("$"));
        for (const QString &o : SoftOsItems())
            QVERIFY2(os.match(PadOsName(o)).hasMatch(), qPrintable(o + QStringLiteral(" -> ") + PadOsName(o)));
        const QRegularExpression cat(QString::fromLatin1(kCategory));
        for (const QString &c : SoftCategoryItems())
            QVERIFY2(cat.match(PadCategory(c)).hasMatch(), qPrintable(c + QStringLiteral(" -> ") + PadCategory(c)));
        for (const QString &t : SoftTypeItems())
            QVERIFY2(QRegularExpression(QStringLiteral("^(Shareware|Freeware|Adware|Demo|Commercial|Data Only)$")).match(PadProgramType(t)).hasMatch(), qPrintable(t));

        const QList<std::pair<const char *, const char *>> nearest = {{"Windows2000", "Win2000"},
            {"Windows2003", "WinServer"}, {"Win95", "WinOther"}, {"WinME", "WinOther"}, {"WinNT 3.x", "WinOther"},
            {"WinNT 4.x", "WinOther"}, {"Win 3.1x", "WinOther"}, {"Win98", "Win98"}, {"WinXP", "WinXP"},
            {"OS/2", "Other"}, {"OS/2 Warp 4", "Other"}, {"AS/400", "Other"}, {"BEOS", "Other"},
            {"Mac PPC", "Mac Other"}, {"Mas Other", "Mac Other"}, {"Palm OS 5.0", "Palm"},
            {"Handled/Mobile Other", "Handheld/Mobile Other"}, {"Not Applicable", "Not Applicable"},
            // A value already in the format's spelling stays; one it does not know is "Other".
            {"winvista x64", "WinVista x64"}, {"Haiku", "Other"}};
        for (const auto &[stored, written] : nearest)
            QCOMPARE(PadOsName(QString::fromUtf8(stored)), QString::fromUtf8(written));
        QCOMPARE(PadCategory(QStringLiteral("Home/Hobby")), QStringLiteral("Home/Hobby"));
        QCOMPARE(PadCategory(QStringLiteral("Scree Savers")), QStringLiteral("Screen Savers"));
        QCOMPARE(PadCategory(QStringLiteral("Utilites")), QStringLiteral("Utilities"));

        // Several items with one value are written once, in the list's order.
        PadSource s;
        s.columns.insert(QStringLiteral("smaterial_os"), QStringLiteral("Win95,WinME,Win98,Windows2000,OS/2,BEOS,OS/2 Warp,"));
        s.columns.insert(QStringLiteral("smaterial_category"), QStringLiteral("Home/Hobby"));
        QCOMPARE(BuildPad(QStringLiteral("%OS%|%Category%"), s).text, QStringLiteral("WinOther,Win98,Win2000,Other|Home/Hobby\r\n"));
    }

    void price_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("written");
        QTest::newRow("decimal comma") << QStringLiteral("19,95") << QStringLiteral("19.95");
        QTest::newRow("one decimal") << QStringLiteral("0,5") << QStringLiteral("0.5");
        QTest::newRow("point") << QStringLiteral("19.95") << QStringLiteral("19.95");
        QTest::newRow("whole") << QStringLiteral(" 20 ") << QStringLiteral("20");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("not a number") << QStringLiteral("$19,95") << QStringLiteral("$19,95");
    }
    void price()
    {
        QFETCH(QString, stored);
        QFETCH(QString, written);
        PadSource s;
        s.columns.insert(QStringLiteral("smaterial_cost"), stored);
        QCOMPARE(BuildPad(QStringLiteral("<Program_Cost_Dollars>%Cost%</Program_Cost_Dollars>"), s).text,
                 QStringLiteral("<Program_Cost_Dollars>") + written + QStringLiteral("</Program_Cost_Dollars>\r\n"));
    }

    // One value at a time made wrong: the fields the public rules reject are
    // exactly the ones the export's message names, each in one line that says
    // what to change.
    void messageNamesWhatTheRulesReject_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("rejected");
        QTest::addColumn<QString>("line");
        const QString longName = QString(41, QLatin1Char('n'));
        QTest::newRow("name of 41") << "smaterial_softname" << longName << QStringList{"Program_Info/Program_Name"}
                                    << "Program Info / Program Name: длиннее 40 символов";
        QTest::newRow("name of 40") << "smaterial_softname" << QString(40, QChar(0x044F)) << QStringList{} << QString();
        QTest::newRow("name with <") << "smaterial_softname" << "Tool <Pro>" << QStringList{"Program_Info/Program_Name"}
                                     << "Program Info / Program Name: содержит знак «<»";
        QTest::newRow("empty name") << "smaterial_softname" << "" << QStringList{"Program_Info/Program_Name"}
                                    << "Program Info / Program Name: не заполнено";
        QTest::newRow("version with a blank") << "smaterial_version" << "3.1 beta"
                                              << QStringList{"Program_Info/Program_Version"}
                                              << "Program Info / Program Version: допустимы только латинские буквы";
        QTest::newRow("version in Cyrillic") << "smaterial_version" << "3.1б" << QStringList{"Program_Info/Program_Version"}
                                             << "Program Info / Program Version: допустимы только латинские буквы";
        QTest::newRow("version of 16") << "smaterial_version" << "1.2.3.4.5.6.7.8a"
                                       << QStringList{"Program_Info/Program_Version"}
                                       << "Program Info / Program Version: длиннее 15 символов";
        QTest::newRow("no author email") << "smaterial_AEmail" << "" << QStringList{"Company_Info/Contact_Info/Author_Email"}
                                         << "Company / Author Info / Email: не заполнено";
        QTest::newRow("support email") << "smaterial_SEmail" << "support(at)example.ru"
                                       << QStringList{"Company_Info/Support_Info/Support_Email"}
                                       << "Company / Support Info / Support Email: «support(at)example.ru» не адрес email";
        QTest::newRow("general email") << "smaterial_GEmail" << "почта@пример.рф"
                                       << QStringList{"Company_Info/Support_Info/General_Email"}
                                       << "Company / Support Info / General Email: «почта@пример.рф» не адрес email";
        QTest::newRow("download without scheme") << "smaterial_URLDownload" << "www.example.ru/setup.exe"
                                                 << QStringList{"Web_Info/Download_URLs/Primary_Download_URL"}
                                                 << "Web Info / URL Download: «www.example.ru/setup.exe» не адрес";
        QTest::newRow("info left as http://") << "smaterial_URLInfo" << "http://"
                                              << QStringList{"Web_Info/Application_URLs/Application_Info_URL"}
                                              << "Web Info / Application Info: не заполнено";
        QTest::newRow("icon not an address") << "smaterial_URLIcon" << "http://icon"
                                             << QStringList{"Web_Info/Application_URLs/Application_Icon_URL"}
                                             << "Web Info / Icon: «http://icon» не адрес";
        QTest::newRow("city in Cyrillic") << "smaterial_City" << "Москва" << QStringList{"Company_Info/City_Town"}
                                          << "Company / City/Town: есть буквы не латиницей";
        QTest::newRow("country in Cyrillic") << "smaterial_Country" << "Russia, Россия" << QStringList{"Company_Info/Country"}
                                             << "Company / Country: есть буквы не латиницей (например «Р»)";
        QTest::newRow("no zip") << "smaterial_ZIP" << "" << QStringList{"Company_Info/Zip_Postal_Code"}
                                << "Company / Zip/Postal Code: не заполнено";
        QTest::newRow("45 of 46") << "smaterial_Description45_English" << QString(46, QLatin1Char('x'))
                                  << QStringList{"Program_Descriptions/English/Char_Desc_45"}
                                  << "Description (English) / 45 Char Desc: длиннее 45 символов (сейчас 46)";
        QTest::newRow("Russian 80 of 81") << "smaterial_Description80_Russian" << QString(81, QChar(0x0436))
                                          << QStringList{"Program_Descriptions/Russian/Char_Desc_80"}
                                          << "Description (Russian) / 80 Char Desc: длиннее 80 символов";
        QTest::newRow("2000 of 2001") << "smaterial_Description2000_German" << QString(2001, QLatin1Char('g'))
                                      << QStringList{"Program_Descriptions/German/Char_Desc_2000"}
                                      << "Description (German) / 2000 Char Desc: длиннее 2000 символов";
        QTest::newRow("no English keywords") << "smaterial_Keywords_English" << ""
                                             << QStringList{"Program_Descriptions/English/Keywords"}
                                             << "Description (English) / Keywords: не заполнено";
        QTest::newRow("price with a sign") << "smaterial_cost" << "$19" << QStringList{"Program_Info/Program_Cost_Dollars"}
                                           << "Program Info / Cost ($US): «$19» не цена";
        QTest::newRow("no systems") << "smaterial_OS" << "" << QStringList{"Program_Info/Program_OS_Support"}
                                    << "Program Info / Supported OS: не заполнено";
        QTest::newRow("no languages") << "smaterial_Languages" << "" << QStringList{"Program_Info/Program_Language"}
                                      << "Program Info / Languages: не заполнено";
        QTest::newRow("no release date") << "smaterial_releasedate" << ""
                                         << QStringList{"Program_Info/Program_Release_Day", "Program_Info/Program_Release_Month",
                                                        "Program_Info/Program_Release_Year"}
                                         << "Program Info / Release Date: не заполнено";
        QTest::newRow("no size") << "smaterial_bsize" << ""
                                 << QStringList{"Program_Info/File_Info/File_Size_Bytes", "Program_Info/File_Info/File_Size_K",
                                                "Program_Info/File_Info/File_Size_MB"}
                                 << "Program Info / Size(bytes): не заполнено";
        QTest::newRow("no category class") << "smaterial_CategoryClass" << ""
                                           << QStringList{"Program_Info/Program_Category_Class"}
                                           << "Program Info / Category Class: не заполнено";
        QTest::newRow("unknown category") << "smaterial_Category" << "Прочее"
                                          << QStringList{"Program_Info/Program_Specific_Category"}
                                          << "Additional / Specific Category: «Прочее» нет в списке";
    }
    void messageNamesWhatTheRulesReject()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QStringList, rejected);
        QFETCH(QString, line);
        PadSource s = goodSource();
        s.columns.insert(column.toLower(), value);
        const PadResult pad = BuildPad(shippedTemplate(), s);
        QVERIFY2(pad.error.isEmpty(), qPrintable(pad.error));
        const QMap<QString, QString> breaks = ruleBreaks(pad.text);
        QCOMPARE(breaks.keys(), rejected);
        const QStringList problems = PadProblems(pad.text);
        if (line.isEmpty()) {
            QCOMPARE(problems, QStringList());
            return;
        }
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].startsWith(line), qPrintable(problems[0]));
        // The one message shown lists it.
        const QString message = PadProblemsMessage(problems);
        QVERIFY(message.startsWith(QStringLiteral("PAD файл записан")));
        QVERIFY(message.contains(QStringLiteral("\n- ") + problems[0] + QLatin1Char('\n')));
    }

    // Everything wrong at once gives one line per field.
    void everyRejectedFieldIsListed()
    {
        PadSource s = goodSource();
        s.columns.insert(QStringLiteral("smaterial_softname"), QString(50, QLatin1Char('n')));
        s.columns.insert(QStringLiteral("smaterial_city"), QStringLiteral("Москва"));
        s.columns.insert(QStringLiteral("smaterial_cemail"), QStringLiteral("nobody"));
        s.columns.insert(QStringLiteral("smaterial_version"), QString());
        const PadResult pad = BuildPad(shippedTemplate(), s);
        QCOMPARE(ruleBreaks(pad.text).size(), 4);
        const QStringList problems = PadProblems(pad.text);
        QCOMPARE(problems.size(), 4);
        for (const char *field : {"Program Name", "City/Town", "Contact Info / Email", "Program Version"})
            QVERIFY2(!problems.filter(QString::fromUtf8(field)).isEmpty(), field);
        // A file that is no XML at all (an edited template) is said so.
        const QStringList broken = PadProblems(QStringLiteral("<XML_DIZ_INFO><Program_Info></XML_DIZ_INFO>"));
        QCOMPARE(broken.size(), 1);
        QVERIFY(broken[0].contains(QStringLiteral("Pad_File.xml")));
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
