#pragma once
// Driving the main window as a user does: the project list by keyboard, the
// navigator and the resource list by mouse, the tool buttons by a click.
#include "support/pagejs.h"
#include "support/scriptedprompt.h"
#include "workbench/browserpane.h"
#include "workbench/formfiller.h"
#include "workbench/navigator.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbenchfixture.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineView>

namespace qv::test {

// Shows the main window and waits until it is on screen.
inline bool showMain(Workbench &w)
{
    w.main->show();
    return QTest::qWaitForWindowExposed(w.main.get());
}

// Chooses the fixture's project in the project list with the keyboard: the
// entry above it, then the arrow key, which runs the project choice.
inline bool chooseProject(Workbench &w)
{
    QComboBox *cb = w.main->cbProjects;
    const int at = static_cast<int>(w.main->projectIds.indexOf(w.projectId));
    if (at <= 0)
        return false;
    cb->setCurrentIndex(at - 1);
    QTest::keyClick(cb, Qt::Key_Down);
    return cb->currentIndex() == at && w.ctx.CurrentProjectId == w.projectId;
}

// A left click on a navigator node (its branch opened first when needed).
inline void clickNode(Workbench &w, QTreeWidgetItem *node)
{
    QTreeWidget *t = w.main->trvFilters;
    t->scrollToItem(node);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(node).center());
}

// A left click on the resource named `name` in the resource list; false when
// the list does not hold it.
inline bool clickResource(Workbench &w, const QString &name)
{
    workbench::ResourceList &list = *w.main->resources;
    QTableView *view = w.main->lvLinks;
    for (int r = 0; r < list.count(); ++r) {
        if (list.subItem(r, workbench::SubName) != name)
            continue;
        const QModelIndex index = view->model()->index(r, workbench::SubName);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        return list.selectedRow() == r;
    }
    return false;
}

// The main window over the test base, walked as a new user walks it.
struct Road {
    Workbench w;
    ScriptedPrompt p;

    Road() { w.ctx.CurrentUserId = 1; }
    workbench::FormFiller *filler() { return w.main->browser->filler(); }
    // A resource of `table` whose pages are a local form beside the program,
    // in the rubric `rubric`, with the mapping columns given.
    void addResource(const QString &kind, const QString &name, int rubric, const char *html, const QString &mapping)
    {
        const QString file = w.ctx.AppDir + name + QStringLiteral(".html");
        QFile f(file);
        if (f.open(QIODevice::WriteOnly))
            f.write(html);
        f.close();
        const QString url = QUrl::fromLocalFile(file).toString();
        const QString prefix = kind == QLatin1String("soft")     ? QStringLiteral("soft_")
                               : kind == QLatin1String("forums") ? QStringLiteral("forum_")
                                                                 : QStringLiteral("catalog_");
        w.db.exec(QStringLiteral("INSERT INTO %1 SET %2name='%3', %2url='%4', %2aurl='%4'%5")
                      .arg(kind, prefix, name, url, mapping.isEmpty() ? QString() : QStringLiteral(", ") + mapping));
        const int id = w.db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
        if (kind == QLatin1String("soft"))
            w.db.exec(QStringLiteral("INSERT INTO ssubjects2soft SET s2s_soft_id=%1, s2s_subject_id=%2").arg(id).arg(rubric));
        else if (kind == QLatin1String("forums"))
            w.db.exec(QStringLiteral("INSERT INTO fsubjects2forums SET s2f_forum_id=%1, s2f_subject_id=%2").arg(id).arg(rubric));
        else
            w.db.exec(
                QStringLiteral("INSERT INTO csubjects2catalogs SET s2c_catalog_id=%1, s2c_subject_id=%2").arg(id).arg(rubric));
    }
    // The navigator's branch `top`, then the rubric `path` below it.
    bool openRubric(int top, const QStringList &path)
    {
        QTreeWidgetItem *node = w.main->navigator->top(top);
        clickNode(w, node);
        for (const QString &name : path) {
            node = childNamed(node, name);
            if (!node)
                return false;
        }
        clickNode(w, node);
        return w.main->trvFilters->currentItem() == node;
    }
    // Clicks the resource; true once its page has loaded and the fill that
    // follows the load has ended. `p.messages` holds what was shown meanwhile.
    bool openResource(const QString &name)
    {
        p.messages.clear();
        QSignalSpy loads(w.main->Web, &QWebEngineView::loadFinished);
        if (!clickResource(w, name))
            return false;
        QElapsedTimer t;
        t.start();
        auto loaded = [&] {
            for (const auto &args : loads) {
                if (args.first().toBool())
                    return true;
            }
            return false;
        };
        while (!loaded() && t.elapsed() < 20000)
            loads.wait(200);
        if (!loaded())
            return false;
        QTest::qWait(50);
        while (filler()->isBusy() && t.elapsed() < 40000)
            QTest::qWait(50);
        return !filler()->isBusy();
    }
    // A click on "Заполнить"; the messages it showed once the fill has ended.
    QStringList pressFill()
    {
        p.messages.clear();
        QSignalSpy fills(filler(), &workbench::FormFiller::fillFinished);
        QTest::mouseClick(w.main->browser->tbFeel, Qt::LeftButton);
        if (filler()->isBusy())
            fills.wait(20000);
        return p.messages;
    }
    QString value(const char *id)
    {
        return evaluateJs(w.main->Web, QStringLiteral("document.getElementById('%1').value").arg(QString::fromLatin1(id)))
            .toString();
    }
    void clearPage()
    {
        evaluateJs(w.main->Web, QStringLiteral("for (const e of document.querySelectorAll('input,textarea')) e.value=''; 1"));
    }
};

} // namespace qv::test
