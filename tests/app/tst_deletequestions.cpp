// Every question whose Yes deletes has "Нет" as its default button: the
// program asks it as a deleting question, and the real box presses "Нет" on
// Enter.
#include "contacts/contactsview.h"
#include "core/prompt.h"
#include "projects/materialsnavigation.h"
#include "projects/projectchoice.h"
#include "support/scriptedprompt.h"
#include "workbench/filtercommands.h"
#include "workbench/navigator_logic.h"
#include "workbench/sections.h"
#include "workbench/workbenchfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace qv;
using qv::test::childNamed;
using qv::test::click;
using qv::test::ScriptedPrompt;
using qv::test::Workbench;

namespace {
QString asked(const QString &what, const QString &name)
{
    return QStringLiteral("Вы действительно хотите удалить ") + what + QStringLiteral(":\"") + name + QStringLiteral("\"?");
}

// The node named `name` anywhere under the top node `top`, its branch built.
QTreeWidgetItem *nodeUnder(Workbench &w, int top, const QString &name)
{
    QTreeWidgetItem *t = w.main->navigator->top(top);
    click(w, t);
    t->setExpanded(true);
    for (QTreeWidgetItem *n : w.main->trvFilters->findItems(name, Qt::MatchExactly | Qt::MatchRecursive)) {
        for (QTreeWidgetItem *p = n->parent(); p; p = p->parent()) {
            if (p == t)
                return n;
        }
    }
    return nullptr;
}
} // namespace

class TestDeleteQuestions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A project, a press release, a filter, a user section and a contact
    // section, each deleted from its menu item: the question is asked as a
    // deleting one, and "Нет" keeps the row.
    void everyDeleteAsksWithNoAsDefault()
    {
        Workbench w;
        QVERIFY2(w.db.ok(), qPrintable(w.db.error()));
        ScriptedPrompt p;
        p.onQuestion = [](const QString &) { return false; };
        const int pid = w.projectId;
        w.db.exec(QStringLiteral("INSERT INTO projects SET project_name='Второй', project_url='http://b.example'"));
        w.db.exec(QStringLiteral("INSERT INTO fmaterials SET fmaterial_name='Пресс', fmaterial_project_id=%1").arg(pid));
        w.db.exec(QStringLiteral("INSERT INTO cfilters SET cfilter_name='Фильтр'"));
        w.db.exec(QStringLiteral("INSERT INTO cgroups SET cgroup_name='Раздел', cgroup_project_id=%1").arg(pid));
        w.db.exec(QStringLiteral("INSERT INTO osubjects SET osubject_name='Контакты', osubject_pid=0, osubject_project_id=%1")
                      .arg(pid));
        w.main->fillProjects();
        w.main->cbProjects->setCurrentIndex(static_cast<int>(w.main->projectIds.indexOf(pid)));
        w.main->projects->cbProjectsChange();
        QCOMPARE(w.ctx.CurrentProjectId, pid);
        QStringList expected;

        QAction *deleteProject = w.main->pmProject->findChild<QAction *>(QStringLiteral("N23"));
        QVERIFY(deleteProject);
        deleteProject->trigger();
        expected << asked(QStringLiteral("проект"), QStringLiteral("Проект"));

        QTreeWidgetItem *rubric = w.main->navigator->top(workbench::TopForums);
        click(w, rubric);
        QVERIFY(rubric->childCount() > 0);
        click(w, rubric->child(0));
        QCOMPARE(w.main->cbFMaterials->currentText(), QStringLiteral("Пресс"));
        w.main->materials->MenuItem3->trigger();
        expected << asked(QStringLiteral("пресс-релиз для форумов"), QStringLiteral("Пресс"));

        QTreeWidgetItem *filter = nodeUnder(w, workbench::TopCatalogs, QStringLiteral("Фильтр"));
        QVERIFY(filter);
        click(w, filter);
        w.main->filters->N35->trigger();
        expected << asked(QStringLiteral("фильтр"), QStringLiteral("Фильтр"));

        QTreeWidgetItem *section = nodeUnder(w, workbench::TopCatalogs, QStringLiteral("Раздел"));
        QVERIFY(section);
        click(w, section);
        w.main->sections->N39->trigger();
        expected << asked(QStringLiteral("раздел"), QStringLiteral("Раздел"));

        QTreeWidgetItem *contacts = nodeUnder(w, workbench::TopContacts, QStringLiteral("Контакты"));
        QVERIFY(contacts);
        click(w, contacts);
        w.main->contacts->N21->trigger();
        expected << asked(QStringLiteral("раздел"), QStringLiteral("Контакты"));

        QCOMPARE(p.questions, expected);
        QCOMPARE(p.deleteQuestions, expected);
        for (const char *table : {"projects", "fmaterials", "cfilters", "cgroups", "osubjects"})
            QVERIFY2(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table)).toInt() > 0, table);
        QCOMPARE(w.db.scalar(QStringLiteral("SELECT COUNT(*) FROM projects")), QStringLiteral("2"));
    }

    // The real box: "Нет" is the default button and Enter answers it; the
    // other questions keep Qt's default.
    void theRealBoxAnswersNoOnEnter()
    {
        core::setPrompt(nullptr);
        QString defaultText;
        auto pressEnter = [&defaultText] {
            QTimer::singleShot(50, [&defaultText] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
                QTest::keyClick(box, Qt::Key_Return);
            });
        };
        pressEnter();
        QVERIFY(!core::prompt().deleteQuestion(asked(QStringLiteral("фильтр"), QStringLiteral("Ф"))));
        QCOMPARE(defaultText, QMessageBox(QMessageBox::Question, {}, {}, QMessageBox::No).button(QMessageBox::No)->text());
        pressEnter();
        QVERIFY(core::prompt().question(QStringLiteral("Сохранить?")));
    }
};

QTEST_MAIN(TestDeleteQuestions)
#include "tst_deletequestions.moc"
