#include "core/appcontext.h"
#include "core/prompt.h"

#include <QCoreApplication>
#include <QDir>

namespace qv::core {

namespace {
const char *const kDefaultMaker = "http://www.quorvantile.ru";

QString withScheme(QString host)
{
    host = host.trimmed();
    if (host.isEmpty())
        return host;
    if (!host.contains(QStringLiteral("://")))
        host.prepend(QStringLiteral("http://"));
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host;
}
} // namespace

QString executableDir()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void AppContext::readConfig()
{
    ConfigIni.open(configPath());
    const IniFile &ini = ConfigIni;
    AdminMode = ini.readBool(QStringLiteral("OTHER"), QStringLiteral("AUserAdmin"), false);
    Db.host = ini.readString(QStringLiteral("SQL"), QStringLiteral("host"), QStringLiteral("localhost"));
    Db.name = ini.readString(QStringLiteral("SQL"), QStringLiteral("dbname"));
    Db.user = ini.readString(QStringLiteral("SQL"), QStringLiteral("username"));
    Db.password = ini.readString(QStringLiteral("SQL"), QStringLiteral("password"));
    Db.port = ini.readInteger(QStringLiteral("SQL"), QStringLiteral("port"), 3304);
    if (Db.port < 1 || Db.port > 65535) {
        prompt().message(QStringLiteral("В файле config.ini неверное значение ключа port раздела [SQL]: \"")
                             + ini.readString(QStringLiteral("SQL"), QStringLiteral("port"))
                             + QStringLiteral("\". Используется порт 3304."),
                         MessageIcon::Warning);
        Db.port = 3304;
    }
    Db.connectTimeoutSeconds = 10;
    Db.serverSmall = ini.readInteger(QStringLiteral("SQL"), QStringLiteral("server_small"), 0) == 1;
}

QString AppContext::hostSetting(const QString &key, const QString &def) const
{
    const QString v = withScheme(ConfigIni.readString(QStringLiteral("Hosts"), key));
    return v.isEmpty() ? withScheme(def) : v;
}

QUrl AppContext::makerUrl(const QString &path) const
{
    return QUrl(hostSetting(QStringLiteral("maker"), QString::fromLatin1(kDefaultMaker)) + path.trimmed());
}

QUrl AppContext::searchUrl(const QString &engine, const QString &pathAndQuery) const
{
    QString def;
    if (engine == QLatin1String("yandex"))
        def = QStringLiteral("http://yandex.ru");
    else if (engine == QLatin1String("rambler"))
        def = QStringLiteral("http://rambler.ru");
    else if (engine == QLatin1String("google"))
        def = QStringLiteral("http://www.google.com");
    else if (engine == QLatin1String("google_ru"))
        def = QStringLiteral("http://www.google.ru");
    else if (engine == QLatin1String("yandex_bar"))
        def = QStringLiteral("http://bar-navig.yandex.ru");
    else if (engine == QLatin1String("google_toolbar"))
        def = QStringLiteral("http://toolbarqueries.google.com");
    return QUrl(hostSetting(engine, def) + pathAndQuery);
}

} // namespace qv::core
