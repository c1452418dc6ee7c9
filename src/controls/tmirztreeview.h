#pragma once
// The check-state tree view: a tree whose per-node state image serves as a
// check box. The state behaviour lives in CheckStateTree; this control draws
// the states in front of each node and routes the clicks on them.
//
// Used for the resource editor's rubric tree and the contact editor's section
// trees. It is created with StateRecursion off; the owner switches it on once
// the control exists (SetStateRecursion(true)).
#include "controls/checkstatetree.h"

#include <QStringList>
#include <QTreeWidget>

namespace qv::controls {

class TmirzTreeView : public QTreeWidget, public CheckStateTree {
    Q_OBJECT
public:
    // The item data role (column 0) that holds a node's state; no value = -1.
    static constexpr int StateRole = Qt::UserRole + 100;
    // Width of the state image drawn in front of a node's text.
    static constexpr int StateImageWidth = 18;

    explicit TmirzTreeView(QWidget *parent = nullptr);
    ~TmirzTreeView() override;

    // The node's state; -1 for a node that has none yet.
    static int state(const QTreeWidgetItem *item);
    // Assigns a node's state the way code sets the tree's node state: with
    // recursion on, a state of 1 or 2 then propagates down.
    void setState(QTreeWidgetItem *item, int state);
    // The area of the node's state image in viewport coordinates (empty when
    // the node shows none: states -1 and 0).
    QRect stateImageRect(const QTreeWidgetItem *item) const;

    // Informational texts; writes are ignored.
    QStringList Help() const { return m_help; }
    void setHelp(const QStringList &) {}
    QString Version() const { return QStringLiteral(".1 beta"); }
    void setVersion(const QString &) {}
    QString OtherStuff() const;
    void setOtherStuff(const QString &) {}

    // Loading flag: no propagation while the owner fills the tree. endLoad
    // then normalises the tree (ResyncStates: every ticked node pushes its
    // state down); endLoadAsAssigned keeps every state exactly as the owner
    // assigned it, for trees that show stored ticks node by node.
    void beginLoad() { m_loading = true; }
    void endLoad();
    void endLoadAsAssigned() { m_loading = false; }

    // CheckStateTree access.
    int nodeState(Node node) const override;
    void writeState(Node node, int state) override;
    Node firstTopNode() const override;
    Node firstChild(Node node) const override;
    Node nextSibling(Node node) const override;
    Node parentNode(Node node) const override;
    bool isLoading() const override { return m_loading; }

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void onItemChanged(QTreeWidgetItem *item, int column);

    QStringList m_help;
    bool m_loading = false;
    bool m_assigning = false;
};

} // namespace qv::controls
