#include "rename/PlatformFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#  include <qt_windows.h>
#else
#  include <cerrno>
#  include <cstdio>
#  include <dirent.h>
#  include <fcntl.h>
#  include <sys/stat.h>
#  include <unistd.h>
#endif

namespace PlatformFiles {

using Outcome = RenameFileOperations::Outcome;
using Mode = RenameFileOperations::Mode;

bool isSeparator(QChar c)
{
#if defined(Q_OS_WIN)
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
#else
    return c == QLatin1Char('/');
#endif
}

#if defined(Q_OS_WIN)

bool forEachEntry(const QString &folder, const std::function<bool(const QString &, bool)> &visit)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (!visit(it.fileName(), it.fileInfo().isFile()))
            break;
    }
    return true;
}

bool isOrdinaryFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile();
}

int maxNameLength(const QString &)
{
    return 255; // UTF-16 units, what NTFS and FAT long names hold
}

QString nameProblem(const QString &name, int maxLength, bool *leavesFolder)
{
    *leavesFolder = false;
    if (name.isEmpty())
        return QStringLiteral("the new name is empty");
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/'))
        || name.contains(QLatin1Char('\\'))) {
        *leavesFolder = true;
        return QStringLiteral("the new name leaves the folder");
    }
    for (QChar c : name) {
        if (c.unicode() < 32 || QStringView(u"<>:\"|?*").contains(c))
            return QStringLiteral("the new name holds the character \"%1\", which file names cannot hold").arg(c);
    }
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("the new name ends in a dot or a blank, which file names cannot");
    static const QStringList devices = {
        QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL"),
        QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
        QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"),
        QStringLiteral("LPT4"), QStringLiteral("LPT5"), QStringLiteral("LPT6"), QStringLiteral("LPT7"),
        QStringLiteral("LPT8"), QStringLiteral("LPT9")};
    if (devices.contains(name.section(QLatin1Char('.'), 0, 0).trimmed(), Qt::CaseInsensitive))
        return QStringLiteral("the new name is reserved for a device");
    if (name.size() > maxLength)
        return QStringLiteral("the new name is longer than the file system allows");
    return {};
}

Outcome renameInFolder(const QString &fromPath, const QString &toPath, Mode mode, QString *error)
{
    const DWORD flags = mode == Mode::Replace ? MOVEFILE_REPLACE_EXISTING : 0;
    const QString from = QDir::toNativeSeparators(fromPath);
    const QString to = QDir::toNativeSeparators(toPath);
    if (MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()), reinterpret_cast<const wchar_t *>(to.utf16()),
                    flags))
        return Outcome::Done;
    const DWORD code = GetLastError();
    if (mode == Mode::NoReplace && (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS))
        return Outcome::TargetExists;
    *error = qt_error_string(int(code));
    return Outcome::Failed;
}

#else // POSIX

namespace {

bool isRegularAt(int dirFd, const char *name)
{
    struct stat st;
    return fstatat(dirFd, name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

Outcome failed(QString *error)
{
    *error = qt_error_string(errno);
    return Outcome::Failed;
}

// Last resort where the file system offers neither a no-replace rename nor
// hard links (some FAT and network file systems): the check and the move
// are two steps there.
Outcome renameAfterCheck(const QByteArray &from, const QByteArray &to, QString *error)
{
    struct stat st;
    if (lstat(to.constData(), &st) == 0)
        return Outcome::TargetExists;
    if (::rename(from.constData(), to.constData()) == 0)
        return Outcome::Done;
    return failed(error);
}

Outcome renameNoReplace(const QByteArray &from, const QByteArray &to, QString *error)
{
#if defined(Q_OS_MACOS)
    if (renamex_np(from.constData(), to.constData(), RENAME_EXCL) == 0)
        return Outcome::Done;
    if (errno == EEXIST)
        return Outcome::TargetExists;
    if (errno != ENOTSUP && errno != EINVAL)
        return failed(error);
#elif defined(Q_OS_LINUX)
    if (renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return Outcome::Done;
    if (errno == EEXIST)
        return Outcome::TargetExists;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP)
        return failed(error);
#endif
    // A second name for the file, then the first one dropped: link() never
    // replaces anything.
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) == 0)
            return Outcome::Done;
        const int unlinkError = errno;
        ::unlink(to.constData());
        errno = unlinkError;
        return failed(error);
    }
    if (errno == EEXIST)
        return Outcome::TargetExists;
    if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP || errno == ENOSYS || errno == EMLINK)
        return renameAfterCheck(from, to, error);
    return failed(error);
}

} // namespace

bool forEachEntry(const QString &folder, const std::function<bool(const QString &, bool)> &visit)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    const int fd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        bool regular = false;
        switch (entry->d_type) {
        case DT_REG:
            regular = true;
            break;
        case DT_LNK:
        case DT_UNKNOWN:
            regular = isRegularAt(fd, entry->d_name);
            break;
        default:
            break;
        }
        if (!visit(QFile::decodeName(name), regular))
            break;
    }
    ::closedir(dir);
    return true;
}

bool isOrdinaryFile(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

int maxNameLength(const QString &folder)
{
    const long max = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return max > 0 && max < 65536 ? int(max) : 255;
}

QString nameProblem(const QString &name, int maxLength, bool *leavesFolder)
{
    *leavesFolder = false;
    if (name.isEmpty())
        return QStringLiteral("the new name is empty");
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/'))) {
        *leavesFolder = true;
        return QStringLiteral("the new name leaves the folder");
    }
    if (name.contains(QChar(0)))
        return QStringLiteral("the new name holds a NUL character, which file names cannot hold");
    // A UTF-16 unit never takes more than three bytes, so short names need
    // no encoding to be measured.
    if (name.size() * 3 > maxLength && QFile::encodeName(name).size() > maxLength)
        return QStringLiteral("the new name is longer than the file system allows");
    return {};
}

Outcome renameInFolder(const QString &fromPath, const QString &toPath, Mode mode, QString *error)
{
    const QByteArray from = QFile::encodeName(fromPath);
    const QByteArray to = QFile::encodeName(toPath);
    if (mode == Mode::NoReplace)
        return renameNoReplace(from, to, error);
    if (::rename(from.constData(), to.constData()) == 0)
        return Outcome::Done;
    return failed(error);
}

#endif

} // namespace PlatformFiles
