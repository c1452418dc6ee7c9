// The navigator tree against a real database: the fixed nodes, the branch
// build and tear-down, the click with its window set-up, popup menus, help
// pane and list fill, the link nodes, and adding sections and filters.
#include "workbench/navigator.h"
#include "workbench/recordeditor.h"
#include "workbench/resourcelist.h"
#include "workbench/sections.h"
#include "app/program.h"
#include "controls/tmirztreeview.h"
#include "support/scriptedprompt.h"
#include "userroad.h"
#include "workbenchfixture.h"

#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QtTest>

using namespace qv;
using namespace qv::workbench;
using qv::test::childNamed;
using qv::test::childTexts;
using qv::test::click;
using qv::test::ScriptedPrompt;
using qv::test::Workbench;

namespace {

bool toolbarWidgetShown(QToolBar *bar, QWidget *w)
{
    for (QAction *a : bar->actions()) {
        if (bar->widgetForAction(a) == w)
            return a->isVisible();
    }
    return w->isVisibleTo(bar);
}

int addCatalog(Workbench &w, const QString &name, const QString &pr, int rubric)
{
    w.db.exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='%1', catalog_pr='%2'").arg(name, pr));
    const int id = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
    w.db.exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=%2").arg(id).arg(rubric));
    return id;
}

} // namespace

