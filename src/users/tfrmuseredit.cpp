#include "users/tfrmuseredit.h"
#include "controls/anylength.h"
#include "core/prompt.h"
#include "db/columnlimits.h"
#include "db/database.h"
#include "db/query.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::users {

using core::prompt;

namespace {
const char *const kLoginCaption = "Логин пользователя:";
const char *const kPasswordCaption = "Пароль пользователя:";
const char *const kFioCaption = "ФИО пользователя:";
const char *const kEmailCaption = "Email пользователя:";
} // namespace

TfrmUserEdit::TfrmUserEdit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUserEdit"));
    setWindowTitle(QStringLiteral("Редактирование пользователя"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    edtLogin = controls::AnyLength(new QLineEdit(this));
    edtPassword = controls::AnyLength(new QLineEdit(this));
    edtFIO = controls::AnyLength(new QLineEdit(this));
    edtEmail = controls::AnyLength(new QLineEdit(this));
    form->addRow(QString::fromUtf8(kLoginCaption), edtLogin);
    form->addRow(QString::fromUtf8(kPasswordCaption), edtPassword);
    form->addRow(QString::fromUtf8(kFioCaption), edtFIO);
    form->addRow(QString::fromUtf8(kEmailCaption), edtEmail);
    layout->addLayout(form);
    cbActive = new QCheckBox(QStringLiteral("Пользователь активен"), this);
    layout->addWidget(cbActive);
    btnSave = new QPushButton(QStringLiteral("Сохранить"), this);
    layout->addWidget(btnSave);
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
}

QList<db::FieldValue> TfrmUserEdit::fields() const
{
    return {{QStringLiteral("user_login"), QString::fromUtf8(kLoginCaption), edtLogin->text()},
            {QStringLiteral("user_password"), QString::fromUtf8(kPasswordCaption), edtPassword->text()},
            {QStringLiteral("user_fio"), QString::fromUtf8(kFioCaption), edtFIO->text()},
            {QStringLiteral("user_email"), QString::fromUtf8(kEmailCaption), edtEmail->text()},
            {QStringLiteral("user_active"), cbActive->text(), cbActive->isChecked() ? QStringLiteral("1") : QStringLiteral("0")}};
}

bool TfrmUserEdit::run(const QString &sql)
{
    if (db::RunDirect(sql) == 0)
        return true;
    prompt().message(db::RunFailedMessage(sql), core::MessageIcon::Error);
    return false;
}

bool TfrmUserEdit::loadUser(int userId)
{
    EditUserId = userId;
    m_loaded = db::LoadedRow();
    edtLogin->clear();
    edtPassword->clear();
    edtFIO->clear();
    edtEmail->clear();
    cbActive->setChecked(false);
    if (!run(QStringLiteral("SELECT * FROM users WHERE user_id=") + db::SqlInt(userId)))
        return false;
    db::QueryResult result(db::DbConnection());
    if (auto row = result.FetchRow()) {
        m_loaded = db::LoadedRow::fromResult(QStringLiteral("users"), QStringLiteral("user_id"), userId, result, *row);
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
    const QList<db::FieldValue> written = fields();
    if (!db::FieldsFit(QStringLiteral("users"), written))
        return false;
    const QString active = written.last().value;
    QString sql;
    const bool updating = EditMode == QLatin1String("UPDATE") && EditUserId >= 0;
    if (EditMode == QLatin1String("INSERT")) {
        sql = QStringLiteral("INSERT INTO users (user_login, user_password, user_active, user_email, user_fio) VALUES (")
              + db::Sql(edtLogin->text()) + QStringLiteral(", ") + db::Sql(edtPassword->text()) + QStringLiteral(",")
              + db::Sql(active) + QStringLiteral(", ") + db::Sql(edtEmail->text()) + QStringLiteral(", ")
              + db::Sql(edtFIO->text()) + QStringLiteral(")");
    } else if (updating) {
        sql = QStringLiteral("UPDATE users SET user_login=") + db::Sql(edtLogin->text()) + QStringLiteral(", user_password=")
              + db::Sql(edtPassword->text()) + QStringLiteral(", user_fio=") + db::Sql(edtFIO->text())
              + QStringLiteral(", user_email=") + db::Sql(edtEmail->text()) + QStringLiteral(", user_active=") + db::Sql(active)
              + QStringLiteral(" WHERE user_id=") + db::SqlInt(EditUserId);
    } else {
        return false;
    }
    if (!updating) {
        if (!run(sql))
            return false;
    } else {
        // Only over the row as loaded: another copy's change is written over
        // only when the user says so.
        if (m_loaded.id() != EditUserId)
            m_loaded = db::LoadedRow();
        const db::SaveOutcome outcome = db::SaveRow(m_loaded, written, [&sql] { return run(sql); });
        if (outcome == db::SaveOutcome::Gone)
            prompt().message(db::RowGoneMessage());
        if (outcome != db::SaveOutcome::Saved)
            return false;
    }
    Q_EMIT saved();
    accept();
    return true;
}

} // namespace qv::users
