#pragma once
// A caption in the bold face of its window's font.
#include <QString>

class QLabel;
class QWidget;

namespace qv::controls {

QLabel *BoldLabel(const QString &text, QWidget *parent);

} // namespace qv::controls
