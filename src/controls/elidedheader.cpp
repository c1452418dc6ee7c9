#include "controls/elidedheader.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace qv::controls {

namespace {
// The header's own drawing cuts a long caption at the column's edge whatever
// its text elide mode says; this style shortens the caption to the room its
// label is given before it is drawn.
class ElidingHeaderStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const override
    {
        const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
        const auto *view = qobject_cast<const QHeaderView *>(widget);
        if (element != CE_HeaderLabel || !header || !view || view->textElideMode() == Qt::ElideNone) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        int room = header->rect.width();
        if (!header->icon.isNull())
            room -= pixelMetric(PM_SmallIconSize, option, widget) + 2;
        // A selected section's caption is drawn in bold.
        QFont font = painter->font();
        if (header->state & State_On)
            font.setBold(true);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(header->text) <= room) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionHeader shortened(*header);
        shortened.text = metrics.elidedText(header->text, view->textElideMode(), qMax(room, 0));
        QProxyStyle::drawControl(element, &shortened, painter, widget);
    }
};
} // namespace

void ElideHeaderCaptions(QHeaderView *header)
{
    header->setTextElideMode(Qt::ElideRight);
    auto *style = new ElidingHeaderStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(header);
    header->setStyle(style);
}

} // namespace qv::controls
