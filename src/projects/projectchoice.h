#pragma once
// The main window's project commands: choosing the current project, which
// refills every project-bound list, and creating, editing and deleting
// projects through the project data window.
#include <QObject>
#include <functional>
#include <QString>

class QAction;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::projects {

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
