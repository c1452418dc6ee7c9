#pragma once
// The resource list of the main window (lvLinks): its fill for a rubric, a
// user section or a filter of the navigator, and its sorting by a column.
#include "workbench/resourcelist_fill.h"

#include <QObject>

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class ResourceListModel;

class ResourceList : public QObject {
    Q_OBJECT
public:
    ResourceList(mainview::MainView &main, core::AppContext &ctx);
    ~ResourceList() override;

    ResourceListModel *model() const { return m_model; }

    // Empties the list and releases the status buttons.
    void clear();
    // The fill for a node of the kind in CurrentKind. False when the click
    // ends here: an unknown kind, a failing statement (reported), a filter
    // whose row is gone (an empty list).
    bool fill(const ListSource &source);

    // The column-click handler: moves the "*" marker, sorts the column the
    // way it sorts and remembers it in LastSortColumn.
    void lvLinksColumnClick(int column);
    // Sorts again on LastSortColumn (what the navigator does after a fill).
    void resort();

    // Items and their sub-items (0 status, 1 name, 2 title, 3 note, 4 PR,
    // 5 TIC, 6 back link, 7 link type, 8 added, 9 edited, 10 id, 11 site
    // address, 12 registration page, 13 further address).
    int count() const;
    QString caption(int row) const;
    QString subItem(int row, int index) const;
    void setSubItem(int row, int index, const QString &text);
    // The selected item, -1 when none.
    int selectedRow() const;
    void selectRow(int row);
    QString selectedSubItem(int index) const;

    // The status buttons of the browser tool bar, released without running
    // their handlers.
    void releaseStatusButtons();

private:
    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    ResourceListModel *m_model = nullptr;
};

} // namespace qv::workbench
