// The check-state tree: propagation down the subtree, the ignore value, the
// state-image click, the resync when recursion is switched on, the stream, and
// the tree view control routing clicks and assignments.
#include "controls/checkstatetree.h"
#include "controls/tmirztreeview.h"

#include <QBuffer>
#include <QtTest>

using namespace qv::controls;

class TestCheckStateTree : public QObject {
    Q_OBJECT
private:
    // root
    //   a        (children a1, a2)
    //   ignored  (state 0, child i1)
    //   b        (child b1 with child b11)
    struct Fixture {
        PlainStateTree t;
        int root, a, a1, a2, ignored, i1, b, b1, b11;
        Fixture()
        {
            root = t.add(-1, StateUnticked);
            a = t.add(root, StateUnticked);
            a1 = t.add(a, StateUnticked);
            a2 = t.add(a, StateUnticked);
            ignored = t.add(root, StateNone);
            i1 = t.add(ignored, StateUnticked);
            b = t.add(root, StateUnticked);
            b1 = t.add(b, StateUnticked);
            b11 = t.add(b1, StateUnticked);
        }
    };

private Q_SLOTS:
    void tickingParentTicksSubtreeExceptIgnoredBranch()
    {
        Fixture f;
        f.t.SetStateRecursion(true);
        f.t.setState(f.root, StateTicked);
        for (int n : {f.root, f.a, f.a1, f.a2, f.b, f.b1, f.b11})
            QCOMPARE(f.t.state(n), int(StateTicked));
        QCOMPARE(f.t.state(f.ignored), int(StateNone));
        QCOMPARE(f.t.state(f.i1), int(StateUnticked));
        QVERIFY(f.t.StateRecursion());

        f.t.setState(f.root, StateUnticked);
        for (int n : {f.root, f.a, f.a1, f.a2, f.b, f.b1, f.b11})
            QCOMPARE(f.t.state(n), int(StateUnticked));
        QCOMPARE(f.t.state(f.ignored), int(StateNone));
    }

    void childAlreadyInNewStateIsNotDescended()
    {
        Fixture f;
        f.t.SetStateRecursion(true);
        f.t.setState(f.b1, StateTicked);
        QCOMPARE(f.t.state(f.b11), int(StateTicked));
        f.t.setState(f.b11, StateUnticked);
        f.t.setState(f.root, StateTicked);
        QCOMPARE(f.t.state(f.b), int(StateTicked));
        // b1 already had the new state: b11 keeps its own.
        QCOMPARE(f.t.state(f.b1), int(StateTicked));
        QCOMPARE(f.t.state(f.b11), int(StateUnticked));
    }

    void untickingChildLeavesParentTicked()
    {
        Fixture f;
        f.t.SetStateRecursion(true);
        f.t.setState(f.root, StateTicked);
        f.t.setState(f.a1, StateUnticked);
        QCOMPARE(f.t.state(f.a1), int(StateUnticked));
        QCOMPARE(f.t.state(f.a), int(StateTicked));
        QCOMPARE(f.t.state(f.root), int(StateTicked));
        QCOMPARE(f.t.state(f.a2), int(StateTicked));
    }

    void recursionOffNeitherClicksNorPropagates()
    {
        Fixture f;
        f.t.click(f.a);
        QCOMPARE(f.t.state(f.a), int(StateUnticked));
        f.t.setState(f.a, StateTicked);
        QCOMPARE(f.t.state(f.a), int(StateTicked));
        QCOMPARE(f.t.state(f.a1), int(StateUnticked));
        QCOMPARE(f.t.propagations, 0);
    }

