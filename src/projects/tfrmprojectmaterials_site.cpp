// The materials editor's site descriptions and board ads (tab 1).
#include "projects/projectchoice.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv::projects {

using core::prompt;

namespace {
const char *const kNameTaken = "Такое описание для данного проекта есть, нужно придумать другое описание!";

// A page of a length page control: the counter strip above the memo.
QWidget *counterPage(QWidget *parent, QLabel *label, MaterialMemo *memo)
{
    auto *page = new QWidget(parent);
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    label->setParent(page);
    label->setFixedHeight(12);
    v->addWidget(label);
    memo->setParent(page);
    v->addWidget(memo);
    return page;
}

// The captions of the fields that hold the columns of a save; the parts of
// the full name and the comma-free keywords come from the fields they are
// made of.
const QHash<QString, QString> &siteCaptions()
{
    static const QString description = QStringLiteral("Описание сайта или текст объявления ");
    static const QString keywords = QStringLiteral("Ключевые слова сайта через пробел");
    static const QHash<QString, QString> captions{
        {QStringLiteral("cmaterial_url"), QStringLiteral("Адрес сайта URL:")},
        {QStringLiteral("cmaterial_burl"), QStringLiteral("Обратная ссылка:")},
        {QStringLiteral("cmaterial_categories"), QStringLiteral("Категории сайта тематические (через запятую)")},
        {QStringLiteral("cmaterial_email"), QStringLiteral("Email:")},
        {QStringLiteral("cmaterial_company"), QStringLiteral("Организация:")},
        {QStringLiteral("cmaterial_tel"), QStringLiteral("Телефон, факс:")},
        {QStringLiteral("cmaterial_fax"), QStringLiteral("Телефон, факс:")},
        {QStringLiteral("cmaterial_city"), QStringLiteral("Город:")},
        {QStringLiteral("cmaterial_fio"), QStringLiteral("ФИО:")},
        {QStringLiteral("cmaterial_f"), QStringLiteral("ФИО:")},
        {QStringLiteral("cmaterial_i"), QStringLiteral("ФИО:")},
        {QStringLiteral("cmaterial_o"), QStringLiteral("ФИО:")},
        {QStringLiteral("cmaterial_country"), QStringLiteral("Страна:")},
        {QStringLiteral("cmaterial_title50"), QStringLiteral("Название сайта/объявления (до 50 символов)")},
        {QStringLiteral("cmaterial_title100"), QStringLiteral("Название сайта/объявления (до 100 символов)")},
        {QStringLiteral("cmaterial_title200"), QStringLiteral("Название сайта/объявления (до 200 символов)")},
        {QStringLiteral("cmaterial_address"), QStringLiteral("Адрес:")},
        {QStringLiteral("cmaterial_title"), QStringLiteral("Название сайта/объявления (без ограничений)")},
        {QStringLiteral("cmaterial_description100"), description + QStringLiteral("(до 100 символов)")},
        {QStringLiteral("cmaterial_description250"), description + QStringLiteral("(до 250 символов)")},
        {QStringLiteral("cmaterial_description500"), description + QStringLiteral("(до 500 символов)")},
        {QStringLiteral("cmaterial_description"), description + QStringLiteral("(без ограничений по длине)")},
        {QStringLiteral("cmaterial_keywords100"), keywords + QStringLiteral(" (100 символов)")},
        {QStringLiteral("cmaterial_keywords250"), keywords + QStringLiteral(" (250 символов)")},
        {QStringLiteral("cmaterial_keywords500"), keywords + QStringLiteral(" (500 символов)")},
        {QStringLiteral("cmaterial_keywords"), keywords},
        {QStringLiteral("cmaterial_keywords100_"), keywords + QStringLiteral(" (100 символов)")},
        {QStringLiteral("cmaterial_keywords250_"), keywords + QStringLiteral(" (250 символов)")},
        {QStringLiteral("cmaterial_keywords500_"), keywords + QStringLiteral(" (500 символов)")},
        {QStringLiteral("cmaterial_keywords_"), keywords}};
    return captions;
}
} // namespace

QWidget *TfrmProjectMaterials::buildSitePage()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(siteHeader(page));

    FieldGrid grid;
    addSiteTitleFields(grid);
    addSiteDescriptionTabs(grid);
    addSiteKeywordFields(grid);
    addSiteContactFields(grid);
    grid.end();

    ScrollBox1 = scrollArea(page, QStringLiteral("ScrollBox1"), grid.content());
    v->addWidget(ScrollBox1, 1);
    connectSiteFields();
    return page;
}

