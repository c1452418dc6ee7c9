#include "workbench/resourcelist.h"
#include "core/appcontext.h"
#include "mainview/mainview.h"
#include "controls/elidedheader.h"
#include "workbench/resourcelist_model.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTableView>
#include <QToolButton>

namespace qv::workbench {

ResourceList::ResourceList(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    m_model = new ResourceListModel(this);
    QTableView *lv = m_main.lvLinks;
    lv->setModel(m_model);
    lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv->setSelectionMode(QAbstractItemView::SingleSelection);
    lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv->setShowGrid(true);
    lv->setMouseTracking(true);
    lv->setSortingEnabled(false);
    lv->setWordWrap(false);
    QHeaderView *header = lv->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    // A narrow column shows its caption cut with "…", and a selected row
    // leaves the captions in their normal weight.
    controls::ElideHeaderCaptions(header);
    header->setHighlightSections(false);
    lv->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const struct {
        int column, width;
    } widths[] = {{1, 130}, {2, 120}, {3, 80}, {7, 70}, {8, 70}};
    for (const auto &w : widths)
        lv->setColumnWidth(w.column, w.width);
    connect(header, &QHeaderView::sectionClicked, this, &ResourceList::lvLinksColumnClick);
}

ResourceList::~ResourceList() = default;

void ResourceList::releaseStatusButtons()
{
    for (QToolButton *b : {m_main.tbnStatus1, m_main.tbnStatus2, m_main.tbnStatus3, m_main.tbnStatus0}) {
        if (b) {
            const QSignalBlocker block(b);
            b->setChecked(false);
        }
    }
}

void ResourceList::clear()
{
    m_model->clear();
    releaseStatusButtons();
}

bool ResourceList::fill(const ListSource &source)
{
    clear();
    const auto kind = kindTables(m_ctx.CurrentKind);
    if (!kind)
        return false;
    FillParams params;
    params.kind = *kind;
    params.projectId = m_ctx.CurrentProjectId;
    params.materialId = m_ctx.CurrentMaterialId;
    if (m_ctx.CurrentKind == QLatin1String("forums")) {
        // The forums' statuses are those of the active press release.
        bool failed = false;
        const auto active = m_main.activePressRelease ? m_main.activePressRelease(&failed) : std::nullopt;
        // Without it the list would show every forum as unregistered.
        if (failed)
            return false;
        params.materialId = active ? active->id : 0;
    }
    params.adminMode = m_ctx.AdminMode;
    std::vector<ResourceRow> rows;
    const FillOutcome outcome = FillResourceRows(params, source, rows);
    // A failing statement leaves the list as far as it was read.
    m_model->setRows(std::move(rows));
    return outcome == FillOutcome::Filled;
}

void ResourceList::lvLinksColumnClick(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    for (int c = 0; c < ColumnCount; ++c) {
        const QString caption = m_model->columnCaption(c);
        if (caption.startsWith(QLatin1Char('*')))
            m_model->setColumnCaption(c, caption.mid(1));
    }
    m_model->setColumnCaption(column, QLatin1Char('*') + m_model->columnCaption(column));
    m_model->sortColumn(column);
    m_ctx.LastSortColumn = column;
}

void ResourceList::resort() { lvLinksColumnClick(m_ctx.LastSortColumn); }

int ResourceList::count() const { return m_model->rowCount(); }

QString ResourceList::caption(int row) const { return m_model->caption(row); }

QString ResourceList::subItem(int row, int index) const { return m_model->subItem(row, index); }

void ResourceList::setSubItem(int row, int index, const QString &text) { m_model->setSubItem(row, index, text); }

int ResourceList::selectedRow() const
{
    const QItemSelectionModel *sel = m_main.lvLinks->selectionModel();
    if (!sel)
        return -1;
    const QModelIndexList rows = sel->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ResourceList::selectRow(int row)
{
    if (row < 0 || row >= count()) {
        m_main.lvLinks->clearSelection();
        return;
    }
    m_main.lvLinks->selectRow(row);
}

QString ResourceList::selectedSubItem(int index) const { return subItem(selectedRow(), index); }

} // namespace qv::workbench
