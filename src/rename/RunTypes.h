#pragma once

#include "core/FolderHandle.h"
#include "rename/RunSystemCalls.h"

#include <QString>

// One entry of the file list, in list order.
struct RenameEntry
{
    QString name;
    bool selected = false;
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
    // file by file; a simulated one asks here so that it reports no more
    // than a real run could do.
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
