#include "workbench/recordeditor_logic.h"
#include "core/inifile.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace qv::workbench {

std::optional<TypedAddress> AddressOfRegistrationPage(const QString &typed)
{
    QString t = typed.trimmed();
    QString scheme = QStringLiteral("http://");
    if (t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        scheme = QStringLiteral("https://");
        t.remove(0, 8);
    } else {
        const qsizetype at = t.indexOf(QLatin1String("http://"), 0, Qt::CaseInsensitive);
        if (at >= 0)
            t.remove(at, 7);
    }
    if (t.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        t.remove(0, 4);
    const qsizetype slash = t.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        t.truncate(slash);
    QString name = t;
    name.replace(QLatin1Char('?'), QLatin1Char(' '))
        .replace(QLatin1Char(':'), QLatin1Char(' '))
        .replace(QLatin1Char('"'), QLatin1Char(' '));
    // Blanks and control characters off both ends.
    qsizetype from = 0, to = name.size();
    while (from < to && name.at(from).unicode() <= 0x20)
        ++from;
    while (to > from && name.at(to - 1).unicode() <= 0x20)
        --to;
    name = name.mid(from, to - from);
    if (name.isEmpty())
        return std::nullopt;
    return TypedAddress{t, name, scheme + t};
}

std::optional<QList<TemplateLine>> ReadFieldTemplate(const QString &path, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (why)
            *why = QStringLiteral("Не удается открыть файл ") + path + QStringLiteral(": ") + f.errorString();
        return std::nullopt;
    }
    const QString text = core::DecodeLocalText(f.readAll());
    QList<TemplateLine> lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            lines.append({line, QString()});
        else
            lines.append({line.left(eq), line.mid(eq + 1).trimmed()});
    }
    return lines;
}

namespace {
QStringList itemsOf(const QString &list) { return list.isEmpty() ? QStringList() : list.split(QLatin1Char(',')); }
} // namespace

bool MappingHas(const QString &list, const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QString &item : itemsOf(list)) {
        if (item.trimmed().compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString MappingAdd(const QString &list, const QString &name)
{
    const QString upper = name.trimmed().toUpper();
    if (upper.isEmpty() || MappingHas(list, upper))
        return list;
    return list.isEmpty() ? upper : list + QLatin1Char(',') + upper;
}

QString MappingRemove(const QString &list, const QString &name)
{
    QStringList kept;
    for (const QString &item : itemsOf(list)) {
        if (item.trimmed().compare(name.trimmed(), Qt::CaseInsensitive) != 0)
            kept << item.toUpper();
    }
    return kept.join(QLatin1Char(','));
}

QString RubricListText(const QList<int> &ids)
{
    QStringList parts;
    for (int id : ids)
        parts << QString::number(id);
    return parts.isEmpty() ? QString() : parts.join(QStringLiteral(": ")) + QLatin1Char(' ');
}

QString UploadRecordText(const QList<UploadField> &fields, const QString &idColumn, const QString &prefix, bool adminMode,
                         const QString &adUrl, const QString &adName)
{
    QStringList pairs;
    for (const UploadField &f : fields) {
        if (f.name == idColumn)
            continue;
        QString value = f.value;
        if (adminMode && f.name.endsWith(QLatin1String("moderate")) && value == QLatin1String("0"))
            value = QStringLiteral("1");
        if (value.isEmpty() && f.name == prefix + QLatin1String("ad_url"))
            value = adUrl;
        else if (value.isEmpty() && f.name == prefix + QLatin1String("ad_nurl"))
            value = adName;
        pairs << f.name + QStringLiteral("=\"") + value + QLatin1Char('"');
    }
    QString text = pairs.join(QStringLiteral(":::: ")) + QLatin1Char(' ');
    if (adminMode)
        text += QStringLiteral(":::: user_admin=1");
    return text;
}

QString UploadFieldWithSeparator(const QList<UploadField> &fields, const QString &idColumn)
{
    for (const UploadField &f : fields) {
        if (f.name != idColumn && f.value.contains(QLatin1String("::::")))
            return f.name;
    }
    return QString();
}

namespace {
// windows-1251 byte by character, for the bytes 0x80 to 0xFF (below 0x80 the
// byte is the character). Built once by decoding every byte on its own.
const QHash<char16_t, char> &cp1251Bytes()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0x80; b <= 0xFF; ++b) {
            QStringDecoder decode("windows-1251", QStringConverter::Flag::Stateless);
            const QString c = decode(QByteArray(1, static_cast<char>(b)));
            if (!decode.hasError() && c.size() == 1 && c.at(0) != QChar::ReplacementCharacter)
                t.insert(c.at(0).unicode(), static_cast<char>(b));
        }
        return t;
    }();
    return table;
}
} // namespace

QByteArray UploadBody(const QString &recordText)
{
    // Every character is decided on its own: its windows-1251 byte, or,
    // when windows-1251 lacks it, its numeric reference "&#N;".
    const QHash<char16_t, char> &table = cp1251Bytes();
    QByteArray bytes;
    bytes.reserve(recordText.size());
    for (qsizetype i = 0; i < recordText.size(); ++i) {
        const QChar c = recordText.at(i);
        if (c.unicode() < 0x80) {
            bytes += static_cast<char>(c.unicode());
            continue;
        }
        if (const auto b = table.constFind(c.unicode()); b != table.cend()) {
            bytes += *b;
            continue;
        }
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < recordText.size() && recordText.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(c, recordText.at(++i));
        bytes += "&#" + QByteArray::number(static_cast<uint>(code)) + ';';
    }
    QByteArray body = "values=";
    static const char hex[] = "0123456789ABCDEF";
    for (const char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == ' ')
            body += '+';
        else if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
            body += ch;
        else {
            body += '%';
            body += hex[u >> 4];
            body += hex[u & 0xF];
        }
    }
    return body;
}

bool UploadRefused(const QByteArray &body) { return body == QByteArrayLiteral("306"); }

} // namespace qv::workbench
