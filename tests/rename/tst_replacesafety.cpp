// An overwrite run with a fault put into one of its steps: the trash's
// folders, its .trashinfo, the move into it, the journal's writes and syncs,
// the move itself, or another process taking the new name in between.
// Whatever fails, every content that was in the folder is afterwards in the
// folder or in the trash, and the report says which.

#include "rename/RenameRun.h"
#include "rename/RunJournal.h"
#include "rename/RunSystemCalls.h"

#include "DetachedRunTarget.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <cerrno>
#include <fcntl.h>

namespace {

// Where a fault goes.
enum class Point { None, TrashFolder, TrashOpen, InfoOpen, InfoWrite, TrashMove, JournalWrite, JournalSync, Move };

// The run's system calls with one fault: the at-th call of a point fails
// (and with persistent, every later one too). Nothing is made or opened
// outside the test's own folder, whichever trash the run falls back to.
class FaultyCalls : public RunSystemCalls
{
public:
    Point point = Point::None;
    int at = 1;
    bool persistent = false;
    int error = EIO;
    QString root;
    std::function<void()> afterTrashMove;

    // Whether this call of p fails.
    bool fails(Point p)
    {
        if (p == Point::None || p != point)
            return false;
        const int n = ++m_seen;
        if (persistent ? n < at : n != at)
            return false;
        errno = error;
        return true;
    }

    int makeFolder(const char *path, mode_t mode) override
    {
        if (outside(AT_FDCWD, path) || fails(Point::TrashFolder))
            return -1;
        return RunSystemCalls::makeFolder(path, mode);
    }
    int openAt(int folder, const char *path, int flags, mode_t mode) override
    {
        const QByteArray name(path);
        const Point p = name.endsWith(".trashinfo")                          ? Point::InfoOpen
            : (flags & O_DIRECTORY) && name.contains("Trash")                ? Point::TrashOpen
                                                                              : Point::None;
        if (outside(folder, path) || fails(p))
            return -1;
        const int fd = RunSystemCalls::openAt(folder, path, flags, mode);
        if (fd >= 0 && name.contains(".journal"))
            m_journalFd = fd;
        return fd;
    }
    ssize_t write(int fd, const void *data, size_t size) override
    {
        if (fails(fd == m_journalFd ? Point::JournalWrite : Point::InfoWrite))
            return -1;
        return RunSystemCalls::write(fd, data, size);
    }
    int sync(int fd, bool dataOnly) override
    {
        if (fd == m_journalFd && fails(Point::JournalSync))
            return -1;
        return RunSystemCalls::sync(fd, dataOnly);
    }
    int renameAt(int fromFolder, const char *from, int toFolder, const char *to, bool noReplace) override
    {
        if (noReplace && fails(Point::TrashMove))
            return -1;
        const int result = RunSystemCalls::renameAt(fromFolder, from, toFolder, to, noReplace);
        if (result == 0 && noReplace && afterTrashMove)
            afterTrashMove();
        return result;
    }

private:
    bool outside(int folder, const char *path)
    {
        if (folder != AT_FDCWD || QFile::decodeName(path).startsWith(root + u'/'))
            return false;
        errno = EACCES;
        return true;
    }

    int m_seen = 0;
    int m_journalFd = -1;
};

// The system's moves, with the fault of the calls when it is a move's, and
// something done just before the move to a chosen name.
class FaultyOperations : public RenameFileOperations
{
public:
    explicit FaultyOperations(FaultyCalls &calls)
        : m_calls(calls)
    {
    }

    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        if (toName == beforeMoveTo && beforeMove)
            beforeMove();
        if (m_calls.fails(Point::Move)) {
            *error = qt_error_string(errno);
            return Outcome::Failed;
        }
        return SystemFileOperations().renameFile(folder, fromName, toName, mode, error);
    }
    RunSystemCalls &systemCalls() override { return m_calls; }

    QString beforeMoveTo;
    std::function<void()> beforeMove;

private:
    FaultyCalls &m_calls;
};

QByteArray checksum(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray("unreadable");
}

// Name -> checksum of every file directly in folder.
QMap<QString, QByteArray> filesOf(const QString &folder)
{
    QMap<QString, QByteArray> result;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        result.insert(name, checksum(folder + u'/' + name));
    return result;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The name a trash entry came from, as its .trashinfo records it.
QString originalName(const QString &trash, const QString &entry)
{
    QFile info(trash + QStringLiteral("/info/") + entry + QStringLiteral(".trashinfo"));
    if (!info.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : info.readAll().split('\n')) {
        if (line.startsWith("Path="))
            return QFile::decodeName(QByteArray::fromPercentEncoding(line.mid(5))).section(u'/', -1);
    }
    return {};
}

RenameRequest overwriting()
{
    RenameRequest request;
    request.type = NameOnly;
    request.newText = QStringLiteral("Photo");
    request.numberText = QStringLiteral("1");
    request.entryCount = 10;
    return request;
}

} // namespace

