// The software page's controls, built in code: the top panel and the inner
// pages Company, Program Info, Description, Web Info, Permissions, Additional.
#include "projects/softlists.h"
#include "projects/softpage.h"
#include "projects/tfrmprojectmaterials_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv::projects {

namespace {
void bold(QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

QComboBox *dropDown(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(false);
    c->addItems(items);
    c->setCurrentIndex(-1);
    return c;
}

QListWidget *checkList(QWidget *parent, const char *name, const QStringList &items)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(QLatin1String(name));
    for (const QString &text : items) {
        auto *item = new QListWidgetItem(text, l);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    l->setFixedHeight(96);
    return l;
}

QDateEdit *datePicker(QWidget *parent, const char *name)
{
    auto *d = new QDateEdit(QDate::currentDate(), parent);
    d->setObjectName(QLatin1String(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return d;
}

QGroupBox *group(QWidget *parent, const QString &title, QFormLayout **form)
{
    auto *g = new QGroupBox(title, parent);
    *form = new QFormLayout(g);
    return g;
}
} // namespace

MaterialLineEdit *SoftPage::edit(QWidget *parent, const char *name, const char *column, int limit)
{
    auto *e = new MaterialLineEdit(parent, limit);
    e->setObjectName(QLatin1String(name));
    if (column)
        m_typed.append({e, QString::fromLatin1(column)});
    return e;
}

SoftPage::SoftPage(QWidget *page) : QObject(page)
{
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    pnlMenu = new QWidget(page);
    pnlMenu->setObjectName(QStringLiteral("pnlMenu"));
    pnlMenu->setFixedHeight(40);
    auto *menu = new QHBoxLayout(pnlMenu);
    menu->setContentsMargins(4, 2, 4, 2);
    btnSmaterialSave = new QPushButton(QStringLiteral("Сохранить версию"), pnlMenu);
    btnSmaterialSave->setObjectName(QStringLiteral("btnSmaterialSave"));
    bold(btnSmaterialSave);
    btnPadGenerate = new QPushButton(QStringLiteral("Создать PAD файл"), pnlMenu);
    btnPadGenerate->setObjectName(QStringLiteral("btnPadGenerate"));
    bold(btnPadGenerate);
    Button1 = new QPushButton(QStringLiteral("Записать по FTP"), pnlMenu);
    Button1->setObjectName(QStringLiteral("Button1"));
    lblHelp = new LinkLabel(QStringLiteral("Справка и советы >>"), pnlMenu);
    lblHelp->setObjectName(QStringLiteral("lblSoftHelp"));
    cbSMaterials = new QComboBox(pnlMenu);
    cbSMaterials->setObjectName(QStringLiteral("cbSMaterials"));
    cbSMaterials->setEditable(false);
    cbSMaterials->hide();
    for (QWidget *w : {static_cast<QWidget *>(btnSmaterialSave), static_cast<QWidget *>(btnPadGenerate),
                       static_cast<QWidget *>(Button1), static_cast<QWidget *>(lblHelp)})
        menu->addWidget(w);
    menu->addStretch(1);
    v->addWidget(pnlMenu);

    PageControl2 = new QTabWidget;
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    const char *const tabs[] = {"Company", "Program Info", "Description", "Web Info", "Permissions", "Additional"};
    QList<QWidget *> pages;
    for (const char *caption : tabs) {
        auto *tab = new QWidget(PageControl2);
        PageControl2->addTab(tab, QLatin1String(caption));
        pages << tab;
    }
    buildCompany(pages[0]);
    buildProgramInfo(pages[1]);
    buildDescription(pages[2]);
    buildWebInfo(pages[3]);
    buildPermissions(pages[4]);
    buildAdditional(pages[5]);

    ScrollBox3 = new QScrollArea(page);
    ScrollBox3->setObjectName(QStringLiteral("ScrollBox3"));
    ScrollBox3->setWidgetResizable(true);
    ScrollBox3->setWidget(PageControl2);
    v->addWidget(ScrollBox3, 1);
}

void SoftPage::buildCompany(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    QFormLayout *f = nullptr;
    QGroupBox *company = group(tab, QStringLiteral("Company Info"), &f);
    edtOrganization1 = edit(company, "edtOrganization1", "smaterial_company");
    edtAddress11 = edit(company, "edtAddress11", "smaterial_Address1");
    edtAddress21 = edit(company, "edtAddress21", "smaterial_Address2");
    edtCity1 = edit(company, "edtCity1", "smaterial_City");
    edtState1 = edit(company, "edtState1", "smaterial_State");
    edtZip1 = edit(company, "edtZip1", "smaterial_ZIP");
    edtCountry1 = edit(company, "edtCountry1", "smaterial_Country");
    f->addRow(QStringLiteral("Company Name:"), edtOrganization1);
    f->addRow(QStringLiteral("Address1:"), edtAddress11);
    f->addRow(QStringLiteral("Address2:"), edtAddress21);
    f->addRow(QStringLiteral("City/Town:"), edtCity1);
    f->addRow(QStringLiteral("State/Province:"), edtState1);
    f->addRow(QStringLiteral("Zip/Postal Code:"), edtZip1);
    f->addRow(QStringLiteral("Country:"), edtCountry1);
    v->addWidget(company);

    QGroupBox *author = group(tab, QStringLiteral("Author Info"), &f);
    edtAFirstName1 = edit(author, "edtAFirstName1", "smaterial_AFirstName");
    edtALastName1 = edit(author, "edtALastName1", "smaterial_ALastName");
    edtAEmail1 = edit(author, "edtAEmail1", "smaterial_AEmail");
    f->addRow(QStringLiteral("First Name:"), edtAFirstName1);
    f->addRow(QStringLiteral("Last Name:"), edtALastName1);
    f->addRow(QStringLiteral("Email:"), edtAEmail1);
    v->addWidget(author);

    QGroupBox *contact = group(tab, QStringLiteral("Contact Info"), &f);
    edtCFirstName1 = edit(contact, "edtCFirstName1", "smaterial_CFirstName");
    edtCLastName1 = edit(contact, "edtCLastName1", "smaterial_CLastName");
    edtCEmail1 = edit(contact, "edtCEmail1", "smaterial_CEmail");
    f->addRow(QStringLiteral("First Name:"), edtCFirstName1);
    f->addRow(QStringLiteral("Last Name:"), edtCLastName1);
    f->addRow(QStringLiteral("Email:"), edtCEmail1);
    v->addWidget(contact);

    auto *support = new QGroupBox(QStringLiteral("Support Info:"), tab);
    auto *g = new QGridLayout(support);
    g->addWidget(new QLabel(QStringLiteral("Email:"), support), 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Phone:"), support), 0, 2);
    g->addWidget(new QLabel(QStringLiteral("FAX:"), support), 0, 3);
    edtGEmail1 = edit(support, "edtGEmail1", "smaterial_GEmail");
    edtGPhone1 = edit(support, "edtGPhone1", "smaterial_GPhone");
    edtGFAX = edit(support, "edtGFAX", "smaterial_GFAX");
    edtSEmail1 = edit(support, "edtSEmail1", "smaterial_SEmail");
    edtSPhone1 = edit(support, "edtSPhone1", "smaterial_SPhone");
    edtSaEmail1 = edit(support, "edtSaEmail1", "smaterial_SaEmail");
    edtSaPhone1 = edit(support, "edtSaPhone1", "smaterial_SaPhone");
    g->addWidget(new QLabel(QStringLiteral("General:"), support), 1, 0);
    g->addWidget(edtGEmail1, 1, 1);
    g->addWidget(edtGPhone1, 1, 2);
    g->addWidget(edtGFAX, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Support:"), support), 2, 0);
    g->addWidget(edtSEmail1, 2, 1);
    g->addWidget(edtSPhone1, 2, 2);
    g->addWidget(new QLabel(QStringLiteral("Sales:"), support), 3, 0);
    g->addWidget(edtSaEmail1, 3, 1);
    g->addWidget(edtSaPhone1, 3, 2);
    v->addWidget(support);
    v->addStretch(1);
}

void SoftPage::buildProgramInfo(QWidget *tab)
{
    auto *f = new QFormLayout(tab);
    edtName1 = edit(tab, "edtName1", "smaterial_softname");
    edtVersion1 = edit(tab, "edtVersion1", "smaterial_version");
    dtpReleaseDate1 = datePicker(tab, "dtpReleaseDate1");
    cmbType1 = dropDown(tab, "cmbType1", SoftTypeItems());
    cmbReleaseStatus1 = dropDown(tab, "cmbReleaseStatus1", SoftReleaseStatusItems());
    edtCost1 = edit(tab, "edtCost1", "smaterial_cost");
    edtRCost1 = edit(tab, "edtRCost1", "smaterial_rcost");
    cmbInstall1 = dropDown(tab, "cmbInstall1", SoftInstallItems());
    clbLanguages1 = checkList(tab, "clbLanguages1", SoftLanguageItems());
    edtBSize1 = edit(tab, "edtBSize1", "smaterial_bsize");
    Button3 = new QPushButton(QStringLiteral("Size(bytes)"), tab);
    Button3->setObjectName(QStringLiteral("Button3"));
    cmbCategoryClass1 = dropDown(tab, "cmbCategoryClass1", SoftCategoryClassItems());
    edtChanges1 = edit(tab, "edtChanges1", "smaterial_Changes");
    edtReq1 = edit(tab, "edtReq1", "smaterial_Req");
    clbOS1 = checkList(tab, "clbOS1", SoftOsItems());

    f->addRow(QStringLiteral("Program Name:"), edtName1);
    f->addRow(QStringLiteral("Program Version:"), edtVersion1);
    f->addRow(QStringLiteral("Release Date:"), dtpReleaseDate1);
    f->addRow(QStringLiteral("Type:"), cmbType1);
    f->addRow(QStringLiteral("Release Status:"), cmbReleaseStatus1);
    f->addRow(QStringLiteral("Cost ($US):"), edtCost1);
    f->addRow(QStringLiteral("Cost (RUB):"), edtRCost1);
    f->addRow(QStringLiteral("Install Support:"), cmbInstall1);
    f->addRow(QStringLiteral("Languages:"), clbLanguages1);
    auto *size = new QWidget(tab);
    auto *sizeRow = new QHBoxLayout(size);
    sizeRow->setContentsMargins(0, 0, 0, 0);
    sizeRow->addWidget(edtBSize1, 1);
    sizeRow->addWidget(Button3);
    f->addRow(QString(), size);
    f->addRow(QStringLiteral("Category Class:"), cmbCategoryClass1);
    f->addRow(QStringLiteral("Recent Changes:"), edtChanges1);
    f->addRow(QStringLiteral("System Req:"), edtReq1);
    f->addRow(QStringLiteral("Supported OS:"), clbOS1);

    cbExpExists = new QCheckBox(QStringLiteral("Has Expiration Info"), tab);
    cbExpExists->setObjectName(QStringLiteral("cbExpExists"));
    f->addRow(cbExpExists);
    gbExp = new QGroupBox(tab);
    gbExp->setObjectName(QStringLiteral("gbExp"));
    auto *g = new QFormLayout(gbExp);
    // Loaded only with the expiry switch on: not among the plain typed edits.
    edtExpDays = edit(gbExp, "edtExpDays");
    edtExpUses = edit(gbExp, "edtExpUses");
    edtExpOther = edit(gbExp, "edtExpOther");
    cbExpDate = new QCheckBox(QStringLiteral("Expiration Date>>"), gbExp);
    cbExpDate->setObjectName(QStringLiteral("cbExpDate"));
    dtpExpDate = datePicker(gbExp, "dtpExpDate");
    g->addRow(QStringLiteral("Num of Days"), edtExpDays);
    g->addRow(QStringLiteral("Num of uses"), edtExpUses);
    g->addRow(QStringLiteral("Other Expiration Info:"), edtExpOther);
    g->addRow(cbExpDate, dtpExpDate);
    gbExp->setEnabled(false);
    f->addRow(gbExp);
}

void SoftPage::buildDescription(QWidget *tab)
{
    auto *f = new QFormLayout(tab);
    cmbDescLanguage1 = dropDown(tab, "cmbDescLanguage1", DescriptionLanguages());
    cmbDescLanguage1->setMaxVisibleItems(30);
    cmbDescLanguage1->setCurrentIndex(0);
    bold(cmbDescLanguage1);
    f->addRow(cmbDescLanguage1);
    edtKeywords1 = edit(tab, "edtKeywords1", nullptr, 128);
    edt45Description1 = edit(tab, "edt45Description1", nullptr, 45);
    edt80Description1 = edit(tab, "edt80Description1", nullptr, 80);
    auto memo = [&](const char *name, int limit, int height) {
        auto *m = new MaterialMemo(tab, limit);
        m->setObjectName(QLatin1String(name));
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setFixedHeight(height);
        return m;
    };
    mem250Description1 = memo("mem250Description1", 250, 70);
    mem450Description1 = memo("mem450Description1", 450, 90);
    mem2000Description1 = memo("mem2000Description1", 2000, 180);
    f->addRow(QStringLiteral("Keywords(128):"), edtKeywords1);
    f->addRow(QStringLiteral("45 Char Desc:"), edt45Description1);
    f->addRow(QStringLiteral("80 Char Desc:"), edt80Description1);
    f->addRow(QStringLiteral("250 Char Desc:"), mem250Description1);
    f->addRow(QStringLiteral("450 Char Desc:"), mem450Description1);
    f->addRow(QStringLiteral("2000 Char Desc:"), mem2000Description1);
}

void SoftPage::buildWebInfo(QWidget *tab)
{
    auto *f = new QFormLayout(tab);
    auto web = [&](const char *name, const char *column, const char *label) {
        MaterialLineEdit *e = edit(tab, name, column);
        e->setText(QStringLiteral("http://"));
        m_webEdits << e;
        f->addRow(QLatin1String(label), e);
        return e;
    };
    edtURLSite1 = web("edtURLSite1", "smaterial_URLSite", "Company URL:");
    edtURLDownload1 = web("edtURLDownload1", "smaterial_URLDownload", "URL Download:");
    edtURLScreenShot1 = web("edtURLScreenShot1", "smaterial_URLScreenShot", "URL Big Screenshot:");
    edtURLPAD1 = web("edtURLPAD1", "smaterial_URLPAD", "URL PAD file:");
    edtURLOrder1 = web("edtURLOrder1", "smaterial_URLOrder", "Order:");
    edtURLIcon1 = web("edtURLIcon1", "smaterial_URLIcon", "Icon:");
    edtURLInfo1 = web("edtURLInfo1", "smaterial_URLInfo", "Application Info");
    edtURLSecDownload1 = web("edtURLSecDownload1", "smaterial_URLSecDownload", "Secondary Download");
    edtURLDownload11 = web("edtURLDownload11", "smaterial_URLDownload1", "Additional DL URL 1");
    edtURLDownload21 = web("edtURLDownload21", "smaterial_URLDownload2", "Additional DL URL 2");
}

void SoftPage::buildPermissions(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    memDAgree1 = new MaterialMemo(tab);
    memDAgree1->setObjectName(QStringLiteral("memDAgree1"));
    memLAgree1 = new MaterialMemo(tab);
    memLAgree1->setObjectName(QStringLiteral("memLAgree1"));
    v->addWidget(new QLabel(QStringLiteral("Distribution Agreements"), tab));
    v->addWidget(memDAgree1);
    v->addWidget(new QLabel(QStringLiteral("End User License Agrement:"), tab));
    v->addWidget(memLAgree1);
}

void SoftPage::buildAdditional(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    auto *top = new QFormLayout;
    edtCategoryPossible1 = edit(tab, "edtCategoryPossible1", "smaterial_CategoryPossible");
    cmbCategory1 = dropDown(tab, "cmbCategory1", SoftCategoryItems());
    top->addRow(QStringLiteral("Possible Ctegories: "), edtCategoryPossible1);
    top->addRow(QStringLiteral("Specific Category:"), cmbCategory1);
    v->addLayout(top);
    v->addWidget(new QLabel(QStringLiteral("Данные для старых PAD парсеров"), tab));

    QFormLayout *f = nullptr;
    gbFileInfo = group(tab, QStringLiteral("File Information"), &f);
    gbFileInfo->setObjectName(QStringLiteral("gbFileInfo"));
    edtVFilename1 = edit(gbFileInfo, "edtVFilename1");
    edtPFilename1 = edit(gbFileInfo, "edtPFilename1");
    edtGFilename1 = edit(gbFileInfo, "edtGFilename1");
    edtLFilename1 = edit(gbFileInfo, "edtLFilename1");
    f->addRow(QStringLiteral("Versioned Filename(1-8):"), edtVFilename1);
    f->addRow(QStringLiteral("Previous Filename(1-8):"), edtPFilename1);
    f->addRow(QStringLiteral("Generic FileName(1-8):"), edtGFilename1);
    f->addRow(QStringLiteral("Long Filename"), edtLFilename1);
    gbFileInfo->hide();
    v->addWidget(gbFileInfo);

    gbSupport = new QGroupBox(QStringLiteral("Supporting Software"), tab);
    gbSupport->setObjectName(QStringLiteral("gbSupport"));
    auto *s = new QVBoxLayout(gbSupport);
    CheckBox3 = new QCheckBox(QStringLiteral("Include Java VM"), gbSupport);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox4 = new QCheckBox(QStringLiteral("Include VB Runtimes"), gbSupport);
    CheckBox4->setObjectName(QStringLiteral("CheckBox4"));
    CheckBox5 = new QCheckBox(QStringLiteral("Include DirectX"), gbSupport);
    CheckBox5->setObjectName(QStringLiteral("CheckBox5"));
    s->addWidget(CheckBox3);
    s->addWidget(CheckBox4);
    s->addWidget(CheckBox5);
    gbSupport->hide();
    v->addWidget(gbSupport);
    v->addStretch(1);
}

} // namespace qv::projects
