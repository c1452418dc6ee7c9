// The default sizes as a real screen shows them: an X display (Xvfb) with a
// window manager (openbox) that draws title bars in its own font, started by
// this test itself. At their default sizes the main window's tool bar shows
// every item, the materials editor every tab whole, and every window and
// dialog its whole title.
#include "app/program.h"
#include "app/tfrmmain.h"
#include "core/prompt.h"
#include "projects/tfrmprojectmaterials.h"

#include <QApplication>
#include <QHash>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts `argv` with its output to /dev/null, ended with this process
// however this one ends; its process id, or 0.
pid_t startChild(const char *const argv[], int keepFd = -1)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid > 0 ? pid : 0;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    for (int fd = 3; fd < 1024; ++fd) {
        if (fd != keepFd)
            close(fd);
    }
    execvp(argv[0], const_cast<char *const *>(argv));
    _exit(127);
}

// Xvfb on a display number of its own choosing, and openbox on it, for the
// life of the test; DISPLAY and the platform point Qt at them.
class XDisplay {
public:
    XDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        const std::string fd = std::to_string(fds[1]);
        const char *xvfb[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24", "-nolisten", "tcp", nullptr};
        m_xvfb = startChild(xvfb, fds[1]);
        close(fds[1]);
        // Xvfb writes its display number once it accepts clients.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&p, 1, 15000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return;
        m_display = ":" + number;
        setenv("DISPLAY", m_display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("WAYLAND_DISPLAY");
        const char *wm[] = {"openbox", "--sm-disable", nullptr};
        m_wm = startChild(wm);
    }
    ~XDisplay()
    {
        for (pid_t pid : {m_wm, m_xvfb}) {
            if (pid > 0) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
        }
    }
    const char *problem() const
    {
        if (m_display.empty())
            return "Xvfb did not start (package xvfb)";
        int status = 0;
        if (m_wm <= 0 || waitpid(m_wm, &status, WNOHANG) != 0)
            return "openbox did not start (package openbox)";
        return nullptr;
    }

private:
    pid_t m_xvfb = 0;
    pid_t m_wm = 0;
    std::string m_display;
};

// Waits until the window manager has framed `w` and it is on screen.
bool framed(QWidget *w)
{
    if (!QTest::qWaitForWindowExposed(w))
        return false;
    // Qt may have read the frame before the window manager put it on; a move
    // makes it read it again.
    for (int i = 0; i < 10; ++i) {
        if (QTest::qWaitFor([w] { return w->geometry().top() > w->frameGeometry().top(); }, 1000))
            return true;
        w->move(w->pos() + QPoint(0, i % 2 ? -1 : 1));
    }
    return false;
}

// The pixels of `w`'s title bar that stand out from their row's background:
// the title's letters, the icon and the buttons.
int titleInk(QWidget *w)
{
    const QRect frame = w->frameGeometry();
    const int height = w->geometry().top() - frame.top();
    const QImage bar = w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), height).toImage();
    int ink = 0;
    for (int y = 0; y < bar.height(); ++y) {
        QHash<QRgb, int> seen;
        for (int x = 0; x < bar.width(); ++x)
            ++seen[bar.pixel(x, y)];
        QRgb background = 0;
        int most = 0;
        for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
            if (it.value() > most) {
                most = it.value();
                background = it.key();
            }
        }
        for (int x = 0; x < bar.width(); ++x) {
            const QRgb c = bar.pixel(x, y);
            if (qAbs(qRed(c) - qRed(background)) + qAbs(qGreen(c) - qGreen(background)) + qAbs(qBlue(c) - qBlue(background)) > 96)
                ++ink;
        }
    }
    return ink;
}

// titleInk once the window manager has finished drawing the bar: the same
// count twice in a row.
int settledTitleInk(QWidget *w)
{
    int last = -1;
    for (int i = 0; i < 30; ++i) {
        QTest::qWait(100);
        const int ink = titleInk(w);
        if (ink == last && ink > 0)
            break;
        last = ink;
    }
    return last;
}

