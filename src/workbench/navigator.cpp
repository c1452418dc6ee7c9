// The navigator's click: the project guard, the link nodes, the window set-up
// of the node's kind, the popup menu, the help pane, the two add nodes and the
// resource list.
#include "workbench/navigator.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/kindfacts.h"
#include "workbench/navigator_names.h"
#include "workbench/resourcelist.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEngineView>

namespace qv::workbench {

namespace {

// Shows or hides a widget; one placed on a tool bar goes through its action.
void setShown(QWidget *w, bool shown)
{
    if (!w)
        return;
    if (auto *bar = qobject_cast<QToolBar *>(w->parentWidget())) {
        for (QAction *a : bar->actions()) {
            if (bar->widgetForAction(a) == w) {
                a->setVisible(shown);
                return;
            }
        }
    }
    w->setVisible(shown);
}

void setPageCaptions(QTabWidget *pages, const QStringList &captions)
{
    if (!pages)
        return;
    for (int i = 0; i < captions.size() && i < pages->count(); ++i)
        pages->setTabText(i, captions[i]);
}

} // namespace

void Navigator::trvFiltersClick()
{
    // A click that arrives while one runs (a nested event loop) is dropped.
    if (m_inClick)
        return;
    m_inClick = true;
    const auto done = qScopeGuard([this] { m_inClick = false; });
    if (m_main.cbProjects->currentIndex() <= 0) {
        core::prompt().message(QStringLiteral("Для работы с программой нужно выбрать проект"));
        return;
    }
    if (QTreeWidgetItem *node = m_main.trvFilters->currentItem())
        clickNode(node);
}

bool Navigator::showListPage()
{
    m_main.pcMain->setCurrentIndex(0);
    return m_main.pcMain->currentIndex() == 0;
}

void Navigator::clickNode(QTreeWidgetItem *node)
{
    const bool topLevel = node->parent() == nullptr;
    // The record editor may keep its page (its unsaved edits were to be
    // saved and the save was refused): the click ends there.
    if (topLevel && !showListPage())
        return;

    // Link nodes open the maker's pages and end the click.
    const int topIndex = topIndexOf(node);
    if (topLevel && topIndex == TopRecommend)
        return;
    const bool link = topLevel ? (topIndex == TopSubscribe || topIndex == TopHelp) : nodeKind(node) == LinkNode;
    const QString text = node->text(0);
    if (const auto path = link ? linkPath(text) : std::nullopt) {
        if (text == QString::fromUtf8(kSubscribeText))
            core::prompt().message(QStringLiteral("Для подписки на бесплатные обновления необходимо зарегистрироваться на "
                                                  "форуме программы!\rНажмите на OK и перейдете на страницу регистрации "
                                                  "на форуме..."));
        core::prompt().openUrl(m_ctx.makerUrl(*path));
        return;
    }

    if (!topLevel && !showListPage())
        return;
    if (topIndex < TopSoft || topIndex > TopContacts)
        return;
    applyKindSetup(topIndex);
    choosePopup(topIndex, node);
    showHelp(topIndex, topLevel);

    if (topIndex == TopContacts) {
        if (contactsClick)
            contactsClick(node);
        return;
    }
    switch (nodeKind(node)) {
    case AddSectionNode: addSection(node); return;
    case AddFilterNode: addFilter(node); return;
    default: listResources(node);
    }
}

void Navigator::applyKindSetup(int topIndex)
{
    const auto setup = kindSetup(topIndex);
    if (!setup)
        return;
    m_ctx.CurrentKind = setup->kind;
    QTabWidget *contactsPages = m_main.pcContacts;
    if (setup->contacts) {
        m_main.pcMain->hide();
        if (contactsPages) {
            contactsPages->show();
            setPageCaptions(contactsPages, setup->pageCaptions);
        }
        m_main.tcWeb->setTabText(0, setup->tabCaptions.value(0));
        return;
    }
    m_main.pcMain->show();
    if (contactsPages)
        contactsPages->hide();
    setPageCaptions(m_main.pcMain, setup->pageCaptions);
    const int tabs[] = {0, 1, 3};
    for (int i = 0; i < 3; ++i) {
        if (tabs[i] < m_main.tcWeb->count())
            m_main.tcWeb->setTabText(tabs[i], setup->tabCaptions.value(i));
    }
    m_main.tbMaterialNew->setText(setup->materialNew);
    m_main.pnlMaterialName->setText(setup->materialName);
    // The caption names the list beside it: without the list it goes too.
    setShown(m_main.pnlMaterialName, setup->showMaterials);
    setShown(m_main.tbItems, setup->showMaterials);
    setShown(m_main.pnlSP, setup->showMaterials);
    setShown(m_main.SpeedButton3, setup->showMaterials);
    m_main.cbFMaterials->setVisible(setup->showMaterials);
    // The form filler's button: a drop-down with the site descriptions for
    // catalogs, a plain button otherwise.
    if (QToolButton *feel = m_main.tbFeel) {
        if (setup->feelDropDown) {
            feel->setMenu(m_main.pmFill);
            feel->setPopupMode(QToolButton::MenuButtonPopup);
        } else {
            feel->setMenu(nullptr);
            feel->setPopupMode(QToolButton::DelayedPopup);
        }
    }
    // The list is replaced: nothing stays selected.
    m_ctx.SelectedResourceName.clear();
    m_ctx.SelectedResourceId = 0;
    if (setup->clearMaterialName)
        m_ctx.CurrentMaterialName.clear();
}

void Navigator::choosePopup(int topIndex, const QTreeWidgetItem *node)
{
    QMenu *menu = nullptr;
    if (topIndex == TopForums)
        menu = m_main.pmForums;
    else if (topIndex == TopContacts)
        menu = m_main.pmContacts;
    if (isFilterNode(node))
        menu = m_main.pmFilter;
    else if (isSectionNode(node))
        menu = m_main.pmGroups;
    m_popup = menu;
}

void Navigator::showHelp(int topIndex, bool topLevel)
{
    if (!topLevel) {
        m_main.pnlHelp->hide();
        return;
    }
    m_main.pnlHelp->show();
    if (topIndex == TopForums && cbFMaterialsChange)
        cbFMaterialsChange();
    else if (topIndex == TopContacts && cbOMaterialsChange)
        cbOMaterialsChange();
    m_main.wbHelp->setUrl(QUrl::fromLocalFile(m_ctx.AppDir + helpPage(topIndex)));
}

void Navigator::listResources(QTreeWidgetItem *node)
{
    ResourceList *list = m_main.resources;
    Q_ASSERT(list);
    if (!list)
        return;
    ListSource source;
    const auto id = nodeId(node);
    if (isFilterNode(node)) {
        source.type = ListSource::Filter;
        source.filterName = node->text(0);
    } else if (id) {
        source.type = isSectionNode(node) ? ListSource::Section : ListSource::Rubric;
        source.id = *id;
    } else {
        // A top node, a header, a section added since the build: an empty list.
        list->clear();
        return;
    }
    if (!list->fill(source))
        return;
    afterFill();
}

void Navigator::afterFill()
{
    Q_ASSERT(m_main.resources);
    if (m_main.resources)
        m_main.resources->resort();
    // The bottom panel gets back the height the contacts view took from it.
    if (m_ctx.SavedBrowserHeight > 0) {
        QSplitter *split = m_main.splRight;
        const int at = split->indexOf(m_main.pnlBrowser);
        if (at >= 0) {
            QList<int> sizes = split->sizes();
            int total = 0;
            for (int s : sizes)
                total += s;
            const int others = static_cast<int>(sizes.size()) - 1;
            for (int i = 0; i < sizes.size(); ++i)
                sizes[i] = i == at ? m_ctx.SavedBrowserHeight : qMax(0, (total - m_ctx.SavedBrowserHeight) / qMax(1, others));
            split->setSizes(sizes);
        }
        m_main.pnlBrowser->setMaximumHeight(QWIDGETSIZE_MAX);
        m_ctx.SavedBrowserHeight = -1;
    }
    m_main.Web->stop();
    m_main.Web->setUrl(m_ctx.makerUrl(QStringLiteral("/program3_start.php")));
}

void Navigator::appendAndClick(int topIndex, NodeKind headerKind, const QString &name, NodeKind kind, std::optional<int> id)
{
    QTreeWidgetItem *header = childOfKind(top(topIndex), headerKind);
    if (!header)
        return;
    QTreeWidgetItem *n = makeNode(name, 0, kind, id);
    header->addChild(n);
    selectAndClick(n);
}

void Navigator::addSection(QTreeWidgetItem *addNode)
{
    const int projectId = m_ctx.CurrentProjectId;
    const auto k = kindFacts(m_ctx.CurrentKind);
    if (!k)
        return;
    NodeNaming naming = SectionNaming(*k, projectId);
    naming.caption = QStringLiteral("Добавление нового раздела");
    naming.label = QStringLiteral("Введите название нового раздела");
    naming.writeSql = [&](const QString &name) { return SectionInsertSql(*k, name, projectId); };
    const auto name = askNewName(naming);
    if (!name)
        return;
    // The node carries the new row's id at once, so its list is its own.
    const int id = static_cast<int>(db::DbConnection().lastInsertId());
    appendAndClick(topIndexOf(addNode), SectionsHeaderNode, *name, SectionNode, id);
}

void Navigator::addFilter(QTreeWidgetItem *addNode)
{
    const auto k = kindFacts(m_ctx.CurrentKind);
    if (!k)
        return;
    NodeNaming naming = FilterNaming(*k);
    naming.caption = QStringLiteral("Добавление нового фильтра");
    naming.label = QStringLiteral("Введите название нового фильтра");
    naming.taken = QStringLiteral("Такой фильтр уже существует, нужно придумать другое название фильтра!");
    naming.writeSql = [&](const QString &name) { return FilterInsertSql(*k, name); };
    const auto name = askNewName(naming);
    if (!name)
        return;
    const int topIndex = topIndexOf(addNode);
    openFilterEditor(*name);
    // Whatever the editor's outcome, the filter is in the table and in the tree.
    appendAndClick(topIndex, FiltersHeaderNode, *name, FilterNode);
}

void Navigator::openFilterEditor(const QString &name)
{
    if (showFilterEditorForAdd) {
        showFilterEditorForAdd(name);
        return;
    }
    QDialog *editor = m_filterEditor;
    if (!editor)
        return;
    editor->setProperty("EditMode", QStringLiteral("add"));
    editor->setProperty("FilterName", name);
    editor->setProperty("Kind", QVariant::fromValue(m_ctx.CurrentKind));
    core::prompt().exec(editor);
}

} // namespace qv::workbench
