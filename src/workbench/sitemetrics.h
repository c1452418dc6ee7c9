#pragma once
// The site analysis of the browser's last tab: the PageRank of two forms of
// an address and its TIC, asked of their services one after the other, then
// the maker's page that shows the three values.
#include <QObject>
#include <QString>

namespace qv::core {
struct AppContext;
class HttpClient;
} // namespace qv::core
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class BrowserPane;

class SiteMetrics : public QObject {
    Q_OBJECT
public:
    SiteMetrics(mainview::MainView &main, core::AppContext &ctx, BrowserPane &pane);

    // "Анализировать ": the analysis of the address field's text. A second
    // request while one runs is ignored.
    void btnURLAuditClick();
    // The TIC of an address's domain, "?" when not obtained.
    QString QueryTic(const QString &address);
    // The PageRank of a page address, "?" when a request fails.
    QString QueryPageRank(const QString &pageAddress);

    bool running() const { return m_running; }
    core::HttpClient *client() const { return m_http; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    BrowserPane &m_pane;
    core::HttpClient *m_http;
    bool m_running = false;
};

} // namespace qv::workbench
