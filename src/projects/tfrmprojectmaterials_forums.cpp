// The materials editor's forum press releases (tab 2).
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace qv::projects {

using core::prompt;

QWidget *TfrmProjectMaterials::buildForumPage()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(forumHeader(page));

    FieldGrid grid;
    addForumMessageFields(grid);
    addForumRegistrationFields(grid);
    grid.end();

    ScrollBox2 = scrollArea(page, QStringLiteral("ScrollBox2"), grid.content());
    v->addWidget(ScrollBox2, 1);
    connectForumFields();
    return page;
}

QWidget *TfrmProjectMaterials::forumHeader(QWidget *page)
{
    cbFMaterials = new MaterialList;
    cbFMaterials->setObjectName(QStringLiteral("cbFMaterials"));
    FMaterialSave = stripButton(QStringLiteral("FMaterialSave"), QStringLiteral("Сохр. объявление"));
    btnFMaterialNew = stripButton(QStringLiteral("btnFMaterialNew"), QStringLiteral("Новое объявление"));
    btnFMaterialCopy = stripButton(QStringLiteral("btnFMaterialCopy"), QStringLiteral("Копия объявления"));
    Label5 = new LinkLabel(QStringLiteral("Справка и советы >>"));
    Label5->setObjectName(QStringLiteral("Label5"));
    return headerStrip(page, QStringLiteral("Объявления для форумов"), false, cbFMaterials,
                       {FMaterialSave, btnFMaterialNew, btnFMaterialCopy}, Label5);
}

void TfrmProjectMaterials::addForumMessageFields(FieldGrid &grid)
{
    edtTitle_8 = grid.line("edtTitle_8");
    grid.wide(QStringLiteral("Название темы:"), edtTitle_8);
    edtSTitle_8 = grid.line("edtSTitle_8");
    grid.wide(QStringLiteral("Доп. название темы:"), edtSTitle_8);
    memDescription_8 = grid.memo("memDescription_8");
    memDescription_8->setMinimumHeight(220);
    grid.wide(QStringLiteral("Текст объявления (сообщения для форума):"), memDescription_8);
}

void TfrmProjectMaterials::addForumRegistrationFields(FieldGrid &grid)
{
    auto *heading = new QLabel(QStringLiteral("Информация для регистрации на форуме:"), grid.content());
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid.across(heading);
    edtFIO_8 = grid.line("edtFIO_8");
    edtEMail_8 = grid.line("edtEMail_8");
    grid.pair(QStringLiteral("ФИО администратора"), edtFIO_8, QStringLiteral("Email админа:"), edtEMail_8);
    edtOrganization_8 = grid.line("edtOrganization_8");
    edtTel_8 = grid.line("edtTel_8");
    edtFAX_8 = grid.line("edtFAX_8");
    grid.pair(QStringLiteral("Организация:"), edtOrganization_8, QStringLiteral("Телефон, факс:"),
              grid.sideBySide(edtTel_8, edtFAX_8));
    edtCity_8 = grid.line("edtCity_8");
    edtCountry_8 = grid.line("edtCountry_8");
    grid.pair(QStringLiteral("Город:"), edtCity_8, QStringLiteral("Страна:"), edtCountry_8);
    edtURL_8 = grid.line("edtURL_8");
    edtURL_8->setText(QStringLiteral("http://"));
    grid.wide(QStringLiteral("Адрес сайта:"), edtURL_8);
}

void TfrmProjectMaterials::connectForumFields()
{
    for (MaterialLineEdit *e : {edtTitle_8, edtSTitle_8, edtFIO_8, edtEMail_8, edtOrganization_8, edtTel_8, edtFAX_8, edtCity_8,
                                edtCountry_8, edtURL_8})
        connect(e, &QLineEdit::textChanged, this, [this] { markEdited(ForumTab); });
    connect(memDescription_8, &QPlainTextEdit::textChanged, this, [this] { markEdited(ForumTab); });
    connect(FMaterialSave, &QPushButton::clicked, this, [this] { FMaterialSaveClick(); });
    connect(btnFMaterialNew, &QPushButton::clicked, this, [this] { btnFMaterialNewClick(); });
    connect(btnFMaterialCopy, &QPushButton::clicked, this, [this] { btnFMaterialCopyClick(); });
}

PressRelease TfrmProjectMaterials::pressReleaseFields() const
{
    PressRelease d;
    d.url = edtURL_8->text();
    d.fio = edtFIO_8->text();
    d.email = edtEMail_8->text();
    d.company = edtOrganization_8->text();
    d.tel = edtTel_8->text();
    d.fax = edtFAX_8->text();
    d.city = edtCity_8->text();
    d.country = edtCountry_8->text();
    d.title = edtTitle_8->text();
    d.stitle = edtSTitle_8->text();
    d.description = memDescription_8->storedText();
    return d;
}

void TfrmProjectMaterials::setPressReleaseFields(const PressRelease &d)
{
    edtURL_8->setText(d.url);
    edtFIO_8->setText(d.fio);
    edtEMail_8->setText(d.email);
    edtOrganization_8->setText(d.company);
    edtTel_8->setText(d.tel);
    edtFAX_8->setText(d.fax);
    edtCity_8->setText(d.city);
    edtCountry_8->setText(d.country);
    edtTitle_8->setText(d.title);
    edtSTitle_8->setText(d.stitle);
    memDescription_8->setStoredText(d.description);
}

void TfrmProjectMaterials::clearPressReleaseFields() { setPressReleaseFields(PressRelease()); }

