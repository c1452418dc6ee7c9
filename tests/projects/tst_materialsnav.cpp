// The main window's side of the materials against a real database: the
// active press release and letter, the commands that open the editor, and the
// rename and delete of the active press release.
#include "bench.h"
#include "projects/materialsnavigation.h"
#include "projects/projectchoice.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "support/scriptedprompt.h"
#include "support/testdb.h"
#include "workbench/navigator.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QtTest>

using namespace qv;
using namespace qv::projects;
using qv::test::Bench;
using qv::test::comboItems;
using qv::test::ScriptedPrompt;
using qv::test::TestDb;

class TestMaterialsNav : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<Bench> m_bench;
    int m_a = 0;
    int m_f1 = 0, m_f2 = 0, m_o1 = 0, m_o2 = 0;

    TestDb &db() { return *m_db; }
    Bench &b() { return *m_bench; }
    TfrmProjectMaterials &ed() { return *m_bench->editor; }
    MaterialsNavigation &nav() { return *m_bench->main->materials; }
    QString one(const QString &sql) { return db().scalar(sql); }

    // Selects a node of the forums branch below its top node, as a click on
    // it would, without the navigator's own reaction.
    void selectForumsChild()
    {
        QTreeWidget *tree = b().main->trvFilters;
        QTreeWidgetItem *forums = tree->topLevelItem(2);
        if (forums->childCount() == 0)
            forums->addChild(new QTreeWidgetItem(QStringList{QStringLiteral("раздел")}));
        const QSignalBlocker block(tree);
        tree->setCurrentItem(forums->child(0));
    }
    void chooseActive(QComboBox *list, int index)
    {
        list->setCurrentIndex(index);
        Q_EMIT list->activated(index);
    }

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDb>(TestDb::WithSeed);
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        m_bench = std::make_unique<Bench>();
        m_a = b().addProject(QStringLiteral("Проект"));
        const int other = b().addProject(QStringLiteral("Другой"));
        // Ids of one table do not tell anything about another's.
        m_o1 = b().addMaterial(QStringLiteral("omaterials"), QStringLiteral("Письмо 1"), m_a);
        m_o2 = b().addMaterial(QStringLiteral("omaterials"), QStringLiteral("Письмо 2"), m_a,
                               QStringLiteral("omaterial_subject='тема 2'"));
        b().addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Пресс 1"), other);
        m_f1 = b().addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Пресс 1"), m_a);
        m_f2 = b().addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Пресс 2"), m_a,
                               QStringLiteral("fmaterial_title='тема пресс 2'"));
        b().addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Первое"), m_a);
        b().addMaterial(QStringLiteral("cmaterials"), QStringLiteral("Второе"), m_a,
                        QStringLiteral("cmaterial_title='второе описание'"));
        b().choose(m_a);
    }
    void cleanup()
    {
        m_bench.reset();
        m_db.reset();
    }

    void mainListsDriveTheActiveMaterial()
    {
        ScriptedPrompt p;
        // The navigator asks the lists when a branch is entered.
        QVERIFY(b().main->navigator);
        QVERIFY(b().main->navigator->cbFMaterialsChange);
        QVERIFY(b().main->navigator->cbOMaterialsChange);

        chooseActive(b().main->cbFMaterials, 1);
        QCOMPARE(b().ctx.CurrentMaterialId, m_f2);
        QCOMPARE(b().ctx.CurrentMaterialName, QStringLiteral("Пресс 2"));
        QCOMPARE(nav().activePressRelease()->id, m_f2);
        chooseActive(b().main->cbOMaterials, 1);
        QCOMPARE(b().ctx.CurrentMaterialId, m_o2);
        QCOMPARE(nav().activeLetter()->id, m_o2);
        // The press release with the first name of this project, not of another.
        chooseActive(b().main->cbFMaterials, 0);
        QCOMPARE(b().ctx.CurrentMaterialId, m_f1);

        // Two press releases of one name stay apart.
        const int twin = b().addMaterial(QStringLiteral("fmaterials"), QStringLiteral("Пресс 1"), m_a);
        b().choose(m_a);
        chooseActive(b().main->cbFMaterials, 2);
        QCOMPARE(b().ctx.CurrentMaterialId, twin);

        // An empty list: no name, the id stays.
        b().main->cbFMaterials->clear();
        nav().cbFMaterialsChange();
        QVERIFY(b().ctx.CurrentMaterialName.isEmpty());
        QCOMPARE(b().ctx.CurrentMaterialId, twin);
        QVERIFY(!nav().activePressRelease());
        QVERIFY(p.messages.isEmpty());
    }

    // From the start, before any click in the navigator, the caption beside
    // the press release list names that list.
    void captionNamesTheActiveList()
    {
        QCOMPARE(comboItems(b().main->cbFMaterials), (QStringList{QStringLiteral("Пресс 1"), QStringLiteral("Пресс 2")}));
        QCOMPARE(b().main->pnlMaterialName->text(), QStringLiteral(" Активное объявление:"));
    }

    void renameTheActivePressRelease()
    {
        ScriptedPrompt p;
        chooseActive(b().main->cbFMaterials, 1);
        // The editor loads a letter: the active press release stays.
        nav().N20Click();
        ed().cbOMaterialsChange();
        QCOMPARE(b().ctx.CurrentMaterialId, m_o1);

        // Only with a node below a top node.
        {
            const QSignalBlocker block(b().main->trvFilters);
            b().main->trvFilters->setCurrentItem(b().main->trvFilters->topLevelItem(2));
        }
        nav().MenuItem1Click();
        QVERIFY(p.inputCaptions.isEmpty());

        selectForumsChild();
        // Cancel renames nothing; an empty name is refused.
        p.inputs = {std::nullopt, QString()};
        nav().MenuItem1Click();
        nav().MenuItem1Click();
        QCOMPARE(p.inputCaptions, (QStringList{QStringLiteral("Переименование названия пресс-релиза для форумов"),
                                               QStringLiteral("Переименование названия пресс-релиза для форумов")}));
        QCOMPARE(p.messages, QStringList{QStringLiteral("Название пресс-релиза для форумов не должно быть пустым!")});
        QCOMPARE(one(QStringLiteral("SELECT fmaterial_name FROM fmaterials WHERE fmaterial_id=") + QString::number(m_f2)),
                 QStringLiteral("Пресс 2"));

        // A new name (a duplicate is allowed) goes to the active press release.
        const QString name = QStringLiteral("Пресс \"1\" 'новый' \\");
        p.inputs = {name, QStringLiteral("Пресс 1")};
        nav().MenuItem1Click();
        QCOMPARE(one(QStringLiteral("SELECT fmaterial_name FROM fmaterials WHERE fmaterial_id=") + QString::number(m_f2)), name);
        QCOMPARE(one(QStringLiteral("SELECT fmaterial_name FROM fmaterials WHERE fmaterial_id=") + QString::number(m_f1)),
                 QStringLiteral("Пресс 1"));
        // Not the press release that happens to carry the loaded letter's id.
        QCOMPARE(one(QStringLiteral("SELECT fmaterial_name FROM fmaterials WHERE fmaterial_id=") + QString::number(m_o1)),
                 QStringLiteral("Пресс 1"));
        QCOMPARE(comboItems(b().main->cbFMaterials), (QStringList{QStringLiteral("Пресс 1"), name}));
        QCOMPARE(comboItems(ed().cbFMaterials), (QStringList{QStringLiteral("Пресс 1"), name}));
        QCOMPARE(b().main->cbFMaterials->currentText(), name);
        nav().MenuItem1Click();
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fmaterials WHERE fmaterial_name='Пресс 1' AND "
                                    "fmaterial_project_id=")
                     + QString::number(m_a)),
                 QStringLiteral("2"));
        QCOMPARE(p.messages.size(), 1);
        // No project chosen: nothing to rename.
        b().main->cbFMaterials->clear();
        nav().MenuItem1Click();
        QCOMPARE(p.inputCaptions.size(), 4);
    }

    void deleteTheActivePressRelease()
    {
        ScriptedPrompt p;
        chooseActive(b().main->cbFMaterials, 1);
        nav().N17Click();
        ed().cbFMaterials->setCurrentIndex(1);
        ed().cbFMaterialsChange();
        selectForumsChild();
        p.answers = {false};
        nav().MenuItem3Click();
        QCOMPARE(p.questions,
                 QStringList{QStringLiteral("Вы действительно хотите удалить пресс-релиз для форумов:\"Пресс 2\"?")});
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fmaterials")), QStringLiteral("3"));

        p.answers = {true};
        nav().MenuItem3Click();
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fmaterials WHERE fmaterial_id=") + QString::number(m_f2)),
                 QStringLiteral("0"));
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fmaterials")), QStringLiteral("2"));
        QCOMPARE(comboItems(b().main->cbFMaterials), QStringList{QStringLiteral("Пресс 1")});
        QCOMPARE(comboItems(ed().cbFMaterials), QStringList{QStringLiteral("Пресс 1")});
        // The editor showed the deleted one: it holds no row now.
        QVERIFY(!ed().loaded(TfrmProjectMaterials::ForumTab).isLoaded());
        QCOMPARE(b().ctx.CurrentMaterialId, m_f1);
        QCOMPARE(b().ctx.CurrentMaterialName, QStringLiteral("Пресс 1"));

        p.answers = {true};
        nav().MenuItem3Click();
        QVERIFY(comboItems(b().main->cbFMaterials).isEmpty());
        QVERIFY(b().ctx.CurrentMaterialName.isEmpty());
        QCOMPARE(b().ctx.CurrentMaterialId, 0);
        // The other project's press release of the same name stays.
        QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM fmaterials")), QStringLiteral("1"));
        // Nothing active: nothing asked.
        nav().MenuItem3Click();
        QCOMPARE(p.questions.size(), 3);
    }

    void editAndNewByKind()
    {
        ScriptedPrompt p;
        // No active material: nothing.
        b().ctx.CurrentMaterialName.clear();
        nav().tbMaterialEditClick();
        QVERIFY(!ed().isVisible());

        b().ctx.CurrentKind = core::Kind::Forums;
        chooseActive(b().main->cbFMaterials, 1);
        nav().tbMaterialEditClick();
        QVERIFY(ed().isVisible());
        QCOMPARE(ed().pcMaterials->currentIndex(), 2);
        QCOMPARE(ed().cbFMaterials->currentText(), QStringLiteral("Пресс 2"));
        QCOMPARE(ed().edtTitle_8->text(), QStringLiteral("тема пресс 2"));

        b().ctx.CurrentKind = core::Kind::Catalogs;
        b().ctx.CurrentMaterialName = QStringLiteral("Второе");
        nav().tbMaterialEditClick();
        QCOMPARE(ed().pcMaterials->currentIndex(), 1);
        QCOMPARE(ed().edtTitle_2->text(), QStringLiteral("второе описание"));

        // The contacts branch keeps the tab.
        b().ctx.CurrentKind = core::Kind::Contacts;
        nav().tbMaterialEditClick();
        QCOMPARE(ed().pcMaterials->currentIndex(), 1);

        // New by kind: forums makes a press release, contacts nothing.
        p.inputs = {QStringLiteral("С кнопки")};
        b().ctx.CurrentKind = core::Kind::Forums;
        nav().tbMaterialNewClick();
        QCOMPARE(p.inputCaptions, QStringList{QStringLiteral("Создание нового объявления")});
        QCOMPARE(ed().pcMaterials->currentIndex(), 2);
        QCOMPARE(ed().cbFMaterials->currentText(), QStringLiteral("С кнопки"));
        b().ctx.CurrentKind = core::Kind::Contacts;
        nav().tbMaterialNewClick();
        QCOMPARE(p.inputCaptions.size(), 1);

        // The contacts tool bar: the active letter, and a new letter.
        chooseActive(b().main->cbOMaterials, 1);
        nav().ToolButton1->click();
        QCOMPARE(ed().pcMaterials->currentIndex(), 3);
        QCOMPARE(ed().cbOMaterials->currentText(), QStringLiteral("Письмо 2"));
        QCOMPARE(ed().edtSubject->text(), QStringLiteral("тема 2"));
        p.inputs = {QStringLiteral("Третье письмо")};
        nav().ToolButton19->click();
        QCOMPARE(b().main->cbOMaterials->currentText(), QStringLiteral("Третье письмо"));
        QCOMPARE(ed().cbOMaterials->currentText(), QStringLiteral("Третье письмо"));

        // The fill menu's new description: the editor on tab 1, asked for a name.
        p.inputs = {QStringLiteral("Из меню")};
        nav().openNewSiteDescription();
        QCOMPARE(ed().pcMaterials->currentIndex(), 1);
        QCOMPARE(p.inputCaptions.constLast(), QStringLiteral("Создание нового описания"));
        QCOMPARE(ed().cbCMaterials->currentText(), QStringLiteral("Из меню"));
        QCOMPARE(b().main->pmFill->actions().constLast()->data().toString(), QStringLiteral("Из меню"));
        QVERIFY(p.messages.isEmpty());
    }

    void projectChoiceCollapsesTheNavigator()
    {
        ScriptedPrompt p;
        QTreeWidget *tree = b().main->trvFilters;
        QVERIFY(tree->topLevelItemCount() >= 6);
        {
            const QSignalBlocker block(tree);
            for (int i = 0; i < 6; ++i)
                tree->topLevelItem(i)->setExpanded(true);
        }
        b().choose(m_a);
        for (int i = 0; i < 6; ++i)
            QVERIFY(!tree->topLevelItem(i)->isExpanded());
        // Without the navigator the tree is collapsed all the same, subtrees too.
        QObject::disconnect(tree, nullptr, b().main->navigator, nullptr);
        b().main->navigator = nullptr;
        tree->clear();
        auto *top = new QTreeWidgetItem(tree, QStringList{QStringLiteral("верх")});
        auto *mid = new QTreeWidgetItem(top, QStringList{QStringLiteral("середина")});
        new QTreeWidgetItem(mid, QStringList{QStringLiteral("низ")});
        top->setExpanded(true);
        mid->setExpanded(true);
        b().choose(m_a);
        QVERIFY(!top->isExpanded());
        QVERIFY(!mid->isExpanded());
        // The browser goes to the maker's start page.
        QTRY_COMPARE(b().main->Web->url().path(), QStringLiteral("/program3_start.php"));
    }
};

QTEST_MAIN(TestMaterialsNav)
#include "tst_materialsnav.moc"
