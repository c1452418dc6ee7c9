#pragma once
// The state behaviour of the check-state tree, without widgets: a node's state
// image serves as a check box, and with state recursion on a ticked or
// unticked node pushes its state down its whole subtree. Branches whose state
// equals the ignore value are left alone; parents are never recomputed from
// their children.
//
// The class works on any tree that provides the accessors below: the tree view
// control (TmirzTreeView) and a plain in-memory tree (PlainStateTree).
#include <QIODevice>
#include <QStringList>
#include <memory>
#include <vector>

namespace qv::controls {

// Node states (the node's state-image index).
enum NodeState : int {
    StateUnset = -1, // a new node: no state image yet
    StateNone = 0,   // no state image
    StateUnticked = 1,
    StateTicked = 2,
    StateGrey = 3, // an image exists; nothing assigns it
};

class CheckStateTree {
public:
    using Node = void *;

    virtual ~CheckStateTree() = default;

    // Propagation on or off. Switching it on normalises the whole tree
    // (ResyncStates from the first top-level node).
    bool StateRecursion() const { return m_stateRecursion; }
    virtual void SetStateRecursion(bool value);

    // The state that marks a branch as excluded from propagation.
    int StateIgnore() const { return m_stateIgnore; }
    void setStateIgnore(int value) { m_stateIgnore = value; }

    // Pushes the node's state down its subtree (recursion is off meanwhile and
    // always on afterwards).
    virtual void PropagateDown(Node node);
    // Normalises the node, its following siblings and their subtrees: unset
    // nodes become unticked, ticked nodes push their state down.
    virtual void ResyncStates(Node node);
    // Called after a node was set to 1 or 2 while recursion is on.
    virtual void StateChanged(Node node);
    // All states as 4-byte little-endian integers, children before the next
    // sibling; a value equal to StateIgnore ends its sibling chain.
    virtual void StatesSaveToStream(QIODevice &stream);
    virtual void StatesLoadFromStream(QIODevice &stream);

    // The reaction to an update of a node: with recursion on, a node in state
    // 1 or 2 propagates, whatever the update was. The tree calls it after each
    // assignment made through writeState and after other updates of a node.
    void nodeUpdated(Node node);
    // A click on a state icon: the selected node's state steps 1 -> 2 -> 1
    // (anything above 2 gives 1). Nothing with recursion off.
    void stateIconClicked(Node selected);
    static int nextClickState(int state);
    // After the owner has filled the tree: with recursion on, ResyncStates.
    void Loaded();

    // Access to the tree.
    virtual int nodeState(Node node) const = 0;
    // Assigns a state; the tree then calls nodeUpdated(node).
    virtual void writeState(Node node, int state) = 0;
    virtual Node firstTopNode() const = 0;
    virtual Node firstChild(Node node) const = 0;
    virtual Node nextSibling(Node node) const = 0;
    virtual Node parentNode(Node node) const = 0;
    // True while the tree is being built or read (no reaction then).
    virtual bool isLoading() const { return false; }

protected:
    void PushStateToChildren(Node node);
    // Parents are not recomputed from their children: nothing to do.
    void UpdateParentState(Node parent);

    // Sets the flag without the resync of SetStateRecursion.
    void setRecursionFlag(bool on) { m_stateRecursion = on; }

private:
    void saveChain(Node node, QDataStream &out);
    bool loadChain(Node node, QDataStream &in);

    bool m_stateRecursion = false;
    int m_stateIgnore = 0;
};

// A tree of plain nodes with the same behaviour, for code that keeps states
// without a view.
class PlainStateTree : public CheckStateTree {
public:
    PlainStateTree();
    ~PlainStateTree() override;

    // Appends a node under `parent` (-1: top level); returns its index.
    int add(int parent = -1, int state = StateUnset);
    int count() const { return static_cast<int>(m_nodes.size()); }
    int state(int index) const;
    // Assigns a state the way code assigns it to a tree item.
    void setState(int index, int state);
    // A click on the state icon while `index` is the selected node.
    void click(int index);
    Node node(int index) const;
    int indexOf(Node node) const;
    // Counts how often nodeUpdated reacted with a propagation.
    int propagations = 0;

    int nodeState(Node node) const override;
    void writeState(Node node, int state) override;
    Node firstTopNode() const override;
    Node firstChild(Node node) const override;
    Node nextSibling(Node node) const override;
    Node parentNode(Node node) const override;
    void StateChanged(Node node) override;

private:
    struct Item {
        int index = 0;
        size_t position = 0; // among its siblings
        int state = StateUnset;
        Item *parent = nullptr;
        std::vector<Item *> children;
    };
    Item *sibling(const Item *item) const;

    std::vector<std::unique_ptr<Item>> m_nodes;
    std::vector<Item *> m_top;
};

} // namespace qv::controls