    void switchingRecursionOnNormalisesTheTree()
    {
        PlainStateTree t;
        const int r = t.add(-1, StateUnset);
        const int c = t.add(r, StateUnset);
        const int ticked = t.add(-1, StateTicked);
        const int under = t.add(ticked, StateUnset);
        const int under2 = t.add(ticked, StateUnticked);
        const int ign = t.add(-1, StateNone);
        const int ignChild = t.add(ign, StateUnset);
        t.SetStateRecursion(true);
        QCOMPARE(t.state(r), int(StateUnticked));
        QCOMPARE(t.state(c), int(StateUnticked));
        QCOMPARE(t.state(under), int(StateTicked));
        QCOMPARE(t.state(under2), int(StateTicked));
        QCOMPARE(t.state(ign), int(StateNone));
        QCOMPARE(t.state(ignChild), int(StateUnset)); // an ignored branch is skipped
        // Switching on again when already on does nothing.
        t.setState(under2, StateUnticked);
        t.SetStateRecursion(true);
        QCOMPARE(t.state(under2), int(StateUnticked));
    }

    void clickSteps()
    {
        QCOMPARE(CheckStateTree::nextClickState(1), 2);
        QCOMPARE(CheckStateTree::nextClickState(2), 1);
        QCOMPARE(CheckStateTree::nextClickState(3), 1);
        QCOMPARE(CheckStateTree::nextClickState(0), 1);
        QCOMPARE(CheckStateTree::nextClickState(-1), 0);

        Fixture f;
        f.t.SetStateRecursion(true);
        f.t.click(f.a);
        QCOMPARE(f.t.state(f.a), int(StateTicked));
        QCOMPARE(f.t.state(f.a1), int(StateTicked));
        f.t.click(f.a);
        QCOMPARE(f.t.state(f.a), int(StateUnticked));
        QCOMPARE(f.t.state(f.a2), int(StateUnticked));
        // No parent is ever recomputed or greyed.
        QCOMPARE(f.t.state(f.root), int(StateUnticked));
    }

    void assigningInIndexOrderKeepsEachLastAssignment()
    {
        Fixture f;
        f.t.SetStateRecursion(true);
        const QList<int> wanted = {2, 1, 2, 1, 0, 2, 2, 1, 2};
        for (int i = 0; i < f.t.count(); ++i)
            f.t.setState(i, wanted[i]);
        for (int i = 0; i < f.t.count(); ++i)
            QCOMPARE(f.t.state(i), wanted[i]);
    }

    void assigningSameStateAgainPropagatesAgain()
    {
        Fixture f;
        f.t.SetStateRecursion(true);
        f.t.setState(f.a, StateTicked);
        f.t.setState(f.a1, StateUnticked);
        QCOMPARE(f.t.state(f.a1), int(StateUnticked));
        f.t.setState(f.a, StateTicked);
        QCOMPARE(f.t.state(f.a1), int(StateTicked));
    }

    void streamRoundTrip()
    {
        Fixture f;
        f.t.SetStateRecursion(true);
        f.t.setState(f.b, StateTicked);
        f.t.setState(f.a2, StateTicked);
        QList<int> before;
        for (int i = 0; i < f.t.count(); ++i)
            before << f.t.state(i);
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        f.t.StatesSaveToStream(buf);
        // root, a, a1, a2, ignored (ends its chain: b and the rest are not written)
        QCOMPARE(buf.data().size(), 5 * 4);
        QCOMPARE(buf.data().left(4), QByteArray("\x01\x00\x00\x00", 4));

        Fixture g;
        g.t.setState(g.a2, StateTicked);
        g.t.setState(g.a, StateTicked);
        buf.close();
        buf.open(QIODevice::ReadOnly);
        g.t.StatesLoadFromStream(buf);
        QCOMPARE(g.t.state(g.a), before[f.a]);
        QCOMPARE(g.t.state(g.a2), before[f.a2]);
        QCOMPARE(g.t.state(g.root), before[f.root]);
    }

