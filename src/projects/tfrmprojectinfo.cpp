#include "projects/tfrmprojectinfo.h"
#include "controls/anylength.h"
#include "projects/projectchoice.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"

#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::projects {

using core::prompt;

TfrmProjectInfo::TfrmProjectInfo(core::AppContext &ctx, mainview::MainView *main, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_ctx(ctx), m_main(main)
{
    setObjectName(QStringLiteral("frmProjectInfo"));
    setWindowTitle(QStringLiteral("Общие данные проекта"));
    auto *layout = new QVBoxLayout(this);

    auto *header = new QLabel(QStringLiteral("Редактирование общих данных проекта"), this);
    QFont headerFont = header->font();
    headerFont.setBold(true);
    header->setFont(headerFont);
    header->setStyleSheet(QStringLiteral("background: white; padding: 8px;"));
    layout->addWidget(header);

    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(controls::kNoMaxLength);
        return e;
    };
    edtProjectName = edit("edtProjectName");
    edtURL = edit("edtURL");
    edtURL->setText(QStringLiteral("http://"));
    edtFIO = edit("edtFIO");
    edtEMail = edit("edtEMail");
    edtOrganization = edit("edtOrganization");
    edtTel = edit("edtTel");
    edtFAX = edit("edtFAX");
    edtCity = edit("edtCity");
    edtCountry = edit("edtCountry");
    edtAddress = edit("edtAddress");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Введите название проекта:"), edtProjectName);
    form->addRow(QStringLiteral("Адрес продвигаемого сайта:"), edtURL);
    form->addRow(QStringLiteral("ФИО владельца сайта:"), edtFIO);
    form->addRow(QStringLiteral("email администратора сайта:"), edtEMail);
    form->addRow(QStringLiteral("Организация:"), edtOrganization);
    auto *phones = new QHBoxLayout;
    phones->addWidget(edtTel);
    phones->addWidget(edtFAX);
    form->addRow(QStringLiteral("Тел, факс:"), phones);
    form->addRow(QStringLiteral("Город:"), edtCity);
    form->addRow(QStringLiteral("Страна:"), edtCountry);
    form->addRow(QStringLiteral("Адрес:"), edtAddress);
    layout->addLayout(form);

    btnProjectInfoSave = new QPushButton(QStringLiteral("Сохранить"), this);
    btnProjectInfoSave->setObjectName(QStringLiteral("btnProjectInfoSave"));
    btnProjectInfoSave->setAutoDefault(false);
    QFont bold = btnProjectInfoSave->font();
    bold.setBold(true);
    btnProjectInfoSave->setFont(bold);
    layout->addWidget(btnProjectInfoSave, 0, Qt::AlignRight);
    connect(btnProjectInfoSave, &QPushButton::clicked, this, [this] { btnProjectInfoSaveClick(); });

    resize(460, sizeHint().height());
    setFixedSize(size());
}

ProjectData TfrmProjectInfo::fields() const
{
    ProjectData p;
    p.name = edtProjectName->text();
    p.url = edtURL->text();
    p.fio = edtFIO->text();
    p.email = edtEMail->text();
    p.company = edtOrganization->text();
    p.tel = edtTel->text();
    p.fax = edtFAX->text();
    p.city = edtCity->text();
    p.country = edtCountry->text();
    p.address = edtAddress->text();
    return p;
}

void TfrmProjectInfo::setFields(const ProjectData &p)
{
    edtProjectName->setText(p.name);
    edtURL->setText(p.url);
    edtFIO->setText(p.fio);
    edtEMail->setText(p.email);
    edtOrganization->setText(p.company);
    edtTel->setText(p.tel);
    edtFAX->setText(p.fax);
    edtCity->setText(p.city);
    edtCountry->setText(p.country);
    edtAddress->setText(p.address);
}

void TfrmProjectInfo::clearFields() { setFields(ProjectData()); }

void TfrmProjectInfo::editProject(int projectId, const ProjectData &loaded)
{
    setFields(loaded);
    EditMode = QStringLiteral("Edit");
    EditProjectId = projectId;
    m_loaded = db::LoadedRow(QStringLiteral("projects"), QStringLiteral("project_id"), projectId);
    for (const db::FieldValue &f : savedFields(loaded))
        m_loaded.set(f.column, f.value);
}

