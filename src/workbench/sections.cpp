#include "workbench/sections.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/filtercommands.h"
#include "workbench/kindfacts.h"
#include "workbench/navigator.h"
#include "workbench/navigator_names.h"
#include "workbench/resourcelist.h"
#include "workbench/sections_logic.h"

#include <QAction>
#include <QMenu>
#include <QSet>
#include <QSignalBlocker>
#include <QTableView>
#include <QTreeWidget>

namespace qv::workbench {

namespace {

// Marks the section items of pmLvItems; the header carries no section id.
constexpr const char *kSectionItem = "qvSectionItem";

} // namespace

Sections::Sections(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    pmLvItems = new QMenu(m_main.frmMain);
    pmLvItems->setObjectName(QStringLiteral("pmLvItems"));
    QTableView *lv = m_main.lvLinks;
    lv->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lv, &QWidget::customContextMenuRequested, this, &Sections::showListMenu);

    QMenu *groups = m_main.pmGroups;
    MenuItem5 = groups->addAction(QStringLiteral("Переименовать раздел..."));
    MenuItem5->setObjectName(QStringLiteral("MenuItem5"));
    groups->addSeparator();
    N39 = groups->addAction(QStringLiteral("Удалить раздел..."));
    N39->setObjectName(QStringLiteral("N39"));
    connect(MenuItem5, &QAction::triggered, this, [this] { MenuItem5Click(); });
    connect(N39, &QAction::triggered, this, [this] { N39Click(); });
}

void Sections::showListMenu(const QPoint &pos)
{
    pmLvItemsPopup();
    if (!pmLvItems->isEmpty())
        pmLvItems->popup(m_main.lvLinks->viewport()->mapToGlobal(pos));
}

std::optional<int> Sections::selectedResourceId() const
{
    const ResourceList *list = m_main.resources;
    Q_ASSERT(list);
    if (!list || list->selectedRow() < 0)
        return std::nullopt;
    const auto id = db::ParseInt(list->selectedSubItem(SubId));
    if (!id)
        return std::nullopt;
    return static_cast<int>(*id);
}

QList<QAction *> Sections::sectionItems() const
{
    QList<QAction *> out;
    for (QAction *a : pmLvItems->actions()) {
        if (a->property(kSectionItem).toBool())
            out << a;
    }
    return out;
}

void Sections::pmLvItemsPopup()
{
    const auto resourceId = selectedResourceId();
    const auto k = kindFacts(m_ctx.CurrentKind);
    // Every old item goes: without a selected resource nothing is offered.
    pmLvItems->clear();
    if (!resourceId || !k)
        return;
    const QString name = m_main.resources->selectedSubItem(SubName);
    pmLvItems->addAction(MenuCaption(SectionMenuHeader(name)));

    // The sections in the server's order, read to the end first.
    QList<QPair<int, QString>> sections;
    if (db::ExecQuery(ProjectSectionsSql(*k, m_ctx.CurrentProjectId)) != 0)
        return;
    {
        db::QueryResult r(db::DbConnection());
        const int idColumn = r.fieldNames().indexOf(k->groupPrefix + QStringLiteral("id"));
        const int nameColumn = r.fieldNames().indexOf(k->groupPrefix + QStringLiteral("name"));
        while (const auto row = r.FetchRow()) {
            const auto id = db::ParseInt((*row)[idColumn]);
            if (id)
                sections.append({static_cast<int>(*id), (*row)[nameColumn]});
        }
    }
    for (const auto &s : sections) {
        QAction *a = pmLvItems->addAction(MenuCaption(s.second));
        a->setCheckable(true);
        a->setChecked(false);
        a->setData(s.first);
        a->setProperty(kSectionItem, true);
        // The click shows the tick as it was when the menu opened; the
        // handler decides by that state.
        connect(a, &QAction::triggered, this, [this, a](bool checked) {
            {
                const QSignalBlocker block(a);
                a->setChecked(!checked);
            }
            ToggleResourceInGroup(a);
        });
    }
    if (sections.isEmpty())
        return;

    // The ticks: every section of the project that holds the resource, in one statement.
    QSet<int> members;
    if (!db::ForEachRow(MemberSectionsSql(*k, m_ctx.CurrentProjectId, *resourceId), [&](const db::Row &row) {
            if (const auto id = db::ParseInt(row[0]))
                members.insert(static_cast<int>(*id));
        }))
        return;
    for (QAction *a : sectionItems())
        a->setChecked(members.contains(a->data().toInt()));
}

void Sections::ToggleResourceInGroup(QAction *item)
{
    if (!item || !item->property(kSectionItem).toBool() || !item->data().isValid())
        return;
    const auto resourceId = selectedResourceId();
    const auto k = kindFacts(m_ctx.CurrentKind);
    if (!resourceId || !k)
        return;
    const int sectionId = item->data().toInt();
    const bool member = item->isChecked();
    // Sent without the standard message: the next opening of the menu shows
    // the true membership.
    const QString sql = member ? LinkDeleteSql(*k, sectionId, *resourceId) : LinkInsertSql(*k, sectionId, *resourceId);
    if (db::RunDirect(sql) == 0) {
        const QSignalBlocker block(item);
        item->setChecked(!member);
    }
}

QTreeWidgetItem *Sections::selectedSection() const
{
    // "Добавить раздел" sits among the sections but is none.
    QTreeWidgetItem *node = m_main.trvFilters->currentItem();
    return Navigator::isSectionNode(node) && Navigator::nodeKind(node) != Navigator::AddSectionNode ? node : nullptr;
}

void Sections::MenuItem5Click()
{
    QTreeWidgetItem *node = selectedSection();
    const auto k = kindFacts(m_ctx.CurrentKind);
    Q_ASSERT(m_main.navigator);
    if (!node || !k || !m_main.navigator)
        return;
    const QString oldName = node->text(0);
    const int projectId = m_ctx.CurrentProjectId;
    NodeNaming naming = SectionNaming(*k, projectId);
    naming.caption = QStringLiteral("Переименование раздела");
    naming.label = QStringLiteral("Введите новое имя раздела:");
    naming.writeSql = [&](const QString &newName) { return SectionRenameSql(*k, oldName, newName, projectId); };
    m_main.navigator->renameNode(node, naming);
}

void Sections::N39Click()
{
    QTreeWidgetItem *node = selectedSection();
    const auto k = kindFacts(m_ctx.CurrentKind);
    Q_ASSERT(m_main.navigator);
    if (!node || !k || !m_main.navigator)
        return;
    const QString name = node->text(0);
    if (!core::prompt().deleteQuestion(QStringLiteral("Вы действительно хотите удалить раздел:\"") + name
                                       + QStringLiteral("\"?")))
        return;
    // The section's links stay.
    m_main.navigator->deleteNode(node, QStringLiteral("Раздел"), SectionDeleteSql(*k, name, m_ctx.CurrentProjectId));
}

} // namespace qv::workbench
