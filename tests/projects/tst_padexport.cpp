// The PAD file built from the shipped template, parsed back as XML and
// checked against the PAD 3.11 rules.
#include "padrules.h"
#include "projects/padcheck.h"
#include "projects/padexport.h"
#include "projects/softlists.h"
#include "support/testdb.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <iterator>

using namespace qv::projects;

namespace {
QString shippedTemplate()
{
    QFile f(qv::test::sourcePath(QStringLiteral("data/Pad_File.xml")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

PadSource toSource(const padrules::Description &d)
{
    PadSource s;
    for (const auto &[column, value] : d.columns)
        s.columns.insert(QString::fromLatin1(column).toLower(), value);
    s.expDays = d.expDays;
    s.expUses = d.expUses;
    s.distributionAgreement = d.distributionAgreement;
    s.licenseAgreement = d.licenseAgreement;
    return s;
}

// One change of a description or of the template: a column, "days", "uses",
// "dagree", "lagree" (the screen) or "template" (a text of it and its replacement).
struct Change {
    const char *what;
    QString value;
    QString replaced = QString();
};

struct Variant {
    const char *name;
    QList<Change> changes;
    QStringList rejected; // the elements the rules then reject
};

QString built(PadSource s, QList<Change> changes)
{
    QString tpl = shippedTemplate();
    for (const Change &c : changes) {
        const QString what = QString::fromLatin1(c.what);
        if (what == QLatin1String("days"))
            s.expDays = c.value;
        else if (what == QLatin1String("uses"))
            s.expUses = c.value;
        else if (what == QLatin1String("dagree"))
            s.distributionAgreement = c.value;
        else if (what == QLatin1String("lagree"))
            s.licenseAgreement = c.value;
        else if (what == QLatin1String("template"))
            tpl.replace(c.value, c.replaced);
        else
            s.columns.insert(what.toLower(), c.value);
    }
    const PadResult pad = BuildPad(tpl, s);
    return pad.error.isEmpty() ? pad.text : QString();
}

// The fields the program's message names, and those the rules reject.
QString compared(const QString &xml, QStringList *named, QStringList *rejected)
{
    const QStringList problems = PadProblems(xml);
    *named = padrules::sorted(padrules::namedCaptions(problems.isEmpty() ? QString() : PadProblemsMessage(problems)));
    *rejected = padrules::sorted(padrules::rejectedCaptions(xml));
    return problems.join(QLatin1Char('\n'));
}

QString longText(int n, QChar c = QLatin1Char('x')) { return QString(n, c); }

const char *const Co = "Company_Info/";
QString P(const char *at, const char *path) { return QString::fromLatin1(at) + QString::fromLatin1(path); }
QString P(const char *path) { return QString::fromLatin1(path); }

QList<Variant> variants()
{
    const char *const Ct = "Company_Info/Contact_Info/";
    const char *const Su = "Company_Info/Support_Info/";
    const char *const Pr = "Program_Info/";
    const char *const Ex = "Program_Info/Expire_Info/";
    const char *const Fi = "Program_Info/File_Info/";
    const char *const Ap = "Web_Info/Application_URLs/";
    const char *const Dl = "Web_Info/Download_URLs/";
    const char *const Ma = "MASTER_PAD_VERSION_INFO/";
    const QString release[] = {P(Pr, "Program_Release_Month"), P(Pr, "Program_Release_Day"), P(Pr, "Program_Release_Year")};
    const QString expiry[] = {P(Ex, "Expire_Month"), P(Ex, "Expire_Day"), P(Ex, "Expire_Year")};
    const QString tooLongUrl =
        QStringLiteral("http://www.example.ru/") + longText(106, QLatin1Char('d')) + QStringLiteral(".zip");
    return {
        {"company of one", {{"smaterial_company", "A"}}, {P(Co, "Company_Name")}},
        {"company of 41", {{"smaterial_company", longText(41, QChar(0x0416))}}, {P(Co, "Company_Name")}},
        {"address with (", {{"smaterial_Address1", "Lenina 5 (office 3)"}}, {P(Co, "Address_1")}},
        {"address in Cyrillic", {{"smaterial_Address2", "кв. 5"}}, {P(Co, "Address_2")}},
        {"city of one", {{"smaterial_City", "M"}}, {P(Co, "City_Town")}},
        {"city in Cyrillic", {{"smaterial_City", "Москва"}}, {P(Co, "City_Town")}},
        {"state with #", {{"smaterial_State", "Region #5"}}, {P(Co, "State_Province")}},
        {"zip of 21", {{"smaterial_ZIP", longText(21, QLatin1Char('1'))}}, {P(Co, "Zip_Postal_Code")}},
        {"country with a digit", {{"smaterial_Country", "Russia 1"}}, {P(Co, "Country")}},
        {"site over https", {{"smaterial_URLSite", "https://www.example.ru/"}}, {P(Co, "Company_WebSite_URL")}},
        {"site left as http://", {{"smaterial_URLSite", "http://"}}, {P(Co, "Company_WebSite_URL")}},
        {"author first name of one", {{"smaterial_AFirstName", "И"}}, {P(Ct, "Author_First_Name")}},
        {"author last name of 31", {{"smaterial_ALastName", longText(31, QChar(0x0439))}}, {P(Ct, "Author_Last_Name")}},
        {"author email of one before @", {{"smaterial_AEmail", "a@example.ru"}}, {P(Ct, "Author_Email")}},
        {"contact first name with a tab", {{"smaterial_CFirstName", "Мария\tА"}}, {P(Ct, "Contact_First_Name")}},
        {"contact last name with <", {{"smaterial_CLastName", "<Сидорова>"}}, {P(Ct, "Contact_Last_Name")}},
        {"contact email without a dot", {{"smaterial_CEmail", "contact@example"}}, {P(Ct, "Contact_Email")}},
        {"no sales email", {{"smaterial_SaEmail", ""}}, {P(Su, "Sales_Email")}},
        {"support email with (at)", {{"smaterial_SEmail", "support(at)example"}}, {P(Su, "Support_Email")}},
        {"no general email", {{"smaterial_GEmail", ""}}, {P(Su, "General_Email")}},
        {"sales phone with letters", {{"smaterial_SaPhone", "+7 495 ext 5"}}, {P(Su, "Sales_Phone")}},
        {"support phone of six", {{"smaterial_SPhone", "123-45"}}, {P(Su, "Support_Phone")}},
        {"general phone after a blank", {{"smaterial_GPhone", " 4951234567"}}, {P(Su, "General_Phone")}},
        {"fax of 41 digits", {{"smaterial_GFAX", longText(41, QLatin1Char('5'))}}, {P(Su, "Fax_Phone")}},
        {"name of 41", {{"smaterial_softname", longText(41)}}, {P(Pr, "Program_Name")}},
        {"name with a tab", {{"smaterial_softname", "Text\tTool"}}, {P(Pr, "Program_Name")}},
        {"version with a blank", {{"smaterial_version", "3.1 beta"}}, {P(Pr, "Program_Version")}},
        {"version of 16", {{"smaterial_version", "1.2.3.4.5.6.7.8a"}}, {P(Pr, "Program_Version")}},
        {"no release date", {{"smaterial_releasedate", ""}}, {release[0], release[1], release[2]}},
        {"released in 1850", {{"smaterial_releasedate", "1850-03-07"}}, {release[2]}},
        {"month 13", {{"smaterial_releasedate", "2026-13-07"}}, {release[0]}},
        {"day 00", {{"smaterial_releasedate", "2026-03-00"}}, {release[1]}},
        {"price of one decimal", {{"smaterial_cost", "19,9"}}, {P(Pr, "Program_Cost_Dollars")}},
        {"price with a sign", {{"smaterial_cost", "$19"}}, {P(Pr, "Program_Cost_Dollars")}},
        {"unknown type", {{"smaterial_type", "Freeware Pro"}}, {P(Pr, "Program_Type")}},
        {"no type", {{"smaterial_type", ""}}, {P(Pr, "Program_Type")}},
        {"unknown status", {{"smaterial_releasestatus", "Final"}}, {P(Pr, "Program_Release_Status")}},
        {"unknown install", {{"smaterial_install", "Portable"}}, {P(Pr, "Program_Install_Support")}},
        {"no systems", {{"smaterial_OS", ""}}, {P(Pr, "Program_OS_Support")}},
        {"unknown language", {{"smaterial_Languages", "Klingon,English,"}}, {P(Pr, "Program_Language")}},
        {"no languages", {{"smaterial_Languages", ""}}, {P(Pr, "Program_Language")}},
        {"changes of 301", {{"smaterial_Changes", longText(301)}}, {P(Pr, "Program_Change_Info")}},
        {"unknown category", {{"smaterial_Category", "Прочее"}}, {P(Pr, "Program_Specific_Category")}},
        {"unknown class", {{"smaterial_CategoryClass", "Audio & Multimedia::Music"}}, {P(Pr, "Program_Category_Class")}},
        {"no class", {{"smaterial_CategoryClass", ""}}, {P(Pr, "Program_Category_Class")}},
        {"requirements of 101", {{"smaterial_Req", longText(101)}}, {P(Pr, "Program_System_Requirements")}},
        {"size of two digits", {{"smaterial_bsize", "12"}}, {P(Fi, "File_Size_Bytes")}},
        {"megabytes of nine", {{"smaterial_bsize", "200000000000"}}, {P(Fi, "File_Size_MB")}},
        {"kilobytes of 16", {{"smaterial_bsize", "9999999999999999"}}, {P(Fi, "File_Size_K"), P(Fi, "File_Size_MB")}},
        {"no size", {{"smaterial_bsize", ""}}, {P(Fi, "File_Size_Bytes"), P(Fi, "File_Size_K"), P(Fi, "File_Size_MB")}},
        {"days in words", {{"days", "30 дней"}}, {P(Ex, "Expire_Count")}},
        {"uses in words", {{"days", ""}, {"uses", "5 раз"}}, {P(Ex, "Expire_Count")}},
        {"expiry note of 101", {{"smaterial_ExpOther", longText(101)}}, {P(Ex, "Expire_Other_Info")}},
        {"zero expiry date", {{"smaterial_ExpDate", "0000-00-00"}}, {expiry[0], expiry[1], expiry[2]}},
        {"expires in 2250", {{"smaterial_ExpDate", "2250-12-31"}}, {expiry[2]}},
        {"info over https", {{"smaterial_URLInfo", "https://www.example.ru/tool/"}}, {P(Ap, "Application_Info_URL")}},
        {"order over ftp", {{"smaterial_URLOrder", "ftp://www.example.ru/order"}}, {P(Ap, "Application_Order_URL")}},
        {"screenshot as jpeg",
         {{"smaterial_URLScreenShot", "http://www.example.ru/s.jpeg"}},
         {P(Ap, "Application_Screenshot_URL")}},
        {"no screenshot", {{"smaterial_URLScreenShot", "http://"}}, {P(Ap, "Application_Screenshot_URL")}},
        {"icon as PNG", {{"smaterial_URLIcon", "http://www.example.ru/icon.PNG"}}, {P(Ap, "Application_Icon_URL")}},
        {"pad address with a query",
         {{"smaterial_URLPAD", "http://www.example.ru/pad.cgi?product=tool"}},
         {P(Ap, "Application_XML_File_URL")}},
        {"download over https", {{"smaterial_URLDownload", "https://www.example.ru/setup.exe"}}, {P(Dl, "Primary_Download_URL")}},
        {"secondary as 7z", {{"smaterial_URLSecDownload", "http://www.example.ru/setup.7z"}}, {P(Dl, "Secondary_Download_URL")}},
        {"download of one", {{"smaterial_URLDownload1", "http://a.zip"}}, {P(Dl, "Additional_Download_URL_1")}},
        {"download of 121", {{"smaterial_URLDownload2", tooLongUrl}}, {P(Dl, "Additional_Download_URL_2")}},
        {"keywords with a tab", {{"smaterial_Keywords_English", "text,\teditor"}}, {P("Program_Descriptions/English/Keywords")}},
        {"Russian keywords of 251",
         {{"smaterial_Keywords_Russian", longText(251, QChar(0x0436))}},
         {P("Program_Descriptions/Russian/Keywords")}},
        {"45 of 46", {{"smaterial_Description45_English", longText(46)}}, {P("Program_Descriptions/English/Char_Desc_45")}},
        {"German 80 with a tag",
         {{"smaterial_Description80_German", "<b>Ein</b> Editor"}},
         {P("Program_Descriptions/German/Char_Desc_80")}},
        {"250 with a stored line break",
         {{"smaterial_Description250_English", "line\nbreak"}},
         {P("Program_Descriptions/English/Char_Desc_250")}},
        {"Russian 450 of 451",
         {{"smaterial_Description450_Russian", longText(451, QChar(0x0436))}},
         {P("Program_Descriptions/Russian/Char_Desc_450")}},
        {"2000 of 2001",
         {{"smaterial_Description2000_English", longText(2001)}},
         {P("Program_Descriptions/English/Char_Desc_2000")}},
        {"distribution of 2001", {{"dagree", longText(2001)}}, {P("Permissions/Distribution_Permissions")}},
        {"license with a tag", {{"lagree", "<b>EULA</b>"}}, {P("Permissions/EULA")}},
        {"template version", {{"template", ">3.11<", ">v3.11<"}}, {P(Ma, "MASTER_PAD_VERSION")}},
        {"template editor with a tab", {{"template", "Quorvantile 3", "Quorvantile\t3"}}, {P(Ma, "MASTER_PAD_EDITOR")}},
        {"template comment of 1001",
         {{"template", "Portable Application Description:", longText(1001)}},
         {P(Ma, "MASTER_PAD_INFO")}},
        {"template expiry flag", {{"template", "%ExpExists%", "Yes"}}, {P(Ex, "Has_Expire_Info")}},
        {"template expiry base", {{"template", "%ExpType%", "Months"}}, {P(Ex, "Expire_Based_On")}},
        // What the rules accept stays out of the message.
        {"no English texts",
         {{"smaterial_Keywords_English", ""},
          {"smaterial_Description45_English", ""},
          {"smaterial_Description80_English", ""},
          {"smaterial_Description250_English", ""},
          {"smaterial_Description450_English", ""},
          {"smaterial_Description2000_English", ""}},
         {}},
        {"email in Cyrillic", {{"smaterial_GEmail", "почта@пример.рф"}}, {}},
        {"email with a final line break", {{"smaterial_SaEmail", "sales@example.ru\n"}}, {}},
        {"info on a host without a dot", {{"smaterial_URLInfo", "http://localhost/tool/"}}, {}},
        {"country with an accent", {{"smaterial_Country", "Côte d'Ivoire"}}, {}},
        {"name of 40", {{"smaterial_softname", longText(40, QChar(0x042F))}}, {}},
        {"type in lower case", {{"smaterial_type", "freeware"}}, {}},
        {"free of charge", {{"smaterial_cost", ""}, {"smaterial_type", "FreeWare"}}, {}},
        {"no expiry", {{"smaterial_ExpExists", "0"}}, {}},
    };
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
        const padrules::File file = padrules::read(pad.text);
        QVERIFY2(file.error.isEmpty(), qPrintable(file.error));
        const QHash<QString, QString> &e = file.text;
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Name")), QStringLiteral("Редактор «Текст» & Co <beta>"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Release_Month")), QStringLiteral("03"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Release_Day")), QStringLiteral("07"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Release_Year")), QStringLiteral("2026"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_K")), QStringLiteral("1205.63"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/File_Info/File_Size_MB")), QStringLiteral("1.18"));
        QCOMPARE(e.value(QStringLiteral("Program_Info/Program_Category_Class")),
                 QStringLiteral("Audio & Multimedia::Audio File Players"));
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

    // A description filled as a user fills it passes every rule; the file
    // carries the format's spellings of the page's lists.
    void fullDescriptionPasses()
    {
        const QString xml = built(toSource(padrules::fullDescription()), {});
        QVERIFY(!xml.isEmpty());
        const padrules::File f = padrules::read(xml);
        QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        const QMap<QString, QString> rejected = padrules::rejected(f);
        QVERIFY2(rejected.isEmpty(), qPrintable(QStringList(rejected.keys()).join(QLatin1Char(' '))));
        QCOMPARE(PadProblems(xml), QStringList());
        QCOMPARE(f.text.value(QStringLiteral("Program_Info/Program_Type")), QStringLiteral("Shareware"));
        QCOMPARE(f.text.value(QStringLiteral("Program_Info/Program_Specific_Category")), QStringLiteral("Utilities"));
        QCOMPARE(f.text.value(QStringLiteral("Program_Info/Program_Category_Class")),
                 QStringLiteral("System Utilities::Text/Document Editors"));
        QCOMPARE(f.text.value(QStringLiteral("Program_Info/Program_OS_Support")),
                 QStringLiteral("Win98,WinXP,WinServer,Linux,Mac OS X"));
        QCOMPARE(f.text.value(QStringLiteral("Program_Info/Program_Cost_Dollars")), QStringLiteral("19.95"));
        QCOMPARE(f.text.value(QStringLiteral("Program_Info/File_Info/File_Size_K")), QStringLiteral("2290.70"));
        QCOMPARE(f.text.value(QStringLiteral("Web_Info/Download_URLs/Additional_Download_URL_2")), QString());

        // Every element the template writes is one the rules know, or one
        // PAD 3.11 does not define; and every rule's element is written.
        QStringList unknown;
        for (const QString &leaf : f.leaves) {
            const bool described = leaf.startsWith(QStringLiteral("Program_Descriptions/"));
            const bool known = std::any_of(padrules::elements().cbegin(), padrules::elements().cend(),
                                           [&](const padrules::Element &e) { return leaf == QLatin1String(e.path); });
            if (!described && !known && !padrules::outsideTheFormat().contains(leaf))
                unknown << leaf;
        }
        QCOMPARE(unknown, QStringList());
        for (const padrules::Element &e : padrules::elements())
            QVERIFY2(f.leaves.contains(QLatin1String(e.path)), e.path);
        QCOMPARE(f.leaves.filter(QStringLiteral("Program_Descriptions/")).size(), 23 * 6);
    }

    // Each element made wrong alone, through the description or the
    // template: the rules reject that element only, and the message names
    // exactly the fields the rules reject, by the page's captions.
    void messageNamesWhatTheRulesReject()
    {
        const PadSource full = toSource(padrules::fullDescription());
        QSet<QString> covered;
        for (const Variant &v : variants()) {
            const QString xml = built(full, v.changes);
            QVERIFY2(!xml.isEmpty(), v.name);
            QStringList expected = v.rejected;
            expected.sort();
            const QStringList found = padrules::rejected(padrules::read(xml)).keys();
            QVERIFY2(found == expected,
                     qPrintable(QString::fromLatin1(v.name) + QStringLiteral(": ") + found.join(QLatin1Char(' '))));
            QStringList named, rejected;
            const QString problems = compared(xml, &named, &rejected);
            QVERIFY2(named == rejected, qPrintable(QString::fromLatin1(v.name) + QStringLiteral(":\n") + problems));
            for (const QString &path : v.rejected)
                covered.insert(path.startsWith(QStringLiteral("Program_Descriptions/")) ? path.section(QLatin1Char('/'), 2)
                                                                                        : path);
        }
        // Every rule is broken by some variant.
        for (const padrules::Element &e : padrules::elements())
            QVERIFY2(covered.contains(QLatin1String(e.path)), e.path);
        for (const padrules::Element &e : padrules::descriptionElements())
            QVERIFY2(covered.contains(QLatin1String(e.path)), e.path);
    }

    // Everything hostile at once: the message still names exactly what the
    // rules reject, one line per field.
    void hostileDescription()
    {
        PadSource s;
        auto set = [&](const char *column, const QString &value) {
            s.columns.insert(QString::fromLatin1(column).toLower(), value);
        };
        // clang-format off
        const char *const typed[] = {"smaterial_company", "smaterial_Address1", "smaterial_Address2", "smaterial_City",
            "smaterial_State", "smaterial_ZIP", "smaterial_Country", "smaterial_AFirstName", "smaterial_ALastName",
            "smaterial_CFirstName", "smaterial_CLastName", "smaterial_softname", "smaterial_Changes", "smaterial_Req",
            "smaterial_ExpOther", "smaterial_CategoryPossible", "smaterial_Keywords_English",
            "smaterial_Description45_Russian", "smaterial_Description2000_Greek"};
        // clang-format on
        const QString evil[] = {QStringLiteral("<script>alert('x')</script>"),
                                QStringLiteral("Ленина\t5"),
                                QStringLiteral("\x01\x02\x7f"),
                                QStringLiteral("M\n"),
                                QStringLiteral("🙂🙂 ☃"),
                                QStringLiteral("'; DROP TABLE smaterials; --") + longText(40),
                                QStringLiteral("Russia-2"),
                                QStringLiteral("\t"),
                                QStringLiteral("O'Brien"),
                                QStringLiteral("🙂").repeated(31),
                                QStringLiteral("%Name%"),
                                QString(40, QChar(0xD83D)),
                                QStringLiteral("a\r\nb\rc"),
                                QStringLiteral("&amp; &lt;b&gt;"),
                                longText(101, QLatin1Char('\'')),
                                QStringLiteral("<<<"),
                                QStringLiteral("a,b\tc<BR>d"),
                                longText(46, QChar(0x0436)),
                                QStringLiteral("α<β")};
        for (size_t i = 0; i < std::size(typed); ++i)
            set(typed[i], evil[i]);
        const QString emails[] = {QStringLiteral("a@b.c"), QStringLiteral("@@@@@@.@@"), QStringLiteral("x@y"),
                                  QStringLiteral("name@example.ru\nother@example.ru"), QStringLiteral(" \"q\"@пример.рф ")};
        const char *const emailColumns[] = {"smaterial_AEmail", "smaterial_CEmail", "smaterial_SaEmail", "smaterial_SEmail",
                                            "smaterial_GEmail"};
        for (size_t i = 0; i < std::size(emails); ++i)
            set(emailColumns[i], emails[i]);
        set("smaterial_SaPhone", QStringLiteral("++"));
        set("smaterial_SPhone", QStringLiteral("+++1234567"));
        set("smaterial_GPhone", QStringLiteral("(495) 123-45-67 доб. 5"));
        set("smaterial_GFAX", QStringLiteral("1 2 3 4 5 6 7"));
        set("smaterial_version", QStringLiteral("v3.1 β"));
        set("smaterial_releasedate", QStringLiteral("2250-13-45"));
        set("smaterial_cost", QStringLiteral("-5"));
        set("smaterial_type", QStringLiteral("Freeware' OR 1=1"));
        set("smaterial_install", QStringLiteral("Install and Uninstall "));
        set("smaterial_OS", QStringLiteral("Haiku,Windows 8,iPad,"));
        set("smaterial_Languages", QStringLiteral("English,,Russian,Klingon"));
        set("smaterial_Category", QStringLiteral("Utilities "));
        set("smaterial_CategoryClass", QStringLiteral("Web Development:XML/CSS Tools"));
        set("smaterial_bsize", QStringLiteral("-12"));
        set("smaterial_ExpExists", QStringLiteral("1"));
        set("smaterial_ExpDate", QStringLiteral("19xx-0a-3"));
        s.expDays = QStringLiteral("1e3");
        s.expUses = QStringLiteral("5");
        set("smaterial_URLSite", QStringLiteral("javascript:alert(1)"));
        set("smaterial_URLInfo", QStringLiteral("HTTP://WWW.EXAMPLE.RU/"));
        set("smaterial_URLOrder", QStringLiteral("mailto:x@y.ru"));
        set("smaterial_URLScreenShot", QStringLiteral("http://x.ru/s.gif\n"));
        set("smaterial_URLIcon", QStringLiteral("http://x.ru/\ni.png"));
        set("smaterial_URLPAD", QStringLiteral("http://x.ru/pad.xml?x=1"));
        set("smaterial_URLDownload", QStringLiteral("http://ru.zip"));
        set("smaterial_URLSecDownload", QStringLiteral("ftp://x.ru/a.zip\n"));
        set("smaterial_URLDownload1", QStringLiteral("http://") + longText(121) + QStringLiteral(".z"));
        set("smaterial_URLDownload2", QStringLiteral("http://x.ru/a.sitx"));
        set("smaterial_Description80_English", QStringLiteral("<BR>") + longText(78));
        set("smaterial_Description250_Korean", longText(250) + QStringLiteral("\n"));
        set("smaterial_Description450_Other", longText(449) + QStringLiteral("\n\n"));
        set("smaterial_Description2000_English", longText(1000, QChar(0x0436)) + QStringLiteral("<BR>") + longText(999));
        s.distributionAgreement = QStringLiteral("\t\r\n") + longText(1998);
        s.licenseAgreement = longText(20001);

        const QString xml = built(s, {});
        QVERIFY(!xml.isEmpty());
        QStringList named, rejected;
        const QString problems = compared(xml, &named, &rejected);
        QVERIFY2(rejected.size() > 30, qPrintable(rejected.join(QLatin1Char('\n'))));
        QCOMPARE(named, rejected);
        QCOMPARE(PadProblems(xml).size(), rejected.size());
        QVERIFY(!problems.contains(QStringLiteral("\x01")));
    }

    // The page's lists are written as values of the format, and the
    // program's own list of systems is PAD 3.11's.
    void listItemsBecomeFormatValues()
    {
        auto rule = [](const char *path) {
            for (const padrules::Element &e : padrules::elements()) {
                if (qstrcmp(e.path, path) == 0)
                    return e.regex;
            }
            return "";
        };
        for (const QString &o : SoftOsItems())
            QVERIFY2(padrules::matches(rule("Program_Info/Program_OS_Support"), PadOsName(o)), qPrintable(o));
        for (const QString &c : SoftCategoryItems())
            QVERIFY2(padrules::matches(rule("Program_Info/Program_Specific_Category"), PadCategory(c)), qPrintable(c));
        for (const QString &t : SoftTypeItems())
            QVERIFY2(padrules::matches(rule("Program_Info/Program_Type"), PadProgramType(t)), qPrintable(t));
        for (const QString &c : SoftCategoryClassItems()) {
            if (!c.isEmpty())
                QVERIFY2(padrules::matches(rule("Program_Info/Program_Category_Class"), PadCategoryClass(c)),
                         qPrintable(c + QStringLiteral(" -> ") + PadCategoryClass(c)));
        }
        // The systems of the format's own pattern, one by one.
        QString os = QString::fromLatin1(rule("Program_Info/Program_OS_Support"));
        os = os.mid(3, os.indexOf(QStringLiteral(")[, ]*")) - 3).replace(QStringLiteral("\\/"), QStringLiteral("/"));
        QStringList pad = os.split(QLatin1Char('|'));
        QStringList program = PadOsValues();
        pad.sort();
        program.sort();
        QCOMPARE(program, pad);
        QCOMPARE(pad.size(), 33);

        const QList<std::pair<const char *, const char *>> nearest = {
            {"Windows2000", "Win2000"},
            {"Windows2003", "WinServer"},
            {"Win95", "WinOther"},
            {"WinME", "WinOther"},
            {"WinNT 3.x", "WinOther"},
            {"WinNT 4.x", "WinOther"},
            {"Win 3.1x", "WinOther"},
            {"Win98", "Win98"},
            {"WinXP", "WinXP"},
            {"OS/2", "Other"},
            {"OS/2 Warp 4", "Other"},
            {"AS/400", "Other"},
            {"BEOS", "Other"},
            {"Mac PPC", "Mac Other"},
            {"Mas Other", "Mac Other"},
            {"Palm OS 5.0", "Palm"},
            {"Handled/Mobile Other", "Handheld/Mobile Other"},
            {"Not Applicable", "Not Applicable"},
            // A value already in the format's spelling stays; one it does not know is "Other".
            {"winvista x64", "WinVista x64"},
            {"Haiku", "Other"}};
        for (const auto &[stored, written] : nearest)
            QCOMPARE(PadOsName(QString::fromUtf8(stored)), QString::fromUtf8(written));
        QCOMPARE(PadCategory(QStringLiteral("Home/Hobby")), QStringLiteral("Home/Hobby"));
        QCOMPARE(PadCategory(QStringLiteral("Scree Savers")), QStringLiteral("Screen Savers"));
        QCOMPARE(PadCategory(QStringLiteral("Utilites")), QStringLiteral("Utilities"));

        // Several items with one value are written once, in the list's order.
        PadSource s;
        s.columns.insert(QStringLiteral("smaterial_os"), QStringLiteral("Win95,WinME,Win98,Windows2000,OS/2,BEOS,OS/2 Warp,"));
        s.columns.insert(QStringLiteral("smaterial_category"), QStringLiteral("Home/Hobby"));
        QCOMPARE(BuildPad(QStringLiteral("%OS%|%Category%"), s).text,
                 QStringLiteral("WinOther,Win98,Win2000,Other|Home/Hobby\r\n"));
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
