#include "app/pendingtasks.h"
#include "core/inifile.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace qv::app {

QString FindTasksFile(const QString &dir)
{
    const QDir d(dir);
    const QStringList entries = d.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    // Prefer the exact name, then any spelling of it.
    if (entries.contains(QStringLiteral("Tasks.sql")))
        return d.filePath(QStringLiteral("Tasks.sql"));
    for (const QString &e : entries) {
        if (e.compare(QStringLiteral("tasks.sql"), Qt::CaseInsensitive) == 0)
            return d.filePath(e);
    }
    return QString();
}

TasksOutcome RunPendingTasks(const QString &dir)
{
    TasksOutcome out;
    const QString path = FindTasksFile(dir);
    if (path.isEmpty())
        return out;
    out.found = true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        core::prompt().message(QStringLiteral("Не могу прочитать файл ") + path + QStringLiteral(": ") + f.errorString(),
                               core::MessageIcon::Error);
        out.fileError = true;
        return out;
    }
    QString text = core::DecodeLocalText(f.readAll());
    f.close();
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        if (db::ExecQuery(lines[i]) != 0) {
            out.failed = true;
            QSaveFile rest(path);
            bool ok = rest.open(QIODevice::WriteOnly);
            if (ok) {
                rest.write(lines.mid(i).join(QLatin1Char('\n')).toUtf8());
                ok = rest.commit();
            }
            if (!ok) {
                core::prompt().message(QStringLiteral("Не могу записать файл ") + path, core::MessageIcon::Error);
                out.fileError = true;
            }
            return out;
        }
        // A statement that returns rows (a SELECT in the file) must be read off.
        db::QueryResult drained(db::DbConnection());
        ++out.ran;
    }
    if (!QFile::remove(path)) {
        core::prompt().message(QStringLiteral("Не могу удалить файл ") + path, core::MessageIcon::Error);
        out.fileError = true;
    }
    return out;
}

} // namespace qv::app
