#include "controls/tframelessie.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QWebEngineSettings>

namespace qv::controls {

TFramelessIE::TFramelessIE(QWidget *parent) : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("AdStrip"));
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    // The strip's page gets nothing of the program: no bridge objects, no
    // focus theft, no access to local files.
    settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings()->setAttribute(QWebEngineSettings::ShowScrollBars, true);
}

void TFramelessIE::contextMenuEvent(QContextMenuEvent *event) { event->accept(); }

void TFramelessIE::dragEnterEvent(QDragEnterEvent *event) { event->ignore(); }

void TFramelessIE::dragMoveEvent(QDragMoveEvent *event) { event->ignore(); }

void TFramelessIE::dropEvent(QDropEvent *event) { event->ignore(); }

} // namespace qv::controls
