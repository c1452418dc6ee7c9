#include "workbench/browserpane.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "core/urlsafety.h"
#include "mainview/mainview.h"
#include "controls/tframelessie.h"
#include "db/query.h"
#include "workbench/formfiller.h"
#include "workbench/registrationsearch.h"
#include "workbench/sitemetrics.h"
#include "workbench/resourcelist.h"
#include "workbench/resourcelist_logic.h"
#include "workbench/statuses.h"
#include "workbench/tfrmauth.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace qv::workbench {

using core::prompt;

namespace {
QToolButton *button(QToolBar *bar, const char *name, const QString &text, bool checkable = false)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setCheckable(checkable);
    bar->addWidget(b);
    return b;
}

const char *const kNoResource = "Не выбран ресурс: выберите его в списке ресурсов.";
} // namespace

BrowserPane::BrowserPane(mainview::MainView &main, core::AppContext &ctx) : QObject(main.frmMain), m_main(main), m_ctx(ctx)
{
    buildToolBar();
    search = new RegistrationSearch(main, ctx, *this);
    metrics = new SiteMetrics(main, ctx, *this);
    m_filler = new FormFiller(ctx, main.Web, main.pmFill, nullptr, this);
    m_filler->newSiteDescription = [this] {
        Q_ASSERT(m_main.openNewSiteDescription);
        if (m_main.openNewSiteDescription)
            m_main.openNewSiteDescription();
    };
    m_filler->activePressRelease = [this] { return activePressRelease(); };
    main.FillMenuItemClick = [this](QAction *a) { m_filler->FillMenuItemClick(a); };

    Q_ASSERT(main.resources);
    connect(main.resources, &ResourceList::currentResourceChanged, this, &BrowserPane::lvLinksClick);
    // The page follows the tab the user moves to, by mouse or keyboard; a
    // click on the current tab or on the empty bar changes nothing.
    connect(main.tcWeb, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            tcWebChange();
    });
    connect(main.Web, &QWebEngineView::loadStarted, this, [this] { WebProgressChange(0, 100); });
    connect(main.Web, &QWebEngineView::loadProgress, this, [this](int p) { WebProgressChange(p, 100); });
    // The fill waits for the page's scripts to answer: it runs from the event
    // loop, after the browser has finished delivering the load.
    connect(main.Web, &QWebEngineView::loadFinished, this, [this](bool ok) {
        WebProgressChange(100, 100);
        // A load that was stopped or failed leaves no document to fill.
        if (ok)
            QTimer::singleShot(0, this, &BrowserPane::WebDocumentComplete);
    });
}

BrowserPane::~BrowserPane() = default;

void BrowserPane::attachAuth(TfrmAuth *auth)
{
    m_auth = auth;
    m_filler->setAuth(auth);
    if (auth)
        auth->hasSelection = [this] { return m_ctx.SelectedResourceId > 0; };
}

