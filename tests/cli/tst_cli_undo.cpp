// quillmere-rename --undo: a run taken back from the command line, also a
// run killed outright at any moment, gives back the folder exactly.

#include "CliProcess.h"
#include "TempFolder.h"
#include "TestIsolation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

using Outcome = CliOutcome;

Outcome runCli(const QStringList &arguments)
{
    return RunCli(arguments, 120000);
}


// Large folders go to memory where there is a tmpfs.
QString scratchRoot()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

} // namespace

class TestCliUndo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void undoAfterRun_data();
    void undoAfterRun();
    void refuses_data();
    void refuses();
    void killedRunIsRestored();
};

void TestCliUndo::init()
{
    QVERIFY(RemoveIsolatedFolder(qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/quillmere")));
}

void TestCliUndo::undoAfterRun_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("run");

    const QStringList photos = {"Photo1.jpg", "Photo2.jpg", "Photo3.jpg", "Photo4.jpg", "Photo5.jpg"};
    QTest::newRow("renumbering, overwrite")
        << photos << QStringList{"--type", "name", "--text", "Photo", "--start", "2", "--no-pad", "--overwrite", "--all"};
    QTest::newRow("renumbering, keep")
        << photos << QStringList{"--type", "name", "--text", "Photo", "--start", "2", "--no-pad", "--all"};
    QTest::newRow("over an unselected file")
        << QStringList{"a.txt", "b.txt", "New1.txt", ".hidden"}
        << QStringList{"--type", "name", "--text", "New", "--no-pad", "--overwrite", "{dir}", "a.txt", "b.txt"};
}

void TestCliUndo::undoAfterRun()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, run);

    TempFolder folder;
    QVERIFY(folder.writeNamed(files));
    const QMap<QString, QByteArray> before = FolderChecksums(folder.path());
    if (!run.contains(QStringLiteral("{dir}")))
        run.append(QStringLiteral("{dir}"));
    run.replaceInStrings(QStringLiteral("{dir}"), folder.path());
    QCOMPARE(runCli(run).exitCode, 0);
    const QMap<QString, QByteArray> after = FolderChecksums(folder.path());
    QVERIFY(after != before);

    const Outcome dry = runCli({"--undo", "--dry-run", folder.path()});
    QCOMPARE(dry.exitCode, 0);
    QVERIFY(!dry.out.isEmpty());
    QCOMPARE(FolderChecksums(folder.path()), after);

    const Outcome undo = runCli({"--undo", folder.path()});
    QCOMPARE(undo.exitCode, 0);
    QCOMPARE(undo.out, dry.out);
    QVERIFY(undo.err.isEmpty());
    QCOMPARE(FolderChecksums(folder.path()), before);

    const Outcome again = runCli({"--undo", folder.path()});
    QCOMPARE(again.exitCode, 2);
    QCOMPARE(again.err.size(), 1);
}

void TestCliUndo::refuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("file names") << QStringList{"--undo", "{dir}", "a.txt"};
    QTest::newRow("all") << QStringList{"--undo", "--all", "{dir}"};
    QTest::newRow("no folder") << QStringList{"--undo"};
    QTest::newRow("folder missing") << QStringList{"--undo", "{dir}/missing"};
    QTest::newRow("nothing recorded") << QStringList{"--undo", "{dir}"};
}

void TestCliUndo::refuses()
{
    QFETCH(QStringList, arguments);
    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.txt"}));
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("{dir}"), folder.path());
    const Outcome outcome = runCli(arguments);
    QCOMPARE(outcome.exitCode, 2);
    QVERIFY(!outcome.err.isEmpty());
    QCOMPARE(folder.files(), QStringList{"a.txt"});
}

// A renumbering of 20,000 files in overwrite mode, where nearly every file
// steps aside under a temporary name before it takes its new one, killed
// with SIGKILL after a random number of files (and once at its very start,
// and once not at all): one undo always gives back the folder.
void TestCliUndo::killedRunIsRestored()
{
    constexpr int kFiles = 20000;
    QTemporaryDir dir(scratchRoot() + QStringLiteral("/quillmere-undo-XXXXXX"));
    QVERIFY(dir.isValid());
    for (int i = 1; i <= kFiles; ++i) {
        QFile file(dir.filePath(QStringLiteral("Photo%1.jpg").arg(i)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(i));
    }
    const QMap<QString, QByteArray> before = FolderChecksums(dir.path());
    QCOMPARE(before.size(), kFiles);

    QRandomGenerator random = QRandomGenerator::securelySeeded();
    QList<int> killAfter = {0, -1};
    for (int i = 0; i < 4; ++i)
        killAfter.append(1 + int(random.bounded(kFiles - 1)));
    for (const int after : std::as_const(killAfter)) {
        QProcess process;
        process.start(QStringLiteral(QUILLMERE_RENAME_EXE),
                      {"--type", "name", "--text", "Photo", "--start", "2", "--no-pad", "--overwrite", "--all",
                       dir.path()});
        QVERIFY(process.waitForStarted());
        if (after >= 0) {
            // Each renamed file is printed as it is done.
            int renamed = 0;
            while (renamed < after && process.state() == QProcess::Running) {
                if (process.waitForReadyRead(60000))
                    renamed += process.readAllStandardOutput().count('\n');
            }
            ::kill(pid_t(process.processId()), SIGKILL);
        }
        QVERIFY(process.waitForFinished(120000));
        const bool killed = process.exitStatus() == QProcess::CrashExit;
        QVERIFY(after < 0 || killed || process.exitCode() == 0);
        // Cut off half-way, or run to its end: either way files moved.
        if (after != 0)
            QVERIFY(FolderChecksums(dir.path()) != before);

        const Outcome undo = runCli({"--undo", dir.path()});
        // Killed before its plan was on disk, the run touched nothing and
        // left nothing to undo.
        QVERIFY2(undo.exitCode == 0 || (after == 0 && undo.exitCode == 2),
                 qPrintable(QStringLiteral("kill after %1: exit %2, %3").arg(after).arg(undo.exitCode).arg(undo.err.join(u'\n'))));
        QVERIFY2(FolderChecksums(dir.path()) == before, qPrintable(QStringLiteral("kill after %1 files").arg(after)));
    }
}

QTEST_GUILESS_MAIN(TestCliUndo)
#include "tst_cli_undo.moc"
