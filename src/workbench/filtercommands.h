#pragma once
// The navigator's filter popup menu (pmFilter): editing a filter's conditions,
// renaming and deleting the filter. Also opens the filter editor for a filter
// the navigator has just added.
#include <QObject>

class QAction;
class QTreeWidgetItem;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class TfrmFilter;

// Removes a node from the navigator tree without running the tree's selection
// handlers; afterwards no node is selected, so the popup commands act on
// nothing until another node is clicked.
void RemoveNavigatorNode(mainview::MainView &main, QTreeWidgetItem *node);

class FilterCommands : public QObject {
    Q_OBJECT
public:
    FilterCommands(mainview::MainView &main, core::AppContext &ctx);

    // The editor window; also makes the navigator's "Добавить фильтр" open it.
    void attachEditor(TfrmFilter *editor);
    TfrmFilter *editor() const { return m_editor; }

    // pmFilter's items, in menu order (a separator before the last).
    QAction *miFilterEdit;
    QAction *N33;
    QAction *N35;

    // Each acts on the tree's selected filter node and on CurrentKind.
    // "Редактировать параметры фильтра...": loads the filter and shows the editor.
    void miFilterEditClick();
    // "Переименовать фильтр...".
    void N33Click();
    // "Удалить фильтр...".
    void N35Click();

private:
    // The selected node when it is a filter node.
    QTreeWidgetItem *selectedFilter() const;

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    TfrmFilter *m_editor = nullptr;
};

} // namespace qv::workbench
