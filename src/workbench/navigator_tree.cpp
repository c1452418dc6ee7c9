// The navigator's tree: its fixed nodes, the branch build on expansion, the
// tear-down on collapse and the single-expand behaviour.
#include "workbench/navigator.h"
#include "core/appcontext.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/kindfacts.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QScopeGuard>
#include <QSet>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

namespace qv::workbench {

namespace {

// The navigator's image list by index.
QIcon navigatorImage(int index)
{
    QStyle::StandardPixmap sp = QStyle::SP_FileIcon;
    switch (index) {
    case 1: sp = QStyle::SP_DirHomeIcon; break;
    case 2: sp = QStyle::SP_FileDialogDetailedView; break;
    case 3: sp = QStyle::SP_FileDialogNewFolder; break;
    case 4: sp = QStyle::SP_FileDialogContentsView; break;
    case 5: sp = QStyle::SP_BrowserReload; break;
    case 6: sp = QStyle::SP_DriveNetIcon; break;
    case 8: sp = QStyle::SP_MessageBoxQuestion; break;
    case 10: sp = QStyle::SP_ComputerIcon; break;
    case 11: sp = QStyle::SP_DirOpenIcon; break;
    case 12: sp = QStyle::SP_DriveHDIcon; break;
    case 13: sp = QStyle::SP_DialogApplyButton; break;
    case 14: sp = QStyle::SP_DesktopIcon; break;
    case 15: sp = QStyle::SP_DirLinkIcon; break;
    case 17: sp = QStyle::SP_MessageBoxInformation; break;
    default: break;
    }
    return QApplication::style()->standardIcon(sp);
}

// Runs a SELECT and hands every row with its result (for columns by name) to
// `onRow`; false when the statement failed (already reported).
bool readRows(const QString &sql, const std::function<void(const db::QueryResult &, const db::Row &)> &onRow)
{
    if (db::ExecQuery(sql) != 0)
        return false;
    db::QueryResult r(db::DbConnection());
    while (auto row = r.FetchRow())
        onRow(r, *row);
    return true;
}

} // namespace

Navigator::Navigator(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    QTreeWidget *tree = m_main.trvFilters;
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    // Read-only labels, hot tracking, and the selection shown also without focus.
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setMouseTracking(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setExpandsOnDoubleClick(false);
    QPalette pal = tree->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    tree->setPalette(pal);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this, [this, tree](const QPoint &pos) {
        if (m_popup)
            m_popup->popup(tree->viewport()->mapToGlobal(pos));
    });
    tree->viewport()->installEventFilter(this);
    connect(tree, &QTreeWidget::itemExpanded, this, &Navigator::trvFiltersExpanded);
    connect(tree, &QTreeWidget::itemCollapsed, this, &Navigator::trvFiltersCollapsed);
    connect(tree, &QTreeWidget::currentItemChanged, this, &Navigator::onCurrentChanged);
    connect(tree, &QTreeWidget::itemClicked, this, &Navigator::onItemClicked);
    buildTopNodes();
}

Navigator::~Navigator() = default;

bool Navigator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_main.trvFilters->viewport())
        return QObject::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton)
            return type != QEvent::MouseButtonRelease;
        if (mouse->button() == Qt::LeftButton) {
            if (type == QEvent::MouseButtonRelease) {
                m_mouseDown = false;
                // After the view has handled the release (and its click).
                QMetaObject::invokeMethod(this, &Navigator::applyPendingExpand, Qt::QueuedConnection);
            } else {
                m_mouseDown = true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void Navigator::buildTopNodes()
{
    QTreeWidget *tree = m_main.trvFilters;
    ++m_treeChanging;
    const auto done = qScopeGuard([this] { --m_treeChanging; });
    tree->clear();
    for (int i = 0; i < TopNodeCount; ++i) {
        const FixedNode f = topNode(i);
        QTreeWidgetItem *n = makeNode(f.text, f.image, TopNodeKind);
        tree->addTopLevelItem(n);
        if (i == TopRecommend) {
            for (const FixedNode &link : recommendLinks())
                n->addChild(makeNode(link.text, link.image, LinkNode));
        } else if (i <= TopContacts) {
            n->addChild(makeNode(placeholderAtStart(i), 0, PlaceholderNode));
        }
    }
}

QTreeWidgetItem *Navigator::makeNode(const QString &text, int image, NodeKind kind, std::optional<int> id)
{
    auto *n = new QTreeWidgetItem(QStringList{text});
    n->setIcon(0, navigatorImage(image));
    n->setData(0, NodeRole, static_cast<int>(kind));
    if (id)
        n->setData(0, IdRole, *id);
    return n;
}

QTreeWidgetItem *Navigator::childOfKind(QTreeWidgetItem *parent, NodeKind kind)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (nodeKind(parent->child(i)) == kind)
            return parent->child(i);
    }
    return nullptr;
}

