#include "workbench/sitemetrics.h"
#include "mainview/mainview.h"
#include "core/appcontext.h"
#include "core/http.h"
#include "workbench/browserpane.h"
#include "workbench/search_logic.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QUrl>
#include <QWebEngineView>

namespace qv::workbench {

namespace {
constexpr int kAnalysisTab = 3;

// Ends the wait cursor however the analysis ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

SiteMetrics::SiteMetrics(mainview::MainView &main, core::AppContext &ctx, BrowserPane &pane)
    : QObject(&pane), m_main(main), m_ctx(ctx), m_pane(pane), m_http(new core::HttpClient(this))
{
    pane.btnURLAuditClick = [this] { btnURLAuditClick(); };
    pane.edtURLAudit->installEventFilter(this);
}

bool SiteMetrics::eventFilter(QObject *watched, QEvent *event)
{
    // edtURLAuditKeyDown: Enter runs the analysis.
    if (watched == m_pane.edtURLAudit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnURLAuditClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString SiteMetrics::QueryTic(const QString &address)
{
    const QString domain = MetricDomain(address);
    const core::HttpReply reply = m_http->get(
        m_ctx.searchUrl(QStringLiteral("yandex_bar"), QStringLiteral("/u?ver=2&show=32&url=http://www.") + QueryValue(domain)));
    if (!reply.ok)
        return QStringLiteral("?");
    return TicFromReply(reply.text);
}

QString SiteMetrics::QueryPageRank(const QString &pageAddress)
{
    QPointer<SiteMetrics> self(this);
    const core::HttpReply sum = m_http->get(m_ctx.makerUrl(QStringLiteral("/gch.php?url=") + QueryValue(pageAddress)));
    if (!self || !sum.ok)
        return QStringLiteral("?");
    // The checksum comes as the service sends it, without its line breaks.
    const QString checksum = sum.text.trimmed();
    const core::HttpReply rank = m_http->get(m_ctx.searchUrl(
        QStringLiteral("google_toolbar"), QStringLiteral("/search?client=navclient-auto&ch=6") + QueryValue(checksum)
                                              + QStringLiteral("&features=Rank&q=info:") + QueryValue(pageAddress)));
    if (!self || !rank.ok)
        return QStringLiteral("?");
    return PageRankFromReply(rank.text);
}

void SiteMetrics::btnURLAuditClick()
{
    if (m_running)
        return;
    m_main.Web->stop();
    m_main.Web->setUrl(QUrl::fromLocalFile(m_ctx.AppDir + QStringLiteral("wait.htm")));
    const QString typed = m_pane.edtURLAudit->text();
    const QString domain = MetricDomain(typed);
    if (domain.isEmpty())
        return;
    QPointer<SiteMetrics> self(this);
    QString pr1, pr2, tic;
    {
        m_running = true;
        WaitCursor wait;
        pr1 = QueryPageRank(QStringLiteral("http://") + domain);
        if (self)
            pr2 = QueryPageRank(QStringLiteral("http://www.") + domain);
        if (self)
            tic = QueryTic(QStringLiteral("http://www.") + domain);
        if (self)
            m_running = false;
    }
    if (!self)
        return;
    // The user went elsewhere meanwhile: the browser keeps the user's page.
    if (m_main.tcWeb->currentIndex() != kAnalysisTab || m_pane.edtURLAudit->text() != typed)
        return;
    m_main.Web->setUrl(m_ctx.makerUrl(QStringLiteral("/url_info.php?PR1=") + QueryValue(pr1) + QStringLiteral("&PR2=")
                                      + QueryValue(pr2) + QStringLiteral("&TIC=") + QueryValue(tic) + QStringLiteral("&url=")
                                      + QueryValue(domain)));
}

} // namespace qv::workbench
