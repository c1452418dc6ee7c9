#pragma once
// The fixed item lists of the software page and the rules by which the page
// matches stored texts against them. The item texts are stored values.
#include <QList>
#include <QString>
#include <QStringList>

namespace qv::projects {

// Drop-down lists.
const QStringList &SoftTypeItems();
const QStringList &SoftReleaseStatusItems();
const QStringList &SoftInstallItems();
const QStringList &SoftCategoryItems();
// "group::class" items, then one item with a single colon, then two empty items.
const QStringList &SoftCategoryClassItems();
// Check lists.
const QStringList &SoftLanguageItems();
const QStringList &SoftOsItems();

// A stored item in the spelling of the PAD format's lists (the base keeps the
// page's own texts): "ShareWare" gives "Shareware", "Scree Savers" "Screen
// Savers", "System Utilites::File & Disc Management" "System Utilities::File &
// Disk Management". Type, category and category class keep a text the lists
// do not know.
QString PadProgramType(const QString &stored);
QString PadCategory(const QString &stored);
QString PadCategoryClass(const QString &stored);
// One operating system as one of the format's values: "Windows2000" gives
// "Win2000", "Windows2003" "WinServer", the older Windows versions "WinOther",
// a system the format does not list "Other"; an empty text stays empty.
QString PadOsName(const QString &stored);

// The values PAD 3.11 accepts for the supported systems and for the
// specific category.
const QStringList &PadOsValues();
const QStringList &PadCategoryValues();

// Index of the item equal to `value` without regard to letter case; -1 when none.
int FindItemNoCase(const QStringList &items, const QString &value);

// The stored form of a check list: the checked items in list order, each
// followed by ",". Nothing checked gives the empty text.
QString CheckedItemsText(const QStringList &items, const QList<bool> &checked);
// Which items a stored text checks: an item is checked when it equals one of
// the text's comma-separated parts (blanks around a part and letter case do
// not count), so "OS/2 Warp 4," checks that item only.
QList<bool> CheckedItemsFromText(const QStringList &items, const QString &stored);

} // namespace qv::projects
