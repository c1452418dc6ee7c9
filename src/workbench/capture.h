#pragma once
// Field-mapping capture: a right click over a browser reaches no page; it
// focuses and reads the form field under the pointer by script and opens the
// program's own menu instead of the browser's. The keyboard's request (the
// Menu key, Shift+F10) opens the same menu for the focused field. The menu's
// mapping rows add the field's name to the record grid, or take it out again.
#include <QObject>
#include <QPoint>
#include <QPointer>

class QAction;
class QWebEngineView;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class FieldCapture : public QObject {
    Q_OBJECT
public:
    FieldCapture(mainview::MainView &main, core::AppContext &ctx);
    ~FieldCapture() override;

    // The click of any item of the browser menu.
    void WebMenuItemClick(QAction *item);
    // The menu is about to open: ticks the mapping rows that list the field.
    void pmWebPopup();

    // What the last right click found under the pointer.
    struct Target {
        bool document = false; // a page was there to ask
        QString fieldName;     // the element's name attribute, upper-cased
        QString link;          // the address of the link under the pointer
    };
    const Target &target() const { return m_target; }

Q_SIGNALS:
    // The menu was opened for a right click (for the views that have one).
    void menuOpened();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // BrowserMouseHook: the right button released over `view` at `local`
    // (view coordinates), `target` being the widget that had the events.
    void browserRightClick(QWebEngineView *view, QWidget *target, const QPoint &local);
    // Whether `view` has the program's menu (the main browser, the help pane).
    bool hasMenu(QWebEngineView *view) const;
    // Opens the menu at `screen` once `script` has described the element it
    // is for (nothing to ask while `view` holds no page).
    void openMenu(QWebEngineView *view, const QPoint &screen, const QString &script);

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    Target m_target;
    quint64 m_clicks = 0;
};

} // namespace qv::workbench
