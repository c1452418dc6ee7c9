#include "controls/browserview.h"

#include "core/prompt.h"
#include "core/urlsafety.h"

#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>

namespace qv::controls {

namespace {
QString &folder()
{
    static QString dir;
    return dir;
}
} // namespace

SafePage::SafePage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent) {}

SafePage::SafePage(QObject *parent) : QWebEnginePage(parent) {}

void SafePage::setProgramFolder(const QString &dir) { folder() = dir; }

QString SafePage::programFolder() { return folder(); }

bool SafePage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    const QString scheme = url.scheme().toLower();
    // The engine's own content (a page set from text, a blank page) stays;
    // the engine never lets a page itself open a data: document on top.
    if (scheme == QLatin1String("data") || scheme == QLatin1String("about"))
        return true;
    if (core::IsSafeBrowserUrl(url, folder()))
        return true;
    if (isMainFrame && (type == NavigationTypeLinkClicked || type == NavigationTypeTyped || type == NavigationTypeFormSubmitted))
        core::prompt().message(core::RefusedAddressMessage(url.toString()), core::MessageIcon::Warning);
    return false;
}

QWebEngineView *OpenBrowserWindow(QWebEngineView *from)
{
    auto *view = new BrowserView;
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setPage(new SafePage(from->page()->profile(), view));
    view->resize(from->width() > 200 ? from->width() : 1000, from->height() > 200 ? from->height() : 700);
    view->show();
    return view;
}

BrowserView::BrowserView(QWidget *parent) : QWebEngineView(parent)
{
    setPage(new SafePage(this));
    connect(page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || !m_offlineHost)
            return;
        const QString host = m_offlineHost();
        if (host.isEmpty() || info.url().host().compare(host, Qt::CaseInsensitive) != 0)
            return;
        // A page the host answered with stays; only an unreachable host is replaced.
        if (info.errorDomain() != QWebEngineLoadingInfo::ConnectionErrorDomain
            && info.errorDomain() != QWebEngineLoadingInfo::DnsErrorDomain)
            return;
        setHtml(m_offlineHtml, info.url());
    });
}

void BrowserView::setOfflinePage(std::function<QString()> host, const QString &html)
{
    m_offlineHost = std::move(host);
    m_offlineHtml = html;
}

QWebEngineView *BrowserView::createWindow(QWebEnginePage::WebWindowType) { return OpenBrowserWindow(this); }

} // namespace qv::controls
