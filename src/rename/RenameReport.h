#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct RenamedFile
{
    // How the file came to its new name.
    enum class Way : quint8 {
        AsComposed,       // the composed name was free
        FreeVariant,      // the composed name was taken; "_" went in until a name was free
        ReplacedExisting, // a file of the folder that had the name was replaced
    };

    QString oldName;
    QString newName;
    Way way = Way::AsComposed;
    qsizetype entry = -1; // the file's index in the list
};

enum class LeftInPlaceReason {
    SameName,         // the new name is the file's own
    NotInFolder,      // no ordinary file of that name in the folder
    InvalidName,      // empty, "." / "..", forbidden character, too long
    LeavesFolder,     // the new name holds a path separator
    NoFreeName,       // no free variant of the new name fits the file system
    NumberExhausted,  // the running number cannot go past 2147483647
    NumberUnreadable, // the running number is no whole number
    MoveAsideFailed,  // a selected file holding the new name could not be moved out of the way
    HeldByNonFile,    // a folder or other non-file has the new name, and is never replaced
    SystemError,      // the rename itself failed
    LinkToNewName,    // a symbolic link would take the name it points at
    FolderNotWritable, // (simulated runs) the folder cannot be written
    Stopped,          // the run was stopped before the file's turn
    // The file that has the new name could not be put in a trash and noted
    // in the journal first, so it was not replaced.
    ReplacedNotKept,
    // Another file took the new name between the moment the file that had
    // it went to the trash and the move; it was not replaced.
    TakenDuringRun,
};

struct LeftInPlaceFile
{
    QString name;        // the file's name in the list
    QString newName;     // the name it would have got; may be empty
    LeftInPlaceReason reason = LeftInPlaceReason::SystemError;
    QString message;     // human-readable, for the user
    // Where the file is after the run: its own name, unless a file renamed
    // earlier in this run took that name while it waited.
    QString currentName;
    qsizetype entry = -1; // the file's index in the list
    // Where the file that had the new name is now, when it went into the
    // trash before this file's move failed; empty otherwise.
    QString trashedPath;
};

// Every selected entry appears exactly once, in renamed, leftInPlace or
// unchanged; each list keeps list order.
struct RenameReport
{
    // A run that did not start touched nothing, not even the target.
    enum class Refusal {
        None,
        FolderBusy, // another run, in this process or another, holds the folder
        NoJournal,  // the journal could not be written, and the run could not be undone
        Plan,       // the new names worked out beforehand (by rules) refused the run
    };

    QList<RenamedFile> renamed;
    QList<LeftInPlaceFile> leftInPlace;
    // Selected files whose new name is the name they have: nothing to do,
    // and nothing went wrong.
    QStringList unchanged;
    Refusal refusal = Refusal::None;
    QString refusalMessage; // for the user, when refused
    bool stopped = false;   // stopRequested() ended the run early
    // The journal the run can be undone from; empty when none could be
    // written and the request allowed the run to go ahead without
    // (journalProblem says why). When the journal could not be written to
    // its end, journalPath is set and journalProblem says so: undo takes
    // back what it holds.
    QString journalPath;
    QString journalProblem;

    // Also counted when the run keeps no list of them.
    qsizetype renamedTotal = 0;
    qsizetype renamedCount() const { return renamedTotal; }
};

// What a run reports to the window while it goes. The run reads nothing
// from here but stopRequested(): the number and the filter it starts from
// are in the request. Every call does nothing by default, so a run without
// a window (the command line, a preview) can pass a plain RenameRunTarget.
class RenameRunTarget
{
public:
    virtual ~RenameRunTarget() = default;

    // The running number after each file that advances it; at the end the
    // number the box is left with.
    virtual void setNumberText(const QString &) {}
    // Percent in 0..100, set after every entry visited.
    virtual void setProgressValue(float) {}
    // The filter extension the list now shows, when the run changes it.
    virtual void setFilterText(const QString &) {}
    // Re-read the folder into the file lists; once, at the end.
    virtual void refreshLists() {}
    // A file has just got its new name (the same record ends up in the
    // report), so a record of the run can be kept as it happens.
    virtual void fileRenamed(const RenamedFile &) {}
    // Asked before each selected file: true stops the run there. Files set
    // aside are then put back in their place, the rest stay where they are
    // and the report says so.
    virtual bool stopRequested() { return false; }
};
