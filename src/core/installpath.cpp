#include "core/installpath.h"

#include <QSettings>

namespace qv::core {

namespace {
const char *const kKey = "Software/Quorvantile/Path";
} // namespace

QString ReadInstallPath()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvantile"), QStringLiteral("Quorvantile"));
    return s.value(QLatin1String(kKey)).toString();
}

void RecordInstallPath(const QString &appDir)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvantile"), QStringLiteral("Quorvantile"));
    if (s.value(QLatin1String(kKey)).toString().isEmpty()) {
        s.setValue(QLatin1String(kKey), appDir);
        s.sync();
    }
}

} // namespace qv::core
