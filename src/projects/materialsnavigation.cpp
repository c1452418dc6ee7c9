#include "projects/materialsnavigation.h"
#include "projects/materialsql.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/query.h"
#include "workbench/navigator.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace qv::projects {

using core::prompt;

namespace {
QToolButton *contactsButton(QToolBar *bar, const char *name, const QString &caption)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addWidget(b);
    return b;
}
} // namespace

MaterialsNavigation::MaterialsNavigation(mainview::MainView &main, core::AppContext &ctx)
    : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    connect(m_main.cbFMaterials, &QComboBox::activated, this, [this] { cbFMaterialsChange(); });
    connect(m_main.cbOMaterials, &QComboBox::activated, this, [this] { cbOMaterialsChange(); });
    connect(m_main.tbMaterialEdit, &QToolButton::clicked, this, [this] { tbMaterialEditClick(); });
    connect(m_main.tbMaterialNew, &QToolButton::clicked, this, [this] { tbMaterialNewClick(); });

    ToolButton1 = contactsButton(m_main.tbContacts, "ToolButton1", QStringLiteral("<<Редактировать письмо"));
    ToolButton19 = contactsButton(m_main.tbContacts, "ToolButton19", QStringLiteral("Новое письмо"));
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(ToolButton19, &QToolButton::clicked, this, [this] { ToolButton19Click(); });

    MenuItem1 = m_main.pmForums->addAction(QStringLiteral("Переименовать название пресс-релиза для форума..."));
    MenuItem1->setObjectName(QStringLiteral("MenuItem1"));
    MenuItem3 = m_main.pmForums->addAction(QStringLiteral("Удалить выделенный пресс-релиз для форума..."));
    MenuItem3->setObjectName(QStringLiteral("MenuItem3"));
    connect(MenuItem1, &QAction::triggered, this, [this] { MenuItem1Click(); });
    connect(MenuItem3, &QAction::triggered, this, [this] { MenuItem3Click(); });

    // The navigator makes the list's choice active when a branch is entered.
    Q_ASSERT(m_main.navigator);
    if (m_main.navigator) {
        m_main.navigator->cbFMaterialsChange = [this] { cbFMaterialsChange(); };
        m_main.navigator->cbOMaterialsChange = [this] { cbOMaterialsChange(); };
    }
}

// ---- the active press release and letter ----

std::optional<MaterialsNavigation::ActiveMaterial> MaterialsNavigation::activeOf(MaterialKind kind, QComboBox *list,
                                                                                 bool *failed) const
{
    if (failed)
        *failed = false;
    if (m_ctx.CurrentProjectId <= 0 || list->currentIndex() < 0)
        return std::nullopt;
    const int id = list->currentData().toInt();
    const QString sql = id > 0 ? MaterialByIdSql(kind, id, m_ctx.CurrentProjectId)
                               : MaterialByNameSql(kind, list->currentText(), m_ctx.CurrentProjectId);
    const auto row = db::FirstRow(sql, failed);
    if (!row)
        return std::nullopt;
    return ActiveMaterial{static_cast<int>(db::ParseInt(row->value(0)).value_or(0)), row->value(1)};
}

std::optional<MaterialsNavigation::ActiveMaterial> MaterialsNavigation::activePressRelease(bool *failed) const
{
    return activeOf(MaterialKind::Forum, m_main.cbFMaterials, failed);
}

std::optional<MaterialsNavigation::ActiveMaterial> MaterialsNavigation::activeLetter(bool *failed) const
{
    return activeOf(MaterialKind::Letter, m_main.cbOMaterials, failed);
}

void MaterialsNavigation::makeActive(MaterialKind kind, QComboBox *list)
{
    m_ctx.CurrentMaterialName = list->currentText();
    if (m_ctx.CurrentMaterialName.isEmpty())
        return;
    const int id = list->currentData().toInt();
    const QString sql = id > 0 ? MaterialByIdSql(kind, id, m_ctx.CurrentProjectId)
                               : MaterialByNameSql(kind, m_ctx.CurrentMaterialName, m_ctx.CurrentProjectId);
    bool failed = false;
    const auto row = db::FirstRow(sql, &failed);
    if (failed)
        return;
    if (row)
        m_ctx.CurrentMaterialId = static_cast<int>(db::ParseInt(row->value(0)).value_or(m_ctx.CurrentMaterialId));
    if (nestedNodeSelected())
        refreshList();
}

