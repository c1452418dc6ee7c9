// Choosing, creating, editing and deleting projects against a real database.
#include "bench.h"
#include "projects/materialsnavigation.h"
#include "projects/projectchoice.h"
#include "projects/tfrmprojectinfo.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "support/scriptedprompt.h"
#include "support/secondcopy.h"
#include "support/testdb.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <QToolButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace qv;
using qv::test::Bench;
using qv::test::comboItems;
using qv::test::menuKeys;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

namespace {
const QString kChooseProject = QStringLiteral("Для работы с программой нужно выбрать проект");
const QString kRequired = QStringLiteral("Вы не заполнили обязательные поля: URL сайта и/или название проекта");
const QString kNameExists = QStringLiteral("Проект с таким именем уже есть в базе! Выберите другое имя!");

// A project data window answer: types the fields and presses "Сохранить".
std::function<int(QDialog *)> typeProject(const projects::ProjectData &p, int *result = nullptr)
{
    return [=](QDialog *d) {
        auto *w = qobject_cast<projects::TfrmProjectInfo *>(d);
        if (!w)
            return 0;
        w->setFields(p);
        w->setResult(0);
        w->btnProjectInfoSaveClick();
        if (result)
            *result = w->result();
        return w->result();
    };
}

QString joined(const QStringList &values) { return values.join(QLatin1Char('|')); }

QTreeWidgetItem *childNamed(QTreeWidgetItem *node, const QString &text)
{
    for (int i = 0; node && i < node->childCount(); ++i) {
        if (node->child(i)->text(0) == text)
            return node->child(i);
    }
    return nullptr;
}

// The project list's entry chosen with the mouse: the list opened by a
// click, the entry clicked in it.
void chooseByMouse(QComboBox *cb, int index)
{
    QTest::mouseClick(cb, Qt::LeftButton);
    QAbstractItemView *view = cb->view();
    QVERIFY(QTest::qWaitFor([view] { return view->isVisible(); }));
    // The release that follows the opening click too closely is not taken
    // for a choice.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(index, 0)).center());
}

projects::ProjectData tricky()
{
    projects::ProjectData p;
    p.name = QStringLiteral("Проект \"Ёлка\" \\ 'один'");
    p.url = QStringLiteral("http://ёлка.рф/?a=\"1\"&b='2'\\");
    p.fio = QStringLiteral("Петров Пётр \\Петрович\"");
    p.email = QStringLiteral("o'neil@пример.рф");
    p.company = QStringLiteral("ООО \"Рога & Копыта\"");
    p.tel = QStringLiteral("+7 (495) 123-45-67\\");
    p.fax = QStringLiteral("'факс'");
    p.city = QStringLiteral("Санкт-Петербург \\\\");
    p.country = QStringLiteral("Россия\"");
    p.address = QStringLiteral("ул. \"Ленина\", д. 1\\2");
    return p;
}
} // namespace

