#include "mainview/mainview.h"

#include <QAction>
#include <QMenu>

namespace qv::mainview {

namespace {
QAction *addMenuItem(QMenu *menu, const QString &caption)
{
    auto *a = new QAction(menu);
    // Captions are keys: the raw text stays in the data, "&" shows as itself.
    a->setData(caption);
    if (caption == QLatin1String("-"))
        a->setSeparator(true);
    else
        a->setText(QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
    menu->addAction(a);
    return a;
}
} // namespace

QAction *AddFillMenuItem(MainView &main, const QString &name)
{
    QAction *a = addMenuItem(main.pmFill, name);
    MainView *w = &main;
    QObject::connect(a, &QAction::triggered, a, [w, a] {
        if (w->FillMenuItemClick)
            w->FillMenuItemClick(a);
    });
    return a;
}

QAction *AddWebMenuItem(MainView &main, const QString &caption)
{
    QAction *a = addMenuItem(main.pmWeb, caption);
    MainView *w = &main;
    QObject::connect(a, &QAction::triggered, a, [w, a] {
        if (w->WebMenuItemClick)
            w->WebMenuItemClick(a);
    });
    return a;
}

} // namespace qv::mainview