void BrowserPane::buildToolBar()
{
    QToolBar *bar = m_main.tbWeb;
    ToolButton9 = button(bar, "ToolButton9", QStringLiteral("<<"));
    ToolButton16 = button(bar, "ToolButton16", QStringLiteral("Обновить"));
    ToolButton13 = button(bar, "ToolButton13", QStringLiteral(">>"));
    bar->addSeparator();
    tbnAuth = button(bar, "tbnAuth", QStringLiteral("Пароли"));
    tbnAuth->setToolTip(QStringLiteral("Менеджер паролей"));
    tbFeel = button(bar, "tbFeel", QStringLiteral("Заполнить"));
    tbFeel->setToolTip(QStringLiteral("Заполнение формы случайным описанием"));
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral("Установи статус :"), bar));
    tbnStatus1 = button(bar, "tbnStatus1", QStringLiteral("Проверка"), true);
    tbnStatus2 = button(bar, "tbnStatus2", QStringLiteral("Добавлен"), true);
    tbnStatus3 = button(bar, "tbnStatus3", QStringLiteral("Отказано"), true);
    tbnStatus0 = button(bar, "tbnStatus0", QStringLiteral("Сброс"));
    m_main.tbFeel = tbFeel;
    m_main.tbnStatus1 = tbnStatus1;
    m_main.tbnStatus2 = tbnStatus2;
    m_main.tbnStatus3 = tbnStatus3;
    m_main.tbnStatus0 = tbnStatus0;

    connect(ToolButton9, &QToolButton::clicked, m_main.Web, &QWebEngineView::back);
    connect(ToolButton13, &QToolButton::clicked, m_main.Web, &QWebEngineView::forward);
    connect(ToolButton16, &QToolButton::clicked, m_main.Web, &QWebEngineView::reload);
    // "Сохр. пароль и заполнить поля" does both: the page is filled with the
    // entry just saved.
    connect(tbnAuth, &QToolButton::clicked, this, [this] {
        if (!resourceSelected())
            return;
        if (m_auth && m_auth->tbnAuthClick() == TfrmAuth::SavedToFill)
            m_filler->fillAgain();
    });
    connect(tbFeel, &QToolButton::clicked, this, [this] { m_filler->tbFeelClick(); });
    for (QToolButton *b : {tbnStatus1, tbnStatus2, tbnStatus3, tbnStatus0})
        connect(b, &QToolButton::clicked, this, [this, b] { tbnStatusClick(b); });

    // The search buttons and the analysis panel sit above the browser.
    auto *layout = qobject_cast<QVBoxLayout *>(m_main.pnlBrowser->layout());
    tbCheckReg = new QToolBar(m_main.pnlBrowser);
    tbCheckReg->setObjectName(QStringLiteral("tbCheckReg"));
    tbCheckReg->hide();
    pnlAudit = new QWidget(m_main.pnlBrowser);
    pnlAudit->setObjectName(QStringLiteral("pnlAudit"));
    auto *audit = new QHBoxLayout(pnlAudit);
    audit->setContentsMargins(2, 2, 2, 2);
    auto *auditCaption = new QLabel(QStringLiteral("Анализировать URL: "), pnlAudit);
    QFont bold = auditCaption->font();
    bold.setBold(true);
    auditCaption->setFont(bold);
    audit->addWidget(auditCaption);
    edtURLAudit = new QLineEdit(pnlAudit);
    edtURLAudit->setObjectName(QStringLiteral("edtURLAudit"));
    btnURLAudit = new QPushButton(QStringLiteral("Анализировать "), pnlAudit);
    btnURLAudit->setObjectName(QStringLiteral("btnURLAudit"));
    audit->addWidget(edtURLAudit, 1);
    audit->addWidget(btnURLAudit);
    pnlAudit->hide();
    connect(btnURLAudit, &QPushButton::clicked, this, [this] {
        if (btnURLAuditClick)
            btnURLAuditClick();
    });
    const int at = layout ? layout->indexOf(m_main.tbWeb) + 1 : 0;
    if (layout) {
        layout->insertWidget(at, tbCheckReg);
        layout->insertWidget(at + 1, pnlAudit);
    }
}

std::optional<int> BrowserPane::activePressRelease(bool *failed) const
{
    if (failed)
        *failed = false;
    Q_ASSERT(m_main.activePressRelease);
    if (!m_main.activePressRelease)
        return std::nullopt;
    const auto active = m_main.activePressRelease(failed);
    if (!active)
        return std::nullopt;
    return active->id;
}

void BrowserPane::lvLinksClick()
{
    ResourceList *list = m_main.resources;
    Q_ASSERT(list);
    const int row = list ? list->selectedRow() : -1;
    if (row < 0) {
        forgetSelectedResource();
        return;
    }
    ++m_ctx.LinkClickCounter;
    const int n = m_ctx.LinkClickCounter;
    if ((n == 1 || n % 3 == 0) && m_main.AdStrip)
        m_main.AdStrip->setUrl(m_ctx.makerUrl(QStringLiteral("/pad/frmMain.php?counter=") + QString::number(n)));
    if (!core::isResourceKind(m_ctx.CurrentKind))
        return;
    m_ctx.SelectedResourceName = list->subItem(row, SubName);
    m_ctx.SelectedResourceId = static_cast<int>(db::ParseInt(list->subItem(row, SubId)).value_or(0));
    showSelectedResource(list->subItem(row, SubStatus));
    tcWebChange();
}

