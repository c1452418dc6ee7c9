// Creation of the main window's handler groups, and how they meet the windows
// created after the main window.
#include "app/program.h"
#include "app/tfrmmain.h"
#include "contacts/contactsview.h"
#include "contacts/tfrmemailconfig.h"
#include "contacts/tfrmosubjectadd.h"
#include "projects/materialsnavigation.h"
#include "projects/projectchoice.h"
#include "workbench/browserpane.h"
#include "workbench/filtercommands.h"
#include "workbench/navigator.h"
#include "workbench/tfrmauth.h"
#include "workbench/resourcelist.h"
#include "workbench/sections.h"
#include "workbench/capture.h"
#include "workbench/recordeditor.h"
#include "workbench/tfrmautocheck.h"
#include "workbench/tfrmtobaza.h"
#include "workbench/tfrmfilter.h"
#include "workbench/tfrmfrombaza.h"

#include <QTreeWidget>

namespace qv::app {

void TfrmMain::createControllers()
{
    // The order is the order of need: a group finds, when it is created, the
    // groups above it, and a debug build stops at a neighbour that is missing.
    //   resources  the resource list: needs none of the others.
    //   browser    connects to the list's current row; its form filler asks
    //              the materials for the active press release (below).
    //   navigator  fills the list from the node shown.
    //   projects   empties the list and collapses the navigator on a project
    //              change, and makes the materials' lists active (a project is
    //              chosen only once every group is there).
    //   materials  gives the navigator its handlers for the press-release and
    //              letter lists.
    //   filters    gives the navigator the filter editor; renames and deletes
    //              its filter nodes.
    //   sections   renames and deletes the navigator's section nodes; puts the
    //              list's selected resource into sections.
    //   contacts   gives the navigator the handlers of its contacts branch.
    //   records    gives the browser's form filler the save of an edited
    //              record, and moves the browser and the list to a record.
    //   capture    fills the record editor's grid from the page.
    // Last, what the groups ask of each other through the main window: the
    // active press release and letter and the new site description come from
    // the materials, the end of a project from the contacts.
    resources = new workbench::ResourceList(*this, m_ctx);
    browser = new workbench::BrowserPane(*this, m_ctx);
    navigator = new workbench::Navigator(*this, m_ctx);
    projects = new projects::ProjectChoice(*this, m_ctx);
    materials = new projects::MaterialsNavigation(*this, m_ctx);
    filters = new workbench::FilterCommands(*this, m_ctx);
    sections = new workbench::Sections(*this, m_ctx);
    contacts = new contacts::ContactsView(*this, m_ctx);
    records = new workbench::RecordEditor(*this, m_ctx);
    capture = new workbench::FieldCapture(*this, m_ctx);
    projects->onProjectLeft = [this] { contacts->forgetSection(); };
    // What the workbench and the contacts ask of the project's materials.
    activePressRelease = [this](bool *failed) { return materials->activePressRelease(failed); };
    activeLetter = [this](bool *failed) { return materials->activeLetter(failed); };
    openNewSiteDescription = [this] { materials->openNewSiteDescription(); };
    reloadProjects = [this] { return fillProjects(); };
}

void TfrmMain::attachWindows(AppWindows *w)
{
    windows = w;
    if (projects)
        projects->attachWindows(w->frmProjectMaterials, w->frmProjectInfo);
    if (materials)
        materials->attachEditor(w->frmProjectMaterials);
    if (browser)
        browser->attachAuth(w->frmAuth);
    if (filters)
        filters->attachEditor(w->frmFilter);
    if (navigator)
        navigator->attachFilterEditor(w->frmFilter);
    if (records)
        records->attachUpload(w->frmToBaza);
    if (contacts)
        contacts->attachWindows(w->frmOSubjectAdd, w->frmEmailConfig);
}

void TfrmMain::N36Click()
{
    workbench::TfrmAutocheck *check = windows ? windows->frmAutocheck : nullptr;
    if (!check || !resources)
        return;
    const QTreeWidgetItem *node = trvFilters->currentItem();
    check->N36Click(*resources, node ? node->text(0) : QString());
}

void TfrmMain::N6Click()
{
    if (workbench::TfrmFromBaza *f = windows ? windows->frmFromBaza : nullptr)
        f->runInfo();
}

} // namespace qv::app
