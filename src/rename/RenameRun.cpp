#include "rename/RenameRun.h"

#include "core/FolderContent.h"
#include "core/MemoryPages.h"
#include "core/NumberText.h"
#include "rename/NameComposition.h"
#include "rename/FolderIndex.h"
#include "rename/JournaledOperations.h"
#include "rename/MoveQueue.h"
#include "rename/PlatformFiles.h"
#include "rename/RunJournal.h"
#include "rename/TrashCan.h"
#include "rename/RunText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using Outcome = RenameFileOperations::Outcome;
using Mode = RenameFileOperations::Mode;

class SystemOperations final : public RenameFileOperations
{
public:
    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        return folder.move(fromName, toName, mode, error);
    }
};

class SimulatedOperations final : public RenameFileOperations
{
public:
    Outcome renameFile(const FolderHandle &, const QString &, const QString &, Mode, QString *) override
    {
        return Outcome::Done;
    }

    QString folderProblem(const FolderHandle &folder) override
    {
        QString whyNot;
        return folder.isWritable(&whyNot) ? QString() : RunText::tr("the folder cannot be written: ") + whyNot;
    }

    bool changesFolder() const override { return false; }
};

QString underscored(const QString &name)
{
    const SplitName parts = SplitExtension(name);
    if (parts.extension.isEmpty())
        return name + QLatin1Char('_');
    QString result = name;
    return result.replace(parts.extension, QLatin1Char('_') + parts.extension, Qt::CaseInsensitive);
}

// The renaming of the selected files themselves; the window side (number,
// progress, filter, refresh) stays in RunRename.
class FileRenamer
{
public:
    // journaled: the operations when they are the journal's, for what
    // became of a file a move would have replaced.
    FileRenamer(const FolderHandle &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                RenameFileOperations &operations, const JournaledOperations *journaled, RenameRunTarget &target,
                RenameReport &report, FolderContent *listedContent)
        : m_folder(folder)
        , m_entries(entries)
        , m_request(request)
        , m_operations(operations)
        , m_journaled(journaled)
        , m_target(target)
        , m_report(report)
        , m_keepRenamed(target.keepsRenamedList())
        , m_batching(target.takesOutcomesAfterMoves())
        , m_queue(operations, folder)
        , m_pid(QCoreApplication::applicationPid())
    {
        ResizePrepared(m_states, size_t(entries.size()));
        const qsizetype selected =
            std::count_if(entries.cbegin(), entries.cend(), [](const RenameEntry &e) { return e.selected; });
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
            m_report.renamed.reserve(selected);
        m_maxNameLength = folder.maxNameLength();
        if (m_folderRead)
            m_folderProblem = operations.folderProblem(folder);
        for (int j = 0; j < kLookAhead; ++j)
            lookAhead(j);
    }

    // Fetches where the index will look up name, some time before it does.
    void prefetchName(const QString &name)
    {
        m_prefetchedHash = m_index.hashOf(name);
        m_prefetchedName = name;
        m_index.prefetch(m_prefetchedHash);
    }