// Whether the window manager shows `w`'s title whole at its present width:
// the title bar holds as much ink as when the window is far wider (a
// shortened title loses letters).
QString titleCut(QWidget *w)
{
    if (!framed(w))
        return QStringLiteral("not framed by the window manager (%1 %2 %3 %4)")
            .arg(w->isVisible())
            .arg(w->windowHandle() && w->windowHandle()->isExposed())
            .arg(w->geometry().top())
            .arg(w->frameGeometry().top());
    w->activateWindow();
    QTest::qWaitFor([w] { return w->isActiveWindow(); }, 2000);
    const int shown = settledTitleInk(w);
    const int width = w->width();
    const QPoint at = w->pos();
    const QSize min = w->minimumSize(), max = w->maximumSize();
    // Widened at the screen's left edge, the whole bar stays on screen.
    w->move(w->screen()->availableGeometry().topLeft());
    // A fixed width stays fixed (the window manager gives such a window
    // fewer buttons).
    if (min.width() == max.width())
        w->setFixedWidth(width + 600);
    else
        w->setMinimumWidth(width + 600);
    QTest::qWaitFor([w, width] { return w->frameGeometry().width() >= width + 600; }, 5000);
    const int whole = settledTitleInk(w);
    w->setMinimumSize(min);
    w->setMaximumSize(max);
    w->resize(width, w->height());
    w->move(at);
    if (shown * 100 < whole * 99)
        return QStringLiteral("\"%1\" is shortened at the width %2 (%3 of %4 title pixels)")
            .arg(w->windowTitle())
            .arg(width)
            .arg(shown)
            .arg(whole);
    return QString();
}

struct TabBarAccess : QTabBar {
    using QTabBar::initStyleOption;
};

} // namespace

class TestScreen : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<qv::app::Program> m_program;

    qv::app::TfrmMain &main() { return *m_program->mainWindow; }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QApplication::setApplicationName(QStringLiteral("Quorvantile 3"));
        qv::app::InstallRussianTranslations();
        m_program = std::make_unique<qv::app::Program>();
        m_program->ctx.AppDir = m_dir.path() + QLatin1Char('/');
        m_program->mainWindow = std::make_unique<qv::app::TfrmMain>(m_program->ctx);
        m_program->createWindows();
        main().show();
        QVERIFY2(framed(&main()), "the window manager frames no window");
    }

    // At the main window's default size its tool bar shows every item, the
    // link to the maker's support among them, none behind "››".
    void theToolBarShowsEveryItem()
    {
        QToolBar *bar = main().tbMain;
        QTRY_VERIFY(main().lbAdLink->isVisible());
        for (QToolButton *more : bar->findChildren<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
            QVERIFY2(!more->isVisible(), "items are hidden behind the extension button");
        for (QAction *a : bar->actions()) {
            QWidget *item = bar->widgetForAction(a);
            if (!item)
                continue;
            QVERIFY2(item->isVisible(), qPrintable(item->objectName()));
            QVERIFY2(bar->rect().contains(item->geometry()), qPrintable(item->objectName()));
        }
        QVERIFY(main().frameGeometry().width() <= main().screen()->availableGeometry().width());
    }

    // At the materials editor's default size every tab stands on the bar
    // whole, with the style's own room around its caption.
    void theMaterialsEditorShowsEveryTabWhole()
    {
        qv::projects::TfrmProjectMaterials *editor = m_program->windows.frmProjectMaterials;
        editor->show();
        QVERIFY(framed(editor));
        QTabBar *bar = editor->pcMaterials->tabBar();
        const int room = QApplication::style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            const QString caption = bar->tabText(i);
            QStyleOptionTab option;
            static_cast<TabBarAccess *>(bar)->initStyleOption(&option, i);
            const QRect tab = bar->tabRect(i);
            QCOMPARE(option.text, caption);
            QVERIFY2(tab.width() >= bar->fontMetrics().horizontalAdvance(caption) + room,
                     qPrintable(caption + QStringLiteral(" is cut")));
            QVERIFY2(QRect(QPoint(0, 0), editor->size()).contains(QRect(bar->mapTo(editor, tab.topLeft()), tab.size())),
                     qPrintable(caption + QStringLiteral(" leaves the window")));
        }
        editor->hide();
    }

    // Every window and dialog of the program shows its whole title at its
    // default size, the input box of the prompts too.
    void everyTitleShowsWhole()
    {
        QStringList cut;
        QString why = titleCut(&main());
        if (!why.isEmpty())
            cut << why;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w == &main() || w->parentWidget() != &main() || w->windowTitle().isEmpty() || qobject_cast<QMenu *>(w))
                continue;
            w->show();
            why = titleCut(w);
            if (!why.isEmpty())
                cut << w->objectName() + QStringLiteral(": ") + why;
            w->hide();
        }
        QTimer::singleShot(0, [&cut] {
            auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            if (!box) {
                cut << QStringLiteral("no input box");
                return;
            }
            const QString why = titleCut(box);
            if (!why.isEmpty())
                cut << QStringLiteral("input box: ") + why;
            box->reject();
        });
        qv::core::InteractivePrompt().input(QStringLiteral("Добавление нового фильтра"),
                                            QStringLiteral("Введите название нового фильтра"), QString());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

    void cleanupTestCase() { m_program.reset(); }
};

int main(int argc, char **argv)
{
    XDisplay display;
    if (const char *problem = display.problem()) {
        std::fprintf(stderr, "tst_screen: %s\n", problem);
        return 1;
    }
    QApplication app(argc, argv);
    TestScreen test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screen.moc"
