#pragma once
// The main window's project commands: choosing the current project, which
// refills every project-bound list, and creating, editing and deleting
// projects through the project data window.
#include "projects/materialsql.h"
#include "core/kind.h"

#include <QObject>
#include <functional>
#include <QString>

class QAction;
class QComboBox;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::projects {

class MaterialsNavigation;
class TfrmProjectInfo;
class TfrmProjectMaterials;

class ProjectChoice : public QObject {
    Q_OBJECT
public:
    ProjectChoice(mainview::MainView &main, core::AppContext &ctx);

    // The windows created after the main window.
    void attachWindows(TfrmProjectMaterials *editor, TfrmProjectInfo *info);
    TfrmProjectMaterials *editor() const { return m_editor; }
    TfrmProjectInfo *info() const { return m_info; }

    // The project chosen in cbProjects becomes current: the materials lists,
    // the fill menu and the browser menu are refilled.
    void cbProjectsChange();
    // "Создать проект".
    void tbnProjectNewClick();
    // "Редактировать общие данные проекта...".
    void N13Click();
    // "Удалить проект...".
    void N23Click();
    // "<< Редактировать" has no command of its own: the main window makes a
    // click on it open the project menu.
    void tbProjectEditClick() {}

    // Back to no project at all (after a delete): nothing is left that could
    // write into the old project's rows.
    void leaveProject();
    // Runs whenever the current project is left (changed, gone, deleted).
    std::function<void()> onProjectLeft;

private:
    void buildProjectMenu();
    // The id of the entry cbProjects shows, 0 for the placeholder.
    int shownProjectId() const;
    void collapseNavigator();

    // The steps of a project change. The list shows the placeholder: it goes
    // back to the current project.
    void showCurrentProjectAgain();
    // The current project is left for the one the list shows: its pending
    // edits saved, its lists and the navigator emptied.
    void leaveForShownProject();
    // The project's row read: it becomes current. False when it could not be
    // read (reported) or is gone (said so; no project is current then).
    bool enterProject(int projectId);
    // The project's site descriptions (the fill menu, the editor's list), press
    // releases and letters (the main window's lists, the editor's); false when
    // a statement failed (reported).
    bool fillSiteDescriptions(int projectId);
    bool fillPressReleases(int projectId);
    bool fillLetters(int projectId);
    // The main window's list of a kind and the editor's (none without the
    // editor) hold the project's materials of that kind; while the navigator
    // shows `branch`, the first of them becomes the active one.
    bool fillActiveLists(MaterialKind kind, int projectId, QComboBox *mainList, QComboBox *editorList, core::Kind branch,
                         void (MaterialsNavigation::*makeActive)());
    // The resource list of the project left goes; the node shown, if it
    // lists resources, fills it again for the project now current.
    void clearResourceList();
    void refillResourceList();

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    TfrmProjectMaterials *m_editor = nullptr;
    TfrmProjectInfo *m_info = nullptr;
};

} // namespace qv::projects
