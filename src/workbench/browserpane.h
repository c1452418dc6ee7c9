#pragma once
// The browser pane under the resource list: the selected resource's pages in
// the main browser, its navigation buttons, the form filler, the password
// manager and the status buttons.
#include <QObject>
#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class FormFiller;
class RegistrationSearch;
class SiteMetrics;
class TfrmAuth;

class BrowserPane : public QObject {
    Q_OBJECT
public:
    BrowserPane(mainview::MainView &main, core::AppContext &ctx);
    ~BrowserPane() override;

    // Browser tool bar.
    QToolButton *ToolButton9;  // "<<"
    QToolButton *ToolButton16; // "Обновить"
    QToolButton *ToolButton13; // ">>"
    QToolButton *tbnAuth;
    QToolButton *tbFeel;
    QToolButton *tbnStatus1;
    QToolButton *tbnStatus2;
    QToolButton *tbnStatus3;
    QToolButton *tbnStatus0;
    // Search-engine buttons and the analysis panel, shown by their tabs.
    QToolBar *tbCheckReg;
    QWidget *pnlAudit;
    QLineEdit *edtURLAudit;
    QPushButton *btnURLAudit;

    FormFiller *filler() const { return m_filler; }
    // The search-check tab's engines and the analysis tab's metrics.
    RegistrationSearch *search = nullptr;
    SiteMetrics *metrics = nullptr;
    void attachAuth(TfrmAuth *auth);

    // The list's current row changed: it becomes the selected resource (no
    // row: no resource is selected) and the pane shows its page.
    void lvLinksClick();
    // Makes the resource `id` the selected one without opening its page: its
    // row becomes the list's current row when the list holds it (`refill`:
    // after filling the list again from the node it shows), else no row is
    // current. The caption, the analysis address and the status buttons follow.
    void selectResource(int id, const QString &name, bool refill);
    // The page of the current tab for the selected resource.
    void tcWebChange();
    // Opens an address from the base in the browser: a web or program page,
    // else a message and nothing opened (false). An empty address clears it.
    bool openAddress(const QString &address);
    void WebProgressChange(int progress, int progressMax);
    void WebDocumentComplete();
    void tbnStatusClick(QToolButton *clicked);
    // Records the status the buttons show; the list follows once it is stored.
    void SetRegistrationStatus();

    // Search check, site analysis: filled in by their own handlers.
    std::function<void()> SearchRegistration;
    std::function<void()> btnURLAuditClick;

    // The active press release of the forums view, for the current project.
    // A read that fails has been reported and sets `failed`.
    std::optional<int> activePressRelease(bool *failed = nullptr) const;

private:
    void buildToolBar();
    // What the selection shows for the selected resource: the edit page's
    // caption, the status buttons after `status` (a list text), the address
    // of the analysis.
    void showSelectedResource(const QString &status);
    // No resource is selected.
    void forgetSelectedResource();
    // The status buttons as a list text says: the one of its first letter.
    void pressStatus(const QString &status);
    // The list text of the selected resource's status: its row's, else the log's.
    QString statusOfSelected() const;
    // False, with a message, when no resource is selected.
    bool resourceSelected() const;

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    FormFiller *m_filler = nullptr;
    TfrmAuth *m_auth = nullptr;
};

} // namespace qv::workbench
