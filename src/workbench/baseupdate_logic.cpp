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

QString UpdatePath(const KindFacts &kind, const QString &dateUpdate, const QString &dateForums, bool forModeration)
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

// A reply line and the place reached in it.
struct LineCursor {
    const QString &line;
    int i = 0;
    int n = static_cast<int>(line.size());

    bool atEnd() const { return i >= n; }
    void skipSpaces()
    {
        while (i < n && isSpace(line[i]))
            ++i;
    }
    bool atQuote() const { return i < n && (line[i] == QLatin1Char('\'') || line[i] == QLatin1Char('"')); }
};

// The column name up to the next "=" (backquotes taken off), the cursor past
// the "="; nothing, with `why`, when there is none or it is not a name.
std::optional<QString> readColumnName(LineCursor &c, QString *why)
{
    static const QRegularExpression nameRe(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const int eq = c.line.indexOf(QLatin1Char('='), c.i);
    if (eq < 0) {
        *why = QStringLiteral("нет знака = после поля");
        return std::nullopt;
    }
    QString column = c.line.mid(c.i, eq - c.i).trimmed();
    if (column.size() >= 2 && column.startsWith(QLatin1Char('`')) && column.endsWith(QLatin1Char('`')))
        column = column.mid(1, column.size() - 2);
    if (!nameRe.match(column).hasMatch()) {
        *why = QStringLiteral("недопустимое имя поля: ") + column.left(100);
        return std::nullopt;
    }
    c.i = eq + 1;
    return column;
}

// The quoted value at the cursor, its escapes and doubled quotes read; the
// cursor past the closing quote. `closed` is false when the line ends first.
QString readQuotedValue(LineCursor &c, bool *closed)
{
    const QString &line = c.line;
    const int n = c.n;
    int i = c.i;
    QString value;
    const QChar q = line[i++];
    *closed = false;
    while (i < n) {
        const QChar ch = line[i];
        if (ch == QLatin1Char('\\') && i + 1 < n) {
            value += unescape(line[i + 1]);
            i += 2;
        } else if (ch == q) {
            if (i + 1 < n && line[i + 1] == q) {
                value += q;
                i += 2;
            } else {
                ++i;
                *closed = true;
                break;
            }
        } else {
            value += ch;
            ++i;
        }
    }
    c.i = i;
    return value;
}

// After a closed quote only blanks and the comma before the next field, or
// the line's end; false when other text follows.
bool passFieldEnd(LineCursor &c)
{
    c.skipSpaces();
    if (c.atEnd())
        return true;
    if (c.line[c.i] != QLatin1Char(','))
        return false;
    ++c.i;
    return true;
}

// An unquoted value up to the next comma: NULL (an empty text) or a number;
// nothing when it is neither.
std::optional<QString> readBareValue(LineCursor &c)
{
    const int comma = c.line.indexOf(QLatin1Char(','), c.i);
    const QString bare = c.line.mid(c.i, comma < 0 ? -1 : comma - c.i).trimmed();
    c.i = comma < 0 ? c.n : comma + 1;
    if (bare.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return QString();
    static const QRegularExpression numRe(QStringLiteral("^[-+]?[0-9]+(\\.[0-9]+)?$"));
    if (!numRe.match(bare).hasMatch())
        return std::nullopt;
    return bare;
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
    // The first field is the service's own id: everything up to the first comma.
    const int firstComma = line.indexOf(QLatin1Char(','));
    if (firstComma < 0)
        return fail(QStringLiteral("в строке нет полей"));
    out.append({QString(), line.left(firstComma).trimmed()});
    LineCursor c{line, firstComma + 1};
    for (;;) {
        c.skipSpaces();
        if (c.atEnd())
            break;
        QString why;
        const auto column = readColumnName(c, &why);
        if (!column)
            return fail(why);
        c.skipSpaces();
        QString value;
        if (c.atQuote()) {
            bool closed = false;
            value = readQuotedValue(c, &closed);
            if (!closed) {
                // Only the last value may lack its closing quote.
                out.append({*column, value});
                break;
            }
            if (!passFieldEnd(c))
                return fail(QStringLiteral("лишний текст после значения поля ") + *column);
        } else {
            const auto bare = readBareValue(c);
            if (!bare)
                return fail(QStringLiteral("значение поля ") + *column + QStringLiteral(" не в кавычках"));
            value = *bare;
        }
        out.append({*column, value});
    }
    return out;
}

std::optional<UpdateRow> ReadUpdateRow(const KindFacts &kind, const QString &line, const QSet<QString> &columns, QString *error)
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
