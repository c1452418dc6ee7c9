#pragma once
// The main window with the materials editor and the project data window, as
// the program wires them, for driving the project handlers in tests.
#include "core/appcontext.h"
#include "app/program.h"
#include "app/tfrmmain.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class QMenu;

namespace qv::projects {
class TfrmProjectMaterials;
class TfrmProjectInfo;
} // namespace qv::projects

namespace qv::test {

class Bench {
public:
    // With `withMain` false only the editor exists (no main window).
    explicit Bench(bool withMain = true);
    ~Bench();

    QTemporaryDir dir;
    core::AppContext ctx;
    std::unique_ptr<app::TfrmMain> main;
    projects::TfrmProjectMaterials *editor = nullptr;
    projects::TfrmProjectInfo *info = nullptr;
    app::AppWindows windows;

    // Inserts a project row and refills cbProjects; its id.
    int addProject(const QString &name, const QString &url = QStringLiteral("http://example.ru"));
    // Shows the project's entry in cbProjects and runs the project choice.
    void choose(int projectId);
    // Inserts a material row; its id.
    int addMaterial(const QString &table, const QString &name, int projectId, const QString &more = QString());
};

// The data (raw captions) of a menu's items, "-" for separators.
QStringList menuKeys(const QMenu *menu);
// The visible texts of a menu's items.
QStringList menuTexts(const QMenu *menu);
// The entries of a combo box.
QStringList comboItems(const class QComboBox *combo);
// A loopback port nothing listens on.
int closedPort();

} // namespace qv::test
