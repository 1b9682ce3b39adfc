#include "rename/RunJournal.h"

#include "core/CoarseClock.h"
#include "core/FolderHandle.h"
#include "core/PlainAscii.h"
#include "core/StateFolder.h"
#include "rename/EntryIdentity.h"
#include "rename/RunJournalFormat.h"
#include "rename/RunText.h"
#include "rename/TrashCan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kComplete[] = "complete\n";
constexpr char kJournalSuffix[] = ".journal";
constexpr char kUndoneSuffix[] = ".undone";
constexpr char kPartSuffix[] = ".part";
// Progress goes to disk at least this often, and after this many moves.
constexpr qint64 kSyncIntervalMs = 100;
constexpr int kMovesPerTimeCheck = 256;
constexpr qsizetype kBufferLimit = 1 << 20;

bool isEscaped(unsigned char c)
{
    return c <= ' ' || c == '%' || c == 0x7F;
}

bool isPlain(char16_t c)
{
    return !isEscaped(static_cast<unsigned char>(c));
}

void appendEscaped(QByteArray &out, const char *bytes, qsizetype size)
{
    static const char hex[] = "0123456789ABCDEF";
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (isEscaped(c)) {
            out.append('%');
            out.append(hex[c >> 4]);
            out.append(hex[c & 15]);
        } else {
            out.append(char(c));
        }
    }
}

void appendName(QByteArray &out, QStringView name)
{
    // Plain ASCII that needs no escape, as most names are, goes straight
    // into the buffer: the plan and the moves write two names a file.
    const qsizetype start = out.size();
    out.resize(start + name.size());
    if (CopyPlainAscii(name, out.data() + start, isPlain))
        return;
    out.resize(start);
    thread_local QByteArray encoded;
    const char *bytes = FolderHandle::encodeName(name, encoded);
    appendEscaped(out, bytes, encoded.size());
}

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// The data of the file on disk; its times may follow later.
int syncData(int fd)
{
#if defined(Q_OS_LINUX)
    return ::fdatasync(fd);
#else
    return ::fsync(fd);
#endif
}

bool syncFolderOf(const QString &path)
{
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    const bool ok = ::fsync(dir) == 0;
    ::close(dir);
    return ok;
}

// Makes room for one more journal: the newest are kept. A journal of a run
// that was cut off is never removed, however old: until it is undone, it
// is the only way back for its half-renamed folder.
void pruneJournals(const QString &folder)
{
    QStringList names = QDir(folder).entryList({QStringLiteral("run-*")}, QDir::Files | QDir::Hidden, QDir::Name);
    std::sort(names.begin(), names.end());
    qsizetype count = names.size();
    for (qsizetype i = 0; i < names.size() && count >= kKeptRunJournals; ++i) {
        const QString path = folder + u'/' + names.at(i);
        if (names.at(i).endsWith(QLatin1String(kJournalSuffix)) && !RunJournalComplete(path))
            continue;
        if (QFile::remove(path))
            --count;
    }
}

QString journalFileName()
{
    // Names sort as the runs started, to the microsecond.
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    return QStringLiteral("run-%1-%2-%3")
        .arg(QDateTime::fromSecsSinceEpoch(now.tv_sec, Qt::UTC).toString(QStringLiteral("yyyyMMdd-HHmmss")))
        .arg(now.tv_nsec / 1000, 6, 10, QLatin1Char('0'))
        .arg(QCoreApplication::applicationPid());
}

} // namespace

QByteArray EscapeJournalField(const QByteArray &bytes)
{
    QByteArray out;
    appendEscaped(out, bytes.constData(), bytes.size());
    return out;
}

QByteArray UnescapeJournalField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '%' && i + 2 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 2;
                continue;
            }
        }
        out.append(field.at(i));
    }
    return out;
}

QString RunJournalFolder()
{
    return QuillmereStateFolder();
}

RunJournalWriter::~RunJournalWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_folderFd >= 0)
        ::close(m_folderFd);
    // A plan that never reached the disk belongs to a run that moved
    // nothing.
    if (!m_partPath.isEmpty())
        QFile::remove(m_partPath);
}

