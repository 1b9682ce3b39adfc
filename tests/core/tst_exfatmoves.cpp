// Moves on a file system without no-replace renames and hard links, where
// the folder handle learns to go straight to its last way (a check, then a
// plain rename): an exFAT image mounted through FUSE, which also ignores
// letter case. That way must still never replace anything, before the
// learning and after it. Needs root, mkfs.exfat and mount.exfat-fuse.

#include "core/FolderHandle.h"

#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace {

// Where a tool is: on PATH, or in the system folders root's PATH may lack.
QString toolPath(const char *name)
{
    const QString tool = QString::fromLatin1(name);
    const QString onPath = QStandardPaths::findExecutable(tool);
    return !onPath.isEmpty() ? onPath
                             : QStandardPaths::findExecutable(tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
}

bool runQuietly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning().noquote() << program << arguments.join(u' ') << process.readAll();
        return false;
    }
    return true;
}

// An exFAT image mounted for the test's life.
class ExfatMount
{
public:
    explicit ExfatMount(const TempFolder &scratch)
        : m_point(scratch.filePath(QStringLiteral("mnt")))
    {
        const QString image = scratch.filePath(QStringLiteral("exfat.img"));
        QFile file(image);
        m_mounted = file.open(QIODevice::WriteOnly) && file.resize(64 << 20);
        file.close();
        if (!m_mounted || !QDir().mkpath(m_point) || !runQuietly(toolPath("mkfs.exfat"), {image})) {
            m_mounted = false;
            return;
        }
        // The FUSE driver mounts for root only from a block device.
        QProcess loop;
        loop.start(toolPath("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image});
        if (loop.waitForFinished(60000) && loop.exitCode() == 0)
            m_device = QString::fromLocal8Bit(loop.readAllStandardOutput()).trimmed();
        m_mounted = !m_device.isEmpty() && runQuietly(toolPath("mount.exfat-fuse"), {m_device, m_point});
    }
    ~ExfatMount()
    {
        if (m_mounted)
            runQuietly(QStringLiteral("umount"), {m_point});
        if (!m_device.isEmpty())
            runQuietly(toolPath("losetup"), {QStringLiteral("-d"), m_device});
    }
    bool isMounted() const { return m_mounted; }
    QString path() const { return m_point; }

private:
    QString m_point;
    QString m_device;
    bool m_mounted = false;
};

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

class TestExfatMoves : public QObject
{
    Q_OBJECT

private slots:
    void neverReplacesOnceLearned_data();
    void neverReplacesOnceLearned();
    void freedSpellingIsFree();
    void callsAFile_data();
    void callsAFile();

    void cleanup();

private:
    // Skips the test when the machine cannot mount an exFAT image.
    bool canMount();
    // A fresh image mounted for the test function; false when the test is
    // skipped or has failed.
    bool mountImage();

    std::unique_ptr<TempFolder> m_scratch;
    std::unique_ptr<ExfatMount> m_mount;
};

bool TestExfatMoves::mountImage()
{
    if (!canMount())
        return false;
    m_scratch = std::make_unique<TempFolder>();
    m_mount = std::make_unique<ExfatMount>(*m_scratch);
    if (!m_mount->isMounted()) {
        QTest::qFail("the exFAT image could not be made and mounted", __FILE__, __LINE__);
        return false;
    }
    return true;
}

void TestExfatMoves::cleanup()
{
    m_mount.reset();
    m_scratch.reset();
}

bool TestExfatMoves::canMount()
{
    if (::geteuid() != 0) {
        QTest::qSkip("mounting an exFAT image needs root", __FILE__, __LINE__);
        return false;
    }
    for (const char *tool : {"mkfs.exfat", "mount.exfat-fuse", "losetup"}) {
        if (toolPath(tool).isEmpty()) {
            QTest::qSkip(qPrintable(QStringLiteral("%1 is not installed (Debian: exfatprogs, exfat-fuse, mount)")
                                        .arg(QLatin1String(tool))),
                         __FILE__, __LINE__);
            return false;
        }
    }
    if (!QFile::exists(QStringLiteral("/dev/fuse")) || !QFile::exists(QStringLiteral("/dev/loop-control"))) {
        QTest::qSkip("this machine has no /dev/fuse or no loop devices", __FILE__, __LINE__);
        return false;
    }
    return true;
}

void TestExfatMoves::neverReplacesOnceLearned_data()
{
    // How many plain moves go first: none (the refusals are met on a taken
    // name), one (met on a free name, then learned) or several.
    QTest::addColumn<int>("movesBefore");
    QTest::newRow("taken name first") << 0;
    QTest::newRow("after one move") << 1;
    QTest::newRow("after ten moves") << 10;
}

void TestExfatMoves::neverReplacesOnceLearned()
{
    QFETCH(int, movesBefore);
    if (!mountImage())
        return;
    const QString dir = m_mount->path();
    const auto write = [&](const QString &name, const QByteArray &content) {
        return writeFile(dir + u'/' + name, content);
    };
    constexpr int kFiles = 12;
    for (int i = 0; i < kFiles; ++i)
        QVERIFY(write(QStringLiteral("a%1.jpg").arg(i), "content " + QByteArray::number(i)));
    QVERIFY(write(QStringLiteral("taken.jpg"), "taken"));

    const FolderHandle folder(dir);
    QVERIFY(folder.isOpen());
    QString error;
    int next = 0;
    for (; next < movesBefore; ++next)
        QCOMPARE(folder.move(QStringLiteral("a%1.jpg").arg(next), QStringLiteral("b%1.jpg").arg(next),
                             MoveMode::NoReplace, &error),
                 MoveOutcome::Done);
    // A name that is taken, also in other letters, is never replaced.
    QCOMPARE(folder.move(QStringLiteral("a%1.jpg").arg(next), QStringLiteral("taken.jpg"), MoveMode::NoReplace, &error),
             MoveOutcome::TargetExists);
    QCOMPARE(folder.move(QStringLiteral("a%1.jpg").arg(next), QStringLiteral("TAKEN.JPG"), MoveMode::NoReplace, &error),
             MoveOutcome::TargetExists);
    // A file that appears under a name while the run goes is not replaced
    // either.
    QVERIFY(write(QStringLiteral("late.jpg"), "late"));
    QCOMPARE(folder.move(QStringLiteral("a%1.jpg").arg(next), QStringLiteral("late.jpg"), MoveMode::NoReplace, &error),
             MoveOutcome::TargetExists);
    for (; next < kFiles; ++next)
        QCOMPARE(folder.move(QStringLiteral("a%1.jpg").arg(next), QStringLiteral("b%1.jpg").arg(next),
                             MoveMode::NoReplace, &error),
                 MoveOutcome::Done);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    QCOMPARE(contentOf(dir + QStringLiteral("/taken.jpg")), QByteArray("taken"));
    QCOMPARE(contentOf(dir + QStringLiteral("/late.jpg")), QByteArray("late"));
    for (int i = 0; i < kFiles; ++i) {
        QCOMPARE(contentOf(dir + QStringLiteral("/b%1.jpg").arg(i)), "content " + QByteArray::number(i));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/a%1.jpg").arg(i)));
    }
}

// Through FUSE the kernel trusts for a second a name it has looked up. On a
// drive that ignores case, "b.jpg" looked up while "B.JPG" was there is
// still known as taken after "B.JPG" was renamed away, though the name is
// free: the learned way must look the new name up afresh, or undo of a
// renumbering in other letters finds each file's way home blocked.
void TestExfatMoves::freedSpellingIsFree()
{
    if (!mountImage())
        return;
    const QString dir = m_mount->path();
    for (const char *name : {"a0.jpg", "a1.jpg", "B.JPG"})
        QVERIFY(writeFile(dir + u'/' + QLatin1String(name), name));
    const FolderHandle folder(dir);
    QVERIFY(folder.isOpen());
    QString error;
    // The refusals are met and learned on the first move.
    QCOMPARE(folder.move(u"a0.jpg", u"x0.jpg", MoveMode::NoReplace, &error), MoveOutcome::Done);
    QCOMPARE(folder.kindOf(u"b.jpg"), FolderHandle::Kind::File);
    QCOMPARE(folder.move(u"B.JPG", u"c.jpg", MoveMode::NoReplace, &error), MoveOutcome::Done);
    QCOMPARE(folder.move(u"a1.jpg", u"b.jpg", MoveMode::NoReplace, &error), MoveOutcome::Done);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(contentOf(dir + QStringLiteral("/b.jpg")), QByteArray("a1.jpg"));
    QCOMPARE(contentOf(dir + QStringLiteral("/c.jpg")), QByteArray("B.JPG"));
}

void TestExfatMoves::callsAFile_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("names");     // after the folder
    QTest::addColumn<QString>("renamed");       // the new names' pattern
    QTest::addColumn<int>("count");             // how many files get such names
    QTest::addColumn<int>("moved");
    QTest::newRow("every file") << QStringList{QStringLiteral("--text"), QStringLiteral("P"), QStringLiteral("--all")}
                                << QStringList() << QStringLiteral("P*.jpg") << 200 << 200;
    // Numbers moved up by two, in the width the list gives them: every new
    // name but the last two is taken, and the file takes the free name
    // beside it.
    QTest::newRow("renumbering onto taken names")
        << QStringList{QStringLiteral("--text"), QStringLiteral("f"), QStringLiteral("--start"), QStringLiteral("2"),
                       QStringLiteral("--all")}
        << QStringList() << QStringLiteral("f*_.jpg") << 198 << 200;
    // Only the files the run moves are asked for their inode numbers.
    QTest::newRow("two files of many") << QStringList{QStringLiteral("--text"), QStringLiteral("Q")}
                                       << QStringList{QStringLiteral("f0010.jpg"), QStringLiteral("f0020.jpg")}
                                       << QStringLiteral("Q*.jpg") << 2 << 2;
}

// On a share every call is a round trip: once the folder's file system has
// refused a no-replace rename and a hard link, a file costs the rename's
// check, the rename and its inode number for undo, not those refusals again;
// the folder's other entries cost nothing. Counted with strace on a whole
// run of quillmere-rename.
void TestExfatMoves::callsAFile()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, names);
    QFETCH(QString, renamed);
    QFETCH(int, count);
    QFETCH(int, moved);
    const QString strace = toolPath("strace");
    if (strace.isEmpty())
        QSKIP("strace is not installed");
    if (!mountImage())
        return;
    const ExfatMount &mount = *m_mount;
    constexpr int kFiles = 200;
    for (int i = 0; i < kFiles; ++i)
        QVERIFY(writeFile(mount.path() + QStringLiteral("/f%1.jpg").arg(i, 4, 10, QLatin1Char('0')), {}));
    const QString counts = m_scratch->filePath(QStringLiteral("counts.txt"));
    // LeakSanitizer cannot work under ptrace: in a sanitizer build the
    // traced run would fail at its exit.
    QVERIFY(runQuietly(strace, QStringList{QStringLiteral("-E"), QStringLiteral("ASAN_OPTIONS=detect_leaks=0"),
                                           QStringLiteral("-f"), QStringLiteral("-c"), QStringLiteral("-o"), counts,
                                           QStringLiteral("-e"),
                                           QStringLiteral("trace=renameat,renameat2,linkat,unlinkat,newfstatat,statx"),
                                           QStringLiteral(QUILLMERE_RENAME_EXE)}
                                   + options + QStringList{mount.path()} + names));
    QCOMPARE(QDir(mount.path()).entryList(QDir::Files).size(), kFiles);
    QCOMPARE(QDir(mount.path()).entryList({renamed}, QDir::Files).size(), count);

    // "% time seconds usecs/call calls [errors] syscall" per line.
    QFile table(counts);
    QVERIFY(table.open(QIODevice::ReadOnly));
    const QString text = QString::fromLocal8Bit(table.readAll());
    static const QRegularExpression row(QStringLiteral("^\\s*[\\d.]+\\s+[\\d.]+\\s+\\d+\\s+(\\d+)\\s+(?:\\d+\\s+)?(\\w+)$"),
                                        QRegularExpression::MultilineOption);
    qsizetype calls = 0;
    QHash<QString, qsizetype> callsOf;
    for (auto it = row.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        callsOf.insert(match.captured(2), match.captured(1).toLongLong());
        if (match.captured(2) != QLatin1String("total"))
            calls += match.captured(1).toLongLong();
    }
    QVERIFY2(calls >= moved, qPrintable(text));
    QVERIFY2(callsOf.value(QStringLiteral("linkat")) <= 1, qPrintable(text));
    // One rename a file, and the journal's own.
    QVERIFY2(callsOf.value(QStringLiteral("renameat")) <= moved + 1, qPrintable(text));
    // Three a file, and a few for the run itself (the journal, the lock).
    QVERIFY2(calls <= 3 * moved + 60, qPrintable(text));
}

QTEST_GUILESS_MAIN(TestExfatMoves)
#include "tst_exfatmoves.moc"
