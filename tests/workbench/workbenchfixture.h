#pragma once
// A main window over a fresh seeded database with one chosen project, for the
// navigator and resource list tests. The maker's host points at a closed local
// port: nothing reaches the internet.
#include "core/appcontext.h"
#include "app/tfrmmain.h"
#include "workbench/navigator.h"
#include "support/testdb.h"

#include <QComboBox>
#include <QFile>
#include <QTcpServer>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <memory>

namespace qv::test {

inline int closedLocalPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int port = s.serverPort();
    s.close();
    return port;
}

struct Workbench {
    TestDb db{TestDb::WithSeed};
    QTemporaryDir dir;
    core::AppContext ctx;
    std::unique_ptr<app::TfrmMain> main;
    int projectId = 0;

    Workbench()
    {
        ctx.AppDir = dir.path() + QLatin1Char('/');
        QFile ini(ctx.AppDir + QStringLiteral("config.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Hosts]\nmaker=http://127.0.0.1:" + QByteArray::number(closedLocalPort()) + "\n");
        ini.close();
        ctx.ConfigIni.open(ctx.configPath());
        main = std::make_unique<app::TfrmMain>(ctx);
        if (!db.ok())
            return;
        db.exec(QStringLiteral("INSERT INTO projects SET project_name='Проект', project_url='http://site.example'"));
        projectId = db.scalar(QStringLiteral("SELECT MAX(project_id) FROM projects")).toInt();
        main->fillProjects();
        main->cbProjects->setCurrentIndex(1);
        ctx.CurrentProjectId = projectId;
    }

    QString makerStart() const { return ctx.makerUrl(QStringLiteral("/program3_start.php")).toString(); }
};

// The child of `n` with the text `text`, or null.
inline QTreeWidgetItem *childNamed(QTreeWidgetItem *n, const QString &text)
{
    for (int i = 0; n && i < n->childCount(); ++i) {
        if (n->child(i)->text(0) == text)
            return n->child(i);
    }
    return nullptr;
}

// The texts of a node's children, in order.
inline QStringList childTexts(const QTreeWidgetItem *n)
{
    QStringList out;
    for (int i = 0; n && i < n->childCount(); ++i)
        out << n->child(i)->text(0);
    return out;
}

// The refusal of a name longer than its column of 255 characters, by the
// field's caption (an input box's prompt).
inline QString tooLongName(const QString &label)
{
    return QStringLiteral("Текст в поле \"%1\" слишком длинный: база данных хранит в нём не больше 255 символов. "
                          "Сократите текст; ничего не записано.")
        .arg(label);
}

// Selects a navigator node the way a click does: a new current node runs its
// click with the change, the current node runs it again.
inline void click(Workbench &w, QTreeWidgetItem *node)
{
    if (w.main->trvFilters->currentItem() != node)
        w.main->trvFilters->setCurrentItem(node);
    else
        w.main->navigator->trvFiltersClick();
}

} // namespace qv::test