void BrowserPane::selectResource(int id, const QString &name, bool refill)
{
    ResourceList *list = m_main.resources;
    Q_ASSERT(list);
    int row = list ? list->rowOf(id) : -1;
    if (list && row < 0 && refill)
        row = list->refillShowing(id);
    if (list)
        list->selectRow(row);
    m_ctx.SelectedResourceId = id;
    m_ctx.SelectedResourceName = row >= 0 ? list->subItem(row, SubName) : name;
    showSelectedResource(statusOfSelected());
}

void BrowserPane::showSelectedResource(const QString &status)
{
    m_main.pcMain->setTabText(1, QStringLiteral("Редактировать \"") + m_ctx.SelectedResourceName + QLatin1Char('"'));
    pressStatus(status);
    edtURLAudit->setText(QStringLiteral("http://") + m_ctx.SelectedResourceName);
}

void BrowserPane::forgetSelectedResource()
{
    m_ctx.SelectedResourceId = 0;
    m_ctx.SelectedResourceName.clear();
    if (!core::isResourceKind(m_ctx.CurrentKind))
        return;
    m_main.pcMain->setTabText(1, QStringLiteral("Редактировать..."));
    Q_ASSERT(m_main.resources);
    if (m_main.resources)
        m_main.resources->releaseStatusButtons();
    edtURLAudit->clear();
}

void BrowserPane::pressStatus(const QString &status)
{
    QToolButton *pressed = nullptr;
    if (status.startsWith(QStringLiteral("П")))
        pressed = tbnStatus1;
    else if (status.startsWith(QStringLiteral("Д")))
        pressed = tbnStatus2;
    else if (status.startsWith(QStringLiteral("О")))
        pressed = tbnStatus3;
    for (QToolButton *b : {tbnStatus1, tbnStatus2, tbnStatus3}) {
        const QSignalBlocker block(b);
        b->setChecked(b == pressed);
    }
}

QString BrowserPane::statusOfSelected() const
{
    const ResourceList *list = m_main.resources;
    Q_ASSERT(list);
    const int row = list ? list->rowOf(m_ctx.SelectedResourceId) : -1;
    if (row >= 0)
        return list->subItem(row, SubStatus);
    // A resource the list does not show (one just added): the log says.
    int material = 0;
    if (m_ctx.CurrentKind == core::Kind::Forums) {
        material = activePressRelease().value_or(0);
        if (material <= 0)
            return {};
    }
    return StoredStatusText(m_ctx.CurrentKind, m_ctx.SelectedResourceId, m_ctx.CurrentProjectId, material).value_or(QString());
}

bool BrowserPane::resourceSelected() const
{
    if (m_ctx.SelectedResourceId > 0)
        return true;
    prompt().message(QString::fromUtf8(kNoResource));
    return false;
}

