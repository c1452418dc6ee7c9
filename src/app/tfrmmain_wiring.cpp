// Creation of the main window's handler groups, and how they meet the windows
// created after the main window.
#include "app/program.h"
#include "app/tfrmmain.h"

namespace qv::app {

void TfrmMain::createControllers()
{
}

void TfrmMain::attachWindows(AppWindows *w)
{
    windows = w;
}

} // namespace qv::app
