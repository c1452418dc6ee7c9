#include "projects/padcheck.h"
#include "projects/softlists.h"
#include "projects/softsql.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>
#include <algorithm>
#include <deque>
#include <optional>
#include <string_view>

namespace qv::projects {

namespace {

// Which characters an element's text may hold.
enum class Chars {
    Any,     // the element's form says it all
    Text,    // anything but "<" and a tab
    Line,    // the same on one line: no line break either
    Free,    // anything but "<" (line breaks and tabs allowed)
    Address, // Latin letters, digits, Latin-1 letters, blank and . - , # / '
    State,   // Latin letters, digits, Latin-1 letters, blank and . - , /
    Country, // Latin letters, Latin-1 letters, blank and ' -
    Version, // Latin letters, digits and . _ -
    Digits,
    Decimal, // digits and "."
};

// The shape a value must have beyond its characters.
enum class Form {
    None,
    PadVersion,   // a digit, any one character, digits: "3.11"
    Email,        // 2-30 characters, "@", 2-63, ".", 2-20
    Url,          // a scheme, "://", 2-120 characters, maybe one of the extensions
    Phone,        // up to two "+", then 7-40 of digits and # * ( ) + , - . / _, blanks after any
    Month,        // 01-12
    Day,          // 01-31
    Year,         // 1900-2199
    Price,        // digits, maybe "." and two digits
    YesNo,        // Y, y, N or n
    Choice,       // one value of a list
    OsList,       // values of the systems' list, each followed by any "," and blanks
    LanguageList, // language names and commas
};

struct Rule {
    QString path;    // below the root element
    QString caption; // the page's caption of the field it comes from
    QString part;    // which part of that field, when it feeds several elements
    Chars chars = Chars::Any;
    int min = 0; // characters, with `chars`
    int max = 0;
    Form form = Form::None;
    bool optional = false; // with `form`: an empty text passes
    QStringList values;    // Choice: the values; Url: the schemes
    QStringList extensions;
    bool unchecked = false; // an element PAD 3.11 does not define
};

QString caption(const char *column) { return SoftFieldCaption(QString::fromLatin1(column)); }

QStringList list(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *item : items)
        out << QString::fromUtf8(item);
    return out;
}

const QStringList &languageValues()
{
    // clang-format off
    static const QStringList values = list({"Abkhazian", "Afar", "Afrikaans", "Albanian", "Amharic", "Arabic",
        "Armenian", "Assamese", "Aymara", "Azerbaijani", "Bashkir", "Basque", "Bengali", "Bhutani", "Bihari",
        "Bislama", "Breton", "Bulgarian", "Burmese", "Byelorussian", "Cambodian", "Catalan", "Chinese",
        "ChineseSimplified", "ChineseTraditional", "Corsican", "Croatian", "Czech", "Danish", "Dutch", "English",
        "Esperanto", "Estonian", "Faeroese", "Fiji", "Finnish", "French", "Frisian", "Gaelic", "Galician",
        "Georgian", "German", "Greek", "Greenlandic", "Guarani", "Gujarati", "Hausa", "Hebrew", "Hindi",
        "Hungarian", "Icelandic", "Indonesian", "Interlingua", "Interlingue", "Inupiak", "Irish", "Italian",
        "Japanese", "Javanese", "Kannada", "Kashmiri", "Kazakh", "Kinyarwanda", "Kirghiz", "Kirundi", "Korean",
        "Kurdish", "Laothian", "Latin", "Latvian", "Lingala", "Lithuanian", "Macedonian", "Malagasy", "Malay",
        "Malayalam", "Maltese", "Maori", "Marathi", "Moldavian", "Mongolian", "Nauru", "Nepali", "Norwegian",
        "Occitan", "Oriya", "Oromo", "Other", "Pashto", "Persian", "Polish", "Portuguese", "Punjabi", "Quechua",
        "Rhaeto-Romance", "Romanian", "Russian", "Samoan", "Sangro", "Sanskrit", "Serbian", "Serbo-Croatian",
        "Sesotho", "Setswana", "Shona", "Sindhi", "Singhalese", "Siswati", "Slovak", "Slovenian", "Somali",
        "Spanish", "Sudanese", "Swahili", "Swedish", "Tagalog", "Tajik", "Tamil", "Tatar", "Telugu", "Thai",
        "Tibetan", "Tigrinya", "Tonga", "Tsonga", "Turkish", "Turkmen", "Twi", "Ukrainian", "Urdu", "Uzbek",
        "Vietnamese", "Volapuk", "Welsh", "Wolof", "Xhosa", "Yiddish", "Yoruba", "Zulu"});
    // clang-format on
    return values;
}

QStringList categoryClassValues()
{
    const struct {
        const char *group;
        std::initializer_list<const char *> classes;
    } groups[] = {
        {"Audio & Multimedia",
         {"Audio Encoders/Decoders", "Audio File Players", "Audio File Recorders", "CD Burners", "CD Players",
          "Multimedia Creation Tools", "Music Composers", "Other", "Presentation Tools", "Rippers & Converters", "Speech",
          "Video Tools"}},
        {"Business",
         {"Accounting & Finance", "Calculators & Converters", "Databases & Tools", "Helpdesk & Remote PC",
          "Inventory & Barcoding", "Investment Tools", "Math & Scientific Tools", "Office Suites & Tools", "Other",
          "PIMS & Calendars", "Project Management", "Vertical Market Apps"}},
        {"Communications",
         {"Chat & Instant Messaging", "Dial Up & Connection Tools", "E-Mail Clients", "E-Mail List Management", "Fax Tools",
          "Newsgroup Clients", "Other Comms Tools", "Other E-Mail Tools", "Pager Tools", "Telephony", "Web/Video Cams"}},
        {"Desktop",
         {"Clocks & Alarms", "Cursors & Fonts", "Icons", "Other", "Screen Savers: Art", "Screen Savers: Cartoons",
          "Screen Savers: Nature", "Screen Savers: Other", "Screen Savers: People", "Screen Savers: Science",
          "Screen Savers: Seasonal", "Screen Savers: Vehicles", "Themes & Wallpaper"}},
        {"Development",
         {"Active X", "Basic, VB, VB DotNet", "C / C++ / C#", "Compilers & Interpreters", "Components & Libraries", "Debugging",
          "Delphi", "Help Tools", "Install & Setup", "Management & Distribution", "Other", "Source Editors"}},
        {"Education",
         {"Computer", "Dictionaries", "Geography", "Kids", "Languages", "Mathematics", "Other", "Reference Tools", "Science",
          "Teaching & Training Tools"}},
        {"Games & Entertainment",
         {"Action", "Adventure & Roleplay", "Arcade", "Board", "Card", "Casino & Gambling", "Kids", "Online Gaming", "Other",
          "Puzzle & Word Games", "Simulation", "Sports", "Strategy & War Games", "Tools & Editors"}},
        {"Graphic Apps",
         {"Animation Tools", "CAD", "Converters & Optimizers", "Editors", "Font Tools", "Gallery & Cataloging Tools",
          "Icon Tools", "Other", "Screen Capture", "Viewers"}},
        {"Home & Hobby",
         {"Astrology/Biorhythms/Mystic", "Astronomy", "Cataloging", "Food & Drink", "Genealogy", "Health & Nutrition", "Other",
          "Personal Finance", "Personal Interest", "Recreation", "Religion"}},
        {"Network & Internet",
         {"Ad Blockers", "Browser Tools", "Browsers", "Download Managers", "File Sharing/Peer to Peer", "FTP Clients",
          "Network Monitoring", "Other", "Remote Computing", "Search/Lookup Tools", "Terminal & Telnet Clients",
          "Timers & Time Synch", "Trace & Ping Tools"}},
        {"Security & Privacy",
         {"Access Control", "Anti-Spam & Anti-Spy Tools", "Anti-Virus Tools", "Covert Surveillance", "Encryption Tools", "Other",
          "Password Managers"}},
        {"Servers",
         {"Firewall & Proxy Servers", "FTP Servers", "Mail Servers", "News Servers", "Other Server Applications",
          "Telnet Servers", "Web Servers"}},
        {"System Utilities",
         {"Automation Tools", "Backup & Restore", "Benchmarking", "Clipboard Tools", "File & Disk Management", "File Compression",
          "Launchers & Task Managers", "Other", "Printer", "Registry Tools", "Shell Tools", "System Maintenance",
          "Text/Document Editors"}},
        {"Web Development",
         {"ASP & PHP", "E-Commerce", "Flash Tools", "HTML Tools", "Java & JavaScript", "Log Analysers", "Other",
          "Site Administration", "Wizards & Components", "XML/CSS Tools"}},
    };
    QStringList out;
    for (const auto &g : groups) {
        for (const char *c : g.classes)
            out << QString::fromUtf8(g.group) + QStringLiteral("::") + QString::fromUtf8(c);
    }
    return out;
}

const QStringList kDownloads = list({"air", "apk", "app", "bin", "com",  "exe", "dmg", "hqx", "gz",  "gzip", "jar", "msi", "rar",
                                     "sea", "sh",  "sis", "sit", "sitx", "tar", "taz", "tgx", "tgz", "uu",   "z",   "zip"});

Rule text(const char *path, const QString &caption, Chars chars, int min, int max)
{
    Rule r;
    r.path = QString::fromLatin1(path);
    r.caption = caption;
    r.chars = chars;
    r.min = min;
    r.max = max;
    return r;
}

Rule form(const char *path, const QString &caption, Form form, bool optional = false, QStringList values = {},
          QStringList extensions = {})
{
    Rule r;
    r.path = QString::fromLatin1(path);
    r.caption = caption;
    r.form = form;
    r.optional = optional;
    r.values = std::move(values);
    r.extensions = std::move(extensions);
    return r;
}

Rule part(Rule r, const char *part)
{
    r.part = QString::fromUtf8(part);
    return r;
}

Rule unchecked(const char *path)
{
    Rule r;
    r.path = QString::fromLatin1(path);
    r.unchecked = true;
    return r;
}

// The version of the PAD format and its editor.
QList<Rule> padVersionRules()
{
    const QString pad = QStringLiteral("Pad_File.xml, ");
    return {
        form("MASTER_PAD_VERSION_INFO/MASTER_PAD_VERSION", pad + QStringLiteral("MASTER_PAD_VERSION"), Form::PadVersion),
        text("MASTER_PAD_VERSION_INFO/MASTER_PAD_EDITOR", pad + QStringLiteral("MASTER_PAD_EDITOR"), Chars::Text, 0, 100),
        text("MASTER_PAD_VERSION_INFO/MASTER_PAD_INFO", pad + QStringLiteral("MASTER_PAD_INFO"), Chars::Text, 0, 1000),
    };
}

// The company and its contacts.
QList<Rule> companyRules()
{
    const QStringList http = list({"http"});
    return {
        text("Company_Info/Company_Name", caption("smaterial_company"), Chars::Text, 2, 40),
        text("Company_Info/Address_1", caption("smaterial_Address1"), Chars::Address, 0, 40),
        text("Company_Info/Address_2", caption("smaterial_Address2"), Chars::Address, 0, 40),
        text("Company_Info/City_Town", caption("smaterial_City"), Chars::Address, 2, 40),
        text("Company_Info/State_Province", caption("smaterial_State"), Chars::State, 0, 30),
        text("Company_Info/Zip_Postal_Code", caption("smaterial_ZIP"), Chars::Text, 0, 20),
        text("Company_Info/Country", caption("smaterial_Country"), Chars::Country, 2, 40),
        form("Company_Info/Company_WebSite_URL", caption("smaterial_URLSite"), Form::Url, false, http),
        text("Company_Info/Contact_Info/Author_First_Name", caption("smaterial_AFirstName"), Chars::Text, 2, 30),
        text("Company_Info/Contact_Info/Author_Last_Name", caption("smaterial_ALastName"), Chars::Text, 2, 30),
        form("Company_Info/Contact_Info/Author_Email", caption("smaterial_AEmail"), Form::Email),
        text("Company_Info/Contact_Info/Contact_First_Name", caption("smaterial_CFirstName"), Chars::Text, 2, 30),
        text("Company_Info/Contact_Info/Contact_Last_Name", caption("smaterial_CLastName"), Chars::Text, 2, 30),
        form("Company_Info/Contact_Info/Contact_Email", caption("smaterial_CEmail"), Form::Email),
        form("Company_Info/Support_Info/Sales_Email", caption("smaterial_SaEmail"), Form::Email),
        form("Company_Info/Support_Info/Support_Email", caption("smaterial_SEmail"), Form::Email),
        form("Company_Info/Support_Info/General_Email", caption("smaterial_GEmail"), Form::Email),
        form("Company_Info/Support_Info/Sales_Phone", caption("smaterial_SaPhone"), Form::Phone, true),
        form("Company_Info/Support_Info/Support_Phone", caption("smaterial_SPhone"), Form::Phone, true),
        form("Company_Info/Support_Info/General_Phone", caption("smaterial_GPhone"), Form::Phone, true),
        form("Company_Info/Support_Info/Fax_Phone", caption("smaterial_GFAX"), Form::Phone, true),
    };
}

// The program: name, version, release, cost, kind and categories.
QList<Rule> programRules()
{
    const QString released = caption("smaterial_releasedate");
    return {
        text("Program_Info/Program_Name", caption("smaterial_softname"), Chars::Text, 1, 40),
        text("Program_Info/Program_Version", caption("smaterial_version"), Chars::Version, 1, 15),
        part(form("Program_Info/Program_Release_Month", released, Form::Month), "месяц"),
        part(form("Program_Info/Program_Release_Day", released, Form::Day), "день"),
        part(form("Program_Info/Program_Release_Year", released, Form::Year), "год"),
        form("Program_Info/Program_Cost_Dollars", caption("smaterial_cost"), Form::Price, true),
        form("Program_Info/Program_Type", caption("smaterial_type"), Form::Choice, false,
             list({"Shareware", "Freeware", "Adware", "Demo", "Commercial", "Data Only"})),
        form("Program_Info/Program_Release_Status", caption("smaterial_releasestatus"), Form::Choice, false,
             list({"Major Update", "Minor Update", "New Release", "Beta", "Alpha", "Media Only"})),
        form("Program_Info/Program_Install_Support", caption("smaterial_install"), Form::Choice, false,
             list({"Install and Uninstall", "Install Only", "No Install Support", "Uninstall Only"})),
        form("Program_Info/Program_OS_Support", caption("smaterial_OS"), Form::OsList),
        form("Program_Info/Program_Language", caption("smaterial_Languages"), Form::LanguageList),
        text("Program_Info/Program_Change_Info", caption("smaterial_Changes"), Chars::Text, 0, 300),
        form("Program_Info/Program_Specific_Category", caption("smaterial_Category"), Form::Choice, true, PadCategoryValues()),
        form("Program_Info/Program_Category_Class", caption("smaterial_CategoryClass"), Form::Choice, false,
             categoryClassValues()),
        // Written for the old parsers; PAD 3.11 has no such elements, and
        // a validator passes over what it does not define.
        unchecked("Program_Info/Program_Category_Possible"),
        text("Program_Info/Program_System_Requirements", caption("smaterial_Req"), Chars::Text, 0, 100),
    };
}

// The file and its size.
QList<Rule> fileRules()
{
    const QString size = caption("smaterial_bsize");
    return {
        unchecked("Program_Info/File_Info/Filename_Versioned"),
        unchecked("Program_Info/File_Info/Filename_Previous"),
        unchecked("Program_Info/File_Info/Filename_Generic"),
        unchecked("Program_Info/File_Info/Filename_Long"),
        text("Program_Info/File_Info/File_Size_Bytes", size, Chars::Digits, 3, 16),
        part(text("Program_Info/File_Info/File_Size_K", size, Chars::Decimal, 1, 12), "размер в килобайтах"),
        part(text("Program_Info/File_Info/File_Size_MB", size, Chars::Decimal, 1, 8), "размер в мегабайтах"),
    };
}

// When a trial version expires.
QList<Rule> expireRules()
{
    const QString expires = caption("smaterial_ExpDate");
    return {
        form("Program_Info/Expire_Info/Has_Expire_Info", caption("smaterial_ExpExists"), Form::YesNo),
        // Its caption follows Expire_Based_On (see PadProblems).
        text("Program_Info/Expire_Info/Expire_Count", caption("smaterial_ExpDays"), Chars::Digits, 0, 15),
        form("Program_Info/Expire_Info/Expire_Based_On",
             caption("smaterial_ExpDays") + QStringLiteral(", ") + caption("smaterial_ExpUses"), Form::Choice, true,
             list({"Days", "Uses", "Either/Or"})),
        text("Program_Info/Expire_Info/Expire_Other_Info", caption("smaterial_ExpOther"), Chars::Text, 0, 100),
        part(form("Program_Info/Expire_Info/Expire_Month", expires, Form::Month, true), "месяц"),
        part(form("Program_Info/Expire_Info/Expire_Day", expires, Form::Day, true), "день"),
        part(form("Program_Info/Expire_Info/Expire_Year", expires, Form::Year, true), "год"),
    };
}

// The program's pages and downloads.
QList<Rule> webRules()
{
    const QStringList http = list({"http"});
    const QStringList images = list({"gif", "jpg", "png"});
    return {
        form("Web_Info/Application_URLs/Application_Info_URL", caption("smaterial_URLInfo"), Form::Url, false, http),
        form("Web_Info/Application_URLs/Application_Order_URL", caption("smaterial_URLOrder"), Form::Url, true,
             list({"http", "https"})),
        form("Web_Info/Application_URLs/Application_Screenshot_URL", caption("smaterial_URLScreenShot"), Form::Url, false, http,
             images),
        form("Web_Info/Application_URLs/Application_Icon_URL", caption("smaterial_URLIcon"), Form::Url, false, http, images),
        form("Web_Info/Application_URLs/Application_XML_File_URL", caption("smaterial_URLPAD"), Form::Url, false, http,
             list({"xml", "cgi", "php", "asp"})),
        form("Web_Info/Download_URLs/Primary_Download_URL", caption("smaterial_URLDownload"), Form::Url, false,
             list({"http", "ftp"}), kDownloads),
        form("Web_Info/Download_URLs/Secondary_Download_URL", caption("smaterial_URLSecDownload"), Form::Url, true,
             list({"http", "ftp"}), kDownloads),
        form("Web_Info/Download_URLs/Additional_Download_URL_1", caption("smaterial_URLDownload1"), Form::Url, true,
             list({"http", "ftp"}), kDownloads),
        form("Web_Info/Download_URLs/Additional_Download_URL_2", caption("smaterial_URLDownload2"), Form::Url, true,
             list({"http", "ftp"}), kDownloads),
    };
}

// The terms of distribution and use.
QList<Rule> permissionRules()
{
    return {
        text("Permissions/Distribution_Permissions", QStringLiteral("Distribution Agreements"), Chars::Free, 0, 2000),
        text("Permissions/EULA", QStringLiteral("End User License Agrement"), Chars::Free, 0, 20000),
    };
}

// Every element PAD 3.11 defines among those the template
// writes, with the rule of its RegEx, in the order of the template.
const QList<Rule> &rules()
{
    static const QList<Rule> r =
        padVersionRules() + companyRules() + programRules() + fileRules() + expireRules() + webRules() + permissionRules();
    return r;
}

// The rule of a per-language text ("Program_Descriptions/Russian/Char_Desc_45"),
// the same under every language; nothing for another path.
std::optional<Rule> descriptionRule(const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts[0] != QLatin1String("Program_Descriptions"))
        return std::nullopt;
    const struct {
        const char *element;
        const char *column;
        Chars chars;
        int max;
    } texts[] = {{"Keywords", "smaterial_Keywords_", Chars::Text, 250},
                 {"Char_Desc_45", "smaterial_Description45_", Chars::Line, 45},
                 {"Char_Desc_80", "smaterial_Description80_", Chars::Line, 80},
                 {"Char_Desc_250", "smaterial_Description250_", Chars::Line, 250},
                 {"Char_Desc_450", "smaterial_Description450_", Chars::Line, 450},
                 {"Char_Desc_2000", "smaterial_Description2000_", Chars::Free, 2000}};
    for (const auto &t : texts) {
        if (parts[2] == QLatin1String(t.element)) {
            Rule r;
            r.path = path;
            r.caption = SoftFieldCaption(QString::fromLatin1(t.column) + parts[1]);
            r.chars = t.chars;
            r.max = t.max;
            return r;
        }
    }
    return std::nullopt;
}

