#include "workbench/resourcelist.h"
#include "core/appcontext.h"
#include "mainview/mainview.h"
#include "controls/elidedheader.h"
#include "workbench/kindfacts.h"
#include "workbench/resourcelist_model.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScopedValueRollback>
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

    // The current row is the selected resource, whatever made it current: a
    // click (left or right), the arrows, Home, End, the page keys.
    lv->installEventFilter(this);
    QItemSelectionModel *sel = lv->selectionModel();
    connect(sel, &QItemSelectionModel::currentRowChanged, this, [this, sel](const QModelIndex &current) {
        if (m_quiet)
            return;
        // A row made current without being selected (the focus entering the
        // list by the keyboard) is selected too: what is acted on is shown.
        if (current.isValid() && !sel->isRowSelected(current.row())) {
            const QScopedValueRollback quiet(m_quiet, true);
            sel->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        Q_EMIT currentResourceChanged();
    });
    // The current row unselected (Ctrl with a click or the space bar): then
    // nothing is current.
    connect(sel, &QItemSelectionModel::selectionChanged, this, [this, sel] {
        if (!m_quiet && !sel->hasSelection() && sel->currentIndex().isValid())
            sel->clearCurrentIndex();
    });
}

ResourceList::~ResourceList() = default;

bool ResourceList::eventFilter(QObject *watched, QEvent *event)
{
    // Home and End go to the first and the last resource, as in a list (the
    // table would only move between the columns of the row).
    if (watched == m_main.lvLinks && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End) && key->modifiers() == Qt::NoModifier) {
            QKeyEvent rowKey(QEvent::KeyPress, key->key(), Qt::ControlModifier, key->text(), key->isAutoRepeat());
            QCoreApplication::sendEvent(m_main.lvLinks, &rowKey);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ResourceList::releaseStatusButtons()
{
    for (QToolButton *b : {m_main.tbnStatus1, m_main.tbnStatus2, m_main.tbnStatus3, m_main.tbnStatus0}) {
        if (b) {
            const QSignalBlocker block(b);
            b->setChecked(false);
        }
    }
}

void ResourceList::clearRows()
{
    m_model->clear();
    m_source.reset();
    releaseStatusButtons();
}

void ResourceList::clear()
{
    {
        const QScopedValueRollback quiet(m_quiet, true);
        clearRows();
    }
    Q_EMIT currentResourceChanged();
}

bool ResourceList::fill(const ListSource &source)
{
    // The new rows arrive with no row current, and the change is told once.
    bool filled = false;
    {
        const QScopedValueRollback quiet(m_quiet, true);
        filled = fillRows(source);
    }
    Q_EMIT currentResourceChanged();
    return filled;
}

std::optional<ListSource> ResourceList::shownSource() const
{
    if (!m_source || m_sourceKind != m_ctx.CurrentKind)
        return std::nullopt;
    return m_source;
}

int ResourceList::refillShowing(int id)
{
    const auto source = shownSource();
    if (!source)
        return -1;
    fill(*source);
    resort();
    const int row = rowOf(id);
    selectRow(row);
    return row;
}

bool ResourceList::fillRows(const ListSource &source)
{
    clearRows();
    const auto kind = kindFacts(m_ctx.CurrentKind);
    if (!kind)
        return false;
    FillParams params;
    params.kind = *kind;
    params.projectId = m_ctx.CurrentProjectId;
    params.materialId = m_ctx.CurrentMaterialId;
    if (m_ctx.CurrentKind == core::Kind::Forums) {
        // The forums' statuses are those of the active press release.
        bool failed = false;
        Q_ASSERT(m_main.activePressRelease);
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
    m_source = source;
    m_sourceKind = m_ctx.CurrentKind;
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
    const QModelIndex current = sel ? sel->currentIndex() : QModelIndex();
    return current.isValid() ? current.row() : -1;
}

void ResourceList::selectRow(int row)
{
    const QScopedValueRollback quiet(m_quiet, true);
    QItemSelectionModel *sel = m_main.lvLinks->selectionModel();
    if (row < 0 || row >= count()) {
        sel->clearSelection();
        sel->clearCurrentIndex();
        return;
    }
    m_main.lvLinks->selectRow(row);
}

QString ResourceList::selectedSubItem(int index) const { return subItem(selectedRow(), index); }

QList<int> ResourceList::rowsOf(int id) const
{
    QList<int> out;
    if (id <= 0)
        return out;
    const QString key = QString::number(id);
    const std::vector<ResourceRow> &rows = m_model->rows();
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].subView(SubId) == key)
            out << static_cast<int>(r);
    }
    return out;
}

int ResourceList::rowOf(int id) const
{
    const QList<int> rows = rowsOf(id);
    return rows.isEmpty() ? -1 : rows.first();
}

} // namespace qv::workbench
