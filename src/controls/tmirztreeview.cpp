#include "controls/tmirztreeview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace qv::controls {

namespace {

QRect imageArea(const QRect &itemRect)
{
    const int side = qMin(16, itemRect.height());
    return QRect(itemRect.left() + 1, itemRect.top() + (itemRect.height() - side) / 2, side, side);
}

// Draws the state image (unticked, ticked, grey) in front of the node's text.
class StateDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() != 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QVariant v = index.data(TmirzTreeView::StateRole);
        const int state = v.isValid() ? v.toInt() : StateUnset;
        if (state >= StateUnticked && state <= StateGrey) {
            QStyleOptionViewItem check(option);
            check.rect = imageArea(option.rect);
            check.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange);
            check.state |= state == StateTicked ? QStyle::State_On
                           : state == StateGrey ? QStyle::State_NoChange
                                                : QStyle::State_Off;
            check.state |= QStyle::State_Enabled;
            const QWidget *w = option.widget;
            QStyle *style = w ? w->style() : QApplication::style();
            style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, w);
        }
        QStyleOptionViewItem rest(option);
        rest.rect.setLeft(option.rect.left() + TmirzTreeView::StateImageWidth);
        QStyledItemDelegate::paint(painter, rest, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() == 0)
            s.rwidth() += TmirzTreeView::StateImageWidth;
        return s;
    }
};

QTreeWidgetItem *item(CheckStateTree::Node node) { return static_cast<QTreeWidgetItem *>(node); }

} // namespace

TmirzTreeView::TmirzTreeView(QWidget *parent) : QTreeWidget(parent)
{
    m_help << QStringLiteral("Дерево с флажками: отметка узла переносится на все его подузлы.")
           << QStringLiteral("Ветки в состоянии StateIgnore не затрагиваются.");
    setHeaderHidden(true);
    setItemDelegate(new StateDelegate(this));
    connect(this, &QTreeWidget::itemChanged, this, &TmirzTreeView::onItemChanged);
}

TmirzTreeView::~TmirzTreeView() = default;

QString TmirzTreeView::OtherStuff() const
{
    return QStringLiteral("Состояния узлов: -1 не задано, 0 без флажка, 1 снят, 2 отмечен, 3 серый.");
}

int TmirzTreeView::state(const QTreeWidgetItem *item)
{
    if (!item)
        return StateUnset;
    const QVariant v = item->data(0, StateRole);
    return v.isValid() ? v.toInt() : StateUnset;
}

void TmirzTreeView::setState(QTreeWidgetItem *item, int state)
{
    if (!item)
        return;
    writeState(item, state);
}

void TmirzTreeView::writeState(Node node, int state)
{
    QTreeWidgetItem *it = item(node);
    // The item reports its own changes through itemChanged; an assignment of the
    // same value reports nothing, yet it is an update of the node all the same.
    m_assigning = true;
    it->setData(0, StateRole, state);
    m_assigning = false;
    nodeUpdated(node);
}

void TmirzTreeView::onItemChanged(QTreeWidgetItem *item, int)
{
    // Other updates of a node (its text, its data) re-propagate its state too.
    if (!m_assigning)
        nodeUpdated(item);
}

void TmirzTreeView::endLoad()
{
    m_loading = false;
    Loaded();
}

int TmirzTreeView::nodeState(Node node) const { return state(item(node)); }

CheckStateTree::Node TmirzTreeView::firstTopNode() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }

CheckStateTree::Node TmirzTreeView::firstChild(Node node) const
{
    QTreeWidgetItem *it = item(node);
    return it->childCount() ? it->child(0) : nullptr;
}

CheckStateTree::Node TmirzTreeView::nextSibling(Node node) const
{
    QTreeWidgetItem *it = item(node);
    if (QTreeWidgetItem *parent = it->parent()) {
        const int next = parent->indexOfChild(it) + 1;
        return next < parent->childCount() ? parent->child(next) : nullptr;
    }
    const int next = indexOfTopLevelItem(it) + 1;
    return next < topLevelItemCount() ? topLevelItem(next) : nullptr;
}

CheckStateTree::Node TmirzTreeView::parentNode(Node node) const { return item(node)->parent(); }

QRect TmirzTreeView::stateImageRect(const QTreeWidgetItem *it) const
{
    const int s = state(it);
    if (s <= StateNone)
        return {};
    const QRect r = visualItemRect(it);
    if (!r.isValid())
        return {};
    return imageArea(r);
}

void TmirzTreeView::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    if (!StateRecursion())
        return;
    QTreeWidgetItem *selected = currentItem();
    if (!selected)
        return;
    // Any mouse button on a state image toggles the selected node.
    const QPoint pos = event->position().toPoint();
    const QTreeWidgetItem *hit = itemAt(pos);
    if (hit && stateImageRect(hit).contains(pos))
        stateIconClicked(selected);
}

} // namespace qv::controls
