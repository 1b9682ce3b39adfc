#pragma once

#include "core/FolderHandle.h"

#include <QStringView>
#include <QVarLengthArray>

#include <dirent.h>

// Reads the entries of an open folder one at a time, "." and ".." left out.
// Names are turned into text by FolderHandle::decodeName(), which loses
// nothing: every entry, valid UTF-8 or not, has a name that leads back to it.
class FolderReader
{
public:
    explicit FolderReader(const FolderHandle &folder);
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    // The system's error number when the folder could not be read.
    int error() const { return m_error; }

    // Steps to the next entry; false at the end, or when reading failed
    // (failed() says which).
    bool next();
    bool failed() const { return m_failed; }

    // The entry's name as the file system holds it, valid until next().
    const char *rawName() const { return m_entry->d_name; }
    bool isHidden() const { return m_entry->d_name[0] == '.'; }
    // The entry's inode number: with the folder's device, what identifies a
    // file wherever it is renamed to. As the folder lists it,
    // except where the listing has no number to give: FUSE file systems
    // that keep none of their own (exFAT, NTFS through FUSE) list every
    // entry as 0xFFFFFFFF, and the entry itself is asked then.
    quint64 inode() const { return m_entry->d_ino != kUnknownInode ? quint64(m_entry->d_ino) : statInode(); }
    // The number as the folder lists it, without asking the entry: 0 where
    // the listing has none. Through FUSE every entry would otherwise cost a
    // round trip, where only the files a run moves need theirs.
    quint64 listedInode() const { return m_entry->d_ino != kUnknownInode ? quint64(m_entry->d_ino) : 0; }
    // The inode number of the entry name of folder, asked of the entry
    // itself (links not followed); 0 where it cannot be.
    static quint64 inodeOf(const FolderHandle &folder, QStringView name);

    // What the entry is, links followed; a stat only for links and for file
    // systems that give no type with the entry.
    FolderHandle::Kind kind();
    bool isLink();

    // The entry's name as text, valid until next().
    QStringView name();

private:
    static constexpr quint64 kUnknownInode = 0xFFFFFFFFu;
    quint64 statInode() const;
    static quint64 askInode(int dirFd, const char *rawName);
    void decode();

    const FolderHandle &m_folder;
    DIR *m_dir = nullptr;
    const dirent *m_entry = nullptr;
    int m_error = 0;
    bool m_failed = false;
    bool m_kindKnown = false;
    bool m_link = false;
    FolderHandle::Kind m_kind = FolderHandle::Kind::Missing;
    bool m_decoded = false;
    QVarLengthArray<char16_t, 256> m_name;
};
