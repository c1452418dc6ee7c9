#pragma once
// User sections from the two popup menus that work on them: the resource
// list's pmLvItems, which puts the selected resource into the current
// project's sections or takes it out, and the navigator's section menu
// pmGroups, which renames or deletes a section.
#include <QList>
#include <QObject>
#include <optional>

class QAction;
class QMenu;
class QPoint;
class QTreeWidgetItem;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class Sections : public QObject {
    Q_OBJECT
public:
    // Builds pmLvItems and makes it the list's context menu; fills pmGroups.
    Sections(mainview::MainView &main, core::AppContext &ctx);

    // The list's popup: a header naming the selected resource, then one
    // checkable item per section of the current project and kind (the
    // section id in the item's data), ticked where the resource is a member.
    QMenu *pmLvItems;
    // pmGroups' items: "Переименовать раздел...", a separator, "Удалить раздел...".
    QAction *MenuItem5;
    QAction *N39;

    // Rebuilds pmLvItems for the selected resource. With no resource
    // selected the menu is emptied: nothing in it can act.
    void pmLvItemsPopup();
    // A section item was clicked: a ticked one takes the selected resource
    // out of its section, an unticked one puts it in. Does nothing without a
    // selected resource or for an item that carries no section id.
    void ToggleResourceInGroup(QAction *item);
    // Rename and delete of the tree's selected section node, by CurrentKind
    // and CurrentProjectId.
    void MenuItem5Click();
    void N39Click();

    // The section items of pmLvItems (every item after the header).
    QList<QAction *> sectionItems() const;

private:
    void showListMenu(const QPoint &pos);
    QTreeWidgetItem *selectedSection() const;
    // The selected resource's id, nothing when no row is selected.
    std::optional<int> selectedResourceId() const;

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
};

} // namespace qv::workbench
