#include "core/urlsafety.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace qv::core {

namespace {

bool insideFolder(const QString &file, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QFileInfo info(QDir::cleanPath(file));
    // Links are followed where they exist, so a link out of the folder is outside.
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    const QString base = canonical.isEmpty() || canonicalRoot.isEmpty() ? root : canonicalRoot;
    return path.startsWith(base + QLatin1Char('/'));
}

} // namespace

bool IsSafeBrowserUrl(const QUrl &url, const QString &appDir)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("file"))
        return url.host().isEmpty() && insideFolder(url.toLocalFile(), appDir);
    return false;
}

QUrl SafeBrowserUrl(const QString &address, const QString &appDir)
{
    const QString text = address.trimmed();
    if (text.isEmpty())
        return QUrl();
    // A scheme is letters, digits, "+", "-" or "." before the first colon; a
    // "host:port" address has digits after its colon and is not a scheme.
    static const QRegularExpression schemeRe(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(?!\\d+(/|$))"));
    QString full = text;
    if (!schemeRe.match(text).hasMatch())
        full = QStringLiteral("http://") + text;
    const QUrl url(full, QUrl::TolerantMode);
    return IsSafeBrowserUrl(url, appDir) ? url : QUrl();
}

QString RefusedAddressMessage(const QString &address)
{
    QString shown = address.trimmed();
    if (shown.size() > 200)
        shown = shown.left(200) + QChar(0x2026);
    return QStringLiteral("Адрес не открыт: открываются только адреса http:// и https://\n") + shown;
}

} // namespace qv::core
