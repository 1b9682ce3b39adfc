#include "rename/FileRenamer.h"

#include "core/FolderContent.h"
#include "core/MemoryPages.h"
#include "rename/JournaledOperations.h"
#include "rename/NameComposition.h"
#include "rename/PlatformFiles.h"
#include "rename/RunJournal.h"
#include "rename/RunText.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace {

QString underscored(const QString &name)
{
    const SplitName parts = SplitExtension(name);
    if (parts.extension.isEmpty())
        return name + QLatin1Char('_');
    QString result = name;
    return result.replace(parts.extension, QLatin1Char('_') + parts.extension, Qt::CaseInsensitive);
}

} // namespace

FileRenamer::FileRenamer(const FolderHandle &folder, const QList<RenameEntry> &entries,
                         const RenameRequest &request, RenameFileOperations &operations,
                         const JournaledOperations *journaled, RenameRunTarget &target, RenameReport &report,
                         bool keepRenamedList, FolderContent *listedContent)
    : m_folder(folder)
    , m_entries(entries)
    , m_request(request)
    , m_operations(operations)
    , m_journaled(journaled)
    , m_target(target)
    , m_report(report)
    , m_keepRenamed(keepRenamedList)
    , m_pid(QCoreApplication::applicationPid())
{
    ResizePrepared(m_states, size_t(entries.size()));
    // Each selected file that is really there belongs to one entry: these
    // are the files the run must never destroy.
    if (listedContent && listedContent->listed.size() == size_t(entries.size())) {
        m_index.load(*listedContent, entries, m_found);
        m_folderRead = true;
    } else {
        m_folderRead = m_index.load(folder, entries, m_found);
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const FolderIndex::SelectedFile &found = m_found[size_t(i)];
        EntryState &state = m_states[i];
        state.present = found.present;
        state.link = found.link;
        state.listedTwice = found.listedTwice;
    }
    if (m_keepRenamed)
        m_report.renamed.reserve(
            std::count_if(entries.cbegin(), entries.cend(), [](const RenameEntry &e) { return e.selected; }));
    m_maxNameLength = folder.maxNameLength();
    if (m_folderRead)
        m_folderProblem = operations.folderProblem(folder);
    for (int j = 0; j < kLookAhead; ++j)
        lookAhead(j);
}

void FileRenamer::writePlan(RunJournalWriter &journal) const
{
    for (qsizetype i = 0; i < m_states.size(); ++i) {
        if (m_states.at(i).present)
            journal.addFile(m_found[size_t(i)].inode, m_entries.at(i).name);
    }
}

void FileRenamer::prefetchName(const QString &name)
{
    m_prefetchedHash = m_index.hashOf(name);
    m_prefetchedName = name;
    m_index.prefetch(m_prefetchedHash);
}

void FileRenamer::rename(int i, const QString &newName)
{
    lookAhead(i + kLookAhead);
    EntryState &state = m_states[i];
    state.done = true;
    if (!state.present) {
        skip(i, newName, LeftInPlaceReason::NotInFolder,
             !m_folderRead       ? (QFileInfo(m_folder.path()).isDir() ? RunText::tr("the folder cannot be read")
                                                                : RunText::tr("the folder no longer exists"))
             : state.listedTwice ? RunText::tr("the file is listed more than once")
                                 : RunText::tr("it is no longer in the folder"));
        return;
    }
    bool leavesFolder = false;
    const QString problem = PlatformFiles::nameProblem(newName, m_maxNameLength, &leavesFolder);
    if (!problem.isEmpty()) {
        skip(i, newName, leavesFolder ? LeftInPlaceReason::LeavesFolder : LeftInPlaceReason::InvalidName, problem);
        return;
    }
    if (newName == locationOf(i)) {
        if (newName == m_entries.at(i).name)
            m_report.unchanged.append(newName);
        else
            skip(i, newName, LeftInPlaceReason::SameName, RunText::tr("the new name is the file's current name"));
        return;
    }
    if (!m_folderProblem.isEmpty()) {
        skip(i, newName, LeftInPlaceReason::FolderNotWritable, m_folderProblem);
        return;
    }
    if (m_request.keepExisting)
        moveToFreeName(i, newName);
    else
        moveReplacing(i, newName);
}

