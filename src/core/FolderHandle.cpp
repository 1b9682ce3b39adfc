#include "core/FolderHandle.h"

#include "core/FolderLockHolders.h"
#include "core/FolderReader.h"
#include "core/PlainAscii.h"
#include "core/StateFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#if defined(Q_OS_LINUX)
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

namespace {

MoveOutcome failed(QString *error, int code = errno)
{
    *error = qt_error_string(code);
    return MoveOutcome::Failed;
}

} // namespace

FolderHandle::FolderHandle(const QString &path)
    : m_path(path)
{
    const QByteArray encoded = encodeName(path);
    if (encoded.isEmpty() || encoded.contains('\0')) {
        m_openError = ENOENT;
        return;
    }
    // Readable, for listing and for the lock; O_PATH would give neither.
    m_fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        m_openError = errno;
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

FolderHandle::FolderHandle(FolderHandle &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_lockFd(std::exchange(other.m_lockFd, -1))
    , m_openError(other.m_openError)
    , m_path(std::move(other.m_path))
    , m_noReplaceRefused(other.m_noReplaceRefused.load())
    , m_linkRefused(other.m_linkRefused.load())
{
}

FolderHandle &FolderHandle::operator=(FolderHandle &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_lockFd >= 0)
            ::close(m_lockFd);
        m_fd = std::exchange(other.m_fd, -1);
        m_lockFd = std::exchange(other.m_lockFd, -1);
        m_openError = other.m_openError;
        m_path = std::move(other.m_path);
        m_noReplaceRefused = other.m_noReplaceRefused.load();
        m_linkRefused = other.m_linkRefused.load();
    }
    return *this;
}

QString FolderHandle::openErrorText() const
{
    return qt_error_string(m_openError);
}

// The lock is in two parts. A run takes a lock file of the user's own,
// named after the folder: only the user's processes can open it, so no one
// else can keep the user's runs out. And it takes flock() on the folder
// itself, which every user's runs meet; but anyone who may read the folder
// can take that one, so where it is held, it counts only when a holder may
// write in the folder. flock() belongs to an open file, not to a path: every
// path that leads to the folder meets the same locks, in this process or
// another, and the system lets them go when a process ends, however it ends.
FolderHandle::LockResult FolderHandle::tryLock() const
{
    if (m_fd < 0)
        return LockResult::Unsupported;
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        return LockResult::Unsupported;
    if (m_lockFd < 0) {
        const QString folder = QuillmereStateFolder() + QStringLiteral("/locks");
        QDir().mkpath(folder);
        const QByteArray path = encodeName(folder) + '/' + QByteArray::number(quint64(st.st_dev)) + '-'
            + QByteArray::number(quint64(st.st_ino));
        m_lockFd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    }
    if (m_lockFd >= 0 && !lockNow(m_lockFd)) {
        if (errno == EWOULDBLOCK)
            return LockResult::Busy;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (lockNow(m_fd))
            return LockResult::Locked;
        if (errno != EWOULDBLOCK)
            return m_lockFd >= 0 ? LockResult::Locked : LockResult::Unsupported;
        if (!FolderLockHeldByWriter(st.st_dev, st.st_ino, st.st_mode, st.st_uid, st.st_gid))
            return m_lockFd >= 0 ? LockResult::Locked : LockResult::Unsupported;
    }
    unlock();
    return LockResult::Busy;
}

bool FolderHandle::lockNow(int fd)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

void FolderHandle::unlock() const
{
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_UN);
    if (m_lockFd >= 0) {
        ::close(m_lockFd); // the lock file stays: removing it could let two runs lock two files
        m_lockFd = -1;
    }
}

const char *FolderHandle::plainOrEncoded(QStringView name, char (&plain)[kPlainRoom], QByteArray &buffer)
{
    if (name.size() < kPlainRoom && CopyPlainAscii(name, plain)) {
        plain[name.size()] = 0;
        return plain;
    }
    return encodeName(name, buffer);
}

FolderHandle::Kind FolderHandle::kindOf(QStringView name) const
{
    thread_local QByteArray buffer;
    struct stat st;
    if (m_fd < 0 || ::fstatat(m_fd, encodeName(name, buffer), &st, 0) != 0)
        return Kind::Missing;
    return S_ISREG(st.st_mode) ? Kind::File : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
}

