#include "workbench/tfrmauth.h"
#include "controls/anylength.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/columnlimits.h"
#include "db/query.h"
#include "db/upsert.h"
#include "workbench/formfill_logic.h"
#include "workbench/kindfacts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace qv::workbench {

using core::prompt;

namespace {
// The key of a resource's entry: " WHERE <resource>=id AND <project>=id".
QString authWhere(const KindFacts &k, int resourceId, int projectId)
{
    return QStringLiteral(" WHERE ") + k.authResource + QLatin1Char('=') + db::SqlInt(resourceId) + QStringLiteral(" AND ")
           + k.authProject + QLatin1Char('=') + db::SqlInt(projectId);
}
} // namespace

QString AuthReadSql(core::Kind kind, int resourceId, int projectId)
{
    const KindFacts *k = kindFacts(kind);
    if (!k)
        return QString();
    return db::KeyedRowSql(k->authTable, authWhere(*k, resourceId, projectId));
}

QString AuthUpdateSql(core::Kind kind, qint64 entryId, int resourceId, const QString &login, const QString &password)
{
    const KindFacts *k = kindFacts(kind);
    if (!k)
        return QString();
    return QStringLiteral("UPDATE ") + k->authTable + QStringLiteral(" SET ") + k->authResource + QLatin1Char('=')
           + db::SqlInt(resourceId) + QLatin1Char(',') + k->authTable + QStringLiteral("_login=") + db::Sql(login)
           + QStringLiteral(", ") + k->authTable + QStringLiteral("_password=") + db::Sql(password) + QStringLiteral(" WHERE ")
           + k->authTable + QStringLiteral("_id=") + db::SqlInt(entryId);
}

QString AuthInsertSql(core::Kind kind, int resourceId, int projectId, const QString &login, const QString &password)
{
    const KindFacts *k = kindFacts(kind);
    if (!k)
        return QString();
    return QStringLiteral("INSERT INTO ") + k->authTable + QStringLiteral(" (") + k->authProject + QStringLiteral(", ")
           + k->authResource + QStringLiteral(", ") + k->authTable + QStringLiteral("_login, ") + k->authTable
           + QStringLiteral("_password) VALUES (") + db::SqlInt(projectId) + QLatin1Char(',') + db::SqlInt(resourceId)
           + QLatin1Char(',') + db::Sql(login) + QStringLiteral(", ") + db::Sql(password) + QLatin1Char(')');
}

QString GeneratePassword() { return QString::number(QRandomGenerator::global()->bounded(999999999)); }

