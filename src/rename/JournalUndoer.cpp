#include "rename/JournalUndoer.h"

#include "core/FolderReader.h"
#include "rename/EntryIdentity.h"
#include "rename/PlatformFiles.h"
#include "rename/RunText.h"
#include "rename/TrashCan.h"

#include <QCoreApplication>

#include <algorithm>

JournalUndoer::JournalUndoer(const FolderHandle &folder, const RunJournal &journal, bool dryRun, UndoReport &report)
    : m_folder(folder)
    , m_journal(journal)
    , m_dryRun(dryRun)
    , m_report(report)
    , m_startedMs(journal.started.toMSecsSinceEpoch())
{
}

void JournalUndoer::run()
{
    scanFolder();
    locateFiles();
    moveFilesHome();
    restoreReplaced();
}

void JournalUndoer::scanFolder()
{
    QSet<QString> listed;
    FolderReader reader(m_folder);
    while (reader.next())
        listed.insert(reader.name().toString());
    detectCaseBlind(listed);
    for (const QString &name : std::as_const(listed))
        m_taken.insert(key(name));
}

// Whether the folder's file system ignores letter case (FAT, exFAT, SMB
// shares): a listed name, spelt in other letters that the folder does not
// list, still leads to a file. Undo then treats names as the run did, case
// folded. (Inode numbers cannot tell: through FUSE, each spelling of a name
// may get a number of its own.)
void JournalUndoer::detectCaseBlind(const QSet<QString> &listed)
{
    QByteArray buffer;
    for (const QString &name : listed) {
        const QString folded = PlatformFiles::foldedName(name);
        const QString other = folded != name ? folded : name.toLower();
        if (other == name || listed.contains(other))
            continue;
        m_caseBlind = IdentifyEntry(m_folder.descriptor(), FolderHandle::encodeName(other, buffer)).has_value();
        return;
    }
}

QString JournalUndoer::key(const QString &name) const
{
    return m_caseBlind ? PlatformFiles::foldedName(name) : name;
}

// Whether name is the run's file of that inode: an inode number freed since
// the run may belong to a file made after it began.
bool JournalUndoer::holdsRunFile(const QString &name, quint64 inode) const
{
    QByteArray buffer;
    const std::optional<EntryIdentity> there =
        IdentifyEntry(m_folder.descriptor(), FolderHandle::encodeName(name, buffer));
    return there && there->inode == inode && there->bornMs <= m_startedMs;
}

// The names of the folder that lead to the run's file of that inode. The
// folder is read for them once, for every file at the same time; where the
// listing gives no usable numbers (FUSE gives one number to every entry)
// the reader asks each entry itself.
QStringList JournalUndoer::namesOf(quint64 inode)
{
    if (!m_inodesRead) {
        m_inodesRead = true;
        for (const RunJournal::File &file : m_journal.files)
            m_namesOf.insert(file.inode, {});
        FolderReader reader(m_folder);
        while (reader.next()) {
            const auto it = m_namesOf.find(reader.inode());
            if (it != m_namesOf.end())
                it->append(reader.name().toString());
        }
    }
    QStringList names = m_namesOf.value(inode);
    names.removeIf([&](const QString &name) { return !holdsRunFile(name, inode); });
    return names;
}

void JournalUndoer::leave(const QString &name, const QString &oldName, UndoLeftReason reason, const QString &message)
{
    m_report.left.append({name, oldName, reason, message});
}

void JournalUndoer::locateFiles()
{
    // Where the recorded moves left each file.
    QHash<QString, qsizetype> fileAt;
    m_states.resize(m_journal.files.size());
    for (qsizetype f = 0; f < m_journal.files.size(); ++f)
        fileAt.insert(m_journal.files.at(f).oldName, f);
    for (qsizetype m = 0; m < m_journal.moves.size(); ++m) {
        const RunJournal::Move &move = m_journal.moves.at(m);
        const auto it = fileAt.constFind(move.from);
        if (it == fileAt.cend())
            continue;
        const qsizetype f = it.value();
        fileAt.erase(it);
        fileAt.insert(move.to, f);
        m_states[f].lastMove = m;
        m_states[f].location = move.to;
    }
    for (qsizetype f = 0; f < m_journal.files.size(); ++f)
        locate(f);
}

