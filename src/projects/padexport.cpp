#include "projects/padexport.h"
#include "projects/softlists.h"

#include <QRegularExpression>

namespace qv::projects {

namespace {
struct Field {
    const char *placeholder;
    const char *column;
};

// Placeholders taken straight from a column.
const Field kFields[] = {
    {"Name", "smaterial_SoftName"},
    {"Version", "smaterial_Version"},
    {"Type", "smaterial_Type"},
    {"ReleaseStatus", "smaterial_ReleaseStatus"},
    {"Cost", "smaterial_Cost"},
    {"Install", "smaterial_Install"},
    {"Languages", "smaterial_Languages"},
    {"OS", "smaterial_OS"},
    {"BSize", "smaterial_BSize"},
    {"CategoryClass", "smaterial_CategoryClass"},
    {"Changes", "smaterial_Changes"},
    {"Req", "smaterial_Req"},
    {"URLSite", "smaterial_URLSite"},
    {"URLDownload", "smaterial_URLDownload"},
    {"URLScreenShot", "smaterial_URLScreenShot"},
    {"URLOrder", "smaterial_URLOrder"},
    {"URLPAD", "smaterial_URLPAD"},
    {"URLIcon", "smaterial_URLIcon"},
    {"URLInfo", "smaterial_URLInfo"},
    {"URLSecDownload", "smaterial_URLSecDownload"},
    {"URLDownload1", "smaterial_URLDownload1"},
    {"URLDownload2", "smaterial_URLDownload2"},
    {"Organization", "smaterial_Company"},
    {"Address1", "smaterial_Address1"},
    {"Address2", "smaterial_Address2"},
    {"City", "smaterial_City"},
    {"State", "smaterial_State"},
    {"ZIP", "smaterial_ZIP"},
    {"Country", "smaterial_Country"},
    {"AFirstName", "smaterial_AFirstName"},
    {"ALastName", "smaterial_ALastName"},
    {"AEmail", "smaterial_AEmail"},
    {"CFirstName", "smaterial_CFirstName"},
    {"CLastName", "smaterial_CLastName"},
    {"CEmail", "smaterial_CEmail"},
    {"GEmail", "smaterial_GEmail"},
    {"GPhone", "smaterial_GPhone"},
    {"GFax", "smaterial_GFax"},
    {"SEmail", "smaterial_SEmail"},
    {"SPhone", "smaterial_SPhone"},
    {"SaEmail", "smaterial_SaEmail"},
    {"SaPhone", "smaterial_SaPhone"},
    {"PFilename", "smaterial_PFilename"},
    {"LFilename", "smaterial_LFilename"},
    {"VFilename", "smaterial_VFilename"},
    {"GFilename", "smaterial_GFilename"},
    {"Category", "smaterial_Category"},
    {"CategoryPossible", "smaterial_CategoryPossible"},
};

// "yyyy-mm-dd" into year, month and day as stored; empty parts for an empty date.
void splitDate(const QString &date, QString *y, QString *m, QString *d)
{
    if (date.isEmpty()) {
        y->clear();
        m->clear();
        d->clear();
        return;
    }
    *y = date.mid(0, 4);
    *m = date.mid(5, 2);
    *d = date.mid(8, 2);
}

// A size in kilobytes or megabytes: two decimals after a point, rounded
// half up ("1.03" for 1050 bytes in K), computed in integers.
QString sizeText(qint64 bytes, qint64 unit)
{
    const qint64 hundredths = (bytes * 100 + unit / 2) / unit;
    return QString::number(hundredths / 100) + QLatin1Char('.')
           + QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

// The "<BR>" line breaks the materials store, in any letter case, with or without "/".
const QRegularExpression &lineBreakTag()
{
    static const QRegularExpression re(QStringLiteral("<br\\s*/?>"), QRegularExpression::CaseInsensitiveOption);
    return re;
}

// A price as the format writes it: a decimal comma ("19,95") becomes a point.
QString priceText(const QString &stored)
{
    static const QRegularExpression decimalComma(QStringLiteral("^([0-9]+),([0-9]+)$"));
    QString text = stored.trimmed();
    text.replace(decimalComma, QStringLiteral("\\1.\\2"));
    return text;
}

// A web address; the bare scheme the page's address fields start with means
// no address at all.
QString webAddress(const QString &stored)
{
    const QString text = stored.trimmed();
    if (text.compare(QLatin1String("http://"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("https://"), Qt::CaseInsensitive) == 0)
        return QString();
    return stored;
}

// One list of a check list's stored text ("Win95,Linux,") in the format's
// spelling: items joined by "," without a trailing one, each once.
QString listText(const QString &stored, QString (*spell)(const QString &))
{
    QStringList out;
    for (const QString &part : stored.split(QLatin1Char(','))) {
        const QString item = spell(part.trimmed());
        if (!item.isEmpty() && !out.contains(item))
            out << item;
    }
    return out.join(QLatin1Char(','));
}
} // namespace

QString PadSingleLine(const QString &text)
{
    QString out = text;
    out.replace(lineBreakTag(), QStringLiteral(" "));
    return out;
}

QString PadMultiLine(const QString &text)
{
    QString out = text;
    out.replace(lineBreakTag(), QStringLiteral("\r\n"));
    return out;
}

QString XmlChars(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c)) {
            // A pair stands for one allowed character; a lone half is dropped.
            if (i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
                out += text[i];
                out += text[i + 1];
                ++i;
            }
            continue;
        }
        if (QChar::isLowSurrogate(c))
            continue;
        if (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n')
            continue;
        if (c == 0xFFFE || c == 0xFFFF)
            continue;
        out += text[i];
    }
    return out;
}

const QStringList &DescriptionLanguages()
{
    // clang-format off
    static const QStringList languages = {
        QStringLiteral("English"), QStringLiteral("Arabic"), QStringLiteral("ChineseSimplified"),
        QStringLiteral("ChineseTraditional"), QStringLiteral("Czech"), QStringLiteral("Danish"),
        QStringLiteral("Finnish"), QStringLiteral("French"), QStringLiteral("German"), QStringLiteral("Greek"),
        QStringLiteral("Hindi"), QStringLiteral("Hungarian"), QStringLiteral("Italian"), QStringLiteral("Japanese"),
        QStringLiteral("Korean"), QStringLiteral("Other"), QStringLiteral("Polish"), QStringLiteral("Portuguese"),
        QStringLiteral("Romanian"), QStringLiteral("Russian"), QStringLiteral("Spanish"), QStringLiteral("Swedish"),
        QStringLiteral("Turkish")};
    // clang-format on
    return languages;
}

QString XmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\'': out += QStringLiteral("&apos;"); break;
        default: out += c;
        }
    }
    return out;
}

