#pragma once
// Statements of the software versions (table smaterials) and the text rules
// of their per-language descriptions, without widgets.
#include "projects/padexport.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace qv::db {
class QueryResult;
class Row;
} // namespace qv::db

namespace qv::projects {

// The first software version of the project (the row the page shows).
QString SoftwareOfProjectSql(int projectId);
// The version with this id (the language switch's row).
QString SoftwareByIdSql(int id);
// The project's version of that name.
QString SoftwareByNameSql(const QString &name, int projectId);
// A new version: a name and the project, nothing else.
QString SoftwareInsertSql(const QString &name, int projectId);
// The PAD export's source row.
QString PadSourceSql(int projectId);

// The columns of the page's save in their order, as the statement names them.
// The three size columns follow "smaterial_rcost".
const QStringList &SoftSaveColumns();

// The size columns computed from the typed number of bytes.
struct SoftSizes {
    QString bsize;
    QString ksize;
    QString msize;
};
// "n div unit" + "," + "n mod unit" for a unit of 1000 or 1000000, the
// remainder with its leading zeros (as many digits as the unit has zeros).
QString SizeInUnits(qint64 bytes, qint64 unit);
// Nothing, with `error` set to "'<text>' is not a valid integer value", when
// the text is not a whole (64-bit) number.
std::optional<SoftSizes> SoftSizesFromText(const QString &text, QString *error);

// The six per-language texts, as the controls show them (memo line breaks as
// "\n" or CR LF).
struct LanguageTexts {
    QString keywords;
    QString description45;
    QString description80;
    QString description250;
    QString description450;
    QString description2000;
    bool operator==(const LanguageTexts &) const = default;
};

// True for the 23 description languages (they name columns).
bool IsDescriptionLanguage(const QString &language);
// The six columns of a language: keywords, 45, 80, 250, 450, 2000.
QStringList LanguageColumns(const QString &language);

// Line breaks of the keywords and of the three description memos are stored
// as "<BR>".
QString LineBreaksToBr(const QString &text);
// "<BR>" in any letter case read back as CR LF (the three memos only).
QString BrToLineBreaks(const QString &stored);
// The values the statements write, in the order of LanguageColumns().
QStringList StoredLanguageValues(const LanguageTexts &texts);
// The texts of a language as a fetched row holds them, ready for the controls.
LanguageTexts LanguageTextsFromRow(const db::QueryResult &result, const db::Row &row, const QString &language);

// The columns the page's save writes with their values, in the statement's
// order (see SoftwareUpdateSql); nothing, with `error` set, when the size is
// not a number or the language is not one of the 23.
std::optional<QList<std::pair<QString, QString>>> SoftwareSaveValues(const QHash<QString, QString> &values,
                                                                     const QString &language,
                                                                     const std::optional<LanguageTexts> &texts, QString *error);
// The caption of the page's field that holds a column, for messages.
QString SoftFieldCaption(const QString &column);

// The page's save: every column of SoftSaveColumns() from `values` (keyed as
// that list spells them; a missing key writes the empty text), the sizes only
// when "smaterial_bsize" is not empty, then the six columns of `language`
// when `texts` is given. Into every row of the project. Nothing, with `error`
// set, when the size is not a number or the language is not one of the 23.
std::optional<QString> SoftwareUpdateSql(const QHash<QString, QString> &values, const QString &language,
                                         const std::optional<LanguageTexts> &texts, int projectId, QString *error);
// The language switch's save: the six columns of one language in one row.
QString LanguageTextsUpdateSql(int id, const QString &language, const LanguageTexts &texts);

// The PAD export's source: every column by lower-cased name (NULL as empty).
PadSource PadSourceFromRow(const db::QueryResult &result, const db::Row &row);

} // namespace qv::projects
