#pragma once
// The browser of the advertisement strip: a page without a border, without
// the browser's context menu and refusing drops; navigation and scrolling as
// in any browser view.
#include <QWebEngineView>

namespace qv::controls {

class TFramelessIE : public QWebEngineView {
    Q_OBJECT
public:
    explicit TFramelessIE(QWidget *parent = nullptr);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace qv::controls
