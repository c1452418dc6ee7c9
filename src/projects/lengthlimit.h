#pragma once
// Length limits and counters of the limited material fields, without widgets.
//
// A limited field keeps whatever a load puts into it, even past its limit; an
// edit by the user may shrink the text at any time but can never make it longer
// than the limit. Memo texts are measured the way the counters show them: a
// line break counts two characters (carriage return and line feed).
#include <QString>

namespace qv::projects {

enum class LineBreaks { CountOne, CountTwo };

// Length of `text` as the counters count it.
int CountedLength(const QString &text, LineBreaks breaks);

// What a field keeps after a user edit turned `before` into `after`.
struct LimitedText {
    QString text;
    // Where the inserted part (as kept) ends: the place for the cursor.
    int cursor = 0;
    // True when part of the insertion was cut off.
    bool cut = false;
};

// The edit is seen as one replacement: the common beginning and end of the two
// texts stay, the part of `before` between them is removed and the part of
// `after` between them is inserted. An edit that leaves the text within
// `limit`, or no longer than it was, is kept whole; otherwise the inserted part
// is cut to what still fits under the limit (under the old length, for a text
// that was already over it). Deleting therefore always works.
LimitedText LimitUserEdit(const QString &before, const QString &after, int limit, LineBreaks breaks);

// "Осталось символов:" + (limit - length).
QString RemainingCounterText(int limit, int length);
// "Введено символов:" + length.
QString EnteredCounterText(int length);

// Memo texts are stored with CR LF line breaks; the editor shows "\n".
QString MemoDisplayText(const QString &stored);
// The stored form of a memo's text: every "\n" becomes `lineBreak`.
QString MemoStoredText(const QString &display, const QString &lineBreak = QStringLiteral("\r\n"));
// The line break a stored text uses: "\n" when it has line feeds but no CR LF,
// CR LF otherwise (so that a text keeps its own form through load and save).
QString StoredLineBreak(const QString &stored);

} // namespace qv::projects
