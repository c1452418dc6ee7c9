#pragma once
// The resource list of the main window (lvLinks): its fill for a rubric, a
// user section or a filter of the navigator, and its sorting by a column.
#include "workbench/resourcelist_fill.h"

#include <QList>
#include <QObject>
#include <optional>

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
    // whose row is gone (an empty list). No row of the new list is current.
    bool fill(const ListSource &source);
    // Fills the list again from the node it shows, sorted as it was, and
    // makes the resource `id` current (without currentResourceChanged) when
    // the new list holds it. Its row, or -1 (also when the list shows no
    // node of the kind in CurrentKind).
    int refillShowing(int id);
    // The node the list shows, when it is one of the kind in CurrentKind.
    std::optional<ListSource> shownSource() const;

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
    // The selected item: the current row, -1 when none.
    int selectedRow() const;
    // Makes the row current (none for -1) without currentResourceChanged:
    // the caller runs what must follow.
    void selectRow(int row);
    QString selectedSubItem(int index) const;
    // The rows of the resource `id` (a resource linked twice is listed
    // twice), and the first of them (-1 when the list does not hold it).
    QList<int> rowsOf(int id) const;
    int rowOf(int id) const;

    // The status buttons of the browser tool bar, released without running
    // their handlers.
    void releaseStatusButtons();

Q_SIGNALS:
    // The current row changed, by the keys, the mouse or a fill: once per
    // change, and once after each fill or clear (never row by row).
    void currentResourceChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clearRows();
    bool fillRows(const ListSource &source);

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    ResourceListModel *m_model = nullptr;
    // True while the list itself sets its rows or its current row.
    bool m_quiet = false;
    // The node the list shows and its kind.
    std::optional<ListSource> m_source;
    core::Kind m_sourceKind = core::Kind::None;
};

} // namespace qv::workbench
