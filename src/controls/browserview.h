#pragma once
// The main browser: a page that asks for a new window gets one of its own.
#include <QWebEngineView>

namespace qv::controls {

class BrowserView : public QWebEngineView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget *parent = nullptr);

protected:
    QWebEngineView *createWindow(QWebEnginePage::WebWindowType type) override;
};

} // namespace qv::controls
