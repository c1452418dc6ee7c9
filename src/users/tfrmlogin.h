#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qv::core {
struct AppContext;
}
namespace qv::users {

// "Авторизация": login and password, with the remembered login in "config.ini".
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(core::AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *edtLogin;
    QLineEdit *edtPassword;
    QCheckBox *cbAutoSave;
    QPushButton *btnEnter;

    // "Вход": closes the dialog for the login to be checked; with an empty
    // login or password it says so and stays open.
    void Button1Click();
    // Presets the fields from [Auth] of "config.ini".
    void prepare();
    // Records (ticked) or forgets (unticked) the login in "config.ini", once
    // it has been accepted; unticking the box forgets it at once. A file that
    // cannot be written is reported.
    void rememberLogin();

private:
    // Writes the login and password into [Auth] (`remember`) or empties them.
    void writeAuth(bool remember);

    core::AppContext &m_ctx;
};

enum class LoginResult { Accepted, Refused, Inactive, StatementFailed, Empty };

// Checks one login against the users table. On acceptance sets CurrentUserId.
LoginResult TryLogin(core::AppContext &ctx, const QString &login, const QString &password);

// Shows the dialog until a login is accepted (true). Closing the dialog
// (its close button, Escape) leaves the program (false), as does declining
// to try again when the check itself fails.
bool RunLoginLoop(core::AppContext &ctx, TfrmLogin &dialog);

} // namespace qv::users
