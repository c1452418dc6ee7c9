#pragma once
// A fresh database on the test server for one test case: created from
// sql/schema.sql (and the seed when asked), installed as the process
// connection, dropped again at the end.
#include <QString>
#include <QStringList>

namespace qv::test {

QString sourcePath(const QString &relative);
// The statements of one of our SQL files (each ends with ";" at a line end).
QStringList readSqlStatements(const QString &path);

class TestDb {
public:
    enum Content { SchemaOnly, WithSeed, WithSample };
    explicit TestDb(Content content = SchemaOnly);
    ~TestDb();
    TestDb(const TestDb &) = delete;
    TestDb &operator=(const TestDb &) = delete;

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString name() const { return m_name; }

    static int fixturePort();
    static QString host() { return QStringLiteral("127.0.0.1"); }
    static QString user() { return QStringLiteral("qvtest"); }
    static QString password() { return QStringLiteral("qvtest"); }

    // Runs statements on the process connection; false with error() set on failure.
    bool exec(const QString &sql);
    bool execFile(const QString &path, const QString &appDir = QString());
    // First column of the first row ("" when none).
    QString scalar(const QString &sql);
    // Every row, columns joined with "|".
    QStringList rows(const QString &sql);

private:
    QString m_name;
    QString m_error;
};

} // namespace qv::test
