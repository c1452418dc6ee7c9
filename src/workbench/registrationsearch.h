#pragma once
// Confirming one registration by hand: the search-check tab's engine buttons
// show a site-restricted search of the selected resource in the browser,
// and in the forums view the thread of a posted press release is kept.
#include <QObject>

class QToolButton;

namespace qv::core {
struct AppContext;
}
namespace qv::mainview {
struct MainView;
}

namespace qv::workbench {

class BrowserPane;

class RegistrationSearch : public QObject {
    Q_OBJECT
public:
    RegistrationSearch(mainview::MainView &main, core::AppContext &ctx, BrowserPane &pane);

    // Engine buttons on the search-check tool bar; Yandex is down at start
    // and at most one is down.
    QToolButton *tbYandex;
    QToolButton *tbRambler;
    QToolButton *tbGoogle;
    // "Сохр. адрес обсуждения объявления", shown in the forums view only.
    QToolButton *SpeedButton3;

    // The search of the button that is down, in the browser; the empty
    // address when none is. Nothing without an active material of the kind.
    void SearchRegistration();
    void tbYandexClick();
    void tbRamblerClick();
    void tbGoogleClick();
    // Releases every button, then searches (no control calls it).
    void tbAportClick();

    // Keeps the browser's address as the thread of the active press release
    // on the selected forum.
    void SpeedButton3Click();

private:
    void releaseAllBut(QToolButton *kept);
    bool projectHasActiveMaterial() const;

    mainview::MainView &m_main;
    core::AppContext &m_ctx;
    BrowserPane &m_pane;
};

} // namespace qv::workbench