bool RunJournalWriter::begin(const FolderHandle &folder, QString *error)
{
    const std::optional<EntryIdentity> identity =
        folder.isOpen() ? IdentifyEntry(folder.descriptor(), "") : std::nullopt;
    if (!identity) {
        *error = RunText::tr("the folder cannot be read");
        return false;
    }
    const QString dir = RunJournalFolder();
    if (!QDir().mkpath(dir)) {
        *error = RunText::tr("cannot make the folder \"%1\"").arg(dir);
        return false;
    }
    ::chmod(QFile::encodeName(dir).constData(), 0700);
    pruneJournals(dir);
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_path = dir + u'/' + journalFileName() + (attempt ? QStringLiteral("-%1").arg(attempt) : QString())
            + QLatin1String(kJournalSuffix);
        m_partPath = m_path + QLatin1String(kPartSuffix);
        m_fd = ::open(QFile::encodeName(m_partPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        *error = RunText::tr("cannot write in \"%1\": %2").arg(dir, qt_error_string(errno));
        m_partPath.clear();
        return false;
    }
    m_folderFd = ::fcntl(folder.descriptor(), F_DUPFD_CLOEXEC, 0);
    m_buffer = kRunJournalMagic;
    m_buffer += "folder " + QByteArray::number(identity->device) + ' ' + QByteArray::number(identity->inode) + ' '
        + EscapeJournalField(QFile::encodeName(QFileInfo(folder.path()).absoluteFilePath()));
    if (!identity->stamp.isEmpty())
        m_buffer += ' ' + identity->stamp;
    m_buffer += '\n';
    m_buffer += "started " + QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1() + ' '
        + QByteArray::number(QCoreApplication::applicationPid()) + '\n';
    return true;
}

void RunJournalWriter::addFile(quint64 inode, QStringView oldName)
{
    // "file INODE NAME", in one resize of the buffer for a plain name.
    constexpr QByteArrayView kFile("file ");
    constexpr qsizetype kMostDigits = 20;
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + kFile.size() + kMostDigits + 1 + oldName.size() + 1);
    char *out = m_buffer.data() + start;
    std::memcpy(out, kFile.data(), size_t(kFile.size()));
    out = std::to_chars(out + kFile.size(), out + kFile.size() + kMostDigits, inode).ptr;
    *out++ = ' ';
    if (CopyPlainAscii(oldName, out, isPlain)) {
        out[oldName.size()] = '\n';
        m_buffer.truncate(out + oldName.size() + 1 - m_buffer.constData());
    } else {
        m_buffer.truncate(out - m_buffer.constData());
        appendName(m_buffer, oldName);
        m_buffer += '\n';
    }
    // The plan of a large folder goes to the unfinished file as it grows,
    // so that it is never held whole in memory.
    if (m_buffer.size() >= kBufferLimit && !m_failed) {
        if (!writeAll(m_fd, m_buffer.constData(), m_buffer.size())) {
            m_failed = true;
            m_planErrno = errno;
        }
        m_buffer.resize(0);
    }
}

