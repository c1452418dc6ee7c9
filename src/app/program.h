#pragma once
// The program body: the two modes and the windows of the normal mode.
#include "core/appcontext.h"
#include "app/tfrmhelp.h"
#include "contacts/tfrmemailconfig.h"
#include "contacts/tfrmosubjectadd.h"
#include "projects/tfrmprojectinfo.h"
#include "projects/tfrmprojectmaterials.h"
#include "users/tfrmuseredit.h"
#include "users/tfrmusers.h"
#include "workbench/tfrmauth.h"
#include "workbench/tfrmautocheck.h"
#include "workbench/tfrmfilter.h"
#include "workbench/tfrmfrombaza.h"
#include "workbench/tfrmtobaza.h"

#include <QDialog>
#include <QStringList>
#include <memory>

namespace qv::app {

class TfrmMain;

// The windows created after the main window, each kept for the whole run.
// Those without a form of their own yet are plain named dialogs.
struct AppWindows {
    QDialog *frmConfig = nullptr;
    workbench::TfrmToBaza *frmToBaza = nullptr;
    workbench::TfrmFromBaza *frmFromBaza = nullptr;
    users::TfrmUsers *frmUsers = nullptr;
    users::TfrmUserEdit *frmUserEdit = nullptr;
    projects::TfrmProjectMaterials *frmProjectMaterials = nullptr;
    workbench::TfrmAuth *frmAuth = nullptr;
    QDialog *frmSubjectNew = nullptr;
    QDialog *frmPrim = nullptr;
    workbench::TfrmAutocheck *frmAutocheck = nullptr;
    workbench::TfrmFilter *frmFilter = nullptr;
    TfrmHelp *frmHelp = nullptr;
    contacts::TfrmOSubjectAdd *frmOSubjectAdd = nullptr;
    projects::TfrmProjectInfo *frmProjectInfo = nullptr;
    contacts::TfrmEmailConfig *frmEmailConfig = nullptr;
    TfrmGoAd *frmGoAd = nullptr;

    // Object names in the order of creation.
    QStringList createdOrder;
};

enum class Mode { Normal, Update };

// "update" as the first argument, exactly, selects the updater.
Mode ModeFromArguments(const QStringList &arguments);

class Program {
public:
    Program();
    ~Program();

    core::AppContext ctx;
    std::unique_ptr<TfrmMain> mainWindow;
    AppWindows windows;

    // Creates the main window (which runs the start-up). False when the user
    // gave up on the database connection: then no other window is created.
    bool startNormal();
    // Creates the other windows, hidden, in their fixed order.
    void createWindows();
    // Shows the main window and runs the event loop.
    int runNormal();
};

// Loads Qt's own Russian texts for its standard buttons and dialogs; false
// when they are not installed.
bool InstallRussianTranslations();

// The whole process after the application object exists.
int RunProgram(const QStringList &arguments);

} // namespace qv::app