QTreeWidgetItem *Navigator::top(int index) const
{
    QTreeWidget *tree = m_main.trvFilters;
    return index >= 0 && index < tree->topLevelItemCount() ? tree->topLevelItem(index) : nullptr;
}

std::optional<int> Navigator::nodeId(const QTreeWidgetItem *node)
{
    if (!node)
        return std::nullopt;
    const QVariant v = node->data(0, IdRole);
    if (!v.isValid())
        return std::nullopt;
    return v.toInt();
}

Navigator::NodeKind Navigator::nodeKind(const QTreeWidgetItem *node)
{
    return node ? static_cast<NodeKind>(node->data(0, NodeRole).toInt()) : PlainNode;
}

int Navigator::topIndexOf(const QTreeWidgetItem *node) const
{
    if (!node)
        return -1;
    while (node->parent())
        node = node->parent();
    return m_main.trvFilters->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(node));
}

bool Navigator::isFilterNode(const QTreeWidgetItem *node)
{
    for (const QTreeWidgetItem *a = node ? node->parent() : nullptr; a; a = a->parent()) {
        if (nodeKind(a) == FiltersHeaderNode)
            return true;
    }
    return false;
}

bool Navigator::isSectionNode(const QTreeWidgetItem *node)
{
    for (const QTreeWidgetItem *a = node ? node->parent() : nullptr; a; a = a->parent()) {
        if (nodeKind(a) == SectionsHeaderNode)
            return true;
    }
    return false;
}

void Navigator::trvFiltersExpanded(QTreeWidgetItem *node)
{
    m_popup = nullptr;
    if (!node || node->parent())
        return;
    const int index = m_main.trvFilters->indexOfTopLevelItem(node);
    if (index == TopContacts) {
        ++m_treeChanging;
        const auto done = qScopeGuard([this] { --m_treeChanging; });
        if (contactsExpanded)
            contactsExpanded(node);
        return;
    }
    if (index < TopSoft || index > TopForums || m_building)
        return;
    m_building = true;
    ++m_treeChanging;
    const auto done = qScopeGuard([this] {
        m_building = false;
        --m_treeChanging;
    });
    buildResourceBranch(node, index);
}

void Navigator::buildResourceBranch(QTreeWidgetItem *topNode, int index)
{
    const KindFacts *k = kindFacts(kindOfTop(index));
    if (!k)
        return;
    delete topNode->takeChild(0);

    // Every result is read to its end before nodes are made.
    QTreeWidgetItem *filters = makeNode(QString::fromUtf8(kFiltersHeader), 4, FiltersHeaderNode);
    topNode->addChild(filters);
    filters->addChild(makeNode(QString::fromUtf8(kAddFilter), 3, AddFilterNode));
    QStringList filterNames;
    if (!readRows(FiltersSql(*k), [&](const db::QueryResult &r, const db::Row &row) {
            filterNames << r.field(row, k->filterPrefix + QStringLiteral("name"));
        }))
        return;
    for (const QString &name : filterNames)
        filters->addChild(makeNode(name, 0, FilterNode));

    QTreeWidgetItem *sections = makeNode(QString::fromUtf8(kSectionsHeader), 11, SectionsHeaderNode);
    topNode->addChild(sections);
    sections->addChild(makeNode(QString::fromUtf8(kAddSection), 3, AddSectionNode));
    const QString &gp = k->groupPrefix;
    QList<QPair<int, QString>> sectionRows;
    if (!readRows(SectionsSql(*k, m_ctx.CurrentProjectId), [&](const db::QueryResult &r, const db::Row &row) {
            sectionRows.append({static_cast<int>(db::ParseInt(r.field(row, gp + QStringLiteral("id"))).value_or(0)),
                                r.field(row, gp + QStringLiteral("name"))});
        }))
        return;
    for (const auto &s : sectionRows)
        sections->addChild(makeNode(s.second, 0, SectionNode, s.first));

    std::vector<RubricRow> rubricRows;
    if (!db::ForEachRow(SubjectsSql(*k), [&](const db::Row &row) {
            rubricRows.push_back(
                {static_cast<int>(db::ParseInt(row[0]).value_or(0)), static_cast<int>(db::ParseInt(row[1]).value_or(0)), row[2]});
        }))
        return;
    controls::BuildRowTree(m_main.trvFilters, topNode, PlanRubrics(rubricRows),
                           [](const workbench::RubricNode &r) { return makeNode(r.name, 0, RubricNode, r.id); });
}

