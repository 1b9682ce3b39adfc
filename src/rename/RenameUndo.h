#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// A file undo put back.
struct UndoneFile
{
    QString from; // where it was: a name in the folder, or a path in the trash
    QString to;   // its name before the run
};

enum class UndoLeftReason {
    Gone,              // the file is no longer where the run left it
    NewNameTaken,      // another file now has the name the run gave it
    OldNameTaken,      // another file now has its name from before the run
    Unclear,           // several entries are the file; none can be told to be it
    SystemError,       // the move back failed
    ReplacedNotInTrash, // a file the run replaced is no longer in the trash
    ReplacedNameTaken, // the name of a file the run replaced is taken again
    ReplacedLost,      // the run replaced a file where no trash could keep it
};

struct UndoLeftFile
{
    QString name;    // where the file is now (or was last seen)
    QString oldName; // its name before the run
    UndoLeftReason reason = UndoLeftReason::SystemError;
    QString message; // for the user
};

struct UndoReport
{
    enum class Status {
        Done,          // the run was taken back (files in left excepted)
        NothingToUndo, // no recorded run of the folder is left
        Refused,       // the folder cannot be read, or another run holds it
    };

    Status status = Status::NothingToUndo;
    QString message;     // for NothingToUndo and Refused
    QString journalPath; // the run taken back
    QDateTime runStarted;
    bool runWasComplete = true; // false: the run was cut off
    QList<UndoneFile> restored;
    QList<UndoLeftFile> left;
};

// Takes back the newest recorded run of folder that is not undone yet:
// every file of the run back under its old name, the files it replaced
// back from the trash. Nothing is ever replaced; a file that changed since
// is left where it is and reported, the rest are still put back. With
// dryRun, reports what would be done and changes nothing.
UndoReport UndoLastRun(const QString &folder, bool dryRun = false);

// Whether folder has a run that UndoLastRun() would take back.
bool HasRecordedRun(const QString &folder);

// A folder whose run was cut off and is not undone.
struct HalfRenamedFolder
{
    QString folder;
    QDateTime runStarted;
};
// Folders left half-renamed by runs that did not end (and are not running
// now), newest first.
QList<HalfRenamedFolder> FindHalfRenamedFolders();

// What the window reports after an undo: empty when every file went back.
QString UndoOutcomeMessage(const UndoReport &report);
// The one message naming the folders left half-renamed; empty for none.
QString HalfRenamedMessage(const QList<HalfRenamedFolder> &folders);
