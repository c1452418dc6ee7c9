#pragma once
// The sizes of a table's text columns, and the check every editor runs before
// it sends a statement: a value longer than its column is refused with a
// message that names the field, instead of being cut or refused by the server
// with a text a user cannot read.
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace qv::db {

struct ColumnLimit {
    // VARCHAR and CHAR count characters; the TEXT kinds count bytes (UTF-8).
    enum Unit { Characters, Bytes };
    Unit unit = Characters;
    qint64 max = 0;
};

// A value a save writes: its column and the caption of its field on screen.
struct FieldValue {
    QString column;
    QString label;
    QString value;
};

// The value's length as its column counts it: characters (a surrogate pair is
// one character) or UTF-8 bytes.
qint64 LengthInUnit(const QString &value, ColumnLimit::Unit unit);
bool FitsColumn(const QString &value, const ColumnLimit &limit);
// A field's caption as a message names it: without the trailing colon or
// dots of its label, blanks made single.
QString ShownCaption(const QString &label);
// The message for a value too long for its column, naming the field and its limit.
QString TooLongMessage(const QString &label, const ColumnLimit &limit);

// The text columns of a table of the connection's database with their sizes,
// by lower-cased name, as the server tells them now; nothing when the
// statement failed (reported).
std::optional<QHash<QString, ColumnLimit>> ColumnLimits(const QString &table);

// The message for the first field whose value is longer than its column;
// nothing when every value fits. Columns without a size are not checked.
std::optional<QString> FirstTooLong(const QHash<QString, ColumnLimit> &limits, const QList<FieldValue> &fields);

// True when every value fits its column. Otherwise shows the message for the
// first field that does not and returns false; false also when the sizes could
// not be read (reported).
bool FieldsFit(const QString &table, const QList<FieldValue> &fields);

} // namespace qv::db