    void rename(int i, const QString &newName)
    {
        lookAhead(i + kLookAhead);
        if (m_batching && planMove(i, newName))
            return;
        makePlannedMoves();
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
            skip(i, newName, leavesFolder ? LeftInPlaceReason::LeavesFolder : LeftInPlaceReason::InvalidName,
                 problem);
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

    // Every file the run may move, by its name and inode.
    void writePlan(RunJournalWriter &journal) const
    {
        for (qsizetype i = 0; i < m_states.size(); ++i) {
            if (m_states.at(i).present)
                journal.addFile(m_found[size_t(i)].inode, m_entries.at(i).name);
        }
    }

    // What the folder showed of each file is no longer needed once the
    // plan is written.
    void forgetFound() { std::vector<FolderIndex::SelectedFile>().swap(m_found); }

    void skip(int i, const QString &newName, LeftInPlaceReason reason, const QString &message)
    {
        makePlannedMoves();
        m_states[i].done = true;
        const QString &name = m_entries.at(i).name;
        m_report.leftInPlace.append({name, newName, reason, message, name, i, {}});
        m_states[i].reportIndex = m_report.leftInPlace.size() - 1;
    }

    // Files still under a temporary name, because their own turn failed or
    // never came, go back under their own name, or a free variant of it.
    void restoreSetAside()
    {
        makePlannedMoves();
        for (qsizetype i = 0; i < m_states.size(); ++i) {
            EntryState &state = m_states[i];
            if (!state.aside)
                continue;
            const QString &name = m_entries.at(i).name;
            QString candidate = name;
            QString error;
            for (;;) {
                bool leaves = false;
                if (!PlatformFiles::nameProblem(candidate, m_maxNameLength, &leaves).isEmpty())
                    break;
                const size_t hash = m_index.hashOf(candidate);
                if (m_index.find(candidate, hash) >= 0
                    || move(int(i), candidate, hash, Mode::NoReplace, &error) == Outcome::TargetExists) {
                    candidate = underscored(candidate);
                    continue;
                }
                break;
            }
            if (state.reportIndex < 0)
                continue;
            LeftInPlaceFile &left = m_report.leftInPlace[state.reportIndex];
            left.currentName = locationOf(int(i)).toString();
            if (state.aside) {
                left.message +=
                    RunText::tr("; it could not be put back under its own name and is now \"%1\"%2")
                        .arg(locationOf(int(i)), error.isEmpty() ? QString() : QStringLiteral(" (") + error + u')');
            } else if (locationOf(int(i)) != name) {
                left.message += RunText::tr("; a file renamed in this run took its name, so it is now \"%1\"")
                                    .arg(locationOf(int(i)));
            }
        }
    }

private:
    // Moves decided in their files' turns and made later, in batches, on a
    // thread of their own while the next files are decided: the system's
    // work and the run's overlap, and each keeps its memory in its own
    // core's cache. The index shows a planned move as made already, so the
    // next files are decided as they would be after it.
    static constexpr size_t kBatchSize = 64;
    // Batches handed over and not yet told of: one being made, one waiting.
    static constexpr size_t kBatchesAhead = 2;

    Mode requestedMode() const { return m_request.keepExisting ? Mode::NoReplace : Mode::Replace; }

    // Plans the move of a file that takes the plain way: under its own name,
    // no link, and a new name that the index shows free (or, replacing,
    // shows nothing alike). Anything else goes the way of one file at a time.
    bool planMove(int i, const QString &newName)
    {
        if (m_turnsOneByOne > 0) {
            --m_turnsOneByOne;
            return false;
        }
        const EntryState &state = m_states.at(i);
        if (!state.present || state.moved || state.link || !m_folderProblem.isEmpty())
            return false;
        const QString &name = m_entries.at(i).name;
        if (newName == name)
            return false; // reported as unchanged
        const bool caseOnly = PlatformFiles::sameFoldedName(newName, name);
        if (caseOnly && m_caseBlind)
            return false;
        bool leavesFolder = false;
        if (!PlatformFiles::nameProblem(newName, m_maxNameLength, &leavesFolder).isEmpty())
            return false;
        const size_t toHash = hashOfNewName(newName);
        if (m_request.keepExisting) {
            if (isTakenByOther(i, newName, toHash))
                return false;
        } else {
            bool alike = false;
            m_index.forEachAlike(newName, toHash, [&](const FolderIndex::Entry &entry) {
                alike = entry.holder != i;
                return !alike;
            });
            if (alike)
                return false;
        }
        const size_t fromHash = locationHash(i);
        m_states[i].done = true;
        relocate(i, fromHash, newName, toHash, false);
        QueuedMove &move = m_filling.moves.emplace_back();
        move.entry = i;
        move.from = name;
        move.to = newName;
        // A change of letter case alone is first tried never replacing.
        move.mode = caseOnly ? Mode::NoReplace : requestedMode();
        move.fromHash = fromHash;
        move.toHash = toHash;
        move.caseOnly = caseOnly;
        if (m_filling.moves.size() >= kBatchSize)
            handFilling();
        return true;
    }

    void handFilling()
    {
        m_queue.hand(std::move(m_filling));
        m_filling = MoveBatch();
        m_filling.moves.reserve(kBatchSize);
        while (m_queue.handed() > kBatchesAhead)
            tellOldest();
    }

    // Makes every planned move, and tells of each. Until it returns, the file
    // operations are the queue's; after, they are the run's own again.
    void makePlannedMoves()
    {
        while (!m_filling.moves.empty() || m_queue.handed() > 0) {
            if (!m_filling.moves.empty() && m_queue.isRunning()) {
                handFilling();
            } else if (!m_filling.moves.empty() && m_queue.handed() == 0) {
                // Too few for a thread: made here.
                MoveBatch batch = std::move(m_filling);
                m_filling = MoveBatch();
                MoveQueue::make(batch, m_operations, m_folder);
                tell(batch);
                continue;
            }
            if (m_queue.handed() > 0)
                tellOldest();
        }
    }

    void tellOldest()
    {
        MoveBatch batch = m_queue.takeTried();
        tell(batch);
    }

    // The moves of a batch tried, in order, up to the first that did not go
    // as planned: no later move was made on a plan that counted on it. That
    // file goes on from its one attempt as it would have one by one; every
    // file planned after it has its turn again, one by one for a while, so
    // that a folder where moves keep failing is not planned over and over.
    void tell(MoveBatch &batch)
    {
        size_t made = 0;
        while (made < batch.tried && batch.moves[made].outcome == Outcome::Done)
            ++made;
        for (size_t k = 0; k < made; ++k)
            renamed(batch.moves[k].entry, batch.moves[k].to, RenamedFile::Way::AsComposed);
        if (made == batch.moves.size())
            return;

        // What was planned after the failed move, in order: the rest of its
        // batch, the batches handed over after it, the one being filled.
        std::vector<MoveBatch> later = m_queue.takeBack();
        later.push_back(std::move(m_filling));
        m_filling = MoveBatch();
        // Newest first, so that the index is again as it was before each.
        for (auto b = later.rbegin(); b != later.rend(); ++b) {
            for (auto m = b->moves.rbegin(); m != b->moves.rend(); ++m)
                takeBack(*m);
        }
        for (size_t k = batch.moves.size(); k-- > made;)
            takeBack(batch.moves[k]);

        QueuedMove &failed = batch.moves[made];
        m_states[failed.entry].done = true;
        m_linkRefused = false;
        m_turnsOneByOne = kBatchSize;
        Outcome outcome = failed.outcome;
        // The file system does not tell letter case apart: every later
        // change of case alone needs the detour too.
        if (failed.caseOnly && outcome == Outcome::TargetExists) {
            m_caseBlind = true;
            outcome = changeCaseByDetour(failed.entry, failed.to, failed.toHash, requestedMode(), &failed.error);
        }
        if (outcome == Outcome::Done)
            renamed(failed.entry, failed.to, RenamedFile::Way::AsComposed);
        else if (outcome == Outcome::TargetExists && m_request.keepExisting)
            moveToFreeName(failed.entry, failed.to, true);
        else
            leaveAfterMove(failed.entry, failed.to, outcome, failed.error);

        for (size_t k = made + 1; k < batch.moves.size(); ++k)
            rename(batch.moves[k].entry, batch.moves[k].to);
        for (const MoveBatch &b : later) {
            for (const QueuedMove &m : b.moves)
                rename(m.entry, m.to);
        }
    }

    // The index as it was before the move was planned.
    void takeBack(const QueuedMove &move)
    {
        EntryState &state = m_states[move.entry];
        m_index.removeHeld(move.toHash, move.entry);
        m_index.restoreListed(move.entry, move.fromHash, state.link);
        state.location = {};
        state.moved = false;
        state.done = false;
    }

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

    // The file's current name in the folder. Until the run moves it, that is
    // its name in the list; after, the name the index holds. Neither is
    // copied: a copy of every name would touch the memory of every name once
    // more.
    QStringView locationOf(int i) const
    {
        const EntryState &state = m_states.at(i);
        return state.moved ? m_index.nameAt(state.location) : QStringView(m_entries.at(i).name);
    }

    // The same as text to hand to the file operations, only for the length
    // of that call: it reads the index's memory, which moves as it grows.
    QString locationText(int i) const
    {
        const EntryState &state = m_states.at(i);
        if (!state.moved)
            return m_entries.at(i).name;
        const QStringView name = m_index.nameAt(state.location);
        return QString::fromRawData(reinterpret_cast<const QChar *>(name.utf16()), name.size());
    }

    void renamed(int i, const QString &newName, RenamedFile::Way way)
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

    LeftInPlaceReason failureReason() const
    {
        return m_linkRefused ? LeftInPlaceReason::LinkToNewName : LeftInPlaceReason::SystemError;
    }

    // Whether something other than entry i's file answers to candidate: a
    // visible file the existence probe would find, or anything at all under
    // exactly that name.
    bool isTakenByOther(int i, const QString &candidate, size_t hash) const
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
    // extension (or after a name without one). Every step makes the name
    // longer, so the search ends at the file system's length limit.
    // composedTaken: a move to newName has been refused as taken already.
    void moveToFreeName(int i, const QString &newName, bool composedTaken = false)
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

    // Replaces what is under the new name, except the run's own files: one
    // still waiting for its turn is moved out of the way first, one already
    // handled keeps its name and this file takes a free variant instead.
    // A file of the folder whose name differs only in letter case is taken
    // as in the way too, as when keeping existing files, but it does not
    // have the new name, so it is not replaced: this file takes a free
    // variant (on a file system that tells case apart, the two would
    // otherwise stand side by side).
    void moveReplacing(int i, const QString &newName)
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
        // What still has exactly this name, the waiting files being out of
        // the way, is a file of the folder the move replaces.
        const qsizetype existing = m_index.find(newName, hash);
        const bool replaces = existing >= 0 && m_index.holder(existing) != i;
        QString error;
        const Outcome outcome = move(i, newName, hash, Mode::Replace, &error);
        if (outcome == Outcome::Done)
            renamed(i, newName, replaces ? RenamedFile::Way::ReplacedExisting : RenamedFile::Way::AsComposed);
        else
            leaveAfterMove(i, newName, outcome, error);
    }

