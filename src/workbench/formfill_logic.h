#pragma once
// The form filler's decisions, without a browser or a database: which page
// element receives which material value, which credential, which option.
#include "workbench/kindfacts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace qv::workbench {

// One line of the mapping list: the resource column, upper-cased, and its
// value with every blank removed, upper-cased.
struct MappingLine {
    QString column;
    QString value;
};
QList<MappingLine> BuildMappingList(const QStringList &columns, const QStringList &values);

// The value list: material column renamed to its mapping column (upper-cased)
// with the stored value as it is. Later columns of the same key win nothing:
// the first one is kept.
struct ValueList {
    QStringList keys;
    QStringList values;
    QString value(const QString &key) const;
};
ValueList BuildValueList(const KindFacts &kind, const QStringList &columns, const QStringList &values);

// The column of the last mapping line that names the element ("" when none).
// `upperName` is the element's name upper-cased.
QString MatchKey(const QList<MappingLine> &mapping, const QString &upperName);

// "<BR>" in any letter case becomes CR LF.
QString ExpandBreaks(QString text);

// Input types that count as text fields; "password" is its own.
bool IsTextInputType(const QString &type);

// A form element as read from the page.
struct PageElement {
    QString name;
    QString type;        // lower-cased type attribute (inputs)
    QStringList options; // option texts (selects)
};

enum class Credential { None, Login, Password };

// What an INPUT element needs before its value is known.
struct InputDecision {
    QString key;
    QString value; // material value (already expanded)
    Credential credential = Credential::None;
};
InputDecision DecideInput(const KindFacts &kind, const QList<MappingLine> &mapping, const ValueList &values,
                          const PageElement &element);
// Whether the value is written into the input at all.
bool WritesInput(const PageElement &element, const QString &value);

// A text area's value; empty when it is not written.
QString DecideTextArea(const QList<MappingLine> &mapping, const ValueList &values, const PageElement &element);

// The option a drop-down list gets for the description's city, country and
// categories; nothing when the list stays as it is.
std::optional<int> ChooseOption(const QStringList &options, const QString &city, const QString &country,
                                const QString &categories);

// The next index of the turn of descriptions over the fill menu's items
// 2 .. itemCount-1; nothing when the menu holds no description.
std::optional<int> NextFillMenuIndex(int current, int itemCount);

} // namespace qv::workbench
