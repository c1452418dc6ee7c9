#include "workbench/resourcelist_model.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstring>

namespace qv::workbench {

namespace {

const char *const kCaptions[ColumnCount] = {
    "Авто-проверка регистрации (Яндекс, Гугл)",
    "Статус",
    "URL",
    "Описание",
    "Примечание",
    "PR",
    "тИЦ",
    "Обратная ссылка",
    "Тип ссылок",
    "Добавлен",
    "Редактирован",
    "ALinkID",
};

// The list's two images: 0 not checked, 1 found by a search engine.
QIcon listImage(int index)
{
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(index == 1 ? QColor(0x2e, 0x9d, 0x3a) : QColor(0xc8, 0xc8, 0xc8));
    p.drawEllipse(1, 1, 10, 10);
    return QIcon(pm);
}

} // namespace

int ResourceRow::packedIndex(int subItem)
{
    for (int i = 0; i < PackedCount; ++i) {
        if (PackedSubItems[static_cast<size_t>(i)] == subItem)
            return i;
    }
    return -1;
}

QStringView ResourceRow::subView(int index) const
{
    switch (index) {
    case SubStatus: return m_status;
    case SubBackLink: return m_backLink;
    case SubLinkType: return m_linkType;
    default: break;
    }
    const int p = packedIndex(index);
    if (p < 0)
        return {};
    const quint32 start = p == 0 ? 0 : m_ends[static_cast<size_t>(p - 1)];
    return QStringView(m_packed).mid(start, m_ends[static_cast<size_t>(p)] - start);
}

QString ResourceRow::sub(int index) const
{
    switch (index) {
    case SubStatus: return m_status;
    case SubBackLink: return m_backLink;
    case SubLinkType: return m_linkType;
    default: return subView(index).toString();
    }
}

void ResourceRow::setSub(int index, const QString &text)
{
    switch (index) {
    case SubStatus: m_status = text; return;
    case SubBackLink: m_backLink = text; return;
    case SubLinkType: m_linkType = text; return;
    default: break;
    }
    const int p = packedIndex(index);
    if (p < 0)
        return;
    const quint32 start = p == 0 ? 0 : m_ends[static_cast<size_t>(p - 1)];
    const quint32 end = m_ends[static_cast<size_t>(p)];
    QString packed;
    packed.reserve(m_packed.size() - qsizetype(end - start) + text.size());
    packed.append(QStringView(m_packed).left(start)).append(text).append(QStringView(m_packed).mid(end));
    m_packed = std::move(packed);
    const qint64 delta = qint64(text.size()) - qint64(end - start);
    for (int i = p; i < PackedCount; ++i)
        m_ends[static_cast<size_t>(i)] = static_cast<quint32>(m_ends[static_cast<size_t>(i)] + delta);
}

void ResourceRow::pack(const std::array<QByteArrayView, PackedCount> &utf8, QStringDecoder &decoder)
{
    qsizetype bytes = 0;
    for (const QByteArrayView &b : utf8)
        bytes += b.size();
    // UTF-8 never takes fewer bytes than UTF-16 code units.
    m_packed.resize(bytes);
    QChar *begin = m_packed.data();
    QChar *out = begin;
    for (int i = 0; i < PackedCount; ++i) {
        out = decoder.appendToBuffer(out, utf8[static_cast<size_t>(i)]);
        m_ends[static_cast<size_t>(i)] = static_cast<quint32>(out - begin);
    }
    m_packed.truncate(out - begin);
}

ResourceListModel::ResourceListModel(QObject *parent) : QAbstractTableModel(parent)
{
    for (const char *c : kCaptions)
        m_captions << QString::fromUtf8(c);
}

ResourceListModel::~ResourceListModel() = default;

int ResourceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResourceListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ResourceListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ResourceRow &r = m_rows[static_cast<size_t>(index.row())];
    const int col = index.column();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return col == 0 ? r.caption : r.sub(col - 1);
    if (role == Qt::DecorationRole && col == 0) {
        auto *self = const_cast<ResourceListModel *>(this);
        const int image = r.caption.isEmpty() ? 0 : 1;
        if (self->m_images[image].isNull())
            self->m_images[image] = listImage(image);
        return m_images[image];
    }
    return {};
}

QVariant ResourceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return m_captions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ResourceListModel::setRows(std::vector<ResourceRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i].uid = static_cast<int>(i);
    for (auto &k : m_keys)
        k.reset();
    endResetModel();
}

