// A watched program start: the call returns at once, the end comes through
// the event loop with the exit code and the output, and neither the program
// nor the process waiting for it holds a file of this process.
#include "core/launcher.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void watchedProgramReportsItsEnd()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("run.sh"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // The program lists its own descriptors and its waiter's, then ends with 3.
        f.write("#!/bin/sh\nsleep 1\nls -l /proc/$$/fd /proc/$PPID/fd\necho \"folder $(pwd) args $*\" >&2\nexit 3\n");
        f.close();
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile held(dir.filePath(QStringLiteral("held.txt")));
        QVERIFY(held.open(QIODevice::WriteOnly));

        int ends = 0, code = -2;
        QString output;
        QElapsedTimer started;
        started.start();
        const qint64 pid = qv::core::StartWatchedClean(script, {QStringLiteral("a b"), QStringLiteral("ц")}, dir.path(),
                                                       [&](int exitCode, const QString &text) {
                                                           ++ends;
                                                           code = exitCode;
                                                           output = text;
                                                       });
        QVERIFY(pid > 0);
        QVERIFY2(started.elapsed() < 900, "the start waited for the program");
        QCOMPARE(ends, 0);
        QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 10000);
        QCOMPARE(code, 3);
        QVERIFY2(output.contains(QStringLiteral("folder %1 args a b ц").arg(dir.path())), qPrintable(output));
        QVERIFY2(!output.contains(QStringLiteral("held.txt")), qPrintable(output));
        QStringList others;
        for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype arrow = line.indexOf(QStringLiteral(" -> "));
            const QString fd = arrow < 0 ? QString() : line.left(arrow).section(QLatin1Char(' '), -1);
            // Besides the standard three: the waiter's pipe, the shell's own
            // handle on its script, ls's own on /proc.
            const QString target = line.mid(arrow + 4);
            if (fd.toInt() > 2 && !target.startsWith(QStringLiteral("pipe:")) && target != script
                && !target.startsWith(QStringLiteral("/proc/")))
                others << line;
            // The waiter's standard files are not this process's.
            if (fd.toInt() <= 2 && arrow >= 0 && target.startsWith(QStringLiteral("pipe:")))
                others << line;
        }
        QVERIFY2(others.isEmpty(), qPrintable(output));
        QTest::qWait(50);
        QCOMPARE(ends, 1);

        QCOMPARE(qv::core::StartWatchedClean(dir.filePath(QStringLiteral("missing")), {}, dir.path(),
                                             [&](int, const QString &) { ++ends; }),
                 -1);
        QTest::qWait(50);
        QCOMPARE(ends, 1);
    }
};

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