void MaterialsNavigation::cbFMaterialsChange() { makeActive(MaterialKind::Forum, m_main.cbFMaterials); }

void MaterialsNavigation::cbOMaterialsChange() { makeActive(MaterialKind::Letter, m_main.cbOMaterials); }

// ---- the navigator ----

bool MaterialsNavigation::nestedNodeSelected() const
{
    const QTreeWidgetItem *node = m_main.trvFilters->currentItem();
    return node && node->parent();
}

bool MaterialsNavigation::levelOneNodeSelected() const
{
    const QTreeWidgetItem *node = m_main.trvFilters->currentItem();
    return node && node->parent() && !node->parent()->parent();
}

void MaterialsNavigation::refreshList()
{
    // A refresh never runs the subsection dialog of the contacts branch.
    if (workbench::Navigator::nodeKind(m_main.trvFilters->currentItem()) == workbench::Navigator::AddContactSectionNode)
        return;
    Q_ASSERT(m_main.navigator);
    if (m_main.navigator)
        m_main.navigator->trvFiltersClick();
}

// ---- opening the editor ----

bool MaterialsNavigation::projectChosen() const
{
    if (m_main.cbProjects->currentIndex() > 0)
        return true;
    prompt().message(QStringLiteral("Для работы с программой нужно выбрать проект"));
    return false;
}

void MaterialsNavigation::openOn(int tab)
{
    if (!projectChosen() || !m_editor)
        return;
    m_editor->setTab(tab);
    switch (tab) {
    case TfrmProjectMaterials::SoftTab: m_editor->cbSMaterialsChange(); break;
    case TfrmProjectMaterials::SiteTab: m_editor->cbCMaterialsChange(); break;
    case TfrmProjectMaterials::ForumTab: m_editor->cbFMaterialsChange(); break;
    default:
        // The letters are shown as stored; the active letter stays the one
        // chosen in the main window.
        m_editor->showListedMaterial();
        break;
    }
    m_editor->showEditor();
}

void MaterialsNavigation::N4Click() { openOn(TfrmProjectMaterials::SoftTab); }
void MaterialsNavigation::N2Click() { openOn(TfrmProjectMaterials::SiteTab); }
void MaterialsNavigation::N40Click() { openOn(TfrmProjectMaterials::SiteTab); }
void MaterialsNavigation::N17Click() { openOn(TfrmProjectMaterials::ForumTab); }
void MaterialsNavigation::N20Click() { openOn(TfrmProjectMaterials::LetterTab); }

void MaterialsNavigation::tbMaterialEditClick()
{
    if (m_ctx.CurrentMaterialName.isEmpty() || !m_editor)
        return;
    const core::Kind kind = m_ctx.CurrentKind;
    const QString &name = m_ctx.CurrentMaterialName;
    if (kind == core::Kind::Soft) {
        m_editor->setTab(TfrmProjectMaterials::SoftTab);
        m_editor->selectSMaterial(name);
        m_editor->cbSMaterialsChange();
    } else if (kind == core::Kind::Catalogs) {
        m_editor->setTab(TfrmProjectMaterials::SiteTab);
        m_editor->cbCMaterials->setCurrentIndex(m_editor->cbCMaterials->findText(name, Qt::MatchExactly));
        m_editor->cbCMaterialsChange();
    } else if (kind == core::Kind::Forums) {
        // The active press release, by its id where the main window has one.
        m_editor->setTab(TfrmProjectMaterials::ForumTab);
        const auto active = activePressRelease();
        int index = active ? m_editor->cbFMaterials->indexOfId(active->id) : -1;
        if (index < 0)
            index = m_editor->cbFMaterials->findText(name, Qt::MatchExactly);
        m_editor->cbFMaterials->setCurrentIndex(index);
        m_editor->cbFMaterialsChange();
    } else {
        // The tab it showed last, with what its list names.
        m_editor->showListedMaterial();
    }
    m_editor->scrollToTop();
    m_editor->showEditor();
    m_editor->focusPage();
}