TfrmAuth::TfrmAuth(core::AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmAuth"));
    setWindowTitle(QStringLiteral("Менеджер паролей"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *header = new QLabel(QStringLiteral("Менеджер паролей"), this);
    QFont f = header->font();
    f.setBold(true);
    header->setFont(f);
    layout->addWidget(header);
    auto *grid = new QGridLayout;
    edtLogin = controls::AnyLength(new QLineEdit(this));
    edtLogin->setObjectName(QStringLiteral("edtLogin"));
    edtPassword = controls::AnyLength(new QLineEdit(this));
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    cbDefaultLogin = new QCheckBox(QStringLiteral("Сохранить данный логин как стандартный"), this);
    grid->addWidget(new QLabel(QStringLiteral("Логин:"), this), 0, 0);
    grid->addWidget(edtLogin, 0, 1);
    grid->addWidget(cbDefaultLogin, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Пароль:"), this), 2, 0);
    grid->addWidget(edtPassword, 2, 1);
    layout->addLayout(grid);
    rbOld = new QRadioButton(QStringLiteral("Оставить уже сохраненные логин и пароль"), this);
    rbManual = new QRadioButton(QStringLiteral("Ввести пароль и логин вручную"), this);
    rbAuto = new QRadioButton(QStringLiteral("Сгенерировать пароль автоматически"), this);
    layout->addWidget(rbOld);
    layout->addWidget(rbManual);
    layout->addWidget(rbAuto);
    Button1 = new QPushButton(QStringLiteral("Сохр. пароль и заполнить поля"), this);
    Button1->setDefault(true);
    layout->addWidget(Button1);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));

    connect(rbManual, &QRadioButton::clicked, this, &TfrmAuth::rbManualClick);
    connect(rbOld, &QRadioButton::clicked, this, &TfrmAuth::rbOldClick);
    connect(rbAuto, &QRadioButton::clicked, this, &TfrmAuth::rbAutoClick);
    connect(cbDefaultLogin, &QCheckBox::clicked, this, &TfrmAuth::cbDefaultLoginClick);
    connect(edtLogin, &QLineEdit::textChanged, this, &TfrmAuth::edtLoginChange);
    connect(Button1, &QPushButton::clicked, this, &TfrmAuth::Button1Click);
}

std::optional<SiteLogin> TfrmAuth::readEntry(bool direct, bool *failed)
{
    *failed = false;
    const QString sql = AuthReadSql(m_ctx.CurrentKind, m_ctx.SelectedResourceId, m_ctx.CurrentProjectId);
    if (sql.isEmpty()) {
        *failed = true;
        return std::nullopt;
    }
    if (direct) {
        if (db::RunDirect(sql) != 0) {
            prompt().message(db::RunFailedMessage(sql), core::MessageIcon::Error);
            *failed = true;
            return std::nullopt;
        }
    } else if (db::ExecQuery(sql) != 0) {
        *failed = true;
        return std::nullopt;
    }
    db::QueryResult result(db::DbConnection());
    if (!result.isValid()) {
        prompt().message(db::StatementFailedMessage(sql, db::DbConnection().errorText()), core::MessageIcon::Error);
        *failed = true;
        return std::nullopt;
    }
    const auto row = result.FetchRow();
    if (!row) {
        // A read that broke off is no "no entry": nothing may be inserted
        // over an entry that could not be read.
        *failed = result.failed();
        return std::nullopt;
    }
    const KindFacts *k = kindFacts(m_ctx.CurrentKind);
    const qint64 id = db::ParseInt(row->value(0)).value_or(-1);
    return SiteLogin{row->value(1), row->value(2),
                     db::LoadedRow::fromResult(k->authTable, k->authTable + QStringLiteral("_id"), id, result, *row)};
}

TfrmAuth::Outcome TfrmAuth::tbnAuthClick()
{
    if (hasSelection && !hasSelection())
        return NotShown;
    rbManual->setChecked(true);
    rbManualClick();
    // The stored entry with "Оставить уже сохраненные логин и пароль", else
    // empty edits with "Ввести пароль и логин вручную". One read: when it
    // fails the window is not shown and nothing is saved.
    rbOld->setChecked(true);
    edtLogin->clear();
    edtPassword->clear();
    bool failed = false;
    const auto entry = readEntry(false, &failed);
    if (failed)
        return NotShown;
    m_entry = entry ? entry->row : db::LoadedRow();
    if (entry) {
        edtLogin->setText(entry->login);
        edtPassword->setText(entry->password);
    } else {
        rbManual->setChecked(true);
    }
    m_showing = true;
    m_byButton = false;
    do {
        m_save = Save::NotTried;
        prompt().exec(this);
        // A window that went without a close of its own is saved now.
        if (m_save == Save::NotTried)
            m_save = save();
    } while (m_save == Save::Kept);
    m_showing = false;
    if (m_save != Save::Saved)
        return NothingSaved;
    return m_byButton ? SavedToFill : Saved;
}

void TfrmAuth::done(int result)
{
    if (m_showing) {
        m_save = save();
        if (m_save == Save::Kept) {
            m_byButton = false;
            return;
        }
    }
    QDialog::done(result);
}

TfrmAuth::Save TfrmAuth::save()
{
    const QString login = edtLogin->text();
    const QString password = edtPassword->text();
    if (login.isEmpty() && password.isEmpty())
        return Save::Empty;
    const KindFacts *k = kindFacts(m_ctx.CurrentKind);
    if (!k)
        return Save::Failed;
    const QList<db::FieldValue> fields{{k->authTable + QStringLiteral("_login"), QStringLiteral("Логин:"), login},
                                       {k->authTable + QStringLiteral("_password"), QStringLiteral("Пароль:"), password}};
    if (!db::FieldsFit(k->authTable, fields))
        return Save::Kept;
    // An entry another copy stored while this window showed none is that
    // copy's record of the account: it is written over, like any change of
    // that copy, only when the user says so (compared with the empty entry
    // this window showed).
    db::LoadedRow entry = m_entry;
    if (!entry.isValid()) {
        bool failed = false;
        const auto stored = readEntry(false, &failed);
        if (failed)
            return Save::Failed;
        if (stored) {
            entry = stored->row;
            for (const db::FieldValue &f : fields)
                entry.set(f.column, QString());
        }
    }
    if (!entry.isValid()) {
        const QString sql = AuthInsertSql(m_ctx.CurrentKind, m_ctx.SelectedResourceId, m_ctx.CurrentProjectId, login, password);
        return db::ExecQuery(sql) == 0 ? Save::Saved : Save::Failed;
    }
    const QString sql = AuthUpdateSql(m_ctx.CurrentKind, entry.id(), m_ctx.SelectedResourceId, login, password);
    switch (db::SaveRow(entry, fields, [&sql] { return db::ExecQuery(sql) == 0; })) {
    case db::SaveOutcome::Saved: m_entry = entry; return Save::Saved;
    case db::SaveOutcome::Declined: return Save::Kept;
    case db::SaveOutcome::Gone:
        prompt().message(db::RowGoneMessage());
        m_entry = db::LoadedRow();
        return Save::Kept;
    case db::SaveOutcome::Failed: break;
    }
    return Save::Failed;
}

void TfrmAuth::rbManualClick()
{
    edtLogin->clear();
    edtPassword->clear();
}

void TfrmAuth::rbOldClick()
{
    edtLogin->clear();
    edtPassword->clear();
    bool failed = false;
    const auto entry = readEntry(true, &failed);
    if (failed)
        return;
    // What the edits show now is what a save compares with.
    m_entry = entry ? entry->row : db::LoadedRow();
    if (entry) {
        edtLogin->setText(entry->login);
        edtPassword->setText(entry->password);
    } else {
        rbManual->setChecked(true);
        rbManualClick();
    }
}

void TfrmAuth::rbAutoClick()
{
    if (!rbAuto->isChecked())
        return;
    const QString sql =
        QStringLiteral("SELECT project_config_deflogin FROM projects WHERE project_id=") + db::SqlInt(m_ctx.CurrentProjectId);
    if (db::RunDirect(sql) != 0) {
        prompt().message(db::RunFailedMessage(sql), core::MessageIcon::Error);
        return;
    }
    QString login;
    {
        db::QueryResult result(db::DbConnection());
        if (const auto row = result.FetchRow())
            login = row->value(0);
    }
    edtLogin->setText(login);
    edtPassword->setText(GeneratePassword());
}

void TfrmAuth::cbDefaultLoginClick()
{
    if (!cbDefaultLogin->isChecked())
        return;
    if (!db::FieldsFit(QStringLiteral("projects"),
                       {{QStringLiteral("project_config_deflogin"), QStringLiteral("Логин:"), edtLogin->text()}})) {
        // Not stored as the default: the box says so.
        cbDefaultLogin->setChecked(false);
        return;
    }
    const QString sql = QStringLiteral("UPDATE projects SET project_config_deflogin=") + db::Sql(edtLogin->text())
                        + QStringLiteral(" WHERE project_id=") + db::SqlInt(m_ctx.CurrentProjectId);
    if (db::RunDirect(sql) != 0)
        prompt().message(db::RunFailedMessage(sql), core::MessageIcon::Error);
}

void TfrmAuth::edtLoginChange()
{
    if (cbDefaultLogin->isChecked())
        cbDefaultLogin->setChecked(false);
}

void TfrmAuth::Button1Click()
{
    m_byButton = true;
    accept();
}

} // namespace qv::workbench
