#include "projects/padcheck.h"
#include "projects/padexport.h"
#include "projects/softlists.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

namespace qv::projects {

namespace {

enum class Kind {
    Text,          // any text, within its length when it has one
    ProgramName,   // at most 40 characters, no "<"
    Version,       // Latin letters, digits, ".", "_", "-"; at most 15
    Email,
    Url,
    Address,       // Latin-1 letters only
    Price,         // a number with a point and at most two decimals
    Digits,        // a whole number
    Choice,        // one value of a fixed list
    OsList,        // values of the systems' list, joined by ","
    LanguageList,  // language names, joined by ","
    CategoryClass, // "Group::Class" of a known group
};

struct Rule {
    QString path;  // below the root element
    QString label; // where the page shows the field
    Kind kind;
    bool required;
    int maxLength = 0;
    const QStringList *values = nullptr; // for Choice
};

const QStringList &programTypes()
{
    static const QStringList values = {QStringLiteral("Shareware"), QStringLiteral("Freeware"),
        QStringLiteral("Adware"), QStringLiteral("Demo"), QStringLiteral("Commercial"), QStringLiteral("Data Only")};
    return values;
}

const QStringList &categoryClassGroups()
{
    static const QStringList values = {QStringLiteral("Audio & Multimedia"), QStringLiteral("Business"),
        QStringLiteral("Communications"), QStringLiteral("Desktop"), QStringLiteral("Development"),
        QStringLiteral("Education"), QStringLiteral("Games & Entertainment"), QStringLiteral("Graphic Apps"),
        QStringLiteral("Home & Hobby"), QStringLiteral("Network & Internet"), QStringLiteral("Security & Privacy"),
        QStringLiteral("Servers"), QStringLiteral("System Utilities"), QStringLiteral("Web Development")};
    return values;
}

QList<Rule> rules()
{
    const auto S = [](const char *text) { return QString::fromUtf8(text); };
    QList<Rule> r = {
        {S("Company_Info/Company_Name"), S("Company / Company Name"), Kind::Text, true},
        {S("Company_Info/Address_1"), S("Company / Address1"), Kind::Address, true},
        {S("Company_Info/Address_2"), S("Company / Address2"), Kind::Address, false},
        {S("Company_Info/City_Town"), S("Company / City/Town"), Kind::Address, true},
        {S("Company_Info/State_Province"), S("Company / State/Province"), Kind::Address, false},
        {S("Company_Info/Zip_Postal_Code"), S("Company / Zip/Postal Code"), Kind::Address, true},
        {S("Company_Info/Country"), S("Company / Country"), Kind::Address, true},
        {S("Company_Info/Company_WebSite_URL"), S("Web Info / Company URL"), Kind::Url, true},
        {S("Company_Info/Contact_Info/Author_First_Name"), S("Company / Author Info / First Name"), Kind::Text, true},
        {S("Company_Info/Contact_Info/Author_Last_Name"), S("Company / Author Info / Last Name"), Kind::Text, true},
        {S("Company_Info/Contact_Info/Author_Email"), S("Company / Author Info / Email"), Kind::Email, true},
        {S("Company_Info/Contact_Info/Contact_First_Name"), S("Company / Contact Info / First Name"), Kind::Text, true},
        {S("Company_Info/Contact_Info/Contact_Last_Name"), S("Company / Contact Info / Last Name"), Kind::Text, true},
        {S("Company_Info/Contact_Info/Contact_Email"), S("Company / Contact Info / Email"), Kind::Email, true},
        {S("Company_Info/Support_Info/Sales_Email"), S("Company / Support Info / Sales Email"), Kind::Email, true},
        {S("Company_Info/Support_Info/Support_Email"), S("Company / Support Info / Support Email"), Kind::Email, true},
        {S("Company_Info/Support_Info/General_Email"), S("Company / Support Info / General Email"), Kind::Email, false},
        {S("Program_Info/Program_Name"), S("Program Info / Program Name"), Kind::ProgramName, true},
        {S("Program_Info/Program_Version"), S("Program Info / Program Version"), Kind::Version, true},
        // Month, day and year come from one date: empty together.
        {S("Program_Info/Program_Release_Year"), S("Program Info / Release Date"), Kind::Digits, true},
        {S("Program_Info/Program_Cost_Dollars"), S("Program Info / Cost ($US)"), Kind::Price, true},
        {S("Program_Info/Program_Type"), S("Program Info / Type"), Kind::Choice, true, 0, &programTypes()},
        {S("Program_Info/Program_Release_Status"), S("Program Info / Release Status"), Kind::Choice, true, 0,
            &SoftReleaseStatusItems()},
        {S("Program_Info/Program_Install_Support"), S("Program Info / Install Support"), Kind::Choice, true, 0,
            &SoftInstallItems()},
        {S("Program_Info/Program_OS_Support"), S("Program Info / Supported OS"), Kind::OsList, true},
        {S("Program_Info/Program_Language"), S("Program Info / Languages"), Kind::LanguageList, true},
        {S("Program_Info/Program_Specific_Category"), S("Additional / Specific Category"), Kind::Choice, false, 0,
            &PadCategoryValues()},
        {S("Program_Info/Program_Category_Class"), S("Program Info / Category Class"), Kind::CategoryClass, true},
        {S("Program_Info/File_Info/File_Size_Bytes"), S("Program Info / Size(bytes)"), Kind::Digits, true},
        {S("Program_Info/Expire_Info/Expire_Count"), S("Program Info / Num of Days, Num of uses"), Kind::Digits,
            false},
        {S("Web_Info/Application_URLs/Application_Info_URL"), S("Web Info / Application Info"), Kind::Url, true},
        {S("Web_Info/Application_URLs/Application_Order_URL"), S("Web Info / Order"), Kind::Url, false},
        {S("Web_Info/Application_URLs/Application_Screenshot_URL"), S("Web Info / URL Big Screenshot"), Kind::Url,
            false},
        {S("Web_Info/Application_URLs/Application_Icon_URL"), S("Web Info / Icon"), Kind::Url, false},
        {S("Web_Info/Application_URLs/Application_XML_File_URL"), S("Web Info / URL PAD file"), Kind::Url, true},
        {S("Web_Info/Download_URLs/Primary_Download_URL"), S("Web Info / URL Download"), Kind::Url, true},
        {S("Web_Info/Download_URLs/Secondary_Download_URL"), S("Web Info / Secondary Download"), Kind::Url, false},
        {S("Web_Info/Download_URLs/Additional_Download_URL_1"), S("Web Info / Additional DL URL 1"), Kind::Url,
            false},
        {S("Web_Info/Download_URLs/Additional_Download_URL_2"), S("Web Info / Additional DL URL 2"), Kind::Url,
            false},
    };
    // The English texts are required; every language's texts keep to their lengths.
    struct Desc {
        const char *element;
        const char *label;
        int length;
        bool requiredInEnglish;
    };
    const Desc descs[] = {{"Keywords", "Keywords", 250, true}, {"Char_Desc_45", "45 Char Desc", 45, true},
        {"Char_Desc_80", "80 Char Desc", 80, true}, {"Char_Desc_250", "250 Char Desc", 250, true},
        {"Char_Desc_450", "450 Char Desc", 450, true}, {"Char_Desc_2000", "2000 Char Desc", 2000, false}};
    for (const QString &language : DescriptionLanguages()) {
        for (const Desc &d : descs) {
            r << Rule{QStringLiteral("Program_Descriptions/") + language + QLatin1Char('/') + S(d.element),
                QStringLiteral("Description (") + language + QStringLiteral(") / ") + S(d.label), Kind::Text,
                d.requiredInEnglish && language == QLatin1String("English"), d.length};
        }
    }
    return r;
}

int characters(const QString &text) { return static_cast<int>(text.toUcs4().size()); }

bool matches(const char *pattern, const QString &text)
{
    return QRegularExpression(QString::fromLatin1(pattern)).match(text).hasMatch();
}

bool isEmail(const QString &text)
{
    return matches("^[A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\.[A-Za-z]{2,}$", text);
}

bool isUrl(const QString &text)
{
    return matches("^(https?|ftp)://[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\.[A-Za-z]{2,}(:[0-9]{1,5})?([/?#][^\\s<>\"]*)?$",
                   text);
}

// What is wrong with a non-empty value, or nothing.
QString valueProblem(const Rule &rule, const QString &value)
{
    switch (rule.kind) {
    case Kind::Text:
        break;
    case Kind::ProgramName:
        if (characters(value) > 40)
            return QStringLiteral("длиннее 40 символов (сейчас %1), сократите название").arg(characters(value));
        if (value.contains(QLatin1Char('<')))
            return QStringLiteral("содержит знак «<», уберите его");
        break;
    case Kind::Version:
        if (!matches("^[A-Za-z0-9._-]+$", value))
            return QStringLiteral("допустимы только латинские буквы, цифры и знаки «.», «_», «-» (без пробелов), "
                                  "например 2.1.0");
        if (characters(value) > 15)
            return QStringLiteral("длиннее 15 символов");
        break;
    case Kind::Email:
        if (!isEmail(value))
            return QStringLiteral("«%1» не адрес email (нужен вид name@example.com)").arg(value);
        break;
    case Kind::Url:
        if (!isUrl(value))
            return QStringLiteral("«%1» не адрес в интернете (нужен вид http://www.example.com/...)").arg(value);
        break;
    case Kind::Address:
        for (const uint c : value.toUcs4()) {
            if (c > 0xFF) {
                const char32_t letter = c;
                return QStringLiteral("есть буквы не латиницей (например «%1»): адрес пишется латинскими буквами")
                    .arg(QString::fromUcs4(&letter, 1));
            }
        }
        break;
    case Kind::Price:
        if (!matches("^[0-9]+(\\.[0-9]{1,2})?$", value))
            return QStringLiteral("«%1» не цена: нужно число, например 19.95").arg(value);
        break;
    case Kind::Digits:
        if (!matches("^[0-9]+$", value))
            return QStringLiteral("«%1» не целое число").arg(value);
        break;
    case Kind::Choice:
        if (rule.values && !rule.values->contains(value))
            return QStringLiteral("«%1» нет в списке значений PAD, выберите другое").arg(value);
        break;
    case Kind::OsList:
        for (const QString &os : value.split(QLatin1Char(','))) {
            if (!PadOsValues().contains(os))
                return QStringLiteral("«%1» нет в списке систем PAD").arg(os);
        }
        break;
    case Kind::LanguageList:
        if (!matches("^[A-Za-z]+(,[A-Za-z]+)*$", value))
            return QStringLiteral("«%1» не список языков").arg(value);
        break;
    case Kind::CategoryClass: {
        const qsizetype at = value.indexOf(QStringLiteral("::"));
        if (at <= 0 || at + 2 >= value.size() || !categoryClassGroups().contains(value.left(at)))
            return QStringLiteral("«%1» нет в списке категорий PAD, выберите другую").arg(value);
        break;
    }
    }
    if (rule.maxLength > 0 && characters(value) > rule.maxLength)
        return QStringLiteral("длиннее %1 символов (сейчас %2)").arg(rule.maxLength).arg(characters(value));
    return QString();
}

} // namespace

QStringList PadProblems(const QString &padText)
{
    QHash<QString, QString> text;
    QSet<QString> elements;
    QXmlStreamReader reader(padText);
    QStringList path;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            path << reader.name().toString();
            elements.insert(path.mid(1).join(QLatin1Char('/')));
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

    QStringList out;
    for (const Rule &rule : rules()) {
        if (!elements.contains(rule.path)) {
            if (rule.required)
                out << rule.label + QStringLiteral(": поля нет в шаблоне Pad_File.xml");
            continue;
        }
        const QString value = text.value(rule.path).trimmed();
        if (value.isEmpty()) {
            // A free program needs no price.
            const bool freeware = rule.kind == Kind::Price
                                  && text.value(QStringLiteral("Program_Info/Program_Type")).trimmed()
                                         == QLatin1String("Freeware");
            if (rule.required && !freeware)
                out << rule.label + QStringLiteral(": не заполнено");
            continue;
        }
        const QString problem = valueProblem(rule, value);
        if (!problem.isEmpty())
            out << rule.label + QStringLiteral(": ") + problem;
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
