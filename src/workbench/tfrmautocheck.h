#pragma once
// "Автопроверка регистрации": for every resource of the list, whether the
// search engines know a page of the project's site there, kept per resource
// and project in the kind's check log.
#include "core/kind.h"

#include <QStringList>
#include <QWidget>

class QEventLoop;
class QLabel;
class QListWidget;
class QPushButton;
class QWebEngineView;

namespace qv::core {
struct AppContext;
class HttpClient;
} // namespace qv::core

namespace qv::workbench {

class ResourceList;

// The message that ends a run of `total` resources: success only when every
// one was checked; otherwise how many could not be checked, or where a stop
// left the run.
QString AutoCheckEndMessage(int total, int checked, int notChecked, bool stopped);

class TfrmAutocheck : public QWidget {
    Q_OBJECT
public:
    TfrmAutocheck(core::AppContext &ctx, QWidget *owner = nullptr);
    ~TfrmAutocheck() override;

    // Set by the launchers before the window shows.
    int ProjectId = 0;
    core::Kind Kind = core::Kind::None;
    // "name=id" per resource, in list order.
    QStringList Links;
    bool StopRequested = false;

    QLabel *lbURL;
    QLabel *lbWhere;
    QLabel *lbProgress;
    QLabel *lbNow;
    QListWidget *lbAutoCheckLog;
    QPushButton *btnAutoCheckStart;
    QPushButton *Button1;
    QWebEngineView *wbAd;

    // The pause after every hundred resources, 7000 ms unless set.
    int pauseMs() const { return m_pauseMs; }
    void setPauseMs(int ms) { m_pauseMs = ms; }
    core::HttpClient *client() const { return m_http; }
    bool running() const { return m_running; }

    // "Авто-проверка...": prepares the window for the list on screen and
    // shows it. `where` names the navigator node the list comes from.
    void N36Click(const ResourceList &list, const QString &where);
    // Launchers that no control uses: without the advertisement page, and
    // in addition without the empty-list test.
    void BitBtn1Click(const ResourceList &list, const QString &where);
    void SpeedButton2Click(const ResourceList &list, const QString &where);
    void btnAutoCheckClick(const ResourceList &list, const QString &where);
    void ToolButton12Click(const ResourceList &list, const QString &where);
    void tbnHelpClick(const ResourceList &list, const QString &where);

    // "Начать автопроверку": the run.
    void btnAutoCheckStartClick();
    // "Закрыть": stops a run and closes the window.
    void Button1Click();
    bool FormCloseQuery();

Q_SIGNALS:
    // A run ended (all done, stopped or failed).
    void runEnded();
    // A resource was written to the check log.
    void resourceChecked(int done);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct RunItem;
    struct Run;
    // How a resource's check ended: the run goes on, was stopped, could not
    // write the log, or the window is gone.
    enum class Step { Next, Stopped, WriteFailed, Gone };

    // The steps of a run.
    QList<RunItem> runItems() const;
    Step checkResource(Run &run, const RunItem &item);
    // The resource's row of the kind's check log, added or updated.
    bool writeCheck(const Run &run, qint64 resource, bool y, bool g);
    void logLine(const QString &line);
    void showProgress(const Run &run);
    void logFailure(Run &run, const QString &engine, const QString &name, const QString &why);
    void finishRun(const Run &run, bool failed, bool stopped);

    void launch(const ResourceList &list, const QString &where, bool loadAd, bool checkEmpty);
    void loadAd();
    // Waits `ms` with the window responsive; a stop ends it at once.
    void pause(int ms);
    void requestStop();

    core::AppContext &m_ctx;
    core::HttpClient *m_http;
    int m_pauseMs = 7000;
    bool m_running = false;
    QEventLoop *m_pauseLoop = nullptr;
};

} // namespace qv::workbench
