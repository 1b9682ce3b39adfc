// The part of the one-file rules that moves made later, in batches, go
// through: which move is plain enough to plan, and how a file's turn goes on
// when its planned move did not go through.

#include "rename/FileRenamer.h"

#include "rename/MoveQueue.h"
#include "rename/PlatformFiles.h"
#include "rename/RunText.h"

bool FileRenamer::planMove(int i, const QString &newName, bool caseBlind, QueuedMove *move)
{
    lookAhead(i + kLookAhead);
    const EntryState &state = m_states.at(i);
    const QString &name = m_entries.at(i).name;
    // A missing file, one moved already (aside, or by an earlier failure), a
    // link, a name kept or a folder that cannot be written: rename() decides.
    if (!state.present || state.moved || state.link || !m_folderProblem.isEmpty() || newName == name)
        return false;
    const bool caseOnly = PlatformFiles::sameFoldedName(newName, name);
    if (caseOnly && caseBlind)
        return false;
    bool leavesFolder = false;
    if (!PlatformFiles::nameProblem(newName, m_maxNameLength, &leavesFolder).isEmpty())
        return false;
    const size_t toHash = hashOfNewName(newName);
    if (m_request.keepExisting) {
        if (isTakenByOther(i, newName, toHash))
            return false;
    } else {
        // Replacing, the plain way is the one where nothing but the file
        // itself answers to the new name: nothing to set aside, keep or trash.
        bool alike = false;
        m_index.forEachAlike(newName, toHash, [&](const FolderIndex::Entry &entry) {
            alike = entry.holder != i;
            return !alike;
        });
        if (alike)
            return false;
    }
    move->entry = i;
    move->from = name;
    move->to = newName;
    // A change of letter case alone is first tried never replacing, as move()
    // does: refused, it needs the detour.
    move->mode = caseOnly || m_request.keepExisting ? Mode::NoReplace : Mode::Replace;
    move->fromHash = locationHash(i);
    move->toHash = toHash;
    move->caseOnly = caseOnly;
    m_states[i].done = true;
    relocate(i, newName, toHash, false);
    return true;
}

void FileRenamer::plannedMoveMade(const QueuedMove &move)
{
    renamed(move.entry, move.to, RenamedFile::Way::AsComposed);
}

// The index has been taken back to before the plan: the file is under its
// own name, and its one move was tried.
void FileRenamer::plannedMoveFailed(QueuedMove &move)
{
    const int i = move.entry;
    m_states[i].done = true;
    m_linkRefused = false;
    Outcome outcome = move.outcome;
    if (move.caseOnly && outcome == Outcome::TargetExists)
        outcome = changeCaseByDetour(i, move.to, move.toHash, m_request.keepExisting ? Mode::NoReplace : Mode::Replace,
                                     &move.error);
    if (outcome == Outcome::Done)
        renamed(i, move.to, RenamedFile::Way::AsComposed);
    else if (!m_request.keepExisting)
        leaveAfterMove(i, move.to, outcome, move.error);
    else if (outcome == Outcome::TargetExists)
        moveToFreeName(i, move.to, true);
    else
        skip(i, move.to, failureReason(), RunText::tr("the rename failed: ") + move.error);
}

void FileRenamer::takeBack(const QueuedMove &move)
{
    EntryState &state = m_states[move.entry];
    m_index.removeHeld(move.toHash, move.entry);
    m_index.restoreListed(move.entry, move.fromHash, state.link);
    state.location = {};
    state.moved = false;
    state.done = false;
}