QWidget *TfrmProjectMaterials::siteHeader(QWidget *page)
{
    cbCMaterials = new MaterialList;
    cbCMaterials->setObjectName(QStringLiteral("cbCMaterials"));
    btnCMaterialSave = stripButton(QStringLiteral("btnCMaterialSave"), QStringLiteral("Сохранить"));
    btnCMaterialNew = stripButton(QStringLiteral("btnCMaterialNew"), QStringLiteral("Новое"));
    btnCmaterialCopy = stripButton(QStringLiteral("btnCmaterialCopy"), QStringLiteral("Копия"));
    Label7 = new LinkLabel(QStringLiteral("Справка и советы >>"));
    Label7->setObjectName(QStringLiteral("Label7"));
    return headerStrip(page, QStringLiteral("Описания вашего сайта или объявления:"), true, cbCMaterials,
                       {btnCMaterialSave, btnCMaterialNew, btnCmaterialCopy}, Label7);
}

void TfrmProjectMaterials::addSiteTitleFields(FieldGrid &grid)
{
    edtURL_2 = grid.line("edtURL_2");
    edtURL_2->setText(QStringLiteral("http://"));
    grid.wide(QStringLiteral("Адрес сайта URL:"), edtURL_2);
    edtCategories_2 = grid.line("edtCategories_2");
    grid.wide(QStringLiteral("Категории сайта тематические (через запятую)"), edtCategories_2);
    edtTitle_2 = grid.line("edtTitle_2");
    grid.wide(QStringLiteral("Название сайта/объявления (без ограничений)"), edtTitle_2);
    edtTitle200_2 = grid.line("edtTitle200_2", 200);
    lbTitle200_2 = grid.counter("lbTitle200_2");
    grid.wide(QStringLiteral("Название сайта/объявления (до 200 символов)"), edtTitle200_2, lbTitle200_2);
    edtTitle100_2 = grid.line("edtTitle100_2", 100);
    lbTitle100_2 = grid.counter("lbTitle100_2");
    grid.wide(QStringLiteral("Название сайта/объявления (до 100 символов)"), edtTitle100_2, lbTitle100_2);
    edtTitle50_2 = grid.line("edtTitle50_2", 50);
    lbTitle50_2 = grid.counter("lbTitle50_2");
    grid.wide(QStringLiteral("Название сайта/объявления (до 50 символов)"), edtTitle50_2, lbTitle50_2);
}

void TfrmProjectMaterials::addSiteDescriptionTabs(FieldGrid &grid)
{
    PageControl1 = new QTabWidget(grid.content());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFixedHeight(170);
    memDescription_2 = grid.memo("memDescription_2");
    memDescription500_2 = grid.memo("memDescription500_2", 500);
    memDescription250_2 = grid.memo("memDescription250_2", 250);
    memDescription100_2 = grid.memo("memDescription100_2", 100);
    lbDescription500_2 = grid.counter("lbDescription500_2");
    lbDescription250_2 = grid.counter("lbDescription250_2");
    lbDescription100_2 = grid.counter("lbDescription100_2");
    PageControl1->addTab(memDescription_2, QStringLiteral("Без ограничений по длине"));
    PageControl1->addTab(counterPage(PageControl1, lbDescription500_2, memDescription500_2), QStringLiteral("до 500 символов"));
    PageControl1->addTab(counterPage(PageControl1, lbDescription250_2, memDescription250_2), QStringLiteral("до 250 символов"));
    PageControl1->addTab(counterPage(PageControl1, lbDescription100_2, memDescription100_2), QStringLiteral("до 100 символов"));
    grid.wide(QStringLiteral("Описание сайта или текст объявления:"), PageControl1);
}

void TfrmProjectMaterials::addSiteKeywordFields(FieldGrid &grid)
{
    // The unlimited keyword field covers the limited ones, which follow it.
    memKeywords_2 = grid.memo("memKeywords_2");
    memKeywords_2->setFixedHeight(90);
    PageControl3 = new QTabWidget(grid.content());
    PageControl3->setObjectName(QStringLiteral("PageControl3"));
    memKeywords500_2 = grid.memo("memKeywords500_2", 500);
    memKeywords250_2 = grid.memo("memKeywords250_2", 250);
    memKeywords100_2 = grid.memo("memKeywords100_2", 100);
    lbKeywords500_2 = grid.counter("lbKeywords500_2");
    lbKeywords250_2 = grid.counter("lbKeywords250_2");
    lbKeywords100_2 = grid.counter("lbKeywords100_2");
    PageControl3->addTab(new QWidget(PageControl3), QStringLiteral("Без ограничений по длине"));
    PageControl3->addTab(counterPage(PageControl3, lbKeywords500_2, memKeywords500_2), QStringLiteral("500 символов"));
    PageControl3->addTab(counterPage(PageControl3, lbKeywords250_2, memKeywords250_2), QStringLiteral("250 символов"));
    PageControl3->addTab(counterPage(PageControl3, lbKeywords100_2, memKeywords100_2), QStringLiteral("100 символов"));
    PageControl3->hide();
    grid.wide(QStringLiteral("Ключевые слова сайта через пробел:"), memKeywords_2);
}

