#pragma once
// "Общие данные проекта": the project data window, shown modally for a new
// project ("Add") or the current one ("Edit").
#include "projects/projectsql.h"
#include "db/columnlimits.h"
#include "db/rowguard.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::projects {

class TfrmProjectInfo : public QDialog {
    Q_OBJECT
public:
    TfrmProjectInfo(core::AppContext &ctx, mainview::MainView *main, QWidget *parent = nullptr);

    // "Add" or "Edit"; set by the caller before showing the window.
    QString EditMode;
    // The project an "Edit" writes to; set with EditMode "Edit".
    int EditProjectId = 0;

    QLineEdit *edtProjectName;
    QLineEdit *edtURL;
    QLineEdit *edtFIO;
    QLineEdit *edtEMail;
    QLineEdit *edtOrganization;
    QLineEdit *edtTel;
    QLineEdit *edtFAX;
    QLineEdit *edtCity;
    QLineEdit *edtCountry;
    QLineEdit *edtAddress;
    QPushButton *btnProjectInfoSave;

    // "Edit": shows the project's row as loaded and remembers it, so that the
    // save writes only over what the window showed.
    void editProject(int projectId, const ProjectData &loaded);

    // The ten edits as project data, and back.
    ProjectData fields() const;
    void setFields(const ProjectData &p);
    void clearFields();

    // "Сохранить": writes the row, refreshes the project list, makes the saved
    // project current and, for a new project, writes its seed rows. The window
    // closes only when everything succeeded.
    void btnProjectInfoSaveClick();

private:
    // The new project's seed rows; false when a statement failed.
    bool seedProject(int projectId);
    // Refills cbProjects, selects the project and makes it current.
    bool showProject(int projectId);
    // The values the save writes, with the captions of their edits.
    QList<db::FieldValue> savedFields(const ProjectData &p) const;

    // The row "Edit" loaded, as it was loaded (or last saved).
    db::LoadedRow m_loaded;
    core::AppContext &m_ctx;
    mainview::MainView *m_main;
};

} // namespace qv::projects
