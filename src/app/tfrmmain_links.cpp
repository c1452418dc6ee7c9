// The main window's commands that open the maker's pages, and the support
// and recommendations windows.
#include "core/appcontext.h"
#include "app/makerlinks.h"
#include "app/program.h"
#include "core/prompt.h"
#include "app/tfrmhelp.h"
#include "app/tfrmmain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace qv::app {

void TfrmMain::buildLinkCommands()
{
    auto add = [this](QMenu *menu, const char *control) {
        const MakerLink *link = FindMakerLink(QStringLiteral("frmMain"), QString::fromLatin1(control));
        QAction *a = menu->addAction(QString::fromUtf8(link->caption));
        a->setObjectName(QString::fromLatin1(control));
        connect(a, &QAction::triggered, this, [this, link] { OpenMakerLink(m_ctx, *link); });
        return a;
    };
    add(pmUpdate, "N1");
    add(pmUpdate, "N28");
    N36 = pmAutoCheck->addAction(QStringLiteral("Авто-проверка..."));
    N36->setObjectName(QStringLiteral("N36"));
    connect(N36, &QAction::triggered, this, [this] { N36Click(); });
    tbAutoCheck->setToolTip(QStringLiteral("Проверка на каих каталогах зарегистрирован ваш сайт"));
    add(pmAutoCheck, "N38");
    // The plug-in menu's fixed items come before the plug-ins found at start.
    add(pmPlugins, "N11");
    add(pmPlugins, "N3");
    add(pmPlugins, "N12");
    pmPlugins->addSeparator();
    // Project help stays the last item of the project menu.
    N26 = add(pmProject, "N26");
    QAction *help = N26;
    connect(pmProject, &QMenu::aboutToShow, this, [this, help] {
        if (pmProject->actions().constLast() != help) {
            pmProject->removeAction(help);
            pmProject->addAction(help);
        }
    });

    connect(lbAdLink, &QLabel::linkActivated, this, [this] { lbAdLinkClick(); });
}

void TfrmMain::lbAdLinkClick()
{
    if (windows && windows->frmHelp)
        core::prompt().exec(windows->frmHelp);
}

} // namespace qv::app
