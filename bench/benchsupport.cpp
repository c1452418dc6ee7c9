#include "benchsupport.h"
#include "db/database.h"
#include "db/query.h"

#include <QFile>
#include <QProcess>
#include <cstdio>
#include <unistd.h>

namespace qv::bench {

namespace {
const QString kScript = QStringLiteral(QV_SOURCE_DIR "/tests/fixture/mariadb.sh");
}

void prepareDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (::geteuid() == 0) {
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!(" " + flags + " ").contains(" --no-sandbox ")) {
            flags += flags.isEmpty() ? "--no-sandbox" : " --no-sandbox";
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        }
    }
}

void out(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

bool run(const QString &sql)
{
    if (db::DbConnection().query(sql) == 0) {
        db::QueryResult drained(db::DbConnection());
        return true;
    }
    std::fprintf(stderr, "statement failed: %s\n%s\n", qPrintable(sql.left(300)), qPrintable(db::DbConnection().errorText()));
    return false;
}

QString scalar(const QString &sql)
{
    if (db::DbConnection().query(sql) != 0)
        return QString();
    db::QueryResult r(db::DbConnection());
    const auto row = r.FetchRow();
    return row ? row->value(0) : QString();
}

bool createSchema()
{
    QFile f(QStringLiteral(QV_SOURCE_DIR "/sql/schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QString current;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (current.isEmpty() && (line.trimmed().isEmpty() || line.trimmed().startsWith(QStringLiteral("--"))))
            continue;
        current += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            if (!run(current.trimmed().chopped(1)))
                return false;
            current.clear();
        }
    }
    return true;
}

bool Server::start()
{
    const QString where = dir.path() + QStringLiteral("/fx");
    out(QStringLiteral("starting a private MariaDB server in %1").arg(where));
    if (QProcess::execute(kScript, {QStringLiteral("start"), where}) != 0)
        return false;
    started = true;
    QFile f(where + QStringLiteral("/port"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    port = QString::fromLatin1(f.readAll()).trimmed().toInt();
    return port > 0;
}

void Server::stop()
{
    if (started)
        QProcess::execute(kScript, {QStringLiteral("stop"), dir.path() + QStringLiteral("/fx")});
    started = false;
}

} // namespace qv::bench