bool FolderHandle::isLink(QStringView name) const
{
    thread_local QByteArray buffer;
    struct stat st;
    return m_fd >= 0 && ::fstatat(m_fd, encodeName(name, buffer), &st, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISLNK(st.st_mode);
}

bool FolderHandle::linkPointsAt(QStringView name, QStringView target) const
{
    thread_local QByteArray nameBuffer;
    thread_local QByteArray targetBuffer;
    return m_fd >= 0 && linkPointsAtEncoded(encodeName(name, nameBuffer), encodeName(target, targetBuffer));
}

bool FolderHandle::linkPointsAtEncoded(const char *name, const char *target) const
{
    char text[4096];
    const ssize_t length = ::readlinkat(m_fd, name, text, sizeof text - 1);
    if (length <= 0)
        return false;
    text[length] = 0;
    char *slash = std::strrchr(text, '/');
    const char *last = slash ? slash + 1 : text;
    if (std::strcmp(last, target) != 0)
        return false;
    if (!slash)
        return true;
    // The link leads through folders: it points here when they lead back
    // to this folder.
    if (slash == text)
        slash[1] = 0; // "/name": the root
    else
        *slash = 0;
    const int dir = ::openat(m_fd, text, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    struct stat there;
    struct stat here;
    const bool same = ::fstat(dir, &there) == 0 && ::fstat(m_fd, &here) == 0 && there.st_dev == here.st_dev
        && there.st_ino == here.st_ino;
    ::close(dir);
    return same;
}

bool FolderHandle::isWritable(QString *whyNot) const
{
    if (m_fd < 0) {
        if (whyNot)
            *whyNot = openErrorText();
        return false;
    }
    if (::faccessat(m_fd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
        if (whyNot)
            *whyNot = qt_error_string(errno);
        return false;
    }
#if defined(Q_OS_LINUX)
    // Permissions allow it, but the file system may still refuse: in an
    // immutable or append-only folder no entry can be renamed.
    int flags = 0;
    if (::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0) {
        if (whyNot)
            *whyNot = (flags & FS_IMMUTABLE_FL) != 0
                ? QCoreApplication::translate("FolderHandle", "the folder is marked immutable")
                : QCoreApplication::translate("FolderHandle", "the folder is marked append-only");
        return false;
    }
#endif
    return true;
}

int FolderHandle::maxNameLength() const
{
    const long max = m_fd >= 0 ? ::fpathconf(m_fd, _PC_NAME_MAX) : -1;
    return max > 0 && max < 65536 ? int(max) : 255;
}

MoveOutcome FolderHandle::move(QStringView fromName, QStringView toName, MoveMode mode, QString *error) const
{
    if (m_fd < 0)
        return failed(error, m_openError != 0 ? m_openError : EBADF);
    thread_local QByteArray fromBuffer;
    thread_local QByteArray toBuffer;
    // Plain ASCII names, as most are, go to the system from the stack.
    char fromPlain[kPlainRoom];
    char toPlain[kPlainRoom];
    const char *from = plainOrEncoded(fromName, fromPlain, fromBuffer);
    const char *to = plainOrEncoded(toName, toPlain, toBuffer);
    if (mode == MoveMode::NoReplace)
        return moveNoReplace(from, to, error);

    struct stat source;
    if (::fstatat(m_fd, from, &source, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(error);
    if (S_ISLNK(source.st_mode)) {
        // A link put in the place of the very file it points to would leave
        // a link to itself, and that file's content would be gone.
        struct stat target;
        struct stat resolved;
        if ((::fstatat(m_fd, to, &target, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(target.st_mode)
             && ::fstatat(m_fd, from, &resolved, 0) == 0 && resolved.st_dev == target.st_dev
             && resolved.st_ino == target.st_ino)
            || linkPointsAtEncoded(from, to)) {
            *error = QCoreApplication::translate("FolderHandle",
                                                 "the file is a link to the file that has the new name");
            return MoveOutcome::Failed;
        }
    }
    if (::renameat(m_fd, from, m_fd, to) != 0)
        return failed(error);
    // Only a name with further links can still be there after a rename.
    if (source.st_nlink < 2)
        return MoveOutcome::Done;
    return dropOldLink(from, to, error);
}

MoveOutcome FolderHandle::moveNoReplace(const char *from, const char *to, QString *error) const
{
    // Each way is tried until the file system refuses it; the handle then
    // remembers, and the folder's later moves go straight to a way it
    // offers. A refusal is remembered only once a later way has moved the
    // same names: an EINVAL that came of the name, not of the way, would
    // have failed there too.
    bool renameRefused = false;
#if defined(Q_OS_LINUX)
    if (m_noReplaceRefused.load(std::memory_order_relaxed) && m_linkRefused.load(std::memory_order_relaxed))
        return moveAfterRefusal(from, to, error);
    if (!m_noReplaceRefused.load(std::memory_order_relaxed)) {
        if (::renameat2(m_fd, from, m_fd, to, RENAME_NOREPLACE) == 0)
            return MoveOutcome::Done;
        if (errno == EEXIST)
            return MoveOutcome::TargetExists;
        if (!isWayRefused(errno))
            return failed(error);
        renameRefused = true;
    }
#endif
    const auto learn = [&](MoveOutcome outcome, bool linkRefused) {
        if (outcome == MoveOutcome::Done) {
            if (renameRefused)
                m_noReplaceRefused.store(true, std::memory_order_relaxed);
            if (linkRefused)
                m_linkRefused.store(true, std::memory_order_relaxed);
        }
        return outcome;
    };
    if (!m_linkRefused.load(std::memory_order_relaxed)) {
        // A second name for the file, then the first one dropped: a link
        // never replaces anything.
        if (::linkat(m_fd, from, m_fd, to, 0) == 0) {
            if (::unlinkat(m_fd, from, 0) == 0)
                return learn(MoveOutcome::Done, false);
            const int unlinkError = errno;
            ::unlinkat(m_fd, to, 0);
            return failed(error, unlinkError);
        }
        if (errno == EEXIST)
            return MoveOutcome::TargetExists;
        if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK)
            return failed(error);
        // EMLINK is this file's count of links, not the file system's way.
        const bool linkRefused = errno != EMLINK;
        return learn(moveAfterCheck(from, to, error), linkRefused);
    }
    return learn(moveAfterCheck(from, to, error), false);
}

bool FolderHandle::isWayRefused(int code)
{
    return code == EINVAL || code == ENOSYS || code == ENOTSUP || code == EOPNOTSUPP;
}

#if defined(Q_OS_LINUX)
// Where the folder's file system has refused both the no-replace rename and
// the hard link, the no-replace rename is still asked, for its check alone:
// the system looks the new name up afresh, as it does for every rename's
// target, refuses with EEXIST where it is taken, and only then hands the
// request to the file system, which refuses the way. A plain stat is no such
// check through FUSE: the kernel trusts a name it looked up less than a
// second ago, and on a drive that ignores case, "a.jpg" looked up while
// "A.JPG" was there still reads as taken after "A.JPG" was renamed away.
// The check and the rename are two steps, as in moveAfterCheck().
MoveOutcome FolderHandle::moveAfterRefusal(const char *from, const char *to, QString *error) const
{
    if (::renameat2(m_fd, from, m_fd, to, RENAME_NOREPLACE) == 0)
        return MoveOutcome::Done;
    if (errno == EEXIST)
        return MoveOutcome::TargetExists;
    // No such system call here (an old kernel, a filter): nothing was
    // looked up.
    if (errno == ENOSYS)
        return moveAfterCheck(from, to, error);
    if (!isWayRefused(errno))
        return failed(error);
    if (::renameat(m_fd, from, m_fd, to) == 0)
        return MoveOutcome::Done;
    return failed(error);
}
#endif

// Last resort where the file system offers neither a no-replace rename nor
// hard links (some FAT and network file systems): the check and the move
// are two steps there. The folder's lock keeps other runs out between them.
MoveOutcome FolderHandle::moveAfterCheck(const char *from, const char *to, QString *error) const
{
    struct stat st;
    if (::fstatat(m_fd, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return MoveOutcome::TargetExists;
    if (::renameat(m_fd, from, m_fd, to) == 0)
        return MoveOutcome::Done;
    return failed(error);
}

// Whether the folder holds an entry named exactly like each of a and b,
// byte for byte.
bool FolderHandle::holdsBothNames(const char *a, const char *b) const
{
    FolderReader reader(*this);
    bool seenA = false;
    bool seenB = false;
    while (!(seenA && seenB) && reader.next()) {
        seenA = seenA || std::strcmp(reader.rawName(), a) == 0;
        seenB = seenB || std::strcmp(reader.rawName(), b) == 0;
    }
    return seenA && seenB;
}

// rename() does nothing, and succeeds, when both names are links to the same
// file, so the old name stays. The content is safe under the new name then,
// and the old name is dropped: but only when it is an entry of its own, not
// the new name spelt in other letters on a file system that ignores case.
MoveOutcome FolderHandle::dropOldLink(const char *from, const char *to, QString *error) const
{
    struct stat oldName;
    struct stat newName;
    if (::fstatat(m_fd, from, &oldName, AT_SYMLINK_NOFOLLOW) != 0
        || ::fstatat(m_fd, to, &newName, AT_SYMLINK_NOFOLLOW) != 0 || oldName.st_dev != newName.st_dev
        || oldName.st_ino != newName.st_ino || oldName.st_nlink < 2 || !holdsBothNames(from, to))
        return MoveOutcome::Done;
    if (::unlinkat(m_fd, from, 0) == 0)
        return MoveOutcome::Done;
    return failed(error);
}
