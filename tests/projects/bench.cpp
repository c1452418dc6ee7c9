#include "bench.h"
#include "projects/projectchoice.h"
#include "projects/tfrmprojectinfo.h"
#include "projects/tfrmprojectmaterials.h"
#include "db/database.h"
#include "db/query.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QTcpServer>

namespace qv::test {

int closedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int port = s.serverPort();
    s.close();
    return port;
}

Bench::Bench(bool withMain)
{
    // No page of the maker's site is reached from a test.
    QFile config(dir.path() + QStringLiteral("/config.ini"));
    if (config.open(QIODevice::WriteOnly))
        config.write("[Hosts]\nmaker=http://127.0.0.1:" + QByteArray::number(closedPort()) + "\n");
    config.close();
    ctx.AppDir = dir.path() + QLatin1Char('/');
    ctx.readConfig();
    if (withMain)
        main = std::make_unique<app::TfrmMain>(ctx);
    editor = new projects::TfrmProjectMaterials(ctx, main.get(), main.get());
    info = new projects::TfrmProjectInfo(ctx, main.get(), main.get());
    windows.frmProjectMaterials = editor;
    windows.frmProjectInfo = info;
    if (main)
        main->attachWindows(&windows);
}

Bench::~Bench()
{
    if (!main) {
        delete editor;
        delete info;
    }
}

int Bench::addProject(const QString &name, const QString &url)
{
    db::ExecQuery(QStringLiteral("INSERT INTO projects SET project_name=") + db::Sql(name) + QStringLiteral(", project_url=")
                  + db::Sql(url));
    const int id = static_cast<int>(db::DbConnection().lastInsertId());
    if (main)
        main->fillProjects();
    return id;
}

void Bench::choose(int projectId)
{
    main->cbProjects->setCurrentIndex(static_cast<int>(main->projectIds.indexOf(projectId)));
    main->projects->cbProjectsChange();
}

int Bench::addMaterial(const QString &table, const QString &name, int projectId, const QString &more)
{
    const QString prefix = table.left(table.size() - 1) + QLatin1Char('_');
    db::ExecQuery(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" SET ") + prefix + QStringLiteral("name=")
                  + db::Sql(name) + QStringLiteral(", ") + prefix + QStringLiteral("project_id=") + db::SqlInt(projectId)
                  + (more.isEmpty() ? QString() : QStringLiteral(", ") + more));
    return static_cast<int>(db::DbConnection().lastInsertId());
}

QStringList menuKeys(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->data().toString());
    return out;
}

QStringList menuTexts(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace qv::test
