#include "controls/rowtree.h"

#include <QHash>
#include <QTreeWidget>
#include <deque>

namespace qv::controls {

TreeRowPlan PlanTreeRows(const std::vector<TreeRow> &rows, const QString &lastTop)
{
    TreeRowPlan plan;
    std::deque<int> front;
    // The first placed row with an id takes the rows that name it as parent.
    QHash<int, int> byId;
    for (const TreeRow &row : rows) {
        int parent = -1;
        if (row.parentId != 0) {
            const auto it = byId.constFind(row.parentId);
            if (it == byId.cend())
                continue; // its parent is not in the tree
            parent = *it;
        }
        const int index = static_cast<int>(plan.nodes.size());
        plan.nodes.push_back({row.id, row.name, {}});
        if (parent >= 0)
            plan.nodes[static_cast<size_t>(parent)].children.push_back(index);
        else if (!lastTop.isEmpty() && row.name == lastTop)
            plan.back.push_back(index);
        else
            front.push_front(index);
        if (!byId.contains(row.id))
            byId.insert(row.id, index);
    }
    plan.front.assign(front.begin(), front.end());
    return plan;
}

void BuildRowTree(QTreeWidget *tree, QTreeWidgetItem *root, const TreeRowPlan &plan,
                  const std::function<QTreeWidgetItem *(const TreeRowNode &)> &make)
{
    // The nodes are linked before any enters the tree.
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(plan.nodes.size()));
    for (const TreeRowNode &node : plan.nodes)
        items << make(node);
    for (size_t i = 0; i < plan.nodes.size(); ++i) {
        for (int child : plan.nodes[i].children)
            items[static_cast<qsizetype>(i)]->addChild(items[child]);
    }
    QList<QTreeWidgetItem *> front, back;
    for (int i : plan.front)
        front << items[i];
    for (int i : plan.back)
        back << items[i];
    if (root) {
        root->insertChildren(0, front);
        root->addChildren(back);
    } else {
        tree->insertTopLevelItems(0, front);
        tree->addTopLevelItems(back);
    }
}

} // namespace qv::controls