    // File i stays after its move to newName, which might have replaced a
    // file, did not go through.
    void leaveAfterMove(int i, const QString &newName, Outcome outcome, const QString &error)
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

    // A hidden name that still tells whose file it is, should the run be
    // cut short: ".quillmere-PID-N-" and as much of the file's own name as
    // the file system allows.
    QString temporaryName(int i)
    {
        QString name = QStringLiteral(".quillmere-%1-%2-").arg(m_pid).arg(m_asideCounter++);
        name += m_entries.at(i).name;
        while (name.size() * 3 > m_maxNameLength && FolderHandle::encodeName(name).size() > m_maxNameLength)
            name.chop(name.back().isLowSurrogate() && name.size() >= 2 && name.at(name.size() - 2).isHighSurrogate()
                          ? 2
                          : 1);
        return name;
    }

    bool setAside(int i, QString *error)
    {
        for (int attempt = 0; attempt < 1000; ++attempt) {
            const QString temporary = temporaryName(i);
            const size_t hash = m_index.hashOf(temporary);
            if (m_index.find(temporary, hash) >= 0)
                continue;
            const Outcome outcome =
                m_operations.renameFile(m_folder, locationText(i), temporary, Mode::NoReplace, error);
            if (outcome == Outcome::Done) {
                relocate(i, temporary, hash, true);
                return true;
            }
            if (outcome == Outcome::Failed)
                return false;
        }
        *error = RunText::tr("no free temporary name");
        return false;
    }

