// The run script's preparation of the program folder: the config.ini it puts
// there when there is none.
#include "support/files.h"
#include "support/testdb.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using qv::test::readFile;

namespace {
// Runs one function of scripts/common.sh with the given arguments; its exit code.
int runScriptFunction(const QString &function, const QStringList &args, QString *errors)
{
    QProcess sh;
    sh.start(QStringLiteral("bash"),
             QStringList{QStringLiteral("-c"), QStringLiteral("source \"$0\"; ") + function + QStringLiteral(" \"$@\""),
                         qv::test::sourcePath(QStringLiteral("scripts/common.sh"))}
                 + args);
    if (!sh.waitForFinished(10000))
        return -1;
    *errors = QString::fromUtf8(sh.readAllStandardError());
    return sh.exitStatus() == QProcess::NormalExit ? sh.exitCode() : -2;
}
} // namespace

class TestRunScript : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingConfigIsTheRepositoryDefault()
    {
        const QByteArray shipped = readFile(qv::test::sourcePath(QStringLiteral("data/config.ini")));
        QVERIFY(shipped.contains("google_ru="));
        QTemporaryDir dir;
        QString errors;
        QCOMPARE(runScriptFunction(QStringLiteral("qv_write_config"), {dir.path()}, &errors), 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("config.ini"))), shipped);

        // The user's own file stays as it is.
        QFile own(dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("[SQL]\nhost=db.example\n");
        own.close();
        QCOMPARE(runScriptFunction(QStringLiteral("qv_write_config"), {dir.path()}, &errors), 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("config.ini"))), QByteArray("[SQL]\nhost=db.example\n"));
    }
};

QTEST_GUILESS_MAIN(TestRunScript)
#include "tst_runscript.moc"
