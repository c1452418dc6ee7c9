#pragma once
// The browser of the advertisement strip: a page without a border, without
// the browser's context menu and refusing drops; navigation and scrolling as
// in any browser view. Its panel shows only while a page has loaded, and a
// link asking for a new window gets one.
#include <QWebEngineView>

namespace qv::controls {

class TFramelessIE : public QWebEngineView {
    Q_OBJECT
public:
    explicit TFramelessIE(QWidget *parent = nullptr);

protected:
    QWebEngineView *createWindow(QWebEnginePage::WebWindowType type) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace qv::controls