    // The hash of a new name, worked out already when it was prefetched:
    // the same text, shared, is the same name.
    size_t hashOfNewName(const QString &name) const
    {
        if (name.constData() == m_prefetchedName.constData() && name.size() == m_prefetchedName.size()
            && !name.isNull())
            return m_prefetchedHash;
        return m_index.hashOf(name);
    }

    // The hash of entry j's own name, and a fetch of where the index keeps
    // it, some files before its turn: taking the name out of the index after
    // the move then finds it in the cache.
    void lookAhead(qsizetype j)
    {
        if (j >= m_states.size() || !m_entries.at(j).selected || !m_states.at(j).present)
            return;
        const size_t hash = m_index.hashOf(m_entries.at(j).name);
        m_index.prefetch(hash);
        AheadHash &ahead = m_ahead[size_t(j) % std::size(m_ahead)];
        ahead.entry = j;
        ahead.hash = hash;
    }
    size_t locationHash(int i) const
    {
        const AheadHash &ahead = m_ahead[size_t(i) % std::size(m_ahead)];
        if (ahead.entry == i && !m_states.at(i).moved)
            return ahead.hash;
        return m_index.hashOf(locationOf(i));
    }

    void relocate(int i, const QString &to, size_t toHash, bool aside)
    {
        relocate(i, locationHash(i), to, toHash, aside);
    }
    void relocate(int i, size_t fromHash, const QString &to, size_t toHash, bool aside)
    {
        EntryState &state = m_states[i];
        m_index.removeHeld(fromHash, i);
        const qsizetype slot = m_index.add(to, toHash, true, i, state.link);
        state.location = m_index.nameRef(slot);
        state.moved = true;
        state.aside = aside;
    }

