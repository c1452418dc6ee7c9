#include "app/tfrmmain.h"
#include "core/appcontext.h"
#include "controls/browserview.h"
#include "core/windowfit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace qv::app {

namespace {
QToolButton *toolButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

// A split button whose main part has no command of its own: a click on it
// opens the menu, as a click on the arrow does.
void menuOnClick(QToolButton *b, QMenu *menu)
{
    b->setMenu(menu);
    b->setPopupMode(QToolButton::MenuButtonPopup);
    QObject::connect(b, &QToolButton::clicked, b, &QToolButton::showMenu);
}

} // namespace

TfrmMain::TfrmMain(core::AppContext &ctx, QWidget *parent) : QMainWindow(parent), m_ctx(ctx)
{
    frmMain = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvantile 3.1"));
    core::KeepTitlesWhole();
    if (!m_ctx.AppDir.isEmpty())
        controls::SafePage::setProgramFolder(m_ctx.AppDir);
    buildToolBar();
    buildCentre();
    resize(defaultWidth(), 860);
    buildLinkCommands();
    createControllers();
    // The maker's pages give way to a local page of ours while its site
    // cannot be reached, in every browser of the window that may show them.
    for (QWebEngineView *browser : {Web, wbHelp})
        if (auto *view = qobject_cast<controls::BrowserView *>(browser))
            view->setMakerSite([this] { return m_ctx.makerUrl(); });
}

TfrmMain::~TfrmMain() = default;

int TfrmMain::defaultWidth() const
{
    // Wide enough for every item of the tool bar, as the fonts measure them,
    // as far as the screen allows; 1200 at the least.
    int width = tbMain->sizeHint().width() + 8;
    if (const QScreen *s = screen())
        width = qMin(width, s->availableGeometry().width() - 16);
    return qMax(1200, width);
}

void TfrmMain::buildToolBar()
{
    tbMain = addToolBar(QStringLiteral("Проект"));
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setMovable(false);

    cbProjects = new QComboBox(tbMain);
    cbProjects->setObjectName(QStringLiteral("cbProjects"));
    cbProjects->setMinimumWidth(220);
    tbMain->addWidget(cbProjects);

    tbnProjectNew = toolButton(tbMain, QStringLiteral("tbnProjectNew"), QStringLiteral("Создать проект"));
    tbMain->addWidget(tbnProjectNew);

    tbProjectEdit = toolButton(tbMain, QStringLiteral("tbProjectEdit"), QStringLiteral("<< Редактировать"));
    pmProject = new QMenu(tbProjectEdit);
    menuOnClick(tbProjectEdit, pmProject);
    tbMain->addWidget(tbProjectEdit);

    tbMain->addSeparator();
    tbnUsers = toolButton(tbMain, QStringLiteral("tbnUsers"), QStringLiteral("Пользователи"));
    tbMain->addWidget(tbnUsers);
    connect(tbnUsers, &QToolButton::clicked, this, [this] {
        if (onUsersRequested)
            onUsersRequested();
    });

    tbPlugins = toolButton(tbMain, QStringLiteral("tbPlugins"), QStringLiteral("Плагины"));
    pmPlugins = new QMenu(tbPlugins);
    pmPlugins->setObjectName(QStringLiteral("pmPlugins"));
    tbPlugins->setMenu(pmPlugins);
    tbPlugins->setPopupMode(QToolButton::InstantPopup);
    tbMain->addWidget(tbPlugins);

    tbnUpdate = toolButton(tbMain, QStringLiteral("tbnUpdate"), QStringLiteral("Обновление"));
    pmUpdate = new QMenu(tbnUpdate);
    tbnUpdate->setMenu(pmUpdate);
    tbnUpdate->setPopupMode(QToolButton::InstantPopup);
    tbMain->addWidget(tbnUpdate);

    tbnBaza = toolButton(tbMain, QStringLiteral("tbnBaza"), QStringLiteral("База"));
    pmBaza = new QMenu(tbnBaza);
    pmBaza->setObjectName(QStringLiteral("pmBaza"));
    N6 = pmBaza->addAction(QStringLiteral("Проверить обновление базы из Интернет..."));
    N6->setObjectName(QStringLiteral("N6"));
    connect(N6, &QAction::triggered, this, &TfrmMain::N6Click);
    tbnBaza->setMenu(pmBaza);
    tbnBaza->setPopupMode(QToolButton::InstantPopup);
    tbMain->addWidget(tbnBaza);

    tbAutoCheck = toolButton(tbMain, QStringLiteral("tbAutoCheck"), QStringLiteral("Авто-проверка"));
    pmAutoCheck = new QMenu(tbAutoCheck);
    menuOnClick(tbAutoCheck, pmAutoCheck);
    tbMain->addWidget(tbAutoCheck);

    auto *spacer = new QWidget(tbMain);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tbMain->addWidget(spacer);
    lbAdLink = new QLabel(QStringLiteral("<a href=\"#\">Понравилась программа - поддержите проект &gt;&gt;</a>"), tbMain);
    lbAdLink->setObjectName(QStringLiteral("lbAdLink"));
    tbMain->addWidget(lbAdLink);
}

