#include "controls/browserview.h"

namespace qv::controls {

BrowserView::BrowserView(QWidget *parent) : QWebEngineView(parent) {}

QWebEngineView *BrowserView::createWindow(QWebEnginePage::WebWindowType)
{
    // A window of its own, on the same profile (cookies and logins shared),
    // gone when the user closes it.
    auto *view = new BrowserView;
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setPage(new QWebEnginePage(page()->profile(), view));
    view->resize(width() > 200 ? width() : 1000, height() > 200 ? height() : 700);
    view->show();
    return view;
}

} // namespace qv::controls