void BrowserPane::tcWebChange()
{
    tbCheckReg->hide();
    m_main.tbWeb->show();
    pnlAudit->hide();
    const int tab = m_main.tcWeb->currentIndex();
    const bool forums = m_ctx.CurrentKind == core::Kind::Forums;
    if (!forums && tab == 3) {
        m_main.tbWeb->hide();
        pnlAudit->show();
        if (!edtURLAudit->text().isEmpty() && btnURLAuditClick)
            btnURLAuditClick();
        return;
    }
    ResourceList *list = m_main.resources;
    Q_ASSERT(list);
    if (!list || list->selectedRow() < 0)
        return;
    QString address;
    if (tab == 0) {
        address = list->selectedSubItem(SubUrl);
    } else if (tab == 1) {
        address = list->selectedSubItem(SubRegUrl);
    } else if (tab == 2) {
        tbCheckReg->show();
        if (SearchRegistration)
            SearchRegistration();
        return;
    } else if (tab == 3) {
        const auto release = activePressRelease();
        if (!release || m_ctx.SelectedResourceId <= 0)
            return;
        bool failed = false;
        const auto row = db::FirstRow(QStringLiteral("SELECT * FROM flinks WHERE flink_material_id=") + db::SqlInt(*release)
                                          + QStringLiteral(" AND flink_forum_id=") + db::SqlInt(m_ctx.SelectedResourceId),
                                      &failed);
        if (failed)
            return;
        if (row) {
            address = row->value(3);
        } else {
            prompt().message(QStringLiteral("Для данного форума и пресс-релиза URL на обсуждение не установлен"));
            address = m_ctx.makerUrl(QStringLiteral("/program3_start.php")).toString();
        }
    }
    openAddress(address);
}

bool BrowserPane::openAddress(const QString &address)
{
    // Addresses come from the base: only web pages and the program's own
    // pages are opened; an address without a scheme is a web address.
    QUrl url;
    if (!address.trimmed().isEmpty()) {
        url = core::SafeBrowserUrl(address, m_ctx.AppDir);
        if (!url.isValid()) {
            prompt().message(core::RefusedAddressMessage(address), core::MessageIcon::Warning);
            return false;
        }
    }
    m_main.Web->stop();
    m_main.Web->setUrl(url);
    return true;
}

void BrowserPane::WebProgressChange(int progress, int progressMax)
{
    QProgressBar *bar = m_main.WebProgress;
    bar->setVisible(bar->maximum() != bar->value());
    bar->setMaximum(progressMax);
    bar->setValue(progress);
}

void BrowserPane::WebDocumentComplete()
{
    if (m_ctx.CurrentKind != core::Kind::Forums)
        m_filler->fillLoadedPage();
}

void BrowserPane::tbnStatusClick(QToolButton *clicked)
{
    if (!resourceSelected()) {
        // The click has pressed its button: nothing was recorded.
        Q_ASSERT(m_main.resources);
        if (m_main.resources)
            m_main.resources->releaseStatusButtons();
        return;
    }
    for (QToolButton *b : {tbnStatus1, tbnStatus2, tbnStatus3}) {
        if (b != clicked) {
            const QSignalBlocker block(b);
            b->setChecked(false);
        }
    }
    SetRegistrationStatus();
}

void BrowserPane::SetRegistrationStatus()
{
    const int resource = m_ctx.SelectedResourceId;
    if (resource <= 0)
        return;
    int material = 0;
    if (m_ctx.CurrentKind == core::Kind::Forums) {
        // A forum's status belongs to the active press release.
        bool failed = false;
        material = activePressRelease(&failed).value_or(0);
        if (material <= 0) {
            for (QToolButton *b : {tbnStatus1, tbnStatus2, tbnStatus3}) {
                const QSignalBlocker block(b);
                b->setChecked(false);
            }
            // A failed read has said so already.
            if (!failed)
                prompt().message(QStringLiteral("Статус не сохранен: в проекте не выбран активный пресс-релиз для форумов."));
            return;
        }
    }
    const auto text = workbench::SetRegistrationStatus(m_ctx, material, tbnStatus1->isChecked(), tbnStatus2->isChecked(),
                                                       tbnStatus3->isChecked());
    ResourceList *list = m_main.resources;
    if (!text) {
        // Nothing stored (the failure has been reported): the buttons show
        // again what is.
        if (m_ctx.SelectedResourceId == resource)
            pressStatus(statusOfSelected());
        return;
    }
    // The list shows the status once the log holds it, on the rows of the
    // resource it was written for.
    Q_ASSERT(list);
    if (list) {
        for (int row : list->rowsOf(resource))
            list->setSubItem(row, SubStatus, *text);
    }
}

} // namespace qv::workbench
