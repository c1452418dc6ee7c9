#include "controls/boldlabel.h"

#include <QFont>
#include <QLabel>

namespace qv::controls {

QLabel *BoldLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace qv::controls