QList<db::FieldValue> TfrmProjectInfo::savedFields(const ProjectData &p) const
{
    return {{QStringLiteral("project_name"), QStringLiteral("Введите название проекта:"), p.name},
            {QStringLiteral("project_url"), QStringLiteral("Адрес продвигаемого сайта:"), p.url},
            {QStringLiteral("project_address"), QStringLiteral("Адрес:"), p.address},
            {QStringLiteral("project_fio"), QStringLiteral("ФИО владельца сайта:"), p.fio},
            {QStringLiteral("project_email"), QStringLiteral("email администратора сайта:"), p.email},
            {QStringLiteral("project_company"), QStringLiteral("Организация:"), p.company},
            {QStringLiteral("project_tel"), QStringLiteral("Тел, факс (телефон)"), p.tel},
            {QStringLiteral("project_fax"), QStringLiteral("Тел, факс (факс)"), p.fax},
            {QStringLiteral("project_city"), QStringLiteral("Город:"), p.city},
            {QStringLiteral("project_country"), QStringLiteral("Страна:"), p.country}};
}

void TfrmProjectInfo::btnProjectInfoSaveClick()
{
    const ProjectData p = fields();
    if (p.url.isEmpty() || p.name.isEmpty()) {
        prompt().message(QStringLiteral("Вы не заполнили обязательные поля: URL сайта и/или название проекта"));
        return;
    }
    const bool adding = EditMode == QLatin1String("Add");
    if (!adding && EditMode != QLatin1String("Edit"))
        return;
    const QList<db::FieldValue> written = savedFields(p);
    if (!db::FieldsFit(QStringLiteral("projects"), written))
        return;

    int projectId = EditProjectId;
    if (adding) {
        bool failed = false;
        const auto existing = db::FirstRow(ProjectByNameSql(p.name), &failed);
        if (failed)
            return;
        if (existing) {
            prompt().message(QStringLiteral("Проект с таким именем уже есть в базе! Выберите другое имя!"));
            return;
        }
        if (db::ExecQuery(ProjectInsertSql(p)) != 0)
            return;
        projectId = static_cast<int>(db::DbConnection().lastInsertId());
    } else {
        if (projectId <= 0)
            return;
        // Only over what the window loaded: a change made by another copy
        // meanwhile is written over only when the user says so.
        if (m_loaded.id() != projectId)
            m_loaded = db::LoadedRow();
        const QString sql = ProjectUpdateSql(p, projectId);
        const db::SaveOutcome saved = db::SaveRow(m_loaded, written, [&sql] { return db::ExecQuery(sql) == 0; });
        if (saved == db::SaveOutcome::Gone)
            prompt().message(db::RowGoneMessage());
        if (saved != db::SaveOutcome::Saved)
            return;
    }

    if (!showProject(projectId))
        return;
    if (adding && (projectId <= 0 || !seedProject(projectId)))
        return;
    accept();
}

bool TfrmProjectInfo::showProject(int projectId)
{
    if (!m_main)
        return true;
    if (m_main->reloadProjects && !m_main->reloadProjects())
        return false;
    const int index = static_cast<int>(m_main->projectIds.indexOf(projectId));
    if (index > 0) {
        m_ctx.CurrentProjectId = projectId;
        m_main->cbProjects->setCurrentIndex(index);
    }
    if (m_main->projects)
        m_main->projects->cbProjectsChange();
    return true;
}

bool TfrmProjectInfo::seedProject(int projectId)
{
    // The seeds carry the project's data as the server stored it.
    if (db::ExecQuery(ProjectByIdSql(projectId)) != 0)
        return false;
    ProjectData stored;
    {
        db::QueryResult result(db::DbConnection());
        if (const auto row = result.FetchRow())
            stored = ProjectFromRow(result, *row);
    }
    for (const QString &sql : ProjectSeedSql(projectId, stored)) {
        if (db::ExecQuery(sql) != 0)
            return false;
    }
    return true;
}

} // namespace qv::projects
