#include "projects/softlists.h"

#include <QHash>
#include <QSet>

namespace qv::projects {

const QStringList &SoftTypeItems()
{
    static const QStringList items = {QStringLiteral("ShareWare"), QStringLiteral("FreeWare"),  QStringLiteral("AdWare"),
                                      QStringLiteral("Demo"),      QStringLiteral("Comercial"), QStringLiteral("Data Only")};
    return items;
}

const QStringList &SoftReleaseStatusItems()
{
    static const QStringList items = {QStringLiteral("Major Update"), QStringLiteral("Minor Update"),
                                      QStringLiteral("New Release"),  QStringLiteral("Beta"),
                                      QStringLiteral("Alpha"),        QStringLiteral("Media Only")};
    return items;
}

const QStringList &SoftInstallItems()
{
    static const QStringList items = {QStringLiteral("Install and Uninstall"), QStringLiteral("Install Only"),
                                      QStringLiteral("No Install Support"), QStringLiteral("Uninstall Only")};
    return items;
}

const QStringList &SoftLanguageItems()
{
    // clang-format off
    static const QStringList items
        = {QStringLiteral("English"), QStringLiteral("Arabic"), QStringLiteral("ChineseSimplified"),
            QStringLiteral("ChineseTraditional"), QStringLiteral("Czech"), QStringLiteral("Danish"),
            QStringLiteral("Finnish"), QStringLiteral("French"), QStringLiteral("German"), QStringLiteral("Greek"),
            QStringLiteral("Hindi"), QStringLiteral("Hungarian"), QStringLiteral("Italian"), QStringLiteral("Japanese"),
            QStringLiteral("Korean"), QStringLiteral("Other"), QStringLiteral("Polish"), QStringLiteral("Portuguese"),
            QStringLiteral("Romanian"), QStringLiteral("Russian"), QStringLiteral("Spanish"), QStringLiteral("Swedish"),
            QStringLiteral("Turkish"), QStringLiteral("Urdu"), QStringLiteral("Vietnamese"), QStringLiteral("Yiddish")};
    // clang-format on
    return items;
}

const QStringList &SoftOsItems()
{
    // clang-format off
    static const QStringList items = {QStringLiteral("Win 3.1x"), QStringLiteral("Win95"), QStringLiteral("Win98"),
        QStringLiteral("WinME"), QStringLiteral("WinNT 3.x"), QStringLiteral("WinNT 4.x"),
        QStringLiteral("Windows2000"), QStringLiteral("WinXP"), QStringLiteral("Windows2003"), QStringLiteral("Unix"),
        QStringLiteral("Linux"), QStringLiteral("MS-DOS"), QStringLiteral("AS/400"), QStringLiteral("OS/2"),
        QStringLiteral("OS/2 Warp"), QStringLiteral("OS/2 Warp 4"), QStringLiteral("Mac 68k"),
        QStringLiteral("Mac PPC"), QStringLiteral("Mac OS X"), QStringLiteral("Mas Other"),
        QStringLiteral("Palm OS 1.0"), QStringLiteral("Palm OS 2.0"), QStringLiteral("Palm OS 2.1"),
        QStringLiteral("Palm OS 3.0"), QStringLiteral("Palm OS 3.1"), QStringLiteral("Palm OS 3.2"),
        QStringLiteral("Palm OS 4.0"), QStringLiteral("Palm OS 5.0"), QStringLiteral("Palm OS 6.0"),
        QStringLiteral("Windows CE"), QStringLiteral("Pocket PC"), QStringLiteral("Windows Mobile 2003"),
        QStringLiteral("RIM"), QStringLiteral("Symbian"), QStringLiteral("Handled/Mobile Other"),
        QStringLiteral("OpenVMS"), QStringLiteral("Netware"), QStringLiteral("BEOS"), QStringLiteral("Not Applicable")};
    // clang-format on
    return items;
}

const QStringList &SoftCategoryItems()
{
    static const QStringList items = {
        QStringLiteral("Audio"),        QStringLiteral("Business"), QStringLiteral("Development Tools"),
        QStringLiteral("Education"),    QStringLiteral("Games"),    QStringLiteral("Graphics"),
        QStringLiteral("Home/Hobby"),   QStringLiteral("Internet"), QStringLiteral("Miscellaneous"),
        QStringLiteral("Scree Savers"), QStringLiteral("Utilites")};
    return items;
}

const QStringList &SoftCategoryClassItems()
{
    static const QStringList items = [] {
        QStringList out;
        for (const char *c : {"Audio Encoders/Decoders", "Audio File Player", "Audio File Recorders", "CD Burnes", "CD Players",
                              "Multimedia Creation Tools", "Speech", "Video Tools"})
            out << QStringLiteral("Audio & Multimedia::") + QString::fromUtf8(c);
        for (const char *c : {"Accounting & Finance", "Calculators & Converters", "Databases & Tools", "Helpdesc & Remote PC",
                              "Inventory & Barcoding", "Investment Tools", "Math & Scientific Tools", "Office Suites & Tools",
                              "Other", "PIMS & Calendars", "Project Managment", "Vertical Market Apps"})
            out << QStringLiteral("Business::") + QString::fromUtf8(c);
        for (const char *c :
             {"Chat & Instant Messaging", "Dial Up & Connection Tools", "E-Mail Clients", "E-Mail List Management", "Fax Tools",
              "Newsgroup Clients", "Other Comms Tools", "Other E-Mail Tools", "Pager Tools", "Telephony", "Web/Video Cams"})
            out << QStringLiteral("Communications::") + QString::fromUtf8(c);
        for (const char *c :
             {"Clocks & Alarms", "Cursors & Fonts", "Icons", "Other", "Screen Savers: Art", "Screen Savers: Cartoons",
              "Screen Savers: Nature", "Screen Savers: Other", "Screen Savers: People", "Screen Savers: Science",
              "Screen Savers: Seasonal", "Screen Savers: Vehicles", "Themes & Wallpaper"})
            out << QStringLiteral("Desktop::") + QString::fromUtf8(c);
        for (const char *c :
             {"Active X", "Basic, VB, VB DotNet", "C / C++ / C#", "Compilers & Interpretes", "Components & Libraries",
              "Debugging", "Delphi", "Help Tools", "Install & Setup", "Management & Distribution", "Other", "Source Editors"})
            out << QStringLiteral("Development::") + QString::fromUtf8(c);
        for (const char *c : {"Computer", "Dictionares", "Geography", "Kids", "Languages", "Mathematics", "Other",
                              "Reference Tools", "Science", "Teaching & Training Tools"})
            out << QStringLiteral("Education::") + QString::fromUtf8(c);
        for (const char *c :
             {"Action", "Adventure & Roleplay", "Arcade", "Board", "Card", "Casino & Gambling", "Kids", "Online Gaming", "Other",
              "Puzzle & Word Games", "Simulation", "Sports", "Strategy & War Games", "Tools & Editors"})
            out << QStringLiteral("Games & Entertainment::") + QString::fromUtf8(c);
        for (const char *c : {"Animation Tools", "CAD", "Converters & Optimizers", "Editors", "Font Tools",
                              "Gallery & Cataloging Tools", "Icon Tools", "Other", "Screen Capture", "Viewers"})
            out << QStringLiteral("Graphics Apps::") + QString::fromUtf8(c);
        for (const char *c : {"Astrology/Biorhythms/Mystic", "Astronomy", "Cataloging", "Food & Drink", "Genealogy",
                              "Health & Nutrition", "Other", "Personal Finance", "Personal Interest", "Recreation", "Religion"})
            out << QStringLiteral("Home & Hobby::") + QString::fromUtf8(c);
        for (const char *c : {"Ad Blockers", "Browse Tools", "Browsers", "Download Managers", "File Sharing/Peer to Peer",
                              "FTP Clients", "Network Monitoring", "Other", "Remote Computing", "Search/Lookup Tools ",
                              "Terminal & Telnet Clients", "Timers & Time Synch", "Trace & Ping Tools"})
            out << QStringLiteral("Network & Internet::") + QString::fromUtf8(c);
        for (const char *c : {"Access Control", "Anti-Spam & Anti-Spy Tools", "Anti-Virus Tools", "Convert Surveillance",
                              "Encryption Tools", "Other", "Password Managers"})
            out << QStringLiteral("Security & Privacy::") + QString::fromUtf8(c);
        for (const char *c : {"Firewall & Proxy Servers", "FTP Servers", "Mail Servers", "News Servers",
                              "Other Server Applications", "Telnet Servers", "Web Servers"})
            out << QStringLiteral("Servers::") + QString::fromUtf8(c);
        for (const char *c : {"Automation Tools", "Backup & Restore", "Benchmarking", "Clipboard Tools", "File & Disc Management",
                              "File Compression", "Launchers & Task Managers", "Other", "Printer", "Registry Tools",
                              "Shell Tools", "System Maintenance", "Text/Document Editors"})
            out << QStringLiteral("System Utilites::") + QString::fromUtf8(c);
        for (const char *c : {"ASP & PHP", "E-Commerce", "Flash Tools", "HTML Tools", "Java & JavaScript", "Log Analysers",
                              "Other", "Site Administration", "Wizards & Components"})
            out << QStringLiteral("Web Development::") + QString::fromUtf8(c);
        out << QStringLiteral("Web Development:XML/CSS Tools") << QString() << QString();
        return out;
    }();
    return items;
}

namespace {
QString spelled(const QHash<QString, QString> &table, const QString &stored)
{
    const QString key = stored.trimmed();
    const auto found = table.constFind(key.toCaseFolded());
    return found == table.constEnd() ? key : *found;
}

QHash<QString, QString> tableOf(std::initializer_list<std::pair<const char *, const char *>> pairs)
{
    QHash<QString, QString> out;
    for (const auto &[from, to] : pairs)
        out.insert(QString::fromUtf8(from).toCaseFolded(), QString::fromUtf8(to));
    return out;
}
} // namespace

QString PadProgramType(const QString &stored)
{
    static const QHash<QString, QString> table = tableOf({{"ShareWare", "Shareware"},
                                                          {"FreeWare", "Freeware"},
                                                          {"AdWare", "Adware"},
                                                          {"Demo", "Demo"},
                                                          {"Comercial", "Commercial"},
                                                          {"Commercial", "Commercial"},
                                                          {"Data Only", "Data Only"}});
    return spelled(table, stored);
}

QString PadCategory(const QString &stored)
{
    static const QHash<QString, QString> table = tableOf({{"Scree Savers", "Screen Savers"}, {"Utilites", "Utilities"}});
    const QString key = stored.trimmed();
    const auto found = table.constFind(key.toCaseFolded());
    if (found != table.constEnd())
        return *found;
    // A value already in the format's spelling, in its own letter case; any
    // other text is kept, and the export's check names it.
    const int at = FindItemNoCase(PadCategoryValues(), key);
    return at < 0 ? key : PadCategoryValues().at(at);
}

QString PadCategoryClass(const QString &stored)
{
    static const QHash<QString, QString> groups =
        tableOf({{"Graphics Apps", "Graphic Apps"}, {"System Utilites", "System Utilities"}});
    static const QHash<QString, QString> classes = tableOf({{"Audio File Player", "Audio File Players"},
                                                            {"CD Burnes", "CD Burners"},
                                                            {"Helpdesc & Remote PC", "Helpdesk & Remote PC"},
                                                            {"Project Managment", "Project Management"},
                                                            {"Compilers & Interpretes", "Compilers & Interpreters"},
                                                            {"Dictionares", "Dictionaries"},
                                                            {"Browse Tools", "Browser Tools"},
                                                            {"Convert Surveillance", "Covert Surveillance"},
                                                            {"File & Disc Management", "File & Disk Management"}});
    const QString text = stored.trimmed();
    if (text.isEmpty())
        return text;
    // "group::class"; the one item stored with a single colon too.
    qsizetype at = text.indexOf(QStringLiteral("::"));
    qsizetype width = 2;
    if (at < 0) {
        at = text.indexOf(QLatin1Char(':'));
        width = 1;
    }
    if (at < 0)
        return spelled(groups, text);
    return spelled(groups, text.left(at)) + QStringLiteral("::") + spelled(classes, text.mid(at + width));
}

QString PadOsName(const QString &stored)
{
    // The older Windows versions go to the nearest value the format has; the
    // systems it does not list at all become "Other".
    static const QHash<QString, QString> table = tableOf({{"Win 3.1x", "WinOther"},
                                                          {"Win95", "WinOther"},
                                                          {"WinME", "WinOther"},
                                                          {"WinNT 3.x", "WinOther"},
                                                          {"WinNT 4.x", "WinOther"},
                                                          {"Windows2000", "Win2000"},
                                                          {"Windows2003", "WinServer"},
                                                          {"AS/400", "Other"},
                                                          {"OS/2", "Other"},
                                                          {"OS/2 Warp", "Other"},
                                                          {"OS/2 Warp 4", "Other"},
                                                          {"Mac 68k", "Mac Other"},
                                                          {"Mac PPC", "Mac Other"},
                                                          {"Mas Other", "Mac Other"},
                                                          {"Palm OS 1.0", "Palm"},
                                                          {"Palm OS 2.0", "Palm"},
                                                          {"Palm OS 2.1", "Palm"},
                                                          {"Palm OS 3.0", "Palm"},
                                                          {"Palm OS 3.1", "Palm"},
                                                          {"Palm OS 3.2", "Palm"},
                                                          {"Palm OS 4.0", "Palm"},
                                                          {"Palm OS 5.0", "Palm"},
                                                          {"Palm OS 6.0", "Palm"},
                                                          {"Windows CE", "WinMobile"},
                                                          {"Windows Mobile 2003", "WinMobile"},
                                                          {"RIM", "BlackBerry"},
                                                          {"Handled/Mobile Other", "Handheld/Mobile Other"},
                                                          {"BEOS", "Other"}});
    const QString key = stored.trimmed();
    if (key.isEmpty())
        return key;
    const auto found = table.constFind(key.toCaseFolded());
    if (found != table.constEnd())
        return *found;
    const int at = FindItemNoCase(PadOsValues(), key);
    return at < 0 ? QStringLiteral("Other") : PadOsValues().at(at);
}

const QStringList &PadOsValues()
{
    // The systems' list of PAD 3.11, in its own order.
    static const QStringList values = {
        QStringLiteral("Android"),     QStringLiteral("BlackBerry"), QStringLiteral("Handheld/Mobile Other"),
        QStringLiteral("iPhone"),      QStringLiteral("iPod"),       QStringLiteral("iTouch"),
        QStringLiteral("Java"),        QStringLiteral("Linux"),      QStringLiteral("Linux Console"),
        QStringLiteral("Linux Gnome"), QStringLiteral("Linux GPL"),  QStringLiteral("Linux Open Source"),
        QStringLiteral("Mac OS X"),    QStringLiteral("Mac Other"),  QStringLiteral("MS-DOS"),
        QStringLiteral("Netware"),     QStringLiteral("OpenVMS"),    QStringLiteral("Palm"),
        QStringLiteral("Pocket PC"),   QStringLiteral("Symbian"),    QStringLiteral("Unix"),
        QStringLiteral("Win2000"),     QStringLiteral("Win7 x32"),   QStringLiteral("Win7 x64"),
        QStringLiteral("Win98"),       QStringLiteral("WinMobile"),  QStringLiteral("WinOther"),
        QStringLiteral("WinServer"),   QStringLiteral("WinVista"),   QStringLiteral("WinVista x64"),
        QStringLiteral("WinXP"),       QStringLiteral("Other"),      QStringLiteral("Not Applicable")};
    return values;
}

const QStringList &PadCategoryValues()
{
    static const QStringList values = {
        QStringLiteral("Audio"),         QStringLiteral("Business"), QStringLiteral("Development Tools"),
        QStringLiteral("Education"),     QStringLiteral("Games"),    QStringLiteral("Graphics"),
        QStringLiteral("Home/Hobby"),    QStringLiteral("Internet"), QStringLiteral("Miscellaneous"),
        QStringLiteral("Screen Savers"), QStringLiteral("Utilities")};
    return values;
}

int FindItemNoCase(const QStringList &items, const QString &value)
{
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].compare(value, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

QString CheckedItemsText(const QStringList &items, const QList<bool> &checked)
{
    QString out;
    for (qsizetype i = 0; i < items.size() && i < checked.size(); ++i) {
        if (checked[i])
            out += items[i] + QLatin1Char(',');
    }
    return out;
}

QList<bool> CheckedItemsFromText(const QStringList &items, const QString &stored)
{
    QSet<QString> parts;
    for (const QString &part : stored.split(QLatin1Char(','))) {
        const QString p = part.trimmed().toCaseFolded();
        if (!p.isEmpty())
            parts.insert(p);
    }
    QList<bool> checked;
    checked.reserve(items.size());
    for (const QString &item : items)
        checked << parts.contains(item.trimmed().toCaseFolded());
    return checked;
}

} // namespace qv::projects
