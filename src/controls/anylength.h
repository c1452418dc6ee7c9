#pragma once
// Line edits that feed a column take a value of any length: the save checks
// each value against its column's size and refuses, naming the field, what
// does not fit. Qt's default of 32,767 characters would cut a longer paste
// without a word and the cut value would be saved as if whole.
#include <QStyledItemDelegate>

class QLineEdit;

namespace qv::controls {

// More than any column holds (a MEDIUMTEXT holds 16 M bytes).
constexpr int kNoMaxLength = 16 * 1024 * 1024;

// `edit` takes any length; returns it.
QLineEdit *AnyLength(QLineEdit *edit);

// The delegate of a grid whose cells feed columns: its line edits take any length.
class AnyLengthDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace qv::controls
