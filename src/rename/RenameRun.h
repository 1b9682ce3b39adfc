#pragma once

#include "core/FolderHandle.h"
#include "rename/RenameReport.h"
#include "rename/RenameRequest.h"
#include "rename/RunTypes.h"

#include <QList>
#include <QString>

class FolderContent;

// How a run goes about its work, besides what it renames.
struct RunOptions
{
    // The file operations it renames through; the system's when null.
    RenameFileOperations *fileOperations = nullptr;
    // What the listing's read showed of the folder (see ListFolderFiles),
    // right after the folder was listed for the entries (one entry for each
    // name listed, in list order) under the lock the caller holds: it stands
    // in for a second read, and is used up. Where it does not fit the
    // entries, the folder is read as usual.
    FolderContent *listedContent = nullptr;
    // False when the target's fileRenamed is the whole record it needs: the
    // report then only counts the renamed files, and a run of many files
    // holds no line per file.
    bool keepRenamedList = true;
    // True when the caller can take each file's outcome some files after the
    // run has moved on: the moves are then made in batches on a second
    // thread while the run decides the next files. The running number and
    // the progress may run up to 192 files ahead of the moves; the renames
    // still reach the target in list order, on the caller's thread.
    bool batchedMoves = false;
};

// Renames the selected entries of folder, in list order, as the request says,
// each within the folder by one atomic rename, and reports to the window
// through target.
//
// Every look-up and move happens in the folder the handle has open, whatever
// becomes of its path. Unless the operations change nothing, the folder is
// locked for the whole run (the lock lasts as long as the handle; the caller
// may hold it already, to list the folder for the run): a second run on the
// same folder is refused at once (report.refusal) while this one lasts.
//
// The running number starts from request.numberText, is reported after
// every file and, unless request.rememberNumber, set back at the end; the
// progress is reported after every entry; then the filter rule (against
// request.filterExtension), the number and one refresh. Nothing is asked and
// nothing is shown: the report says what happened to every selected file.
// With SimulatedFileOperations() nothing on disk changes and the report says
// what a real run would do.
RenameReport RunRename(const FolderHandle &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, const RunOptions &options = {});

// The message of a run refused because another holds the folder.
QString FolderBusyMessage(const QString &folder);
// The message of a run refused because its journal could not be written.
QString NoJournalMessage(const QString &folder, const QString &problem);