void JournalUndoer::locate(qsizetype f)
{
    const RunJournal::File &file = m_journal.files.at(f);
    FileState &state = m_states[f];
    const QString recorded = state.location.isNull() ? file.oldName : state.location;
    if (holdsRunFile(recorded, file.inode)) {
        state.location = recorded;
    } else if (recorded != file.oldName && holdsRunFile(file.oldName, file.inode)) {
        state.location = file.oldName;
    } else if (const QStringList names = m_journal.complete ? QStringList() : namesOf(file.inode); names.size() == 1) {
        // Moved after the last batch of the journal reached the disk.
        state.location = names.constFirst();
    } else if (names.size() > 1) {
        leave(recorded, file.oldName, UndoLeftReason::Unclear,
              RunText::tr("several names in the folder lead to the file; it is left as it is"));
        state.home = true;
        return;
    } else {
        if (m_taken.contains(key(recorded)))
            leave(recorded, file.oldName, UndoLeftReason::NewNameTaken,
                  RunText::tr("another file now has the name \"%1\"; it is left as it is").arg(recorded));
        else
            leave(recorded, file.oldName, UndoLeftReason::Gone,
                  RunText::tr("the file \"%1\" is no longer in the folder").arg(recorded));
        state.home = true;
        return;
    }
    state.home = state.location == file.oldName;
}

MoveOutcome JournalUndoer::move(const QString &from, const QString &to, QString *error)
{
    if (m_dryRun) {
        if (key(to) != key(from) && m_taken.contains(key(to)))
            return MoveOutcome::TargetExists;
    } else {
        // Where letter case does not count, a name and its other
        // spelling are one entry: the way home leads over another name.
        if (PlatformFiles::sameFoldedName(from, to) && from != to) {
            const QString detour = temporaryName();
            if (m_folder.move(from, detour, MoveMode::NoReplace, error) != MoveOutcome::Done)
                return MoveOutcome::Failed;
            const MoveOutcome outcome = m_folder.move(detour, to, MoveMode::NoReplace, error);
            if (outcome != MoveOutcome::Done)
                m_folder.move(detour, from, MoveMode::NoReplace, error);
            return outcome;
        }
        const MoveOutcome outcome = m_folder.move(from, to, MoveMode::NoReplace, error);
        if (outcome != MoveOutcome::Done)
            return outcome;
    }
    m_taken.remove(key(from));
    m_taken.insert(key(to));
    return MoveOutcome::Done;
}

QString JournalUndoer::temporaryName()
{
    for (;;) {
        const QString name =
            QStringLiteral(".quillmere-undo-%1-%2").arg(QCoreApplication::applicationPid()).arg(m_temporaries++);
        if (!m_taken.contains(key(name)) && m_folder.kindOf(name) == FolderHandle::Kind::Missing
            && !m_folder.isLink(name))
            return name;
    }
}

// A file whose old name another file of the run holds waits for that one
// to go home first, along the whole chain; in a ring, one steps aside. Each
// file moves once or twice, whatever the chains.
void JournalUndoer::moveFilesHome()
{
    QList<qsizetype> order;
    for (qsizetype f = 0; f < m_states.size(); ++f) {
        if (!m_states.at(f).home) {
            order.append(f);
            m_waitingAt.insert(key(m_states.at(f).location), f);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return m_states.at(a).lastMove > m_states.at(b).lastMove; });
    // Room for every file at once: grown one by one, the list of 100,000
    // would be copied again and again, old and new copy side by side.
    m_report.restored.reserve(m_report.restored.size() + order.size());
    QList<qsizetype> stack;
    QSet<qsizetype> onStack;
    for (const qsizetype first : std::as_const(order)) {
        if (m_states.at(first).home)
            continue;
        stack.append(first);
        onStack.insert(first);
        while (!stack.isEmpty()) {
            const qsizetype f = stack.constLast();
            const qsizetype holder = m_waitingAt.value(key(m_journal.files.at(f).oldName), -1);
            if (holder >= 0 && holder != f) {
                if (!onStack.contains(holder)) {
                    stack.append(holder);
                    onStack.insert(holder);
                    continue;
                }
                stepAside(holder);
                continue;
            }
            goHome(f);
            stack.removeLast();
            onStack.remove(f);
        }
    }
}

void JournalUndoer::relocate(qsizetype f, const QString &to)
{
    FileState &state = m_states[f];
    m_waitingAt.remove(key(state.location));
    state.location = to;
}

void JournalUndoer::stepAside(qsizetype f)
{
    FileState &state = m_states[f];
    const QString aside = temporaryName();
    QString error;
    if (move(state.location, aside, &error) == MoveOutcome::Done) {
        relocate(f, aside);
        m_waitingAt.insert(key(aside), f);
        return;
    }
    leave(state.location, m_journal.files.at(f).oldName, UndoLeftReason::SystemError,
          RunText::tr("it could not be moved out of the way: %1").arg(error));
    m_waitingAt.remove(key(state.location));
    state.home = true;
}

