#pragma once
// Which addresses the embedded browsers may open: web pages, and the local
// pages of the program folder. Addresses come from the database, from pages
// and from the maker's service, so a script or a file elsewhere on the disk
// must never be opened from them.
#include <QString>
#include <QUrl>

namespace qv::core {

// The address as a browser may open it: http and https addresses, and file:
// pages inside `appDir`. An address typed without a scheme gets "http://".
// Anything else (javascript:, data:, a file outside the program folder, ...)
// gives an invalid QUrl; so does an empty address.
QUrl SafeBrowserUrl(const QString &address, const QString &appDir);
// The same test for an address a page asks to open.
bool IsSafeBrowserUrl(const QUrl &url, const QString &appDir);
// The message shown when an address is refused.
QString RefusedAddressMessage(const QString &address);

} // namespace qv::core
