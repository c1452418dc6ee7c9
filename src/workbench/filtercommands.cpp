#include "workbench/filtercommands.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/query.h"
#include "workbench/filters_logic.h"
#include "workbench/kindfacts.h"
#include "workbench/navigator.h"
#include "workbench/navigator_names.h"
#include "workbench/tfrmfilter.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace qv::workbench {

void RemoveNavigatorNode(mainview::MainView &main, QTreeWidgetItem *node)
{
    QTreeWidget *tree = main.trvFilters;
    const QSignalBlocker block(tree);
    delete node;
    tree->setCurrentItem(nullptr);
}

FilterCommands::FilterCommands(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    QMenu *menu = m_main.pmFilter;
    miFilterEdit = menu->addAction(QStringLiteral("Редактировать параметры фильтра..."));
    miFilterEdit->setObjectName(QStringLiteral("miFilterEdit"));
    N33 = menu->addAction(QStringLiteral("Переименовать фильтр..."));
    N33->setObjectName(QStringLiteral("N33"));
    menu->addSeparator();
    N35 = menu->addAction(QStringLiteral("Удалить фильтр..."));
    N35->setObjectName(QStringLiteral("N35"));
    connect(miFilterEdit, &QAction::triggered, this, [this] { miFilterEditClick(); });
    connect(N33, &QAction::triggered, this, [this] { N33Click(); });
    connect(N35, &QAction::triggered, this, [this] { N35Click(); });
}

void FilterCommands::attachEditor(TfrmFilter *editor)
{
    m_editor = editor;
    Q_ASSERT(m_main.navigator);
    if (!m_main.navigator)
        return;
    if (!editor) {
        m_main.navigator->showFilterEditorForAdd = nullptr;
        return;
    }
    m_main.navigator->showFilterEditorForAdd = [this](const QString &name) {
        if (!m_editor)
            return;
        m_editor->prepareAdd(name);
        core::prompt().exec(m_editor);
    };
}

QTreeWidgetItem *FilterCommands::selectedFilter() const
{
    // "Добавить фильтр" sits among the filters but is none.
    QTreeWidgetItem *node = m_main.trvFilters->currentItem();
    return Navigator::isFilterNode(node) && Navigator::nodeKind(node) != Navigator::AddFilterNode ? node : nullptr;
}

void FilterCommands::miFilterEditClick()
{
    QTreeWidgetItem *node = selectedFilter();
    if (!node || !m_editor)
        return;
    if (!m_editor->loadFilter(node->text(0)))
        return;
    core::prompt().exec(m_editor);
}

void FilterCommands::N33Click()
{
    QTreeWidgetItem *node = selectedFilter();
    const auto k = kindFacts(m_ctx.CurrentKind);
    Q_ASSERT(m_main.navigator);
    if (!node || !k || !m_main.navigator)
        return;
    const QString oldName = node->text(0);
    // An empty name could not be told apart from "no filter": it is refused.
    NodeNaming naming = FilterNaming(*k);
    naming.caption = QStringLiteral("Переименование фильтра");
    naming.label = QStringLiteral("Введите новое имя фильтра:");
    naming.taken = QStringLiteral("Фильтр с таким названием уже существует! Придумайте другое название фильтра!");
    naming.writeSql = [&](const QString &newName) { return FilterRenameSql(*k, oldName, newName); };
    m_main.navigator->renameNode(node, naming);
}

void FilterCommands::N35Click()
{
    QTreeWidgetItem *node = selectedFilter();
    const auto k = kindFacts(m_ctx.CurrentKind);
    Q_ASSERT(m_main.navigator);
    if (!node || !k || !m_main.navigator)
        return;
    const QString name = node->text(0);
    if (!core::prompt().deleteQuestion(QStringLiteral("Вы действительно хотите удалить фильтр:\"") + name
                                       + QStringLiteral("\"?")))
        return;
    m_main.navigator->deleteNode(node, QStringLiteral("Фильтр"), FilterDeleteSql(*k, name));
}

} // namespace qv::workbench
