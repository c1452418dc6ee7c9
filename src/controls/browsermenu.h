#pragma once
// The captions of the browser's context menu.
#include <QString>
#include <QStringList>

namespace qv::controls {

// The menu's own items.
inline QString BrowserEditItem() { return QStringLiteral("Редактировать каталог/форум"); }
inline QString BrowserCopyItem() { return QStringLiteral("Копировать в буфер обмена"); }
inline QString BrowserCopyLinkItem() { return QStringLiteral("Копировать ссылку"); }
inline QString BrowserPropertiesItem() { return QStringLiteral("Свойства"); }

// The items the menu ends with after a record's fields ("-" is a separator).
inline QStringList BrowserMenuTail()
{
    return {QStringLiteral("-"), BrowserCopyItem(), BrowserCopyLinkItem(), BrowserPropertiesItem()};
}

// The menu while no record is being edited.
inline QStringList DefaultBrowserMenu() { return QStringList{BrowserEditItem()} + BrowserMenuTail(); }

} // namespace qv::controls
