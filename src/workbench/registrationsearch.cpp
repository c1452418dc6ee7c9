#include "workbench/registrationsearch.h"
#include "mainview/mainview.h"
#include "controls/browserview.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/query.h"
#include "db/upsert.h"
#include "workbench/browserpane.h"
#include "workbench/kindfacts.h"
#include "workbench/search_logic.h"

#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>

namespace qv::workbench {

namespace {
QToolButton *engineButton(QToolBar *bar, const char *name, const QString &caption)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setCheckable(true);
    bar->addWidget(b);
    return b;
}
} // namespace

RegistrationSearch::RegistrationSearch(mainview::MainView &main, core::AppContext &ctx, BrowserPane &pane)
    : QObject(&pane), m_main(main), m_ctx(ctx), m_pane(pane)
{
    QToolBar *bar = pane.tbCheckReg;
    auto *caption = new QLabel(QStringLiteral("Проверить регистрацию используя >>"), bar);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    bar->addWidget(caption);
    tbYandex = engineButton(bar, "tbYandex", QStringLiteral("Yandex.ru"));
    tbRambler = engineButton(bar, "tbRambler", QStringLiteral("Rambler.ru"));
    tbGoogle = engineButton(bar, "tbGoogle", QStringLiteral("Google.ru"));
    tbYandex->setChecked(true);
    connect(tbYandex, &QToolButton::clicked, this, &RegistrationSearch::tbYandexClick);
    connect(tbRambler, &QToolButton::clicked, this, &RegistrationSearch::tbRamblerClick);
    connect(tbGoogle, &QToolButton::clicked, this, &RegistrationSearch::tbGoogleClick);

    SpeedButton3 = new QToolButton(main.tbWeb);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setText(QStringLiteral("Сохр. адрес обсуждения объявления"));
    SpeedButton3->setToolButtonStyle(Qt::ToolButtonTextOnly);
    main.SpeedButton3 = SpeedButton3;
    // Shown by the navigator in the forums view only.
    main.tbWeb->addWidget(SpeedButton3)->setVisible(false);
    connect(SpeedButton3, &QToolButton::clicked, this, &RegistrationSearch::SpeedButton3Click);

    pane.SearchRegistration = [this] { SearchRegistration(); };
}

void RegistrationSearch::releaseAllBut(QToolButton *kept)
{
    for (QToolButton *b : {tbYandex, tbRambler, tbGoogle}) {
        if (b != kept)
            b->setChecked(false);
    }
}

void RegistrationSearch::tbYandexClick()
{
    releaseAllBut(tbYandex);
    SearchRegistration();
}

void RegistrationSearch::tbRamblerClick()
{
    releaseAllBut(tbRambler);
    SearchRegistration();
}

void RegistrationSearch::tbGoogleClick()
{
    releaseAllBut(tbGoogle);
    SearchRegistration();
}

void RegistrationSearch::tbAportClick()
{
    releaseAllBut(nullptr);
    SearchRegistration();
}

bool RegistrationSearch::projectHasActiveMaterial() const
{
    // The kind's material of the current project: for forums the press
    // release active in the main window, for the others any description.
    const KindFacts *k = kindFacts(m_ctx.CurrentKind);
    if (!k)
        return false;
    const QString &mp = k->materialPrefix;
    const QString project = mp + QStringLiteral("project_id=") + db::SqlInt(m_ctx.CurrentProjectId);
    QString sql = QStringLiteral("SELECT ") + mp + QStringLiteral("id FROM ") + k->materialTable + QStringLiteral(" WHERE ");
    if (k->kind == core::Kind::Forums) {
        const auto release = m_pane.activePressRelease();
        if (!release)
            return false;
        sql += mp + QStringLiteral("id=") + db::SqlInt(*release) + QStringLiteral(" AND ") + project;
    } else {
        sql += project + QStringLiteral(" LIMIT 1");
    }
    bool failed = false;
    const auto row = db::FirstRow(sql, &failed);
    return !failed && row.has_value();
}

void RegistrationSearch::SearchRegistration()
{
    if (m_ctx.CurrentKind == core::Kind::None || !projectHasActiveMaterial())
        return;
    const QString site = SearchedSite(m_ctx.ProjectUrl);
    const QString name = m_ctx.SelectedResourceName;
    QUrl address;
    if (tbYandex->isChecked())
        address = m_ctx.searchUrl(QStringLiteral("yandex"), YandexSearchPath(site, name));
    if (tbRambler->isChecked())
        address = m_ctx.searchUrl(QStringLiteral("rambler"), RamblerSearchPath(site, name));
    if (tbGoogle->isChecked())
        address = m_ctx.searchUrl(QStringLiteral("google_ru"), GoogleSearchPath(site, name));
    m_main.Web->stop();
    m_main.Web->setUrl(address);
}

void RegistrationSearch::SpeedButton3Click()
{
    const auto release = m_pane.activePressRelease();
    const int forum = m_ctx.SelectedResourceId;
    if (!release || forum <= 0 || m_ctx.CurrentKind != core::Kind::Forums)
        return;
    // Only a web page is a discussion: never an empty or blank address, nor
    // a page of the program (its local pages, its page standing in for the
    // maker's unreachable site).
    const QUrl shown = m_main.Web->url();
    const QString scheme = shown.scheme().toLower();
    const auto *view = qobject_cast<const controls::BrowserView *>(m_main.Web);
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || shown.host().isEmpty()
        || (view && view->showsOfflinePage())) {
        core::prompt().message(QStringLiteral("Адрес обсуждения не сохранён: в браузере должна быть открыта страница "
                                              "обсуждения на форуме (адрес http:// или https://)."));
        return;
    }
    const QString url = shown.toString();
    const QString where = QStringLiteral(" WHERE flink_material_id=") + db::SqlInt(*release)
                          + QStringLiteral(" AND flink_forum_id=") + db::SqlInt(forum);
    db::Upsert(QStringLiteral("flinks"), where, QStringLiteral("flink_url=") + db::Sql(url),
               QStringLiteral("INSERT INTO flinks SET flink_url=") + db::Sql(url) + QStringLiteral(", flink_material_id=")
                   + db::SqlInt(*release) + QStringLiteral(", flink_forum_id=") + db::SqlInt(forum));
}

} // namespace qv::workbench
