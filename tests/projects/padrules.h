#pragma once
// The PAD 3.11 field rules as a catalog's validator applies them, written for
// the tests apart from the program's own checker: each element's RegEx as the
// format publishes it, matched against the element's text in a written
// file (an element the file lacks has the empty text), and the caption of the
// software page's field that feeds each element.
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>
#include <utility>

namespace padrules {

struct Element {
    const char *path;    // below XML_DIZ_INFO
    const char *regex;   // as the format publishes it
    const char *caption; // the software page's field
};

#define PAD_DOWNLOADS "(air|apk|app|bin|com|exe|dmg|hqx|gz|gzip|jar|msi|rar|sea|sh|sis|sit|sitx|tar|taz|tgx|tgz|uu|z|zip)"
#define PAD_EMAIL R"(^.{2,30}\@.{2,63}\..{2,20}\Z)"
#define PAD_PHONE R"(^\+{0,2}(([0-9#*()-\/_] *){7,40})?\Z)"

// Every element of PAD 3.11 that the shipped template writes.
inline const QList<Element> &elements()
{
    static const QList<Element> e = {
        {"MASTER_PAD_VERSION_INFO/MASTER_PAD_VERSION", R"(^\d.\d+\Z)", "Pad_File.xml, MASTER_PAD_VERSION"},
        {"MASTER_PAD_VERSION_INFO/MASTER_PAD_EDITOR", R"(^[^<\x09]{0,100}\Z)", "Pad_File.xml, MASTER_PAD_EDITOR"},
        {"MASTER_PAD_VERSION_INFO/MASTER_PAD_INFO", R"(^[^<\x09]{0,1000}\Z)", "Pad_File.xml, MASTER_PAD_INFO"},
        {"Company_Info/Company_Name", R"(^[^<\x09]{2,40}\Z)", "Company Info, Company Name"},
        {"Company_Info/Address_1", R"(^[a-zA-Z0-9\xbc-\xff .\-,#\/\x27]{0,40}\Z)", "Company Info, Address1"},
        {"Company_Info/Address_2", R"(^[a-zA-Z\xbc-\xff0-9 .\-,#\/\x27]{0,40}\Z)", "Company Info, Address2"},
        {"Company_Info/City_Town", R"(^[a-zA-Z\xbc-\xff0-9 .\-,#\/\x27]{2,40}\Z)", "Company Info, City/Town"},
        {"Company_Info/State_Province", R"(^[a-zA-Z\xbc-\xff0-9 .\-,\/]{0,30}\Z)", "Company Info, State/Province"},
        {"Company_Info/Zip_Postal_Code", R"(^[^<\x09]{0,20}\Z)", "Company Info, Zip/Postal Code"},
        {"Company_Info/Country", R"(^[a-z A-Z\xbc-\xff\x27-]{2,40}\Z)", "Company Info, Country"},
        {"Company_Info/Company_WebSite_URL", R"(^http:\/\/.{2,120}\Z)", "Company URL"},
        {"Company_Info/Contact_Info/Author_First_Name", R"(^[^<\x09]{2,30}\Z)", "Author Info, First Name"},
        {"Company_Info/Contact_Info/Author_Last_Name", R"(^[^<\x09]{2,30}\Z)", "Author Info, Last Name"},
        {"Company_Info/Contact_Info/Author_Email", PAD_EMAIL, "Author Info, Email"},
        {"Company_Info/Contact_Info/Contact_First_Name", R"(^[^<\x09]{2,30}\Z)", "Contact Info, First Name"},
        {"Company_Info/Contact_Info/Contact_Last_Name", R"(^[^<\x09]{2,30}\Z)", "Contact Info, Last Name"},
        {"Company_Info/Contact_Info/Contact_Email", PAD_EMAIL, "Contact Info, Email"},
        {"Company_Info/Support_Info/Sales_Email", PAD_EMAIL, "Support Info, Sales, Email"},
        {"Company_Info/Support_Info/Support_Email", PAD_EMAIL, "Support Info, Support, Email"},
        {"Company_Info/Support_Info/General_Email", PAD_EMAIL, "Support Info, General, Email"},
        {"Company_Info/Support_Info/Sales_Phone", PAD_PHONE, "Support Info, Sales, Phone"},
        {"Company_Info/Support_Info/Support_Phone", PAD_PHONE, "Support Info, Support, Phone"},
        {"Company_Info/Support_Info/General_Phone", PAD_PHONE, "Support Info, General, Phone"},
        {"Company_Info/Support_Info/Fax_Phone", PAD_PHONE, "Support Info, General, FAX"},
        {"Program_Info/Program_Name", R"(^[^<\x09]{1,40}\Z)", "Program Name"},
        {"Program_Info/Program_Version", R"(^[a-zA-Z0-9_.\-]{1,15}\Z)", "Program Version"},
        {"Program_Info/Program_Release_Month", R"(^(0[1-9]|1[0-2])\Z)", "Release Date"},
        {"Program_Info/Program_Release_Day", R"(^(0[1-9]|[12][0-9]|3[01])\Z)", "Release Date"},
        {"Program_Info/Program_Release_Year", R"(^(19|20|21)[0-9]{2}\Z)", "Release Date"},
        {"Program_Info/Program_Cost_Dollars", R"(^([0-9]+(\.[0-9]{2})?)?\Z)", "Cost ($US)"},
        {"Program_Info/Program_Type", R"(^(Shareware|Freeware|Adware|Demo|Commercial|Data Only)\Z)", "Type"},
        {"Program_Info/Program_Release_Status", R"(^(Major Update|Minor Update|New Release|Beta|Alpha|Media Only)\Z)",
         "Release Status"},
        {"Program_Info/Program_Install_Support", R"(^(Install and Uninstall|Install Only|No Install Support|Uninstall Only)\Z)",
         "Install Support"},
        {"Program_Info/Program_OS_Support",
         R"(^((Android|BlackBerry|Handheld\/Mobile Other|iPhone|iPod|iTouch|Java|Linux|Linux Console|Linux Gnome|)"
         R"(Linux GPL|Linux Open Source|Mac OS X|Mac Other|MS-DOS|Netware|OpenVMS|Palm|Pocket PC|Symbian|Unix|)"
         R"(Win2000|Win7 x32|Win7 x64|Win98|WinMobile|WinOther|WinServer|WinVista|WinVista x64|WinXP|Other|)"
         R"(Not Applicable)[, ]*)+\Z)",
         "Supported OS"},
        {"Program_Info/Program_Language",
         R"(^(Abkhazian|Afar|Afrikaans|Albanian|Amharic|Arabic|Armenian|Assamese|Aymara|Azerbaijani|Bashkir|)"
         R"(Basque|Bengali|Bhutani|Bihari|Bislama|Breton|Bulgarian|Burmese|Byelorussian|Cambodian|Catalan|)"
         R"(Chinese|ChineseSimplified|ChineseTraditional|Corsican|Croatian|Czech|Danish|Dutch|English|Esperanto|)"
         R"(Estonian|Faeroese|Fiji|Finnish|French|Frisian|Gaelic|Galician|Georgian|German|Greek|Greenlandic|)"
         R"(Guarani|Gujarati|Hausa|Hebrew|Hindi|Hungarian|Icelandic|Indonesian|Interlingua|Interlingue|Inupiak|)"
         R"(Irish|Italian|Japanese|Javanese|Kannada|Kashmiri|Kazakh|Kinyarwanda|Kirghiz|Kirundi|Korean|Kurdish|)"
         R"(Laothian|Latin|Latvian|Lingala|Lithuanian|Macedonian|Malagasy|Malay|Malayalam|Maltese|Maori|Marathi|)"
         R"(Moldavian|Mongolian|Nauru|Nepali|Norwegian|Occitan|Oriya|Oromo|Other|Pashto|Persian|Polish|)"
         R"(Portuguese|Punjabi|Quechua|Rhaeto-Romance|Romanian|Russian|Samoan|Sangro|Sanskrit|Serbian|)"
         R"(Serbo-Croatian|Sesotho|Setswana|Shona|Sindhi|Singhalese|Siswati|Slovak|Slovenian|Somali|Spanish|)"
         R"(Sudanese|Swahili|Swedish|Tagalog|Tajik|Tamil|Tatar|Telugu|Thai|Tibetan|Tigrinya|Tonga|Tsonga|)"
         R"(Turkish|Turkmen|Twi|Ukrainian|Urdu|Uzbek|Vietnamese|Volapuk|Welsh|Wolof|Xhosa|Yiddish|Yoruba|Zulu|)"
         R"(,)+\Z)",
         "Languages"},
        {"Program_Info/Program_Change_Info", R"(^[^<\x09]{0,300}\Z)", "Recent Changes"},
        {"Program_Info/Program_Specific_Category",
         R"(^(Audio|Business|Development Tools|Education|Games|Graphics|Home\/Hobby|Internet|Miscellaneous|)"
         R"(Screen Savers|Utilities)?\Z)",
         "Specific Category"},
        {"Program_Info/Program_Category_Class",
         R"(^(Audio & Multimedia::Audio Encoders\/Decoders|Audio & Multimedia::Audio File Players|)"
         R"(Audio & Multimedia::Audio File Recorders|Audio & Multimedia::CD Burners|Audio & Multimedia::CD Players|)"
         R"(Audio & Multimedia::Multimedia Creation Tools|Audio & Multimedia::Music Composers|)"
         R"(Audio & Multimedia::Other|Audio & Multimedia::Presentation Tools|)"
         R"(Audio & Multimedia::Rippers & Converters|Audio & Multimedia::Speech|Audio & Multimedia::Video Tools|)"
         R"(Business::Accounting & Finance|Business::Calculators & Converters|Business::Databases & Tools|)"
         R"(Business::Helpdesk & Remote PC|Business::Inventory & Barcoding|Business::Investment Tools|)"
         R"(Business::Math & Scientific Tools|Business::Office Suites & Tools|Business::Other|)"
         R"(Business::PIMS & Calendars|Business::Project Management|Business::Vertical Market Apps|)"
         R"(Communications::Chat & Instant Messaging|Communications::Dial Up & Connection Tools|)"
         R"(Communications::E-Mail Clients|Communications::E-Mail List Management|Communications::Fax Tools|)"
         R"(Communications::Newsgroup Clients|Communications::Other Comms Tools|Communications::Other E-Mail Tools|)"
         R"(Communications::Pager Tools|Communications::Telephony|Communications::Web\/Video Cams|)"
         R"(Desktop::Clocks & Alarms|Desktop::Cursors & Fonts|Desktop::Icons|Desktop::Other|)"
         R"(Desktop::Screen Savers: Art|Desktop::Screen Savers: Cartoons|Desktop::Screen Savers: Nature|)"
         R"(Desktop::Screen Savers: Other|Desktop::Screen Savers: People|Desktop::Screen Savers: Science|)"
         R"(Desktop::Screen Savers: Seasonal|Desktop::Screen Savers: Vehicles|Desktop::Themes & Wallpaper|)"
         R"(Development::Active X|Development::Basic, VB, VB DotNet|Development::C \/ C\+\+ \/ C\#|)"
         R"(Development::Compilers & Interpreters|Development::Components & Libraries|Development::Debugging|)"
         R"(Development::Delphi|Development::Help Tools|Development::Install & Setup|)"
         R"(Development::Management & Distribution|Development::Other|Development::Source Editors|)"
         R"(Education::Computer|Education::Dictionaries|Education::Geography|Education::Kids|)"
         R"(Education::Languages|Education::Mathematics|Education::Other|Education::Reference Tools|)"
         R"(Education::Science|Education::Teaching & Training Tools|Games & Entertainment::Action|)"
         R"(Games & Entertainment::Adventure & Roleplay|Games & Entertainment::Arcade|Games & Entertainment::Board|)"
         R"(Games & Entertainment::Card|Games & Entertainment::Casino & Gambling|Games & Entertainment::Kids|)"
         R"(Games & Entertainment::Online Gaming|Games & Entertainment::Other|)"
         R"(Games & Entertainment::Puzzle & Word Games|Games & Entertainment::Simulation|)"
         R"(Games & Entertainment::Sports|Games & Entertainment::Strategy & War Games|)"
         R"(Games & Entertainment::Tools & Editors|Graphic Apps::Animation Tools|Graphic Apps::CAD|)"
         R"(Graphic Apps::Converters & Optimizers|Graphic Apps::Editors|Graphic Apps::Font Tools|)"
         R"(Graphic Apps::Gallery & Cataloging Tools|Graphic Apps::Icon Tools|Graphic Apps::Other|)"
         R"(Graphic Apps::Screen Capture|Graphic Apps::Viewers|Home & Hobby::Astrology\/Biorhythms\/Mystic|)"
         R"(Home & Hobby::Astronomy|Home & Hobby::Cataloging|Home & Hobby::Food & Drink|Home & Hobby::Genealogy|)"
         R"(Home & Hobby::Health & Nutrition|Home & Hobby::Other|Home & Hobby::Personal Finance|)"
         R"(Home & Hobby::Personal Interest|Home & Hobby::Recreation|Home & Hobby::Religion|)"
         R"(Network & Internet::Ad Blockers|Network & Internet::Browser Tools|Network & Internet::Browsers|)"
         R"(Network & Internet::Download Managers|Network & Internet::File Sharing\/Peer to Peer|)"
         R"(Network & Internet::FTP Clients|Network & Internet::Network Monitoring|Network & Internet::Other|)"
         R"(Network & Internet::Remote Computing|Network & Internet::Search\/Lookup Tools|)"
         R"(Network & Internet::Terminal & Telnet Clients|Network & Internet::Timers & Time Synch|)"
         R"(Network & Internet::Trace & Ping Tools|Security & Privacy::Access Control|)"
         R"(Security & Privacy::Anti-Spam & Anti-Spy Tools|Security & Privacy::Anti-Virus Tools|)"
         R"(Security & Privacy::Covert Surveillance|Security & Privacy::Encryption Tools|Security & Privacy::Other|)"
         R"(Security & Privacy::Password Managers|Servers::Firewall & Proxy Servers|Servers::FTP Servers|)"
         R"(Servers::Mail Servers|Servers::News Servers|Servers::Other Server Applications|Servers::Telnet Servers|)"
         R"(Servers::Web Servers|System Utilities::Automation Tools|System Utilities::Backup & Restore|)"
         R"(System Utilities::Benchmarking|System Utilities::Clipboard Tools|System Utilities::File & Disk Management|)"
         R"(System Utilities::File Compression|System Utilities::Launchers & Task Managers|System Utilities::Other|)"
         R"(System Utilities::Printer|System Utilities::Registry Tools|System Utilities::Shell Tools|)"
         R"(System Utilities::System Maintenance|System Utilities::Text\/Document Editors|)"
         R"(Web Development::ASP & PHP|Web Development::E-Commerce|Web Development::Flash Tools|)"
         R"(Web Development::HTML Tools|Web Development::Java & JavaScript|Web Development::Log Analysers|)"
         R"(Web Development::Other|Web Development::Site Administration|Web Development::Wizards & Components|)"
         R"(Web Development::XML\/CSS Tools)\Z)",
         "Category Class"},
        {"Program_Info/Program_System_Requirements", R"(^[^<\x09]{0,100}\Z)", "System Req"},
        {"Program_Info/File_Info/File_Size_Bytes", R"(^[0-9]{3,16}\Z)", "Size(bytes)"},
        {"Program_Info/File_Info/File_Size_K", R"(^[0-9.]{1,12}\Z)", "Size(bytes)"},
        {"Program_Info/File_Info/File_Size_MB", R"(^[0-9.]{1,8}\Z)", "Size(bytes)"},
        {"Program_Info/Expire_Info/Has_Expire_Info", R"(^[YyNn]\Z)", "Has Expiration Info"},
        {"Program_Info/Expire_Info/Expire_Count", R"(^[0-9]{0,15}\Z)", "Num of Days"},
        {"Program_Info/Expire_Info/Expire_Based_On", R"(^(Days|Uses|Either\/Or)?\Z)", "Num of Days, Num of uses"},
        {"Program_Info/Expire_Info/Expire_Other_Info", R"(^[^<\x09]{0,100}\Z)", "Other Expiration Info"},
        {"Program_Info/Expire_Info/Expire_Month", R"(^(0[1-9]|1[0-2])?\Z)", "Expiration Date"},
        {"Program_Info/Expire_Info/Expire_Day", R"(^(0[1-9]|[12][0-9]|3[01])?\Z)", "Expiration Date"},
        {"Program_Info/Expire_Info/Expire_Year", R"(^((19|20|21)[0-9]{2})?\Z)", "Expiration Date"},
        {"Web_Info/Application_URLs/Application_Info_URL", R"(^http:\/\/.{2,120}\Z)", "Application Info"},
        {"Web_Info/Application_URLs/Application_Order_URL", R"(^((http|https):\/\/.{2,120})?\Z)", "Order"},
        {"Web_Info/Application_URLs/Application_Screenshot_URL", R"(^http:\/\/.{2,120}\.(gif|jpg|png)\Z)", "URL Big Screenshot"},
        {"Web_Info/Application_URLs/Application_Icon_URL", R"(^http:\/\/.{2,120}\.(gif|jpg|png)\Z)", "Icon"},
        {"Web_Info/Application_URLs/Application_XML_File_URL", R"(^http:\/\/.{2,120}\.(xml|cgi|php|asp)\Z)", "URL PAD file"},
        {"Web_Info/Download_URLs/Primary_Download_URL", R"(^(http|ftp):\/\/.{2,120}\.)" PAD_DOWNLOADS R"(\Z)", "URL Download"},
        {"Web_Info/Download_URLs/Secondary_Download_URL", R"(^((http|ftp):\/\/.{2,120}\.)" PAD_DOWNLOADS R"()?\Z)",
         "Secondary Download"},
        {"Web_Info/Download_URLs/Additional_Download_URL_1", R"(^((http|ftp):\/\/.{2,120}\.)" PAD_DOWNLOADS R"()?\Z)",
         "Additional DL URL 1"},
        {"Web_Info/Download_URLs/Additional_Download_URL_2", R"(^((http|ftp):\/\/.{2,120}\.)" PAD_DOWNLOADS R"()?\Z)",
         "Additional DL URL 2"},
        {"Permissions/Distribution_Permissions", R"(^[^<]{0,2000}\Z)", "Distribution Agreements"},
        {"Permissions/EULA", R"(^[^<]{0,20000}\Z)", "End User License Agrement"},
    };
    return e;
}

// The texts under Program_Descriptions/<language>/, the same rules for every language.
inline const QList<Element> &descriptionElements()
{
    static const QList<Element> e = {{"Keywords", R"(^[^<\x09]{0,250}\Z)", "Keywords(128)"},
                                     {"Char_Desc_45", R"(^[^<\x09\x0a\x0d]{0,45}\Z)", "45 Char Desc"},
                                     {"Char_Desc_80", R"(^[^<\x09\x0a\x0d]{0,80}\Z)", "80 Char Desc"},
                                     {"Char_Desc_250", R"(^[^<\x09\x0a\x0d]{0,250}\Z)", "250 Char Desc"},
                                     {"Char_Desc_450", R"(^[^<\x09\x0a\x0d]{0,450}\Z)", "450 Char Desc"},
                                     {"Char_Desc_2000", R"(^[^<]{0,2000}\Z)", "2000 Char Desc"}};
    return e;
}

// What the template writes that PAD 3.11 does not define (for old parsers).
inline const QStringList &outsideTheFormat()
{
    static const QStringList paths = {"Program_Info/Program_Category_Possible", "Program_Info/File_Info/Filename_Versioned",
                                      "Program_Info/File_Info/Filename_Previous", "Program_Info/File_Info/Filename_Generic",
                                      "Program_Info/File_Info/Filename_Long"};
    return paths;
}

// A software description a catalog takes, filled as a user fills the page:
// the stored columns (the page's own spellings of its lists) and what the
// export reads from the screen.
struct Description {
    QList<std::pair<const char *, QString>> columns;
    QString expDays, expUses, distributionAgreement, licenseAgreement;
};

inline Description fullDescription()
{
    Description d;
    d.columns = {{"smaterial_company", QStringLiteral("ООО «Текстовые решения»")},
                 {"smaterial_Address1", QStringLiteral("ul. Lenina 5, of. 12")},
                 {"smaterial_Address2", QStringLiteral("Straße 7/2, d'Arc #3")},
                 {"smaterial_City", QStringLiteral("Moskva")},
                 {"smaterial_State", QStringLiteral("Moskovskaya obl.")},
                 {"smaterial_ZIP", QStringLiteral("101000")},
                 {"smaterial_Country", QStringLiteral("Russian Federation")},
                 {"smaterial_URLSite", QStringLiteral("http://www.example.ru/")},
                 {"smaterial_AFirstName", QStringLiteral("Иван")},
                 {"smaterial_ALastName", QStringLiteral("Петров")},
                 {"smaterial_AEmail", QStringLiteral("ivan.petrov@example.ru")},
                 {"smaterial_CFirstName", QStringLiteral("Мария")},
                 {"smaterial_CLastName", QStringLiteral("Сидорова")},
                 {"smaterial_CEmail", QStringLiteral("contact@example.ru")},
                 {"smaterial_SaEmail", QStringLiteral("sales@example.ru")},
                 {"smaterial_SEmail", QStringLiteral("support@example.ru")},
                 {"smaterial_GEmail", QStringLiteral("info@example.ru")},
                 {"smaterial_SaPhone", QStringLiteral("+7 (495) 123-45-67")},
                 {"smaterial_SPhone", QStringLiteral("8-800-555-35-35")},
                 {"smaterial_GPhone", QStringLiteral("+7 495 1234567")},
                 {"smaterial_GFAX", QStringLiteral("+7 (495) 765-43-21")},
                 {"smaterial_softname", QStringLiteral("Text Tool")},
                 {"smaterial_version", QStringLiteral("3.1.0-beta_2")},
                 {"smaterial_releasedate", QStringLiteral("2026-03-07")},
                 {"smaterial_cost", QStringLiteral("19,95")},
                 {"smaterial_rcost", QStringLiteral("1500")},
                 {"smaterial_type", QStringLiteral("ShareWare")},
                 {"smaterial_releasestatus", QStringLiteral("New Release")},
                 {"smaterial_install", QStringLiteral("Install and Uninstall")},
                 {"smaterial_OS", QStringLiteral("Win98,WinXP,Windows2003,Linux,Mac OS X,")},
                 {"smaterial_Languages", QStringLiteral("English,Russian,")},
                 {"smaterial_Changes", QStringLiteral("Новый поиск по всем файлам; исправлены ошибки печати.")},
                 {"smaterial_Category", QStringLiteral("Utilites")},
                 {"smaterial_CategoryClass", QStringLiteral("System Utilites::Text/Document Editors")},
                 {"smaterial_CategoryPossible", QStringLiteral("Text editors, Utilities")},
                 {"smaterial_Req", QStringLiteral("Windows XP или новее, 512 МБ памяти")},
                 {"smaterial_bsize", QStringLiteral("2345678")},
                 {"smaterial_ExpExists", QStringLiteral("1")},
                 {"smaterial_ExpDays", QStringLiteral("30")},
                 {"smaterial_ExpOther", QStringLiteral("30 дней пробного периода")},
                 {"smaterial_ExpDate", QStringLiteral("2027-12-31")},
                 {"smaterial_URLInfo", QStringLiteral("http://www.example.ru/tool/")},
                 {"smaterial_URLOrder", QStringLiteral("https://secure.example.ru/order?product=tool")},
                 {"smaterial_URLScreenShot", QStringLiteral("http://www.example.ru/tool/screen.png")},
                 {"smaterial_URLIcon", QStringLiteral("http://www.example.ru/tool/icon.gif")},
                 {"smaterial_URLPAD", QStringLiteral("http://www.example.ru/tool/pad.xml")},
                 {"smaterial_URLDownload", QStringLiteral("http://www.example.ru/tool/setup.exe")},
                 {"smaterial_URLSecDownload", QStringLiteral("ftp://ftp.example.ru/pub/tool/setup.zip")},
                 {"smaterial_URLDownload1", QStringLiteral("http://mirror.example.com/tool/setup.msi")},
                 {"smaterial_URLDownload2", QStringLiteral("http://")},
                 {"smaterial_Keywords_English", QStringLiteral("text editor, notepad, search")},
                 {"smaterial_Description45_English", QStringLiteral("A fast text editor with search")},
                 {"smaterial_Description80_English", QStringLiteral("A fast text editor with search in files and spelling")},
                 {"smaterial_Description250_English",
                  QStringLiteral("Text Tool edits plain text quickly.<BR>It searches in files and checks spelling.")},
                 {"smaterial_Description450_English",
                  QStringLiteral("Text Tool edits plain text files of any size.<BR>It searches and replaces across "
                                 "folders, checks spelling in English and Russian and keeps a history of changes.")},
                 {"smaterial_Description2000_English",
                  QStringLiteral("Text Tool is a text editor.<BR><BR>Features:<BR>- search in files<BR>- spelling")},
                 {"smaterial_Keywords_Russian", QStringLiteral("редактор, текст, блокнот")},
                 {"smaterial_Description45_Russian", QStringLiteral("Быстрый текстовый редактор")},
                 {"smaterial_Description80_Russian", QStringLiteral("Быстрый текстовый редактор с поиском по файлам")},
                 {"smaterial_Description250_Russian", QStringLiteral("Редактирует текст.<BR>Ищет по файлам.")},
                 {"smaterial_Description450_Russian", QStringLiteral("Редактирует текстовые файлы любого размера.")},
                 {"smaterial_Description2000_Russian", QStringLiteral("Текстовый редактор.<BR>Поиск по файлам.")}};
    d.expDays = QStringLiteral("30");
    d.distributionAgreement = QStringLiteral("Можно распространять без изменений.\r\nБесплатно.");
    d.licenseAgreement = QStringLiteral("Лицензионное соглашение.\r\n1. Программа даётся как есть.");
    return d;
}

struct File {
    QHash<QString, QString> text; // every element's text by path, leaves and containers
    QStringList leaves;           // elements without child elements, in order
    QString error;
};

inline File read(const QString &xml)
{
    File f;
    QXmlStreamReader r(xml);
    QStringList path;
    bool hasChild = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            path << r.name().toString();
            f.text[path.mid(1).join(QLatin1Char('/'))];
            hasChild = false;
        } else if (r.isCharacters() && !path.isEmpty()) {
            f.text[path.mid(1).join(QLatin1Char('/'))] += r.text().toString();
        } else if (r.isEndElement()) {
            if (!hasChild && path.size() > 1)
                f.leaves << path.mid(1).join(QLatin1Char('/'));
            path.removeLast();
            hasChild = true;
        }
    }
    if (r.hasError())
        f.error = r.errorString();
    return f;
}

