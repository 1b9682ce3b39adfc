// The lock of a folder being renamed: two runs keep each other out, in one
// process and across processes, and someone who may only read the folder
// cannot keep runs out of it.

#include "core/FolderHandle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A child process that takes hold of the folder and keeps it until the
// object goes: hold() answers once the child holds it.
class Holder
{
public:
    ~Holder() { release(); }

    // Runs take() in a child (as the user of uid); true once it answered
    // that it holds the folder.
    bool hold(uid_t uid, const std::function<bool()> &take)
    {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(m_done) != 0)
            return false;
        m_child = ::fork();
        if (m_child < 0)
            return false;
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(m_done[1]);
            if (uid != ::geteuid() && (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0))
                ::_exit(100);
            const char answer = take() ? 'y' : 'n';
            if (::write(ready[1], &answer, 1) != 1)
                ::_exit(101);
            char end;
            while (::read(m_done[0], &end, 1) < 0 && errno == EINTR) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(m_done[0]);
        char answer = 'n';
        const bool read = ::read(ready[0], &answer, 1) == 1;
        ::close(ready[0]);
        return read && answer == 'y';
    }

    void release()
    {
        if (m_child <= 0)
            return;
        ::close(m_done[1]); // the child reads the end, and leaves
        int status = 0;
        ::waitpid(m_child, &status, 0);
        m_child = -1;
    }

private:
    pid_t m_child = -1;
    int m_done[2] = {-1, -1};
};

constexpr uid_t kNobody = 65534;

} // namespace

class FolderLockTest : public QObject
{
    Q_OBJECT

private slots:
    void runsKeepEachOtherOut();
    void onlyWritersKeepRunsOut_data();
    void onlyWritersKeepRunsOut();
};

void FolderLockTest::runsKeepEachOtherOut()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    {
        const FolderHandle first(dir.path());
        const FolderHandle second(dir.path());
        QCOMPARE(first.tryLock(), FolderHandle::LockResult::Locked);
        QCOMPARE(second.tryLock(), FolderHandle::LockResult::Busy);
        first.unlock();
        QCOMPARE(second.tryLock(), FolderHandle::LockResult::Locked);
    }

    // A run of another process, of the same user.
    Holder other;
    QVERIFY(other.hold(::geteuid(), [&] {
        static FolderHandle held(dir.path()); // kept until the child leaves
        return held.tryLock() == FolderHandle::LockResult::Locked;
    }));
    QCOMPARE(FolderHandle(dir.path()).tryLock(), FolderHandle::LockResult::Busy);
    other.release();
    QCOMPARE(FolderHandle(dir.path()).tryLock(), FolderHandle::LockResult::Locked);
}

void FolderLockTest::onlyWritersKeepRunsOut_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("kept");
    QTest::newRow("holder may only read") << 0755 << false;
    QTest::newRow("holder may write") << 0777 << true;
}

void FolderLockTest::onlyWritersKeepRunsOut()
{
    QFETCH(int, mode);
    QFETCH(bool, kept);
    if (::geteuid() != 0)
        QSKIP("needs the superuser, to hold the folder as another user");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("shared"));
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), mode_t(mode)), 0);

    // The other user locks the folder as a run did before: flock() on the
    // folder, which any reader can open.
    Holder other;
    if (!other.hold(kNobody, [&] {
            const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        }))
        QSKIP("the user nobody cannot open the temporary folder (is TMPDIR private?)");
    const FolderHandle handle(folder);
    QCOMPARE(handle.tryLock(),
             kept ? FolderHandle::LockResult::Busy : FolderHandle::LockResult::Locked);
    // What the run holds, it holds against the next run.
    if (!kept)
        QCOMPARE(FolderHandle(folder).tryLock(), FolderHandle::LockResult::Busy);
}

QTEST_GUILESS_MAIN(FolderLockTest)
#include "tst_folderlock.moc"
