#include "contacts/tfrmemailconfig.h"
#include "db/query.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::contacts {

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
    auto field = [&](const char *name, const QString &label) {
        auto *e = new QLineEdit(box);
        e->setObjectName(QLatin1String(name));
        form->addRow(label, e);
        return e;
    };
    edtUserName = field("edtUserName", QStringLiteral("Имя пользователя (UserName) :"));
    edtPassword = field("edtPassword", QStringLiteral("Пароль (Password) :"));
    edtHost = field("edtHost", QStringLiteral("Имя сервера или IP адрес (Host) :"));
    edtPort = field("edtPort", QStringLiteral("Порт (Port) :"));
    v->addWidget(box);
    btnSaveEmailConfig = new QPushButton(QStringLiteral("Сохранить"), this);
    btnSaveEmailConfig->setObjectName(QStringLiteral("btnSaveEmailConfig"));
    v->addWidget(btnSaveEmailConfig);
    connect(btnSaveEmailConfig, &QPushButton::clicked, this, &TfrmEmailConfig::btnSaveEmailConfigClick);
}

bool TfrmEmailConfig::load(int projectId)
{
    for (QLineEdit *e : {edtUserName, edtPassword, edtHost, edtPort})
        e->clear();
    m_projectId = projectId;
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
    }
    return true;
}

void TfrmEmailConfig::btnSaveEmailConfigClick()
{
    if (m_projectId <= 0)
        return;
    const QString sql = QStringLiteral("UPDATE projects SET project_smtp_username=") + db::Sql(edtUserName->text())
                        + QStringLiteral(",project_smtp_password=") + db::Sql(edtPassword->text())
                        + QStringLiteral(",project_smtp_host=") + db::Sql(edtHost->text()) + QStringLiteral(",project_smtp_port=")
                        + db::Sql(edtPort->text()) + QStringLiteral(" WHERE project_id=") + db::SqlInt(m_projectId);
    if (db::ExecQuery(sql) == 0)
        accept();
}

} // namespace qv::contacts