void TfrmProjectMaterials::addSiteContactFields(FieldGrid &grid)
{
    edtBURL_2 = grid.line("edtBURL_2");
    edtBURL_2->setText(QStringLiteral("http://"));
    grid.wide(QStringLiteral("Обратная ссылка:"), edtBURL_2);
    edtFIO_2 = grid.line("edtFIO_2");
    edtEMail_2 = grid.line("edtEMail_2");
    grid.pair(QStringLiteral("ФИО:"), edtFIO_2, QStringLiteral("Email:"), edtEMail_2);
    edtOrganization_2 = grid.line("edtOrganization_2");
    edtTel_2 = grid.line("edtTel_2");
    edtFAX_2 = grid.line("edtFAX_2");
    grid.pair(QStringLiteral("Организация:"), edtOrganization_2, QStringLiteral("Телефон, факс:"),
              grid.sideBySide(edtTel_2, edtFAX_2));
    edtCity_2 = grid.line("edtCity_2");
    edtCountry_2 = grid.line("edtCountry_2");
    grid.pair(QStringLiteral("Город:"), edtCity_2, QStringLiteral("Страна:"), edtCountry_2);
    edtAddress_2 = grid.line("edtAddress_2");
    grid.wide(QStringLiteral("Адрес:"), edtAddress_2);
}

void TfrmProjectMaterials::connectSiteFields()
{
    // Every change of a field is an edit; the limited ones also count.
    for (MaterialLineEdit *e : {edtURL_2, edtCategories_2, edtTitle_2, edtBURL_2, edtFIO_2, edtEMail_2, edtOrganization_2,
                                edtTel_2, edtFAX_2, edtCity_2, edtCountry_2, edtAddress_2})
        connect(e, &QLineEdit::textChanged, this, [this] { markEdited(SiteTab); });
    connect(memDescription_2, &QPlainTextEdit::textChanged, this, [this] { markEdited(SiteTab); });
    connect(edtTitle50_2, &QLineEdit::textChanged, this, [this] { edtTitle50_2Change(); });
    connect(edtTitle100_2, &QLineEdit::textChanged, this, [this] { edtTitle100_2Change(); });
    connect(edtTitle200_2, &QLineEdit::textChanged, this, [this] { edtTitle200_2Change(); });
    connect(memDescription100_2, &QPlainTextEdit::textChanged, this, [this] { memDescription100_2Change(); });
    connect(memDescription250_2, &QPlainTextEdit::textChanged, this, [this] { memDescription250_2Change(); });
    connect(memDescription500_2, &QPlainTextEdit::textChanged, this, [this] { memDescription500_2Change(); });
    connect(memKeywords100_2, &QPlainTextEdit::textChanged, this, [this] { memKeywords100_2Change(); });
    connect(memKeywords250_2, &QPlainTextEdit::textChanged, this, [this] { memKeywords250_2Change(); });
    connect(memKeywords500_2, &QPlainTextEdit::textChanged, this, [this] { memKeywords500_2Change(); });
    connect(memKeywords_2, &QPlainTextEdit::textChanged, this, [this] { memKeywords_2Change(); });

    connect(btnCMaterialSave, &QPushButton::clicked, this, [this] { btnCMaterialSaveClick(); });
    connect(btnCMaterialNew, &QPushButton::clicked, this, [this] { btnCMaterialNewClick(); });
    connect(btnCmaterialCopy, &QPushButton::clicked, this, [this] { btnCmaterialCopyClick(); });
}

