#pragma once
// The PAD file: the project's software description written into the
// template "Pad_File.xml" by its %Placeholder% names.
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace qv::projects {

// The 23 description languages, in the order of the language list.
const QStringList &DescriptionLanguages();

struct PadSource {
    // The software row's columns, by lower-cased name.
    QHash<QString, QString> columns;
    // Read from the screen: the expiry counts and the two agreements.
    QString expDays;
    QString expUses;
    QString distributionAgreement;
    QString licenseAgreement;

    QString value(const QString &column) const { return columns.value(column.toLower()); }
};

struct PadResult {
    QString text;  // the file's text, lines ending in CR LF
    QString error; // why nothing can be written
};

// Every placeholder's value, each escaped for XML, found in one pass over the
// template: a value that holds a placeholder's name is not substituted again.
PadResult BuildPad(const QString &templateText, const PadSource &source);

// The value of each placeholder (unescaped); nothing when a size is not a number.
std::optional<QHash<QString, QString>> PadValues(const PadSource &source, QString *error);

// Escapes &, <, >, " and ' for XML text and attributes.
QString XmlEscape(const QString &text);
// Drops what XML 1.0 forbids in a document: controls other than tab, CR
// and LF, lone surrogate halves, U+FFFE and U+FFFF.
QString XmlChars(const QString &text);
// "<BR>" as a blank (single-line fields, keywords) or as CR LF (the long description).
QString PadSingleLine(const QString &text);
QString PadMultiLine(const QString &text);

} // namespace qv::projects
