#pragma once

#include "rename/RunTypes.h"
#include "rename/TrashCan.h"

#include <QString>

class RunJournalWriter;

// Notes every move in the run's journal, and moves a file the run replaces
// into the trash first, so that the run can be taken back. A file is
// replaced only once it is in the trash and, where the run keeps a journal,
// noted there; the move itself then never replaces, so that a file that
// takes the name in between stays.
class JournaledOperations final : public RenameFileOperations
{
public:
    // What became of the file under the new name in the last move.
    enum class Keeping : quint8 {
        Free,     // nothing had the name
        InTrash,  // it went into the trash
        Refused,  // it could not be kept safe, and the move was not made
        LinkToIt, // the moved file is a link to it, and the move was not made
    };

    JournaledOperations(RenameFileOperations &inner, const FolderHandle &folder);

    // From here on every move is noted in journal; without one, a replaced
    // file still goes to the trash.
    void attach(RunJournalWriter *journal) { m_journal = journal; }

    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override;

    QString folderProblem(const FolderHandle &folder) override { return m_inner.folderProblem(folder); }
    bool changesFolder() const override { return m_inner.changesFolder(); }
    RunSystemCalls &systemCalls() override { return m_inner.systemCalls(); }

    // Read by the run once the move's outcome is known: the last move made
    // is the one it asks about.
    Keeping lastKeeping() const { return m_keeping; }
    QString lastTrashedPath() const { return m_trash.path() + QStringLiteral("/files/") + m_trashName; }

private:
    Keeping keepReplaced(const FolderHandle &folder, const QString &fromName, const QString &toName,
                         QString *error);
    QString journalFailure() const;

    RenameFileOperations &m_inner;
    TrashCan m_trash;
    RunJournalWriter *m_journal = nullptr;
    Keeping m_keeping = Keeping::Free;
    QString m_trashName; // of the last file moved into the trash
};
