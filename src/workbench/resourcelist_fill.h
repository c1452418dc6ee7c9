#pragma once
// The fill of the resource list without widgets: the status and check logs
// are read once each into hashes, the list statement is streamed once, and
// every row becomes a list item with two lookups.
#include "workbench/resourcelist_logic.h"
#include "workbench/resourcelist_model.h"

#include <vector>

namespace qv::workbench {

// The node whose resources are listed.
struct ListSource {
    enum Type { Rubric, Section, Filter };
    Type type = Rubric;
    int id = 0;         // rubric or section id
    QString filterName; // the filter node's text
};

struct FillParams {
    KindFacts kind;
    int projectId = 0;
    int materialId = 0; // the active press release (forums)
    bool adminMode = false;
};

enum class FillOutcome {
    Filled,
    // The filter's row is gone: nothing to list, nothing to report.
    NoFilterRow,
    // A statement failed (already reported); `rows` holds what was read.
    Failed,
};

FillOutcome FillResourceRows(const FillParams &params, const ListSource &source, std::vector<ResourceRow> &rows);

} // namespace qv::workbench
