#include "workbench/tfrmtobaza.h"
#include "controls/anylength.h"
#include "core/appcontext.h"
#include "core/http.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"
#include "workbench/kindfacts.h"
#include "workbench/recordeditor_logic.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::workbench {

using core::prompt;

TfrmToBaza::TfrmToBaza(core::AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint), m_ctx(ctx),
      m_http(new core::HttpClient(this))
{
    setObjectName(QStringLiteral("frmToBaza"));
    setWindowTitle(QStringLiteral("Каталог/форум успешно внесен в базу пользователя!   "));
    auto *v = new QVBoxLayout(this);
    auto *banner = new QLabel(QStringLiteral("Каталог/форум успешно внесен в базу пользователя!            Предлагаем внести "
                                             "данный каталог/форум в интернет базу ? "),
                              this);
    banner->setWordWrap(true);
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    QPalette pal = banner->palette();
    pal.setColor(QPalette::Window, Qt::white);
    banner->setPalette(pal);
    v->addWidget(banner);
    auto *why = new QGroupBox(QStringLiteral("Зачем вносить каталог/форум в общедоступную интернет базу:"), this);
    auto *wv = new QVBoxLayout(why);
    for (const char *line :
         {"1) В случае поломки вашего пк - каталоги хранятся в интернет", "2) Мы будем следить за правильностью заполнения форм",
          "3) Прекратить спекуляции на базах каталогов/форумах", "4) Поддержите бесплатную программу: пополните общую базу",
          "Данная база общедоступна и бесплатна для каждого !!!"})
        wv->addWidget(new QLabel(QString::fromUtf8(line), why));
    v->addWidget(why);
    auto *ad = new QGroupBox(this);
    auto *av = new QVBoxLayout(ad);
    edtURL = new QLineEdit(ad);
    edtNURL = new QLineEdit(ad);
    edtEmail = new QLineEdit(ad);
    for (QLineEdit *e : {edtURL, edtNURL, edtEmail})
        controls::AnyLength(e);
    av->addWidget(new QLabel(QStringLiteral("URL рекламируемого сайта:"), ad));
    av->addWidget(edtURL);
    av->addWidget(new QLabel(QStringLiteral("Название рекламируемого сайта:"), ad));
    av->addWidget(edtNURL);
    av->addWidget(new QLabel(QStringLiteral("Email для уведомления об одобрении вносимого сайта:"), ad));
    av->addWidget(edtEmail);
    ad->hide();
    v->addWidget(ad);
    auto *buttons = new QHBoxLayout;
    btnSend = new QPushButton(QStringLiteral("Внести "), this);
    btnSkip = new QPushButton(QStringLiteral("Не вносить"), this);
    buttons->addWidget(btnSend);
    buttons->addWidget(btnSkip);
    v->addLayout(buttons);
    connect(btnSend, &QPushButton::clicked, this, &TfrmToBaza::Button1Click);
    connect(btnSkip, &QPushButton::clicked, this, &TfrmToBaza::Button2Click);
}

void TfrmToBaza::Button1Click()
{
    Accepted = 1;
    QDialog::done(QDialog::Accepted);
}

void TfrmToBaza::Button2Click()
{
    Accepted = 0;
    QDialog::done(QDialog::Rejected);
}

void TfrmToBaza::done(int result)
{
    // Escape or any other close means "Не вносить".
    if (result != QDialog::Accepted)
        Accepted = 0;
    QDialog::done(result);
}

bool TfrmToBaza::upload(core::Kind kind, int resourceId)
{
    const KindFacts *k = kindFacts(kind);
    if (!k)
        return false;
    if (db::ExecQuery(QStringLiteral("SELECT * FROM ") + k->table + QStringLiteral(" WHERE ") + k->idColumn + QLatin1Char('=')
                      + db::SqlInt(resourceId))
        != 0)
        return false;
    QList<UploadField> fields;
    {
        db::QueryResult result(db::DbConnection());
        const QStringList names = result.fieldNames().names();
        const auto row = result.FetchRow();
        if (!row || result.failed())
            return false;
        for (int i = 0; i < names.size(); ++i)
            fields.append({names[i], row->value(i)});
    }
    // A value holding the pairs' separator would be read by the service as
    // pairs of its own: such a record is not sent.
    const QString broken = UploadFieldWithSeparator(fields, k->idColumn);
    if (!broken.isEmpty()) {
        prompt().message(QStringLiteral("Информация не внесена: значение поля \"") + broken
                         + QStringLiteral("\" содержит \"::::\"."));
        return false;
    }
    const QByteArray body =
        UploadBody(UploadRecordText(fields, k->idColumn, k->prefix, m_ctx.AdminMode, edtURL->text(), edtNURL->text()));
    const core::HttpReply reply = m_http->post(m_ctx.makerUrl(k->uploadPage), body);
    // Any failure to deliver counts as the service's refusal.
    const bool taken = reply.ok && !UploadRefused(reply.body);
    QString outcome = taken ? QStringLiteral("Информация успешно внесена на сервер!") : QStringLiteral("Информация не внесена!");
    if (!reply.ok)
        outcome += QStringLiteral("\nПричина: ") + reply.error;
    prompt().message(outcome);
    return taken;
}

} // namespace qv::workbench
