// quillmere-rename against a folder another Quillmere process is renaming
// (this test process holds the folder's lock as a run does), against a
// folder it cannot write, and stopped by a signal halfway.

#include "core/FolderHandle.h"

#include "TempFolder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <signal.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLMERE_RENAME_EXE), arguments);
    Outcome outcome;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

} // namespace

class TestCliRunSafety : public QObject
{
    Q_OBJECT

private slots:
    void lockedFolder_data();
    void lockedFolder();
    void dryRunInReadOnlyFolder();
    void stoppedBySignal_data();
    void stoppedBySignal();
};

void TestCliRunSafety::lockedFolder_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<int>("exitWhileLocked");

    QTest::newRow("rename") << QStringList{"--text", "P", "--all"} << false << 2;
    QTest::newRow("rename through a link to the folder") << QStringList{"--text", "P", "--all"} << true << 2;
    QTest::newRow("overwrite") << QStringList{"--overwrite", "--text", "a", "--all"} << false << 2;
    QTest::newRow("dry run changes nothing and may go ahead")
        << QStringList{"--dry-run", "--text", "P", "--all"} << false << 0;
}

void TestCliRunSafety::lockedFolder()
{
    QFETCH(QStringList, options);
    QFETCH(bool, throughLink);
    QFETCH(int, exitWhileLocked);

    TempFolder root;
    QVERIFY(root.writeNamed({"work/a.jpg", "work/b.jpg", "work/c.jpg"}));
    QVERIFY(QFile::link(root.filePath("work"), root.filePath("link")));
    const QString work = root.filePath("work");
    const QStringList arguments = options + QStringList{throughLink ? root.filePath("link") : work};
    const auto contents = [&] {
        QMap<QString, QByteArray> result;
        for (const QString &name : QDir(work).entryList(QDir::Files | QDir::Hidden))
            result.insert(name, root.read("work/" + name));
        return result;
    };
    const QMap<QString, QByteArray> before = contents();

    {
        FolderHandle running(work);
        QCOMPARE(running.tryLock(), FolderHandle::LockResult::Locked);
        const Outcome refused = runCli(arguments);
        QCOMPARE(refused.exitCode, exitWhileLocked);
        QCOMPARE(contents(), before);
        if (exitWhileLocked == 2) {
            QVERIFY2(refused.err.contains(QStringLiteral("Another rename is running")), qPrintable(refused.err));
            QVERIFY(refused.out.isEmpty());
        }
    }

    // The lock goes with the process (here: the handle) that held it.
    const Outcome done = runCli(arguments);
    QCOMPARE(done.exitCode, 0);
    QVERIFY(!done.out.isEmpty());
}

void TestCliRunSafety::dryRunInReadOnlyFolder()
{
    TempFolder root;
    QVERIFY(root.writeNamed({"work/a.jpg", "work/b.jpg"}));
    QCOMPARE(::chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
    const QByteArray work = QFile::encodeName(root.filePath("work"));
    QCOMPARE(::chmod(work.constData(), 0555), 0);

    // The superuser may write anywhere: the program runs as an ordinary
    // user then, with a state folder of its own for the journal, so that
    // the real run does not stop at that.
    const bool dropRights = ::geteuid() == 0;
    QVERIFY(root.makeFolder("state"));
    if (dropRights)
        QCOMPARE(::chown(QFile::encodeName(root.filePath("state")).constData(), 65534, 65534), 0);
    const auto run = [&](const QStringList &arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_STATE_HOME", root.filePath("state"));
        process.setProcessEnvironment(environment);
        if (dropRights) {
            process.setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(100);
            });
        }
        process.start(QStringLiteral(QUILLMERE_RENAME_EXE), arguments);
        Outcome outcome;
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit) {
            outcome.exitCode = process.exitCode();
            outcome.out = QString::fromUtf8(process.readAllStandardOutput());
            outcome.err = QString::fromUtf8(process.readAllStandardError());
        }
        return outcome;
    };
    const Outcome dry = run({"--dry-run", "--text", "P", "--all", root.filePath("work")});
    const Outcome real = run({"--text", "P", "--all", root.filePath("work")});
    ::chmod(work.constData(), 0755);

    // The dry run reports what the real run meets: nothing can be renamed.
    QCOMPARE(real.exitCode, 1);
    QCOMPARE(dry.exitCode, 1);
    QVERIFY(dry.out.isEmpty());
    QCOMPARE(dry.err.count(u'\n'), 2);
    QVERIFY2(dry.err.contains(QStringLiteral("a.jpg: the folder cannot be written")), qPrintable(dry.err));
    QCOMPARE(QDir(root.filePath("work")).entryList(QDir::Files), (QStringList{"a.jpg", "b.jpg"}));
}

