#include "users/tfrmlogin.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::users {

using core::prompt;

TfrmLogin::TfrmLogin(core::AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Авторизация"));
    setWindowFlag(Qt::Tool);
    auto *layout = new QVBoxLayout(this);
    auto *banner = new QLabel(QStringLiteral("Для входа в программу введите свой логин и пароль"), this);
    banner->setWordWrap(true);
    layout->addWidget(banner);
    auto *form = new QFormLayout;
    edtLogin = new QLineEdit(this);
    edtLogin->setObjectName(QStringLiteral("edtLogin"));
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    form->addRow(QStringLiteral("Логин:"), edtLogin);
    form->addRow(QStringLiteral("Пароль:"), edtPassword);
    layout->addLayout(form);
    cbAutoSave = new QCheckBox(QStringLiteral("Запомнить логин и пароль"), this);
    cbAutoSave->setObjectName(QStringLiteral("cbAutoSave"));
    layout->addWidget(cbAutoSave);
    btnEnter = new QPushButton(QStringLiteral("Вход"), this);
    btnEnter->setObjectName(QStringLiteral("Button1"));
    btnEnter->setDefault(true);
    layout->addWidget(btnEnter);
    connect(btnEnter, &QPushButton::clicked, this, &TfrmLogin::Button1Click);
    // Unticked, by the mouse or the space bar: the remembered login goes at
    // once, whatever follows.
    connect(cbAutoSave, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            writeAuth(false);
    });
}

void TfrmLogin::prepare()
{
    // Presetting the box is no choice of the user's.
    const QSignalBlocker block(cbAutoSave);
    cbAutoSave->setChecked(false);
    edtLogin->clear();
    edtPassword->clear();
    const core::IniFile &ini = m_ctx.ConfigIni;
    if (ini.readString(QStringLiteral("Auth"), QStringLiteral("AutoSave")) == QLatin1String("1")) {
        cbAutoSave->setChecked(true);
        edtLogin->setText(ini.readString(QStringLiteral("Auth"), QStringLiteral("Login")));
        edtPassword->setText(ini.readString(QStringLiteral("Auth"), QStringLiteral("Password")));
    }
}

void TfrmLogin::Button1Click()
{
    if (edtLogin->text().isEmpty() || edtPassword->text().isEmpty()) {
        prompt().message(QStringLiteral("Введите логин и пароль: без них вход в программу невозможен."),
                         core::MessageIcon::Warning);
        (edtLogin->text().isEmpty() ? edtLogin : edtPassword)->setFocus();
        return;
    }
    // Unticked, nothing stays remembered, however the login turns out; a
    // ticked one is remembered once it is accepted.
    if (!cbAutoSave->isChecked())
        writeAuth(false);
    accept();
}

void TfrmLogin::rememberLogin() { writeAuth(cbAutoSave->isChecked()); }

void TfrmLogin::writeAuth(bool remember)
{
    const QString section = QStringLiteral("Auth");
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("AutoSave"), remember ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("Login"), remember ? edtLogin->text() : QString()},
        {QStringLiteral("Password"), remember ? edtPassword->text() : QString()}};
    core::IniFile &ini = m_ctx.ConfigIni;
    // Nothing to write when the file already says the same (a missing key
    // reads as nothing remembered): a file the user made read-only is then
    // left alone without a word.
    const bool fileRemembers = ini.readString(section, QStringLiteral("AutoSave")) == QLatin1String("1");
    const QString login = ini.readString(section, QStringLiteral("Login"));
    const QString password = ini.readString(section, QStringLiteral("Password"));
    const bool same = remember ? fileRemembers && login == edtLogin->text() && password == edtPassword->text()
                               : !fileRemembers && login.isEmpty() && password.isEmpty();
    if (same)
        return;
    for (const auto &[key, value] : values) {
        if (!ini.writeString(section, key, value)) {
            prompt().message(
                core::IniWriteFailedMessage(ini, remember ? QStringLiteral("Логин и пароль не запомнены.")
                                                          : QStringLiteral("Запомненные логин и пароль не удалены из файла.")),
                core::MessageIcon::Warning);
            return;
        }
    }
}

LoginResult TryLogin(core::AppContext &ctx, const QString &login, const QString &password)
{
    if (login.isEmpty() || password.isEmpty())
        return LoginResult::Empty;
    const QString head =
        QStringLiteral("SELECT * FROM users WHERE user_login=") + db::Sql(login) + QStringLiteral(" AND user_password=");
    // The password is compared byte for byte (the column's collation is binary, trailing blanks included).
    const QString sql = head + db::Sql(password);
    db::Database &conn = db::DbConnection();
    std::optional<db::Row> row;
    bool failed = conn.query(sql) != 0;
    if (!failed) {
        db::QueryResult result(conn);
        row = result.FetchRow();
        failed = !row && result.failed();
    }
    if (failed) {
        // The statement is shown without the password.
        if (conn.errorNumber() != 0)
            prompt().message(db::StatementFailedMessage(head + QStringLiteral("\"***\""), conn.errorText()));
        return LoginResult::StatementFailed;
    }
    if (!row) {
        prompt().message(QStringLiteral("Пользователей с данной комбинацией логина и пароля не существует, попробуйте еще раз!"));
        return LoginResult::Refused;
    }
    const QString id = row->value(0);
    if (row->value(3) == QLatin1String("0") && id != QLatin1String("0")) {
        prompt().message(QStringLiteral("Ваша аккаунт не активизирована!"));
        return LoginResult::Inactive;
    }
    const auto userId = db::ParseInt(id);
    if (!userId)
        return LoginResult::Refused;
    ctx.CurrentUserId = static_cast<int>(*userId);
    return LoginResult::Accepted;
}

bool RunLoginLoop(core::AppContext &ctx, TfrmLogin &dialog)
{
    ctx.CurrentUserId.reset();
    for (;;) {
        // The dialog is left only through "Вход"; closing it leaves the program.
        if (prompt().exec(&dialog) != QDialog::Accepted)
            return false;
        const LoginResult r = TryLogin(ctx, dialog.edtLogin->text(), dialog.edtPassword->text());
        if (r == LoginResult::Accepted) {
            dialog.rememberLogin();
            return true;
        }
        if (r == LoginResult::StatementFailed
            && !prompt().question(QStringLiteral("Не удалось проверить логин: база данных не отвечает.\r"
                                                 "Попробовать еще раз? (\"Нет\" — выход из программы)")))
            return false;
    }
}

} // namespace qv::users
