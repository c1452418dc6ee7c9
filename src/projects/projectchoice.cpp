#include "projects/projectchoice.h"
#include "projects/materialsnavigation.h"
#include "projects/materialsql.h"
#include "projects/tfrmprojectinfo.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "controls/browsermenu.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineView>

namespace qv::projects {

using core::prompt;

namespace {
const char *const kChooseProject = "Для работы с программой нужно выбрать проект";

// The names and ids of a project's materials of a kind, in the server's order.
struct MaterialNames {
    QStringList names;
    QList<int> ids;
};

std::optional<MaterialNames> readMaterialNames(MaterialKind kind, int projectId)
{
    MaterialNames m;
    const bool ok = db::ForEachRow(MaterialsOfProjectSql(kind, projectId), [&](const db::Row &row) {
        m.ids << static_cast<int>(db::ParseInt(row[0]).value_or(0));
        m.names << row[1];
    });
    if (!ok)
        return std::nullopt;
    return m;
}

// Every list holds the names, the first one chosen.
void fillLists(const MaterialNames &m, const QList<QComboBox *> &lists)
{
    for (QComboBox *list : lists) {
        list->clear();
        for (int i = 0; i < m.names.size(); ++i)
            list->addItem(m.names[i], m.ids[i]);
        list->setCurrentIndex(m.names.isEmpty() ? -1 : 0);
    }
}
} // namespace

ProjectChoice::ProjectChoice(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    // The user's choice only: entries set from code raise nothing.
    connect(m_main.cbProjects, &QComboBox::activated, this, [this] { cbProjectsChange(); });
    connect(m_main.tbnProjectNew, &QToolButton::clicked, this, [this] { tbnProjectNewClick(); });
    connect(m_main.tbProjectEdit, &QToolButton::clicked, this, [this] { tbProjectEditClick(); });
    buildProjectMenu();
}

void ProjectChoice::attachWindows(TfrmProjectMaterials *editor, TfrmProjectInfo *info)
{
    m_editor = editor;
    m_info = info;
}

void ProjectChoice::buildProjectMenu()
{
    QMenu *menu = m_main.pmProject;
    // Ahead of the project help, which stays the menu's last item.
    QAction *before = m_main.N26;
    if (before && !menu->actions().contains(before))
        before = nullptr;
    auto item = [&](const char *name, const QString &caption, void (MaterialsNavigation::*handler)()) {
        auto *a = new QAction(caption, menu);
        a->setObjectName(QLatin1String(name));
        menu->insertAction(before, a);
        if (handler) {
            connect(a, &QAction::triggered, this, [this, handler] {
                Q_ASSERT(m_main.materials);
                if (m_main.materials)
                    (m_main.materials->*handler)();
            });
        }
        return a;
    };
    auto separator = [&] {
        auto *a = new QAction(menu);
        a->setSeparator(true);
        menu->insertAction(before, a);
    };
    item("N4", QStringLiteral("Софт описание..."), &MaterialsNavigation::N4Click);
    item("N2", QStringLiteral("Описания сайта..."), &MaterialsNavigation::N2Click);
    item("N40", QStringLiteral("Объявления для досок объявления..."), &MaterialsNavigation::N40Click);
    item("N17", QStringLiteral("Объявления для форумов..."), &MaterialsNavigation::N17Click);
    item("N20", QStringLiteral("Письма для рассылки..."), &MaterialsNavigation::N20Click);
    separator();
    connect(item("N13", QStringLiteral("Редактировать общие данные проекта..."), nullptr), &QAction::triggered, this,
            [this] { N13Click(); });
    separator();
    connect(item("N23", QStringLiteral("Удалить проект..."), nullptr), &QAction::triggered, this, [this] { N23Click(); });
    if (before)
        separator();
}

int ProjectChoice::shownProjectId() const
{
    const int index = m_main.cbProjects->currentIndex();
    if (index <= 0 || index >= m_main.projectIds.size())
        return 0;
    return m_main.projectIds.at(index);
}

void ProjectChoice::collapseNavigator()
{
    if (m_main.navigator) {
        m_main.navigator->collapseTopNodes();
        return;
    }
    QTreeWidget *tree = m_main.trvFilters;
    for (int i = 0; i < 6 && i < tree->topLevelItemCount(); ++i) {
        QList<QTreeWidgetItem *> pending{tree->topLevelItem(i)};
        while (!pending.isEmpty()) {
            QTreeWidgetItem *node = pending.takeLast();
            tree->collapseItem(node);
            for (int c = 0; c < node->childCount(); ++c)
                pending << node->child(c);
        }
    }
}

void ProjectChoice::cbProjectsChange()
{
    if (m_main.cbProjects->currentIndex() <= 0) {
        showCurrentProjectAgain();
        return;
    }
    const int projectId = shownProjectId();
    leaveForShownProject();
    if (projectId <= 0 || !enterProject(projectId))
        return;
    if (!fillSiteDescriptions(projectId) || !fillPressReleases(projectId) || !fillLetters(projectId))
        return;
    m_main.pmWeb->clear();
    for (const QString &caption : controls::DefaultBrowserMenu())
        AddWebMenuItem(m_main, caption);

    // What stays on screen is the new project's: the editor's tab shows the
    // material its list names, the resource list the node shown.
    if (m_editor && m_editor->isVisible())
        m_editor->showListedMaterial();
    refillResourceList();
}

void ProjectChoice::showCurrentProjectAgain()
{
    // The placeholder changes nothing: the list goes back to the project
    // that stays current, so that what it shows is what the work is for.
    const int current = static_cast<int>(m_main.projectIds.indexOf(m_ctx.CurrentProjectId));
    if (m_ctx.CurrentProjectId > 0 && current > 0) {
        const QSignalBlocker block(m_main.cbProjects);
        m_main.cbProjects->setCurrentIndex(current);
    }
}

void ProjectChoice::leaveForShownProject()
{
    // Pending edits go into the rows they were loaded from, while those still
    // belong to the current project.
    if (m_editor)
        m_editor->confirmPendingEdits();

    m_ctx.DescriptionsChanged = false;
    if (m_editor)
        m_editor->setWindowTitle(QStringLiteral("Материалы проекта:\"") + m_main.cbProjects->currentText() + QLatin1Char('"'));
    m_main.Web->setUrl(m_ctx.makerUrl(QStringLiteral("/program3_start.php")));
    collapseNavigator();
    clearResourceList();

    m_ctx.CurrentProjectId = 0;
    if (onProjectLeft)
        onProjectLeft();
    if (m_editor)
        m_editor->forgetProject();
}

bool ProjectChoice::enterProject(int projectId)
{
    bool failed = false;
    const auto row = db::FirstRow(ProjectByIdSql(projectId), &failed);
    // Without its row there is no project to refresh the lists for, and
    // what they hold belongs to the project left.
    if (failed)
        return false;
    if (!row) {
        leaveProject();
        prompt().message(QStringLiteral("Проект не найден в базе данных: возможно, он удалён. Выберите другой проект."));
        return false;
    }
    m_ctx.CurrentProjectId = projectId;
    m_ctx.ProjectUrl = row->value(2);
    return true;
}

bool ProjectChoice::fillSiteDescriptions(int projectId)
{
    // The editor's list and the fill menu.
    const auto m = readMaterialNames(MaterialKind::Site, projectId);
    if (!m)
        return false;
    m_main.pmFill->clear();
    AddFillMenuItem(m_main, QStringLiteral("Новое описание..."));
    AddFillMenuItem(m_main, QStringLiteral("-"));
    if (m_editor)
        m_editor->cbCMaterials->clear();
    for (int i = 0; i < m->names.size(); ++i) {
        AddFillMenuItem(m_main, m->names[i]);
        if (m_editor)
            m_editor->cbCMaterials->addItem(m->names[i], m->ids[i]);
    }
    if (m_editor)
        m_editor->cbCMaterials->setCurrentIndex(m->names.isEmpty() ? -1 : 0);
    return true;
}

bool ProjectChoice::fillActiveLists(MaterialKind kind, int projectId, QComboBox *mainList, QComboBox *editorList,
                                    core::Kind branch, void (MaterialsNavigation::*makeActive)())
{
    const auto m = readMaterialNames(kind, projectId);
    if (!m)
        return false;
    QList<QComboBox *> lists{mainList};
    if (editorList)
        lists << editorList;
    fillLists(*m, lists);
    Q_ASSERT(m_main.materials);
    if (m_ctx.CurrentKind == branch && m_main.materials)
        (m_main.materials->*makeActive)();
    return true;
}

bool ProjectChoice::fillPressReleases(int projectId)
{
    return fillActiveLists(MaterialKind::Forum, projectId, m_main.cbFMaterials, m_editor ? m_editor->cbFMaterials : nullptr,
                           core::Kind::Forums, &MaterialsNavigation::cbFMaterialsChange);
}

bool ProjectChoice::fillLetters(int projectId)
{
    return fillActiveLists(MaterialKind::Letter, projectId, m_main.cbOMaterials, m_editor ? m_editor->cbOMaterials : nullptr,
                           core::Kind::Contacts, &MaterialsNavigation::cbOMaterialsChange);
}

void ProjectChoice::clearResourceList()
{
    m_ctx.SelectedResourceId = 0;
    m_ctx.SelectedResourceName.clear();
    Q_ASSERT(m_main.resources);
    if (m_main.resources)
        m_main.resources->clear();
}

void ProjectChoice::refillResourceList()
{
    // Rubrics and filters list the same resources in every project, with the
    // project's own statuses; the navigator's other nodes (a user section is
    // the project's own) are gone with the collapse or list nothing.
    const auto kind = workbench::Navigator::nodeKind(m_main.trvFilters->currentItem());
    if (m_main.navigator && (kind == workbench::Navigator::RubricNode || kind == workbench::Navigator::FilterNode))
        m_main.navigator->trvFiltersClick();
}

void ProjectChoice::leaveProject()
{
    m_ctx.CurrentProjectId = 0;
    if (onProjectLeft)
        onProjectLeft();
    m_ctx.ProjectUrl.clear();
    m_ctx.CurrentMaterialId = 0;
    m_ctx.CurrentMaterialName.clear();
    m_ctx.DescriptionsChanged = false;
    m_main.cbFMaterials->clear();
    m_main.cbOMaterials->clear();
    m_main.pmFill->clear();
    m_main.pmWeb->clear();
    collapseNavigator();
    clearResourceList();
    if (m_editor) {
        m_editor->forgetProject();
        m_editor->cbCMaterials->clear();
        m_editor->cbFMaterials->clear();
        m_editor->cbOMaterials->clear();
        m_editor->setWindowTitle(QStringLiteral("Редактирование материалов проекта"));
    }
}

void ProjectChoice::tbnProjectNewClick()
{
    if (!m_info)
        return;
    m_info->clearFields();
    m_info->EditMode = QStringLiteral("Add");
    m_info->EditProjectId = 0;
    prompt().exec(m_info);
    cbProjectsChange();
    if (m_editor) {
        m_editor->setTab(TfrmProjectMaterials::SiteTab);
        m_editor->cbCMaterials->setCurrentIndex(m_editor->cbCMaterials->count() > 0 ? 0 : -1);
        m_editor->cbCMaterialsChange();
        if (!m_info->edtURL->text().isEmpty() && !m_info->edtProjectName->text().isEmpty())
            m_editor->showEditor();
    }
}

void ProjectChoice::N13Click()
{
    if (m_main.cbProjects->currentIndex() <= 0) {
        prompt().message(QString::fromUtf8(kChooseProject));
        return;
    }
    if (!m_info)
        return;
    const int projectId = shownProjectId();
    if (db::ExecQuery(ProjectByIdSql(projectId)) != 0)
        return;
    std::optional<ProjectData> data;
    {
        db::QueryResult result(db::DbConnection());
        if (const auto row = result.FetchRow())
            data = ProjectFromRow(result, *row);
    }
    // A project whose row is gone has nothing to edit.
    if (!data)
        return;
    m_info->editProject(projectId, *data);
    prompt().exec(m_info);
}

void ProjectChoice::N23Click()
{
    QComboBox *list = m_main.cbProjects;
    const int index = list->currentIndex();
    if (index <= 0) {
        prompt().message(QStringLiteral("Вы не выбрали проект для удаления!"));
        return;
    }
    if (list->count() == 2) {
        prompt().message(QStringLiteral("Нельзя удалять последний проект"));
        return;
    }
    const int projectId = shownProjectId();
    if (projectId <= 0)
        return;
    if (!prompt().deleteQuestion(QStringLiteral("Вы действительно хотите удалить проект:\"") + list->currentText()
                                 + QStringLiteral("\"?")))
        return;
    if (db::ExecQuery(ProjectDeleteSql(projectId)) != 0)
        return;
    list->removeItem(index);
    if (index < m_main.projectIds.size())
        m_main.projectIds.removeAt(index);
    list->setCurrentIndex(0);
    leaveProject();
}

} // namespace qv::projects
