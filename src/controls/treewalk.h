#pragma once
// Every node of a tree widget, parents before their children.
#include <QList>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace qv::controls {

// The tree's nodes in pre-order: each node, then its subtree, top to bottom.
inline QList<QTreeWidgetItem *> TreeItems(QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> out;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        out << *it;
    return out;
}

} // namespace qv::controls
