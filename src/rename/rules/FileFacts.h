#pragma once

#include "rename/RunTypes.h"

#include <QList>
#include <QString>

#include <limits>
#include <memory>
#include <vector>

class FolderHandle;
class StatusPrefetch;
struct stat;

// What rules may ask of a file besides its name: when it was last modified,
// its size, and when its photo was taken. Each is read only when first
// asked, and at most once per file; a rule list that asks nothing reads
// nothing. Names are those of the list, read in the folder that was opened.
class FileFacts
{
public:
    FileFacts(const FolderHandle &folder, const QList<RenameEntry> &entries);
    ~FileFacts();
    FileFacts(const FileFacts &) = delete;
    FileFacts &operator=(const FileFacts &) = delete;

    // Reads the modified time and size of all these entries at once, before
    // they are sorted by either.
    void readStatuses(const std::vector<qsizetype> &entries);
    // The same begun on a helper thread, so that the caller can meanwhile
    // work on names. Whatever asks a fact next (readStatuses() included)
    // first lends its own thread to the reads left and waits for the rest.
    void startReadingStatuses(const std::vector<qsizetype> &entries);
    // Takes over the statuses a prefetch is reading while the folder was
    // listed: entry e's is the prefetch's number placeOf[e]. They stand for
    // every entry's, and are waited for as startReadingStatuses()'s are.
    void adoptStatuses(std::unique_ptr<StatusPrefetch> prefetch, std::vector<quint32> placeOf);
    // Reads again the modified time and size of every file they were read
    // of; a file whose either changed has its date taken read again when
    // next asked. True when any changed.
    bool refresh();

    // Milliseconds since 1970; 0 for a file that cannot be read.
    qint64 modifiedMs(qsizetype entry);
    qint64 size(qsizetype entry);
    // The date the photo was taken, from its Exif data, as milliseconds
    // since 1970 in local time; the modified time where the file holds none
    // (*fellBack then tells so).
    qint64 takenMs(qsizetype entry, bool *fellBack = nullptr);
    // Whether the date taken of entry was asked for and the file held none.
    bool takenFellBack(qsizetype entry) const
    {
        return !m_taken.empty() && m_taken[size_t(entry)] == kNoDate;
    }

    // The Exif date of a JPEG file's bytes (DateTimeOriginal, else
    // DateTime), or -1.
    static qint64 exifDateMs(const QByteArray &bytes);
    // A status's modified time in milliseconds since 1970.
    static qint64 modifiedMsOf(const struct stat &status);

private:
    struct StatusReading;
    void finishReadingStatuses();
    void readStatus(qsizetype entry);
    void keepStatus(qsizetype entry, const struct stat &status);
    void prepareStatuses();

    const FolderHandle &m_folder;
    const QList<RenameEntry> &m_entries;
    // kUnread until asked; taken holds kNoDate for a file without one.
    static constexpr qint64 kUnread = std::numeric_limits<qint64>::min();
    static constexpr qint64 kNoDate = kUnread + 1;
    std::vector<qint64> m_modified;
    std::vector<qint64> m_size;
    std::vector<qint64> m_taken;
    std::unique_ptr<StatusReading> m_reading;
    std::unique_ptr<StatusPrefetch> m_prefetch;
    std::vector<quint32> m_placeInPrefetch;
};
