#include "users/tfrmuseredit.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::users {

using core::prompt;

TfrmUserEdit::TfrmUserEdit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUserEdit"));
    setWindowTitle(QStringLiteral("Редактирование пользователя"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    edtLogin = new QLineEdit(this);
    edtPassword = new QLineEdit(this);
    edtFIO = new QLineEdit(this);
    edtEmail = new QLineEdit(this);
    form->addRow(QStringLiteral("Логин пользователя:"), edtLogin);
    form->addRow(QStringLiteral("Пароль пользователя:"), edtPassword);
    form->addRow(QStringLiteral("ФИО пользователя:"), edtFIO);
    form->addRow(QStringLiteral("Email пользователя:"), edtEmail);
    layout->addLayout(form);
    cbActive = new QCheckBox(QStringLiteral("Пользователь активен"), this);
    layout->addWidget(cbActive);
    btnSave = new QPushButton(QStringLiteral("Сохранить"), this);
    layout->addWidget(btnSave);
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
}

bool TfrmUserEdit::loadUser(int userId)
{
    EditUserId = userId;
    edtLogin->clear();
    edtPassword->clear();
    edtFIO->clear();
    edtEmail->clear();
    cbActive->setChecked(false);
    const QString sql = QStringLiteral("SELECT * FROM users WHERE user_id=") + db::SqlInt(userId);
    if (db::RunDirect(sql) != 0) {
        prompt().message(db::RunFailedMessage(sql), core::MessageIcon::Error);
        return false;
    }
    db::QueryResult result(db::DbConnection());
    if (auto row = result.FetchRow()) {
        edtLogin->setText(result.field(*row, QStringLiteral("user_login")));
        edtPassword->setText(result.field(*row, QStringLiteral("user_password")));
        edtFIO->setText(result.field(*row, QStringLiteral("user_fio")));
        edtEmail->setText(result.field(*row, QStringLiteral("user_email")));
        cbActive->setChecked(result.field(*row, QStringLiteral("user_active")) == QLatin1String("1"));
    }
    return true;
}

bool TfrmUserEdit::btnSaveClick()
{
    if (edtLogin->text().isEmpty() || edtPassword->text().isEmpty()) {
        prompt().message(QStringLiteral("Вы не заполнили обязательные поля: Логин и Пароль пользователя"));
        return false;
    }
    const QString active = cbActive->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    QString sql;
    if (EditMode == QLatin1String("INSERT")) {
        sql = QStringLiteral("INSERT INTO users (user_login, user_password, user_active, user_email, user_fio) VALUES (")
              + db::Sql(edtLogin->text()) + QStringLiteral(", ") + db::Sql(edtPassword->text()) + QStringLiteral(",")
              + db::Sql(active) + QStringLiteral(", ") + db::Sql(edtEmail->text()) + QStringLiteral(", ")
              + db::Sql(edtFIO->text()) + QStringLiteral(")");
    } else if (EditMode == QLatin1String("UPDATE") && EditUserId >= 0) {
        sql = QStringLiteral("UPDATE users SET user_login=") + db::Sql(edtLogin->text())
              + QStringLiteral(", user_password=") + db::Sql(edtPassword->text()) + QStringLiteral(", user_fio=")
              + db::Sql(edtFIO->text()) + QStringLiteral(", user_email=") + db::Sql(edtEmail->text())
              + QStringLiteral(", user_active=") + db::Sql(active) + QStringLiteral(" WHERE user_id=")
              + db::SqlInt(EditUserId);
    } else {
        return false;
    }
    if (db::RunDirect(sql) != 0) {
        prompt().message(db::RunFailedMessage(sql), core::MessageIcon::Error);
        return false;
    }
    Q_EMIT saved();
    accept();
    return true;
}

} // namespace qv::users
