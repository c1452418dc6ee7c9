// Creation of the main window's handler groups, and how they meet the windows
// created after the main window.
#include "app/program.h"
#include "app/tfrmmain.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"

namespace qv::app {

void TfrmMain::createControllers()
{
    resources = new workbench::ResourceList(*this, m_ctx);
    navigator = new workbench::Navigator(*this, m_ctx);
}

void TfrmMain::attachWindows(AppWindows *w)
{
    windows = w;
}

} // namespace qv::app
