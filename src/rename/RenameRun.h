#pragma once

#include "core/FolderHandle.h"
#include "rename/RenameRequest.h"
#include "rename/RunSystemCalls.h"

#include <QList>
#include <QString>
#include <QStringList>

class FolderContent;

// One entry of the file list, in list order.
struct RenameEntry
{
    QString name;
    bool selected = false;
};

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

// What a run reports back to the window while it goes. The run reads
// nothing from here but stopRequested(): the number and the filter it starts
// from are in the request. Every call does nothing by default, so a run
// without a window (the command line, a preview) can pass a plain
// RenameRunTarget.
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
    // aside are then put in their place, the rest stay where they are and
    // the report tells so.
    virtual bool stopRequested() { return false; }
    // False when fileRenamed is the whole record the target needs: the
    // report then only counts the renamed files, and a run of many files
    // holds no line per file.
    virtual bool keepsRenamedList() const { return true; }
    // True when the target needs each file's outcome in list order, but not
    // at the moment of its move: the run may then make several moves back
    // to back and tell of them after, with the number and progress calls of
    // those files coming before their moves. Moves go ahead exactly as one
    // by one; only the telling is later.
    virtual bool takesOutcomesAfterMoves() const { return false; }
};

// The file operation a run performs, in the folder the run has opened. The
// system one renames on disk; the simulated one changes nothing, so a run
// through it reports what a real run would do (collision rules included)
// without touching a file.
class RenameFileOperations
{
public:
    using Outcome = MoveOutcome;
    using Mode = MoveMode;

    virtual ~RenameFileOperations() = default;

    // Gives the file fromName of folder the name toName, as one atomic step.
    // NoReplace answers TargetExists when anything has the name toName;
    // Replace swaps an existing file of that name for the moved one. On
    // Failed, *error holds the system's text.
    virtual Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                               QString *error) = 0;

    // Why no file of the folder could be renamed, asked once before the
    // first file; empty when renaming may go ahead. A real run finds out
    // file by file; a simulated one asks here so that it tells no more than
    // a real run could do.
    virtual QString folderProblem(const FolderHandle &) { return {}; }

    // Whether these operations change the folder, and so need it to
    // themselves for the whole run: a simulated run takes no lock and is
    // never refused.
    virtual bool changesFolder() const { return true; }

    // Whether a run through these operations keeps a journal it can be
    // undone from, and moves files it replaces into the trash.
    virtual bool keepsJournal() const { return changesFolder(); }

    // The system calls of the run's trash and journal.
    virtual RunSystemCalls &systemCalls() { return RunSystemCalls::system(); }
};

RenameFileOperations &SystemFileOperations();
RenameFileOperations &SimulatedFileOperations();

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
    // (journalProblem tells why). When the journal could not be written to
    // its end, journalPath is set and journalProblem tells so: undo takes
    // back what it holds.
    QString journalPath;
    QString journalProblem;

    // Also counted when the target keeps no list of them.
    qsizetype renamedTotal = 0;
    qsizetype renamedCount() const { return renamedTotal; }
};

// Renames the selected entries of folder, in list order, as the request says,
// each within the folder by one atomic rename, and reports to the window
// through target.
//
// The folder is opened once and, unless the operations change nothing,
// locked for the whole run: every look-up and move happens in the folder
// that was opened, whatever becomes of its path, and a second run on the
// same folder is refused at once (report.refusal) while this one lasts.
//
// The running number starts from request.numberText, is reported after
// every file and, unless request.rememberNumber, set back at the end; the
// progress is reported after every entry; then the filter rule (against
// request.filterExtension), the number and one refresh. Nothing is asked and
// nothing is shown: the report tells what happened to every selected file.
// With SimulatedFileOperations() nothing on disk changes and the report tells
// what a real run would do.
RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target);
RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations);
// The same in a folder the caller has opened (and may have locked already,
// to list it for the run); the lock taken here lasts as long as the handle.
RenameReport RunRename(const FolderHandle &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations);

// The same, right after the folder was listed for entries (one entry for
// each name listed, in list order) under the lock the caller holds: what
// the listing's read showed of the folder (see ListFolderFiles) stands in
// for a second read. listedContent is used up; where it does not fit the
// entries, the folder is read as usual.
RenameReport RunRename(const FolderHandle &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations, FolderContent *listedContent);

// The message of a run refused because another holds the folder.
QString FolderBusyMessage(const QString &folder);
// The message of a run refused because its journal could not be written.
QString NoJournalMessage(const QString &folder, const QString &problem);
