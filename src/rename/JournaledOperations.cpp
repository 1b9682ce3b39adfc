#include "rename/JournaledOperations.h"

#include "rename/RunJournal.h"
#include "rename/RunText.h"

#include <fcntl.h>
#include <sys/stat.h>

JournaledOperations::JournaledOperations(RenameFileOperations &inner, const FolderHandle &folder)
    : m_inner(inner)
    , m_trash(folder, inner.systemCalls())
{
}

MoveOutcome JournaledOperations::renameFile(const FolderHandle &folder, const QString &fromName,
                                            const QString &toName, Mode mode, QString *error)
{
    m_keeping = Keeping::Free;
    if (mode == MoveMode::Replace) {
        m_keeping = keepReplaced(folder, fromName, toName, error);
        if (m_keeping == Keeping::Refused || m_keeping == Keeping::LinkToIt)
            return MoveOutcome::Failed;
    }
    const Outcome outcome = m_inner.renameFile(folder, fromName, toName, MoveMode::NoReplace, error);
    if (outcome == MoveOutcome::Done && m_journal)
        m_journal->noteMove(fromName, toName);
    return outcome;
}

JournaledOperations::Keeping JournaledOperations::keepReplaced(const FolderHandle &folder, const QString &fromName,
                                                               const QString &toName, QString *error)
{
    QByteArray buffer;
    struct stat victim;
    if (::fstatat(folder.descriptor(), FolderHandle::encodeName(toName, buffer), &victim, AT_SYMLINK_NOFOLLOW)
        != 0)
        return Keeping::Free;
    // A link is never put in the place of the file it points at: that
    // file stays where it is.
    if (folder.isLink(fromName)) {
        struct stat resolved;
        if (folder.linkPointsAt(fromName, toName)
            || (::fstatat(folder.descriptor(), FolderHandle::encodeName(fromName, buffer), &resolved, 0) == 0
                && resolved.st_dev == victim.st_dev && resolved.st_ino == victim.st_ino)) {
            *error = RunText::tr("the file is a link to the file that has the new name");
            return Keeping::LinkToIt;
        }
    }
    const auto refuse = [&](const QString &why) {
        *error = RunText::tr("the file \"%1\" that has the new name could not be put in a trash (%2), so it "
                             "was not replaced")
                     .arg(toName, why);
        return Keeping::Refused;
    };
    // Once the journal has missed a record, nothing more is replaced:
    // undo could not bring it back.
    if (m_journal && m_journal->hasFailed())
        return refuse(journalFailure());
    QString why;
    const std::optional<QString> trashName = m_trash.reserve(toName, &why);
    if (!trashName)
        return refuse(why);
    if (m_journal && !m_journal->noteTrashed(quint64(victim.st_ino), toName, m_trash.path(), *trashName)) {
        m_trash.release(*trashName);
        return refuse(journalFailure());
    }
    if (m_trash.moveIn(toName, *trashName, &why) != MoveOutcome::Done) {
        // Noted as trashed, it is still in the folder under its name:
        // undo finds it there and leaves it.
        m_trash.release(*trashName);
        return refuse(why.isEmpty() ? RunText::tr("a file of that name is in the trash already") : why);
    }
    m_trashName = *trashName;
    return Keeping::InTrash;
}

QString JournaledOperations::journalFailure() const
{
    return RunText::tr("the run's journal \"%1\" could not be written: %2")
        .arg(m_journal->path(), m_journal->failure());
}