class TestReplaceSafety : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void faultInOverwriteRun_data();
    void faultInOverwriteRun();
    void nameTakenAgain_data();
    void nameTakenAgain();

private:
    QString m_root;
    QString m_work;
    QString m_trash;
    std::unique_ptr<QTemporaryDir> m_base;
};

// Each test function has its own folder, trash and journals, all on the
// file system of the temporary folder, so that the user's own trash is the
// one the run takes.
void TestReplaceSafety::init()
{
    m_base = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quillmere-replace-XXXXXX"));
    QVERIFY(m_base->isValid());
    m_root = QFileInfo(m_base->path()).canonicalFilePath();
    m_work = m_root + QStringLiteral("/work");
    m_trash = m_root + QStringLiteral("/data/Trash");
    QVERIFY(QDir().mkpath(m_work));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_root + QStringLiteral("/data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_root + QStringLiteral("/state")));
}

void TestReplaceSafety::faultInOverwriteRun_data()
{
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("at");
    QTest::addColumn<bool>("persistent");
    QTest::addColumn<int>("error");

    struct Fault
    {
        const char *name;
        Point point;
        int error;
    };
    const Fault faults[] = {
        {"mkdir of the trash EACCES", Point::TrashFolder, EACCES},
        {"open of the trash EMFILE", Point::TrashOpen, EMFILE},
        {"open of the .trashinfo EMFILE", Point::InfoOpen, EMFILE},
        {"write of the .trashinfo ENOSPC", Point::InfoWrite, ENOSPC},
        {"move into the trash EIO", Point::TrashMove, EIO},
        {"move into the trash EPERM", Point::TrashMove, EPERM},
        {"journal write ENOSPC", Point::JournalWrite, ENOSPC},
        {"journal sync EIO", Point::JournalSync, EIO},
        {"the move itself EIO", Point::Move, EIO},
    };
    QTest::newRow("no fault") << int(Point::None) << 1 << false << 0;
    for (const Fault &fault : faults) {
        for (const int at : {1, 2, 3, 5}) {
            for (const bool persistent : {false, true})
                QTest::addRow("%s, call %d%s", fault.name, at, persistent ? " and after" : "")
                    << int(fault.point) << at << persistent << fault.error;
        }
    }
}

// a1..a6 become Photo1..Photo6, replacing Photo1..Photo4.
void TestReplaceSafety::faultInOverwriteRun()
{
    QFETCH(int, point);
    QFETCH(int, at);
    QFETCH(bool, persistent);
    QFETCH(int, error);

    QList<RenameEntry> entries;
    for (int i = 1; i <= 6; ++i) {
        QVERIFY(writeFile(m_work + QStringLiteral("/a%1.jpg").arg(i), "new " + QByteArray::number(i)));
        entries.append({QStringLiteral("a%1.jpg").arg(i), true});
    }
    for (int i = 1; i <= 4; ++i)
        QVERIFY(writeFile(m_work + QStringLiteral("/Photo%1.jpg").arg(i), "old " + QByteArray::number(i)));
    const QMap<QString, QByteArray> before = filesOf(m_work);
    FaultyCalls calls;
    calls.point = Point(point);
    calls.at = at;
    calls.persistent = persistent;
    calls.error = error;
    calls.root = m_root;
    FaultyOperations operations(calls);
    DetachedRunTarget target;

    const RenameReport report = RunRename(FolderHandle(m_work), entries, overwriting(), target,
                                          {.fileOperations = &operations});

    const QMap<QString, QByteArray> after = filesOf(m_work);
    const QMap<QString, QByteArray> trashed = filesOf(m_trash + QStringLiteral("/files"));
    // Every content is in the folder or in the trash.
    QList<QByteArray> found = after.values() + trashed.values();
    for (const QByteArray &sum : before)
        QVERIFY2(found.removeOne(sum), "a content of the folder is gone");
    QVERIFY(found.isEmpty());
    for (const QString &name : after.keys())
        QVERIFY2(!name.startsWith(u'.'), qPrintable(name));

    if (report.refusal != RenameReport::Refusal::None) {
        // Only a journal that cannot hold the plan stops a run.
        QCOMPARE(report.refusal, RenameReport::Refusal::NoJournal);
        QVERIFY(Point(point) == Point::JournalWrite || Point(point) == Point::JournalSync);
        QCOMPARE(after, before);
        return;
    }
    // Every file is accounted for, and the report says where each trashed
    // content came from.
    QCOMPARE(report.renamedCount() + report.leftInPlace.size() + report.unchanged.size(), entries.size());
    const std::optional<RunJournal> journal = ReadRunJournal(report.journalPath);
    QVERIFY(journal);
    for (const QString &entry : trashed.keys()) {
        const QString name = originalName(m_trash, entry);
        const QString path = m_trash + QStringLiteral("/files/") + entry;
        const bool replaced = std::any_of(report.renamed.cbegin(), report.renamed.cend(), [&](const RenamedFile &f) {
            return f.newName == name && f.way == RenamedFile::Way::ReplacedExisting;
        });
        const bool toldLeft = std::any_of(report.leftInPlace.cbegin(), report.leftInPlace.cend(),
                                          [&](const LeftInPlaceFile &f) {
                                              return f.trashedPath == path && f.message.contains(path);
                                          });
        QVERIFY2(replaced != toldLeft, qPrintable(entry));
        // And the journal has it, so that undo can bring it back.
        QVERIFY2(std::any_of(journal->replaced.cbegin(), journal->replaced.cend(),
                             [&](const RunJournal::Replaced &r) { return r.trashName == entry && !r.lost; }),
                 qPrintable(entry));
    }
    for (const RenamedFile &file : report.renamed)
        QCOMPARE(after.value(file.newName), before.value(file.oldName));
    for (const LeftInPlaceFile &file : report.leftInPlace) {
        QCOMPARE(after.value(file.currentName), before.value(file.name));
        if (file.reason == LeftInPlaceReason::ReplacedNotKept)
            QCOMPARE(after.value(file.newName), before.value(file.newName));
    }
    for (const RunJournal::Replaced &replaced : journal->replaced)
        QVERIFY(!replaced.lost);

    const bool journalFault = Point(point) == Point::JournalWrite || Point(point) == Point::JournalSync;
    if (Point(point) == Point::None)
        QCOMPARE(report.renamedCount(), 6);
    if (journalFault) {
        QVERIFY2(report.journalProblem.contains(QStringLiteral("could not be written to its end")),
                 qPrintable(report.journalProblem));
        // Nothing is replaced after the journal failed: only what it
        // recorded before is in the trash.
        QVERIFY(trashed.size() <= at - 2);
    } else {
        QVERIFY2(report.journalProblem.isEmpty(), qPrintable(report.journalProblem));
    }
}

void TestReplaceSafety::nameTakenAgain_data()
{
    QTest::addColumn<bool>("wasTaken"); // Photo1.jpg is there when the run starts

    QTest::addRow("after the old file went to the trash") << true;
    QTest::addRow("a name that was free") << false;
}

// Another process makes a file under the new name just before the move: it
// is never replaced, and the file that was to take its name stays.
void TestReplaceSafety::nameTakenAgain()
{
    QFETCH(bool, wasTaken);

    QVERIFY(writeFile(m_work + QStringLiteral("/a1.jpg"), "new"));
    if (wasTaken)
        QVERIFY(writeFile(m_work + QStringLiteral("/Photo1.jpg"), "old"));
    const QString raced = m_work + QStringLiteral("/Photo1.jpg");
    FaultyCalls calls;
    calls.root = m_root;
    FaultyOperations operations(calls);
    const auto race = [&] { QVERIFY(writeFile(raced, "raced")); };
    if (wasTaken) {
        calls.afterTrashMove = race;
    } else {
        operations.beforeMoveTo = QStringLiteral("Photo1.jpg");
        operations.beforeMove = race;
    }
    DetachedRunTarget target;

    const RenameReport report =
        RunRename(FolderHandle(m_work), {{QStringLiteral("a1.jpg"), true}}, overwriting(), target,
                  {.fileOperations = &operations});

    const QMap<QString, QByteArray> after = filesOf(m_work);
    QCOMPARE(after.value(QStringLiteral("Photo1.jpg")), QCryptographicHash::hash("raced", QCryptographicHash::Sha256));
    QCOMPARE(after.value(QStringLiteral("a1.jpg")), QCryptographicHash::hash("new", QCryptographicHash::Sha256));
    QCOMPARE(report.renamedCount(), 0);
    QCOMPARE(report.leftInPlace.size(), 1);
    const LeftInPlaceFile &left = report.leftInPlace.first();
    QCOMPARE(left.reason, LeftInPlaceReason::TakenDuringRun);
    QCOMPARE(left.currentName, QStringLiteral("a1.jpg"));
    const QStringList inTrash = QDir(m_trash + QStringLiteral("/files")).entryList(QDir::Files);
    if (wasTaken) {
        QCOMPARE(inTrash, QStringList{QStringLiteral("Photo1.jpg")});
        QCOMPARE(left.trashedPath, m_trash + QStringLiteral("/files/Photo1.jpg"));
        QVERIFY(left.message.contains(left.trashedPath));
    } else {
        QVERIFY(inTrash.isEmpty());
        QVERIFY(left.trashedPath.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestReplaceSafety)
#include "tst_replacesafety.moc"
