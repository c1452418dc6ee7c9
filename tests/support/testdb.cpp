#include "support/testdb.h"
#include "db/database.h"
#include "db/query.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace qv::test {

namespace {
QAtomicInt g_counter;
}

QString sourcePath(const QString &relative) { return QStringLiteral(QV_SOURCE_DIR "/") + relative; }

QStringList readSqlStatements(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (current.isEmpty() && (line.trimmed().isEmpty() || line.trimmed().startsWith(QStringLiteral("--"))))
            continue;
        current += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            statements << current.trimmed().chopped(1);
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

namespace {
// The parent of a process, 0 when it cannot be read.
qint64 parentOf(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    // "pid (name) state ppid ...": the name may hold blanks and parentheses.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 1).simplified().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() : 0;
}

// The server folder of this test run: the fixture starts one per ctest process, in
// QV_TEST_FIXTURE_DIR/run-<pid of ctest>, and ctest is one of this process's ancestors.
// A server started by hand right in QV_TEST_FIXTURE_DIR serves when there is none.
QString fixtureDir()
{
    const QString base = qEnvironmentVariable("QV_TEST_FIXTURE_DIR");
    qint64 pid = QCoreApplication::applicationPid();
    for (int depth = 0; depth < 16 && pid > 1; ++depth) {
        pid = parentOf(pid);
        const QString dir = base + QStringLiteral("/run-%1").arg(pid);
        if (QFileInfo::exists(dir + QStringLiteral("/port")))
            return dir;
    }
    return base;
}
} // namespace

int TestDb::fixturePort()
{
    QFile f(fixtureDir() + QStringLiteral("/port"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(f.readAll()).trimmed().toInt();
}

TestDb::TestDb(Content content)
{
    const int port = fixturePort();
    if (port <= 0) {
        m_error = QStringLiteral("no test server (QV_TEST_FIXTURE_DIR/port)");
        return;
    }
    auto *conn = new db::Database;
    db::setDbConnection(conn);
    if (!conn->create() || !conn->setConnectTimeout(10) || !conn->connect(host(), user(), password(), port)) {
        m_error = QStringLiteral("cannot connect to the test server: ") + conn->errorText();
        return;
    }
    m_name = QStringLiteral("qvt_%1_%2_%3")
                 .arg(QFileInfo(QCoreApplication::applicationFilePath()).baseName())
                 .arg(QCoreApplication::applicationPid())
                 .arg(g_counter.fetchAndAddRelaxed(1));
    if (!exec(QStringLiteral("CREATE DATABASE ") + m_name
              + QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci")))
        return;
    if (!conn->selectDatabase(m_name)) {
        m_error = conn->errorText();
        return;
    }
    if (!execFile(sourcePath(QStringLiteral("sql/schema.sql"))))
        return;
    if (content >= WithSeed && !execFile(sourcePath(QStringLiteral("sql/seed.sql"))))
        return;
    if (content >= WithSample)
        execFile(sourcePath(QStringLiteral("sql/sample.sql")), QStringLiteral("/tmp/quorvantile-sample"));
}

TestDb::~TestDb()
{
    db::Database &conn = db::DbConnection();
    if (!m_name.isEmpty() && conn.isConnected())
        conn.query(QStringLiteral("DROP DATABASE IF EXISTS ") + m_name);
    db::setDbConnection(nullptr);
}

bool TestDb::exec(const QString &sql)
{
    db::Database &conn = db::DbConnection();
    if (conn.query(sql) != 0) {
        m_error = conn.errorText() + QStringLiteral(" in: ") + sql.left(300);
        return false;
    }
    db::QueryResult drained(conn);
    return true;
}

bool TestDb::execFile(const QString &path, const QString &appDir)
{
    const QStringList statements = readSqlStatements(path);
    if (statements.isEmpty()) {
        m_error = QStringLiteral("no statements in ") + path;
        return false;
    }
    for (QString s : statements) {
        if (!appDir.isEmpty())
            s.replace(QStringLiteral("@@APPDIR@@"), appDir);
        if (!exec(s))
            return false;
    }
    return true;
}

QString TestDb::scalar(const QString &sql)
{
    db::Database &conn = db::DbConnection();
    if (conn.query(sql) != 0) {
        m_error = conn.errorText();
        return QString();
    }
    db::QueryResult r(conn);
    const auto row = r.FetchRow();
    return row ? row->value(0) : QString();
}

QStringList TestDb::rows(const QString &sql)
{
    db::Database &conn = db::DbConnection();
    QStringList out;
    if (conn.query(sql) != 0) {
        m_error = conn.errorText();
        return out;
    }
    db::QueryResult r(conn);
    while (auto row = r.FetchRow())
        out << row->values().join(QLatin1Char('|'));
    return out;
}

} // namespace qv::test
