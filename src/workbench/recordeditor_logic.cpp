#include "workbench/recordeditor_logic.h"
#include "core/inifile.h"

#include <QFile>
#include <QStringEncoder>

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
    name.replace(QLatin1Char('?'), QLatin1Char(' ')).replace(QLatin1Char(':'), QLatin1Char(' ')).replace(QLatin1Char('"'), QLatin1Char(' '));
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
QStringList itemsOf(const QString &list)
{
    return list.isEmpty() ? QStringList() : list.split(QLatin1Char(','));
}
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

QByteArray UploadBody(const QString &recordText)
{
    // Characters windows-1251 cannot hold go as their numeric references.
    QStringEncoder probe("windows-1251", QStringConverter::Flag::Stateless);
    QString text;
    text.reserve(recordText.size());
    for (qsizetype i = 0; i < recordText.size(); ++i) {
        const QChar c = recordText.at(i);
        if (c.isHighSurrogate() && i + 1 < recordText.size() && recordText.at(i + 1).isLowSurrogate()) {
            text += QStringLiteral("&#%1;").arg(QChar::surrogateToUcs4(c, recordText.at(i + 1)));
            ++i;
            continue;
        }
        if (c.unicode() >= 0x80) {
            const QByteArray b = probe.encode(QString(c));
            if (probe.hasError() || b.isEmpty() || b == "?") {
                probe.resetState();
                text += QStringLiteral("&#%1;").arg(c.unicode());
                continue;
            }
        }
        text += c;
    }
    QStringEncoder cp1251("windows-1251");
    const QByteArray bytes = cp1251.encode(text);
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

bool UploadRefused(const QString &reply) { return reply.trimmed() == QLatin1String("306"); }

} // namespace qv::workbench
