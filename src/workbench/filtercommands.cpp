#include "workbench/filtercommands.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/query.h"
#include "workbench/filters_logic.h"
#include "workbench/navigator.h"
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
    const auto k = kindTables(m_ctx.CurrentKind);
    if (!node || !k)
        return;
    const QString oldName = node->text(0);
    // A cancelled box gives back the old name, which the duplicate test refuses.
    const QString newName = core::prompt()
                                .input(QStringLiteral("Переименование фильтра"),
                                       QStringLiteral("Введите новое имя фильтра:"), oldName)
                                .value_or(oldName);
    const QString taken =
        QStringLiteral("Фильтр с таким названием уже существует! Придумайте другое название фильтра!");
    // An empty name could not be told apart from "no filter": it is refused.
    if (newName.trimmed().isEmpty()) {
        core::prompt().message(QStringLiteral("Название фильтра не может быть пустым!"));
        return;
    }
    bool failed = false;
    const auto existing = db::FirstRow(FilterRowSql(*k, newName), &failed);
    if (failed)
        return;
    if (existing) {
        core::prompt().message(taken);
        return;
    }
    if (db::ExecQuery(FilterRenameSql(*k, oldName, newName)) != 0)
        return;
    node->setText(0, newName);
}

void FilterCommands::N35Click()
{
    QTreeWidgetItem *node = selectedFilter();
    const auto k = kindTables(m_ctx.CurrentKind);
    if (!node || !k)
        return;
    const QString name = node->text(0);
    if (!core::prompt().deleteQuestion(QStringLiteral("Вы действительно хотите удалить фильтр:\"") + name
                                + QStringLiteral("\"?")))
        return;
    if (db::ExecQuery(FilterDeleteSql(*k, name)) != 0)
        return;
    // The list keeps the filter's last result until another node is clicked.
    RemoveNavigatorNode(m_main, node);
}

} // namespace qv::workbench