void TfrmMain::buildCentre()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    pnlAdTop = new QWidget(central);
    pnlAdTop->setObjectName(QStringLiteral("pnlAdTop"));
    pnlAdTop->setFixedHeight(64);
    auto *adLayout = new QVBoxLayout(pnlAdTop);
    adLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnlAdTop);

    splMain = new QSplitter(Qt::Horizontal, central);
    layout->addWidget(splMain, 1);

    buildNavigatorSide();
    splRight = new QSplitter(Qt::Vertical, splMain);
    buildPages();
    buildBrowserPanel();

    splLeft->setStretchFactor(0, 3);
    splLeft->setStretchFactor(1, 2);
    splLeft->setSizes({480, 320});
    splMain->setSizes({300, 900});
    splMain->setStretchFactor(0, 1);
    splMain->setStretchFactor(1, 3);
    splRight->setStretchFactor(0, 2);
    splRight->setStretchFactor(1, 3);
    splRight->setSizes({300, 480});
    setCentralWidget(central);
}

// The left side: the navigator above the help page.
void TfrmMain::buildNavigatorSide()
{
    splLeft = new QSplitter(Qt::Vertical, splMain);
    trvFilters = new QTreeWidget(splLeft);
    trvFilters->setObjectName(QStringLiteral("trvFilters"));
    trvFilters->setHeaderHidden(true);
    pnlHelp = new QWidget(splLeft);
    pnlHelp->setObjectName(QStringLiteral("pnlHelp"));
    auto *helpLayout = new QVBoxLayout(pnlHelp);
    helpLayout->setContentsMargins(0, 0, 0, 0);
    wbHelp = new controls::BrowserView(pnlHelp);
    wbHelp->setObjectName(QStringLiteral("wbHelp"));
    helpLayout->addWidget(wbHelp);
}

// The pages above the browser: the list with its tool bars, and the two
// pages the record editor fills.
void TfrmMain::buildPages()
{
    pcMain = new QTabWidget(splRight);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    auto *listPage = new QWidget(pcMain);
    auto *listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    buildLinksToolBar(listPage);
    listLayout->addWidget(tbLinks);
    buildContactsToolBar(listPage);
    listLayout->addWidget(tbContacts);
    buildPopupMenus();
    lvLinks = new QTableView(listPage);
    lvLinks->setObjectName(QStringLiteral("lvLinks"));
    lvLinks->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvLinks->setSelectionMode(QAbstractItemView::SingleSelection);
    lvLinks->verticalHeader()->hide();
    listLayout->addWidget(lvLinks, 1);
    pcMain->addTab(listPage, QStringLiteral("Каталоги, поисковики, доски"));
    pcMain->addTab(new QWidget(pcMain), QStringLiteral("Редактировать..."));
    pcMain->addTab(new QWidget(pcMain), QStringLiteral("Добавить каталог, поисковик, доску"));
}

