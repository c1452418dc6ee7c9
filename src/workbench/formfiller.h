#pragma once
// The form filler: writes the active material into the form the browser
// shows, through the selected resource's field mapping.
#include <QObject>
#include <memory>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QTimer;
class QWebEngineView;

namespace qv::core {
struct AppContext;
}
namespace qv::workbench {

class PageBridge;
class TfrmAuth;
struct KindFacts;
struct PageSnapshot;

// How a fill ended, for the callers that care (tests, the status line).
enum class FormFillResult {
    Skipped,     // start page, no material, no resource
    Queued,      // another fill runs: this one follows when it ends
    Stopped,     // a statement failed or a row was missing
    NoDocument,  // the page could not be read
    PageChanged, // the page changed while the fill ran: nothing written
    Filled,
    Started, // the page is being read; fillFinished tells the end
};

class FormFiller : public QObject {
    Q_OBJECT
public:
    FormFiller(core::AppContext &ctx, QWebEngineView *web, QMenu *pmFill, TfrmAuth *auth, QObject *parent = nullptr);
    ~FormFiller() override;

    // "Заполнить", the end of a page load, and the fill menu. What the fill
    // can decide from the database is done at once; the page is then read and
    // written without blocking, and fillFinished reports the end. A fill the
    // user asked for (the button, the menu) says why it cannot run; the fill
    // of a page that has just loaded stays silent.
    FormFillResult tbFeelClick();
    FormFillResult fillLoadedPage();
    // The fill after "Сохр. пароль и заполнить поля": as "Заполнить", but in
    // the catalogs view with the site description the last fill used.
    FormFillResult fillAgain();
    FormFillResult FillMenuItemClick(QAction *item);
    bool isBusy() const { return m_busy; }

    // The resource editor's save, run when the user wants an edited record saved first.
    std::function<void()> saveEditedResource;
    // "Новое описание...": opens the materials editor on a new site description.
    std::function<void()> newSiteDescription;

    // The forums' press release: the active one of the current project, asked
    // for when the fill runs; nothing when there is none.
    std::function<std::optional<int>()> activePressRelease;

    // How long the page may take to answer a read or a write (not counting
    // the time the password manager is on screen).
    void setAnswerTimeout(int ms) { m_answerTimeout = ms; }

    PageBridge *bridge() const { return m_bridge; }
    void setAuth(TfrmAuth *auth) { m_auth = auth; }

Q_SIGNALS:
    void fillFinished(qv::workbench::FormFillResult result);

private:
    struct Pending;
    void pageRead(int fill, const PageSnapshot &snap);
    void finish(FormFillResult result);
    // The filler is free again; a fill asked for meanwhile starts now.
    void release();
    FormFillResult request(bool byUser);
    FormFillResult start();
    // The steps of a fill up to the page's reading.
    bool onStartPage();
    void settleEditedRecord();
    std::optional<FormFillResult> takeNextDescription();
    std::optional<int> fillMaterialId(const KindFacts &kind);
    bool readMapping(Pending &pending);
    bool readMaterial(Pending &pending, int materialId);
    void readPage(Pending pending);
    // Why the fill cannot run, told to the user when the user asked for it.
    void cannotFill(const QString &why);
    void waitForPage(bool writing);

    // Stored login or password of the selected resource; opens the password
    // manager when there is none. Nothing when the statement failed.
    std::optional<QString> credential(bool password);

    core::AppContext &m_ctx;
    QWebEngineView *m_web;
    QMenu *m_pmFill;
    TfrmAuth *m_auth;
    PageBridge *m_bridge;
    bool m_busy = false;
    std::unique_ptr<Pending> m_pending;
    int m_fill = 0;             // counts fills; a late answer of an earlier one is dropped
    bool m_again = false;       // a fill was asked for while one ran
    bool m_againByUser = false; // ... and the user asked for it
    bool m_byUser = false;      // the running fill was asked for by the user
    QString m_lastDescription;  // the site description of the last catalogs fill
    bool m_writing = false;
    int m_answerTimeout = 15000;
    QTimer *m_answerTimer;
};

} // namespace qv::workbench
