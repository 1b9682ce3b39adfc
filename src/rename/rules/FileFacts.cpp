#include "rename/rules/FileFacts.h"

#include "core/FolderHandle.h"
#include "rename/rules/StatusPrefetch.h"

#include <QDateTime>

#include <libexif/exif-data.h>
#include <libexif/exif-loader.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>

namespace {

// An Exif block is at most 64 KiB and sits near the start of a photo: a
// file whose first 128 KiB hold none has none worth reading on for.
constexpr qsizetype kExifReadLimit = 1 << 17;

qint64 exifDate(ExifData *data)
{
    const ExifTag tags[] = {EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_TAG_DATE_TIME};
    for (ExifTag tag : tags) {
        ExifEntry *entry = exif_data_get_entry(data, tag);
        if (!entry || entry->format != EXIF_FORMAT_ASCII || entry->size < 19)
            continue;
        const QString text = QString::fromLatin1(reinterpret_cast<const char *>(entry->data), 19);
        const QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
        if (when.isValid())
            return when.toMSecsSinceEpoch();
    }
    return -1;
}

} // namespace

FileFacts::FileFacts(const FolderHandle &folder, const QList<RenameEntry> &entries)
    : m_folder(folder)
    , m_entries(entries)
{
}

void FileFacts::prepareStatuses()
{
    if (m_modified.empty()) {
        m_modified.assign(size_t(m_entries.size()), kUnread);
        m_size.assign(size_t(m_entries.size()), 0);
    }
}

// Entries are handed out in stretches, to whichever thread asks next: the
// helper alone while the caller is busy, both once it has finished. Each
// entry is listed once, so each is written by one thread alone.
struct FileFacts::StatusReading
{
    std::vector<qsizetype> entries;
    std::atomic<size_t> next{0};
    std::atomic<bool> stopped{false};
    std::optional<std::thread> helper;

    void readShare(FileFacts &facts)
    {
        constexpr size_t kStretch = 512;
        while (!stopped.load(std::memory_order_relaxed)) {
            const size_t from = next.fetch_add(kStretch, std::memory_order_relaxed);
            if (from >= entries.size())
                return;
            const size_t to = std::min(entries.size(), from + kStretch);
            for (size_t k = from; k < to; ++k) {
                if (facts.m_modified[size_t(entries[k])] == kUnread)
                    facts.readStatus(entries[k]);
            }
        }
    }
};

FileFacts::~FileFacts()
{
    if (m_reading && m_reading->helper) {
        m_reading->stopped = true;
        m_reading->helper->join();
    }
}

void FileFacts::readStatuses(const std::vector<qsizetype> &entries)
{
    if (!m_reading)
        startReadingStatuses(entries);
    finishReadingStatuses();
}

void FileFacts::startReadingStatuses(const std::vector<qsizetype> &entries)
{
    if (m_prefetch)
        return; // every entry's status is on its way
    finishReadingStatuses();
    prepareStatuses();
    m_reading = std::make_unique<StatusReading>();
    m_reading->entries = entries;
    // The reads wait on the kernel's look-up of each name, not on each
    // other: a second thread takes a share of a long list (on tmpfs,
    // 100,000 files in two thirds of the time of one thread).
    constexpr size_t kShared = 8192;
    if (entries.size() < kShared)
        return;
    try {
        m_reading->helper.emplace([this] { m_reading->readShare(*this); });
    } catch (const std::system_error &) {
        // No thread to be had: the caller reads them all when it finishes.
    }
}

void FileFacts::adoptStatuses(std::unique_ptr<StatusPrefetch> prefetch, std::vector<quint32> placeOf)
{
    finishReadingStatuses();
    m_prefetch = std::move(prefetch);
    m_placeInPrefetch = std::move(placeOf);
}