std::optional<QHash<QString, QString>> PadValues(const PadSource &source, QString *error)
{
    QHash<QString, QString> v;
    for (const Field &f : kFields)
        v.insert(QString::fromLatin1(f.placeholder), PadSingleLine(source.value(QString::fromLatin1(f.column))));
    // The fixed lists' stored values in the format's own spellings.
    v.insert(QStringLiteral("Type"), PadProgramType(v.value(QStringLiteral("Type"))));
    v.insert(QStringLiteral("Category"), PadCategory(v.value(QStringLiteral("Category"))));
    v.insert(QStringLiteral("CategoryClass"), PadCategoryClass(v.value(QStringLiteral("CategoryClass"))));
    v.insert(QStringLiteral("OS"), listText(v.value(QStringLiteral("OS")), &PadOsName));
    v.insert(QStringLiteral("Languages"), listText(v.value(QStringLiteral("Languages")), [](const QString &s) { return s; }));
    v.insert(QStringLiteral("Cost"), priceText(v.value(QStringLiteral("Cost"))));
    for (const char *url : {"URLSite", "URLDownload", "URLScreenShot", "URLOrder", "URLPAD", "URLIcon", "URLInfo",
                            "URLSecDownload", "URLDownload1", "URLDownload2"}) {
        const QString key = QString::fromLatin1(url);
        v.insert(key, webAddress(v.value(key)));
    }

    QString y, m, d;
    splitDate(source.value(QStringLiteral("smaterial_ReleaseDate")), &y, &m, &d);
    v.insert(QStringLiteral("ReleaseDateY"), y);
    v.insert(QStringLiteral("ReleaseDateM"), m);
    v.insert(QStringLiteral("ReleaseDateD"), d);

    const QString bsize = source.value(QStringLiteral("smaterial_BSize")).trimmed();
    v.insert(QStringLiteral("KSize"), QString());
    v.insert(QStringLiteral("MSize"), QString());
    if (!bsize.isEmpty()) {
        bool ok = false;
        const qint64 n = bsize.toLongLong(&ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("'") + bsize + QStringLiteral("' не является целым числом (размер файла в байтах)");
            return std::nullopt;
        }
        v.insert(QStringLiteral("KSize"), sizeText(n, 1024));
        v.insert(QStringLiteral("MSize"), sizeText(n, 1024 * 1024));
    }

    QString expType, expCount, expOther, ey, em, ed;
    QString expExists = QStringLiteral("N");
    if (source.value(QStringLiteral("smaterial_ExpExists")) == QLatin1String("1")) {
        expExists = QStringLiteral("Y");
        expOther = source.value(QStringLiteral("smaterial_ExpOther"));
        const QString days = source.expDays, uses = source.expUses;
        if (!days.isEmpty() && !uses.isEmpty()) {
            expType = QStringLiteral("Either/Or");
            expCount = days;
        } else if (!days.isEmpty()) {
            expType = QStringLiteral("Days");
            expCount = days;
        } else if (!uses.isEmpty()) {
            expType = QStringLiteral("Uses");
            expCount = uses;
        }
        splitDate(source.value(QStringLiteral("smaterial_ExpDate")), &ey, &em, &ed);
    } else {
        expType = QStringLiteral("Days");
    }
    v.insert(QStringLiteral("ExpExists"), expExists);
    v.insert(QStringLiteral("ExpOther"), expOther);
    v.insert(QStringLiteral("ExpType"), expType);
    v.insert(QStringLiteral("ExpCount"), expCount);
    v.insert(QStringLiteral("ExpDateY"), ey);
    v.insert(QStringLiteral("ExpDateM"), em);
    v.insert(QStringLiteral("ExpDateD"), ed);
    v.insert(QStringLiteral("DAgree"), source.distributionAgreement);
    v.insert(QStringLiteral("LAgree"), source.licenseAgreement);
    return v;
}

