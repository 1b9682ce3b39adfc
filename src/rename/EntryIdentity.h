#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// What tells one file, folder or trash entry from another over time. The
// inode number alone does not: a file system may give a freed number to
// the next file it makes. The stamp adds the birth time where the file
// system keeps one; else, for a file, its time of last change of content
// and its size (its change time moves with every rename, so it could not
// tell a file the run renamed). A folder without a birth time has no stamp.
struct EntryIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    QByteArray stamp; // "b<s>.<ns>" born, "m<s>.<ns>.<size>" modified and sized, or empty
    qint64 bornMs = -1; // the birth time, else the last change of content; -1 unknown

    // Whether this entry is the recorded one: same device and number, and
    // where a stamp was recorded, the same stamp.
    bool matches(const EntryIdentity &recorded) const
    {
        return device == recorded.device && inode == recorded.inode
            && (recorded.stamp.isEmpty() || stamp == recorded.stamp);
    }
};

// The identity of the entry name of the folder dirFd, links not followed;
// an empty name for the folder dirFd itself. A folder's stamp holds only a
// birth time.
std::optional<EntryIdentity> IdentifyEntry(int dirFd, const char *name);
