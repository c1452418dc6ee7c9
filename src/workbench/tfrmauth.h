#pragma once
// "Менеджер паролей": one site login and password per project and resource.
#include "core/kind.h"
#include "db/rowguard.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv::core {
struct AppContext;
}
namespace qv::workbench {

struct SiteLogin {
    QString login;
    QString password;
    db::LoadedRow row; // the entry's row as it was read
};

// Statements of the password manager (every text quoted).
QString AuthReadSql(core::Kind kind, int resourceId, int projectId);
QString AuthInsertSql(core::Kind kind, int resourceId, int projectId, const QString &login, const QString &password);
// The update of the stored entry whose id is `entryId`.
QString AuthUpdateSql(core::Kind kind, qint64 entryId, int resourceId, const QString &login, const QString &password);
// A generated password: the decimal text of a number from 0 to 999999998.
QString GeneratePassword();

class TfrmAuth : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAuth(core::AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *edtLogin;
    QLineEdit *edtPassword;
    QCheckBox *cbDefaultLogin;
    QRadioButton *rbOld;
    QRadioButton *rbManual;
    QRadioButton *rbAuto;
    QPushButton *Button1;

    // Whether the resource list has a selected item (set by the main window).
    std::function<bool()> hasSelection;

    // How an opening of the window ended.
    enum Outcome {
        NotShown,     // no resource selected, or the stored entry could not be read
        NothingSaved, // closed with empty edits, or the save failed
        Saved,        // saved, the window closed by its close box
        SavedToFill,  // saved by "Сохр. пароль и заполнить поля": the page is to be filled
    };
    // "Пароли": loads the stored entry, shows the window, saves what it holds
    // when it is closed. A value too long for its column, or a stored entry
    // another copy changed meanwhile that the user chose not to write over,
    // keeps the window open with the edits.
    Outcome tbnAuthClick();
    bool isShowing() const { return m_showing; }

    void rbManualClick();
    void rbOldClick();
    void rbAutoClick();
    void cbDefaultLoginClick();
    void edtLoginChange();
    void Button1Click();

    // The stored entry of the selected resource; nothing when there is none,
    // `failed` set when the statement or the read of its row failed (reported).
    std::optional<SiteLogin> readEntry(bool direct, bool *failed);

protected:
    // Every close of the shown window (its button, its close box, Escape)
    // saves first; a save that keeps the edits keeps the window open.
    void done(int result) override;

private:
    enum class Save {
        NotTried, // the window has not been closed yet
        Saved,
        Empty,  // both edits empty: nothing to save
        Kept,   // refused or declined: the window stays with the edits
        Failed, // a statement failed (reported)
    };
    Save save();

    core::AppContext &m_ctx;
    bool m_showing = false;
    bool m_byButton = false; // the window was closed by its button
    Save m_save = Save::NotTried;
    // The stored entry as the window shows it; none when there was none.
    db::LoadedRow m_entry;
};

} // namespace qv::workbench