PadResult BuildPad(const QString &templateText, const PadSource &source)
{
    PadResult result;
    const auto values = PadValues(source, &result.error);
    if (!values)
        return result;

    // The per-language blocks, escaped value by value.
    QString description;
    for (const QString &lang : DescriptionLanguages()) {
        // Only the long description keeps its line breaks.
        auto col = [&](const char *prefix) {
            const QString value = source.value(QStringLiteral("smaterial_") + QString::fromLatin1(prefix) + lang);
            const bool multiLine = qstrcmp(prefix, "Description2000_") == 0;
            return XmlEscape(XmlChars(multiLine ? PadMultiLine(value) : PadSingleLine(value)));
        };
        const QString l = XmlEscape(lang);
        description += QStringLiteral("\r\n<") + l + QStringLiteral(">\r\n<Keywords>") + col("Keywords_")
                       + QStringLiteral("</Keywords>\r\n<Char_Desc_45>") + col("Description45_")
                       + QStringLiteral("</Char_Desc_45>\r\n<Char_Desc_80>") + col("Description80_")
                       + QStringLiteral("</Char_Desc_80>\r\n<Char_Desc_250>") + col("Description250_")
                       + QStringLiteral("</Char_Desc_250>\r\n<Char_Desc_450>") + col("Description450_")
                       + QStringLiteral("</Char_Desc_450>\r\n<Char_Desc_2000>") + col("Description2000_")
                       + QStringLiteral("</Char_Desc_2000>\r\n</") + l + QStringLiteral(">\r\n");
    }

    // One pass: each %Name% of a known placeholder becomes its escaped value;
    // anything else, unknown names included, is copied as it stands.
    QString text;
    text.reserve(templateText.size() + description.size() + 4096);
    const qsizetype n = templateText.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = templateText[i];
        if (c == QLatin1Char('%')) {
            const qsizetype close = templateText.indexOf(QLatin1Char('%'), i + 1);
            if (close > i + 1) {
                const QString name = templateText.mid(i + 1, close - i - 1);
                if (name == QLatin1String("Description")) {
                    text += description;
                    i = close + 1;
                    continue;
                }
                const auto found = values->constFind(name);
                if (found != values->constEnd()) {
                    text += XmlEscape(XmlChars(*found));
                    i = close + 1;
                    continue;
                }
            }
        }
        text += c;
        ++i;
    }

    // Lines end in CR LF, the last one included.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    result.text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return result;
}

} // namespace qv::projects
