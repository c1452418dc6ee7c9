#pragma once
// The main window's face: its widgets, the handler groups built on them and the
// hooks through which those groups reach one another. Plain members only; the
// main window (TfrmMain) builds the widgets, creates the handlers and sets the
// hooks. Handlers take this face, never the window itself.
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QAction;
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
class QWidget;

namespace qv::projects {
class ProjectChoice;
class MaterialsNavigation;
} // namespace qv::projects
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
} // namespace qv::workbench

namespace qv::mainview {

// A press release or letter chosen in the main window.
struct ActiveMaterial {
    int id = 0;
    QString name;
};

struct MainView {
    // The window itself: the parent of the handler groups and of the popups.
    QWidget *frmMain = nullptr;

    // The handlers of the main window, grouped by what they work on.
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

    // The press release (letter) chosen in the main window, provided it is one
    // of the current project's; nothing otherwise (`failed` tells a failed read
    // apart from "none"). Unset: there is none.
    std::function<std::optional<ActiveMaterial>(bool *failed)> activePressRelease;
    std::function<std::optional<ActiveMaterial>(bool *failed)> activeLetter;
    // Opens the materials editor on a new site description.
    std::function<void()> openNewSiteDescription;
    // Reloads the project list (cbProjects); false when it could not be read.
    std::function<bool()> reloadProjects;

    // Click handlers of the fill menu's and the browser menu's items (the
    // clicked item is passed); an item does nothing while its handler is unset.
    std::function<void(QAction *)> FillMenuItemClick;
    std::function<void(QAction *)> WebMenuItemClick;

    // Tool bars and menus.
    QToolBar *tbMain = nullptr;
    QComboBox *cbProjects = nullptr;
    QToolButton *tbnProjectNew = nullptr;
    QToolButton *tbProjectEdit = nullptr;
    QMenu *pmProject = nullptr;
    // "Справка: Работа с проектом", the project menu's last item.
    QAction *N26 = nullptr;
    QToolButton *tbnUsers = nullptr;
    QToolButton *tbPlugins = nullptr;
    QMenu *pmPlugins = nullptr;
    QToolButton *tbnUpdate = nullptr;
    QMenu *pmUpdate = nullptr;
    QToolButton *tbnBaza = nullptr;
    QMenu *pmBaza = nullptr;
    // "Проверить обновление базы из Интернет...".
    QAction *N6 = nullptr;
    QToolButton *tbAutoCheck = nullptr;
    QMenu *pmAutoCheck = nullptr;
    // "Авто-проверка...".
    QAction *N36 = nullptr;
    QLabel *lbAdLink = nullptr;

    // Advertisement strip.
    QWidget *pnlAdTop = nullptr;
    QWebEngineView *AdStrip = nullptr;

    // Navigator and help pane.
    QTreeWidget *trvFilters = nullptr;
    QWidget *pnlHelp = nullptr;
    QWebEngineView *wbHelp = nullptr;

    // Resource pages and list, with the resource tool bar above the list:
    // the active material's panel and the material commands.
    QTabWidget *pcMain = nullptr;
    QTableView *lvLinks = nullptr;
    QToolBar *tbLinks = nullptr;
    QToolButton *tbMaterialEdit = nullptr;
    QToolButton *tbMaterialNew = nullptr;
    QLabel *pnlMaterialName = nullptr;
    QWidget *pnlSP = nullptr;
    QComboBox *cbFMaterials = nullptr;
    QToolBar *tbItems = nullptr;
    // Contacts tool bar with the active letter; the contacts' pages, in place
    // of pcMain while the contacts branch is open (built by the contacts view).
    QToolBar *tbContacts = nullptr;
    QComboBox *cbOMaterials = nullptr;
    QTabWidget *pcContacts = nullptr;
    // The fill menu (site descriptions) and the browser's popup menu.
    QMenu *pmFill = nullptr;
    QMenu *pmWeb = nullptr;
    // Popup menus the navigator offers on its tree, by branch and node: the
    // forums branch, the contacts branch, a filter node, a user-section node.
    QMenu *pmForums = nullptr;
    QMenu *pmContacts = nullptr;
    QMenu *pmFilter = nullptr;
    QMenu *pmGroups = nullptr;

    // Browser pane, with the buttons its handlers add to tbWeb: the form
    // filler, the registration statuses and the discussion link's saving.
    QWidget *pnlBrowser = nullptr;
    QToolBar *tbWeb = nullptr;
    QTabBar *tcWeb = nullptr;
    QWebEngineView *Web = nullptr;
    QProgressBar *WebProgress = nullptr;
    QToolButton *tbFeel = nullptr;
    QToolButton *tbnStatus1 = nullptr;
    QToolButton *tbnStatus2 = nullptr;
    QToolButton *tbnStatus3 = nullptr;
    QToolButton *tbnStatus0 = nullptr;
    QToolButton *SpeedButton3 = nullptr;

    QSplitter *splMain = nullptr;
    QSplitter *splLeft = nullptr;
    QSplitter *splRight = nullptr;

    // The project ids of cbProjects' entries (entry 0 is the placeholder).
    QList<int> projectIds;

    // Plug-in items appended after the fixed ones.
    QList<QAction *> pluginActions;
};

// Appends an item to the fill menu (pmFill) or to the browser's popup menu
// (pmWeb). Captions are keys: the raw text stays in the item's data, "&" shows
// as itself and "-" makes a separator. A click calls FillMenuItemClick
// (WebMenuItemClick) with the item.
QAction *AddFillMenuItem(MainView &main, const QString &name);
QAction *AddWebMenuItem(MainView &main, const QString &caption);

} // namespace qv::mainview
