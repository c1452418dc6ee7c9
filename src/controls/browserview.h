#pragma once
// The program's browsers. Their pages open only web addresses and the local
// pages of the program folder, whatever a page, a resource row or a reply asks
// for; a page that asks for a new window gets one of its own.
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

namespace qv::controls {

// A page that refuses every navigation outside http, https and the program
// folder's files, saying so when the user asked for it.
class SafePage : public QWebEnginePage {
    Q_OBJECT
public:
    SafePage(QWebEngineProfile *profile, QObject *parent);
    explicit SafePage(QObject *parent = nullptr);

    // The folder whose files the browsers may open; one for the whole program.
    static void setProgramFolder(const QString &folder);
    static QString programFolder();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};

// Opens `view`'s address in a window of its own on the same profile (cookies
// and logins shared), gone when the user closes it.
QWebEngineView *OpenBrowserWindow(QWebEngineView *from);

// The program's page "Сайт разработчика сейчас недоступен".
QString MakerOfflinePageHtml();
// Whether `url` lies on the site `site` names: the same host and the same
// port (the scheme's default where none is written).
bool IsOnSite(const QUrl &url, const QUrl &site);

class BrowserView : public QWebEngineView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget *parent = nullptr);

    // While a page of the maker's site (host and port of `site()`) cannot be
    // reached, the program's page says so in its place (the address stays
    // the one asked for). Windows this view opens do the same.
    void setMakerSite(std::function<QUrl()> site);
    // True while the program's page stands in for an unreachable maker's page.
    bool showsOfflinePage() const { return m_offlineShown; }

Q_SIGNALS:
    // The page asked for its context menu at `pos` (view coordinates): the
    // Menu key or Shift+F10, since the right button never reaches a page.
    // The engine's own menu is never shown.
    void pageMenuRequested(const QPoint &pos);

protected:
    QWebEngineView *createWindow(QWebEnginePage::WebWindowType type) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    std::function<QUrl()> m_makerSite;
    bool m_offlinePending = false;
    bool m_offlineShown = false;
};

} // namespace qv::controls