    Outcome move(int i, const QString &to, size_t toHash, Mode mode, QString *error)
    {
        m_linkRefused = false;
        if (to == locationOf(i))
            return Outcome::Done;
        // Named like its target, a link would point at itself, and the file
        // it stood for would be out of reach: also when the run has just
        // moved that file aside or renamed it.
        if (m_states.at(i).link && m_folder.linkPointsAt(locationOf(i), to)) {
            m_linkRefused = true;
            *error = RunText::tr("the file is a link to \"%1\", and under that name it would point at itself").arg(to);
            return Outcome::Failed;
        }
        // Where letter case does not count, the file system sees one name in
        // both, and a rename to the other case would do nothing; a detour over
        // a temporary name changes the case everywhere. Where case counts, a
        // rename that never replaces does it in one step, and is refused just
        // where the detour is needed: the name is taken, by the file itself
        // or by another one.
        if (PlatformFiles::sameFoldedName(to, locationOf(i))) {
            const Outcome direct = m_operations.renameFile(m_folder, locationText(i), to, Mode::NoReplace, error);
            if (direct == Outcome::Done) {
                relocate(i, to, toHash, false);
                return direct;
            }
            if (direct == Outcome::Failed)
                return direct;
            return changeCaseByDetour(i, to, toHash, mode, error);
        }
        const Outcome outcome = m_operations.renameFile(m_folder, locationText(i), to, mode, error);
        if (outcome == Outcome::Done)
            relocate(i, to, toHash, false);
        return outcome;
    }

    // After the direct move to a name that differs from the file's own only
    // in letter case was refused as taken.
    Outcome changeCaseByDetour(int i, const QString &to, size_t toHash, Mode mode, QString *error)
    {
        if (!setAside(i, error))
            return Outcome::Failed;
        const Outcome outcome = m_operations.renameFile(m_folder, locationText(i), to, mode, error);
        if (outcome == Outcome::Done)
            relocate(i, to, toHash, false);
        return outcome;
    }

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
    bool m_batching = false;
    MoveBatch m_filling; // planned, not yet handed to the queue
    MoveQueue m_queue;
    size_t m_turnsOneByOne = 0;
    bool m_caseBlind = false;
    qint64 m_pid = 0;
    int m_asideCounter = 0;
};