bool isAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool isLatin1Letter(char32_t c) { return c >= 0xBC && c <= 0xFF; }
bool oneOf(char32_t c, std::u16string_view marks) { return c < 0x10000 && marks.find(char16_t(c)) != marks.npos; }
bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isDigit(c.unicode()); });
}

bool allowed(Chars chars, char32_t c)
{
    switch (chars) {
    case Chars::Any: return true;
    case Chars::Text: return c != '<' && c != '\t';
    case Chars::Line: return c != '<' && c != '\t' && c != '\n' && c != '\r';
    case Chars::Free: return c != '<';
    case Chars::Address: return isAsciiLetter(c) || isDigit(c) || isLatin1Letter(c) || oneOf(c, u" .-,#/'");
    case Chars::State: return isAsciiLetter(c) || isDigit(c) || isLatin1Letter(c) || oneOf(c, u" .-,/");
    case Chars::Country: return isAsciiLetter(c) || isLatin1Letter(c) || c == ' ' || c == '\'' || c == '-';
    case Chars::Version: return isAsciiLetter(c) || isDigit(c) || c == '.' || c == '_' || c == '-';
    case Chars::Digits: return isDigit(c);
    case Chars::Decimal: return isDigit(c) || c == '.';
    }
    return false;
}

QString one(char32_t c) { return QString::fromUcs4(&c, 1); }

