// The materials editor's site descriptions and board ads (tab 1).
#include "projects/projectchoice.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv::projects {

using core::prompt;

namespace {
const char *const kNameTaken = "Такое описание для данного проекта есть, нужно придумать другое описание!";

QLabel *counterLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

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

    cbCMaterials = new MaterialList;
    cbCMaterials->setObjectName(QStringLiteral("cbCMaterials"));
    btnCMaterialSave = stripButton(QStringLiteral("btnCMaterialSave"), QStringLiteral("Сохранить"));
    btnCMaterialNew = stripButton(QStringLiteral("btnCMaterialNew"), QStringLiteral("Новое"));
    btnCmaterialCopy = stripButton(QStringLiteral("btnCmaterialCopy"), QStringLiteral("Копия"));
    Label7 = new LinkLabel(QStringLiteral("Справка и советы >>"));
    Label7->setObjectName(QStringLiteral("Label7"));
    v->addWidget(headerStrip(page, QStringLiteral("Описания вашего сайта или объявления:"), true, cbCMaterials,
                             {btnCMaterialSave, btnCMaterialNew, btnCmaterialCopy}, Label7));

    auto *content = new QWidget;
    auto *g = new QGridLayout(content);
    int row = 0;
    auto line = [&](const char *name, int limit) {
        auto *e = new MaterialLineEdit(content, limit);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    auto memo = [&](const char *name, int limit) {
        auto *m = new MaterialMemo(content, limit);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    auto wide = [&](const QString &caption, QWidget *w, QLabel *count = nullptr) {
        g->addWidget(new QLabel(caption, content), row, 0, 1, count ? 1 : 2);
        if (count)
            g->addWidget(count, row, 1);
        ++row;
        g->addWidget(w, row++, 0, 1, 2);
    };
    auto pair = [&](const QString &left, QWidget *a, const QString &right, QWidget *b) {
        g->addWidget(new QLabel(left, content), row, 0);
        g->addWidget(new QLabel(right, content), row++, 1);
        g->addWidget(a, row, 0);
        g->addWidget(b, row++, 1);
    };

    edtURL_2 = line("edtURL_2", 0);
    edtURL_2->setText(QStringLiteral("http://"));
    wide(QStringLiteral("Адрес сайта URL:"), edtURL_2);
    edtCategories_2 = line("edtCategories_2", 0);
    wide(QStringLiteral("Категории сайта тематические (через запятую)"), edtCategories_2);
    edtTitle_2 = line("edtTitle_2", 0);
    wide(QStringLiteral("Название сайта/объявления (без ограничений)"), edtTitle_2);
    edtTitle200_2 = line("edtTitle200_2", 200);
    lbTitle200_2 = counterLabel(content, "lbTitle200_2");
    wide(QStringLiteral("Название сайта/объявления (до 200 символов)"), edtTitle200_2, lbTitle200_2);
    edtTitle100_2 = line("edtTitle100_2", 100);
    lbTitle100_2 = counterLabel(content, "lbTitle100_2");
    wide(QStringLiteral("Название сайта/объявления (до 100 символов)"), edtTitle100_2, lbTitle100_2);
    edtTitle50_2 = line("edtTitle50_2", 50);
    lbTitle50_2 = counterLabel(content, "lbTitle50_2");
    wide(QStringLiteral("Название сайта/объявления (до 50 символов)"), edtTitle50_2, lbTitle50_2);

    PageControl1 = new QTabWidget(content);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFixedHeight(170);
    memDescription_2 = memo("memDescription_2", 0);
    memDescription500_2 = memo("memDescription500_2", 500);
    memDescription250_2 = memo("memDescription250_2", 250);
    memDescription100_2 = memo("memDescription100_2", 100);
    lbDescription500_2 = counterLabel(content, "lbDescription500_2");
    lbDescription250_2 = counterLabel(content, "lbDescription250_2");
    lbDescription100_2 = counterLabel(content, "lbDescription100_2");
    PageControl1->addTab(memDescription_2, QStringLiteral("Без ограничений по длине"));
    PageControl1->addTab(counterPage(PageControl1, lbDescription500_2, memDescription500_2),
                         QStringLiteral("до 500 символов"));
    PageControl1->addTab(counterPage(PageControl1, lbDescription250_2, memDescription250_2),
                         QStringLiteral("до 250 символов"));
    PageControl1->addTab(counterPage(PageControl1, lbDescription100_2, memDescription100_2),
                         QStringLiteral("до 100 символов"));
    wide(QStringLiteral("Описание сайта или текст объявления:"), PageControl1);

    // The unlimited keyword field covers the limited ones, which follow it.
    memKeywords_2 = memo("memKeywords_2", 0);
    memKeywords_2->setFixedHeight(90);
    PageControl3 = new QTabWidget(content);
    PageControl3->setObjectName(QStringLiteral("PageControl3"));
    memKeywords500_2 = memo("memKeywords500_2", 500);
    memKeywords250_2 = memo("memKeywords250_2", 250);
    memKeywords100_2 = memo("memKeywords100_2", 100);
    lbKeywords500_2 = counterLabel(content, "lbKeywords500_2");
    lbKeywords250_2 = counterLabel(content, "lbKeywords250_2");
    lbKeywords100_2 = counterLabel(content, "lbKeywords100_2");
    PageControl3->addTab(new QWidget(PageControl3), QStringLiteral("Без ограничений по длине"));
    PageControl3->addTab(counterPage(PageControl3, lbKeywords500_2, memKeywords500_2), QStringLiteral("500 символов"));
    PageControl3->addTab(counterPage(PageControl3, lbKeywords250_2, memKeywords250_2), QStringLiteral("250 символов"));
    PageControl3->addTab(counterPage(PageControl3, lbKeywords100_2, memKeywords100_2), QStringLiteral("100 символов"));
    PageControl3->hide();
    wide(QStringLiteral("Ключевые слова сайта через пробел:"), memKeywords_2);

    edtBURL_2 = line("edtBURL_2", 0);
    edtBURL_2->setText(QStringLiteral("http://"));
    wide(QStringLiteral("Обратная ссылка:"), edtBURL_2);
    edtFIO_2 = line("edtFIO_2", 0);
    edtEMail_2 = line("edtEMail_2", 0);
    pair(QStringLiteral("ФИО:"), edtFIO_2, QStringLiteral("Email:"), edtEMail_2);
    edtOrganization_2 = line("edtOrganization_2", 0);
    edtTel_2 = line("edtTel_2", 0);
    edtFAX_2 = line("edtFAX_2", 0);
    auto *phones = new QWidget(content);
    auto *ph = new QHBoxLayout(phones);
    ph->setContentsMargins(0, 0, 0, 0);
    ph->addWidget(edtTel_2);
    ph->addWidget(edtFAX_2);
    pair(QStringLiteral("Организация:"), edtOrganization_2, QStringLiteral("Телефон, факс:"), phones);
    edtCity_2 = line("edtCity_2", 0);
    edtCountry_2 = line("edtCountry_2", 0);
    pair(QStringLiteral("Город:"), edtCity_2, QStringLiteral("Страна:"), edtCountry_2);
    edtAddress_2 = line("edtAddress_2", 0);
    wide(QStringLiteral("Адрес:"), edtAddress_2);
    g->setRowStretch(row, 1);

    ScrollBox1 = scrollArea(page, QStringLiteral("ScrollBox1"), content);
    v->addWidget(ScrollBox1, 1);

    // Every change of a field is an edit; the limited ones also count.
    for (MaterialLineEdit *e : {edtURL_2, edtCategories_2, edtTitle_2, edtBURL_2, edtFIO_2, edtEMail_2,
                                edtOrganization_2, edtTel_2, edtFAX_2, edtCity_2, edtCountry_2, edtAddress_2})
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
    return page;
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
    createMaterial(siteMaterial(
        [this](const QString &name, int projectId) -> std::optional<QString> {
            return SiteDescriptionCopySql(name, projectId, siteFields());
        },
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
