#pragma once

#include "rename/FolderIndex.h"
#include "rename/RenameReport.h"
#include "rename/RenameRequest.h"
#include "rename/RunTypes.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

class FolderContent;
class JournaledOperations;
struct QueuedMove;
class RunJournalWriter;

// The rules that move one selected file to its new name: the search for a
// free name, replacing a file of the folder, setting a selected file aside
// that waits for its own turn and putting it back, and the detour for a
// change of letter case alone. The run calls rename() for each selected
// file in list order; everything it learns of the folder is kept in its
// index, so collision questions never go back to the disk.
class FileRenamer
{
public:
    // journaled: the operations when they are the journal's, for what
    // became of a file a move would have replaced. keepRenamedList: false
    // when the report only counts the renamed files.
    FileRenamer(const FolderHandle &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                RenameFileOperations &operations, const JournaledOperations *journaled, RenameRunTarget &target,
                RenameReport &report, bool keepRenamedList, FolderContent *listedContent);

    // Every file the run may move, by its name and inode.
    void writePlan(RunJournalWriter &journal) const;
    // What the folder showed of each file is no longer needed once the plan
    // is written.
    void forgetFound() { std::vector<FolderIndex::SelectedFile>().swap(m_found); }

    // Fetches where the index will look up name, some time before it does.
    void prefetchName(const QString &name);
    // Gives entry i the name newName, or leaves it where it is and reports why.
    void rename(int i, const QString &newName);
    // Leaves entry i where it is, for the reason given.
    void skip(int i, const QString &newName, LeftInPlaceReason reason, const QString &message);
    // Files still under a temporary name, because their own turn failed or
    // never came, go back under their own name, or a free variant of it.
    void restoreSetAside();

    // For moves made later, in batches (see BatchedMoves): plans entry i's
    // move to newName when the file takes the plain way, the one rename()
    // would make at once with nothing else to decide. The index then shows
    // the move as made, so that later files are decided as they would be
    // after it. False, with nothing changed, for any other way.
    // caseBlind: a change of letter case alone is known to need the detour.
    bool planMove(int i, const QString &newName, bool caseBlind, QueuedMove *move);
    // A planned move that went through.
    void plannedMoveMade(const QueuedMove &move);
    // A planned move that did not go through on its one attempt: the file's
    // turn goes on from there as rename() would have gone on.
    void plannedMoveFailed(QueuedMove &move);
    // The index as it was before the move was planned; the file's turn is
    // still to come.
    void takeBack(const QueuedMove &move);

private:
    using Outcome = RenameFileOperations::Outcome;
    using Mode = RenameFileOperations::Mode;

    // Sixteen bytes a file: a run over a large folder holds one per entry.
    struct EntryState
    {
        qint32 reportIndex = -1;
        FolderIndex::NameRef location; // the current name, once moved
        bool moved : 1 = false;        // no longer under its own name
        bool present : 1 = false;
        bool link : 1 = false; // a symbolic link
        bool listedTwice : 1 = false;
        bool aside : 1 = false; // under a temporary name
        bool done : 1 = false;  // its turn has come
    };

    // The file's current name in the folder. Until the run moves it, that
    // is its name in the list; after, the name the index holds. Neither is
    // copied: a copy of every name would touch the memory of every name
    // once more.
    QStringView locationOf(int i) const
    {
        const EntryState &state = m_states.at(i);
        return state.moved ? m_index.nameAt(state.location) : QStringView(m_entries.at(i).name);
    }
    // The same as text to pass to the file operations, only for the length
    // of that call: it reads the index's memory, which moves as it grows.
    QString locationText(int i) const
    {
        const EntryState &state = m_states.at(i);
        if (!state.moved)
            return m_entries.at(i).name;
        const QStringView name = m_index.nameAt(state.location);
        return QString::fromRawData(reinterpret_cast<const QChar *>(name.utf16()), name.size());
    }
    LeftInPlaceReason failureReason() const
    {
        return m_linkRefused ? LeftInPlaceReason::LinkToNewName : LeftInPlaceReason::SystemError;
    }
    void renamed(int i, const QString &newName, RenamedFile::Way way);
    bool isTakenByOther(int i, const QString &candidate, size_t hash) const;
    void moveToFreeName(int i, const QString &newName, bool composedTaken = false);
    void moveReplacing(int i, const QString &newName);
    void leaveAfterMove(int i, const QString &newName, Outcome outcome, const QString &error);
    QString temporaryName(int i);
    bool setAside(int i, QString *error);
    void putBack(int i);
    size_t hashOfNewName(const QString &name) const;
    void lookAhead(qsizetype j);
    size_t locationHash(int i) const;
    void relocate(int i, const QString &to, size_t toHash, bool aside);
    Outcome move(int i, const QString &to, size_t toHash, Mode mode, QString *error);
    Outcome moveOnce(int i, const QString &to, size_t toHash, Mode mode, QString *error, bool aside = false);
    Outcome changeCaseByDetour(int i, const QString &to, size_t toHash, Mode mode, QString *error);

    const FolderHandle &m_folder;
    const QList<RenameEntry> &m_entries;
    const RenameRequest &m_request;
    RenameFileOperations &m_operations;
    const JournaledOperations *m_journaled;
    RenameRunTarget &m_target;
    RenameReport &m_report;
    QString m_folderProblem;
    bool m_linkRefused = false;
    FolderIndex m_index;
    std::vector<FolderIndex::SelectedFile> m_found; // until the plan is written
    bool m_folderRead = false;
    int m_maxNameLength = 255;
    QList<EntryState> m_states;
    static constexpr int kLookAhead = 8;
    struct AheadHash
    {
        qsizetype entry = -1;
        size_t hash = 0;
    };
    // Twice the distance: an entry's hash stays until its own turn is over.
    AheadHash m_ahead[2 * kLookAhead];
    QString m_prefetchedName;
    size_t m_prefetchedHash = 0;
    bool m_keepRenamed = true;
    qint64 m_pid = 0;
    int m_asideCounter = 0;
};
