#include "projects/lengthlimit.h"

#include <algorithm>

namespace qv::projects {

namespace {
int charCost(QChar c, LineBreaks breaks) { return c == QLatin1Char('\n') && breaks == LineBreaks::CountTwo ? 2 : 1; }
} // namespace

int CountedLength(const QString &text, LineBreaks breaks)
{
    if (breaks == LineBreaks::CountOne)
        return static_cast<int>(text.size());
    return static_cast<int>(text.size() + text.count(QLatin1Char('\n')));
}

LimitedText LimitUserEdit(const QString &before, const QString &after, int limit, LineBreaks breaks)
{
    // The common beginning, then the common end within what is left.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    // Never split a surrogate pair at either end of the changed part.
    if (prefix > 0 && after.at(prefix - 1).isHighSurrogate())
        --prefix;
    if (suffix > 0 && after.at(after.size() - suffix).isLowSurrogate())
        --suffix;

    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    const QString kept = before.left(prefix) + before.right(suffix);

    LimitedText out;
    // A text over its limit (as loaded) may stay as long as it is, never grow.
    const int cap = std::max(limit, CountedLength(before, breaks));
    if (CountedLength(after, breaks) <= cap) {
        out.text = after;
        out.cursor = static_cast<int>(prefix + inserted.size());
        return out;
    }

    int budget = std::max(0, cap - CountedLength(kept, breaks));
    qsizetype take = 0;
    while (take < inserted.size()) {
        qsizetype step = 1;
        if (inserted.at(take).isHighSurrogate() && take + 1 < inserted.size())
            step = 2;
        const int cost = step == 2 ? 2 : charCost(inserted.at(take), breaks);
        if (cost > budget)
            break;
        budget -= cost;
        take += step;
    }
    out.cut = take < inserted.size();
    out.text = before.left(prefix) + inserted.left(take) + before.right(suffix);
    out.cursor = static_cast<int>(prefix + take);
    return out;
}

QString RemainingCounterText(int limit, int length)
{
    return QStringLiteral("Осталось символов:") + QString::number(limit - length);
}

QString EnteredCounterText(int length) { return QStringLiteral("Введено символов:") + QString::number(length); }

QString MemoDisplayText(const QString &stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString MemoStoredText(const QString &display, const QString &lineBreak)
{
    if (lineBreak == QLatin1String("\n"))
        return display;
    QString text = display;
    text.replace(QLatin1Char('\n'), lineBreak);
    return text;
}

QString StoredLineBreak(const QString &stored)
{
    if (!stored.contains(QStringLiteral("\r\n")) && stored.contains(QLatin1Char('\n')))
        return QStringLiteral("\n");
    return QStringLiteral("\r\n");
}

} // namespace qv::projects