void ResourceListModel::clear() { setRows({}); }

QString ResourceListModel::caption(int row) const
{
    return row >= 0 && row < rowCount() ? m_rows[static_cast<size_t>(row)].caption : QString();
}

QString ResourceListModel::subItem(int row, int index) const
{
    if (row < 0 || row >= rowCount() || index < 0 || index >= SubItemCount)
        return {};
    return m_rows[static_cast<size_t>(row)].sub(index);
}

void ResourceListModel::dropKeys(int subItem) { m_keys[static_cast<size_t>(subItem < 0 ? SubItemCount : subItem)].reset(); }

void ResourceListModel::setSubItem(int row, int index, const QString &text)
{
    if (row < 0 || row >= rowCount() || index < -1 || index >= SubItemCount)
        return;
    ResourceRow &r = m_rows[static_cast<size_t>(row)];
    if (index < 0) {
        if (r.caption == text)
            return;
        r.caption = text;
    } else {
        if (r.subView(index) == text)
            return;
        r.setSub(index, text);
    }
    dropKeys(index);
    if (index <= SubId) {
        const QModelIndex at = this->index(row, index + 1);
        Q_EMIT dataChanged(at, at);
    }
}

QString ResourceListModel::columnCaption(int column) const
{
    return column >= 0 && column < ColumnCount ? m_captions[column] : QString();
}

void ResourceListModel::setColumnCaption(int column, const QString &caption)
{
    if (column < 0 || column >= ColumnCount || m_captions[column] == caption)
        return;
    m_captions[column] = caption;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

const TextKeys &ResourceListModel::textKeys(int subItem)
{
    auto &slot = m_keys[static_cast<size_t>(subItem < 0 ? SubItemCount : subItem)];
    if (!slot) {
        // By uid: the rows are still in fill order or the keys were dropped since.
        std::vector<const ResourceRow *> byUid(m_rows.size());
        size_t chars = 0;
        for (const ResourceRow &r : m_rows) {
            byUid[static_cast<size_t>(r.uid)] = &r;
            chars += static_cast<size_t>(subItem < 0 ? r.caption.size() : r.subView(subItem).size());
        }
        TextKeys keys;
        keys.reserve(m_rows.size(), chars * 2 + m_rows.size() * 8);
        for (const ResourceRow *r : byUid)
            keys.append(subItem < 0 ? QStringView(r->caption) : r->subView(subItem));
        slot = std::move(keys);
    }
    return *slot;
}

void ResourceListModel::sortColumn(int column)
{
    const ColumnSort how = columnSort(column);
    if (how.kind == SortKind::None || m_rows.size() < 2)
        return;
    std::vector<int> order(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);

    if (how.kind == SortKind::Number) {
        // The cells that cannot be numbers show "0" from now on.
        std::vector<qint64> numbers(m_rows.size());
        bool changed = false;
        const QString zero = QStringLiteral("0");
        for (size_t i = 0; i < m_rows.size(); ++i) {
            ResourceRow &r = m_rows[i];
            const QStringView cell = r.subView(how.subItem);
            if (ShownAsZero(cell) && cell != zero) {
                r.setSub(how.subItem, zero);
                changed = true;
            }
            numbers[i] = SortNumber(r.subView(how.subItem));
        }
        if (changed) {
            dropKeys(how.subItem);
            Q_EMIT dataChanged(index(0, how.subItem + 1), index(rowCount() - 1, how.subItem + 1));
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return numbers[static_cast<size_t>(a)] > numbers[static_cast<size_t>(b)]; });
    } else {
        const TextKeys &keys = textKeys(how.subItem);
        // The keys in row order, so that the sort touches nothing else.
        std::vector<const char *> byRow(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            byRow[i] = keys.key(static_cast<size_t>(m_rows[i].uid));
        const bool descending = how.kind == SortKind::CaptionDesc;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int c = std::strcmp(byRow[static_cast<size_t>(a)], byRow[static_cast<size_t>(b)]);
            return descending ? c > 0 : c < 0;
        });
    }
    applyOrder(order);
}

void ResourceListModel::applyOrder(const std::vector<int> &order)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPos(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        newPos[static_cast<size_t>(order[i])] = static_cast<int>(i);
    std::vector<ResourceRow> sorted;
    sorted.reserve(m_rows.size());
    for (int from : order)
        sorted.push_back(std::move(m_rows[static_cast<size_t>(from)]));
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &i : before)
        after << index(newPos[static_cast<size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace qv::workbench