class TestProjects : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;

    TestDb &db() { return *m_db; }
    QString one(const QString &sql) { return db().scalar(sql); }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
    }
    void cleanup() { m_db.reset(); }

    void sampleProjectIsReadyToChoose()
    {
        // The sample base brings a project with one material of every kind.
        QVERIFY(db().execFile(test::sourcePath(QStringLiteral("sql/sample.sql")), QStringLiteral("/tmp/quorvantile-sample")));
        Bench b;
        b.main->fillProjects();
        const QString id =
            db().scalar(QStringLiteral("SELECT project_id FROM projects WHERE project_name='Пример: Чайная лавка'"));
        QVERIFY(!id.isEmpty());
        b.choose(id.toInt());
        QCOMPARE(menuKeys(b.main->pmFill),
                 (QStringList{QStringLiteral("Новое описание..."), QStringLiteral("-"), QStringLiteral("Основное описание")}));
        QCOMPARE(comboItems(b.main->cbFMaterials), QStringList{QStringLiteral("Основной пресс-релиз")});
        QCOMPARE(comboItems(b.main->cbOMaterials), QStringList{QStringLiteral("Основное письмо")});
        QCOMPARE(db().scalar(QStringLiteral("SELECT smaterial_softname FROM smaterials WHERE smaterial_project_id=") + id),
                 QStringLiteral("Чайный таймер"));
        QVERIFY(!db().scalar(QStringLiteral("SELECT cmaterial_description250 FROM cmaterials WHERE cmaterial_project_id=") + id)
                     .isEmpty());
    }

    void newProjectGetsItsSeeds()
    {
        Bench b;
        ScriptedPrompt p;
        projects::ProjectData data;
        data.name = QStringLiteral("Мой сайт");
        data.url = QStringLiteral("http://");
        int result = -1;
        p.dialogs = {typeProject(data, &result)};
        b.main->projects->tbnProjectNewClick();
        QCOMPARE(p.dialogsShown, QStringList{QStringLiteral("frmProjectInfo")});
        QCOMPARE(result, static_cast<int>(QDialog::Accepted));
        QVERIFY(p.messages.isEmpty());

        const QString id = one(QStringLiteral("SELECT project_id FROM projects WHERE project_name='Мой сайт'"));
        QVERIFY(!id.isEmpty());
        QCOMPARE(QString::number(b.ctx.CurrentProjectId), id);
        QCOMPARE(b.ctx.ProjectUrl, QStringLiteral("http://"));
        QCOMPARE(b.main->cbProjects->currentText(), QStringLiteral("Мой сайт"));
        const QString w = QStringLiteral(" WHERE %1_project_id=") + id;
        QCOMPARE(db().rows(QStringLiteral("SELECT smaterial_name, smaterial_urlsite, smaterial_gemail FROM smaterials")
                           + w.arg(QStringLiteral("smaterial"))),
                 QStringList{QStringLiteral("Основная версия|http://|")});
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_name, cmaterial_url, cmaterial_fio FROM cmaterials")
                           + w.arg(QStringLiteral("cmaterial"))),
                 QStringList{QStringLiteral("Основное описание|http://|")});
        QCOMPARE(db().rows(QStringLiteral("SELECT fmaterial_name, fmaterial_url FROM fmaterials")
                           + w.arg(QStringLiteral("fmaterial"))),
                 QStringList{QStringLiteral("Основной пресс-релиз|http://")});
        QCOMPARE(db().rows(QStringLiteral("SELECT omaterial_name FROM omaterials") + w.arg(QStringLiteral("omaterial"))),
                 QStringList{QStringLiteral("Основное письмо")});
        QCOMPARE(db().rows(QStringLiteral("SELECT osubject_name, osubject_pid FROM osubjects") + w.arg(QStringLiteral("osubject"))
                           + QStringLiteral(" ORDER BY osubject_id")),
                 (QStringList{QStringLiteral("Тестовый раздел 1|0"), QStringLiteral("Тестовый раздел 2|0")}));
        for (const char *kind : {"s", "c", "f"}) {
            const QString t = QLatin1String(kind) + QStringLiteral("group");
            QCOMPARE(
                db().rows(QStringLiteral("SELECT %1_name FROM %1s").arg(t) + w.arg(t) + QStringLiteral(" ORDER BY %1_id").arg(t)),
                (QStringList{QStringLiteral("Тестовый раздел пользователя 1"),
                             QStringLiteral("Тестовый раздел пользователя 2")}));
        }
        // Nothing seeded for any other project (no project 0 rows).
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM cmaterials WHERE cmaterial_project_id<>") + id), QStringLiteral("0"));

        // The lists show the seeds; the editor shows the description.
        QCOMPARE(menuKeys(b.main->pmFill),
                 (QStringList{QStringLiteral("Новое описание..."), QStringLiteral("-"), QStringLiteral("Основное описание")}));
        QCOMPARE(comboItems(b.main->cbFMaterials), QStringList{QStringLiteral("Основной пресс-релиз")});
        QCOMPARE(comboItems(b.main->cbOMaterials), QStringList{QStringLiteral("Основное письмо")});
        QCOMPARE(comboItems(b.editor->cbCMaterials), QStringList{QStringLiteral("Основное описание")});
        QCOMPARE(b.editor->pcMaterials->currentIndex(), 1);
        QVERIFY(b.editor->isVisible());
        QCOMPARE(b.editor->edtURL_2->text(), QStringLiteral("http://"));
        QCOMPARE(b.editor->windowTitle(), QStringLiteral("Материалы проекта:\"Мой сайт\""));
        QCOMPARE(QString::number(b.editor->loaded(projects::TfrmProjectMaterials::SiteTab).projectId), id);
    }

    void seedsCarryTheStoredDataExactly()
    {
        Bench b;
        ScriptedPrompt p;
        const projects::ProjectData data = tricky();
        p.dialogs = {typeProject(data)};
        b.main->projects->tbnProjectNewClick();
        QVERIFY(p.messages.isEmpty());
        const QString id = QString::number(b.ctx.CurrentProjectId);
        QVERIFY(b.ctx.CurrentProjectId > 0);
        const QStringList project = db().rows(
            QStringLiteral("SELECT project_name, project_url, project_fio, project_email, project_company, project_tel, "
                           "project_fax, project_city, project_country, project_address FROM projects WHERE project_id=")
            + id);
        const QString projectRow = joined(
            {data.name, data.url, data.fio, data.email, data.company, data.tel, data.fax, data.city, data.country, data.address});
        QCOMPARE(project, QStringList{projectRow});
        const QString softRow =
            joined({data.url, data.company, data.country, data.city, data.address, data.address, data.fio, data.fio, data.email,
                    data.fio, data.fio, data.email, data.email, data.email, data.email, data.tel, data.tel, data.tel, data.fax});
        QCOMPARE(
            db().rows(QStringLiteral(
                          "SELECT smaterial_URLSite, smaterial_company, smaterial_Country, smaterial_City, smaterial_Address1, "
                          "smaterial_Address2, smaterial_AFirstName, smaterial_ALastName, smaterial_AEmail, "
                          "smaterial_CFirstName, smaterial_CLastName, smaterial_CEmail, smaterial_GEmail, smaterial_SEmail, "
                          "smaterial_SaEmail, smaterial_GPhone, smaterial_SPhone, smaterial_SaPhone, smaterial_GFAX "
                          "FROM smaterials WHERE smaterial_project_id=")
                      + id),
            QStringList{softRow});
        const QString siteRow =
            joined({data.url, data.address, data.fio, data.email, data.company, data.tel, data.fax, data.city, data.country});
        QCOMPARE(db().rows(QStringLiteral("SELECT cmaterial_url, cmaterial_address, cmaterial_fio, cmaterial_email, "
                                          "cmaterial_company, cmaterial_tel, cmaterial_fax, cmaterial_city, "
                                          "cmaterial_country FROM cmaterials WHERE cmaterial_project_id=")
                           + id),
                 QStringList{siteRow});
        const QString forumRow =
            joined({data.url, data.fio, data.email, data.company, data.tel, data.fax, data.city, data.country});
        QCOMPARE(db().rows(QStringLiteral("SELECT fmaterial_url, fmaterial_fio, fmaterial_email, fmaterial_company, "
                                          "fmaterial_tel, fmaterial_fax, fmaterial_city, fmaterial_country "
                                          "FROM fmaterials WHERE fmaterial_project_id=")
                           + id),
                 QStringList{forumRow});
        // The name with quotes is chosen like any other.
        QCOMPARE(b.main->cbProjects->currentText(), data.name);
        QCOMPARE(b.editor->windowTitle(), QStringLiteral("Материалы проекта:\"") + data.name + QLatin1Char('"'));

        // Editing shows every field as stored and writes it back unchanged.
        projects::ProjectData seen;
        QString mode;
        p.dialogs = {[&](QDialog *d) {
            auto *w = static_cast<projects::TfrmProjectInfo *>(d);
            seen = w->fields();
            mode = w->EditMode;
            w->btnProjectInfoSaveClick();
            return w->result();
        }};
        b.main->projects->N13Click();
        QCOMPARE(mode, QStringLiteral("Edit"));
        QCOMPARE(seen.name, data.name);
        QCOMPARE(seen.url, data.url);
        QCOMPARE(seen.fio, data.fio);
        QCOMPARE(seen.company, data.company);
        QCOMPARE(seen.address, data.address);
        QCOMPARE(db().rows(QStringLiteral("SELECT project_name, project_city FROM projects WHERE project_id=") + id),
                 QStringList{data.name + QLatin1Char('|') + data.city});
        QVERIFY(p.messages.isEmpty());
    }

    void badInputKeepsTheWindowOpen()
    {
        Bench b;
        b.addProject(QStringLiteral("Альфа"));
        ScriptedPrompt p;
        projects::ProjectData noName;
        noName.url = QStringLiteral("http://a.ru");
        noName.fio = QStringLiteral("Кто-то");
        int result = -1;
        QString keptFio;
        p.dialogs = {[&](QDialog *d) {
            auto *w = static_cast<projects::TfrmProjectInfo *>(d);
            w->setFields(noName);
            w->setResult(0);
            w->btnProjectInfoSaveClick();
            result = w->result();
            keptFio = w->edtFIO->text();
            return result;
        }};
        b.main->projects->tbnProjectNewClick();
        QCOMPARE(p.messages, QStringList{kRequired});
        QCOMPARE(result, 0);
        QCOMPARE(keptFio, QStringLiteral("Кто-то"));
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM projects")), QStringLiteral("1"));
        // The editor is not shown for a window closed without a name.
        QVERIFY(!b.editor->isVisible());

        // An empty address.
        p.messages.clear();
        projects::ProjectData noUrl;
        noUrl.name = QStringLiteral("Бета");
        p.dialogs = {typeProject(noUrl, &result)};
        b.main->projects->tbnProjectNewClick();
        QCOMPARE(p.messages, QStringList{kRequired});

        // An existing name (in any letter case) is refused; nothing written.
        p.messages.clear();
        projects::ProjectData dup;
        dup.name = QStringLiteral("альфа");
        dup.url = QStringLiteral("http://");
        p.dialogs = {typeProject(dup, &result)};
        b.main->projects->tbnProjectNewClick();
        QCOMPARE(p.messages, QStringList{kNameExists});
        QCOMPARE(result, 0);
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM projects")), QStringLiteral("1"));
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM cmaterials")), QStringLiteral("0"));
    }

    void failedSeedIsNotReportedAsDone()
    {
        Bench b;
        QVERIFY(db().exec(QStringLiteral("DROP TABLE cgroups")));
        ScriptedPrompt p;
        projects::ProjectData data;
        data.name = QStringLiteral("Гамма");
        data.url = QStringLiteral("http://g.ru");
        int result = -1;
        p.dialogs = {typeProject(data, &result)};
        b.main->projects->tbnProjectNewClick();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Ошибка в запросе:INSERT INTO cgroups")));
        QCOMPARE(result, 0);
        // The rows before the failure stay; the ones after it are not written.
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM sgroups")), QStringLiteral("2"));
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fgroups")), QStringLiteral("0"));
        // Saving again reports the existing name.
        p.messages.clear();
        p.dialogs = {typeProject(data, &result)};
        b.main->projects->tbnProjectNewClick();
        QCOMPARE(p.messages, QStringList{kNameExists});
    }

    void choiceRefreshesTheLists()
    {
        Bench b;
        const int a = b.addProject(QStringLiteral("А"), QStringLiteral("http://a.ru"));
        const int c = b.addProject(QStringLiteral("Без материалов"));
        b.addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Раз & два"), a);
        b.addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Второе"), a);
        const int f1 = b.addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Пресс 1"), a);
        b.addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Пресс 2"), a);
        const int o1 = b.addMaterial(QStringLiteral("omaterials"), QStringLiteral("Письмо 1"), a);
        b.addMaterial(QStringLiteral("omaterials"), QStringLiteral("Чужое"), c);

        ScriptedPrompt p;
        b.ctx.CurrentKind = core::Kind::Catalogs;
        b.ctx.CurrentMaterialId = 777;
        b.ctx.DescriptionsChanged = true;
        b.choose(a);
        QCOMPARE(b.ctx.CurrentProjectId, a);
        QCOMPARE(b.ctx.ProjectUrl, QStringLiteral("http://a.ru"));
        QVERIFY(!b.ctx.DescriptionsChanged);
        QCOMPARE(b.ctx.CurrentMaterialId, 777);
        QCOMPARE(menuKeys(b.main->pmFill), (QStringList{QStringLiteral("Новое описание..."), QStringLiteral("-"),
                                                        QStringLiteral("Раз & два"), QStringLiteral("Второе")}));
        QCOMPARE(b.main->pmFill->actions().at(2)->text(), QStringLiteral("Раз && два"));
        QCOMPARE(comboItems(b.editor->cbCMaterials), (QStringList{QStringLiteral("Раз & два"), QStringLiteral("Второе")}));
        QCOMPARE(b.editor->cbCMaterials->currentIndex(), 0);
        QCOMPARE(comboItems(b.main->cbFMaterials), (QStringList{QStringLiteral("Пресс 1"), QStringLiteral("Пресс 2")}));
        QCOMPARE(comboItems(b.editor->cbFMaterials), comboItems(b.main->cbFMaterials));
        QCOMPARE(comboItems(b.main->cbOMaterials), QStringList{QStringLiteral("Письмо 1")});
        QCOMPARE(menuKeys(b.main->pmWeb), (QStringList{QStringLiteral("Редактировать каталог/форум"), QStringLiteral("-"),
                                                       QStringLiteral("Копировать в буфер обмена"),
                                                       QStringLiteral("Копировать ссылку"), QStringLiteral("Свойства")}));
        // Nothing was loaded into the editor by the choice.
        QVERIFY(!b.editor->loaded(projects::TfrmProjectMaterials::SiteTab).isLoaded());

        // The fill menu's and browser menu's items reach their handlers.
        QAction *clicked = nullptr;
        b.main->FillMenuItemClick = [&](QAction *item) { clicked = item; };
        b.main->pmFill->actions().at(3)->trigger();
        QCOMPARE(clicked ? clicked->data().toString() : QString(), QStringLiteral("Второе"));
        b.main->WebMenuItemClick = [&](QAction *item) { clicked = item; };
        b.main->pmWeb->actions().at(4)->trigger();
        QCOMPARE(clicked->data().toString(), QStringLiteral("Свойства"));

        // In the forums branch the first press release becomes active, in the
        // contacts branch the first letter.
        b.ctx.CurrentKind = core::Kind::Forums;
        b.choose(a);
        QCOMPARE(b.ctx.CurrentMaterialId, f1);
        QCOMPARE(b.ctx.CurrentMaterialName, QStringLiteral("Пресс 1"));
        b.ctx.CurrentKind = core::Kind::Contacts;
        b.choose(a);
        QCOMPARE(b.ctx.CurrentMaterialId, o1);

        // A project without materials: empty lists, two fill menu items.
        b.ctx.CurrentKind = core::Kind::Soft;
        b.choose(c);
        QCOMPARE(b.ctx.CurrentProjectId, c);
        QVERIFY(comboItems(b.editor->cbCMaterials).isEmpty());
        QVERIFY(comboItems(b.main->cbFMaterials).isEmpty());
        QVERIFY(comboItems(b.editor->cbFMaterials).isEmpty());
        QCOMPARE(comboItems(b.main->cbOMaterials), QStringList{QStringLiteral("Чужое")});
        QCOMPARE(menuKeys(b.main->pmFill), (QStringList{QStringLiteral("Новое описание..."), QStringLiteral("-")}));
        QCOMPARE(b.editor->windowTitle(), QStringLiteral("Материалы проекта:\"Без материалов\""));
        QVERIFY(p.messages.isEmpty());
    }

    // After any change of the project the resource list shows nothing of the
    // project left: the project list moved by the keys or the mouse, a new
    // project, a project edited, a project deleted. Moving the list onto the
    // placeholder keeps the project, and the list shows it again.
    void resourceListLeavesWithTheProject()
    {
        Bench b;
        const int a = b.addProject(QStringLiteral("А"));
        const int c = b.addProject(QStringLiteral("Б"));
        QVERIFY(
            db().exec(QStringLiteral("INSERT INTO catalogs SET catalog_name='cat.example', catalog_url='http://cat.example'")));
        const QString cat = one(QStringLiteral("SELECT MAX(catalog_id) FROM catalogs"));
        QVERIFY(db().exec(QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_subject_id=11, s2c_catalog_id=") + cat));
        QVERIFY(db().exec(QStringLiteral("INSERT INTO creglog SET crl_status='2', crl_datetime='2024-01-01 00:00:00', "
                                         "crl_catalog_id=")
                          + cat + QStringLiteral(", crl_project_id=") + QString::number(a)));
        ScriptedPrompt p;
        b.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(b.main.get()));
        QComboBox *cb = b.main->cbProjects;
        QTreeWidget *tree = b.main->trvFilters;
        workbench::ResourceList *list = b.main->resources;
        const int rowA = static_cast<int>(b.main->projectIds.indexOf(a));
        // Project А chosen by the keys, its rubric clicked: its status shows.
        auto showProjectA = [&] {
            cb->setFocus();
            {
                const QSignalBlocker block(cb);
                cb->setCurrentIndex(rowA - 1);
            }
            QTest::keyClick(cb, Qt::Key_Down);
            QTreeWidgetItem *catalogs = b.main->navigator->top(1);
            catalogs->setExpanded(true);
            QTreeWidgetItem *internet = childNamed(catalogs, QStringLiteral("Интернет и компьютеры"));
            if (internet)
                internet->setExpanded(true);
            QTreeWidgetItem *rubric = childNamed(internet, QStringLiteral("Каталоги и поисковые системы"));
            if (!rubric)
                return QStringLiteral("no rubric");
            tree->scrollToItem(rubric);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(rubric).center());
            return QString::number(b.ctx.CurrentProjectId == a) + QLatin1Char('|')
                   + (list->count() == 1 ? list->subItem(0, 0) : QString::number(list->count()));
        };
        const QString shownA = QStringLiteral("1|Добавлен (2024-01-01 00:00:00)");
        auto leftA = [&] {
            return QString::number(b.ctx.CurrentProjectId != a) + QLatin1Char('|') + QString::number(list->count())
                   + QLatin1Char('|') + QString::number(b.ctx.SelectedResourceId);
        };

        QCOMPARE(showProjectA(), shownA);
        QTest::keyClick(cb, Qt::Key_Down);
        QCOMPARE(b.ctx.CurrentProjectId, c);
        QCOMPARE(leftA(), QStringLiteral("1|0|0"));

        QCOMPARE(showProjectA(), shownA);
        chooseByMouse(cb, static_cast<int>(b.main->projectIds.indexOf(c)));
        QCOMPARE(b.ctx.CurrentProjectId, c);
        QCOMPARE(leftA(), QStringLiteral("1|0|0"));

        QCOMPARE(showProjectA(), shownA);
        projects::ProjectData data;
        data.name = QStringLiteral("Новый");
        data.url = QStringLiteral("http://new.example");
        p.dialogs = {typeProject(data)};
        QTest::mouseClick(b.main->tbnProjectNew, Qt::LeftButton);
        QCOMPARE(b.main->cbProjects->currentText(), QStringLiteral("Новый"));
        QCOMPARE(leftA(), QStringLiteral("1|0|0"));
        b.editor->hide();

        // Project А edited: the project is the same, its list refilled by a click.
        QCOMPARE(showProjectA(), shownA);
        p.dialogs = {[](QDialog *d) {
            auto *w = static_cast<projects::TfrmProjectInfo *>(d);
            w->edtCity->setText(QStringLiteral("Тверь"));
            w->btnProjectInfoSaveClick();
            return w->result();
        }};
        b.main->findChild<QAction *>(QStringLiteral("N13"))->trigger();
        QCOMPARE(one(QStringLiteral("SELECT project_city FROM projects WHERE project_id=") + QString::number(a)),
                 QStringLiteral("Тверь"));
        QCOMPARE(b.ctx.CurrentProjectId, a);
        QCOMPARE(list->count(), 0);

        // The placeholder keeps the project: the list shows it again.
        QCOMPARE(showProjectA(), shownA);
        {
            const QSignalBlocker block(cb);
            cb->setCurrentIndex(1);
        }
        QTest::keyClick(cb, Qt::Key_Up);
        QCOMPARE(b.ctx.CurrentProjectId, a);
        QCOMPARE(cb->currentIndex(), rowA);
        QCOMPARE(list->count(), 1);

        p.answers = {true};
        b.main->findChild<QAction *>(QStringLiteral("N23"))->trigger();
        QCOMPARE(cb->currentIndex(), 0);
        QCOMPARE(QString::number(b.ctx.CurrentProjectId) + QLatin1Char('|') + QString::number(list->count()),
                 QStringLiteral("0|0"));
        QVERIFY(p.messages.isEmpty());
    }

    // The materials editor shows, after every project change and whatever
    // command opened it, the material its list names, loaded: its edits go
    // into that row.
    void editorShowsTheListedMaterial()
    {
        Bench b;
        const int a = b.addProject(QStringLiteral("А"));
        const int c = b.addProject(QStringLiteral("Б"));
        b.addMaterial(QStringLiteral("omaterials"), QStringLiteral("Письмо"), a, QStringLiteral("omaterial_subject='Тема А'"));
        const int letterB = b.addMaterial(QStringLiteral("omaterials"), QStringLiteral("Письмо"), c,
                                          QStringLiteral("omaterial_subject='Тема Б'"));
        b.addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Описание"), c,
                      QStringLiteral("cmaterial_url='http://b.example'"));
        ScriptedPrompt p;
        b.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(b.main.get()));
        QComboBox *cb = b.main->cbProjects;
        QAction *letters = b.main->findChild<QAction *>(QStringLiteral("N20"));
        QVERIFY(letters);
        projects::TfrmProjectMaterials *ed = b.editor;

        b.choose(a);
        b.ctx.CurrentMaterialId = 4711;
        letters->trigger();
        QVERIFY(ed->isVisible());
        QCOMPARE(ed->pcMaterials->currentIndex(), 3);
        QCOMPARE(ed->edtSubject->text(), QStringLiteral("Тема А"));
        // Opening the letters changes no active material.
        QCOMPARE(b.ctx.CurrentMaterialId, 4711);

        // Another project by the keys, the editor open: its letter is shown.
        cb->setFocus();
        QTest::keyClick(cb, Qt::Key_Down);
        QCOMPARE(b.ctx.CurrentProjectId, c);
        QCOMPARE(ed->edtSubject->text(), QStringLiteral("Тема Б"));
        ed->memBody->setFocus();
        QTest::keyClicks(ed->memBody, QStringLiteral("Body"));
        QTest::mouseClick(ed->btnMessageSave, Qt::LeftButton);
        QCOMPARE(one(QStringLiteral("SELECT omaterial_body_text FROM omaterials WHERE omaterial_id=") + QString::number(letterB)),
                 QStringLiteral("Body"));
        QCOMPARE(p.messages, QStringList());
        // The tab clicked shows its material too.
        QTabBar *tabs = ed->pcMaterials->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(ed->edtURL_2->text(), QStringLiteral("http://b.example"));

        // The editor hidden, the project changed back: the menu's command
        // opens the letter loaded.
        ed->hide();
        QTest::keyClick(cb, Qt::Key_Up);
        QCOMPARE(b.ctx.CurrentProjectId, a);
        letters->trigger();
        QCOMPARE(ed->edtSubject->text(), QStringLiteral("Тема А"));
        QCOMPARE(ed->loaded(projects::TfrmProjectMaterials::LetterTab).projectId, a);
        QCOMPARE(p.messages, QStringList());
    }

    // While the materials editor, which stays on top, is shown, a box or a
    // dialog asked from the main window opens above it, not behind it: the
    // editor's own input box is its dialog, the project data window stays
    // on top while it is open. The program's own boxes, not scripted ones.
    void dialogsOpenAboveTheMaterialsEditor()
    {
        Bench b;
        const int a = b.addProject(QStringLiteral("А"));
        b.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(b.main.get()));
        b.choose(a);
        b.ctx.CurrentKind = core::Kind::Catalogs;
        QVERIFY(b.editor->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QStringList seen;
        auto look = [&] {
            QTimer::singleShot(0, [&] {
                QDialog *box = nullptr;
                QVERIFY(QTest::qWaitFor([&] {
                    for (QWidget *w : QApplication::topLevelWidgets()) {
                        if (auto *d = qobject_cast<QDialog *>(w); d && d->isVisible())
                            box = d;
                    }
                    return box != nullptr;
                }));
                const QWindow *handle = box->windowHandle();
                seen << QStringLiteral("%1|%2|%3")
                            .arg(box->metaObject()->className())
                            .arg(handle && handle->transientParent() == b.editor->windowHandle())
                            .arg(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                box->reject();
            });
        };
        look();
        QTest::mouseClick(b.main->tbMaterialNew, Qt::LeftButton);
        QVERIFY(b.editor->isVisible());
        look();
        QTest::mouseClick(b.main->tbnProjectNew, Qt::LeftButton);
        QCOMPARE(seen, (QStringList{QStringLiteral("QInputDialog|1|0"), QStringLiteral("qv::projects::TfrmProjectInfo|0|1")}));
        // Closed, the project data window is an ordinary window again.
        QVERIFY(!b.info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void placeholderAndMissingRow()
    {
        Bench b;
        const int a = b.addProject(QStringLiteral("А"));
        const int gone = b.addProject(QStringLiteral("Пропавший"));
        b.addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Описание А"), a);
        ScriptedPrompt p;
        b.choose(a);
        const QStringList fill = menuKeys(b.main->pmFill);

        // The placeholder changes nothing at all.
        b.main->cbProjects->setCurrentIndex(0);
        b.main->projects->cbProjectsChange();
        QCOMPARE(b.ctx.CurrentProjectId, a);
        QCOMPARE(menuKeys(b.main->pmFill), fill);
        QCOMPARE(b.editor->windowTitle(), QStringLiteral("Материалы проекта:\"А\""));

        // A project whose row went away: no project, and no lists of project 0.
        QVERIFY(db().exec(QStringLiteral("DELETE FROM projects WHERE project_id=") + QString::number(gone)));
        QVERIFY(db().exec(QStringLiteral("INSERT INTO cmaterials SET cmaterial_name='Ничей', cmaterial_project_id=0")));
        b.choose(gone);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].startsWith(QStringLiteral("Проект не найден")));
        p.messages.clear();
        QCOMPARE(b.ctx.CurrentProjectId, 0);
        QVERIFY(!menuKeys(b.main->pmFill).contains(QStringLiteral("Ничей")));
        QVERIFY(!comboItems(b.editor->cbCMaterials).contains(QStringLiteral("Ничей")));
        // With no project the editor writes nothing.
        p.inputs = {QStringLiteral("Новое")};
        b.editor->btnCMaterialNewClick();
        QCOMPARE(p.messages, QStringList{kChooseProject});
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM cmaterials")), QStringLiteral("2"));
        // The user's choice in the combo runs the same handler.
        b.main->cbProjects->setCurrentIndex(static_cast<int>(b.main->projectIds.indexOf(a)));
        Q_EMIT b.main->cbProjects->activated(b.main->cbProjects->currentIndex());
        QCOMPARE(b.ctx.CurrentProjectId, a);
    }

    void projectsAreKeptApartById()
    {
        Bench b;
        const int a = b.addProject(QStringLiteral("Первый"), QStringLiteral("http://first.ru"));
        const int c = b.addProject(QStringLiteral("Второй"), QStringLiteral("http://second.ru"));
        ScriptedPrompt p;
        // Renaming the second project to the first one's name is accepted.
        b.choose(c);
        p.dialogs = {[&](QDialog *d) {
            auto *w = static_cast<projects::TfrmProjectInfo *>(d);
            w->edtProjectName->setText(QStringLiteral("Первый"));
            w->btnProjectInfoSaveClick();
            return w->result();
        }};
        b.main->projects->N13Click();
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM projects WHERE project_name='Первый'")), QStringLiteral("2"));
        QCOMPARE(b.ctx.CurrentProjectId, c);
        QCOMPARE(b.main->cbProjects->currentIndex(), static_cast<int>(b.main->projectIds.indexOf(c)));
        // Both entries stay reachable.
        b.choose(a);
        QCOMPARE(b.ctx.ProjectUrl, QStringLiteral("http://first.ru"));
        b.choose(c);
        QCOMPARE(b.ctx.ProjectUrl, QStringLiteral("http://second.ru"));

        // Edit needs a chosen project.
        b.main->cbProjects->setCurrentIndex(0);
        b.main->projects->N13Click();
        QCOMPARE(p.messages, QStringList{kChooseProject});
    }

    void deleteActsOnTheShownProject()
    {
        Bench b;
        const int a = b.addProject(QStringLiteral("Двойник"), QStringLiteral("http://a.ru"));
        const int c = b.addProject(QStringLiteral("Двойник"), QStringLiteral("http://c.ru"));
        b.addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Описание"), c);
        b.addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Пресс"), c);
        ScriptedPrompt p;

        b.main->cbProjects->setCurrentIndex(0);
        b.main->projects->N23Click();
        QCOMPARE(p.messages, QStringList{QStringLiteral("Вы не выбрали проект для удаления!")});

        b.choose(c);
        // "No" keeps it.
        p.answers = {false};
        b.main->projects->N23Click();
        QCOMPARE(p.questions, QStringList{QStringLiteral("Вы действительно хотите удалить проект:\"Двойник\"?")});
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM projects")), QStringLiteral("2"));

        p.answers = {true};
        b.main->projects->N23Click();
        QCOMPARE(db().rows(QStringLiteral("SELECT project_id FROM projects")), QStringList{QString::number(a)});
        QCOMPARE(comboItems(b.main->cbProjects), (QStringList{QStringLiteral("--Выберите проект--"), QStringLiteral("Двойник")}));
        QCOMPARE(b.main->projectIds, (QList<int>{0, a}));
        QCOMPARE(b.main->cbProjects->currentIndex(), 0);
        // The deleted project's materials stay in their tables, but nothing
        // of it is current any more.
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM cmaterials")), QStringLiteral("1"));
        QCOMPARE(b.ctx.CurrentProjectId, 0);
        QVERIFY(comboItems(b.main->cbFMaterials).isEmpty());
        QVERIFY(comboItems(b.editor->cbCMaterials).isEmpty());
        QVERIFY(b.main->pmFill->actions().isEmpty());
        p.messages.clear();
        b.editor->btnCMaterialSaveClick();
        p.inputs = {QStringLiteral("После удаления")};
        b.editor->btnFMaterialNewClick();
        QCOMPARE(p.messages, (QStringList{kChooseProject, kChooseProject}));
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fmaterials")), QStringLiteral("1"));

        // The last project cannot be deleted.
        p.messages.clear();
        b.choose(a);
        b.main->projects->N23Click();
        QCOMPARE(p.messages, QStringList{QStringLiteral("Нельзя удалять последний проект")});
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM projects")), QStringLiteral("1"));
    }

    void projectMenuItems()
    {
        Bench b;
        QStringList texts;
        for (const QAction *a : b.main->pmProject->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        const QStringList expected{QStringLiteral("Софт описание..."),
                                   QStringLiteral("Описания сайта..."),
                                   QStringLiteral("Объявления для досок объявления..."),
                                   QStringLiteral("Объявления для форумов..."),
                                   QStringLiteral("Письма для рассылки..."),
                                   QStringLiteral("-"),
                                   QStringLiteral("Редактировать общие данные проекта..."),
                                   QStringLiteral("-"),
                                   QStringLiteral("Удалить проект...")};
        QCOMPARE(texts.mid(0, expected.size()), expected);
        // The items reach their handlers: without a project they say so.
        ScriptedPrompt p;
        for (QAction *a : b.main->pmProject->actions()) {
            if (a->objectName() == QLatin1String("N2") || a->objectName() == QLatin1String("N13"))
                a->trigger();
        }
        QCOMPARE(p.messages, (QStringList{kChooseProject, kChooseProject}));
    }

    // The project data window writes over a row another copy changed only
    // when the user says so; a name longer than its column is refused with
    // the field named before anything is sent.
    void projectChangedByAnotherCopy()
    {
        Bench b;
        const int id = b.addProject(QStringLiteral("Проект"), QStringLiteral("http://p.ru"));
        const QString where = QStringLiteral(" FROM projects WHERE project_id=") + QString::number(id);
        ScriptedPrompt p;
        qv::test::SecondCopy other(db());
        QVERIFY2(other.ok(), qPrintable(other.error()));
        b.choose(id);
        QStringList seen;
        p.dialogs = {[&](QDialog *d) {
            auto *w = static_cast<projects::TfrmProjectInfo *>(d);
            w->edtProjectName->setText(QString(256, QChar(0x044F)));
            w->edtCity->setText(QStringLiteral("Наш город"));
            other.exec(QStringLiteral("UPDATE projects SET project_fio='Их ФИО' WHERE project_id=") + QString::number(id));
            w->btnProjectInfoSave->click();
            seen << QString::number(p.questions.size()) + QLatin1Char('|') + one(QStringLiteral("SELECT project_city") + where);
            w->edtProjectName->setText(QStringLiteral("Проект"));
            p.answers = {false};
            w->btnProjectInfoSave->click();
            seen << QString::number(w->result()) + QLatin1Char('|') + one(QStringLiteral("SELECT project_city") + where)
                        + QLatin1Char('|') + w->edtCity->text();
            p.answers = {true};
            w->btnProjectInfoSave->click();
            return w->result();
        }};
        b.main->projects->N13Click();
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages[0].contains(QStringLiteral("\"Введите название проекта\""))
                     && p.messages[0].contains(QStringLiteral("255 символов")),
                 qPrintable(p.messages[0]));
        QCOMPARE(seen.value(0), QStringLiteral("0|"));
        QCOMPARE(seen.value(1), QStringLiteral("0||Наш город"));
        QCOMPARE(
            p.questions,
            QStringList(
                2,
                QStringLiteral(
                    "Запись изменена в базе после того, как вы её открыли. Записать ваши изменения поверх?\n"
                    "В другой копии программы изменено поле \"ФИО владельца сайта\"; его значение в базе будет заменено значением из этого окна.")));
        QCOMPARE(db().rows(QStringLiteral("SELECT project_name, project_city, project_fio") + where),
                 QStringList{QStringLiteral("Проект|Наш город|")});
    }
};

QTEST_MAIN(TestProjects)
#include "tst_projects.moc"
