// User sections against a real database: the resource list's section menu
// with its header and ticks, putting a resource in and taking it out for every
// kind, renaming and deleting a section from the navigator's section menu, and
// names that hold quotes, backslashes, "=" and "&".
#include "contacts/contactsview.h"
#include "contacts/tfrmosubjectadd.h"
#include "db/query.h"
#include "workbench/filtercommands.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"
#include "workbench/sections.h"
#include "workbench/sections_logic.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "workbenchfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::childNamed;
using qv::test::childTexts;
using qv::test::click;
using qv::test::ScriptedPrompt;
using qv::test::tooLongName;
using qv::test::Workbench;

namespace {

QString elsewhere(const QString &name)
{
    return QStringLiteral("Раздел \"%1\" изменён или удалён в другой копии программы: ничего не записано. Ветка "
                          "навигатора построена заново по базе.")
        .arg(name);
}

// The tables and columns of one kind, spelled out.
struct Kind {
    QString kind;
    int top;
    QString table, prefix, groups, gp, filters, fp, links, linkSection, linkResource;
};

Kind kindOf(const QString &kind)
{
    if (kind == QLatin1String("soft"))
        return {kind,       TopSoft,    "soft",         "soft_",          "sgroups",     "sgroup_",
                "sfilters", "sfilter_", "sgroups2soft", "sg2s_sgroup_id", "sg2s_soft_id"};
    if (kind == QLatin1String("forums"))
        return {kind,       TopForums,  "forums",         "forum_",         "fgroups",      "fgroup_",
                "ffilters", "ffilter_", "fgroups2forums", "fg2f_fgroup_id", "fg2f_forum_id"};
    return {kind,       TopCatalogs, "catalogs",         "catalog_",       "cgroups",        "cgroup_",
            "cfilters", "cfilter_",  "cgroups2catalogs", "cg2c_cgroup_id", "cg2c_catalog_id"};
}

int addResource(Workbench &w, const Kind &k, const QString &name)
{
    w.db.exec(QStringLiteral("INSERT INTO %1 SET %2name=%3").arg(k.table, k.prefix, qv::db::Sql(name)));
    return w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
}

int addSection(Workbench &w, const Kind &k, const QString &name, int projectId)
{
    w.db.exec(
        QStringLiteral("INSERT INTO %1 SET %2name=%3, %2project_id=%4").arg(k.groups, k.gp, qv::db::Sql(name)).arg(projectId));
    return w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
}

void link(Workbench &w, const Kind &k, int section, int resource)
{
    w.db.exec(QStringLiteral("INSERT INTO %1 SET %2=%3, %4=%5")
                  .arg(k.links, k.linkSection)
                  .arg(section)
                  .arg(k.linkResource)
                  .arg(resource));
}

QStringList links(Workbench &w, const Kind &k)
{
    return w.db.rows(QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1, %2").arg(k.linkSection, k.linkResource, k.links));
}

// Lists every resource of the kind (but the reserved row) through a filter and
// selects the named one.
void listAndSelect(Workbench &w, const Kind &k, const QString &name)
{
    if (w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2name='Все'").arg(k.filters, k.fp)) == "0")
        w.db.exec(QStringLiteral("INSERT INTO %1 SET %2name='Все'").arg(k.filters, k.fp));
    QTreeWidgetItem *top = w.main->navigator->top(k.top);
    auto filterNode = [&] { return childNamed(childNamed(top, QStringLiteral("Фильтры пользователя")), QStringLiteral("Все")); };
    if (!filterNode()) {
        // The branch is built again with the filter in it.
        w.main->navigator->collapseTopNodes();
        w.main->trvFilters->setCurrentItem(nullptr);
        click(w, top);
    }
    click(w, filterNode());
    ResourceList *list = w.main->resources;
    for (int i = 0; i < list->count(); ++i) {
        if (list->subItem(i, SubName) == name)
            list->selectRow(i);
    }
}

QStringList captions(const QList<QAction *> &items)
{
    QStringList out;
    for (QAction *a : items)
        out << a->text();
    return out;
}

QList<bool> ticks(const QList<QAction *> &items)
{
    QList<bool> out;
    for (QAction *a : items)
        out << a->isChecked();
    return out;
}

QAction *itemNamed(Sections &s, const QString &caption)
{
    for (QAction *a : s.sectionItems()) {
        if (a->text() == caption)
            return a;
    }
    return nullptr;
}

// The session's count of SELECT statements so far (-1 when the server tells none).
int selectCount(Workbench &w)
{
    const QStringList rows = w.db.rows(QStringLiteral("SHOW SESSION STATUS LIKE 'Com_select'"));
    return rows.isEmpty() ? -1 : rows.first().section(QLatin1Char('|'), 1).toInt();
}

} // namespace

class TestSections : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void pureStatements()
    {
        const auto c = kindFacts(core::Kind::Catalogs);
        const auto f = kindFacts(core::Kind::Forums);
        const auto s = kindFacts(core::Kind::Soft);
        QVERIFY(c && f && s);
        QCOMPARE(sectionLinks(*c).table, QStringLiteral("cgroups2catalogs"));
        QCOMPARE(sectionLinks(*f).sectionColumn, QStringLiteral("fg2f_fgroup_id"));
        QCOMPARE(sectionLinks(*s).resourceColumn, QStringLiteral("sg2s_soft_id"));
        QCOMPARE(LinkInsertSql(*c, 3, 7),
                 QStringLiteral("INSERT INTO cgroups2catalogs SET cg2c_cgroup_id=3 , cg2c_catalog_id=7"));
        QCOMPARE(LinkDeleteSql(*f, 3, 7),
                 QStringLiteral("DELETE FROM fgroups2forums WHERE fg2f_fgroup_id=3 AND fg2f_forum_id=7"));
        QCOMPARE(ProjectSectionsSql(*s, 5), QStringLiteral("SELECT * FROM sgroups WHERE sgroup_project_id=5"));
        QCOMPARE(SectionMenuHeader(QStringLiteral("a.example")), QStringLiteral("Внести \"a.example\" в разделы пользователя:"));
        QCOMPARE(MenuCaption(QStringLiteral("A & B && C")), QStringLiteral("A && B &&&& C"));
    }

    void popupHeaderSectionsAndTicks()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        const int x = addResource(w, k, QStringLiteral("x&y.example"));
        const int y = addResource(w, k, QStringLiteral("y.example"));
        const int first = addSection(w, k, QStringLiteral("Первый"), w.projectId);
        addSection(w, k, QStringLiteral("Чужой"), w.projectId + 1);
        const int second = addSection(w, k, QStringLiteral("Второй & третий"), w.projectId);
        const int third = addSection(w, k, QStringLiteral("Третий"), w.projectId);
        addSection(w, kindOf(QStringLiteral("forums")), QStringLiteral("Форумный"), w.projectId);
        link(w, k, first, x);
        link(w, k, third, x);
        link(w, k, second, y);
        Sections &s = *w.main->sections;

        listAndSelect(w, k, QStringLiteral("x&y.example"));
        s.pmLvItemsPopup();
        const QList<QAction *> all = s.pmLvItems->actions();
        QCOMPARE(all.size(), 4);
        QCOMPARE(all[0]->text(), QStringLiteral("Внести \"x&&y.example\" в разделы пользователя:"));
        QVERIFY(!all[0]->isCheckable());
        QVERIFY(!all[0]->data().isValid());
        QCOMPARE(captions(s.sectionItems()), (QStringList{"Первый", "Второй && третий", "Третий"}));
        QCOMPARE(s.sectionItems()[0]->data().toInt(), first);
        QCOMPARE(s.sectionItems()[1]->data().toInt(), second);
        QCOMPARE(s.sectionItems()[2]->data().toInt(), third);
        QCOMPARE(ticks(s.sectionItems()), (QList<bool>{true, false, true}));
        for (QAction *a : s.sectionItems())
            QVERIFY(a->isCheckable());

        // Another resource: the menu is rebuilt with its own ticks.
        listAndSelect(w, k, QStringLiteral("y.example"));
        s.pmLvItemsPopup();
        QCOMPARE(s.pmLvItems->actions().size(), 4);
        QCOMPARE(s.pmLvItems->actions()[0]->text(), QStringLiteral("Внести \"y.example\" в разделы пользователя:"));
        QCOMPARE(ticks(s.sectionItems()), (QList<bool>{false, true, false}));
        QVERIFY(p.messages.isEmpty());
    }

