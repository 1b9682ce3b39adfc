#include "rename/PlatformFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QVarLengthArray>

#include <cstring>

#if defined(Q_OS_WIN)
#  include <qt_windows.h>
#else
#  include <cerrno>
#  include <cstdio>
#  include <algorithm>
#  include <cstring>
#  include <dirent.h>
#  include <fcntl.h>
#  include <sys/stat.h>
#  include <unistd.h>
#endif

namespace PlatformFiles {

using Outcome = RenameFileOperations::Outcome;
using Mode = RenameFileOperations::Mode;

QString foldedName(QStringView name)
{
    // Most names are plain ASCII: upper-casing those needs no Unicode tables.
    const char16_t *text = name.utf16();
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] >= 0x80)
            return name.toString().toUpper();
    }
    QString folded(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(folded.data());
    for (qsizetype i = 0; i < size; ++i)
        out[i] = text[i] >= u'a' && text[i] <= u'z' ? char16_t(text[i] - (u'a' - u'A')) : text[i];
    return folded;
}

namespace {

char16_t asciiUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

} // namespace

bool sameFoldedName(QStringView a, QStringView b)
{
    const char16_t *x = a.utf16();
    const char16_t *y = b.utf16();
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (x[i] >= 0x80 || y[i] >= 0x80)
            return foldedName(a) == foldedName(b);
        // Up to here both are ASCII, which folds one character to one, so
        // a difference here is a difference in the folded names too.
        if (asciiUpper(x[i]) != asciiUpper(y[i]))
            return false;
    }
    if (a.size() == b.size())
        return true;
    // What is left of the longer one may still be non-ASCII that folds to
    // nothing shorter; only the full comparison can tell.
    const QStringView longer = a.size() > b.size() ? a : b;
    for (qsizetype i = common; i < longer.size(); ++i) {
        if (longer.at(i).unicode() >= 0x80)
            return foldedName(a) == foldedName(b);
    }
    return false;
}

namespace {

// Both halves of the full product: each bit of either factor reaches the
// whole result.
#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Product;
#endif

inline quint64 mixBits(quint64 a, quint64 b)
{
#if defined(__SIZEOF_INT128__)
    const Product product = static_cast<Product>(a) * b;
    return quint64(product) ^ quint64(product >> 64);
#else
    const quint64 product = a * b;
    return product ^ (product >> 32) ^ (a >> 29);
#endif
}

constexpr quint64 kStep = 0xA0761D6478BD642FULL;
constexpr quint64 kLast = 0xE7037ED1A0B428DBULL;

quint64 hashFinish(quint64 state, quint64 tail, qsizetype size)
{
    return mixBits(mixBits(state ^ tail, kStep) ^ quint64(size), kLast);
}

// The last units of a text, fewer than four, one in each sixteen bits; the
// rest zero.
quint64 tailOf(const char16_t *text, qsizetype count)
{
    quint64 tail = 0;
    for (qsizetype i = 0; i < count; ++i)
        tail |= quint64(text[i]) << (16 * i);
    return tail;
}

// The hash of text already in its folded form.
quint64 hashFolded(const char16_t *text, qsizetype size, quint64 seed)
{
    quint64 state = seed ^ kLast;
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 chunk;
        std::memcpy(&chunk, text + i, sizeof chunk);
        state = mixBits(state ^ chunk, kStep);
    }
    return hashFinish(state, tailOf(text + i, size - i), size);
}

} // namespace

size_t foldedNameHash(QStringView name, size_t seed)
{
    // The folded form of a plain ASCII name is the name with its letters in
    // upper case: hashed four units at a time, folding on the way. The top
    // nine bits of each unit tell a unit beyond ASCII; within ASCII no sum
    // below carries into the next unit, so the lower-case letters of all
    // four lose 0x20 at once.
    constexpr quint64 units = 0x0001000100010001ULL;
    const auto foldAscii = [](quint64 chunk) {
        const quint64 atLeastA = chunk + units * (0x80 - 'a');
        const quint64 beyondZ = chunk + units * (0x7F - 'z');
        return chunk - (((atLeastA ^ beyondZ) & (units * 0x80)) >> 2);
    };
    const char16_t *text = name.utf16();
    const qsizetype size = name.size();
    quint64 state = quint64(seed) ^ kLast;
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 chunk;
        std::memcpy(&chunk, text + i, sizeof chunk);
        if (chunk & (units * 0xFF80))
            break;
        state = mixBits(state ^ foldAscii(chunk), kStep);
    }
    if (i + 4 > size) {
        const quint64 tail = tailOf(text + i, size - i);
        if ((tail & (units * 0xFF80)) == 0)
            return size_t(hashFinish(state, foldAscii(tail), size));
    }
    const QString folded = foldedName(name);
    return size_t(hashFolded(reinterpret_cast<const char16_t *>(folded.constData()), folded.size(), seed));
}

bool isSeparator(QChar c)
{
#if defined(Q_OS_WIN)
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
#else
    return c == QLatin1Char('/');
#endif
}

#if defined(Q_OS_WIN)

bool forEachEntry(const QString &folder, const std::function<bool(QStringView, bool)> &visit)
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

