#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <atomic>

// How a move treats a name that is already taken.
enum class MoveMode {
    NoReplace, // the move fails with TargetExists when anything has the new name
    Replace,   // a file under the new name is replaced, in one atomic step
};

enum class MoveOutcome { Done, TargetExists, Failed };

// One open folder. Every look-up, listing and move made through the handle
// happens in the folder that was opened, whatever becomes of its path later:
// renamed away, replaced by another folder, or a link to it pointed
// elsewhere. Names are single entries of the folder, never paths.
class FolderHandle
{
public:
    enum class Kind { Missing, File, Folder, Other };
    enum class LockResult {
        Locked,      // this handle holds the folder's lock
        Busy,        // another handle, in this process or another, holds it
        Unsupported, // the file system offers no lock
    };

    FolderHandle() = default;
    // Opens path, links followed; see isOpen() and openError().
    explicit FolderHandle(const QString &path);
    ~FolderHandle();
    FolderHandle(FolderHandle &&other) noexcept;
    FolderHandle &operator=(FolderHandle &&other) noexcept;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // The path it was opened under; the folder may no longer be there.
    const QString &path() const { return m_path; }
    // The system's error number when the folder could not be opened.
    int openError() const { return m_openError; }
    // Why the folder could not be opened, for a person.
    QString openErrorText() const;
    int descriptor() const { return m_fd; }

    // An exclusive advisory lock on the folder, held until unlock() or until
    // the handle closes; the system drops it when the process ends, however
    // it ends. Another run holding the folder makes it Busy; someone who
    // may only read the folder cannot. Never waits.
    LockResult tryLock() const;
    void unlock() const;

    // What an entry is, links followed.
    Kind kindOf(QStringView name) const;
    // Whether name is a symbolic link.
    bool isLink(QStringView name) const;
    // Whether the link name, read from this folder, points at the entry
    // target of this folder, whether or not target exists now.
    bool linkPointsAt(QStringView name, QStringView target) const;
    // Whether new entries can be made and entries renamed here; *whyNot
    // says why not.
    bool isWritable(QString *whyNot = nullptr) const;
    // Longest entry name, in the file system's bytes.
    int maxNameLength() const;

    // Gives the entry from the name to. On Failed, *error holds the
    // system's text. A symbolic link never replaces the file it points at,
    // and never takes the name it points at.
    MoveOutcome move(QStringView from, QStringView to, MoveMode mode, QString *error) const;

    // File names are bytes, the program works on text. decodeName() and
    // encodeName() are the one pair that turns one into the other, and they
    // lose nothing: valid UTF-8 is read as what it says, and every byte
    // that is not part of valid UTF-8 becomes the unpaired surrogate
    // U+DC80..U+DCFF of its value (what Python calls "surrogateescape"). No
    // valid UTF-8 ever decodes to such a unit, so every name a folder holds
    // has a text of its own, and that text encodes back to the very bytes.
    // Text built around it (a prefix, a suffix, a new extension) keeps
    // those bytes as they are.
    static QString decodeName(QByteArrayView raw);
    // The same, into out (replaced).
    static void decodeName(QByteArrayView raw, QVarLengthArray<char16_t, 256> &out);
    // A name in the file system's encoding, written into buffer (reused
    // from call to call) and terminated.
    static const char *encodeName(QStringView name, QByteArray &buffer);
    static QByteArray encodeName(QStringView name);
    // Whether name holds bytes that are not text (see decodeName()).
    static bool holdsRawBytes(QStringView name);
    // The name for a person to read: those bytes written as octal escapes,
    // "bad\377.jpg", the way `ls -b` shows them; anything else unchanged.
    static QString displayName(const QString &name);

private:
    // Room for the longest name a file system holds, and its terminator.
    static constexpr qsizetype kPlainRoom = 256;
    // A plain ASCII name copied into plain, anything else encoded into buffer.
    static const char *plainOrEncoded(QStringView name, char (&plain)[kPlainRoom], QByteArray &buffer);

    static bool lockNow(int fd);
    MoveOutcome moveNoReplace(const char *from, const char *to, QString *error) const;
    MoveOutcome moveAfterCheck(const char *from, const char *to, QString *error) const;
    MoveOutcome moveAfterRefusal(const char *from, const char *to, QString *error) const;
    // Whether a move's error number is the file system refusing the way,
    // not the move.
    static bool isWayRefused(int code);
    MoveOutcome dropOldLink(const char *from, const char *to, QString *error) const;
    bool holdsBothNames(const char *a, const char *b) const;
    bool linkPointsAtEncoded(const char *name, const char *target) const;

    int m_fd = -1;
    mutable int m_lockFd = -1; // the user's own lock file of the folder, while locked
    int m_openError = 0;
    QString m_path;
    // What the folder's file system has refused once, so that the moves
    // after it go straight to a way it offers: on FAT, exFAT and many
    // network shares a no-replace rename and a hard link are never had, and
    // on a share every refused call is a round trip. Moves may run on
    // another thread.
    mutable std::atomic<bool> m_noReplaceRefused{false};
    mutable std::atomic<bool> m_linkRefused{false};
};
