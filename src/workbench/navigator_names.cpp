// The names of the navigator's nodes: adding a named node, renaming and
// deleting one, and what follows when another copy changed the row first.
#include "workbench/navigator_names.h"
#include "core/prompt.h"
#include "db/columnlimits.h"
#include "db/query.h"
#include "mainview/mainview.h"
#include "workbench/filtercommands.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"
#include "workbench/sections_logic.h"

#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace qv::workbench {

NodeNaming FilterNaming(const KindFacts &k)
{
    NodeNaming n;
    n.blank = QStringLiteral("Название фильтра не может быть пустым!");
    n.what = QStringLiteral("Фильтр");
    n.table = k.filters;
    n.column = k.filterPrefix + QStringLiteral("name");
    n.takenSql = [k](const QString &name) { return FilterRowSql(k, name); };
    return n;
}

NodeNaming SectionNaming(const KindFacts &k, int projectId)
{
    NodeNaming n;
    n.blank = QStringLiteral("Название раздела не может быть пустым!");
    n.taken = QStringLiteral("Раздел с таким названием уже существует! Придумайте другое название раздела!");
    n.what = QStringLiteral("Раздел");
    n.table = k.groups;
    n.column = k.groupPrefix + QStringLiteral("name");
    n.takenSql = [k, projectId](const QString &name) { return SectionByNameSql(k, name, projectId); };
    return n;
}

NameWrite WriteNodeName(const NodeNaming &naming, const QString &name)
{
    if (name.trimmed().isEmpty()) {
        core::prompt().message(naming.blank);
        return NameWrite::Refused;
    }
    if (!db::FieldsFit(naming.table, {{naming.column, naming.label, name}}))
        return NameWrite::Refused;
    bool failed = false;
    const auto existing = db::FirstRow(naming.takenSql(name), &failed);
    if (failed)
        return NameWrite::Refused;
    if (existing) {
        core::prompt().message(naming.taken);
        return NameWrite::Refused;
    }
    const auto changed = db::ExecChanging(naming.writeSql(name));
    if (!changed)
        return NameWrite::Refused;
    return *changed == 0 ? NameWrite::Gone : NameWrite::Written;
}

QString ChangedElsewhereMessage(const QString &what, const QString &name)
{
    return what + QStringLiteral(" \"") + name
           + QStringLiteral("\" изменён или удалён в другой копии программы: ничего не записано. Ветка навигатора "
                            "построена заново по базе.");
}

std::optional<QString> Navigator::askNewName(const NodeNaming &naming)
{
    const auto answer = core::prompt().input(naming.caption, naming.label, QString());
    // An empty answer (a cancelled box too) ends the add without a word.
    if (!answer || answer->isEmpty())
        return std::nullopt;
    if (WriteNodeName(naming, *answer) != NameWrite::Written)
        return std::nullopt;
    return *answer;
}

bool Navigator::renameNode(QTreeWidgetItem *node, const NodeNaming &naming)
{
    const QString oldName = node->text(0);
    // A cancelled box gives back the old name, which is taken.
    const QString newName = core::prompt().input(naming.caption, naming.label, oldName).value_or(oldName);
    switch (WriteNodeName(naming, newName)) {
    case NameWrite::Written: node->setText(0, newName); return true;
    case NameWrite::Gone: changedElsewhere(node, naming.what); return false;
    case NameWrite::Refused: break;
    }
    return false;
}

bool Navigator::deleteNode(QTreeWidgetItem *node, const QString &what, const QString &sql)
{
    const auto changed = db::ExecChanging(sql);
    if (!changed)
        return false;
    if (*changed == 0) {
        changedElsewhere(node, what);
        return false;
    }
    RemoveNavigatorNode(m_main, node);
    // Its list goes with it.
    Q_ASSERT(m_main.resources);
    if (m_main.resources)
        m_main.resources->clear();
    return true;
}

void Navigator::changedElsewhere(QTreeWidgetItem *node, const QString &what)
{
    const QString name = node->text(0);
    const int topIndex = topIndexOf(node);
    core::prompt().message(ChangedElsewhereMessage(what, name), core::MessageIcon::Warning);
    rebuildBranch(topIndex);
}

void Navigator::rebuildBranch(int topIndex)
{
    QTreeWidgetItem *topNode = top(topIndex);
    if (!topNode)
        return;
    {
        // The nodes go with the old branch: no selection change on the way acts.
        const QSignalBlocker block(m_main.trvFilters);
        m_main.trvFilters->setCurrentItem(topNode);
    }
    collapseBranch(topNode);
    topNode->setExpanded(true);
    selectAndClick(topNode);
}

void Navigator::selectAndClick(QTreeWidgetItem *node)
{
    {
        const QSignalBlocker block(m_main.trvFilters);
        m_main.trvFilters->setCurrentItem(node);
    }
    const QScopedValueRollback inClick(m_inClick, true);
    clickNode(node);
}

} // namespace qv::workbench