bool RunJournalWriter::commitPlan(QString *error)
{
    m_buffer += "planned\n";
    const QByteArray part = QFile::encodeName(m_partPath);
    // The plan, then its name: a journal under its final name always holds
    // a whole plan.
    if (m_planErrno != 0) {
        *error = RunText::tr("cannot write the journal \"%1\": %2").arg(m_path, qt_error_string(m_planErrno));
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    if (!writeAll(m_fd, m_buffer.constData(), m_buffer.size()) || ::fsync(m_fd) != 0
        || ::rename(part.constData(), QFile::encodeName(m_path).constData()) != 0 || !syncFolderOf(m_path)) {
        *error = RunText::tr("cannot write the journal \"%1\": %2").arg(m_path, qt_error_string(errno));
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_partPath.clear();
    m_buffer.resize(0);
    m_lastSyncMs = CoarseMonotonicMs();
    return true;
}

bool RunJournalWriter::writeBuffer(bool sync)
{
    if (m_fd < 0 || m_failed)
        return false;
    if (!writeAll(m_fd, m_buffer.constData(), m_buffer.size()) || (sync && syncData(m_fd) != 0)) {
        m_failed = true;
        return false;
    }
    m_buffer.resize(0); // keeps its room for the next batch
    m_lastSyncMs = CoarseMonotonicMs();
    return true;
}

void RunJournalWriter::flushIfDue()
{
    if (m_buffer.size() >= kBufferLimit) {
        writeBuffer(true);
        return;
    }
    if (++m_movesSinceCheck < kMovesPerTimeCheck)
        return;
    m_movesSinceCheck = 0;
    if (CoarseMonotonicMs() - m_lastSyncMs >= kSyncIntervalMs)
        writeBuffer(true);
}

void RunJournalWriter::noteMove(QStringView from, QStringView to)
{
    if (m_fd < 0)
        return;
    // Two plain names, as most are, go in with one resize of the buffer.
    constexpr QByteArrayView kMove("move ");
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + kMove.size() + from.size() + 1 + to.size() + 1);
    char *out = m_buffer.data() + start;
    std::memcpy(out, kMove.data(), size_t(kMove.size()));
    out += kMove.size();
    if (CopyPlainAscii(from, out, isPlain) && CopyPlainAscii(to, out + from.size() + 1, isPlain)) {
        out[from.size()] = ' ';
        out[from.size() + 1 + to.size()] = '\n';
        flushIfDue();
        return;
    }
    m_buffer.resize(start);
    m_buffer += "move ";
    appendName(m_buffer, from);
    m_buffer += ' ';
    appendName(m_buffer, to);
    m_buffer += '\n';
    flushIfDue();
}

bool RunJournalWriter::noteTrashed(quint64 inode, QStringView name, const QString &trashFolder,
                                   const QString &trashName)
{
    if (m_fd < 0)
        return false;
    // What undo checks before it takes the entry back: the file's identity
    // (it is still in the folder here) and its .trashinfo's.
    QByteArray buffer;
    std::optional<EntryIdentity> identity =
        m_folderFd >= 0 ? IdentifyEntry(m_folderFd, FolderHandle::encodeName(name, buffer)) : std::nullopt;
    if (identity && identity->inode != inode)
        identity.reset();
    m_buffer += "trash " + QByteArray::number(inode) + ' ';
    appendName(m_buffer, name);
    m_buffer += ' ' + EscapeJournalField(QFile::encodeName(trashFolder)) + ' ';
    appendName(m_buffer, trashName);
    m_buffer += ' ' + (identity ? identity->stamp : QByteArray("-")) + ' '
        + EscapeJournalField(TrashCan::infoStamp(trashFolder, trashName)) + '\n';
    return writeBuffer(true);
}

bool RunJournalWriter::noteLost(quint64 inode, QStringView name)
{
    if (m_fd < 0)
        return false;
    m_buffer += "lost " + QByteArray::number(inode) + ' ';
    appendName(m_buffer, name);
    m_buffer += '\n';
    return writeBuffer(true);
}

bool RunJournalWriter::finish()
{
    if (m_fd < 0)
        return false;
    m_buffer += kComplete;
    const bool ok = writeBuffer(true);
    ::close(m_fd);
    m_fd = -1;
    return ok;
}

QStringList RunJournalFiles()
{
    const QString dir = RunJournalFolder();
    QStringList names = QDir(dir).entryList({QStringLiteral("run-*") + QLatin1String(kJournalSuffix)}, QDir::Files);
    std::sort(names.begin(), names.end(), std::greater<>());
    QStringList paths;
    for (const QString &name : std::as_const(names))
        paths.append(dir + u'/' + name);
    return paths;
}

bool MarkRunJournalUndone(const QString &path)
{
    QString undone = path;
    if (undone.endsWith(QLatin1String(kJournalSuffix)))
        undone.chop(qsizetype(sizeof kJournalSuffix - 1));
    undone += QLatin1String(kUndoneSuffix);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(undone).constData()) != 0)
        return false;
    syncFolderOf(undone);
    return true;
}