void FileRenamer::skip(int i, const QString &newName, LeftInPlaceReason reason, const QString &message)
{
    m_states[i].done = true;
    const QString &name = m_entries.at(i).name;
    m_report.leftInPlace.append({name, newName, reason, message, name, i, {}});
    m_states[i].reportIndex = qint32(m_report.leftInPlace.size() - 1);
}

void FileRenamer::restoreSetAside()
{
    for (qsizetype i = 0; i < m_states.size(); ++i) {
        if (m_states.at(i).aside)
            putBack(int(i));
    }
}

// Under its own name if that is free, else under the first free variant.
void FileRenamer::putBack(int i)
{
    const QString &name = m_entries.at(i).name;
    QString candidate = name;
    QString error;
    for (;;) {
        bool leaves = false;
        if (!PlatformFiles::nameProblem(candidate, m_maxNameLength, &leaves).isEmpty())
            break;
        const size_t hash = m_index.hashOf(candidate);
        if (m_index.find(candidate, hash) >= 0
            || move(i, candidate, hash, Mode::NoReplace, &error) == Outcome::TargetExists) {
            candidate = underscored(candidate);
            continue;
        }
        break;
    }
    const EntryState &state = m_states.at(i);
    if (state.reportIndex < 0)
        return;
    LeftInPlaceFile &left = m_report.leftInPlace[state.reportIndex];
    left.currentName = locationOf(i).toString();
    if (state.aside) {
        left.message += RunText::tr("; it could not be put back under its own name and is now \"%1\"%2")
                            .arg(locationOf(i), error.isEmpty() ? QString() : QStringLiteral(" (") + error + u')');
    } else if (locationOf(i) != name) {
        left.message +=
            RunText::tr("; a file renamed in this run took its name, so it is now \"%1\"").arg(locationOf(i));
    }
}

void FileRenamer::renamed(int i, const QString &newName, RenamedFile::Way way)
{
    if (newName == m_entries.at(i).name) {
        m_report.unchanged.append(newName);
        return;
    }
    ++m_report.renamedTotal;
    const RenamedFile file{m_entries.at(i).name, newName, way, i};
    m_target.fileRenamed(file);
    if (m_keepRenamed)
        m_report.renamed.append(file);
}

// Whether something other than entry i's file answers to candidate: a
// visible file the existence probe would find, or anything at all under
// exactly that name.
bool FileRenamer::isTakenByOther(int i, const QString &candidate, size_t hash) const
{
    const QStringView location = locationOf(i);
    bool taken = false;
    m_index.forEachAlike(candidate, hash, [&](const FolderIndex::Entry &entry) {
        if (entry.name == location)
            return true;
        taken = entry.name == candidate || (entry.ordinary && !PlatformFiles::isHiddenName(entry.name));
        return !taken;
    });
    return taken;
}

// Never replaces anything: while the name is taken, "_" goes before its
// extension (or after a name without one). Every step makes the name longer,
// so the search ends at the file system's length limit.
// composedTaken: a move to newName has been refused as taken already.
void FileRenamer::moveToFreeName(int i, const QString &newName, bool composedTaken)
{
    // newName itself, until it turns out to be taken; then its variant.
    QString variant;
    const QString *candidate = &newName;
    const auto nextVariant = [&] { candidate = &(variant = underscored(*candidate)); };
    if (composedTaken)
        nextVariant();
    for (;;) {
        if (candidate != &newName) {
            bool leaves = false;
            if (!PlatformFiles::nameProblem(*candidate, m_maxNameLength, &leaves).isEmpty()) {
                skip(i, newName, LeftInPlaceReason::NoFreeName,
                     RunText::tr("a file with the new name already exists, and no free variant of the "
                                 "name fits the file system"));
                return;
            }
        }
        const size_t hash = candidate == &newName ? hashOfNewName(newName) : m_index.hashOf(*candidate);
        if (isTakenByOther(i, *candidate, hash)) {
            nextVariant();
            continue;
        }
        QString error;
        switch (move(i, *candidate, hash, Mode::NoReplace, &error)) {
        case Outcome::Done:
            renamed(i, *candidate,
                    candidate == &newName ? RenamedFile::Way::AsComposed : RenamedFile::Way::FreeVariant);
            return;
        case Outcome::TargetExists:
            // Appeared since the folder was read.
            nextVariant();
            continue;
        case Outcome::Failed:
            skip(i, *candidate, failureReason(), RunText::tr("the rename failed: ") + error);
            return;
        }
    }
}

