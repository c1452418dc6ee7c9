#include "workbench/baseupdate_logic.h"

#include "core/http.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace qv::workbench {

QString DateForRequest(const QString &date)
{
    QString d = date;
    d.replace(QLatin1Char(' '), QStringLiteral("%20"));
    return d;
}

QString InfoPath(const KindFacts &kind, const QString &dateUpdate)
{
    return "/" + kind.updateScript + "?action=info&date=" + DateForRequest(dateUpdate);
}

QString UpdatePath(const KindFacts &kind, const QString &dateUpdate, const QString &dateForums,
                   bool forModeration)
{
    const QString date = (forModeration && kind.kind == core::Kind::Forums) ? dateForums : dateUpdate;
    QString path = "/" + kind.updateScript + "?action=update&date=" + DateForRequest(date);
    if (forModeration)
        path += QStringLiteral("&formoderate=1");
    return path;
}

namespace {

bool isSpace(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QChar unescape(QChar c)
{
    switch (c.unicode()) {
    case 'n': return QLatin1Char('\n');
    case 'r': return QLatin1Char('\r');
    case 't': return QLatin1Char('\t');
    case '0': return QChar(0);
    case 'Z': return QChar(26);
    case 'b': return QLatin1Char('\b');
    default: return c;
    }
}

} // namespace

std::optional<QList<UpdateField>> ParseUpdateLine(const QString &line, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<QList<UpdateField>> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QList<UpdateField> out;
    const int n = line.size();
    int i = 0;
    // The first field is the service's own id: everything up to the first comma.
    const int firstComma = line.indexOf(QLatin1Char(','));
    if (firstComma < 0)
        return fail(QStringLiteral("в строке нет полей"));
    out.append({QString(), line.left(firstComma).trimmed()});
    i = firstComma + 1;
    static const QRegularExpression nameRe(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    while (i < n) {
        while (i < n && isSpace(line[i]))
            ++i;
        if (i >= n)
            break;
        const int eq = line.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            return fail(QStringLiteral("нет знака = после поля"));
        QString column = line.mid(i, eq - i).trimmed();
        if (column.size() >= 2 && column.startsWith(QLatin1Char('`')) && column.endsWith(QLatin1Char('`')))
            column = column.mid(1, column.size() - 2);
        if (!nameRe.match(column).hasMatch())
            return fail(QStringLiteral("недопустимое имя поля: ") + column.left(100));
        i = eq + 1;
        while (i < n && isSpace(line[i]))
            ++i;
        QString value;
        if (i < n && (line[i] == QLatin1Char('\'') || line[i] == QLatin1Char('"'))) {
            const QChar q = line[i++];
            bool closed = false;
            while (i < n) {
                const QChar c = line[i];
                if (c == QLatin1Char('\\') && i + 1 < n) {
                    value += unescape(line[i + 1]);
                    i += 2;
                } else if (c == q) {
                    if (i + 1 < n && line[i + 1] == q) {
                        value += q;
                        i += 2;
                    } else {
                        ++i;
                        closed = true;
                        break;
                    }
                } else {
                    value += c;
                    ++i;
                }
            }
            if (!closed) {
                // Only the last value may lack its closing quote.
                out.append({column, value});
                break;
            }
            while (i < n && isSpace(line[i]))
                ++i;
            if (i < n) {
                if (line[i] != QLatin1Char(','))
                    return fail(QStringLiteral("лишний текст после значения поля ") + column);
                ++i;
            }
        } else {
            const int comma = line.indexOf(QLatin1Char(','), i);
            const QString bare = line.mid(i, comma < 0 ? -1 : comma - i).trimmed();
            i = comma < 0 ? n : comma + 1;
            if (bare.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) {
                value.clear();
            } else {
                static const QRegularExpression numRe(QStringLiteral("^[-+]?[0-9]+(\\.[0-9]+)?$"));
                if (!numRe.match(bare).hasMatch())
                    return fail(QStringLiteral("значение поля ") + column + QStringLiteral(" не в кавычках"));
                value = bare;
            }
        }
        out.append({column, value});
    }
    return out;
}

std::optional<UpdateRow> ReadUpdateRow(const KindFacts &kind, const QString &line,
                                       const QSet<QString> &columns, QString *error)
{
    const auto parsed = ParseUpdateLine(line, error);
    if (!parsed)
        return std::nullopt;
    UpdateRow row;
    bool haveName = false;
    QSet<QString> seen;
    for (int k = 1; k < parsed->size(); ++k) {
        const QString column = parsed->at(k).first.toLower();
        const QString &value = parsed->at(k).second;
        if (seen.contains(column)) {
            // Named again: the first value stands, this one is dropped and said so.
            if (!row.duplicated.contains(column))
                row.duplicated.append(column);
            if (!row.skipped.contains(column))
                row.skipped.append(column);
            continue;
        }
        if (column == kind.idColumn || !columns.contains(column)) {
            if (!row.skipped.contains(column))
                row.skipped.append(column);
            continue;
        }
        seen.insert(column);
        if (column == kind.nameColumn) {
            row.name = value.trimmed();
            haveName = !row.name.isEmpty();
        }
        if (column == kind.subjectsColumn) {
            row.subjects = value;
            row.hasSubjects = true;
        }
        row.fields.append({column, value});
    }
    if (!haveName) {
        if (error)
            *error = QStringLiteral("в строке нет поля ") + kind.nameColumn;
        return std::nullopt;
    }
    if (error)
        *error = row.duplicated.isEmpty() ? QString() : DuplicatedReason(row.duplicated);
    return row;
}

QString DuplicatedReason(const QStringList &columns)
{
    return (columns.size() == 1 ? QStringLiteral("поле %1 названо в строке дважды")
                                : QStringLiteral("поля %1 названы в строке дважды"))
               .arg(columns.join(QStringLiteral(", ")))
           + QStringLiteral(": внесено первое значение, повторное отброшено");
}

std::optional<QList<qint64>> RubricPieces(const QString &list)
{
    QList<qint64> ids;
    const QStringList pieces = list.split(QLatin1Char(':'));
    for (const QString &p : pieces) {
        const QString t = p.trimmed();
        if (t.isEmpty())
            continue;
        for (QChar c : t)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        bool ok = false;
        const qint64 id = t.toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        ids.append(id);
    }
    return ids;
}

QStringList ReplyLines(const QString &reply)
{
    static const QRegularExpression sep(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString &l : reply.split(sep))
        if (!l.trimmed().isEmpty())
            lines.append(l);
    return lines;
}

std::optional<QString> UpdateReplyText(const QByteArray &body, const QByteArray &contentType, const QByteArray &fallback,
                                       QString *why)
{
    const QByteArray declared = core::CharsetOf(contentType);
    QStringDecoder decoder(declared.constData(), QStringConverter::Flag::Stateless);
    if (declared.isEmpty() || !decoder.isValid())
        return core::DecodeAs(body, declared.isEmpty() ? fallback : declared);
    const QString text = decoder.decode(body);
    if (!decoder.hasError())
        return text;
    if (why) {
        // The first line (CR, LF or CR LF ends one) whose bytes do not decode.
        int number = 1;
        for (qsizetype from = 0; from < body.size(); ++number) {
            qsizetype end = from;
            while (end < body.size() && body[end] != '\r' && body[end] != '\n')
                ++end;
            QStringDecoder line(declared.constData(), QStringConverter::Flag::Stateless);
            // The text is made only when asked for, and with it the error state.
            const QString decoded = line.decode(QByteArrayView(body).sliced(from, end - from));
            Q_UNUSED(decoded);
            if (line.hasError())
                break;
            from = end + (body.mid(end, 2) == "\r\n" ? 2 : 1);
        }
        *why = QStringLiteral("ответ объявлен в кодировке %1, но его строка %2 в этой кодировке не читается")
                   .arg(QString::fromLatin1(declared))
                   .arg(number);
    }
    return std::nullopt;
}

} // namespace qv::workbench