Outcome renameInFolder(const QString &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error)
{
    QString prefix = folder;
    if (!prefix.isEmpty() && !isSeparator(prefix.back()))
        prefix += QLatin1Char('/');
    const QString fromPath = prefix + fromName;
    const QString toPath = prefix + toName;
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

// Whether the folder of path holds an entry named exactly like each of the
// last components of a and b, byte for byte.
bool holdsBothNames(const QByteArray &a, const QByteArray &b)
{
    const qsizetype slash = a.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : a.left(slash + 1);
    const char *nameA = a.constData() + slash + 1;
    const char *nameB = b.constData() + b.lastIndexOf('/') + 1;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    bool seenA = false;
    bool seenB = false;
    while (const dirent *entry = ::readdir(dir)) {
        seenA = seenA || std::strcmp(entry->d_name, nameA) == 0;
        seenB = seenB || std::strcmp(entry->d_name, nameB) == 0;
        if (seenA && seenB)
            break;
    }
    ::closedir(dir);
    return seenA && seenB;
}

// rename() does nothing, and succeeds, when both names are links to the same
// file, so the old name stays. The content is safe under the new name then,
// and the old name is dropped: but only when it is an entry of its own, not
// the new name spelt in other letters on a file system that ignores case.
Outcome dropOldLink(const QByteArray &from, const QByteArray &to, QString *error)
{
    struct stat oldName;
    struct stat newName;
    if (::lstat(from.constData(), &oldName) != 0 || ::lstat(to.constData(), &newName) != 0
        || oldName.st_dev != newName.st_dev || oldName.st_ino != newName.st_ino || oldName.st_nlink < 2
        || !holdsBothNames(from, to))
        return Outcome::Done;
    if (::unlink(from.constData()) == 0)
        return Outcome::Done;
    return failed(error);
}

// Whether the link at from resolves to the ordinary file named to.
bool linksToFileAt(const QByteArray &from, const QByteArray &to)
{
    struct stat target;
    struct stat resolved;
    return ::lstat(to.constData(), &target) == 0 && S_ISREG(target.st_mode)
        && ::stat(from.constData(), &resolved) == 0 && resolved.st_dev == target.st_dev
        && resolved.st_ino == target.st_ino;
}

} // namespace

bool forEachEntry(const QString &folder, const std::function<bool(QStringView, bool)> &visit)
{
    // Names are decoded into one reused buffer: no allocation per entry.
    QStringDecoder decoder(QStringDecoder::Utf8);
    QVarLengthArray<QChar, 512> buffer;
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
        const qsizetype length = qsizetype(std::strlen(name));
        buffer.resize(decoder.requiredSpace(length));
        qsizetype ascii = 0;
        while (ascii < length && static_cast<unsigned char>(name[ascii]) < 0x80) {
            buffer[ascii] = QLatin1Char(name[ascii]);
            ++ascii;
        }
        qsizetype decoded = ascii;
        if (ascii < length) {
            decoded = decoder.appendToBuffer(buffer.data(), QByteArrayView(name, length)) - buffer.data();
            decoder.resetState();
        }
        if (!visit(QStringView(buffer.data(), decoded), regular))
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
    // One look at every unit; a run checks the name of every file.
    const char16_t *units = reinterpret_cast<const char16_t *>(name.utf16());
    bool slash = false;
    bool nul = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        slash |= units[i] == u'/';
        nul |= units[i] == 0;
    }
    if (slash || (name.size() <= 2 && (name == QLatin1String(".") || name == QLatin1String("..")))) {
        *leavesFolder = true;
        return QStringLiteral("the new name leaves the folder");
    }
    if (nul)
        return QStringLiteral("the new name holds a NUL character, which file names cannot hold");
    // A UTF-16 unit never takes more than three bytes, so short names need
    // no encoding to be measured.
    if (name.size() * 3 > maxLength && QFile::encodeName(name).size() > maxLength)
        return QStringLiteral("the new name is longer than the file system allows");
    return {};
}

// Paths of one folder, encoded into buffers that are reused from call to
// call: a run of many renames neither allocates nor re-encodes the folder
// for every path.
class PathEncoder
{
public:
    const QByteArray &path(QByteArray &buffer, const QString &folder, const QString &name)
    {
        if (folder != m_folder) {
            m_folder = folder;
            m_prefix = QFile::encodeName(folder);
            if (!m_prefix.isEmpty() && !m_prefix.endsWith('/'))
                m_prefix += '/';
        }
        buffer.resize(m_prefix.size() + m_encoder.requiredSpace(name.size()));
        char *out = std::copy(m_prefix.cbegin(), m_prefix.cend(), buffer.data());
        qsizetype i = 0;
        for (; i < name.size() && name.at(i).unicode() < 0x80; ++i)
            *out++ = char(name.at(i).unicode());
        if (i < name.size()) {
            out = m_encoder.appendToBuffer(out, QStringView(name).mid(i));
            m_encoder.resetState();
        }
        buffer.truncate(out - buffer.constData());
        return buffer;
    }

private:
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    QString m_folder;
    QByteArray m_prefix;
};

Outcome renameInFolder(const QString &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error)
{
    thread_local PathEncoder encoder;
    thread_local QByteArray fromBuffer;
    thread_local QByteArray toBuffer;
    const QByteArray &from = encoder.path(fromBuffer, folder, fromName);
    const QByteArray &to = encoder.path(toBuffer, folder, toName);
    if (mode == Mode::NoReplace)
        return renameNoReplace(from, to, error);
    struct stat source;
    if (::lstat(from.constData(), &source) != 0)
        return failed(error);
    // A link put in the place of the very file it points to would leave a
    // link to itself, and that file's content would be gone.
    if (S_ISLNK(source.st_mode) && linksToFileAt(from, to)) {
        *error = QStringLiteral("the file is a link to the file that has the new name");
        return Outcome::Failed;
    }
    if (::rename(from.constData(), to.constData()) != 0)
        return failed(error);
    // Only a name with further links can still be there after a rename.
    if (source.st_nlink < 2)
        return Outcome::Done;
    return dropOldLink(from, to, error);
}

#endif

} // namespace PlatformFiles