SiteDescription TfrmProjectMaterials::siteFields() const
{
    SiteDescription d;
    d.url = edtURL_2->text();
    d.burl = edtBURL_2->text();
    d.categories = edtCategories_2->text();
    d.fio = edtFIO_2->text();
    d.email = edtEMail_2->text();
    d.company = edtOrganization_2->text();
    d.tel = edtTel_2->text();
    d.fax = edtFAX_2->text();
    d.city = edtCity_2->text();
    d.country = edtCountry_2->text();
    d.address = edtAddress_2->text();
    d.title50 = edtTitle50_2->text();
    d.title100 = edtTitle100_2->text();
    d.title200 = edtTitle200_2->text();
    d.title = edtTitle_2->text();
    d.description100 = memDescription100_2->storedText();
    d.description250 = memDescription250_2->storedText();
    d.description500 = memDescription500_2->storedText();
    d.description = memDescription_2->storedText();
    d.keywords100 = memKeywords100_2->storedText();
    d.keywords250 = memKeywords250_2->storedText();
    d.keywords500 = memKeywords500_2->storedText();
    d.keywords = memKeywords_2->storedText();
    return d;
}

void TfrmProjectMaterials::setSiteFields(const SiteDescription &d)
{
    // In this order: the unlimited keywords last, so that their copy fills
    // the three limited keyword fields.
    edtURL_2->setText(d.url);
    edtBURL_2->setText(d.burl);
    edtCategories_2->setText(d.categories);
    edtFIO_2->setText(d.fio);
    edtEMail_2->setText(d.email);
    edtOrganization_2->setText(d.company);
    edtTel_2->setText(d.tel);
    edtFAX_2->setText(d.fax);
    edtCity_2->setText(d.city);
    edtCountry_2->setText(d.country);
    edtAddress_2->setText(d.address);
    edtTitle50_2->setText(d.title50);
    edtTitle100_2->setText(d.title100);
    edtTitle200_2->setText(d.title200);
    edtTitle_2->setText(d.title);
    memDescription100_2->setStoredText(d.description100);
    memDescription250_2->setStoredText(d.description250);
    memDescription500_2->setStoredText(d.description500);
    memDescription_2->setStoredText(d.description);
    memKeywords100_2->setStoredText(d.keywords100);
    memKeywords250_2->setStoredText(d.keywords250);
    memKeywords500_2->setStoredText(d.keywords500);
    memKeywords_2->setStoredText(d.keywords);
}

void TfrmProjectMaterials::clearSiteFields() { setSiteFields(SiteDescription()); }

void TfrmProjectMaterials::cbCMaterialsChange()
{
    loadMaterial(SiteTab, MaterialKind::Site, cbCMaterials->currentId(), SiteDescriptionFromRow,
                 [this](const SiteDescription &d) { setSiteFields(d); });
}

void TfrmProjectMaterials::btnCMaterialSaveClick()
{
    const SiteDescription d = siteFields();
    saveLoaded(SiteTab, MaterialKind::Site, CaptionedFields(SiteDescriptionColumns(d), siteCaptions()),
               [&d](const LoadedMaterial &l) { return SiteDescriptionUpdateSql(d, l.id, l.projectId); });
}

void TfrmProjectMaterials::btnCMaterialNewClick()
{
    if (!projectChosen())
        return;
    createMaterial(siteMaterial(
        [this](const QString &name, int projectId) -> std::optional<QString> {
            const auto project = currentProjectData();
            if (!project)
                return std::nullopt;
            return SiteDescriptionNewSql(name, projectId, *project);
        },
        [this](int, int) { cbCMaterialsChange(); }));
}

void TfrmProjectMaterials::btnCmaterialCopyClick()
{
    if (!projectChosen())
        return;
    // The copy carries the fields as they are: each must fit its column.
    if (!db::FieldsFit(QStringLiteral("cmaterials"), CaptionedFields(SiteDescriptionColumns(siteFields()), siteCaptions())))
        return;
    createMaterial(siteMaterial([this](const QString &name, int projectId)
                                    -> std::optional<QString> { return SiteDescriptionCopySql(name, projectId, siteFields()); },
                                [this](int id, int projectId) { showCopy(SiteTab, MaterialKind::Site, id, projectId); }));
}

TfrmProjectMaterials::NewMaterial
TfrmProjectMaterials::siteMaterial(std::function<std::optional<QString>(const QString &, int)> insertSql,
                                   std::function<void(int, int)> show)
{
    NewMaterial m;
    m.caption = QStringLiteral("Создание нового описания");
    m.label = QStringLiteral("Введите название нового описания сайта:");
    m.byNameSql = [](const QString &name, int projectId) { return MaterialByNameSql(MaterialKind::Site, name, projectId); };
    m.taken = QString::fromUtf8(kNameTaken);
    m.insertSql = std::move(insertSql);
    m.addToMain = [this](const QString &name, int) {
        if (m_main)
            AddFillMenuItem(*m_main, name);
    };
    m.list = cbCMaterials;
    m.show = std::move(show);
    return m;
}

} // namespace qv::projects