void TfrmMain::buildLinksToolBar(QWidget *listPage)
{
    tbLinks = new QToolBar(listPage);
    tbLinks->setObjectName(QStringLiteral("tbLinks"));
    tbMaterialEdit = toolButton(tbLinks, QStringLiteral("tbMaterialEdit"), QStringLiteral("<< Редактировать"));
    tbLinks->addWidget(tbMaterialEdit);
    tbMaterialNew = toolButton(tbLinks, QStringLiteral("tbMaterialNew"), QStringLiteral("Новое"));
    tbLinks->addWidget(tbMaterialNew);
    // The caption names the list beside it, the forums' press releases, until
    // a branch of the navigator gives it the branch's own.
    pnlMaterialName = new QLabel(QStringLiteral(" Активное объявление:"), tbLinks);
    pnlMaterialName->setObjectName(QStringLiteral("pnlMaterialName"));
    tbLinks->addWidget(pnlMaterialName);
    pnlSP = new QWidget(tbLinks);
    pnlSP->setObjectName(QStringLiteral("pnlSP"));
    auto *spLayout = new QHBoxLayout(pnlSP);
    spLayout->setContentsMargins(0, 0, 0, 0);
    cbFMaterials = new QComboBox(pnlSP);
    cbFMaterials->setObjectName(QStringLiteral("cbFMaterials"));
    cbFMaterials->setMinimumWidth(200);
    spLayout->addWidget(cbFMaterials);
    tbLinks->addWidget(pnlSP);
    tbItems = new QToolBar(tbLinks);
    tbItems->setObjectName(QStringLiteral("tbItems"));
    tbLinks->addWidget(tbItems);
}

void TfrmMain::buildContactsToolBar(QWidget *listPage)
{
    tbContacts = new QToolBar(listPage);
    tbContacts->setObjectName(QStringLiteral("tbContacts"));
    tbContacts->addWidget(new QLabel(QStringLiteral("Активное письмо:"), tbContacts));
    cbOMaterials = new QComboBox(tbContacts);
    cbOMaterials->setObjectName(QStringLiteral("cbOMaterials"));
    cbOMaterials->setMinimumWidth(200);
    tbContacts->addWidget(cbOMaterials);
    tbContacts->hide();
}

void TfrmMain::buildPopupMenus()
{
    pmFill = new QMenu(this);
    pmFill->setObjectName(QStringLiteral("pmFill"));
    pmWeb = new QMenu(this);
    pmWeb->setObjectName(QStringLiteral("pmWeb"));
    pmForums = new QMenu(this);
    pmForums->setObjectName(QStringLiteral("pmForums"));
    pmContacts = new QMenu(this);
    pmContacts->setObjectName(QStringLiteral("pmContacts"));
    pmFilter = new QMenu(this);
    pmFilter->setObjectName(QStringLiteral("pmFilter"));
    pmGroups = new QMenu(this);
    pmGroups->setObjectName(QStringLiteral("pmGroups"));
}

// The browser below the pages: its tabs, tool bar, view and progress.
void TfrmMain::buildBrowserPanel()
{
    pnlBrowser = new QWidget(splRight);
    pnlBrowser->setObjectName(QStringLiteral("pnlBrowser"));
    auto *browserLayout = new QVBoxLayout(pnlBrowser);
    browserLayout->setContentsMargins(0, 0, 0, 0);
    browserLayout->setSpacing(0);
    tcWeb = new QTabBar(pnlBrowser);
    tcWeb->setObjectName(QStringLiteral("tcWeb"));
    for (const char *caption : {"Главная", "Регистрация / Добавить", "Проверить регистр.", "Анализ сайта"})
        tcWeb->addTab(QString::fromUtf8(caption));
    tcWeb->setCurrentIndex(1);
    browserLayout->addWidget(tcWeb);
    tbWeb = new QToolBar(pnlBrowser);
    tbWeb->setObjectName(QStringLiteral("tbWeb"));
    browserLayout->addWidget(tbWeb);
    Web = new controls::BrowserView(pnlBrowser);
    Web->setObjectName(QStringLiteral("Web"));
    browserLayout->addWidget(Web, 1);
    WebProgress = new QProgressBar(pnlBrowser);
    WebProgress->setObjectName(QStringLiteral("WebProgress"));
    WebProgress->hide();
    browserLayout->addWidget(WebProgress);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    // The recommendations window comes once, whatever closes the window.
    if (!m_closing) {
        m_closing = true;
        if (onCloseRequested)
            onCloseRequested();
    }
    event->accept();
}

} // namespace qv::app
