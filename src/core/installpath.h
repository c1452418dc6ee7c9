#pragma once
// The record of the installation folder, kept per user in the settings store
// under "Software/Quorvantile", value "Path".
#include <QString>

namespace qv::core {

QString ReadInstallPath();
// Writes `appDir` only when no folder is recorded yet; a recorded one stays.
void RecordInstallPath(const QString &appDir);

} // namespace qv::core