// Replaces what is under the new name, except the run's own files: one still
// waiting for its turn is moved out of the way first, one already handled
// keeps its name and this file takes a free variant instead. A file of the
// folder whose name differs only in letter case is taken as in the way too,
// as when keeping existing files, but it does not have the new name, so it
// is not replaced: this file takes a free variant (on a file system that
// tells case apart, the two would otherwise stand side by side).
void FileRenamer::moveReplacing(int i, const QString &newName)
{
    bool heldByRun = false;
    bool heldInOtherCase = false;
    bool heldByNonFile = false;
    QList<int> waiting;
    const size_t hash = hashOfNewName(newName);
    m_index.forEachAlike(newName, hash, [&](const FolderIndex::Entry &entry) {
        if (entry.holder == i)
            return true;
        if (entry.holder >= 0) {
            const EntryState &holder = m_states.at(entry.holder);
            if (holder.done || holder.aside)
                heldByRun = true;
            else
                waiting.append(entry.holder);
        } else if (entry.name == newName && !entry.ordinary) {
            heldByNonFile = true;
        } else if (entry.name != newName && entry.ordinary && !PlatformFiles::isHiddenName(entry.name)) {
            heldInOtherCase = true;
        }
        return true;
    });
    for (int j : std::as_const(waiting)) {
        QString error;
        if (!setAside(j, &error)) {
            skip(i, newName, LeftInPlaceReason::MoveAsideFailed,
                 RunText::tr("the selected file \"%1\" has the new name and could not be moved out of the "
                             "way: %2")
                     .arg(m_entries.at(j).name, error));
            return;
        }
    }
    if (heldByRun || heldInOtherCase) {
        moveToFreeName(i, newName);
        return;
    }
    if (heldByNonFile) {
        skip(i, newName, LeftInPlaceReason::HeldByNonFile,
             RunText::tr("a folder or other entry that is not a file has the new name"));
        return;
    }
    // What still has exactly this name, the waiting files being out of the
    // way, is a file of the folder the move replaces.
    const qsizetype existing = m_index.find(newName, hash);
    const bool replaces = existing >= 0 && m_index.holder(existing) != i;
    QString error;
    const Outcome outcome = move(i, newName, hash, Mode::Replace, &error);
    if (outcome == Outcome::Done)
        renamed(i, newName, replaces ? RenamedFile::Way::ReplacedExisting : RenamedFile::Way::AsComposed);
    else
        leaveAfterMove(i, newName, outcome, error);
}

// File i stays after its move to newName, which might have replaced a file,
// did not go through.
void FileRenamer::leaveAfterMove(int i, const QString &newName, Outcome outcome, const QString &error)
{
    using Keeping = JournaledOperations::Keeping;
    const Keeping keeping = m_journaled ? m_journaled->lastKeeping() : Keeping::Free;
    const QString trashed = keeping == Keeping::InTrash ? m_journaled->lastTrashedPath() : QString();
    if (outcome == Outcome::TargetExists)
        skip(i, newName, LeftInPlaceReason::TakenDuringRun,
             RunText::tr("another file took the new name while the run went on, and was not replaced"));
    else if (keeping == Keeping::Refused)
        skip(i, newName, LeftInPlaceReason::ReplacedNotKept, error);
    else if (keeping == Keeping::LinkToIt)
        skip(i, newName, LeftInPlaceReason::LinkToNewName, error);
    else
        skip(i, newName, failureReason(), RunText::tr("the rename failed: ") + error);
    if (trashed.isEmpty())
        return;
    LeftInPlaceFile &left = m_report.leftInPlace.last();
    left.trashedPath = trashed;
    left.message += RunText::tr("; the file that had the new name is in the trash as \"%1\"").arg(trashed);
}

// A hidden name that still says whose file it is, should the run be cut
// short: ".quillmere-PID-N-" and as much of the file's own name as the file
// system allows.
QString FileRenamer::temporaryName(int i)
{
    QString name = QStringLiteral(".quillmere-%1-%2-").arg(m_pid).arg(m_asideCounter++);
    name += m_entries.at(i).name;
    while (name.size() * 3 > m_maxNameLength && FolderHandle::encodeName(name).size() > m_maxNameLength)
        name.chop(name.back().isLowSurrogate() && name.size() >= 2 && name.at(name.size() - 2).isHighSurrogate()
                      ? 2
                      : 1);
    return name;
}

