#include "controls/browserview.h"

#include "core/prompt.h"
#include "core/urlsafety.h"

#include <QContextMenuEvent>
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

QString MakerOfflinePageHtml()
{
    return QStringLiteral(
        "<!DOCTYPE html><html lang=\"ru\"><head><meta charset=\"utf-8\"><title>Quorvantile 3</title>"
        "<style>body{font-family:Verdana,Tahoma,Arial,sans-serif;font-size:13px;color:#333;background:#fbfcfe;"
        "margin:0;padding:14px 18px;line-height:1.45}h1{font-size:15px;color:#1f4e79;margin:0 0 8px}</style></head>"
        "<body><h1>Сайт разработчика сейчас недоступен</h1>"
        "<p>Новости и советы разработчика появятся здесь, когда сайт снова будет доступен.</p>"
        "<p>Проекты, база ресурсов, заполнение форм и учёт регистраций работают и без него: "
        "выберите проект и рубрику в дереве слева.</p></body></html>");
}

bool IsOnSite(const QUrl &url, const QUrl &site)
{
    auto portOf = [](const QUrl &u) {
        return u.port(u.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443 : 80);
    };
    return !site.host().isEmpty() && url.host().compare(site.host(), Qt::CaseInsensitive) == 0 && portOf(url) == portOf(site);
}

BrowserView::BrowserView(QWidget *parent) : QWebEngineView(parent)
{
    setPage(new SafePage(this));
    connect(page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
            // The program's page loads as a data: document under the address
            // it stands in for; any other load ends it.
            m_offlineShown = m_offlinePending && info.url().scheme() == QLatin1String("data");
            m_offlinePending = false;
            return;
        }
        if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || !m_makerSite)
            return;
        if (!IsOnSite(info.url(), m_makerSite()))
            return;
        // A page the site answered with stays; only an unreachable site is replaced.
        if (info.errorDomain() != QWebEngineLoadingInfo::ConnectionErrorDomain
            && info.errorDomain() != QWebEngineLoadingInfo::DnsErrorDomain)
            return;
        m_offlinePending = true;
        setHtml(MakerOfflinePageHtml(), info.url());
    });
}

void BrowserView::setMakerSite(std::function<QUrl()> site) { m_makerSite = std::move(site); }

QWebEngineView *BrowserView::createWindow(QWebEnginePage::WebWindowType)
{
    QWebEngineView *view = OpenBrowserWindow(this);
    if (auto *browser = qobject_cast<BrowserView *>(view))
        browser->setMakerSite(m_makerSite);
    return view;
}

void BrowserView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    Q_EMIT pageMenuRequested(event->pos());
}

} // namespace qv::controls
