#pragma once

#include "rename/RenameRequest.h"

#include <QList>
#include <QString>
#include <QStringList>

// One entry of the file list, in list order.
struct RenameEntry
{
    QString name;
    bool selected = false;
};

// What a run reads and sets on the window.
class RenameRunTarget
{
public:
    virtual ~RenameRunTarget() = default;

    virtual QString numberText() const = 0;
    virtual void setNumberText(const QString &text) = 0;
    // Percent in 0..100, set after every entry visited.
    virtual void setProgressValue(float percent) = 0;
    virtual QString filterText() const = 0;
    virtual void setFilterText(const QString &text) = 0;
    // Re-read the folder into both file lists.
    virtual void refreshLists() = 0;
};

// A target without a window: keeps the values, counts the refreshes. Serves
// command-line runs and tests.
class DetachedRunTarget : public RenameRunTarget
{
public:
    QString number;
    QString filter;
    float progress = 0.0F;
    QList<float> progressHistory;
    int refreshCount = 0;

    QString numberText() const override { return number; }
    void setNumberText(const QString &text) override { number = text; }
    void setProgressValue(float percent) override
    {
        progress = percent;
        progressHistory.append(percent);
    }
    QString filterText() const override { return filter; }
    void setFilterText(const QString &text) override { filter = text; }
    void refreshLists() override { ++refreshCount; }
};

// The file operation a run performs. The system one renames on disk; the
// simulated one changes nothing, so a run through it reports what a real run
// would do (collision rules included) without touching a file.
class RenameFileOperations
{
public:
    enum class Outcome { Done, TargetExists, Failed };
    enum class Mode { NoReplace, Replace };

    virtual ~RenameFileOperations() = default;

    // Gives the file fromName of folder the name toName, as one atomic step.
    // NoReplace answers TargetExists when anything has the name toName;
    // Replace swaps an existing file of that name for the moved one. On
    // Failed, *error holds the system's text.
    virtual Outcome renameFile(const QString &folder, const QString &fromName, const QString &toName, Mode mode,
                               QString *error) = 0;
};

RenameFileOperations &SystemFileOperations();
RenameFileOperations &SimulatedFileOperations();

struct RenamedFile
{
    QString oldName;
    QString newName;
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
};

struct RenameReport
{
    QList<RenamedFile> renamed;
    QList<LeftInPlaceFile> leftInPlace;
    // Selected files whose new name is the name they have: nothing to do,
    // and nothing went wrong.
    QStringList unchanged;

    qsizetype renamedCount() const { return renamed.size(); }
};

// Renames the selected entries of folder, in list order, as the request says,
// each within the folder by one atomic rename, and brings the window up to
// date through target. The running number starts from target.numberText()
// (the number box as it is now), is written back after every file and, unless
// request.rememberNumber, restored at the end; the progress is set after every
// entry; then the filter rule, the number and one refresh. Nothing is asked
// and nothing is shown: the report tells what happened to every selected file.
// With SimulatedFileOperations() nothing on disk changes and the report tells
// what a real run would do.
RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target);
RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations);
