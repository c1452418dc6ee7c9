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

namespace {
// An item whose click runs `hook` of the face, looked up when clicked, so a
// hook set after the item was made still runs.
template <typename Hook>
QAction *addHookedItem(MainView &main, QMenu *menu, Hook MainView::*hook, const QString &caption)
{
    QAction *a = addMenuItem(menu, caption);
    MainView *w = &main;
    QObject::connect(a, &QAction::triggered, a, [w, a, hook] {
        if (w->*hook)
            (w->*hook)(a);
    });
    return a;
}
} // namespace

QAction *AddFillMenuItem(MainView &main, const QString &name)
{
    return addHookedItem(main, main.pmFill, &MainView::FillMenuItemClick, name);
}

QAction *AddWebMenuItem(MainView &main, const QString &caption)
{
    return addHookedItem(main, main.pmWeb, &MainView::WebMenuItemClick, caption);
}

} // namespace qv::mainview
