#pragma once
// The main window's side of the materials: the active press release and the
// active letter (cbFMaterials, cbOMaterials), the commands that open the
// materials editor on the right tab, and the rename and delete of the active
// press release from the navigator's forums popup menu.
#include "mainview/mainview.h"

#include <QObject>
#include <QString>
#include <optional>

class QAction;
class QComboBox;
class QToolButton;

namespace qv::core {
struct AppContext;
}

namespace qv::projects {

class TfrmProjectMaterials;
enum class MaterialKind;

class MaterialsNavigation : public QObject {
    Q_OBJECT
public:
    MaterialsNavigation(mainview::MainView &main, core::AppContext &ctx);

    void attachEditor(TfrmProjectMaterials *editor) { m_editor = editor; }

    // A material chosen in one of the main window's lists.
    using ActiveMaterial = mainview::ActiveMaterial;
    // The press release (letter) chosen in the main window, provided it is one
    // of the current project's; nothing otherwise. Operations on the active
    // press release or letter resolve it here when they run. A read that
    // fails has been reported; `failed` then tells it apart from "none".
    std::optional<ActiveMaterial> activePressRelease(bool *failed = nullptr) const;
    std::optional<ActiveMaterial> activeLetter(bool *failed = nullptr) const;

    // The main window's lists: the chosen entry becomes the active material.
    void cbFMaterialsChange();
    void cbOMaterialsChange();

    // The project menu's material commands.
    void N4Click();
    void N2Click();
    void N40Click();
    void N17Click();
    void N20Click();
    // The resource tool bar: edit the active material, create one of the kind.
    void tbMaterialEditClick();
    void tbMaterialNewClick();
    // The contacts tool bar: edit the active letter, create a letter.
    void ToolButton1Click();
    void ToolButton19Click();
    // The fill menu's "Новое описание...": the editor on its site descriptions
    // with a new description asked for.
    void openNewSiteDescription();
    // The forums popup menu: rename, delete the active press release.
    void MenuItem1Click();
    void MenuItem3Click();

    QToolButton *ToolButton1;
    QToolButton *ToolButton19;
    QAction *MenuItem1;
    QAction *MenuItem3;

private:
    std::optional<ActiveMaterial> activeOf(MaterialKind kind, QComboBox *list, bool *failed) const;
    void makeActive(MaterialKind kind, QComboBox *list);
    bool projectChosen() const;
    // The navigator's selected node is a direct child of a top node.
    bool levelOneNodeSelected() const;
    bool nestedNodeSelected() const;
    // Refills the resource list for the navigator's selected node.
    void refreshList();
    void openOn(int tab);

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    TfrmProjectMaterials *m_editor = nullptr;
};

} // namespace qv::projects
