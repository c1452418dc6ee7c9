#pragma once
// The resource record editor's rules without windows: the host name of a
// typed address, the field template, the field-mapping lists, the rubric
// list column and the upload's record text and body.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace qv::workbench {

// The resource a typed registration address names.
struct TypedAddress {
    QString host; // the host part (with a port or query when the address has one)
    QString name; // the resource's name in the base
    QString site; // the site address: the typed scheme (http:// when none) and the host
};
// Nothing for an empty address or a bare scheme.
std::optional<TypedAddress> AddressOfRegistrationPage(const QString &typed);

// A line of a field template: "label=column".
struct TemplateLine {
    QString label;
    QString column; // empty: shown, never loaded or saved
};
// The template's lines; nothing when the file cannot be read.
std::optional<QList<TemplateLine>> ReadFieldTemplate(const QString &path, QString *why = nullptr);

// Field-mapping lists: comma lists of form-field names, compared whole and
// without regard to letter case.
bool MappingHas(const QString &list, const QString &name);
// Adds NAME (upper-cased) when absent; the existing names stay as they are.
QString MappingAdd(const QString &list, const QString &name);
// Removes every item equal to NAME; the rest upper-cased.
QString MappingRemove(const QString &list, const QString &name);

// The rubric list column: "3: 7: 12 " for 3, 7 and 12; empty for none.
QString RubricListText(const QList<int> &ids);

// One field of a resource row as the upload reads it.
struct UploadField {
    QString name;
    QString value;
};
// The record text of the upload: name="value" pairs joined by ":::: ",
// the id column left out, a trailing blank; in moderator mode moderation
// flags "0" sent as "1" and ":::: user_admin=1" appended; empty ad columns
// replaced by the dialog's texts.
QString UploadRecordText(const QList<UploadField> &fields, const QString &idColumn, const QString &prefix, bool adminMode,
                         const QString &adUrl, const QString &adName);
// The pairs are told apart only by their separator "::::": the first field
// (the id column aside) whose value holds it, empty when none. Such a record
// is not sent.
QString UploadFieldWithSeparator(const QList<UploadField> &fields, const QString &idColumn);
// "values=" and the text form-encoded from its windows-1251 bytes: blanks as
// "+", ASCII letters and digits as they are, every other byte as %XX; each
// character windows-1251 lacks goes as "&#N;" (its code), encoded too.
QByteArray UploadBody(const QString &recordText);
// The service's refusal: a reply body of exactly "306"; anything else, a
// line break or a blank after it included, means the record was taken.
bool UploadRefused(const QByteArray &body);

} // namespace qv::workbench
