// The main window's start-up, run once while the window is being created.
#include "core/appcontext.h"
#include "core/installpath.h"
#include "core/launcher.h"
#include "app/pendingtasks.h"
#include "core/prompt.h"
#include "app/tfrmmain.h"
#include "app/tfrmstart.h"
#include "controls/browserview.h"
#include "controls/tframelessie.h"
#include "db/database.h"
#include "db/query.h"
#include "users/tfrmlogin.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace qv::app {

namespace {
const char *const kConnectQuestion = "Не получается подключиться к базе mysql. Возможные причины:\r"
                                     "1) Указаны не верно логин и пароль в config.ini\r"
                                     "2) Не успел загрузится mysql сервер. Попробовать повторить подключение?";
}

void TfrmMain::FormCreate()
{
    // 1-3: folders, start pages, initial values.
    if (!readSettings())
        return;
    showStartPages();

    // 4: the installation folder is recorded once and never overwritten.
    core::RecordInstallPath(m_ctx.AppDir);

    // 5: plug-in menu, after its fixed items.
    fillPluginMenu();

    // 6-9: counters and settings.
    m_ctx.LinkClickCounter = 0;
    if (m_ctx.AdminMode)
        setWindowTitle(windowTitle() + QStringLiteral(" АДМИН ПРИВЕЛЕГИИ"));

    // 10-11: the local server in small-server mode.
    if (m_ctx.Db.serverSmall) {
        TfrmStart start(m_ctx, this);
        start.show();
        start.run();
    }

    // 12-17: the database and the login.
    if (!connectAndLogIn())
        return;

    // 18: project list.
    if (!fillProjects())
        return;

    // 19-20.
    m_ctx.SavedBrowserHeight = -1;
    if (!AdStrip) {
        AdStrip = new controls::TFramelessIE(pnlAdTop);
        pnlAdTop->layout()->addWidget(AdStrip);
    }

    // 21: a pending migration.
    RunPendingTasks(m_ctx.AppDir);
}

bool TfrmMain::readSettings()
{
    if (m_ctx.AppDir.isEmpty())
        m_ctx.AppDir = core::executableDir();
    // The maker's host comes from "config.ini", read here first for the start page.
    m_ctx.readConfig();
    // Settings that cannot be read, or lack what the connection needs, are
    // said as they are: a connection tried with defaults in their place would
    // only blame the login, the password or the server.
    const QString settings =
        core::SettingsFileProblem(m_ctx.ConfigIni, QStringLiteral("SQL"),
                                  {QStringLiteral("dbname"), QStringLiteral("username"), QStringLiteral("password")});
    if (!settings.isEmpty()) {
        core::prompt().message(settings, core::MessageIcon::Error);
        m_ctx.ConnectAbandoned = true;
        return false;
    }
    return true;
}

void TfrmMain::showStartPages()
{
    controls::SafePage::setProgramFolder(m_ctx.AppDir);
    Web->setUrl(m_ctx.makerUrl(QStringLiteral("/program3_start.php")));
    wbHelp->setUrl(QUrl::fromLocalFile(m_ctx.AppDir + QStringLiteral("start.htm")));
    m_ctx.LastSortColumn = 5;
    m_ctx.LinkEditUnsaved = false;
    m_ctx.FillMenuIndex = 2;
}

void TfrmMain::fillPluginMenu()
{
    for (const QString &name : core::ListSubfolders(m_ctx.AppDir + QStringLiteral("Plugins/"))) {
        QAction *a = pmPlugins->addAction(name);
        a->setText(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        a->setData(name);
        const QString appDir = m_ctx.AppDir;
        connect(a, &QAction::triggered, this, [appDir, name] { core::RunPlugin(appDir, name); });
        pluginActions.append(a);
    }
}

bool TfrmMain::connectAndLogIn()
{
    m_ctx.ConnectAbandoned = false;
    if (!connectDatabase() || !selectDatabase()) {
        m_ctx.ConnectAbandoned = true;
        return false;
    }
    users::TfrmLogin login(m_ctx, this);
    login.prepare();
    if (!users::RunLoginLoop(m_ctx, login)) {
        m_ctx.ConnectAbandoned = true;
        return false;
    }
    return true;
}

bool TfrmMain::connectDatabase()
{
    db::Database *conn = new db::Database;
    db::setDbConnection(conn);
    if (!conn->create()) {
        core::prompt().message(QStringLiteral("Couldn't init PMYSQL object"), core::MessageIcon::Error);
        return false;
    }
    for (;;) {
        if (!conn->setConnectTimeout(m_ctx.Db.connectTimeoutSeconds))
            core::prompt().message(QStringLiteral("Не могу выполнить mysql_options"), core::MessageIcon::Warning);
        if (conn->connect(m_ctx.Db.host, m_ctx.Db.user, m_ctx.Db.password, static_cast<unsigned>(m_ctx.Db.port)))
            return true;
        if (!core::prompt().question(QString::fromUtf8(kConnectQuestion)))
            return false;
        // A failed connect leaves the client object unusable: start from a fresh one.
        if (!conn->create()) {
            core::prompt().message(QStringLiteral("Couldn't init PMYSQL object"), core::MessageIcon::Error);
            return false;
        }
    }
}

bool TfrmMain::selectDatabase()
{
    db::Database &conn = db::DbConnection();
    for (;;) {
        if (conn.selectDatabase(m_ctx.Db.name))
            return true;
        const QString text = QStringLiteral("Не могу выбрать базу данных \"") + m_ctx.Db.name + QStringLiteral("\":\r")
                             + conn.errorText() + QStringLiteral("\rПроверьте dbname в config.ini. Попробовать еще раз?");
        if (!core::prompt().question(text))
            return false;
    }
}

bool TfrmMain::fillProjects()
{
    cbProjects->clear();
    projectIds.clear();
    cbProjects->addItem(QStringLiteral("--Выберите проект--"));
    projectIds.append(0);
    cbProjects->setCurrentIndex(0);
    QStringList names;
    QList<int> ids;
    const bool ok = db::ForEachRow(QStringLiteral("SELECT * FROM projects"), [&](const db::Row &row) {
        ids.append(db::ParseInt(row[0]).value_or(0));
        names.append(row[1]);
    });
    for (int i = 0; i < names.size(); ++i) {
        cbProjects->addItem(names[i], ids[i]);
        projectIds.append(ids[i]);
    }
    return ok;
}

} // namespace qv::app
