#pragma once

#include "core/FolderHandle.h"
#include "rename/EntryIdentity.h"
#include "rename/RunSystemCalls.h"

#include <QString>
#include <QStringView>

#include <optional>

// The freedesktop.org trash on the file system of one folder: the user's
// own ($XDG_DATA_HOME/Trash) when it is on the same device, otherwise the
// one at the top of the folder's file system ($topdir/.Trash/$uid or
// $topdir/.Trash-$uid). A file goes in by one rename, so it never leaves
// its file system and its content is never copied. Found, and made where
// missing, the first time it is needed. Its system calls go through calls.
class TrashCan
{
public:
    explicit TrashCan(const FolderHandle &folder, RunSystemCalls &calls = RunSystemCalls::system());
    ~TrashCan();
    TrashCan(const TrashCan &) = delete;
    TrashCan &operator=(const TrashCan &) = delete;

    // Whether there is a trash the folder's files can be moved into; when
    // there is none, *whyNot says why.
    bool isAvailable(QString *whyNot = nullptr);
    // The trash folder, holding files/ and info/.
    QString path() const { return m_path; }

    // Writes the .trashinfo for the folder's entry name under a name free
    // in the trash, and answers that name: the entry's own, or where that
    // is taken or too long for the trash, one made from it. On failure
    // *error says why.
    std::optional<QString> reserve(QStringView name, QString *error);
    // Moves the entry into the trash under a name reserve() gave.
    MoveOutcome moveIn(QStringView name, const QString &trashName, QString *error);
    // Drops a reservation that was not used.
    void release(const QString &trashName);

    // Puts an entry of the trash at trashPath back into folder under name,
    // never replacing anything, and removes its .trashinfo. Fails unless
    // the entry is the one identified.
    static MoveOutcome restore(const QString &trashPath, const QString &trashName, const EntryIdentity &entry,
                               const FolderHandle &folder, QStringView name, QString *error);
    // What the trash holds under trashName, if anything.
    static std::optional<EntryIdentity> identify(const QString &trashPath, const QString &trashName);
    // The size and deletion date of the entry's .trashinfo, as one token;
    // empty when it cannot be read.
    static QByteArray infoStamp(const QString &trashPath, const QString &trashName);
    // Whether trashPath is a trash a file of folder may have gone to: the
    // user's own, or one at the top of the folder's file system, on the
    // folder's device and the user's own.
    static bool isTrashOf(const QString &trashPath, const FolderHandle &folder);

private:
    bool locate();
    bool useTrash(const QString &path, dev_t device);

    const FolderHandle &m_folder;
    RunSystemCalls &m_calls;
    bool m_located = false;
    QString m_path;
    QString m_topDir; // empty for the user's own trash, whose paths are absolute
    int m_filesFd = -1;
    int m_infoFd = -1;
    int m_maxNameLength = 255; // of the trash's file system, in bytes
    QString m_problem;         // why there is no trash
};
