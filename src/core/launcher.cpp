#include "core/launcher.h"
#include "core/prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace qv::core {

qint64 LaunchProgram(const QString &file, const QString &parameters, const QString &folder)
{
    const QString f = file.trimmed();
    const QUrl url(f);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1 && url.scheme() != QLatin1String("file"))
        return prompt().openUrl(url) ? 0 : -1;
    QString program = f;
    if (QFileInfo(program).isRelative() && !folder.isEmpty())
        program = QDir(folder).filePath(program);
    return prompt().startProgram(program, QProcess::splitCommand(parameters), folder);
}

QStringList ListSubfolders(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        prompt().message(QStringLiteral("Не могу войти в каталог: ") + folder, MessageIcon::Warning);
        return {};
    }
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QString FindPluginProgram(const QString &pluginFolder)
{
    const QDir dir(pluginFolder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &fi : files) {
        if (fi.fileName().endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive) || fi.isExecutable())
            return fi.absoluteFilePath();
    }
    return QString();
}

qint64 RunPlugin(const QString &appDir, const QString &name)
{
    const QString folder = appDir + QStringLiteral("Plugins/") + name + QLatin1Char('/');
    if (!QFileInfo(folder).isDir()) {
        prompt().message(QStringLiteral("Не могу войти в каталог: ") + folder, MessageIcon::Warning);
        return -1;
    }
    const QString program = FindPluginProgram(folder);
    if (program.isEmpty()) {
        prompt().message(QStringLiteral("Нет исполнительного файла для плагина!"));
        return -1;
    }
    return LaunchProgram(program, QString(), folder);
}

} // namespace qv::core