void JournalUndoer::goHome(qsizetype f)
{
    FileState &state = m_states[f];
    if (state.home)
        return;
    state.home = true;
    const QString &oldName = m_journal.files.at(f).oldName;
    QString error;
    const MoveOutcome outcome = move(state.location, oldName, &error);
    if (outcome == MoveOutcome::Done) {
        m_report.restored.append({state.location, oldName});
        relocate(f, oldName);
    } else if (outcome == MoveOutcome::TargetExists) {
        m_waitingAt.remove(key(state.location));
        leave(state.location, oldName, UndoLeftReason::OldNameTaken,
              RunText::tr("another file now has its old name \"%1\"; it is left as \"%2\"")
                  .arg(oldName, state.location));
    } else {
        m_waitingAt.remove(key(state.location));
        leave(state.location, oldName, UndoLeftReason::SystemError,
              RunText::tr("it could not be moved back to \"%1\": %2").arg(oldName, error));
    }
}

// Whether what the trash holds is the file the run put there: its identity,
// and its .trashinfo's size and date. A journal that kept neither (older
// ones) has the entry's birth before the run to go by.
bool JournalUndoer::isRunsReplacedFile(const RunJournal::Replaced &replaced, const EntryIdentity &there) const
{
    if (there.device != m_journal.folderDevice || there.inode != replaced.inode)
        return false;
    if (replaced.stamp.isEmpty() ? there.bornMs > m_startedMs : there.stamp != replaced.stamp)
        return false;
    return replaced.trashInfo.isEmpty()
        || TrashCan::infoStamp(replaced.trashFolder, replaced.trashName) == replaced.trashInfo;
}

void JournalUndoer::restoreReplaced()
{
    for (qsizetype r = m_journal.replaced.size() - 1; r >= 0; --r)
        restoreOne(r);
}

void JournalUndoer::restoreOne(qsizetype r)
{
    const RunJournal::Replaced &replaced = m_journal.replaced.at(r);
    if (replaced.lost) {
        leave(replaced.name, replaced.name, UndoLeftReason::ReplacedLost,
              RunText::tr("the run replaced the file \"%1\" where no trash could keep it; its content is gone")
                  .arg(replaced.name));
        return;
    }
    const QString trashPath = replaced.trashFolder + QStringLiteral("/files/") + replaced.trashName;
    const std::optional<EntryIdentity> there = TrashCan::identify(replaced.trashFolder, replaced.trashName);
    if (!there || !isRunsReplacedFile(replaced, *there)) {
        // Never moved: the run ended before, or the move failed and a
        // record of the loss follows.
        const bool lostLater =
            std::any_of(m_journal.replaced.cbegin() + r + 1, m_journal.replaced.cend(),
                        [&](const RunJournal::Replaced &other) { return other.lost && other.name == replaced.name; });
        QByteArray buffer;
        const std::optional<EntryIdentity> inFolder =
            IdentifyEntry(m_folder.descriptor(), FolderHandle::encodeName(replaced.name, buffer));
        const bool stillHere = inFolder && inFolder->inode == replaced.inode
            && (replaced.stamp.isEmpty() || inFolder->stamp == replaced.stamp);
        if (!lostLater && !stillHere)
            leave(trashPath, replaced.name, UndoLeftReason::ReplacedNotInTrash,
                  there ? RunText::tr("the trash entry \"%1\" is not the file the run replaced; it is left there")
                              .arg(trashPath)
                        : RunText::tr("the file the run replaced is no longer in the trash as \"%1\"").arg(trashPath));
        return;
    }
    QString error;
    MoveOutcome outcome = MoveOutcome::Done;
    if (m_dryRun)
        outcome = m_taken.contains(key(replaced.name)) ? MoveOutcome::TargetExists : MoveOutcome::Done;
    else
        outcome = TrashCan::restore(replaced.trashFolder, replaced.trashName, *there, m_folder, replaced.name, &error);
    if (outcome == MoveOutcome::Done) {
        m_taken.insert(key(replaced.name));
        m_report.restored.append({trashPath, replaced.name});
    } else if (outcome == MoveOutcome::TargetExists) {
        leave(trashPath, replaced.name, UndoLeftReason::ReplacedNameTaken,
              RunText::tr("another file now has the name \"%1\"; the file the run replaced stays in the trash as "
                          "\"%2\"")
                  .arg(replaced.name, trashPath));
    } else {
        leave(trashPath, replaced.name, UndoLeftReason::SystemError,
              RunText::tr("it could not be brought back from the trash: %1").arg(error));
    }
}