bool FileRenamer::setAside(int i, QString *error)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString temporary = temporaryName(i);
        const size_t hash = m_index.hashOf(temporary);
        if (m_index.find(temporary, hash) >= 0)
            continue;
        const Outcome outcome = moveOnce(i, temporary, hash, Mode::NoReplace, error, true);
        if (outcome != Outcome::TargetExists)
            return outcome == Outcome::Done;
    }
    *error = RunText::tr("no free temporary name");
    return false;
}

// The hash of a new name, worked out already when it was prefetched: the
// same text, shared, is the same name.
size_t FileRenamer::hashOfNewName(const QString &name) const
{
    if (name.constData() == m_prefetchedName.constData() && name.size() == m_prefetchedName.size()
        && !name.isNull())
        return m_prefetchedHash;
    return m_index.hashOf(name);
}

// The hash of entry j's own name, and a fetch of where the index keeps it,
// some files before its turn: taking the name out of the index after the
// move then finds it in the cache.
void FileRenamer::lookAhead(qsizetype j)
{
    if (j >= m_states.size() || !m_entries.at(j).selected || !m_states.at(j).present)
        return;
    const size_t hash = m_index.hashOf(m_entries.at(j).name);
    m_index.prefetch(hash);
    AheadHash &ahead = m_ahead[size_t(j) % std::size(m_ahead)];
    ahead.entry = j;
    ahead.hash = hash;
}

size_t FileRenamer::locationHash(int i) const
{
    const AheadHash &ahead = m_ahead[size_t(i) % std::size(m_ahead)];
    if (ahead.entry == i && !m_states.at(i).moved)
        return ahead.hash;
    return m_index.hashOf(locationOf(i));
}

void FileRenamer::relocate(int i, const QString &to, size_t toHash, bool aside)
{
    EntryState &state = m_states[i];
    m_index.removeHeld(locationHash(i), i);
    const qsizetype slot = m_index.add(to, toHash, true, i, state.link);
    state.location = m_index.nameRef(slot);
    state.moved = true;
    state.aside = aside;
}

FileRenamer::Outcome FileRenamer::move(int i, const QString &to, size_t toHash, Mode mode, QString *error)
{
    m_linkRefused = false;
    if (to == locationOf(i))
        return Outcome::Done;
    // Named like its target, a link would point at itself, and the file it
    // stood for would be out of reach: also when the run has just moved that
    // file aside or renamed it.
    if (m_states.at(i).link && m_folder.linkPointsAt(locationOf(i), to)) {
        m_linkRefused = true;
        *error = RunText::tr("the file is a link to \"%1\", and under that name it would point at itself").arg(to);
        return Outcome::Failed;
    }
    // Where letter case does not count, the file system sees one name in
    // both, and a rename to the other case would do nothing; a detour over a
    // temporary name changes the case everywhere. Where case counts, a rename
    // that never replaces does it in one step, and is refused just where the
    // detour is needed: the name is taken, by the file itself or by another.
    if (PlatformFiles::sameFoldedName(to, locationOf(i))) {
        const Outcome direct = moveOnce(i, to, toHash, Mode::NoReplace, error);
        if (direct != Outcome::TargetExists)
            return direct;
        return changeCaseByDetour(i, to, toHash, mode, error);
    }
    return moveOnce(i, to, toHash, mode, error);
}

// One move of file i from where it is now, and the index kept current.
FileRenamer::Outcome FileRenamer::moveOnce(int i, const QString &to, size_t toHash, Mode mode, QString *error,
                                           bool aside)
{
    const Outcome outcome = m_operations.renameFile(m_folder, locationText(i), to, mode, error);
    if (outcome == Outcome::Done)
        relocate(i, to, toHash, aside);
    return outcome;
}

// After the direct move to a name that differs from the file's own only in
// letter case was refused as taken.
FileRenamer::Outcome FileRenamer::changeCaseByDetour(int i, const QString &to, size_t toHash, Mode mode,
                                                     QString *error)
{
    if (!setAside(i, error))
        return Outcome::Failed;
    return moveOnce(i, to, toHash, mode, error);
}
