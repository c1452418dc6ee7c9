#pragma once
// The base update without widgets: the service's addresses, the reply lines
// parsed into column/value pairs (never run as they come), the rubric pieces.
#include "workbench/kindfacts.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace qv::workbench {

// Every blank replaced by "%20"; the rest as it is.
QString DateForRequest(const QString &date);
// "/out_catalog.php?action=info&date=" + D
QString InfoPath(const KindFacts &kind, const QString &dateUpdate);
// The update address; in moderation mode forums use the forums' own date.
QString UpdatePath(const KindFacts &kind, const QString &dateUpdate, const QString &dateForums, bool forModeration);

// One field of a reply line: a column and its value (NULL is an empty text).
using UpdateField = QPair<QString, QString>;

// A reply line read as "id,col='v',col2='v2'..." (the last closing quote may be missing).
// Values may be quoted with ' or ", hold commas, '' and backslash escapes, or be bare
// numbers or NULL. Nothing when the line cannot be read.
std::optional<QList<UpdateField>> ParseUpdateLine(const QString &line, QString *error = nullptr);

// What a line gives for one kind's table.
struct UpdateRow {
    QString name;              // the resource's host name
    QList<UpdateField> fields; // known columns, the name included, id and unknown ones left out
    QStringList skipped;       // columns left out (each named once), a repeated one included
    QStringList duplicated;    // columns the line names more than once: their first value is kept
    QString subjects;          // the rubric list column's value
    bool hasSubjects = false;
};

// The first field (the service's id) dropped, the name required, only `columns` kept.
// A column named twice keeps its first value. `error` gets why the line cannot be
// read, or, for a line read with a repeated column dropped, the reason naming it.
std::optional<UpdateRow> ReadUpdateRow(const KindFacts &kind, const QString &line, const QSet<QString> &columns,
                                       QString *error = nullptr);

// Why a line's repeated columns were dropped ("поле catalog_title названо в строке дважды: ...").
QString DuplicatedReason(const QStringList &columns);

// The rubric ids of a list "3: 7: 12 ": pieces cut at ":", trimmed, whole numbers only;
// nothing when a piece is not a number. Empty pieces are skipped.
std::optional<QList<qint64>> RubricPieces(const QString &list);

// The reply split into its non-empty lines (CR, LF or CR LF).
QStringList ReplyLines(const QString &reply);

// An update reply's text: its bytes decoded in the charset its Content-Type
// declares (`fallback` when it declares none). Nothing, with `why` naming the
// charset and the first line whose bytes are not valid in it, when they are
// not: such a text would be stored with replacement characters.
std::optional<QString> UpdateReplyText(const QByteArray &body, const QByteArray &contentType, const QByteArray &fallback,
                                       QString *why = nullptr);

} // namespace qv::workbench
