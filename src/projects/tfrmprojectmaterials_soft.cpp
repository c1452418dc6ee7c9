// The materials editor's software versions (tab 0). The page keeps its place
// among the tabs and in the order of the saves; its fields are not built yet,
// so it is empty and its operations have nothing to do.
#include "projects/tfrmprojectmaterials.h"

namespace qv::projects {

QWidget *TfrmProjectMaterials::buildSoftPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsSoft"));
    return page;
}

void TfrmProjectMaterials::resetSoftPage() {}

void TfrmProjectMaterials::cbSMaterialsChange() {}

void TfrmProjectMaterials::btnSmaterialSaveClick() {}

void TfrmProjectMaterials::btnSMaterialNewClick() {}

void TfrmProjectMaterials::selectSMaterial(const QString &) {}

} // namespace qv::projects
