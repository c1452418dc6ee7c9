#pragma once
// Filters without widgets: the items of the filter editor's four lists, the
// maps between a list index and the value stored in the filter row, and the
// statements that save, rename and delete a filter. Names are quoted.
#include "workbench/resourcelist_logic.h"

#include <QString>
#include <QStringList>

namespace qv::workbench {

// One condition list of the filter editor: its items in index order and the
// value each index stores (the same for all three kinds).
struct FilterChoice {
    const char *column; // column of the filter row without its prefix
    QStringList items;
    QStringList values;
};

const FilterChoice &burlChoice();      // cbBURL, need_burl
const FilterChoice &redirectChoice();  // cbRedirect, redirect
const FilterChoice &autoCheckChoice(); // cbAutoCheck, autocheck
const FilterChoice &regStatusChoice(); // cbRegStatus, regstatus

// The index whose stored value equals `stored`; 0 for a value in no row.
int IndexOfStored(const FilterChoice &choice, const QString &stored);
// The value an index stores; "" for an index outside the list.
QString StoredAt(const FilterChoice &choice, int index);

// What the editor shows: the minimum TIC and PR and the four list indexes.
struct FilterEditorValues {
    int tic = -1;
    int pr = -1;
    int burl = 0;
    int redirect = 0;
    int autoCheck = 0;
    int regStatus = 0;
};

// The editor's values for a filter row as stored (TIC or PR that is not an
// integer reads as -1, a list value outside its map as index 0).
FilterEditorValues EditorValuesFromRow(const FilterConditions &row);
// The stored conditions for the editor's values.
FilterConditions ConditionsFromEditor(const FilterEditorValues &v);

// "UPDATE cfilters SET cfilter_tic=.. , cfilter_pr=.. , ... WHERE cfilter_name=.."
QString FilterSaveSql(const KindFacts &k, const QString &name, const FilterEditorValues &v);
// The same for the row whose id is `id` ("... WHERE cfilter_id=..").
QString FilterSaveByIdSql(const KindFacts &k, qint64 id, const FilterEditorValues &v);
QString FilterRenameSql(const KindFacts &k, const QString &oldName, const QString &newName);
QString FilterDeleteSql(const KindFacts &k, const QString &name);

} // namespace qv::workbench
