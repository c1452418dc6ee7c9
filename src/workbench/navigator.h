#pragma once
// The navigator tree of the main window (trvFilters): the kinds with their
// rubrics, filters and user sections, the contacts and the link nodes. A click
// makes the node's kind current, sets the window up for it and fills the
// resource list; two nodes of each resource branch add a filter or a section.
#include "workbench/navigator_logic.h"

#include <QObject>
#include <functional>

class QDialog;
class QMenu;
class QTreeWidgetItem;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

struct NodeNaming;

class Navigator : public QObject {
    Q_OBJECT
public:
    // Item data (column 0): the id a node carries, and what the node is.
    static constexpr int IdRole = Qt::UserRole;
    static constexpr int NodeRole = Qt::UserRole + 1;
    enum NodeKind {
        PlainNode = 0,
        TopNodeKind,
        PlaceholderNode,
        LinkNode,
        FiltersHeaderNode,
        SectionsHeaderNode,
        AddFilterNode,
        AddSectionNode,
        FilterNode,
        SectionNode,
        RubricNode,
        // The contacts branch: a contact section, and "Добавить подраздел".
        ContactSectionNode,
        AddContactSectionNode,
    };

    Navigator(mainview::MainView &main, core::AppContext &ctx);
    ~Navigator() override;

    // The handlers. trvFiltersClick acts on the tree's selected node; other
    // windows call it to refill the list after a change.
    void trvFiltersClick();
    void trvFiltersExpanded(QTreeWidgetItem *node);
    void trvFiltersCollapsed(QTreeWidgetItem *node);

    // Collapses the first six top nodes with their subtrees, so that the
    // project-bound branches are rebuilt on the next expansion (project choice).
    void collapseTopNodes();
    // The fixed nodes as at start.
    void buildTopNodes();

    // Makes `node` the tree's current node and runs its click, as the user's
    // choice of it does (for code that adds a node or goes back to a top node).
    void selectAndClick(QTreeWidgetItem *node);
    // Builds the branch of a top node again from the base; the top node is
    // then current, with its click run.
    void rebuildBranch(int topIndex);

    // The names of the nodes. An add node's name: asked for, checked and
    // written; the name written, nothing when the add ends.
    std::optional<QString> askNewName(const NodeNaming &naming);
    // Renames `node`: asked with its name preset, checked and written; its
    // text follows. A rename that finds no row says so and rebuilds the branch.
    bool renameNode(QTreeWidgetItem *node, const NodeNaming &naming);
    // Deletes what `node` stands for by `sql`; the node and the list it shows
    // go. A delete that finds no row says so and rebuilds the branch.
    bool deleteNode(QTreeWidgetItem *node, const QString &what, const QString &sql);

    // The popup menu the tree offers now (none: nullptr).
    QMenu *popupMenu() const { return m_popup; }

    // The id a node carries, nothing when it carries none.
    static std::optional<int> nodeId(const QTreeWidgetItem *node);
    static NodeKind nodeKind(const QTreeWidgetItem *node);
    // Index of the node's top node (-1 for none).
    int topIndexOf(const QTreeWidgetItem *node) const;
    static bool isFilterNode(const QTreeWidgetItem *node);
    static bool isSectionNode(const QTreeWidgetItem *node);
    // A top node by its index.
    QTreeWidgetItem *top(int index) const;
    // A node with its text, image of the navigator's image list, kind and id.
    static QTreeWidgetItem *makeNode(const QString &text, int image, NodeKind kind, std::optional<int> id = {});
    // The child of `parent` of the given kind (a header, an add node).
    static QTreeWidgetItem *childOfKind(QTreeWidgetItem *parent, NodeKind kind);

    // Calls into handlers that live elsewhere; each may stay empty.
    // The main window's press-release and letter lists (materials navigation).
    std::function<void()> cbFMaterialsChange;
    std::function<void()> cbOMaterialsChange;
    // The contacts branch: its build on expansion and its click.
    std::function<void(QTreeWidgetItem *top)> contactsExpanded;
    std::function<void(QTreeWidgetItem *node)> contactsClick;
    // The filter editor for a new filter ("add" mode, the minimum TIC and PR
    // "-1", every condition "Любое значение"). Empty: the filter editor window
    // (frmFilter) is shown modally with the properties EditMode, FilterName, Kind.
    std::function<void(const QString &filterName)> showFilterEditorForAdd;
    // The filter editor window, created after the main window (null until then).
    void attachFilterEditor(QDialog *editor) { m_filterEditor = editor; }

protected:
    // A right click leaves the selection alone: the popup menu's commands act
    // on the node that was clicked last.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clickNode(QTreeWidgetItem *node);
    // pcMain to the list page; false when the page stayed where it was.
    bool showListPage();
    void applyKindSetup(int topIndex);
    void choosePopup(int topIndex, const QTreeWidgetItem *node);
    void showHelp(int topIndex, bool topLevel);
    void listResources(QTreeWidgetItem *node);
    void afterFill();
    void addSection(QTreeWidgetItem *addNode);
    void addFilter(QTreeWidgetItem *addNode);
    void openFilterEditor(const QString &name);
    void appendAndClick(int topIndex, NodeKind headerKind, const QString &name, NodeKind kind, std::optional<int> id = {});
    void changedElsewhere(QTreeWidgetItem *node, const QString &what);

    void buildResourceBranch(QTreeWidgetItem *topNode, int topIndex);
    void onCurrentChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    // A new current node, by whatever means: its click runs, unless the
    // record editor keeps its page, which puts the previous node back.
    void followCurrent(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void singleExpand(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void applyPendingExpand();
    bool inTree(const QTreeWidgetItem *item) const;
    void onItemClicked(QTreeWidgetItem *item);
    void collapseSubtree(QTreeWidgetItem *node);
    void collapseBranch(QTreeWidgetItem *topNode);
    void setPlaceholder(QTreeWidgetItem *topNode, const QString &text);

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    QMenu *m_popup = nullptr;
    QDialog *m_filterEditor = nullptr;
    bool m_inClick = false;
    bool m_building = false;
    // Set while nodes are deleted or added by code: selection changes then
    // expand nothing.
    int m_treeChanging = 0;
    // While the mouse button is down the tree must not change under it: the
    // single expand and the click of a selection made by the mouse wait for
    // the release.
    bool m_mouseDown = false;
    bool m_expandPending = false;
    QTreeWidgetItem *m_pendingPrevious = nullptr;
};

} // namespace qv::workbench
