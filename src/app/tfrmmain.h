#pragma once
#include "mainview/mainview.h"

#include <QMainWindow>
#include <functional>

namespace qv::core {
struct AppContext;
}

namespace qv::app {

struct AppWindows;

// The main window: navigator on the left, the resource list and the browser
// pane on the right, tool bars on top. It builds its widgets (the face it
// derives from), creates the handler groups on them and wires their hooks; its
// creation does the start-up work.
class TfrmMain : public QMainWindow, public mainview::MainView {
    Q_OBJECT
public:
    explicit TfrmMain(core::AppContext &ctx, QWidget *parent = nullptr);
    ~TfrmMain() override;

    core::AppContext &context() { return m_ctx; }

    // The start-up: folders and start pages, the installation record, the
    // plug-in menu, settings, the database connection, login, the project
    // list, the advertisement strip and a pending "Tasks.sql". Sets
    // ConnectAbandoned when the user gives up on the connection.
    void FormCreate();

    // Steps of the start-up, also run on their own by tests.
    bool connectDatabase();
    bool selectDatabase();
    bool fillProjects();

    // The windows created after the main window (null until then).
    AppWindows *windows = nullptr;
    // Hands the later windows to the handlers that use them.
    void attachWindows(AppWindows *w);

    // Hooks filled in by the windows created after the main window.
    std::function<void()> onUsersRequested;
    std::function<void()> onCloseRequested;

    // "Проверить обновление базы из Интернет...": the counts of changed resources.
    void N6Click();
    // "Авто-проверка...": the auto-check window for the list on screen.
    void N36Click();
    // The support link: the support window.
    void lbAdLinkClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int defaultWidth() const;
    void buildToolBar();
    void buildCentre();
    // The parts of the centre, built in this order.
    void buildNavigatorSide();
    void buildPages();
    void buildLinksToolBar(QWidget *listPage);
    void buildContactsToolBar(QWidget *listPage);
    void buildPopupMenus();
    void buildBrowserPanel();
    // The steps of the start-up.
    bool readSettings();
    void showStartPages();
    void fillPluginMenu();
    bool connectAndLogIn();
    void createControllers();
    void buildLinkCommands();

    core::AppContext &m_ctx;
    bool m_closing = false;
};

} // namespace qv::app