void MaterialsNavigation::tbMaterialNewClick()
{
    if (!m_editor)
        return;
    const core::Kind kind = m_ctx.CurrentKind;
    if (kind == core::Kind::Soft) {
        m_editor->showEditor();
        m_editor->setTab(TfrmProjectMaterials::SoftTab);
        m_editor->cbSMaterialsChange();
        m_editor->btnSMaterialNewClick();
    } else if (kind == core::Kind::Catalogs) {
        m_editor->showEditor();
        m_editor->setTab(TfrmProjectMaterials::SiteTab);
        m_editor->cbCMaterialsChange();
        m_editor->btnCMaterialNewClick();
    } else if (kind == core::Kind::Forums) {
        m_editor->showEditor();
        m_editor->setTab(TfrmProjectMaterials::ForumTab);
        m_editor->cbFMaterialsChange();
        m_editor->btnFMaterialNewClick();
    }
}

void MaterialsNavigation::ToolButton1Click()
{
    if (!m_editor)
        return;
    bool failed = false;
    const auto active = activeLetter(&failed);
    if (failed)
        return;
    m_editor->setTab(TfrmProjectMaterials::LetterTab);
    m_editor->cbOMaterials->setCurrentIndex(active ? m_editor->cbOMaterials->indexOfId(active->id) : -1);
    m_editor->cbOMaterialsChange();
    m_editor->showEditor();
}

void MaterialsNavigation::ToolButton19Click()
{
    if (!m_editor)
        return;
    m_editor->setTab(TfrmProjectMaterials::LetterTab);
    // Should the new letter be cancelled, the tab shows the listed one.
    m_editor->showListedMaterial();
    m_editor->showEditor();
    m_editor->btnOMaterialNewClick();
}

void MaterialsNavigation::openNewSiteDescription()
{
    if (!m_editor)
        return;
    m_editor->showEditor();
    m_editor->setTab(TfrmProjectMaterials::SiteTab);
    m_editor->cbCMaterialsChange();
    m_editor->btnCMaterialNewClick();
}

// ---- rename and delete of the active press release ----

void MaterialsNavigation::MenuItem1Click()
{
    if (!levelOneNodeSelected())
        return;
    const auto active = activePressRelease();
    if (!active)
        return;
    const auto answer = prompt().input(QStringLiteral("Переименование названия пресс-релиза для форумов"),
                                       QStringLiteral("Введите новое название пресс-релиза для форумов:"), active->name);
    if (!answer)
        return;
    if (answer->isEmpty()) {
        prompt().message(QStringLiteral("Название пресс-релиза для форумов не должно быть пустым!"));
        return;
    }
    if (db::ExecQuery(PressReleaseRenameSql(active->id, m_ctx.CurrentProjectId, *answer)) != 0)
        return;
    const int index = m_main.cbFMaterials->findData(active->id);
    if (index >= 0)
        m_main.cbFMaterials->setItemText(index, *answer);
    if (m_editor)
        m_editor->pressReleaseRenamed(active->id, *answer);
    if (m_ctx.CurrentMaterialName == active->name)
        m_ctx.CurrentMaterialName = *answer;
}

void MaterialsNavigation::MenuItem3Click()
{
    if (!levelOneNodeSelected())
        return;
    const auto active = activePressRelease();
    if (!active)
        return;
    if (!prompt().deleteQuestion(QStringLiteral("Вы действительно хотите удалить пресс-релиз для форумов:\"") + active->name
                                 + QStringLiteral("\"?")))
        return;
    if (db::ExecQuery(PressReleaseDeleteSql(active->id, m_ctx.CurrentProjectId)) != 0)
        return;
    const int index = m_main.cbFMaterials->findData(active->id);
    if (index >= 0)
        m_main.cbFMaterials->removeItem(index);
    if (m_editor)
        m_editor->pressReleaseDeleted(active->id);
    if (m_ctx.CurrentMaterialId == active->id)
        m_ctx.CurrentMaterialId = 0;
    // The first remaining press release becomes the active one; the list
    // follows either way.
    if (m_main.cbFMaterials->count() > 0) {
        m_main.cbFMaterials->setCurrentIndex(0);
        cbFMaterialsChange();
    } else {
        m_ctx.CurrentMaterialName.clear();
        refreshList();
    }
}

} // namespace qv::projects
