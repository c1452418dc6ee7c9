#include "controls/tframelessie.h"
#include "controls/browserview.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>

namespace qv::controls {

TFramelessIE::TFramelessIE(QWidget *parent) : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("AdStrip"));
    setPage(new SafePage(this));
    // Nothing to show until a page has come: the panel stays out of the way.
    if (parent)
        parent->hide();
    connect(page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (!parentWidget())
            return;
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && !info.isErrorPage())
            parentWidget()->show();
        else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
            parentWidget()->hide();
    });
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    // The strip's page gets nothing of the program: no bridge objects, no
    // focus theft, no access to local files.
    settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings()->setAttribute(QWebEngineSettings::ShowScrollBars, true);
}

QWebEngineView *TFramelessIE::createWindow(QWebEnginePage::WebWindowType) { return OpenBrowserWindow(this); }

void TFramelessIE::contextMenuEvent(QContextMenuEvent *event) { event->accept(); }

void TFramelessIE::dragEnterEvent(QDragEnterEvent *event) { event->ignore(); }

void TFramelessIE::dragMoveEvent(QDragMoveEvent *event) { event->ignore(); }

void TFramelessIE::dropEvent(QDropEvent *event) { event->ignore(); }

} // namespace qv::controls
