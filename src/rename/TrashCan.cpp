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

// Paths and names in the folder's own encoding, so that a name that is not
// valid UTF-8 keeps its bytes in the Trash and in its .trashinfo.
QByteArray encoded(const QString &path)
{
    return FolderHandle::encodeName(path);
}

// A folder of ours, made if missing: never a link, never someone else's.
bool ownFolder(RunSystemCalls &calls, const QString &path, bool make, QString *whyNot)
{
    const QByteArray bytes = encoded(path);
    if (make && calls.makeFolder(bytes.constData(), 0700) != 0 && errno != EEXIST) {
        *whyNot = RunText::tr("cannot make the folder \"%1\": %2").arg(path, qt_error_string(errno));
        return false;
    }
    struct stat st;
    if (::lstat(bytes.constData(), &st) != 0) {
        *whyNot = RunText::tr("cannot read \"%1\": %2").arg(path, qt_error_string(errno));
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        *whyNot = RunText::tr("\"%1\" is not a folder of this user's own").arg(path);
        return false;
    }
    return true;
}

// The user's own trash folder.
QString homeTrashPath()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/Trash");
}

int openFolder(RunSystemCalls &calls, const QString &path)
{
    return calls.openAt(AT_FDCWD, encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

bool writeAll(RunSystemCalls &calls, int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = calls.write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// The name an entry gets in the trash: its own, with ".N" after it for the
// Nth try, and cut short before its extension where the whole would not fit
// in room bytes. The .trashinfo keeps the real name. Empty when nothing fits.
QString trashNameFor(QStringView name, int n, qsizetype room)
{
    const QString suffix = n == 1 ? QString() : u'.' + QString::number(n);
    QString stem = name.toString();
    QString extension;
    const qsizetype dot = stem.lastIndexOf(u'.');
    if (dot > 0 && stem.size() - dot <= 16) {
        extension = stem.mid(dot);
        stem.truncate(dot);
    }
    while (encoded(stem + extension + suffix).size() > room) {
        QString &cut = stem.isEmpty() ? extension : stem;
        if (cut.isEmpty())
            return {};
        cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
    }
    return stem + extension + suffix;
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

MoveOutcome renameNoReplace(RunSystemCalls &calls, int fromDir, const char *from, int toDir, const char *to,
                            QString *error)
{
    if (calls.renameAt(fromDir, from, toDir, to, true) == 0)
        return MoveOutcome::Done;
    if (errno == EEXIST)
        return MoveOutcome::TargetExists;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP) {
        *error = qt_error_string(errno);
        return MoveOutcome::Failed;
    }
    struct stat st;
    if (::fstatat(toDir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return MoveOutcome::TargetExists;
    if (calls.renameAt(fromDir, from, toDir, to, false) == 0)
        return MoveOutcome::Done;
    *error = qt_error_string(errno);
    return MoveOutcome::Failed;
}

} // namespace

TrashCan::TrashCan(const FolderHandle &folder, RunSystemCalls &calls)
    : m_folder(folder)
    , m_calls(calls)
{
}

TrashCan::~TrashCan()
{
    if (m_filesFd >= 0)
        ::close(m_filesFd);
    if (m_infoFd >= 0)
        ::close(m_infoFd);
}

bool TrashCan::isAvailable(QString *whyNot)
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
    if (m_filesFd < 0 && whyNot)
        *whyNot = m_problem;
    return m_filesFd >= 0;
}

// Takes the trash at path, holding files/ and info/, made where missing,
// when it is on the folder's device.
bool TrashCan::useTrash(const QString &path, dev_t device)
{
    const QString filesPath = path + QStringLiteral("/files");
    const QString infoPath = path + QStringLiteral("/info");
    if (!ownFolder(m_calls, filesPath, true, &m_problem) || !ownFolder(m_calls, infoPath, true, &m_problem))
        return false;
    m_filesFd = openFolder(m_calls, filesPath);
    if (m_filesFd >= 0)
        m_infoFd = openFolder(m_calls, infoPath);
    struct stat files;
    if (m_filesFd < 0 || m_infoFd < 0 || ::fstat(m_filesFd, &files) != 0 || files.st_dev != device) {
        m_problem = m_filesFd < 0 || m_infoFd < 0
            ? RunText::tr("cannot open the trash \"%1\": %2").arg(path, qt_error_string(errno))
            : RunText::tr("the trash \"%1\" is on another device").arg(path);
        if (m_filesFd >= 0)
            ::close(m_filesFd);
        if (m_infoFd >= 0)
            ::close(m_infoFd);
        m_filesFd = m_infoFd = -1;
        return false;
    }
    const long longest = ::fpathconf(m_filesFd, _PC_NAME_MAX);
    m_maxNameLength = longest > 0 && longest < 65536 ? int(longest) : 255;
    m_path = path;
    return true;
}

bool TrashCan::locate()
{
    struct stat folder;
    if (!m_folder.isOpen() || ::fstat(m_folder.descriptor(), &folder) != 0) {
        m_problem = RunText::tr("the folder cannot be read");
        return false;
    }

    // The user's own trash, made where it is missing, when it is on the
    // folder's device.
    const QString homeTrash = homeTrashPath();
    struct stat home;
    if (QDir().mkpath(homeTrash) && ::stat(encoded(homeTrash).constData(), &home) == 0
        && home.st_dev == folder.st_dev && ownFolder(m_calls, homeTrash, false, &m_problem)
        && useTrash(homeTrash, folder.st_dev))
        return true;

    m_topDir = topDirectoryOf(m_folder.path(), folder.st_dev);
    if (m_topDir.isEmpty()) {
        m_problem = RunText::tr("the top of the folder's file system cannot be found");
        return false;
    }
    const QString uid = QString::number(::getuid());
    const QString top = m_topDir == QLatin1String("/") ? QString() : m_topDir;
    // A shared .Trash made by the administrator: a real folder with the
    // sticky bit, never a link.
    struct stat shared;
    const QString sharedPath = top + QStringLiteral("/.Trash");
    if (::lstat(encoded(sharedPath).constData(), &shared) == 0 && S_ISDIR(shared.st_mode)
        && (shared.st_mode & S_ISVTX) && ownFolder(m_calls, sharedPath + u'/' + uid, true, &m_problem)
        && useTrash(sharedPath + u'/' + uid, folder.st_dev))
        return true;
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    return ownFolder(m_calls, own, true, &m_problem) && useTrash(own, folder.st_dev);
}

std::optional<QString> TrashCan::reserve(QStringView name, QString *error)
{
    if (!isAvailable(error))
        return std::nullopt;
    QString original = QFileInfo(m_folder.path()).absoluteFilePath() + u'/' + name.toString();
    if (!m_topDir.isEmpty()) {
        const QString top = m_topDir.endsWith(u'/') ? m_topDir : m_topDir + u'/';
        if (original.startsWith(top))
            original = original.mid(top.size());
    }
    const QByteArray info = "[Trash Info]\nPath="
        + QUrl::toPercentEncoding(encoded(original).constData(), "/")
        + "\nDeletionDate=" + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1()
        + '\n';
    static constexpr QByteArrayView kInfoSuffix(".trashinfo");
    for (int n = 1; n < 10000; ++n) {
        const QString trashName = trashNameFor(name, n, m_maxNameLength - kInfoSuffix.size());
        if (trashName.isEmpty())
            break;
        const QByteArray files = encoded(trashName);
        struct stat st;
        if (::fstatat(m_filesFd, files.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            continue;
        const QByteArray infoName = files + kInfoSuffix.toByteArray();
        const int fd =
            m_calls.openAt(m_infoFd, infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        const int openError = errno;
        const bool written = fd >= 0 && writeAll(m_calls, fd, info);
        const int writeError = errno;
        if (fd >= 0)
            ::close(fd);
        if (written)
            return trashName;
        if (fd >= 0)
            ::unlinkat(m_infoFd, infoName.constData(), 0);
        *error = RunText::tr("cannot write \"%1\": %2")
                     .arg(m_path + QStringLiteral("/info/") + FolderHandle::decodeName(infoName),
                          qt_error_string(fd < 0 ? openError : writeError));
        return std::nullopt;
    }
    *error = RunText::tr("no free name in the trash \"%1\"").arg(m_path);
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
    return renameNoReplace(m_calls, m_folder.descriptor(), from, m_filesFd, encoded(trashName).constData(), error);
}

void TrashCan::release(const QString &trashName)
{
    if (m_infoFd >= 0)
        ::unlinkat(m_infoFd, encoded(trashName + QStringLiteral(".trashinfo")).constData(), 0);
}

std::optional<EntryIdentity> TrashCan::identify(const QString &trashPath, const QString &trashName)
{
    const int files = openFolder(RunSystemCalls::system(), trashPath + QStringLiteral("/files"));
    if (files < 0)
        return std::nullopt;
    std::optional<EntryIdentity> identity = IdentifyEntry(files, encoded(trashName).constData());
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
    QString whyNot;
    return ownFolder(RunSystemCalls::system(), filesPath, false, &whyNot)
        && ::lstat(encoded(filesPath).constData(), &files) == 0
        && files.st_dev == here.st_dev;
}

MoveOutcome TrashCan::restore(const QString &trashPath, const QString &trashName, const EntryIdentity &entry,
                              const FolderHandle &folder, QStringView name, QString *error)
{
    const int files = openFolder(RunSystemCalls::system(), trashPath + QStringLiteral("/files"));
    if (files < 0) {
        *error = qt_error_string(errno);
        return MoveOutcome::Failed;
    }
    const QByteArray from = encoded(trashName);
    const std::optional<EntryIdentity> there = IdentifyEntry(files, from.constData());
    if (!there || !there->matches(entry)) {
        ::close(files);
        *error = RunText::tr("the file is no longer in the trash");
        return MoveOutcome::Failed;
    }
    QByteArray buffer;
    const MoveOutcome outcome =
        renameNoReplace(RunSystemCalls::system(), files, from.constData(), folder.descriptor(),
                        FolderHandle::encodeName(name, buffer), error);
    ::close(files);
    if (outcome == MoveOutcome::Done)
        ::unlink(encoded(trashPath + QStringLiteral("/info/") + trashName + QStringLiteral(".trashinfo")).constData());
    return outcome;
}
