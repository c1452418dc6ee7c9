#include "db/columnlimits.h"
#include "db/query.h"
#include "core/prompt.h"

namespace qv::db {

qint64 LengthInUnit(const QString &value, ColumnLimit::Unit unit)
{
    if (unit == ColumnLimit::Bytes)
        return value.toUtf8().size();
    qint64 n = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i).isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate())
            ++i;
        ++n;
    }
    return n;
}

bool FitsColumn(const QString &value, const ColumnLimit &limit)
{
    if (limit.max <= 0)
        return true;
    // A character takes at most four bytes and at least one: most values are
    // decided without counting.
    const qint64 units = value.size();
    if (units <= limit.max && (limit.unit == ColumnLimit::Characters || units * 3 <= limit.max))
        return true;
    return LengthInUnit(value, limit.unit) <= limit.max;
}

QString ShownCaption(const QString &label)
{
    QString name = label.simplified();
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

QString TooLongMessage(const QString &label, const ColumnLimit &limit)
{
    const QString name = ShownCaption(label);
    const QString size = limit.unit == ColumnLimit::Characters
                             ? QString::number(limit.max) + QStringLiteral(" символов")
                             : QString::number(limit.max) + QStringLiteral(" байт в кодировке UTF-8");
    return QStringLiteral("Текст в поле \"") + name + QStringLiteral("\" слишком длинный: база данных хранит в нём не больше ")
           + size + QStringLiteral(". Сократите текст; ничего не записано.");
}

std::optional<QHash<QString, ColumnLimit>> ColumnLimits(const QString &table)
{
    QHash<QString, ColumnLimit> limits;
    const QString sql = QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, CHARACTER_OCTET_LENGTH "
                                       "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME=")
                        + Sql(table);
    const bool ok = ForEachRow(sql, [&](const Row &row) {
        const QString type = row.value(1).toLower();
        ColumnLimit limit;
        if (type == QLatin1String("varchar") || type == QLatin1String("char")) {
            limit.unit = ColumnLimit::Characters;
            limit.max = row.value(2).toLongLong();
        } else if (type.endsWith(QLatin1String("text")) || type.endsWith(QLatin1String("blob"))
                   || type.endsWith(QLatin1String("binary"))) {
            limit.unit = ColumnLimit::Bytes;
            limit.max = row.value(3).toLongLong();
        } else {
            return;
        }
        if (limit.max > 0)
            limits.insert(row.value(0).toLower(), limit);
    });
    if (!ok)
        return std::nullopt;
    return limits;
}

std::optional<QString> FirstTooLong(const QHash<QString, ColumnLimit> &limits, const QList<FieldValue> &fields)
{
    for (const FieldValue &f : fields) {
        const auto it = limits.constFind(f.column.toLower());
        if (it != limits.constEnd() && !FitsColumn(f.value, *it))
            return TooLongMessage(f.label, *it);
    }
    return std::nullopt;
}

bool FieldsFit(const QString &table, const QList<FieldValue> &fields)
{
    const auto limits = ColumnLimits(table);
    if (!limits)
        return false;
    if (const auto message = FirstTooLong(*limits, fields)) {
        core::prompt().message(*message, core::MessageIcon::Warning);
        return false;
    }
    return true;
}

} // namespace qv::db