// A value quoted in a message: one line, cut when long.
QString quoted(const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (v.size() > 60) {
        const qsizetype cut = v[56].isHighSurrogate() ? 56 : 57;
        v = v.left(cut) + QStringLiteral("...");
    }
    return QStringLiteral("«") + v + QStringLiteral("»");
}

QString charProblem(Chars chars, char32_t c)
{
    if (c == '<')
        return QStringLiteral("содержит знак «<», уберите его");
    if (c == '\t')
        return QStringLiteral("содержит знак табуляции, уберите его");
    if (c == '\n' || c == '\r')
        return QStringLiteral("содержит перевод строки: текст пишется в одну строку");
    if (!QChar::isPrint(c))
        return QStringLiteral("содержит невидимый знак с кодом U+%1, уберите его")
            .arg(QStringLiteral("%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper());
    const bool letter = QChar::isLetter(c);
    switch (chars) {
    case Chars::Address:
    case Chars::State:
    case Chars::Country:
        if (letter)
            return QStringLiteral("есть буквы не латиницей (например «%1»): адрес пишется латинскими буквами").arg(one(c));
        return QStringLiteral("недопустимый знак «%1»: допустимы латинские буквы%2")
            .arg(one(c), chars == Chars::Address ? QStringLiteral(", цифры, пробел и знаки . - , # / '")
                         : chars == Chars::State ? QStringLiteral(", цифры, пробел и знаки . - , /")
                                                 : QStringLiteral(", пробел и знаки ' -"));
    case Chars::Version:
        return QStringLiteral("допустимы только латинские буквы, цифры и знаки «.», «_», «-» (без пробелов), "
                              "например 2.1.0");
    case Chars::Digits: return QStringLiteral("допустимы только цифры (знак «%1» лишний)").arg(one(c));
    case Chars::Decimal: return QStringLiteral("допустимы только цифры и точка (знак «%1» лишний)").arg(one(c));
    default: return QStringLiteral("недопустимый знак «%1»").arg(one(c));
    }
}

bool emailForm(const QList<uint> &s)
{
    // Any characters but a line break in three stretches: 2-30, "@", 2-63, ".", 2-20.
    if (s.contains(U'\n'))
        return false;
    const qsizetype n = s.size();
    for (qsizetype at = 2; at <= 30 && at < n; ++at) {
        if (s[at] != '@')
            continue;
        for (qsizetype dot = at + 3; dot <= at + 64 && dot < n; ++dot) {
            const qsizetype tail = n - dot - 1;
            if (s[dot] == '.' && tail >= 2 && tail <= 20)
                return true;
        }
    }
    return false;
}

bool urlForm(const QString &value, const QStringList &schemes, const QStringList &extensions)
{
    if (value.contains(QLatin1Char('\n')))
        return false;
    for (const QString &scheme : schemes) {
        const QString start = scheme + QStringLiteral("://");
        if (!value.startsWith(start))
            continue;
        const QList<uint> rest = QStringView(value).mid(start.size()).toUcs4();
        if (extensions.isEmpty())
            return rest.size() >= 2 && rest.size() <= 120;
        for (const QString &extension : extensions) {
            const QList<uint> end = (QLatin1Char('.') + extension).toUcs4();
            const qsizetype body = rest.size() - end.size();
            if (body >= 2 && body <= 120 && rest.mid(body) == end)
                return true;
        }
    }
    return false;
}

bool phoneForm(const QString &value)
{
    auto mark = [](QChar c) { return isDigit(c.unicode()) || oneOf(c.unicode(), u"#*()+,-./_"); };
    // Up to two "+" first; they may also count among the marks.
    for (int plus = 0; plus <= 2 && plus <= value.size(); ++plus) {
        if (plus > 0 && value[plus - 1] != QLatin1Char('+'))
            break;
        const QStringView rest = QStringView(value).mid(plus);
        if (rest.isEmpty())
            return true;
        if (!mark(rest[0]))
            continue;
        int marks = 0;
        bool ok = true;
        for (const QChar c : rest) {
            if (mark(c))
                ++marks;
            else if (c != QLatin1Char(' '))
                ok = false;
        }
        if (ok && marks >= 7 && marks <= 40)
            return true;
    }
    return false;
}

// A list of names (each may be followed by separators, which no name begins
// with) that covers the whole value.
bool namesCover(const QString &value, const QStringList &names, const QString &separators, bool afterNameOnly)
{
    const qsizetype n = value.size();
    QList<bool> reached(n + 1, false);
    reached[0] = true;
    for (qsizetype p = 0; p < n; ++p) {
        if (!reached[p])
            continue;
        if (!afterNameOnly && separators.contains(value[p]))
            reached[p + 1] = true;
        for (const QString &name : names) {
            if (!QStringView(value).mid(p).startsWith(name))
                continue;
            qsizetype q = p + name.size();
            reached[q] = true;
            while (afterNameOnly && q < n && separators.contains(value[q]))
                reached[++q] = true;
        }
    }
    return n > 0 && reached[n];
}

bool twoDigits(QStringView value, int low, int high)
{
    if (value.size() != 2 || !allDigits(value))
        return false;
    const int v = value.toInt();
    return v >= low && v <= high;
}

// What is wrong with a value, or nothing when the rule passes it.
QString problemOf(const Rule &rule, const QString &value)
{
    if (value.isEmpty()) {
        const bool required = rule.chars != Chars::Any ? rule.min > 0 : !rule.optional;
        return required ? QStringLiteral("не заполнено") : QString();
    }
    const QList<uint> s = value.toUcs4();
    if (rule.chars != Chars::Any) {
        for (const char32_t c : s) {
            if (!allowed(rule.chars, c))
                return charProblem(rule.chars, c);
        }
        if (s.size() < rule.min)
            return QStringLiteral("слишком коротко: нужно не меньше %1 символов (сейчас %2)").arg(rule.min).arg(s.size());
        if (s.size() > rule.max)
            return QStringLiteral("длиннее %1 символов (сейчас %2)").arg(rule.max).arg(s.size());
        return QString();
    }
    const QString v = quoted(value);
    switch (rule.form) {
    case Form::None: return QString();
    case Form::PadVersion:
        if (s.size() >= 3 && isDigit(s[0]) && s[1] != '\n'
            && std::all_of(s.begin() + 2, s.end(), [](char32_t c) { return isDigit(c); }))
            return QString();
        return v + QStringLiteral(" не номер версии PAD (нужен вид 3.11)");
    case Form::Email:
        return emailForm(s) ? QString()
                            : v
                                  + QStringLiteral(" не адрес email: нужен вид name@example.com, от 2 до 30 знаков "
                                                   "до «@»");
    case Form::Url: {
        if (urlForm(value, rule.values, rule.extensions))
            return QString();
        QString need = v + QStringLiteral(" не подходит: адрес должен начинаться с ")
                       + rule.values.join(QStringLiteral(":// или ")) + QStringLiteral("://");
        if (rule.extensions.size() > 6)
            need += QStringLiteral(", кончаться файлом программы (.exe, .zip, .msi, .rar, .dmg и подобные)");
        else if (!rule.extensions.isEmpty())
            need += QStringLiteral(", кончаться на .") + rule.extensions.join(QStringLiteral(", ."));
        return need + QStringLiteral(" и иметь от 2 до 120 знаков после «//»");
    }
    case Form::Phone:
        return phoneForm(value) ? QString()
                                : v
                                      + QStringLiteral(" не номер телефона: нужно от 7 до 40 цифр и знаков # * ( ) - "
                                                       "/ _, пробелы между ними, в начале можно «+»");
    case Form::Month: return twoDigits(value, 1, 12) ? QString() : v + QStringLiteral(" не от 01 до 12");
    case Form::Day: return twoDigits(value, 1, 31) ? QString() : v + QStringLiteral(" не от 01 до 31");
    case Form::Year:
        if (value.size() == 4 && twoDigits(QStringView(value).left(2), 19, 21) && twoDigits(QStringView(value).mid(2), 0, 99))
            return QString();
        return v + QStringLiteral(" не от 1900 до 2199");
    case Form::Price: {
        const qsizetype point = value.indexOf(QLatin1Char('.'));
        const QStringView whole = QStringView(value).left(point < 0 ? value.size() : point);
        if (!whole.isEmpty() && allDigits(whole) && (point < 0 || twoDigits(QStringView(value).mid(point + 1), 0, 99)))
            return QString();
        return v + QStringLiteral(" не цена: нужно число с точкой и двумя знаками после неё, например 19.95");
    }
    case Form::YesNo:
        return value.size() == 1 && oneOf(value[0].unicode(), u"YyNn") ? QString() : v + QStringLiteral(" не Y и не N");
    case Form::Choice:
        return rule.values.contains(value) ? QString() : v + QStringLiteral(" нет в списке значений PAD, выберите другое");
    case Form::OsList:
        return namesCover(value, PadOsValues(), QStringLiteral(", "), true)
                   ? QString()
                   : v + QStringLiteral(" не из списка систем PAD 3.11, выберите другие");
    case Form::LanguageList:
        return namesCover(value, languageValues(), QStringLiteral(","), false)
                   ? QString()
                   : v + QStringLiteral(" не из списка языков PAD, выберите другие");
    }
    return QString();
}

// The rules' patterns end in "\Z", which also passes a value whose last
// character is a line break when the rest passes.
QString problem(const Rule &rule, const QString &value)
{
    const QString found = problemOf(rule, value);
    if (!found.isEmpty() && value.endsWith(QLatin1Char('\n')) && problemOf(rule, value.chopped(1)).isEmpty())
        return QString();
    return found;
}

} // namespace

QStringList PadProblems(const QString &padText)
{
    QHash<QString, QString> text;
    QStringList elements; // in the file's order
    QXmlStreamReader reader(padText);
    QStringList path;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            path << reader.name().toString();
            const QString at = path.mid(1).join(QLatin1Char('/'));
            if (!text.contains(at))
                elements << at;
            text[at];
        } else if (reader.isCharacters() && !path.isEmpty()) {
            text[path.mid(1).join(QLatin1Char('/'))] += reader.text().toString();
        } else if (reader.isEndElement() && !path.isEmpty()) {
            path.removeLast();
        }
    }
    if (reader.hasError()) {
        return {QStringLiteral("файл не читается как XML (%1, строка %2): проверьте шаблон Pad_File.xml")
                    .arg(reader.errorString())
                    .arg(reader.lineNumber())};
    }

    // The rules in the file's order, then those of elements the file lacks.
    QList<const Rule *> order;
    QHash<QString, const Rule *> byPath;
    for (const Rule &rule : rules())
        byPath.insert(rule.path, &rule);
    std::deque<Rule> descriptions;
    for (const QString &element : elements) {
        if (const auto d = descriptionRule(element)) {
            descriptions.push_back(*d);
            order << &descriptions.back();
        } else if (const Rule *rule = byPath.take(element)) {
            order << rule;
        }
    }
    for (const Rule &rule : rules()) {
        if (byPath.contains(rule.path))
            order << &rule;
    }

    const bool byUses = text.value(QStringLiteral("Program_Info/Expire_Info/Expire_Based_On")) == QLatin1String("Uses");
    QStringList out;
    QSet<QString> named;
    for (const Rule *rule : order) {
        if (rule->unchecked)
            continue;
        QString found;
        if (!text.contains(rule->path))
            found = problem(*rule, QString()).isEmpty() ? QString() : QStringLiteral("поля нет в шаблоне Pad_File.xml");
        else
            found = problem(*rule, text.value(rule->path));
        if (found.isEmpty())
            continue;
        QString caption = rule->caption;
        if (rule->path == QLatin1String("Program_Info/Expire_Info/Expire_Count") && byUses)
            caption = SoftFieldCaption(QStringLiteral("smaterial_ExpUses"));
        // One line per field of the page, however many elements it feeds.
        if (named.contains(caption))
            continue;
        named.insert(caption);
        // A field that feeds several elements says which one, unless it is empty.
        const bool whole = rule->part.isEmpty() || text.value(rule->path).isEmpty();
        out << caption + QStringLiteral(": ") + (whole ? found : rule->part + QStringLiteral(" ") + found);
    }
    return out;
}

QString PadProblemsMessage(const QStringList &problems)
{
    return QStringLiteral("PAD файл записан, но каталоги программ его не примут из-за этих полей:\n- ")
           + problems.join(QStringLiteral("\n- "))
           + QStringLiteral("\nИсправьте их на странице «Софт описание», сохраните версию и создайте PAD файл "
                            "снова.");
}

} // namespace qv::projects
