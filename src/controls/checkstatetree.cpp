#include "controls/checkstatetree.h"

#include <QDataStream>

namespace qv::controls {

void CheckStateTree::SetStateRecursion(bool value)
{
    if (value == m_stateRecursion)
        return;
    m_stateRecursion = value;
    if (value)
        ResyncStates(firstTopNode());
}

void CheckStateTree::PropagateDown(Node node)
{
    if (!node)
        return;
    // The assignments below must not start nested propagations.
    setRecursionFlag(false);
    try {
        PushStateToChildren(node);
        if (Node parent = parentNode(node))
            UpdateParentState(parent);
    } catch (...) {
        setRecursionFlag(true);
        throw;
    }
    setRecursionFlag(true);
}

void CheckStateTree::PushStateToChildren(Node node)
{
    const int state = nodeState(node);
    if (state == m_stateIgnore)
        return;
    for (Node child = firstChild(node); child; child = nextSibling(child)) {
        const int childState = nodeState(child);
        if (childState == state)
            continue; // its own descendants keep their states
        if (childState != m_stateIgnore)
            writeState(child, state);
        PushStateToChildren(child);
    }
}

void CheckStateTree::UpdateParentState(Node) {}

void CheckStateTree::ResyncStates(Node node)
{
    for (Node n = node; n; n = nextSibling(n)) {
        int state = nodeState(n);
        if (state == m_stateIgnore)
            continue;
        if (state == StateTicked) {
            PropagateDown(n);
            continue;
        }
        if (state == StateUnset) {
            setRecursionFlag(false);
            writeState(n, StateUnticked);
            setRecursionFlag(true);
        }
        if (Node child = firstChild(n))
            ResyncStates(child);
    }
}

void CheckStateTree::StateChanged(Node node) { PropagateDown(node); }

void CheckStateTree::nodeUpdated(Node node)
{
    if (!node || isLoading() || !m_stateRecursion)
        return;
    const int state = nodeState(node);
    if (state == StateUnticked || state == StateTicked)
        StateChanged(node);
}

int CheckStateTree::nextClickState(int state)
{
    const int next = state + 1;
    return next > StateTicked ? StateUnticked : next;
}

void CheckStateTree::stateIconClicked(Node selected)
{
    if (!m_stateRecursion || !selected)
        return;
    writeState(selected, nextClickState(nodeState(selected)));
}

void CheckStateTree::Loaded()
{
    if (m_stateRecursion)
        ResyncStates(firstTopNode());
}

void CheckStateTree::saveChain(Node node, QDataStream &out)
{
    for (Node n = node; n; n = nextSibling(n)) {
        const qint32 state = nodeState(n);
        out << state;
        if (state == m_stateIgnore)
            return;
        if (Node child = firstChild(n))
            saveChain(child, out);
    }
}

bool CheckStateTree::loadChain(Node node, QDataStream &in)
{
    for (Node n = node; n; n = nextSibling(n)) {
        qint32 state = 0;
        in >> state;
        if (in.status() != QDataStream::Ok)
            return false;
        writeState(n, state);
        if (state == m_stateIgnore)
            return true;
        if (Node child = firstChild(n)) {
            if (!loadChain(child, in))
                return false;
        }
    }
    return true;
}

void CheckStateTree::StatesSaveToStream(QIODevice &stream)
{
    QDataStream out(&stream);
    out.setByteOrder(QDataStream::LittleEndian);
    saveChain(firstTopNode(), out);
}

void CheckStateTree::StatesLoadFromStream(QIODevice &stream)
{
    QDataStream in(&stream);
    in.setByteOrder(QDataStream::LittleEndian);
    loadChain(firstTopNode(), in);
}

// --- PlainStateTree -------------------------------------------------------------

PlainStateTree::PlainStateTree() = default;
PlainStateTree::~PlainStateTree() = default;

int PlainStateTree::add(int parent, int state)
{
    auto item = std::make_unique<Item>();
    item->index = count();
    item->state = state;
    if (parent >= 0 && parent < count()) {
        item->parent = m_nodes[static_cast<size_t>(parent)].get();
        item->position = item->parent->children.size();
        item->parent->children.push_back(item.get());
    } else {
        item->position = m_top.size();
        m_top.push_back(item.get());
    }
    m_nodes.push_back(std::move(item));
    return count() - 1;
}

int PlainStateTree::state(int index) const
{
    return index >= 0 && index < count() ? m_nodes[static_cast<size_t>(index)]->state : StateUnset;
}

void PlainStateTree::setState(int index, int state)
{
    if (Node n = node(index))
        writeState(n, state);
}

void PlainStateTree::click(int index) { stateIconClicked(node(index)); }

CheckStateTree::Node PlainStateTree::node(int index) const
{
    return index >= 0 && index < count() ? m_nodes[static_cast<size_t>(index)].get() : nullptr;
}

int PlainStateTree::indexOf(Node node) const { return node ? static_cast<Item *>(node)->index : -1; }

int PlainStateTree::nodeState(Node node) const { return static_cast<Item *>(node)->state; }

void PlainStateTree::writeState(Node node, int state)
{
    static_cast<Item *>(node)->state = state;
    nodeUpdated(node);
}

CheckStateTree::Node PlainStateTree::firstTopNode() const { return m_top.empty() ? nullptr : m_top.front(); }

CheckStateTree::Node PlainStateTree::firstChild(Node node) const
{
    const auto *item = static_cast<Item *>(node);
    return item->children.empty() ? nullptr : item->children.front();
}

PlainStateTree::Item *PlainStateTree::sibling(const Item *item) const
{
    const std::vector<Item *> &chain = item->parent ? item->parent->children : m_top;
    const size_t next = item->position + 1;
    return next < chain.size() ? chain[next] : nullptr;
}

CheckStateTree::Node PlainStateTree::nextSibling(Node node) const { return sibling(static_cast<Item *>(node)); }

CheckStateTree::Node PlainStateTree::parentNode(Node node) const { return static_cast<Item *>(node)->parent; }

void PlainStateTree::StateChanged(Node node)
{
    ++propagations;
    CheckStateTree::StateChanged(node);
}

} // namespace qv::controls
