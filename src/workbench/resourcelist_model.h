#pragma once
// The rows of the resource list and the table model the list view shows.
// Column 0 is the item's caption (the check text), columns 1 to 11 its
// sub-items 0 to 10; sub-items 11 to 13 are hidden data.
#include "workbench/resourcelist_logic.h"

#include <QAbstractTableModel>
#include <QByteArrayView>
#include <QIcon>
#include <QStringDecoder>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace qv::workbench {

// One list item. The texts that many items share (caption, status, the two
// flag texts) are shared strings; the row's own columns are kept one after
// another in one string, so a row costs one allocation.
class ResourceRow {
public:
    // The sub-items held in the packed string, in packing order.
    static constexpr int PackedCount = 11;
    static constexpr std::array<int, PackedCount> PackedSubItems = {SubName,   SubTitle, SubNote, SubPr,     SubTic, SubAdded,
                                                                    SubEdited, SubId,    SubUrl,  SubRegUrl, SubPUrl};

    QString caption; // the check text
    // Position in the fill, the key of the cached sort keys.
    int uid = 0;

    QString sub(int index) const;
    QStringView subView(int index) const;
    void setSub(int index, const QString &text);
    // Fills the packed sub-items from UTF-8 texts in PackedSubItems order.
    void pack(const std::array<QByteArrayView, PackedCount> &utf8, QStringDecoder &decoder);

private:
    static int packedIndex(int subItem);

    QString m_status;   // sub-item 0
    QString m_backLink; // sub-item 6
    QString m_linkType; // sub-item 7
    QString m_packed;
    std::array<quint32, PackedCount> m_ends{};
};

class ResourceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResourceListModel(QObject *parent = nullptr);
    ~ResourceListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces every row (the sort keys of the last fill are dropped).
    void setRows(std::vector<ResourceRow> rows);
    void clear();
    const std::vector<ResourceRow> &rows() const { return m_rows; }

    QString caption(int row) const;
    QString subItem(int row, int index) const;
    // Changes one sub-item (index 0..13; -1 for the caption).
    void setSubItem(int row, int index, const QString &text);

    // Column captions with the sort marker.
    QString columnCaption(int column) const;
    void setColumnCaption(int column, const QString &caption);

    // Sorts the rows the way the column sorts (nothing for the columns that do
    // not sort); the order of equal rows is kept. Selections follow their rows.
    void sortColumn(int column);

private:
    const TextKeys &textKeys(int subItem);
    void dropKeys(int subItem);
    void applyOrder(const std::vector<int> &order);

    std::vector<ResourceRow> m_rows;
    QStringList m_captions;
    // Text sort keys by sub-item (index SubItemCount: the caption), by uid;
    // computed at the first sort on the column after a fill.
    std::array<std::optional<TextKeys>, SubItemCount + 1> m_keys;
    QIcon m_images[2];
};

} // namespace qv::workbench
