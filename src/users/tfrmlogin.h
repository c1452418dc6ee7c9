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

    // "Вход": records or forgets the remembered login, then closes.
    void Button1Click();
    // Presets the fields from [Auth] of "config.ini".
    void prepare();

private:
    core::AppContext &m_ctx;
};

enum class LoginResult { Accepted, Refused, Inactive, StatementFailed, Empty };

// Checks one login against the users table. On acceptance sets CurrentUserId.
LoginResult TryLogin(core::AppContext &ctx, const QString &login, const QString &password);

// Shows the dialog until a user is accepted.
// Shows the dialog until a login is accepted (true). When the check itself
// fails the user may try again or leave (false).
bool RunLoginLoop(core::AppContext &ctx, TfrmLogin &dialog);

} // namespace qv::users
