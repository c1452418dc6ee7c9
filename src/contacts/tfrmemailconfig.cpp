#include "contacts/tfrmemailconfig.h"
#include "controls/anylength.h"
#include "core/prompt.h"
#include "db/columnlimits.h"
#include "db/query.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::contacts {

namespace {
// The settings in screen order: the edit, the column it feeds, its caption.
struct Setting {
    const char *name;
    const char *column;
    const char *caption;
};
constexpr Setting kSettings[] = {{"edtUserName", "project_smtp_username", "Имя пользователя (UserName) :"},
                                 {"edtPassword", "project_smtp_password", "Пароль (Password) :"},
                                 {"edtHost", "project_smtp_host", "Имя сервера или IP адрес (Host) :"},
                                 {"edtPort", "project_smtp_port", "Порт (Port) :"}};
} // namespace

TfrmEmailConfig::TfrmEmailConfig(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEmailConfig"));
    setWindowTitle(QStringLiteral("Настройка для подключения к email"));
    auto *v = new QVBoxLayout(this);
    auto *banner = new QLabel(QStringLiteral("Настройки для подключения к email серверу"), this);
    QFont bold = banner->font();
    bold.setBold(true);
    banner->setFont(bold);
    v->addWidget(banner);
    auto *box = new QGroupBox(QStringLiteral("Данные для email рассылки (для подключения к email серверу)"), this);
    auto *form = new QFormLayout(box);
    QLineEdit **edits[] = {&edtUserName, &edtPassword, &edtHost, &edtPort};
    for (int i = 0; i < 4; ++i) {
        auto *e = controls::AnyLength(new QLineEdit(box));
        e->setObjectName(QLatin1String(kSettings[i].name));
        form->addRow(QString::fromUtf8(kSettings[i].caption), e);
        *edits[i] = e;
    }
    v->addWidget(box);
    btnSaveEmailConfig = new QPushButton(QStringLiteral("Сохранить"), this);
    btnSaveEmailConfig->setObjectName(QStringLiteral("btnSaveEmailConfig"));
    v->addWidget(btnSaveEmailConfig);
    connect(btnSaveEmailConfig, &QPushButton::clicked, this, &TfrmEmailConfig::btnSaveEmailConfigClick);
}

QList<db::FieldValue> TfrmEmailConfig::fields() const
{
    const QLineEdit *const edits[] = {edtUserName, edtPassword, edtHost, edtPort};
    QList<db::FieldValue> out;
    for (int i = 0; i < 4; ++i)
        out.append({QLatin1String(kSettings[i].column), QString::fromUtf8(kSettings[i].caption), edits[i]->text()});
    return out;
}

bool TfrmEmailConfig::load(int projectId)
{
    for (QLineEdit *e : {edtUserName, edtPassword, edtHost, edtPort})
        e->clear();
    m_projectId = projectId;
    m_loaded = db::LoadedRow();
    bool failed = false;
    const auto row = db::FirstRow(QStringLiteral("SELECT project_smtp_username, project_smtp_password, project_smtp_host, "
                                                 "project_smtp_port FROM projects WHERE project_id=")
                                      + db::SqlInt(projectId),
                                  &failed);
    if (failed)
        return false;
    if (row) {
        edtUserName->setText(row->value(0));
        edtPassword->setText(row->value(1));
        edtHost->setText(row->value(2));
        edtPort->setText(row->value(3));
        // What a save compares with: the four settings as they were read.
        m_loaded = db::LoadedRow(QStringLiteral("projects"), QStringLiteral("project_id"), projectId);
        const QList<db::FieldValue> shown = fields();
        for (qsizetype i = 0; i < shown.size(); ++i)
            m_loaded.set(shown[i].column, row->value(i));
    }
    return true;
}

void TfrmEmailConfig::btnSaveEmailConfigClick()
{
    if (m_projectId <= 0)
        return;
    const QList<db::FieldValue> written = fields();
    if (!db::FieldsFit(QStringLiteral("projects"), written))
        return;
    const QString sql = QStringLiteral("UPDATE projects SET project_smtp_username=") + db::Sql(edtUserName->text())
                        + QStringLiteral(",project_smtp_password=") + db::Sql(edtPassword->text())
                        + QStringLiteral(",project_smtp_host=") + db::Sql(edtHost->text()) + QStringLiteral(",project_smtp_port=")
                        + db::Sql(edtPort->text()) + QStringLiteral(" WHERE project_id=") + db::SqlInt(m_projectId);
    const db::SaveOutcome saved = db::SaveRow(m_loaded, written, [&sql] { return db::ExecQuery(sql) == 0; });
    if (saved == db::SaveOutcome::Gone)
        core::prompt().message(db::RowGoneMessage());
    if (saved == db::SaveOutcome::Saved)
        accept();
}

} // namespace qv::contacts