void TestCliRunSafety::stoppedBySignal_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("afterLines"); // renames printed before the signal is sent

    // The handlers are in place once the first rename is printed.
    QTest::newRow("SIGINT after the first") << int(SIGINT) << 1;
    QTest::newRow("SIGTERM after 500") << int(SIGTERM) << 500;
    QTest::newRow("SIGHUP after 3000") << int(SIGHUP) << 3000;
}

void TestCliRunSafety::stoppedBySignal()
{
    QFETCH(int, signal);
    QFETCH(int, afterLines);

    // Renumbering onto the files' own names, with overwrite: every file but
    // the last is set aside while the one before takes its name.
    constexpr int kFiles = 20000;
    TempFolder folder;
    QStringList names;
    for (int i = 1; i <= kFiles; ++i)
        names.append(QStringLiteral("Photo%1.jpg").arg(i, 6, 10, QLatin1Char('0')));
    QVERIFY(folder.writeNamed(names));

    QProcess process;
    process.start(QStringLiteral(QUILLMERE_RENAME_EXE),
                  {"--overwrite", "--text", "Photo", "--start", "2", "--all", folder.path()});
    QVERIFY(process.waitForStarted());
    QByteArray out;
    while (out.count('\n') < afterLines && process.state() == QProcess::Running) {
        process.waitForReadyRead(1000);
        out += process.readAllStandardOutput();
    }
    QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
    QVERIFY(process.waitForFinished(60000));
    out += process.readAllStandardOutput();
    const QString err = QString::fromUtf8(process.readAllStandardError());

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    // A run that happened to end before the signal came answers 0; one
    // stopped answers as the signal's own exit would.
    QVERIFY2(process.exitCode() == 128 + signal || process.exitCode() == 0, qPrintable(err.left(500)));
    const QMap<QString, QByteArray> after = folder.contents();
    // Nothing hidden left behind, nothing lost, and each printed rename is
    // true: the new name holds the old name's content.
    for (const QString &name : after.keys())
        QVERIFY2(!name.startsWith(u'.'), qPrintable(name));
    QStringList contents;
    for (const QByteArray &content : after)
        contents.append(QString::fromUtf8(content));
    contents.sort();
    QCOMPARE(contents, names);
    const QStringList lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QString oldName = line.section(QStringLiteral(" -> "), 0, 0);
        const QString newName = line.section(QStringLiteral(" -> "), 1);
        QCOMPARE(after.value(newName), oldName.toUtf8());
    }
    if (process.exitCode() != 0) {
        QVERIFY(lines.size() < kFiles);
        // One line for all the files the stop left, not one for each; with
        // the renamed ones they are every file.
        const QStringList errLines = err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(errLines.size(), 1);
        static const QRegularExpression stopLine(
            QStringLiteral("^quillmere-rename: the run was stopped; files left untouched: (\\d+)$"));
        const QRegularExpressionMatch match = stopLine.match(errLines.constFirst());
        QVERIFY2(match.hasMatch(), qPrintable(errLines.constFirst()));
        QCOMPARE(match.captured(1).toInt() + lines.size(), kFiles);
    }
}

QTEST_GUILESS_MAIN(TestCliRunSafety)
#include "tst_cli_runsafety.moc"