// Plain decimal text, as QString::number gives it, but cheaper: the run
// writes one for every file. Written into text, which keeps its storage
// when nothing else shares it.
void setDecimalText(QString &text, qint64 value)
{
    char16_t digits[24];
    char16_t *end = digits + std::size(digits);
    char16_t *begin = end;
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--begin = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--begin = u'-';
    text.resize(end - begin);
    std::copy(begin, end, reinterpret_cast<char16_t *>(text.data()));
}

bool advancesNumber(RenamingType type)
{
    return type != AddPrefix && type != AddSuffix;
}

bool filterFollowsExtension(RenamingType type)
{
    return type == NoTypeChosen || type == BothNameAndExtension || type == ExtensionOnly;
}

} // namespace

RenameFileOperations &SystemFileOperations()
{
    static SystemOperations operations;
    return operations;
}

RenameFileOperations &SimulatedFileOperations()
{
    static SimulatedOperations operations;
    return operations;
}

RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target)
{
    return RunRename(folder, entries, request, target, SystemFileOperations());
}

RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations)
{
    const FolderHandle handle(folder);
    return RunRename(handle, entries, request, target, fileOperations);
}

QString FolderBusyMessage(const QString &folder)
{
    return RunText::tr("Another rename is running in the folder \"%1\". Nothing was renamed; try again when it "
                       "has finished.")
        .arg(QDir::toNativeSeparators(folder));
}

QString NoJournalMessage(const QString &folder, const QString &problem)
{
    return RunText::tr("Nothing was renamed in the folder \"%1\": the journal from which the rename could be "
                       "undone cannot be written (%2).")
        .arg(QDir::toNativeSeparators(folder), problem);
}

RenameReport RunRename(const FolderHandle &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations)
{
    return RunRename(folder, entries, request, target, fileOperations, nullptr);
}

