#include "core/windowfit.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace qv::core {

namespace {

bool hasTitleBar(const QWidget *w)
{
    if (!w->isWindow() || qobject_cast<const QMessageBox *>(w))
        return false;
    const Qt::WindowType type = w->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return false;
    return !(w->windowFlags() & Qt::FramelessWindowHint);
}

class TitleKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || type == QEvent::WindowTitleChange) && watched->isWidgetType())
            FitTitle(static_cast<QWidget *>(watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int TitleBarWidth(const QString &title)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics fm(font);
    // The icon and the three buttons are about a line high each; with the
    // gaps and the frame, room for eight lines' heights keeps a title whole
    // in window managers whose title font is a point larger.
    return fm.horizontalAdvance(title) + 8 * fm.height() + 16;
}

void FitTitle(QWidget *window)
{
    if (!window || !hasTitleBar(window))
        return;
    int needed = TitleBarWidth(window->windowTitle());
    if (const QScreen *screen = window->screen())
        needed = qMin(needed, screen->availableGeometry().width() * 9 / 10);
    if (window->minimumWidth() >= needed)
        return;
    if (window->minimumWidth() == window->maximumWidth())
        window->setFixedWidth(needed);
    else
        window->setMinimumWidth(needed);
}

void KeepTitlesWhole()
{
    static TitleKeeper *keeper = nullptr;
    if (keeper || !qApp)
        return;
    keeper = new TitleKeeper(qApp);
    qApp->installEventFilter(keeper);
}

} // namespace qv::core