inline bool matches(const char *regex, const QString &value)
{
    const QRegularExpression re(QString::fromUtf8(regex));
    Q_ASSERT(re.isValid());
    return re.match(value).hasMatch();
}

// The rejected elements with their texts.
inline QMap<QString, QString> rejected(const File &f)
{
    QMap<QString, QString> out;
    for (const Element &e : elements()) {
        const QString path = QString::fromLatin1(e.path);
        if (!matches(e.regex, f.text.value(path)))
            out.insert(path, f.text.value(path));
    }
    for (const QString &leaf : f.leaves) {
        const QStringList parts = leaf.split(QLatin1Char('/'));
        if (parts.size() != 3 || parts[0] != QLatin1String("Program_Descriptions"))
            continue;
        for (const Element &e : descriptionElements()) {
            if (parts[2] == QLatin1String(e.path) && !matches(e.regex, f.text.value(leaf)))
                out.insert(leaf, f.text.value(leaf));
        }
    }
    return out;
}

// The page's caption of the field an element comes from.
inline QString captionOf(const File &f, const QString &path)
{
    if (path == QLatin1String("Program_Info/Expire_Info/Expire_Count")
        && f.text.value(QStringLiteral("Program_Info/Expire_Info/Expire_Based_On")) == QLatin1String("Uses"))
        return QStringLiteral("Num of uses");
    for (const Element &e : elements()) {
        if (path == QLatin1String(e.path))
            return QString::fromUtf8(e.caption);
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    for (const Element &e : descriptionElements()) {
        if (parts.size() == 3 && parts[2] == QLatin1String(e.path))
            return QString::fromUtf8(e.caption) + QStringLiteral(" (") + parts[1] + QLatin1Char(')');
    }
    return path;
}

inline QSet<QString> rejectedCaptions(const QString &xml)
{
    const File f = read(xml);
    QSet<QString> out;
    for (const QString &path : rejected(f).keys())
        out.insert(captionOf(f, path));
    return out;
}

// The fields a message names: its lines "- <caption>: <what is wrong>".
inline QSet<QString> namedCaptions(const QString &message)
{
    QSet<QString> out;
    for (const QString &line : message.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("- ")))
            out.insert(line.mid(2, line.indexOf(QStringLiteral(": ")) - 2));
    }
    return out;
}

inline QStringList sorted(const QSet<QString> &set)
{
    QStringList out(set.cbegin(), set.cend());
    out.sort();
    return out;
}

} // namespace padrules
