#include "db/query.h"
#include "db/database.h"
#include "core/prompt.h"

#include <algorithm>

namespace qv::db {

std::optional<Row> QueryResult::FetchRow()
{
    const bool open = m_result.isOpen();
    if (!m_result.fetch()) {
        if (open && m_result.failed()) {
            const Database &db = m_result.database();
            core::prompt().message(StatementFailedMessage(db.lastStatement(), db.errorText()));
        }
        return std::nullopt;
    }
    char *const *row = m_result.row();
    const unsigned long *lengths = m_result.lengths();
    const unsigned columns = m_result.columnCount();
    QStringList values;
    QList<bool> nulls;
    values.reserve(columns);
    nulls.reserve(columns);
    for (unsigned i = 0; i < columns; ++i) {
        if (row[i]) {
            values.append(QString::fromUtf8(row[i], static_cast<qsizetype>(lengths[i])));
            nulls.append(false);
        } else {
            values.append(QString());
            nulls.append(true);
        }
    }
    return Row(std::move(values), std::move(nulls));
}

namespace {

// One piece of a statement as the password masking reads it.
struct Token {
    enum Kind { Word, Text, Punct } kind;
    qsizetype begin, end; // [begin, end) in the statement
};

bool wordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('.'); }

QList<Token> tokenize(const QString &sql)
{
    QList<Token> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            // A quoted text (or name): backslash escapes and doubled quotes inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql.at(j) == QLatin1Char('\\') && c != QLatin1Char('`')) {
                    j += 2;
                } else if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c)
                        j += 2;
                    else
                        break;
                } else {
                    ++j;
                }
            }
            const qsizetype end = std::min(j + 1, n);
            out.append({c == QLatin1Char('`') ? Token::Word : Token::Text, i, end});
            i = end;
        } else if (wordChar(c)) {
            qsizetype j = i;
            while (j < n && (wordChar(sql.at(j)) || sql.at(j) == QLatin1Char('`')))
                ++j;
            out.append({Token::Word, i, j});
            i = j;
        } else {
            out.append({Token::Punct, i, i + 1});
            ++i;
        }
    }
    return out;
}

// A column whose values are secrets: "user_password", "cauth_password", ...
bool passwordColumn(const QString &sql, const Token &t)
{
    if (t.kind != Token::Word)
        return false;
    QString name = sql.mid(t.begin, t.end - t.begin);
    name.remove(QLatin1Char('`'));
    name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1).toLower();
    return name == QLatin1String("password") || name.endsWith(QLatin1String("_password"));
}

bool isPunct(const QString &sql, const QList<Token> &tokens, qsizetype i, QChar c)
{
    return i >= 0 && i < tokens.size() && tokens[i].kind == Token::Punct && sql.at(tokens[i].begin) == c;
}

// The last token of the value that starts at `i`: one token, or a call with its
// parenthesised arguments.
qsizetype valueEnd(const QString &sql, const QList<Token> &tokens, qsizetype i)
{
    if (tokens[i].kind == Token::Word && isPunct(sql, tokens, i + 1, QLatin1Char('('))) {
        int depth = 0;
        for (qsizetype j = i + 1; j < tokens.size(); ++j) {
            if (isPunct(sql, tokens, j, QLatin1Char('(')))
                ++depth;
            else if (isPunct(sql, tokens, j, QLatin1Char(')')) && --depth == 0)
                return j;
        }
        return tokens.size() - 1;
    }
    return i;
}

struct Span {
    qsizetype first, last; // token indexes, both included
};

// The values of password columns in `sql`, as token spans: "col=value" pairs
// and the matching places of "(col, ...) VALUES (..., ...)" lists.
QList<Span> passwordValues(const QString &sql, const QList<Token> &tokens)
{
    QList<Span> spans;
    for (qsizetype i = 0; i + 2 < tokens.size(); ++i) {
        if (passwordColumn(sql, tokens[i]) && isPunct(sql, tokens, i + 1, QLatin1Char('=')) && tokens[i + 2].kind != Token::Punct)
            spans.append({i + 2, valueEnd(sql, tokens, i + 2)});
    }
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!isPunct(sql, tokens, i, QLatin1Char('(')))
            continue;
        // A column list: names and commas up to ")", then VALUES.
        QList<int> secret;
        qsizetype j = i + 1;
        int position = 0;
        bool names = true;
        while (j < tokens.size() && !isPunct(sql, tokens, j, QLatin1Char(')'))) {
            if (tokens[j].kind == Token::Word) {
                if (passwordColumn(sql, tokens[j]))
                    secret.append(position);
            } else if (isPunct(sql, tokens, j, QLatin1Char(','))) {
                ++position;
            } else {
                names = false;
                break;
            }
            ++j;
        }
        if (!names || secret.isEmpty() || j + 1 >= tokens.size())
            continue;
        const QString keyword = sql.mid(tokens[j + 1].begin, tokens[j + 1].end - tokens[j + 1].begin).toUpper();
        if (keyword != QLatin1String("VALUES") && keyword != QLatin1String("VALUE"))
            continue;
        // Every row of values: split at the commas outside parentheses.
        qsizetype k = j + 2;
        while (isPunct(sql, tokens, k, QLatin1Char('('))) {
            int depth = 0, field = 0;
            qsizetype start = k + 1;
            for (++k; k < tokens.size(); ++k) {
                const bool open = isPunct(sql, tokens, k, QLatin1Char('('));
                const bool close = isPunct(sql, tokens, k, QLatin1Char(')'));
                if (open) {
                    ++depth;
                } else if (close && depth > 0) {
                    --depth;
                } else if (depth == 0 && (close || isPunct(sql, tokens, k, QLatin1Char(',')))) {
                    if (secret.contains(field) && k > start)
                        spans.append({start, k - 1});
                    ++field;
                    start = k + 1;
                    if (close)
                        break;
                }
            }
            ++k;
            if (!isPunct(sql, tokens, k, QLatin1Char(',')))
                break;
            ++k;
        }
        i = k - 1;
    }
    return spans;
}

