#pragma once
// Trees stored as rows: each row names its parent by id (0 at the top).
#include <QString>
#include <functional>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace qv::controls {

// A row of a table that holds a tree.
struct TreeRow {
    int id = 0;
    int parentId = 0;
    QString name;
};
struct TreeRowNode {
    int id = 0;
    QString name;
    std::vector<int> children; // indexes into TreeRowPlan::nodes
};
// Where the rows go, without widgets.
struct TreeRowPlan {
    std::vector<TreeRowNode> nodes;
    std::vector<int> front; // top rows before what is already there, in tree order
    std::vector<int> back;  // top rows after it (named `lastTop`)
};

// Places the rows in the order given: a top row (parent 0) goes before the top
// rows placed before it, except one named `lastTop` (when not empty), which
// goes after everything; any other row goes under the first placed row with
// its parent's id, and is left out when there is none (yet).
TreeRowPlan PlanTreeRows(const std::vector<TreeRow> &rows, const QString &lastTop = QString());

// Makes the plan's nodes with `make` and puts the top ones under `root`, or at
// the tree's top when `root` is null: the front ones before the nodes already
// there, the back ones after them.
void BuildRowTree(QTreeWidget *tree, QTreeWidgetItem *root, const TreeRowPlan &plan,
                  const std::function<QTreeWidgetItem *(const TreeRowNode &)> &make);

} // namespace qv::controls