    void ticksComeFromOneStatement()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        const int x = addResource(w, k, QStringLiteral("x.example"));
        link(w, k, addSection(w, k, QStringLiteral("Р1"), w.projectId), x);
        addSection(w, k, QStringLiteral("Р2"), w.projectId);
        listAndSelect(w, k, QStringLiteral("x.example"));
        Sections &s = *w.main->sections;
        // What counting itself costs, taken off below.
        const int counted = selectCount(w);
        const int idle = selectCount(w) - counted;
        const int before2 = selectCount(w);
        s.pmLvItemsPopup();
        const int with2 = selectCount(w) - before2;
        for (int i = 3; i <= 20; ++i)
            link(w, k, addSection(w, k, QStringLiteral("Р%1").arg(i), w.projectId), x);
        const int before20 = selectCount(w);
        s.pmLvItemsPopup();
        const int with20 = selectCount(w) - before20;
        QCOMPARE(s.sectionItems().size(), 20);
        QCOMPARE(ticks(s.sectionItems()).count(true), 19);
        // The sections and the ticks: two statements however many sections there are.
        QCOMPARE(with20, with2);
        QCOMPARE(with2 - idle, 2);
    }

    void toggleInAndOut_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("soft") << QStringLiteral("soft");
        QTest::newRow("catalogs") << QStringLiteral("catalogs");
        QTest::newRow("forums") << QStringLiteral("forums");
    }

    void toggleInAndOut()
    {
        QFETCH(QString, kind);
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(kind);
        const int x = addResource(w, k, QStringLiteral("x.example"));
        const int other = addResource(w, k, QStringLiteral("other.example"));
        const int a = addSection(w, k, QStringLiteral("А"), w.projectId);
        const int b = addSection(w, k, QStringLiteral("Б"), w.projectId);
        link(w, k, a, x);
        link(w, k, a, other);
        listAndSelect(w, k, QStringLiteral("x.example"));
        Sections &s = *w.main->sections;
        const QString ax = QStringLiteral("%1|%2").arg(a).arg(x), ao = QStringLiteral("%1|%2").arg(a).arg(other),
                      bx = QStringLiteral("%1|%2").arg(b).arg(x);

        s.pmLvItemsPopup();
        QCOMPARE(ticks(s.sectionItems()), (QList<bool>{true, false}));
        // A click on a ticked section takes the resource out.
        itemNamed(s, QStringLiteral("А"))->trigger();
        QCOMPARE(links(w, k), QStringList{ao});
        s.pmLvItemsPopup();
        QCOMPARE(ticks(s.sectionItems()), (QList<bool>{false, false}));
        // Clicking it again puts it back.
        itemNamed(s, QStringLiteral("А"))->trigger();
        QCOMPARE(links(w, k), (QStringList{ax, ao}));
        s.pmLvItemsPopup();
        QCOMPARE(ticks(s.sectionItems()), (QList<bool>{true, false}));
        itemNamed(s, QStringLiteral("Б"))->trigger();
        QCOMPARE(links(w, k), (QStringList{ax, ao, bx}));
        s.pmLvItemsPopup();
        QCOMPARE(ticks(s.sectionItems()), (QList<bool>{true, true}));
        // The list is not refilled by a toggle.
        QCOMPARE(w.main->resources->count(), 2);
        QVERIFY(p.messages.isEmpty());
    }

    void projectWithoutSectionsShowsTheHeaderOnly()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        addResource(w, k, QStringLiteral("x.example"));
        addSection(w, k, QStringLiteral("Чужой"), w.projectId + 1);
        listAndSelect(w, k, QStringLiteral("x.example"));
        w.main->sections->pmLvItemsPopup();
        QCOMPARE(w.main->sections->pmLvItems->actions().size(), 1);
        QVERIFY(w.main->sections->sectionItems().isEmpty());
        QVERIFY(p.messages.isEmpty());
    }

    void withoutSelectionNothingActs()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        addResource(w, k, QStringLiteral("x.example"));
        addSection(w, k, QStringLiteral("А"), w.projectId);
        listAndSelect(w, k, QStringLiteral("x.example"));
        Sections &s = *w.main->sections;
        s.pmLvItemsPopup();
        QAction *item = itemNamed(s, QStringLiteral("А"));
        QVERIFY(item);
        w.main->resources->selectRow(-1);
        item->trigger();
        s.ToggleResourceInGroup(item);
        QCOMPARE(links(w, k), QStringList{});
        // The header is no section item either.
        w.main->resources->selectRow(0);
        s.ToggleResourceInGroup(s.pmLvItems->actions().first());
        QCOMPARE(links(w, k), QStringList{});
        // Opening the menu without a selection leaves nothing in it.
        w.main->resources->selectRow(-1);
        s.pmLvItemsPopup();
        QVERIFY(s.pmLvItems->actions().isEmpty());
        QVERIFY(p.messages.isEmpty());
    }

    void rightClickOpensTheMenu()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        addResource(w, k, QStringLiteral("x.example"));
        addSection(w, k, QStringLiteral("А"), w.projectId);
        listAndSelect(w, k, QStringLiteral("x.example"));
        QTableView *lv = w.main->lvLinks;
        QCOMPARE(lv->contextMenuPolicy(), Qt::CustomContextMenu);
        emit lv->customContextMenuRequested(QPoint(5, 5));
        QMenu *menu = w.main->sections->pmLvItems;
        QCOMPARE(menu->objectName(), QStringLiteral("pmLvItems"));
        QVERIFY(menu->isVisible());
        QCOMPARE(captions(w.main->sections->sectionItems()), QStringList{"А"});
        menu->close();
        // Without a selection nothing pops up.
        w.main->resources->selectRow(-1);
        emit lv->customContextMenuRequested(QPoint(5, 5));
        QVERIFY(!menu->isVisible());
    }

    void groupsMenuOrder()
    {
        Workbench w;
        QStringList texts;
        for (QAction *a : w.main->pmGroups->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{"Переименовать раздел...", "-", "Удалить раздел..."}));
    }

    void renameSection()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        const int mine = addSection(w, k, QStringLiteral("Мой"), w.projectId);
        addSection(w, k, QStringLiteral("Соседний"), w.projectId);
        addSection(w, k, QStringLiteral("Чужой"), w.projectId + 1);
        addSection(w, kindOf(QStringLiteral("soft")), QStringLiteral("Софтовый"), w.projectId);
        QTreeWidgetItem *top = w.main->navigator->top(TopCatalogs);
        click(w, top);
        QTreeWidgetItem *node = childNamed(childNamed(top, QStringLiteral("Разделы пользователя")), QStringLiteral("Мой"));
        click(w, node);
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmGroups);
        const QString taken = QStringLiteral("Раздел с таким названием уже существует! Придумайте другое название раздела!");
        auto names = [&] {
            return w.db.rows(QStringLiteral("SELECT cgroup_name, cgroup_project_id FROM cgroups ORDER BY cgroup_id"));
        };
        const QStringList before = names();

        // The same project's name, the node's own name (a cancelled box) and an empty name are refused.
        const QList<std::optional<QString>> refused = {QStringLiteral("Соседний"), std::nullopt, QString()};
        for (const auto &answer : refused) {
            p.inputs = {answer};
            w.main->sections->MenuItem5->trigger();
        }
        QCOMPARE(p.inputCaptions, QStringList(3, QStringLiteral("Переименование раздела")));
        QCOMPARE(p.messages, (QStringList{taken, taken, QStringLiteral("Название раздела не может быть пустым!")}));
        QCOMPARE(names(), before);
        QCOMPARE(node->text(0), QStringLiteral("Мой"));

        // Another project's name, and another kind's, are free.
        p.messages.clear();
        p.inputs = {QStringLiteral("Чужой")};
        w.main->sections->MenuItem5Click();
        QCOMPARE(node->text(0), QStringLiteral("Чужой"));
        p.inputs = {QStringLiteral("Софтовый")};
        w.main->sections->MenuItem5Click();
        QCOMPARE(node->text(0), QStringLiteral("Софтовый"));
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT cgroup_name FROM cgroups WHERE cgroup_id=%1").arg(mine)),
                 QStringLiteral("Софтовый"));
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cgroups WHERE cgroup_name='Чужой'")), QStringLiteral("1"));
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT sgroup_name FROM sgroups WHERE sgroup_project_id=%1").arg(w.projectId)),
                 QStringLiteral("Софтовый"));
    }

    // The add nodes sit among the sections and filters; the commands pass
    // them by, whatever the user answers.
    void commandsPassTheAddNodesBy()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        addSection(w, k, QStringLiteral("Мой"), w.projectId);
        QVERIFY(w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Фильтр'")));
        QTreeWidgetItem *top = w.main->navigator->top(TopCatalogs);
        click(w, top);
        const QString sectionsBefore = w.db.rows(QStringLiteral("SELECT cgroup_name FROM cgroups")).join(QLatin1Char(';'));
        for (const auto &[header, add] :
             {std::pair{"Разделы пользователя", "Добавить раздел"}, std::pair{"Фильтры пользователя", "Добавить фильтр"}}) {
            QTreeWidgetItem *addNode = childNamed(childNamed(top, QString::fromUtf8(header)), QString::fromUtf8(add));
            QVERIFY(addNode);
            {
                // Made current without its click (which would run the add).
                const QSignalBlocker block(w.main->trvFilters);
                w.main->trvFilters->setCurrentItem(addNode);
            }
            p.inputs = {QStringLiteral("Новое"), QStringLiteral("Новое")};
            p.answers = {true, true};
            w.main->sections->MenuItem5Click();
            w.main->sections->N39Click();
            w.main->filters->N33Click();
            w.main->filters->N35Click();
            QCOMPARE(addNode->text(0), QString::fromUtf8(add));
        }
        QVERIFY(p.inputCaptions.isEmpty());
        QVERIFY(p.questions.isEmpty());
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cgroup_name FROM cgroups")).join(QLatin1Char(';')), sectionsBefore);
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name FROM cfilters")), QStringList{"Фильтр"});
    }

    void deleteSectionKeepsItsLinks()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        const int x = addResource(w, k, QStringLiteral("x.example"));
        const int sec = addSection(w, k, QStringLiteral("Удаляемый"), w.projectId);
        addSection(w, k, QStringLiteral("Удаляемый"), w.projectId + 1);
        link(w, k, sec, x);
        QTreeWidgetItem *top = w.main->navigator->top(TopCatalogs);
        click(w, top);
        QTreeWidgetItem *header = childNamed(top, QStringLiteral("Разделы пользователя"));
        click(w, childNamed(header, QStringLiteral("Удаляемый")));
        QCOMPARE(w.main->resources->count(), 1);

        p.answers = {false};
        w.main->sections->N39->trigger();
        QCOMPARE(p.questions, QStringList{"Вы действительно хотите удалить раздел:\"Удаляемый\"?"});
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cgroups")), QStringLiteral("2"));

        p.answers = {true};
        w.main->sections->N39Click();
        // Only this project's section goes; its links and the list stay.
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cgroup_project_id FROM cgroups")),
                 QStringList{QString::number(w.projectId + 1)});
        QCOMPARE(links(w, k), QStringList{QStringLiteral("%1|%2").arg(sec).arg(x)});
        QVERIFY(!childNamed(header, QStringLiteral("Удаляемый")));
        // Its list leaves the screen with it.
        QCOMPARE(w.main->resources->count(), 0);
        QCOMPARE(w.main->trvFilters->currentItem(), nullptr);
        w.main->sections->N39Click();
        QCOMPARE(p.questions.size(), 2);
        QVERIFY(p.messages.isEmpty());
    }

    // Another copy renamed or deleted the section first: the rename or delete
    // by name finds no row, says so and builds the branch again from the base.
    // A name longer than its column is refused, for the add and the rename.
    void renameAndDeleteAfterAnotherCopy()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        addSection(w, k, QStringLiteral("Мой"), w.projectId);
        test::SecondCopy other(w.db);
        QVERIFY2(other.ok(), qPrintable(other.error()));
        QTreeWidgetItem *top = w.main->navigator->top(TopCatalogs);
        click(w, top);
        auto section = [&](const QString &name) {
            return childNamed(childNamed(top, QStringLiteral("Разделы пользователя")), name);
        };
        const QString name(256, QChar(0x44F));
        p.inputs = {name};
        click(w, section(QStringLiteral("Добавить раздел")));
        click(w, section(QStringLiteral("Мой")));
        p.inputs = {name};
        w.main->sections->MenuItem5->trigger();
        QCOMPARE(p.messages, (QStringList{tooLongName(QStringLiteral("Введите название нового раздела")),
                                          tooLongName(QStringLiteral("Введите новое имя раздела"))}));
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cgroup_name FROM cgroups")), QStringList{"Мой"});

        p.messages.clear();
        QVERIFY2(other.exec(QStringLiteral("UPDATE cgroups SET cgroup_name='Его' WHERE cgroup_name='Мой'")),
                 qPrintable(other.error()));
        p.inputs = {QStringLiteral("Новый")};
        w.main->sections->MenuItem5->trigger();
        QCOMPARE(p.messages, QStringList{elsewhere(QStringLiteral("Мой"))});
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cgroup_name FROM cgroups")), QStringList{"Его"});
        QCOMPARE(childTexts(childNamed(top, QStringLiteral("Разделы пользователя"))), (QStringList{"Добавить раздел", "Его"}));
        QCOMPARE(w.main->trvFilters->currentItem(), top);

        p.messages.clear();
        click(w, section(QStringLiteral("Его")));
        QVERIFY2(other.exec(QStringLiteral("DELETE FROM cgroups")), qPrintable(other.error()));
        p.answers = {true};
        w.main->sections->N39->trigger();
        QCOMPARE(p.messages, QStringList{elsewhere(QStringLiteral("Его"))});
        QCOMPARE(childTexts(childNamed(top, QStringLiteral("Разделы пользователя"))), QStringList{"Добавить раздел"});
    }

    // Contact sections: a rename refuses a name taken in the project as the
    // add does; a name longer than its column is refused (a pasted one is not
    // cut by the subsection dialog); a rename of a section another copy
    // deleted says so and builds the branch again.
    void contactSectionNames()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        auto *subjectAdd = new contacts::TfrmOSubjectAdd(w.main.get());
        w.main->contacts->attachWindows(subjectAdd, nullptr);
        auto section = [&](const QString &name, int parent, int project) {
            w.db.exec(QStringLiteral("INSERT INTO osubjects SET osubject_name=%1, osubject_pid=%2, osubject_project_id=%3")
                          .arg(qv::db::Sql(name))
                          .arg(parent)
                          .arg(project));
            return w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        };
        const int a = section(QStringLiteral("A"), 0, w.projectId);
        section(QStringLiteral("B1"), section(QStringLiteral("B"), 0, w.projectId), w.projectId);
        section(QStringLiteral("Чужой"), 0, w.projectId + 1);
        auto names = [&] { return w.db.rows(QStringLiteral("SELECT osubject_name FROM osubjects ORDER BY osubject_id")); };
        const QStringList before = names();
        test::SecondCopy other(w.db);
        QVERIFY2(other.ok(), qPrintable(other.error()));
        QTreeWidgetItem *top = w.main->navigator->top(TopContacts);
        click(w, top);
        QTreeWidgetItem *node = childNamed(top, QStringLiteral("A"));
        click(w, node);
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmContacts);

        // Another section's name, a subsection's in another case, its own (a
        // cancelled box), and an over-long name.
        const QString taken = QStringLiteral("Раздел с таким названием уже существует!");
        const QString longName(256, QChar(0x44F));
        for (const auto &answer :
             QList<std::optional<QString>>{QStringLiteral("B"), QStringLiteral("b1"), std::nullopt, longName}) {
            p.inputs = {answer};
            w.main->contacts->N18->trigger();
        }
        QCOMPARE(p.messages, (QStringList{taken, taken, taken, tooLongName(QStringLiteral("Введите новое название раздела"))}));
        QCOMPARE(names(), before);
        QCOMPARE(node->text(0), QStringLiteral("A"));
        // Another project's name is free.
        p.messages.clear();
        p.inputs = {QStringLiteral("Чужой")};
        w.main->contacts->N18->trigger();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT osubject_name FROM osubjects WHERE osubject_id=%1").arg(a)),
                 QStringLiteral("Чужой"));

        // A pasted name of 40,000 characters in the subsection dialog.
        qsizetype pasted = 0;
        p.dialogs = {[&](QDialog *) {
            QApplication::clipboard()->setText(QString(40000, QChar(0x44F)));
            QTest::keyClick(subjectAdd->edtOsubjectName, Qt::Key_V, Qt::ControlModifier);
            pasted = subjectAdd->edtOsubjectName->text().size();
            subjectAdd->trvOSubjects->setCurrentItem(subjectAdd->trvOSubjects->topLevelItem(0));
            subjectAdd->Button1->click();
            return int(QDialog::Accepted);
        }};
        click(w, childNamed(top, QStringLiteral("Добавить подраздел")));
        QCOMPARE(pasted, 40000);
        QCOMPARE(p.messages, QStringList{tooLongName(QStringLiteral("Введите название нового подраздела"))});
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM osubjects")), QStringLiteral("4"));

        // The section deleted by the other copy.
        p.messages.clear();
        click(w, childNamed(top, QStringLiteral("Чужой")));
        QVERIFY2(other.exec(QStringLiteral("DELETE FROM osubjects WHERE osubject_id=%1").arg(a)), qPrintable(other.error()));
        p.inputs = {QStringLiteral("Новый")};
        w.main->contacts->N18->trigger();
        QCOMPARE(p.messages, QStringList{elsewhere(QStringLiteral("Чужой"))});
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM osubjects WHERE osubject_name='Новый'")), QStringLiteral("0"));
        QCOMPARE(childTexts(top), (QStringList{"Добавить подраздел", "B"}));
        QCOMPARE(w.main->trvFilters->currentItem(), top);
    }

    void namesWithQuotesBackslashesEqualsAndAmpersand()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const Kind k = kindOf(QStringLiteral("catalogs"));
        const int x = addResource(w, k, QStringLiteral("x.example"));
        const QString name = QStringLiteral("Раз \"дел\" \\ a=b & c'd\\");
        const QString twin = QStringLiteral("Раз \"дел\" \\ a=b");
        const QString renamed = QStringLiteral("=&\\\"'");
        QTreeWidgetItem *top = w.main->navigator->top(TopCatalogs);
        click(w, top);
        QTreeWidgetItem *header = childNamed(top, QStringLiteral("Разделы пользователя"));
        // Added through the navigator, as typed.
        for (const QString &n : {name, twin}) {
            p.inputs = {n};
            click(w, childNamed(header, QStringLiteral("Добавить раздел")));
        }
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cgroup_name FROM cgroups ORDER BY cgroup_id")), (QStringList{name, twin}));
        const int id =
            w.db.scalar(QStringLiteral("SELECT cgroup_id FROM cgroups WHERE cgroup_name=%1").arg(qv::db::Sql(name))).toInt();

        listAndSelect(w, k, QStringLiteral("x.example"));
        Sections &s = *w.main->sections;
        s.pmLvItemsPopup();
        QCOMPARE(captions(s.sectionItems()), (QStringList{"Раз \"дел\" \\ a=b && c'd\\", twin}));
        QCOMPARE(s.sectionItems()[0]->data().toInt(), id);
        s.sectionItems()[0]->trigger();
        QCOMPARE(links(w, k), QStringList{QStringLiteral("%1|%2").arg(id).arg(x)});
        s.pmLvItemsPopup();
        QCOMPARE(ticks(s.sectionItems()), (QList<bool>{true, false}));

        // Rename and delete through the section menu (the branch was built again).
        header = childNamed(top, QStringLiteral("Разделы пользователя"));
        QVERIFY(header);
        QCOMPARE(Navigator::nodeId(childNamed(header, name)).value_or(-1), id);
        click(w, childNamed(header, name));
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmGroups);
        p.inputs = {twin};
        s.MenuItem5Click();
        QCOMPARE(p.messages.size(), 1);
        p.inputs = {renamed};
        s.MenuItem5Click();
        QCOMPARE(p.messages.size(), 1);
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT cgroup_name FROM cgroups WHERE cgroup_id=%1").arg(id)), renamed);
        QVERIFY(childNamed(header, renamed));
        p.answers = {true};
        s.N39Click();
        QCOMPARE(p.questions, QStringList{"Вы действительно хотите удалить раздел:\"" + renamed + "\"?"});
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cgroup_name FROM cgroups")), QStringList{twin});
        QCOMPARE(p.messages.size(), 1);
    }
};

QTEST_MAIN(TestSections)
#include "tst_sections.moc"