// Where a hidden text stands in the statement: [begin, end).
struct Hidden {
    qsizetype begin, end;
};

// The statement with every password column's value as "***"; `hidden` gets
// the places of the texts that were taken out (inside their quotes).
QString hidePasswords(const QString &sql, QList<Hidden> *hidden = nullptr)
{
    if (!sql.contains(QLatin1String("password"), Qt::CaseInsensitive))
        return sql;
    const QList<Token> tokens = tokenize(sql);
    QList<Span> spans = passwordValues(sql, tokens);
    if (spans.isEmpty())
        return sql;
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.first > b.first; });
    QString out = sql;
    qsizetype limit = sql.size();
    for (const Span &s : spans) {
        const qsizetype begin = tokens[s.first].begin, end = tokens[s.last].end;
        if (end > limit)
            continue; // overlaps a span already hidden
        const Token &t = tokens[s.first];
        QString mask = QStringLiteral("***");
        if (s.first == s.last && t.kind == Token::Text) {
            const QChar quote = sql.at(t.begin);
            mask = quote + mask + quote;
            if (hidden && end - begin > 2)
                hidden->append({begin + 1, end - 1});
        } else if (hidden) {
            hidden->append({begin, end});
        }
        out.replace(begin, end - begin, mask);
        limit = begin;
    }
    return out;
}

} // namespace

QString StatementForMessage(const QString &sql)
{
    constexpr qsizetype kShown = 2000;
    const QString shown = hidePasswords(sql);
    if (shown.size() <= kShown)
        return shown;
    return shown.left(kShown) + QChar(0x2026);
}

QString StatementFailedMessage(const QString &sql, const QString &serverText)
{
    QList<Hidden> hidden;
    hidePasswords(sql, &hidden);
    QString text = serverText;
    // A syntax error quotes the statement from the point of the error on
    // ("... near '<piece>' at line N"), the piece cut after some characters
    // and then "...": what of a hidden text the piece holds, whole or cut,
    // is hidden by its place in the statement.
    const QString nearMark = QStringLiteral("near '");
    const qsizetype start = hidden.isEmpty() ? -1 : text.indexOf(nearMark);
    if (start >= 0) {
        const qsizetype from = start + nearMark.size();
        qsizetype to = text.lastIndexOf(QStringLiteral("' at line"));
        if (to < from)
            to = text.size();
        QString piece = text.mid(from, to - from);
        if (piece.endsWith(QStringLiteral("...")))
            piece.chop(3);
        // A cut inside a character leaves a replacement character.
        while (piece.endsWith(QChar(QChar::ReplacementCharacter)))
            piece.chop(1);
        const qsizetype at = piece.isEmpty() ? -1 : sql.indexOf(piece);
        if (at >= 0) {
            auto isHidden = [&](qsizetype i) {
                return std::any_of(hidden.cbegin(), hidden.cend(), [i](const Hidden &h) { return i >= h.begin && i < h.end; });
            };
            QString shown;
            for (qsizetype i = 0; i < piece.size();) {
                if (!isHidden(at + i)) {
                    shown += piece.at(i++);
                    continue;
                }
                shown += QStringLiteral("***");
                while (i < piece.size() && isHidden(at + i))
                    ++i;
            }
            text.replace(from, piece.size(), shown);
        }
    }
    // Any other quote of a whole hidden text.
    for (const Hidden &h : std::as_const(hidden)) {
        if (h.end - h.begin >= 3)
            text.replace(sql.mid(h.begin, h.end - h.begin), QStringLiteral("***"));
    }
    return QStringLiteral("Ошибка в запросе:") + StatementForMessage(sql) + QLatin1Char('\r') + text;
}

int ExecQuery(const QString &sql)
{
    Database &db = DbConnection();
    const int rc = db.query(sql);
    if (rc != 0)
        core::prompt().message(StatementFailedMessage(sql, db.errorText()));
    return rc;
}

std::optional<quint64> ExecChanging(const QString &sql)
{
    if (ExecQuery(sql) != 0)
        return std::nullopt;
    return DbConnection().affectedRows();
}

int RunDirect(const QString &sql) { return DbConnection().query(sql); }

QString RunFailedMessage(const QString &sql)
{
    return QStringLiteral("Ошибка в выполнении запроса:") + QLatin1Char('\r') + StatementForMessage(sql);
}

bool ForEachRow(const QString &sql, const std::function<void(const Row &)> &onRow)
{
    if (ExecQuery(sql) != 0)
        return false;
    QueryResult result(DbConnection());
    while (auto row = result.FetchRow())
        onRow(*row);
    return !result.failed();
}

std::optional<Row> FirstRow(const QString &sql, bool *failed)
{
    if (failed)
        *failed = false;
    if (ExecQuery(sql) != 0) {
        if (failed)
            *failed = true;
        return std::nullopt;
    }
    QueryResult result(DbConnection());
    auto row = result.FetchRow();
    if (!row && result.failed() && failed)
        *failed = true;
    return row;
}

QString EscapeSqlText(const QString &text) { return DbConnection().escape(text); }

QString Sql(const QString &text) { return QLatin1Char('"') + EscapeSqlText(text) + QLatin1Char('"'); }

QString SqlInt(qint64 value) { return QString::number(value); }

std::optional<qint64> ParseInt(const QString &text)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace qv::db