void Navigator::setPlaceholder(QTreeWidgetItem *topNode, const QString &text)
{
    const QList<QTreeWidgetItem *> children = topNode->takeChildren();
    qDeleteAll(children);
    topNode->addChild(makeNode(text, 0, PlaceholderNode));
}

void Navigator::trvFiltersCollapsed(QTreeWidgetItem *node)
{
    m_popup = nullptr;
    if (!node || node->parent())
        return;
    const int index = m_main.trvFilters->indexOfTopLevelItem(node);
    if (index < TopSoft || index > TopContacts)
        return;
    ++m_treeChanging;
    const auto done = qScopeGuard([this] { --m_treeChanging; });
    setPlaceholder(node, placeholderAfterCollapse(index));
}

void Navigator::collapseSubtree(QTreeWidgetItem *node)
{
    for (int i = 0; i < node->childCount(); ++i)
        collapseSubtree(node->child(i));
    node->setExpanded(false);
}

void Navigator::collapseBranch(QTreeWidgetItem *topNode)
{
    // The branch's own children go first; the top node's collapse then
    // replaces them with the placeholder.
    for (int c = 0; c < topNode->childCount(); ++c)
        collapseSubtree(topNode->child(c));
    topNode->setExpanded(false);
}

void Navigator::collapseTopNodes()
{
    for (int i = 0; i < 6; ++i) {
        if (QTreeWidgetItem *n = top(i))
            collapseBranch(n);
    }
}

void Navigator::onCurrentChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    // Nodes deleted or added by code, and a click that moves the current node
    // itself (it runs what follows on its own), act on nothing here.
    if (m_treeChanging || m_inClick)
        return;
    if (m_mouseDown) {
        if (!m_expandPending) {
            m_expandPending = true;
            m_pendingPrevious = previous;
        }
        return;
    }
    followCurrent(current, previous);
}

void Navigator::applyPendingExpand()
{
    if (!m_expandPending)
        return;
    m_expandPending = false;
    QTreeWidgetItem *previous = inTree(m_pendingPrevious) ? m_pendingPrevious : nullptr;
    m_pendingPrevious = nullptr;
    followCurrent(m_main.trvFilters->currentItem(), previous);
}

void Navigator::followCurrent(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (current == previous)
        return;
    // A node that shows a list first asks the record editor to leave its
    // page (its unsaved edits may be offered for saving). When the editor
    // keeps its page, the previous node is current again and nothing changes.
    const bool showsList = current && (!current->parent() || nodeKind(current) != LinkNode);
    if (showsList && m_main.cbProjects->currentIndex() > 0 && !showListPage()) {
        const QSignalBlocker block(m_main.trvFilters);
        m_main.trvFilters->setCurrentItem(previous);
        return;
    }
    singleExpand(current, previous);
    trvFiltersClick();
}

bool Navigator::inTree(const QTreeWidgetItem *item) const
{
    if (!item)
        return false;
    QTreeWidget *tree = m_main.trvFilters;
    std::function<bool(QTreeWidgetItem *)> search = [&](QTreeWidgetItem *n) {
        if (n == item)
            return true;
        for (int i = 0; i < n->childCount(); ++i) {
            if (search(n->child(i)))
                return true;
        }
        return false;
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (search(tree->topLevelItem(i)))
            return true;
    }
    return false;
}

void Navigator::singleExpand(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    // The branch of the previously selected node closes (up to what it shares
    // with the new one), the new node opens.
    if (previous && previous != current) {
        QSet<QTreeWidgetItem *> keep;
        for (QTreeWidgetItem *a = current; a; a = a->parent())
            keep.insert(a);
        QTreeWidgetItem *highest = nullptr;
        for (QTreeWidgetItem *a = previous; a && !keep.contains(a); a = a->parent())
            highest = a;
        if (highest) {
            if (previous != highest)
                previous->setExpanded(false);
            highest->setExpanded(false);
        }
    }
    if (current && current->childCount() > 0 && !current->isExpanded())
        current->setExpanded(true);
}

void Navigator::onItemClicked(QTreeWidgetItem *item)
{
    // A click that made another node current has run with that change.
    if (m_expandPending) {
        applyPendingExpand();
        return;
    }
    // A click on the current node runs it again, and opens it again when it
    // was closed meanwhile.
    if (item && item->childCount() > 0 && !item->isExpanded())
        item->setExpanded(true);
    trvFiltersClick();
}

} // namespace qv::workbench