class TestNavigator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void fixedNodesAtStart()
    {
        Workbench w;
        QTreeWidget *t = w.main->trvFilters;
        QCOMPARE(t->topLevelItemCount(), 7);
        const QStringList tops = {"Софт каталоги",
                                  "Каталоги, поисковики, доски объявлений",
                                  "Форумы",
                                  "Рассылки по контактам (email + бумажные)",
                                  "Рекомендуем владельцам сайтов",
                                  "Подписка на бесплатное обновление",
                                  "СПРАВКА"};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(t->topLevelItem(i)->text(0), tops[i]);
        QCOMPARE(childTexts(t->topLevelItem(0)), QStringList{"Версия 1.2"});
        QCOMPARE(childTexts(t->topLevelItem(1)), QStringList{"Добавить описание сайта"});
        QCOMPARE(childTexts(t->topLevelItem(2)), QStringList{"Добавить описание сайта"});
        QCOMPARE(childTexts(t->topLevelItem(3)), QStringList{"Добавить письмо"});
        QCOMPARE(childTexts(t->topLevelItem(4)),
                 (QStringList{"Выбор хостинга - лучшие хостинг компании", "Сервисы и программы для раскрутки сайтов",
                              "Заработак для владельцев сайтов (партнерки)", "Студии раскрутки и продвижения сайтов"}));
        QCOMPARE(t->topLevelItem(5)->childCount(), 0);
        QCOMPARE(t->topLevelItem(6)->childCount(), 0);
        QVERIFY(t->editTriggers() == QAbstractItemView::NoEditTriggers);
    }

    void noProjectShowsTheMessageOnly()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.main->cbProjects->setCurrentIndex(0);
        QTreeWidgetItem *help = w.main->navigator->top(TopHelp);
        click(w, help);
        QCOMPARE(p.messages, QStringList{"Для работы с программой нужно выбрать проект"});
        QVERIFY(p.openedUrls.isEmpty());
        QCOMPARE(w.ctx.CurrentKind, core::Kind::None);
    }

    void branchBuildOrder()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Ф1'"));
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Ф2'"));
        // A section whose id equals a rubric id, and another project's section.
        w.db.exec(QStringLiteral("INSERT INTO cgroups SET cgroup_id=2, cgroup_name='Мой раздел', cgroup_project_id=%1")
                      .arg(w.projectId));
        w.db.exec(QStringLiteral("INSERT INTO cgroups SET cgroup_name='Чужой', cgroup_project_id=%1").arg(w.projectId + 1));
        // A child that arrives before its parent is left out, with its own child.
        w.db.exec(QStringLiteral("INSERT INTO csubjects SET csubject_id=100, csubject_pid=101, csubject_name='Рано'"));
        w.db.exec(QStringLiteral("INSERT INTO csubjects SET csubject_id=101, csubject_pid=0, csubject_name='Поздний корень'"));
        w.db.exec(QStringLiteral("INSERT INTO csubjects SET csubject_id=102, csubject_pid=100, csubject_name='Под ранним'"));
        w.db.exec(QStringLiteral("INSERT INTO csubjects SET csubject_id=103, csubject_pid=2, csubject_name='Под вторым'"));

        QTreeWidgetItem *catalogs = w.main->navigator->top(TopCatalogs);
        catalogs->setExpanded(true);
        QCOMPARE(childTexts(catalogs), (QStringList{"Поздний корень", "Доски объявлений", "Образование и наука",
                                                    "Культура и развлечения", "Интернет и компьютеры", "Бизнес и экономика",
                                                    "Фильтры пользователя", "Разделы пользователя", "Корзина"}));
        QTreeWidgetItem *filters = childNamed(catalogs, QStringLiteral("Фильтры пользователя"));
        QCOMPARE(childTexts(filters), (QStringList{"Добавить фильтр", "Ф1", "Ф2"}));
        QVERIFY(!Navigator::nodeId(filters->child(1)));
        QTreeWidgetItem *sections = childNamed(catalogs, QStringLiteral("Разделы пользователя"));
        QCOMPARE(childTexts(sections), (QStringList{"Добавить раздел", "Мой раздел"}));
        QCOMPARE(Navigator::nodeId(sections->child(1)).value_or(-1), 2);
        QTreeWidgetItem *internet = childNamed(catalogs, QStringLiteral("Интернет и компьютеры"));
        QCOMPARE(Navigator::nodeId(internet).value_or(-1), 2);
        QCOMPARE(childTexts(internet),
                 (QStringList{"Веб-дизайн и хостинг", "Каталоги и поисковые системы", "Программное обеспечение", "Под вторым"}));
        QCOMPARE(childNamed(catalogs, QStringLiteral("Поздний корень"))->childCount(), 0);
        QVERIFY(Navigator::isFilterNode(filters->child(1)));
        QVERIFY(Navigator::isSectionNode(sections->child(1)));
        QVERIFY(!Navigator::isFilterNode(internet));

        // Collapsing puts the placeholder back; the next expansion rebuilds.
        catalogs->setExpanded(false);
        QCOMPARE(childTexts(catalogs), QStringList{"Добавить описание сайта"});
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Ф3'"));
        catalogs->setExpanded(true);
        QCOMPARE(childTexts(childNamed(catalogs, QStringLiteral("Фильтры пользователя"))).size(), 4);

        // The project choice collapses the first six top nodes.
        QTreeWidgetItem *forums = w.main->navigator->top(TopForums);
        forums->setExpanded(true);
        w.main->navigator->top(TopRecommend)->setExpanded(true);
        w.main->navigator->collapseTopNodes();
        QCOMPARE(childTexts(catalogs), QStringList{"Добавить описание сайта"});
        QCOMPARE(childTexts(forums), QStringList{"Добавить пресс-релиз для форумов"});
        QVERIFY(!w.main->navigator->top(TopRecommend)->isExpanded());
        QCOMPARE(w.main->navigator->top(TopRecommend)->childCount(), 4);
        QVERIFY(p.messages.isEmpty());
    }

    void failingBuildKeepsWhatWasAdded()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("DROP TABLE sgroups"));
        QTreeWidgetItem *soft = w.main->navigator->top(TopSoft);
        soft->setExpanded(true);
        QCOMPARE(childTexts(soft), (QStringList{"Фильтры пользователя", "Разделы пользователя"}));
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:SELECT * FROM sgroups")));
    }

    void kindWithoutRubrics()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("DELETE FROM fsubjects"));
        QTreeWidgetItem *forums = w.main->navigator->top(TopForums);
        w.main->navigator->cbFMaterialsChange = nullptr;
        click(w, forums);
        QCOMPARE(childTexts(forums), (QStringList{"Фильтры пользователя", "Разделы пользователя"}));
        QCOMPARE(w.main->resources->count(), 0);
        QVERIFY(p.messages.isEmpty());
    }

    void rubricClickSetsUpTheWindowAndFillsTheList()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, QStringLiteral("low.example"), QStringLiteral("1"), 10);
        addCatalog(w, QStringLiteral("high.example"), QStringLiteral("6"), 10);
        w.ctx.SelectedResourceName = QStringLiteral("old.example");
        w.ctx.SelectedResourceId = 77;
        w.ctx.CurrentMaterialName = QStringLiteral("Описание");
        w.main->pcMain->setCurrentIndex(2);
        w.main->Web->setUrl(QUrl(QStringLiteral("about:blank")));

        QTreeWidgetItem *catalogs = w.main->navigator->top(TopCatalogs);
        click(w, catalogs);
        QVERIFY(catalogs->isExpanded());
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Catalogs);
        QCOMPARE(w.main->pcMain->currentIndex(), 0);
        QVERIFY(w.main->pnlHelp->isVisibleTo(w.main.get()));
        QCOMPARE(w.main->wbHelp->url(), QUrl::fromLocalFile(w.ctx.AppDir + QStringLiteral("catalogs.htm")));
        QCOMPARE(w.main->resources->count(), 0);

        QTreeWidgetItem *internet = childNamed(catalogs, QStringLiteral("Интернет и компьютеры"));
        QTreeWidgetItem *design = childNamed(internet, QStringLiteral("Веб-дизайн и хостинг"));
        w.main->pcMain->setCurrentIndex(2);
        click(w, design);
        QCOMPARE(w.main->pcMain->currentIndex(), 0);
        QCOMPARE(w.main->pcMain->tabText(0), QStringLiteral("Каталоги, поисковики, доски"));
        QCOMPARE(w.main->pcMain->tabText(2), QStringLiteral("Добавить каталог, поисковик, доску"));
        QCOMPARE(w.main->tcWeb->tabText(1), QStringLiteral("Добавить сайт/объявление"));
        QCOMPARE(w.main->tcWeb->tabText(2), QStringLiteral("Проверить регистр."));
        QCOMPARE(w.main->tcWeb->tabText(3), QStringLiteral("Анализ сайта"));
        QCOMPARE(w.main->tbMaterialNew->text(), QStringLiteral("Новое описание"));
        QCOMPARE(w.main->pnlMaterialName->text(), QStringLiteral(" Активное описание сайта:"));
        QVERIFY(!toolbarWidgetShown(w.main->tbLinks, w.main->pnlMaterialName));
        QVERIFY(!toolbarWidgetShown(w.main->tbLinks, w.main->pnlSP));
        QVERIFY(!toolbarWidgetShown(w.main->tbLinks, w.main->tbItems));
        QVERIFY(w.ctx.SelectedResourceName.isEmpty());
        QCOMPARE(w.ctx.SelectedResourceId, 0);
        QVERIFY(w.ctx.CurrentMaterialName.isEmpty());
        QVERIFY(!w.main->pnlHelp->isVisibleTo(w.main.get()));
        QCOMPARE(w.main->navigator->popupMenu(), nullptr);
        // The list, re-sorted on PR, and the start page.
        QCOMPARE(w.main->resources->count(), 2);
        QCOMPARE(w.main->resources->subItem(0, 1), QStringLiteral("high.example"));
        QCOMPARE(w.main->lvLinks->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("*PR"));
        QCOMPARE(w.main->Web->url().toString(), w.makerStart());
        QVERIFY(p.messages.isEmpty());

        // The forums branch: the press-release list shows, its change handler runs
        // on the top node, and the popup menu is the forums one.
        int pressReleaseChanges = 0;
        w.main->navigator->cbFMaterialsChange = [&] { ++pressReleaseChanges; };
        QTreeWidgetItem *forums = w.main->navigator->top(TopForums);
        click(w, forums);
        QCOMPARE(pressReleaseChanges, 1);
        QVERIFY(!catalogs->isExpanded()); // single expand
        QCOMPARE(childTexts(catalogs), QStringList{"Добавить описание сайта"});
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Forums);
        QVERIFY(toolbarWidgetShown(w.main->tbLinks, w.main->pnlSP));
        QVERIFY(toolbarWidgetShown(w.main->tbLinks, w.main->pnlMaterialName));
        QCOMPARE(w.main->tbMaterialNew->text(), QStringLiteral(" Новое объявление"));
        QCOMPARE(w.main->tcWeb->tabText(0), QStringLiteral("Разместить объявление"));
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmForums);
        QCOMPARE(w.main->wbHelp->url(), QUrl::fromLocalFile(w.ctx.AppDir + QStringLiteral("forums.htm")));
        click(w, childNamed(forums, QStringLiteral("Компьютеры и интернет")));
        QCOMPARE(pressReleaseChanges, 1);
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmForums);
    }

    void popupMenusByNode()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        w.db.exec(QStringLiteral("INSERT INTO sfilters SET sfilter_name='Все'"));
        w.db.exec(QStringLiteral("INSERT INTO sgroups SET sgroup_name='Мой', sgroup_project_id=%1").arg(w.projectId));
        QTreeWidgetItem *soft = w.main->navigator->top(TopSoft);
        click(w, soft);
        QTreeWidgetItem *filterNode = childNamed(childNamed(soft, QStringLiteral("Фильтры пользователя")), QStringLiteral("Все"));
        click(w, filterNode);
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmFilter);
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Soft);
        QCOMPARE(w.main->resources->count(), 0); // only the reserved row, which a filter leaves out
        click(w, childNamed(soft, QStringLiteral("Мультимедиа")));
        QCOMPARE(w.main->navigator->popupMenu(), nullptr);
        click(w, childNamed(childNamed(soft, QStringLiteral("Разделы пользователя")), QStringLiteral("Мой")));
        QCOMPARE(w.main->navigator->popupMenu(), w.main->pmGroups);
        // Expanding any node removes the popup menu.
        childNamed(soft, QStringLiteral("Мультимедиа"))->setExpanded(true);
        QCOMPARE(w.main->navigator->popupMenu(), nullptr);
        // A rubric in the soft branch shows the reserved row when it is linked.
        click(w, childNamed(soft, QStringLiteral("Корзина")));
        QCOMPARE(w.main->resources->count(), 1);
        QVERIFY(p.messages.isEmpty());
    }

    void linkNodes()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        Navigator &nav = *w.main->navigator;
        click(w, nav.top(TopSoft));
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Soft);
        click(w, nav.top(TopRecommend));
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Soft);
        QVERIFY(p.openedUrls.isEmpty());
        click(w, childNamed(nav.top(TopRecommend), QStringLiteral("Выбор хостинга - лучшие хостинг компании")));
        click(w, nav.top(TopSubscribe));
        click(w, nav.top(TopHelp));
        QCOMPARE(p.openedUrls.size(), 3);
        QCOMPARE(p.openedUrls[0], w.ctx.makerUrl(QStringLiteral("/pad/Hosting.php")));
        QCOMPARE(p.openedUrls[1], w.ctx.makerUrl(QStringLiteral("/index.php?action=register")));
        QCOMPARE(p.openedUrls[2], w.ctx.makerUrl(QStringLiteral("/index.php?action=forum")));
        QCOMPARE(p.messages,
                 QStringList{"Для подписки на бесплатные обновления необходимо зарегистрироваться на форуме программы!\r"
                             "Нажмите на OK и перейдете на страницу регистрации на форуме..."});
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Soft);
    }

    void contactsBranchCallsItsView()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        auto *contacts = new QTabWidget(w.main.get());
        contacts->setObjectName(QStringLiteral("pcContacts"));
        w.main->pcContacts = contacts;
        for (int i = 0; i < 3; ++i)
            contacts->addTab(new QWidget, QString());
        contacts->hide();
        int built = 0, clicked = 0, letterChanges = 0;
        Navigator &nav = *w.main->navigator;
        nav.contactsExpanded = [&](QTreeWidgetItem *top) {
            ++built;
            delete top->takeChild(0);
            top->addChild(Navigator::makeNode(QStringLiteral("Раздел"), 0, Navigator::PlainNode, 5));
        };
        nav.contactsClick = [&](QTreeWidgetItem *) { ++clicked; };
        nav.cbOMaterialsChange = [&] { ++letterChanges; };
        click(w, nav.top(TopContacts));
        QCOMPARE(built, 1);
        QCOMPARE(clicked, 1);
        QCOMPARE(letterChanges, 1);
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Contacts);
        QVERIFY(!w.main->pcMain->isVisibleTo(w.main.get()));
        QVERIFY(contacts->isVisibleTo(w.main.get()));
        QCOMPARE(contacts->tabText(0), QStringLiteral("Контакты для рассылки"));
        QCOMPARE(w.main->tcWeb->tabText(0), QStringLiteral("Главная"));
        QCOMPARE(nav.popupMenu(), w.main->pmContacts);

        // Back to a resource kind after the contacts view hid the bottom panel:
        // the panel gets its height back once a list is filled.
        w.ctx.SavedBrowserHeight = 240;
        click(w, nav.top(TopCatalogs));
        QVERIFY(w.main->pcMain->isVisibleTo(w.main.get()));
        QVERIFY(!contacts->isVisibleTo(w.main.get()));
        QCOMPARE(w.ctx.SavedBrowserHeight, 240); // no list yet
        click(w, childNamed(nav.top(TopCatalogs), QStringLiteral("Бизнес и экономика")));
        QCOMPARE(w.ctx.SavedBrowserHeight, -1);
        QCOMPARE(childTexts(nav.top(TopContacts)), QStringList{"Добавить раздел"});
        QVERIFY(p.messages.isEmpty());
    }

    void addSection()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        Navigator &nav = *w.main->navigator;
        QTreeWidgetItem *catalogs = nav.top(TopCatalogs);
        click(w, catalogs);
        QTreeWidgetItem *sections = childNamed(catalogs, QStringLiteral("Разделы пользователя"));
        QTreeWidgetItem *add = childNamed(sections, QStringLiteral("Добавить раздел"));

        // Cancel and an empty name add nothing; blanks only are refused.
        p.inputs = {std::nullopt, QString(), QStringLiteral("   ")};
        click(w, add);
        click(w, add);
        click(w, add);
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cgroups")), QStringLiteral("0"));
        QCOMPARE(p.inputCaptions,
                 (QStringList{"Добавление нового раздела", "Добавление нового раздела", "Добавление нового раздела"}));
        QCOMPARE(p.messages, QStringList{"Название раздела не может быть пустым!"});
        p.messages.clear();

        p.inputs = {QStringLiteral("Новый \"раздел\"")};
        click(w, add);
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cgroup_name, cgroup_project_id FROM cgroups")),
                 QStringList{QStringLiteral("Новый \"раздел\"|%1").arg(w.projectId)});
        QTreeWidgetItem *added = sections->child(sections->childCount() - 1);
        QCOMPARE(added->text(0), QStringLiteral("Новый \"раздел\""));
        QCOMPARE(w.main->trvFilters->currentItem(), added);
        // The node carries the new row's id at once.
        const int id = w.db.scalar(QStringLiteral("SELECT cgroup_id FROM cgroups")).toInt();
        QCOMPARE(Navigator::nodeId(added).value_or(-1), id);
        QCOMPARE(w.main->resources->count(), 0);
        QCOMPARE(nav.popupMenu(), w.main->pmGroups);

        // The same name again in this project is refused.
        p.inputs = {QStringLiteral("Новый \"раздел\"")};
        click(w, add);
        QCOMPARE(p.messages, QStringList{"Раздел с таким названием уже существует! Придумайте другое название раздела!"});
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM cgroups")), QStringLiteral("1"));

        // A resource ticked into it from the list's menu is listed by it,
        // with no rebuild of the branch.
        addCatalog(w, QStringLiteral("member.example"), QStringLiteral("1"), 7);
        click(w, childNamed(childNamed(catalogs, QStringLiteral("Бизнес и экономика")), QStringLiteral("Финансы и банки")));
        w.main->resources->selectRow(0);
        w.main->sections->pmLvItemsPopup();
        QCOMPARE(w.main->sections->sectionItems().size(), 1);
        w.main->sections->sectionItems().first()->trigger();
        click(w, added);
        QCOMPARE(w.main->resources->count(), 1);
        QCOMPARE(w.main->resources->subItem(0, SubName), QStringLiteral("member.example"));
    }

    void addFilter()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        addCatalog(w, QStringLiteral("one.example"), QStringLiteral("3"), 7);
        addCatalog(w, QStringLiteral("two.example"), QStringLiteral("5"), 8);
        // The filter editor window as the program creates it.
        auto *editor = new QDialog(w.main.get());
        editor->setObjectName(QStringLiteral("frmFilter"));
        w.main->navigator->attachFilterEditor(editor);
        QString modeSeen, nameSeen;
        core::Kind kindSeen = core::Kind::None;
        p.dialogs = {[&](QDialog *d) {
            modeSeen = d->property("EditMode").toString();
            nameSeen = d->property("FilterName").toString();
            kindSeen = d->property("Kind").value<core::Kind>();
            return int(QDialog::Rejected);
        }};

        Navigator &nav = *w.main->navigator;
        QTreeWidgetItem *catalogs = nav.top(TopCatalogs);
        click(w, catalogs);
        QTreeWidgetItem *filters = childNamed(catalogs, QStringLiteral("Фильтры пользователя"));
        p.inputs = {QStringLiteral("Хорошие")};
        click(w, childNamed(filters, QStringLiteral("Добавить фильтр")));
        QCOMPARE(p.dialogsShown, QStringList{"frmFilter"});
        QCOMPARE(modeSeen, QStringLiteral("add"));
        QCOMPARE(nameSeen, QStringLiteral("Хорошие"));
        QCOMPARE(kindSeen, core::Kind::Catalogs);
        // Cancelled editor: the filter stays, with defaults that select everything.
        QCOMPARE(w.db.rows(QStringLiteral("SELECT cfilter_name, cfilter_tic, cfilter_pr FROM cfilters")),
                 QStringList{"Хорошие|-1|-1"});
        QTreeWidgetItem *added = filters->child(filters->childCount() - 1);
        QCOMPARE(added->text(0), QStringLiteral("Хорошие"));
        QCOMPARE(w.main->trvFilters->currentItem(), added);
        QCOMPARE(nav.popupMenu(), w.main->pmFilter);
        QCOMPARE(w.main->resources->count(), 2);
        QCOMPARE(w.main->resources->subItem(0, 1), QStringLiteral("two.example"));

        // Blanks only are refused; a name already in the table is refused.
        p.inputs = {QStringLiteral(" \t ")};
        click(w, childNamed(filters, QStringLiteral("Добавить фильтр")));
        QCOMPARE(p.messages, QStringList{"Название фильтра не может быть пустым!"});
        p.messages.clear();
        p.inputs = {QStringLiteral("Хорошие")};
        click(w, childNamed(filters, QStringLiteral("Добавить фильтр")));
        QCOMPARE(p.messages, QStringList{"Такой фильтр уже существует, нужно придумать другое название фильтра!"});
        QCOMPARE(p.dialogsShown.size(), 1);

        // A filter editor of its own takes over the "add" call.
        QString hooked;
        nav.showFilterEditorForAdd = [&](const QString &name) {
            hooked = name;
            w.db.exec(QStringLiteral("UPDATE cfilters SET cfilter_pr='4' WHERE cfilter_name='Лучшие'"));
        };
        p.inputs = {QStringLiteral("Лучшие")};
        click(w, childNamed(filters, QStringLiteral("Добавить фильтр")));
        QCOMPARE(hooked, QStringLiteral("Лучшие"));
        QCOMPARE(w.main->resources->count(), 1);

        // A filter whose row was removed meanwhile: an empty list, no message.
        w.db.exec(QStringLiteral("DELETE FROM cfilters WHERE cfilter_name='Хорошие'"));
        click(w, childNamed(filters, QStringLiteral("Хорошие")));
        QCOMPARE(w.main->resources->count(), 0);
        QCOMPARE(p.messages.size(), 1);
        w.main->navigator->attachFilterEditor(nullptr);
    }

    void mouseClicks()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        QTreeWidget *t = w.main->trvFilters;
        Navigator &nav = *w.main->navigator;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
        auto centre = [&](QTreeWidgetItem *n) {
            t->scrollToItem(n);
            return t->visualItemRect(n).center();
        };
        // A left click selects, opens the branch and runs the handler.
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centre(nav.top(TopSoft)));
        QCOMPARE(t->currentItem(), nav.top(TopSoft));
        QVERIFY(nav.top(TopSoft)->isExpanded());
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Soft);
        QVERIFY(nav.top(TopSoft)->childCount() > 2);

        // A right click on another node leaves the selection as it was.
        QTest::mouseClick(t->viewport(), Qt::RightButton, {}, centre(nav.top(TopHelp)));
        QCOMPARE(t->currentItem(), nav.top(TopSoft));
        QVERIFY(p.openedUrls.isEmpty());

        // A node below the open branch: the branch closes after the click, and
        // the click lands on the node that was under the mouse.
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centre(nav.top(TopHelp)));
        QCOMPARE(t->currentItem(), nav.top(TopHelp));
        QVERIFY(!nav.top(TopSoft)->isExpanded());
        QCOMPARE(childTexts(nav.top(TopSoft)), QStringList{"Добавить описание сайта"});
        QCOMPARE(p.openedUrls, QList<QUrl>{w.ctx.makerUrl(QStringLiteral("/index.php?action=forum"))});
        w.main->hide();
    }

    // A move by the keys runs the node's click as the mouse does: the list,
    // the kind, the popup menu, the add nodes.
    void keyboardMovesRunTheClick()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        const int board = addCatalog(w, QStringLiteral("board.example"), QStringLiteral("1"), 17);
        addCatalog(w, QStringLiteral("other.example"), QStringLiteral("2"), 7);
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Все'"));
        w.db.exec(QStringLiteral("INSERT INTO cgroups SET cgroup_name='Мой', cgroup_project_id=%1").arg(w.projectId));
        w.db.exec(
            QStringLiteral("INSERT INTO cgroups2catalogs SET cg2c_cgroup_id=LAST_INSERT_ID(), cg2c_catalog_id=%1").arg(board));
        QVERIFY(test::showMain(w));
        QTreeWidget *t = w.main->trvFilters;
        Navigator &nav = *w.main->navigator;
        test::clickNode(w, nav.top(TopSoft));
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Soft);
        t->setFocus();
        auto listed = [&] {
            QStringList names;
            for (int i = 0; i < w.main->resources->count(); ++i)
                names << w.main->resources->subItem(i, SubName);
            names.sort();
            return names;
        };
        auto downTo = [&](const QString &text) {
            for (int i = 0; i < 60 && (!t->currentItem() || t->currentItem()->text(0) != text); ++i)
                QTest::keyClick(t, Qt::Key_Down);
            return t->currentItem() && t->currentItem()->text(0) == text;
        };

        // The soft branch closed by the Left key, then Down to the catalogs
        // and on to a rubric.
        QTest::keyClick(t, Qt::Key_Left);
        QVERIFY(!nav.top(TopSoft)->isExpanded());
        QVERIFY(downTo(QStringLiteral("Каталоги, поисковики, доски объявлений")));
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Catalogs);
        QCOMPARE(w.main->pcMain->tabText(0), QStringLiteral("Каталоги, поисковики, доски"));
        QVERIFY(downTo(QStringLiteral("Общероссийские доски")));
        QCOMPARE(listed(), QStringList{"board.example"});
        QCOMPARE(w.main->Web->url().toString(), w.makerStart());
        // A filter, passing "Добавить фильтр", whose input box is cancelled.
        p.inputs = {std::nullopt, std::nullopt};
        QVERIFY(downTo(QStringLiteral("Все")));
        QCOMPARE(nav.popupMenu(), w.main->pmFilter);
        QCOMPARE(listed(), (QStringList{"board.example", "other.example"}));
        // A section, passing "Добавить раздел".
        QVERIFY(downTo(QStringLiteral("Мой")));
        QCOMPARE(nav.popupMenu(), w.main->pmGroups);
        QCOMPARE(listed(), QStringList{"board.example"});
        QCOMPARE(p.inputCaptions, (QStringList{"Добавление нового фильтра", "Добавление нового раздела"}));
        // Home: the soft branch's top node; the catalogs' list goes.
        QTest::keyClick(t, Qt::Key_Home);
        QCOMPARE(t->currentItem(), nav.top(TopSoft));
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Soft);
        QCOMPARE(w.main->resources->count(), 0);
        QVERIFY(!nav.top(TopCatalogs)->isExpanded());
        QVERIFY(p.messages.isEmpty());
    }

    // The record editor asks about its unsaved edits when a move by the keys
    // leaves it; when it keeps its page, the node that was current stays.
    void keyboardMoveTheEditorRefusesGoesBack()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        QVERIFY(QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/catalogs.shbl"), w.ctx.AppDir + QStringLiteral("catalogs.shbl")));
        w.ctx.CurrentUserId = 1;
        addCatalog(w, QStringLiteral("a.example"), QStringLiteral("1"), 7);
        addCatalog(w, QStringLiteral("b.example"), QStringLiteral("1"), 8);
        QVERIFY(test::showMain(w));
        QTreeWidget *t = w.main->trvFilters;
        Navigator &nav = *w.main->navigator;
        test::clickNode(w, nav.top(TopCatalogs));
        QTreeWidgetItem *business = childNamed(nav.top(TopCatalogs), QStringLiteral("Бизнес и экономика"));
        test::clickNode(w, business);
        QTreeWidgetItem *finance = childNamed(business, QStringLiteral("Финансы и банки"));
        test::clickNode(w, finance);
        QVERIFY(test::clickResource(w, QStringLiteral("a.example")));
        QTabBar *tabs = w.main->pcMain->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        RecordEditor &editor = *w.main->records;
        QVERIFY(editor.loadedId() > 0);
        // An edit, and no rubric left: the save is refused.
        editor.vlCatalog->item(editor.rowOfLabel(QStringLiteral("Описание сайта")), 1)->setText(QStringLiteral("EDITED"));
        for (QTreeWidgetItem *n :
             editor.trvSubjects->findItems(QStringLiteral("Финансы и банки"), Qt::MatchExactly | Qt::MatchRecursive))
            editor.trvSubjects->setState(n, 1);
        QVERIFY(w.ctx.LinkEditUnsaved);

        t->setFocus();
        p.answers = {true};
        QTest::keyClick(t, Qt::Key_Down);
        QCOMPARE(p.questions.size(), 1);
        QCOMPARE(p.messages, QStringList{"Не выбран раздел ссылки!"});
        QCOMPARE(t->currentItem(), finance);
        QCOMPARE(w.main->pcMain->currentIndex(), 1);
        QCOMPARE(w.main->resources->count(), 1);
        QCOMPARE(w.main->resources->subItem(0, SubName), QStringLiteral("a.example"));

        // "Нет": the edits are dropped and the move goes ahead.
        p.answers = {false};
        QTest::keyClick(t, Qt::Key_Down);
        QCOMPARE(p.questions.size(), 2);
        QCOMPARE(t->currentItem()->text(0), QStringLiteral("Торговля и магазины"));
        QCOMPARE(w.main->pcMain->currentIndex(), 0);
        QCOMPARE(w.main->resources->subItem(0, SubName), QStringLiteral("b.example"));
    }

    void reentrantClickIsDropped()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        Navigator &nav = *w.main->navigator;
        int nested = 0;
        nav.cbFMaterialsChange = [&] {
            ++nested;
            nav.trvFiltersClick(); // what the press-release list does; dropped here
        };
        click(w, nav.top(TopForums));
        QCOMPARE(nested, 1);
        QCOMPARE(w.ctx.CurrentKind, core::Kind::Forums);
    }
};

QTEST_MAIN(TestNavigator)
#include "tst_navigator.moc"
