#include "controls/anylength.h"

#include <QLineEdit>

namespace qv::controls {

QLineEdit *AnyLength(QLineEdit *edit)
{
    edit->setMaxLength(kNoMaxLength);
    return edit;
}

QWidget *AnyLengthDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        AnyLength(edit);
    return editor;
}

} // namespace qv::controls
