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

class BrowserView : public QWebEngineView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget *parent = nullptr);

    // While a page of the host `host()` names cannot be reached, `html` is
    // shown in its place (the address stays the one asked for).
    void setOfflinePage(std::function<QString()> host, const QString &html);

protected:
    QWebEngineView *createWindow(QWebEnginePage::WebWindowType type) override;

private:
    std::function<QString()> m_offlineHost;
    QString m_offlineHtml;
};

} // namespace qv::controls