RenameReport RunRename(const FolderHandle &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations, FolderContent *listedContent)
{
    RenameReport report;
    // Two runs in one folder would each move files the other counts on.
    // Where the file system has no locks, the run goes ahead as before.
    if (folder.isOpen() && fileOperations.changesFolder()
        && folder.tryLock() == FolderHandle::LockResult::Busy) {
        report.refusal = RenameReport::Refusal::FolderBusy;
        report.refusalMessage = FolderBusyMessage(folder.path());
        return report;
    }

    const QString &savedNumber = request.numberText;
    QString number = savedNumber;

    const bool anySelected =
        std::any_of(entries.cbegin(), entries.cend(), [](const RenameEntry &e) { return e.selected; });
    std::optional<JournaledOperations> journaled;
    RunJournalWriter journal(fileOperations.systemCalls());
    if (anySelected && fileOperations.keepsJournal())
        journaled.emplace(fileOperations, folder);
    std::optional<FileRenamer> renamer;
    if (anySelected)
        renamer.emplace(folder, entries, request, journaled ? *journaled : fileOperations,
                        journaled ? &*journaled : nullptr, target, report, listedContent);
    // The plan is on disk before the first file moves. A run that could not
    // be undone does not start, unless the request allows it; in a folder
    // that cannot be opened nothing moves, and each file is told of.
    if (journaled) {
        QString problem;
        if (journal.begin(folder, &problem)) {
            renamer->writePlan(journal);
            if (journal.commitPlan(&problem)) {
                journaled->attach(&journal);
                report.journalPath = journal.path();
            }
        }
        if (report.journalPath.isEmpty() && !request.allowNoUndo && folder.isOpen()) {
            report.refusal = RenameReport::Refusal::NoJournal;
            report.refusalMessage = NoJournalMessage(folder.path(), problem);
            return report;
        }
        report.journalProblem = problem;
    }
    if (renamer)
        renamer->forgetFound();

    // Once the number cannot advance, a further file would repeat it.
    std::optional<std::pair<LeftInPlaceReason, QString>> numberStuck;
    // The value of `number`, read once: the run writes every later number
    // itself, in plain decimals that read back as the value written.
    std::optional<std::optional<qint32>> numberValue;
    // The number before the current one, which the target has let go of:
    // the next number is written into its storage.
    QString spareNumber;

    const qsizetype count = entries.size();
    // The next selected file's new name is composed before this file's move,
    // so that the index can fetch where it will look that name up while the
    // move runs. It is taken when its turn comes with the number it was
    // composed with; otherwise the name is composed again.
    qsizetype upcomingEntry = -1;
    qsizetype nextSelected = 0;
    QString upcomingNumber;
    QString upcomingName;
    const auto composeUpcoming = [&](qsizetype after) {
        nextSelected = std::max(nextSelected, after + 1);
        while (nextSelected < count && !entries.at(nextSelected).selected)
            ++nextSelected;
        if (nextSelected >= count || request.plannedNames)
            return;
        upcomingNumber = number;
        if (advancesNumber(request.type)) {
            const std::optional<qint32> value = numberValue ? *numberValue : ParseWholeNumber(number);
            if (value && *value < std::numeric_limits<qint32>::max())
                setDecimalText(upcomingNumber, qint64(*value) + 1);
        }
        upcomingEntry = nextSelected;
        upcomingName = ComposeNewName(entries.at(upcomingEntry).name, request, upcomingNumber);
        renamer->prefetchName(upcomingName);
    };

    for (qsizetype i = 0; i < count; ++i) {
        if (entries.at(i).selected) {
            if (!report.stopped && target.stopRequested())
                report.stopped = true;
            if (report.stopped) {
                renamer->skip(int(i), QString(), LeftInPlaceReason::Stopped,
                              RunText::tr("the run was stopped before this file's turn"));
                continue;
            }
            if (numberStuck) {
                renamer->skip(int(i), QString(), numberStuck->first, numberStuck->second);
            } else {
                QString newName = request.plannedNames ? request.plannedNames->at(i)
                    : upcomingEntry == i && upcomingNumber == number
                    ? std::exchange(upcomingName, QString())
                    : ComposeNewName(entries.at(i).name, request, number);
                composeUpcoming(i);
                renamer->rename(int(i), newName);
                if (!request.plannedNames && advancesNumber(request.type)) {
                    if (!numberValue)
                        numberValue = ParseWholeNumber(number);
                    const std::optional<qint32> value = *numberValue;
                    if (value && *value < std::numeric_limits<qint32>::max()) {
                        numberValue = std::optional<qint32>(*value + 1);
                        setDecimalText(spareNumber, qint64(*value) + 1);
                        number.swap(spareNumber);
                        target.setNumberText(number);
                    } else if (PutsNumberInName(request.type)) {
                        numberStuck.emplace(
                            value ? LeftInPlaceReason::NumberExhausted : LeftInPlaceReason::NumberUnreadable,
                            value ? RunText::tr("the running number cannot go past 2147483647")
                                  : RunText::tr("the running number \"%1\" is no whole number and cannot advance")
                                        .arg(number));
                    }
                }
            }
        }
        // A stopped run leaves the bar where it stopped.
        if (!report.stopped)
            target.setProgressValue(float(double(i + 1) / double(count) * 100.0));
    }
    if (renamer)
        renamer->restoreSetAside();
    if (journal.isOpen() && !journal.finish() && report.journalProblem.isEmpty())
        report.journalProblem =
            RunText::tr("the journal \"%1\" could not be written to its end (%2): undo can take back only the "
                        "moves it recorded before, and no file was replaced after")
                .arg(journal.path(), journal.failure());

    if (!request.plannedNames && filterFollowsExtension(request.type) && request.filterOn && request.newExtension != request.filterExtension)
        target.setFilterText(request.newExtension);
    if (!request.rememberNumber)
        target.setNumberText(savedNumber);
    target.refreshLists();
    return report;
}