    void treeViewClickOnStateImage()
    {
        TmirzTreeView view;
        view.resize(300, 300);
        auto *root = new QTreeWidgetItem(QStringList{QStringLiteral("Корень")});
        auto *child = new QTreeWidgetItem(QStringList{QStringLiteral("Ветка")});
        root->addChild(child);
        view.addTopLevelItem(root);
        view.expandAll();
        view.setState(root, StateUnticked);
        view.setState(child, StateUnticked);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        // Off: a click on the image changes nothing.
        const QPoint onImage = view.stateImageRect(root).center();
        QVERIFY(!onImage.isNull());
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onImage);
        QCOMPARE(TmirzTreeView::state(root), int(StateUnticked));

        view.SetStateRecursion(true);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onImage);
        QCOMPARE(view.currentItem(), root);
        QCOMPARE(TmirzTreeView::state(root), int(StateTicked));
        QCOMPARE(TmirzTreeView::state(child), int(StateTicked));

        // A right click toggles like a left one.
        QTest::mouseClick(view.viewport(), Qt::RightButton, {}, onImage);
        QCOMPARE(TmirzTreeView::state(root), int(StateUnticked));
        QCOMPARE(TmirzTreeView::state(child), int(StateUnticked));

        // A click on the text does not toggle.
        const QRect text = view.visualItemRect(root);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(text.right() - 4, text.center().y()));
        QCOMPARE(TmirzTreeView::state(root), int(StateUnticked));
    }

    void treeViewUpdatesPropagate()
    {
        TmirzTreeView view;
        auto *root = new QTreeWidgetItem(QStringList{QStringLiteral("Корень")});
        auto *child = new QTreeWidgetItem(QStringList{QStringLiteral("Ветка")});
        auto *grand = new QTreeWidgetItem(QStringList{QStringLiteral("Лист")});
        child->addChild(grand);
        root->addChild(child);
        view.addTopLevelItem(root);
        QCOMPARE(TmirzTreeView::state(root), int(StateUnset));
        view.setStateIgnore(0);
        view.SetStateRecursion(true);
        QCOMPARE(TmirzTreeView::state(grand), int(StateUnticked));
        view.setState(root, StateTicked);
        QCOMPARE(TmirzTreeView::state(grand), int(StateTicked));
        // Another update of a ticked node pushes its state down again.
        view.setState(child, StateUnticked);
        QCOMPARE(TmirzTreeView::state(grand), int(StateUnticked));
        root->setText(0, QStringLiteral("Корень 2"));
        QCOMPARE(TmirzTreeView::state(child), int(StateTicked));
        QCOMPARE(TmirzTreeView::state(grand), int(StateTicked));
        // Recursion off: assignments stay where they are made.
        view.SetStateRecursion(false);
        view.setState(root, StateUnticked);
        QCOMPARE(TmirzTreeView::state(grand), int(StateTicked));
        QCOMPARE(view.Version(), QStringLiteral(".1 beta"));
    }

    // States given while the tree loads: endLoad normalises them (a ticked
    // parent ticks its subtree), endLoadAsAssigned keeps each as given; a
    // click afterwards still pushes down.
    void loadingEndsWithOrWithoutTheResync()
    {
        for (const bool asAssigned : {false, true}) {
            TmirzTreeView view;
            auto *root = new QTreeWidgetItem(QStringList{QStringLiteral("Корень")});
            auto *child = new QTreeWidgetItem(QStringList{QStringLiteral("Ветка")});
            root->addChild(child);
            view.addTopLevelItem(root);
            view.SetStateRecursion(true);
            view.beginLoad();
            view.setState(root, StateTicked);
            view.setState(child, StateUnticked);
            if (asAssigned)
                view.endLoadAsAssigned();
            else
                view.endLoad();
            QCOMPARE(TmirzTreeView::state(root), int(StateTicked));
            QCOMPARE(TmirzTreeView::state(child), asAssigned ? int(StateUnticked) : int(StateTicked));
            view.stateIconClicked(root);
            view.stateIconClicked(root);
            QCOMPARE(TmirzTreeView::state(child), int(StateTicked));
        }
    }
};

QTEST_MAIN(TestCheckStateTree)
#include "tst_checkstatetree.moc"
