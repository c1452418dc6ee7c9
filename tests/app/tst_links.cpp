// Every link command opens its page of the maker's site; the exit window.
#include "core/appcontext.h"
#include "app/makerlinks.h"
#include "app/program.h"
#include "app/tfrmhelp.h"
#include "app/tfrmmain.h"
#include "support/scriptedprompt.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;
using qv::test::ScriptedPrompt;

class TestLinks : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    app::Program m_program;

private Q_SLOTS:
    void initTestCase()
    {
        QFile f(m_dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Hosts]\nmaker=maker.test:8080\n");
        f.close();
        m_program.ctx.AppDir = m_dir.path() + QLatin1Char('/');
        m_program.ctx.readConfig();
        m_program.mainWindow = std::make_unique<app::TfrmMain>(m_program.ctx);
        m_program.createWindows();
    }

    void everyCommandOpensItsAddress_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("address");
        const QString site = QStringLiteral("http://maker.test:8080");
        const QList<QStringList> table = {
            {"frmMain", "N1", ""},
            {"frmMain", "N28", "/index.php?topic=23.0"},
            {"frmMain", "N26", "/index.php?topic=22.0"},
            {"frmMain", "N38", "/index.php?topic=24.0"},
            {"frmMain", "N11", "/new/index.php?board=6.0"},
            {"frmMain", "N3", "/new/index.php?board=4.0"},
            {"frmMain", "N12", "/new/index.php?board=4.0"},
            {"frmHelp", "Button2", "/index.php?topic=17.0"},
            {"frmHelp", "Button3", "/index.php?topic=18.0"},
            {"frmHelp", "Button4", "/index.php?topic=19.0"},
            {"frmHelp", "Button6", "/index.php?action=register"},
            {"frmHelp", "Button7", "/index.php?action=post;board=3.0"},
            {"frmHelp", "Button8", "/index.php?action=post;board=1.0"},
            {"frmGoAd", "BitBtn1", "/pad/Hosting.php"},
            {"frmGoAd", "BitBtn2", "/pad/SeoSoft.php"},
            {"frmGoAd", "BitBtn3", "/pad/SeoStudios.php"},
            {"frmGoAd", "BitBtn4", "/pad/Partners.php"},
        };
        for (const QStringList &row : table)
            QTest::newRow(qPrintable(row[0] + QLatin1Char('.') + row[1])) << row[0] << row[1] << site + row[2];
        QCOMPARE(app::MakerLinks().size(), table.size());
    }
    void everyCommandOpensItsAddress()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, address);
        ScriptedPrompt p;
        if (window == QLatin1String("frmMain")) {
            auto *action = m_program.mainWindow->findChild<QAction *>(control);
            QVERIFY(action);
            action->trigger();
        } else {
            QWidget *w = window == QLatin1String("frmHelp") ? static_cast<QWidget *>(m_program.windows.frmHelp)
                                                            : m_program.windows.frmGoAd;
            auto *button = w->findChild<QPushButton *>(control);
            QVERIFY(button);
            button->click();
        }
        QCOMPARE(p.openedUrls, QList<QUrl>{QUrl(address)});
        QVERIFY(p.started.isEmpty());
    }

    void pluginMenuStartsWithItsFixedItems()
    {
        const QList<QAction *> items = m_program.mainWindow->pmPlugins->actions();
        QVERIFY(items.size() >= 4);
        QCOMPARE(items[0]->text(), QStringLiteral("Как создать плагин..."));
        QCOMPARE(items[1]->text(), QStringLiteral("Как установить новый плагин..."));
        QCOMPARE(items[2]->text(), QStringLiteral("Плагины из Интернет..."));
        QVERIFY(items[3]->isSeparator());
    }

    void supportWindowFromTheLabel()
    {
        ScriptedPrompt p;
        p.dialogs = {[](QDialog *) { return 1; }};
        m_program.mainWindow->lbAdLinkClick();
        QCOMPARE(p.dialogsShown, QStringList{QStringLiteral("frmHelp")});
    }

    // "<< Редактировать" and "Авто-проверка" have no command of their own: a
    // click on their main part opens their menu.
    void splitButtonsOpenTheirMenu_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("<< Редактировать") << QStringLiteral("tbProjectEdit");
        QTest::newRow("Авто-проверка") << QStringLiteral("tbAutoCheck");
    }
    void splitButtonsOpenTheirMenu()
    {
        QFETCH(QString, button);
        app::TfrmMain &w = *m_program.mainWindow;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *b = w.findChild<QToolButton *>(button);
        QVERIFY(b && b->menu() && b->isVisible());
        QPointer<QWidget> shown;
        QTimer::singleShot(0, &w, [&shown] {
            shown = QApplication::activePopupWidget();
            if (shown)
                shown->close();
        });
        // The main part, left of the arrow.
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
        QTest::qWait(10);
        QCOMPARE(shown.data(), static_cast<QWidget *>(b->menu()));
        w.hide();
    }

    void closingShowsRecommendationsOnce()
    {
        ScriptedPrompt p;
        p.dialogs = {[](QDialog *) { return 1; }};
        m_program.mainWindow->show();
        QVERIFY(m_program.mainWindow->close());
        QVERIFY(!m_program.mainWindow->isVisible());
        QCOMPARE(p.dialogsShown, QStringList{QStringLiteral("frmGoAd")});
        m_program.mainWindow->show();
        QVERIFY(m_program.mainWindow->close());
        QCOMPARE(p.dialogsShown.size(), 1);
    }
};

QTEST_MAIN(TestLinks)
#include "tst_links.moc"