void TfrmProjectMaterials::cbFMaterialsChange()
{
    loadMaterial(ForumTab, MaterialKind::Forum, cbFMaterials->currentId(), PressReleaseFromRow,
                 [this](const PressRelease &d) { setPressReleaseFields(d); });
}

namespace {
// The captions of the fields that hold the columns of a save.
const QHash<QString, QString> &pressReleaseCaptions()
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("fmaterial_url"), QStringLiteral("Адрес сайта:")},
        {QStringLiteral("fmaterial_email"), QStringLiteral("Email админа:")},
        {QStringLiteral("fmaterial_company"), QStringLiteral("Организация:")},
        {QStringLiteral("fmaterial_tel"), QStringLiteral("Телефон, факс:")},
        {QStringLiteral("fmaterial_fax"), QStringLiteral("Телефон, факс:")},
        {QStringLiteral("fmaterial_city"), QStringLiteral("Город:")},
        {QStringLiteral("fmaterial_fio"), QStringLiteral("ФИО администратора")},
        {QStringLiteral("fmaterial_f"), QStringLiteral("ФИО администратора")},
        {QStringLiteral("fmaterial_i"), QStringLiteral("ФИО администратора")},
        {QStringLiteral("fmaterial_o"), QStringLiteral("ФИО администратора")},
        {QStringLiteral("fmaterial_country"), QStringLiteral("Страна:")},
        {QStringLiteral("fmaterial_title"), QStringLiteral("Название темы:")},
        {QStringLiteral("fmaterial_stitle"), QStringLiteral("Доп. название темы:")},
        {QStringLiteral("fmaterial_description"), QStringLiteral("Текст объявления (сообщения для форума):")}};
    return captions;
}
} // namespace

void TfrmProjectMaterials::FMaterialSaveClick()
{
    const PressRelease d = pressReleaseFields();
    saveLoaded(ForumTab, MaterialKind::Forum, CaptionedFields(PressReleaseColumns(d), pressReleaseCaptions()),
               [&d](const LoadedMaterial &l) { return PressReleaseUpdateSql(d, l.id, l.projectId); });
}

namespace {
// Appends a press release to the main window's list without changing the
// active one (an empty list stays without a choice).
void appendToMainList(mainview::MainView *main, const QString &name, int id)
{
    if (!main)
        return;
    QComboBox *list = main->cbFMaterials;
    const int shown = list->currentIndex();
    list->addItem(name, id);
    list->setCurrentIndex(shown);
}

QString pressReleaseByName(const QString &name, int projectId) { return MaterialByNameSql(MaterialKind::Forum, name, projectId); }
} // namespace

void TfrmProjectMaterials::btnFMaterialNewClick()
{
    if (!projectChosen())
        return;
    createMaterial(NewMaterial{.caption = QStringLiteral("Создание нового объявления"),
                               .label = QStringLiteral("Введите название нового объявления:"),
                               .byNameSql = pressReleaseByName,
                               .taken = QStringLiteral("Объявление с таким названием уже существует! Придумайте другое название"),
                               .insertSql = [this](const QString &name, int projectId) -> std::optional<QString> {
                                   const auto project = currentProjectData();
                                   if (!project)
                                       return std::nullopt;
                                   return PressReleaseNewSql(name, projectId, *project);
                               },
                               .addToMain = [this](const QString &name, int id) { appendToMainList(m_main, name, id); },
                               .list = cbFMaterials,
                               .show = [this](int, int) { cbFMaterialsChange(); }});
}

void TfrmProjectMaterials::btnFMaterialCopyClick()
{
    if (!projectChosen())
        return;
    // The copy carries the fields as they are: each must fit its column.
    if (!db::FieldsFit(QStringLiteral("fmaterials"),
                       CaptionedFields(PressReleaseColumns(pressReleaseFields()), pressReleaseCaptions())))
        return;
    createMaterial(
        NewMaterial{.caption = QStringLiteral("Создание копии пресс-релиза"),
                    .label = QStringLiteral("Введите название копии пресс-оелиза:"),
                    .byNameSql = pressReleaseByName,
                    .taken = QStringLiteral("Пресс-релиз с таким названием в данном проекте уже существует, нужно "
                                            "придумать другое описание!"),
                    .insertSql = [this](const QString &name, int projectId) -> std::optional<QString> {
                        return PressReleaseCopySql(name, projectId, pressReleaseFields());
                    },
                    .addToMain = [this](const QString &name, int id) { appendToMainList(m_main, name, id); },
                    .list = cbFMaterials,
                    .show = [this](int id, int projectId) { showCopy(ForumTab, MaterialKind::Forum, id, projectId); }});
}

void TfrmProjectMaterials::pressReleaseRenamed(int id, const QString &name)
{
    const int index = cbFMaterials->indexOfId(id);
    if (index >= 0)
        cbFMaterials->setItemText(index, name);
}

void TfrmProjectMaterials::pressReleaseDeleted(int id)
{
    const int index = cbFMaterials->indexOfId(id);
    if (index >= 0)
        cbFMaterials->removeItem(index);
    if (m_loaded[ForumTab].id != id)
        return;
    // The tab showed the deleted row: its edits have nowhere to go.
    const bool pending = MaterialChanged;
    clearPressReleaseFields();
    m_loaded[ForumTab] = LoadedMaterial();
    MaterialChanged = pending && (m_loaded[SoftTab].edited || m_loaded[SiteTab].edited || m_loaded[LetterTab].edited);
}

} // namespace qv::projects
