#include "rename/TrashCan.h"
#include "rename/RunText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// A folder of ours, made if missing: never a link, never someone else's.
bool ownFolder(const QString &path, bool make)
{
    const QByteArray bytes = encoded(path);
    if (make && ::mkdir(bytes.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    return ::lstat(bytes.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// The user's own trash folder.
QString homeTrashPath()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/Trash");
}

int openFolder(const QString &path)
{
    return ::open(encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

// The mount point holding path: the last folder up from it on its device.
QString topDirectoryOf(const QString &path, dev_t device)
{
    QString current = QFileInfo(path).canonicalFilePath();
    if (current.isEmpty())
        return {};
    while (current != QLatin1String("/")) {
        const QString parent = QFileInfo(current).path();
        struct stat st;
        if (::stat(encoded(parent).constData(), &st) != 0 || st.st_dev != device)
            break;
        current = parent;
    }
    return current;
}

MoveOutcome renameNoReplace(int fromDir, const char *from, int toDir, const char *to, QString *error)
{
#if defined(Q_OS_LINUX)
    if (::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE) == 0)
        return MoveOutcome::Done;
    if (errno == EEXIST)
        return MoveOutcome::TargetExists;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP) {
        *error = qt_error_string(errno);
        return MoveOutcome::Failed;
    }
#endif
    struct stat st;
    if (::fstatat(toDir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return MoveOutcome::TargetExists;
    if (::renameat(fromDir, from, toDir, to) == 0)
        return MoveOutcome::Done;
    *error = qt_error_string(errno);
    return MoveOutcome::Failed;
}

} // namespace

TrashCan::TrashCan(const FolderHandle &folder)
    : m_folder(folder)
{
}

TrashCan::~TrashCan()
{
    if (m_filesFd >= 0)
        ::close(m_filesFd);
    if (m_infoFd >= 0)
        ::close(m_infoFd);
}

bool TrashCan::isAvailable()
{
    if (!m_located) {
        m_located = true;
        if (!locate()) {
            m_path.clear();
            if (m_filesFd >= 0)
                ::close(m_filesFd);
            if (m_infoFd >= 0)
                ::close(m_infoFd);
            m_filesFd = m_infoFd = -1;
        }
    }
    return m_filesFd >= 0;
}

bool TrashCan::locate()
{
    struct stat folder;
    if (!m_folder.isOpen() || ::fstat(m_folder.descriptor(), &folder) != 0)
        return false;
    const auto useTrash = [&](const QString &path) {
        if (!ownFolder(path + QStringLiteral("/files"), true) || !ownFolder(path + QStringLiteral("/info"), true))
            return false;
        m_filesFd = openFolder(path + QStringLiteral("/files"));
        m_infoFd = openFolder(path + QStringLiteral("/info"));
        struct stat files;
        if (m_filesFd < 0 || m_infoFd < 0 || ::fstat(m_filesFd, &files) != 0 || files.st_dev != folder.st_dev) {
            if (m_filesFd >= 0)
                ::close(m_filesFd);
            if (m_infoFd >= 0)
                ::close(m_infoFd);
            m_filesFd = m_infoFd = -1;
            return false;
        }
        m_path = path;
        return true;
    };

    // The user's own trash, made where it is missing, when it is on the
    // folder's device.
    const QString homeTrash = homeTrashPath();
    struct stat home;
    if (QDir().mkpath(homeTrash) && ::stat(encoded(homeTrash).constData(), &home) == 0
        && home.st_dev == folder.st_dev && ownFolder(homeTrash, false) && useTrash(homeTrash))
        return true;

    m_topDir = topDirectoryOf(m_folder.path(), folder.st_dev);
    if (m_topDir.isEmpty())
        return false;
    const QString uid = QString::number(::getuid());
    const QString top = m_topDir == QLatin1String("/") ? QString() : m_topDir;
    // A shared .Trash made by the administrator: a real folder with the
    // sticky bit, never a link.
    struct stat shared;
    const QString sharedPath = top + QStringLiteral("/.Trash");
    if (::lstat(encoded(sharedPath).constData(), &shared) == 0 && S_ISDIR(shared.st_mode)
        && (shared.st_mode & S_ISVTX) && ownFolder(sharedPath + u'/' + uid, true) && useTrash(sharedPath + u'/' + uid))
        return true;
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    return ownFolder(own, true) && useTrash(own);
}

std::optional<QString> TrashCan::reserve(QStringView name)
{
    if (!isAvailable())
        return std::nullopt;
    QString original = QFileInfo(m_folder.path()).absoluteFilePath() + u'/' + name.toString();
    if (!m_topDir.isEmpty()) {
        const QString top = m_topDir.endsWith(u'/') ? m_topDir : m_topDir + u'/';
        if (original.startsWith(top))
            original = original.mid(top.size());
    }
    const QByteArray info = "[Trash Info]\nPath="
        + QUrl::toPercentEncoding(QFile::encodeName(original).constData(), "/")
        + "\nDeletionDate=" + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1()
        + '\n';
    for (int n = 1; n < 10000; ++n) {
        const QString trashName = n == 1 ? name.toString() : name.toString() + u'.' + QString::number(n);
        const QByteArray files = QFile::encodeName(trashName);
        struct stat st;
        if (files.size() + 10 > 255 || ::fstatat(m_filesFd, files.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            continue;
        const QByteArray infoName = files + ".trashinfo";
        const int fd = ::openat(m_infoFd, infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return std::nullopt;
        }
        const bool written = ::write(fd, info.constData(), size_t(info.size())) == ssize_t(info.size());
        ::close(fd);
        if (!written) {
            ::unlinkat(m_infoFd, infoName.constData(), 0);
            return std::nullopt;
        }
        return trashName;
    }
    return std::nullopt;
}

MoveOutcome TrashCan::moveIn(QStringView name, const QString &trashName, QString *error)
{
    if (!isAvailable()) {
        *error = RunText::tr("no trash");
        return MoveOutcome::Failed;
    }
    QByteArray buffer;
    const char *from = FolderHandle::encodeName(name, buffer);
    return renameNoReplace(m_folder.descriptor(), from, m_filesFd, QFile::encodeName(trashName).constData(), error);
}

void TrashCan::release(const QString &trashName)
{
    if (m_infoFd >= 0)
        ::unlinkat(m_infoFd, QFile::encodeName(trashName + QStringLiteral(".trashinfo")).constData(), 0);
}

std::optional<EntryIdentity> TrashCan::identify(const QString &trashPath, const QString &trashName)
{
    const int files = openFolder(trashPath + QStringLiteral("/files"));
    if (files < 0)
        return std::nullopt;
    std::optional<EntryIdentity> identity = IdentifyEntry(files, QFile::encodeName(trashName).constData());
    ::close(files);
    return identity;
}

QByteArray TrashCan::infoStamp(const QString &trashPath, const QString &trashName)
{
    QFile file(trashPath + QStringLiteral("/info/") + trashName + QStringLiteral(".trashinfo"));
    constexpr qint64 kLargestInfo = 64 * 1024;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestInfo)
        return {};
    const QByteArray info = file.readAll();
    QByteArray date;
    for (const QByteArray &line : info.split('\n')) {
        if (line.startsWith("DeletionDate="))
            date = line.mid(13).trimmed();
    }
    return QByteArray::number(info.size()) + ',' + date;
}

bool TrashCan::isTrashOf(const QString &trashPath, const FolderHandle &folder)
{
    struct stat here;
    if (!folder.isOpen() || ::fstat(folder.descriptor(), &here) != 0)
        return false;
    QStringList candidates = {homeTrashPath()};
    const QString topDir = topDirectoryOf(folder.path(), here.st_dev);
    if (!topDir.isEmpty()) {
        const QString top = topDir == QLatin1String("/") ? QString() : topDir;
        const QString uid = QString::number(::getuid());
        candidates << top + QStringLiteral("/.Trash/") + uid << top + QStringLiteral("/.Trash-") + uid;
    }
    if (!candidates.contains(trashPath))
        return false;
    struct stat files;
    const QString filesPath = trashPath + QStringLiteral("/files");
    return ownFolder(filesPath, false) && ::lstat(encoded(filesPath).constData(), &files) == 0
        && files.st_dev == here.st_dev;
}

MoveOutcome TrashCan::restore(const QString &trashPath, const QString &trashName, const EntryIdentity &entry,
                              const FolderHandle &folder, QStringView name, QString *error)
{
    const int files = openFolder(trashPath + QStringLiteral("/files"));
    if (files < 0) {
        *error = qt_error_string(errno);
        return MoveOutcome::Failed;
    }
    const QByteArray from = QFile::encodeName(trashName);
    const std::optional<EntryIdentity> there = IdentifyEntry(files, from.constData());
    if (!there || !there->matches(entry)) {
        ::close(files);
        *error = RunText::tr("the file is no longer in the trash");
        return MoveOutcome::Failed;
    }
    QByteArray buffer;
    const MoveOutcome outcome =
        renameNoReplace(files, from.constData(), folder.descriptor(), FolderHandle::encodeName(name, buffer), error);
    ::close(files);
    if (outcome == MoveOutcome::Done)
        QFile::remove(trashPath + QStringLiteral("/info/") + trashName + QStringLiteral(".trashinfo"));
    return outcome;
}
