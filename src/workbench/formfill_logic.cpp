#include "workbench/formfill_logic.h"

#include <QRegularExpression>

namespace qv::workbench {

QList<MappingLine> BuildMappingList(const QStringList &columns, const QStringList &values)
{
    QList<MappingLine> lines;
    lines.reserve(columns.size());
    for (qsizetype i = 0; i < columns.size(); ++i) {
        QString v = values.value(i);
        v.remove(QLatin1Char(' '));
        lines.append({columns[i].toUpper(), v.toUpper()});
    }
    return lines;
}

QString ValueList::value(const QString &key) const
{
    const qsizetype i = keys.indexOf(key);
    return i < 0 ? QString() : values[i];
}

ValueList BuildValueList(const KindFacts &kind, const QStringList &columns, const QStringList &values)
{
    ValueList list;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        QString key = columns[i];
        key.replace(kind.materialPrefix, kind.prefix, Qt::CaseSensitive);
        key = (key + QStringLiteral("_site")).toUpper();
        if (list.keys.contains(key))
            continue;
        list.keys.append(key);
        list.values.append(values.value(i));
    }
    return list;
}

QString MatchKey(const QList<MappingLine> &mapping, const QString &upperName)
{
    QString key;
    const QString withComma = upperName + QLatin1Char(',');
    const QString commaWith = QLatin1Char(',') + upperName;
    for (const MappingLine &line : mapping) {
        if (line.value == upperName || line.value.contains(withComma) || line.value.contains(commaWith))
            key = line.column;
    }
    return key;
}

QString ExpandBreaks(QString text)
{
    static const QRegularExpression br(QStringLiteral("<br>"), QRegularExpression::CaseInsensitiveOption);
    return text.replace(br, QStringLiteral("\r\n"));
}

bool IsTextInputType(const QString &type)
{
    static const QStringList textTypes = {QString(),
                                          QStringLiteral("text"),
                                          QStringLiteral("email"),
                                          QStringLiteral("url"),
                                          QStringLiteral("tel"),
                                          QStringLiteral("search"),
                                          QStringLiteral("number")};
    return textTypes.contains(type.trimmed().toLower());
}

InputDecision DecideInput(const KindFacts &kind, const QList<MappingLine> &mapping, const ValueList &values,
                          const PageElement &element)
{
    InputDecision d;
    d.key = MatchKey(mapping, element.name.toUpper());
    if (!d.key.isEmpty())
        d.value = ExpandBreaks(values.value(d.key));
    const bool isPassword = element.type.trimmed().toLower() == QLatin1String("password");
    if (!kind.loginKey.isEmpty() && d.key == kind.loginKey)
        d.credential = Credential::Login;
    else if (isPassword || (!kind.passwordKey.isEmpty() && d.key == kind.passwordKey))
        d.credential = Credential::Password;
    return d;
}

bool WritesInput(const PageElement &element, const QString &value)
{
    if (value.isEmpty())
        return false;
    return IsTextInputType(element.type) || element.type.trimmed().toLower() == QLatin1String("password");
}

QString DecideTextArea(const QList<MappingLine> &mapping, const ValueList &values, const PageElement &element)
{
    const QString name = element.name.toUpper();
    if (name.isEmpty())
        return QString();
    const QString key = MatchKey(mapping, name);
    return key.isEmpty() ? QString() : ExpandBreaks(values.value(key));
}

std::optional<int> ChooseOption(const QStringList &options, const QString &city, const QString &country,
                                const QString &categories)
{
    const QString c = city.toLower();
    const QString n = country.toLower();
    const QStringList pieces = categories.toLower().split(QLatin1Char(','));
    std::optional<int> chosen;
    for (int i = 0; i < options.size(); ++i) {
        const QString text = options[i].toLower();
        if (!c.isEmpty() && text.contains(c))
            return i;
        if (!n.isEmpty() && text.contains(n))
            return i;
        for (const QString &piece : pieces) {
            if (!piece.isEmpty() && text.contains(piece)) {
                chosen = i;
                break;
            }
        }
    }
    return chosen;
}

std::optional<int> NextFillMenuIndex(int current, int itemCount)
{
    if (itemCount < 3)
        return std::nullopt;
    return current < itemCount - 1 ? current + 1 : 2;
}

} // namespace qv::workbench
