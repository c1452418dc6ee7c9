#pragma once
#include <QMainWindow>
#include <functional>

class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabBar;
class QTabWidget;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QWebEngineView;
class QAction;

namespace qv::core {
struct AppContext;
}
namespace qv::projects {
class ProjectChoice;
class MaterialsNavigation;
}
namespace qv::contacts {
class ContactsView;
}
namespace qv::workbench {
class RecordEditor;
class FieldCapture;
class BrowserPane;
class FilterCommands;
class Sections;
class Navigator;
class ResourceList;
}

namespace qv::app {

struct AppWindows;

// The main window: navigator on the left, the resource list and the browser
// pane on the right, tool bars on top. Its creation does the start-up work.
class TfrmMain : public QMainWindow {
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

    // The handlers of the main window, grouped by what they work on. Created
    // with the window (createControllers); each reaches the others through it.
    projects::ProjectChoice *projects = nullptr;
    projects::MaterialsNavigation *materials = nullptr;
    workbench::Navigator *navigator = nullptr;
    workbench::ResourceList *resources = nullptr;
    workbench::BrowserPane *browser = nullptr;
    contacts::ContactsView *contacts = nullptr;
    workbench::RecordEditor *records = nullptr;
    workbench::FieldCapture *capture = nullptr;
    workbench::FilterCommands *filters = nullptr;
    workbench::Sections *sections = nullptr;

    // Link commands that open the maker's pages; the support window.
    void lbAdLinkClick();

    // The windows created after the main window (null until then).
    AppWindows *windows = nullptr;
    // Hands the later windows to the handlers that use them.
    void attachWindows(AppWindows *w);

    // Hooks filled in by the windows created after the main window.
    std::function<void()> onUsersRequested;
    std::function<void()> onCloseRequested;
    // Click handlers of the fill menu's and the browser menu's items (the
    // clicked item is passed); an item does nothing while its handler is unset.
    std::function<void(QAction *)> FillMenuItemClick;
    std::function<void(QAction *)> WebMenuItemClick;

    // Tool bars and menus.
    QToolBar *tbMain;
    QComboBox *cbProjects;
    QToolButton *tbnProjectNew;
    QToolButton *tbProjectEdit;
    QMenu *pmProject;
    QToolButton *tbnUsers;
    QToolButton *tbPlugins;
    QMenu *pmPlugins;
    QToolButton *tbnUpdate;
    QMenu *pmUpdate;
    QToolButton *tbnBaza;
    QMenu *pmBaza;
    QAction *N6;
    // "Проверить обновление базы из Интернет...": the counts of changed resources.
    void N6Click();
    QToolButton *tbAutoCheck;
    QMenu *pmAutoCheck;
    // "Авто-проверка...": the auto-check window for the list on screen.
    QAction *N36 = nullptr;
    void N36Click();
    QLabel *lbAdLink;

    // Advertisement strip.
    QWidget *pnlAdTop;
    QWebEngineView *AdStrip = nullptr;

    // Navigator and help pane.
    QTreeWidget *trvFilters;
    QWidget *pnlHelp;
    QWebEngineView *wbHelp;

    // Resource pages and list, with the resource tool bar above the list:
    // the active material's panel and the material commands.
    QTabWidget *pcMain;
    QTableView *lvLinks;
    QToolBar *tbLinks;
    QToolButton *tbMaterialEdit;
    QToolButton *tbMaterialNew;
    QLabel *pnlMaterialName;
    QWidget *pnlSP;
    QComboBox *cbFMaterials;
    QToolBar *tbItems;
    // Contacts tool bar with the active letter.
    QToolBar *tbContacts;
    QComboBox *cbOMaterials;
    // The fill menu (site descriptions) and the browser's popup menu.
    QMenu *pmFill;
    QMenu *pmWeb;
    // Popup menus the navigator offers on its tree, by branch and node: the
    // forums branch, the contacts branch, a filter node, a user-section node.
    QMenu *pmForums;
    QMenu *pmContacts;
    QMenu *pmFilter;
    QMenu *pmGroups;

    // Browser pane.
    QWidget *pnlBrowser;
    QToolBar *tbWeb;
    QTabBar *tcWeb;
    QWebEngineView *Web;
    QProgressBar *WebProgress;

    QSplitter *splMain;
    QSplitter *splLeft;
    QSplitter *splRight;

    // The project ids of cbProjects' entries (entry 0 is the placeholder).
    QList<int> projectIds;

    // Plug-in items appended after the fixed ones.
    QList<QAction *> pluginActions;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolBar();
    void buildCentre();
    void createControllers();
    void buildLinkCommands();

    core::AppContext &m_ctx;
    bool m_closing = false;
};

} // namespace qv::app