void FileFacts::finishReadingStatuses()
{
    if (m_prefetch) {
        m_prefetch->finish();
        prepareStatuses();
        for (size_t entry = 0; entry < m_placeInPrefetch.size() && entry < m_modified.size(); ++entry) {
            const quint32 place = m_placeInPrefetch[entry];
            if (qsizetype(place) >= m_prefetch->count())
                continue;
            m_modified[entry] = m_prefetch->status(place).modifiedMs;
            m_size[entry] = m_prefetch->status(place).size;
        }
        m_prefetch.reset();
        std::vector<quint32>().swap(m_placeInPrefetch);
    }
    if (!m_reading)
        return;
    m_reading->readShare(*this);
    if (m_reading->helper)
        m_reading->helper->join();
    m_reading.reset();
}

void FileFacts::readStatus(qsizetype entry)
{
    thread_local QByteArray buffer;
    struct stat status = {};
    if (::fstatat(m_folder.descriptor(), FolderHandle::encodeName(m_entries.at(entry).name, buffer), &status, 0)
        != 0) {
        m_modified[size_t(entry)] = 0;
        return;
    }
    keepStatus(entry, status);
}

qint64 FileFacts::modifiedMsOf(const struct stat &status)
{
    return qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
}

void FileFacts::keepStatus(qsizetype entry, const struct stat &status)
{
    m_modified[size_t(entry)] = modifiedMsOf(status);
    m_size[size_t(entry)] = qint64(status.st_size);
}

bool FileFacts::refresh()
{
    finishReadingStatuses();
    bool changed = false;
    for (size_t entry = 0; entry < m_modified.size(); ++entry) {
        if (m_modified[entry] == kUnread)
            continue;
        const qint64 modified = m_modified[entry];
        const qint64 size = m_size[entry];
        readStatus(qsizetype(entry));
        if (m_modified[entry] == modified && m_size[entry] == size)
            continue;
        changed = true;
        if (!m_taken.empty())
            m_taken[entry] = kUnread;
    }
    return changed;
}

qint64 FileFacts::modifiedMs(qsizetype entry)
{
    finishReadingStatuses();
    prepareStatuses();
    if (m_modified[size_t(entry)] == kUnread)
        readStatus(entry);
    return m_modified[size_t(entry)];
}

qint64 FileFacts::size(qsizetype entry)
{
    modifiedMs(entry);
    return m_size[size_t(entry)];
}

qint64 FileFacts::takenMs(qsizetype entry, bool *fellBack)
{
    finishReadingStatuses();
    if (m_taken.empty())
        m_taken.assign(size_t(m_entries.size()), kUnread);
    qint64 &taken = m_taken[size_t(entry)];
    if (taken == kUnread) {
        taken = kNoDate;
        QByteArray buffer;
        // Only an ordinary file is read: a pipe or a device under a listed
        // name would block the run or never end.
        const int fd = ::openat(m_folder.descriptor(), FolderHandle::encodeName(m_entries.at(entry).name, buffer),
                                O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        struct stat status = {};
        if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
            // Kept, so that a later look can tell whether the file changed.
            prepareStatuses();
            if (m_modified[size_t(entry)] == kUnread)
                keepStatus(entry, status);
            QByteArray bytes(qMin<qsizetype>(kExifReadLimit, qsizetype(status.st_size)), Qt::Uninitialized);
            qsizetype got = 0;
            while (got < bytes.size()) {
                const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
                if (n <= 0)
                    break;
                got += n;
            }
            bytes.truncate(got);
            const qint64 date = exifDateMs(bytes);
            if (date >= 0)
                taken = date;
        }
        if (fd >= 0)
            ::close(fd);
    }
    if (fellBack)
        *fellBack = taken == kNoDate;
    return taken == kNoDate ? modifiedMs(entry) : taken;
}

qint64 FileFacts::exifDateMs(const QByteArray &bytes)
{
    ExifLoader *loader = exif_loader_new();
    if (!loader)
        return -1;
    // The loader takes the bytes until it has the Exif block, or knows
    // there is none.
    exif_loader_write(loader, reinterpret_cast<unsigned char *>(const_cast<char *>(bytes.constData())),
                      unsigned(bytes.size()));
    ExifData *data = exif_loader_get_data(loader);
    exif_loader_unref(loader);
    if (!data)
        return -1;
    const qint64 date = exifDate(data);
    exif_data_unref(data);
    return date;
}
