#include "rename/RenameUndo.h"

#include "core/FolderHandle.h"
#include "core/FolderReader.h"
#include "rename/PlatformFiles.h"
#include "rename/RenameRun.h"
#include "rename/RunJournal.h"
#include "rename/TrashCan.h"
#include "rename/RunText.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool sameFolder(const FolderHandle &folder, const RunJournal &journal)
{
    struct stat st;
    return folder.isOpen() && ::fstat(folder.descriptor(), &st) == 0 && quint64(st.st_dev) == journal.folderDevice
        && quint64(st.st_ino) == journal.folderInode;
}

// The newest journal of the folder not undone yet.
std::optional<RunJournal> lastRunOf(const FolderHandle &folder)
{
    for (const QString &path : RunJournalFiles()) {
        const std::optional<RunJournal> header = ReadRunJournal(path, true);
        if (header && sameFolder(folder, *header))
            return ReadRunJournal(path);
    }
    return std::nullopt;
}

// Whether the entry name of folder was made before the moment, by its
// birth time where the file system keeps one, else by its last change of
// content: an inode number freed since the run may belong to a new file.
bool madeBefore(const FolderHandle &folder, const QString &name, qint64 msSinceEpoch)
{
    QByteArray buffer;
    const char *encoded = FolderHandle::encodeName(name, buffer);
#if defined(STATX_BTIME)
    struct statx st;
    if (::statx(folder.descriptor(), encoded, AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_MTIME, &st) != 0)
        return false;
    const struct statx_timestamp &time = (st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime;
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000 <= msSinceEpoch;
#else
    struct stat st;
    if (::fstatat(folder.descriptor(), encoded, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000 <= msSinceEpoch;
#endif
}

// Takes one run back: finds each of its files by inode, moves it home in
// the reverse order of the run, then brings back what it replaced.
class Undoer
{
public:
    Undoer(const FolderHandle &folder, const RunJournal &journal, bool dryRun, UndoReport &report)
        : m_folder(folder)
        , m_journal(journal)
        , m_dryRun(dryRun)
        , m_report(report)
    {
    }

    void run()
    {
        scanFolder();
        locateFiles();
        moveFilesHome();
        restoreReplaced();
    }

private:
    struct FileState
    {
        QString location; // now
        qsizetype lastMove = -1;
        bool home = false;
    };

    void scanFolder()
    {
        for (const RunJournal::File &file : m_journal.files)
            m_namesOf.insert(file.inode, {});
        FolderReader reader(m_folder);
        while (reader.next()) {
            const QString name = reader.name().toString();
            m_taken.insert(name);
            const auto it = m_namesOf.find(reader.inode());
            if (it != m_namesOf.end())
                it->append(name);
        }
    }

    void leave(const QString &name, const QString &oldName, UndoLeftReason reason, const QString &message)
    {
        m_report.left.append({name, oldName, reason, message});
    }

    void locateFiles()
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

        for (qsizetype f = 0; f < m_journal.files.size(); ++f) {
            const RunJournal::File &file = m_journal.files.at(f);
            FileState &state = m_states[f];
            QStringList names = m_namesOf.value(file.inode);
            const qint64 started = m_journal.started.toMSecsSinceEpoch();
            names.removeIf([&](const QString &name) { return !madeBefore(m_folder, name, started); });
            const QString recorded = state.location.isNull() ? file.oldName : state.location;
            if (names.contains(recorded)) {
                state.location = recorded;
            } else if (names.contains(file.oldName)) {
                state.location = file.oldName;
            } else if (!m_journal.complete && names.size() == 1) {
                // Moved after the last batch of the journal reached the disk.
                state.location = names.constFirst();
            } else if (!m_journal.complete && names.size() > 1) {
                leave(recorded, file.oldName, UndoLeftReason::Unclear,
                      RunText::tr("several names in the folder lead to the file; it is left as it is"));
                state.home = true;
                continue;
            } else {
                if (m_taken.contains(recorded))
                    leave(recorded, file.oldName, UndoLeftReason::NewNameTaken,
                          RunText::tr("another file now has the name \"%1\"; it is left as it is").arg(recorded));
                else
                    leave(recorded, file.oldName, UndoLeftReason::Gone,
                          RunText::tr("the file \"%1\" is no longer in the folder").arg(recorded));
                state.home = true;
                continue;
            }
            state.home = state.location == file.oldName;
        }
    }

    MoveOutcome move(const QString &from, const QString &to, QString *error)
    {
        if (m_dryRun) {
            if (m_taken.contains(to))
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
        m_taken.remove(from);
        m_taken.insert(to);
        return MoveOutcome::Done;
    }

    QString temporaryName()
    {
        for (;;) {
            const QString name =
                QStringLiteral(".quillmere-undo-%1-%2").arg(QCoreApplication::applicationPid()).arg(m_temporaries++);
            if (!m_taken.contains(name) && m_folder.kindOf(name) == FolderHandle::Kind::Missing && !m_folder.isLink(name))
                return name;
        }
    }

    // A file whose old name another file of the run holds waits for that
    // one to go home first, along the whole chain; in a ring, one steps
    // aside. Each file moves once or twice, whatever the chains.
    void moveFilesHome()
    {
        QList<qsizetype> order;
        for (qsizetype f = 0; f < m_states.size(); ++f) {
            if (!m_states.at(f).home) {
                order.append(f);
                m_waitingAt.insert(m_states.at(f).location, f);
            }
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](qsizetype a, qsizetype b) { return m_states.at(a).lastMove > m_states.at(b).lastMove; });
        QList<qsizetype> stack;
        QSet<qsizetype> onStack;
        for (const qsizetype first : std::as_const(order)) {
            if (m_states.at(first).home)
                continue;
            stack.append(first);
            onStack.insert(first);
            while (!stack.isEmpty()) {
                const qsizetype f = stack.constLast();
                const qsizetype holder = m_waitingAt.value(m_journal.files.at(f).oldName, -1);
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

    void relocate(qsizetype f, const QString &to)
    {
        FileState &state = m_states[f];
        m_waitingAt.remove(state.location);
        state.location = to;
    }

    void stepAside(qsizetype f)
    {
        FileState &state = m_states[f];
        const QString aside = temporaryName();
        QString error;
        if (move(state.location, aside, &error) == MoveOutcome::Done) {
            relocate(f, aside);
            m_waitingAt.insert(aside, f);
            return;
        }
        leave(state.location, m_journal.files.at(f).oldName, UndoLeftReason::SystemError,
              RunText::tr("it could not be moved out of the way: %1").arg(error));
        m_waitingAt.remove(state.location);
        state.home = true;
    }

    void goHome(qsizetype f)
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
            m_waitingAt.remove(state.location);
            leave(state.location, oldName, UndoLeftReason::OldNameTaken,
                  RunText::tr("another file now has its old name \"%1\"; it is left as \"%2\"")
                      .arg(oldName, state.location));
        } else {
            m_waitingAt.remove(state.location);
            leave(state.location, oldName, UndoLeftReason::SystemError,
                  RunText::tr("it could not be moved back to \"%1\": %2").arg(oldName, error));
        }
    }

    void restoreReplaced()
    {
        for (qsizetype r = m_journal.replaced.size() - 1; r >= 0; --r) {
            const RunJournal::Replaced &replaced = m_journal.replaced.at(r);
            if (replaced.lost) {
                leave(replaced.name, replaced.name, UndoLeftReason::ReplacedLost,
                      RunText::tr("the run replaced the file \"%1\" where no trash could keep it; its content is "
                                  "gone")
                          .arg(replaced.name));
                continue;
            }
            const QString trashPath = replaced.trashFolder + QStringLiteral("/files/") + replaced.trashName;
            if (!TrashCan::holds(replaced.trashFolder, replaced.trashName, replaced.inode)) {
                // Never moved: the run ended before, or the move failed and
                // a record of the loss follows.
                const bool lostLater = std::any_of(m_journal.replaced.cbegin() + r + 1, m_journal.replaced.cend(),
                                                   [&](const RunJournal::Replaced &other) {
                                                       return other.lost && other.name == replaced.name;
                                                   });
                struct stat st;
                QByteArray buffer;
                const bool stillHere =
                    ::fstatat(m_folder.descriptor(), FolderHandle::encodeName(replaced.name, buffer), &st,
                              AT_SYMLINK_NOFOLLOW) == 0
                    && quint64(st.st_ino) == replaced.inode;
                if (!lostLater && !stillHere)
                    leave(trashPath, replaced.name, UndoLeftReason::ReplacedNotInTrash,
                          RunText::tr("the file the run replaced is no longer in the trash as \"%1\"").arg(trashPath));
                continue;
            }
            QString error;
            MoveOutcome outcome = MoveOutcome::Done;
            if (m_dryRun)
                outcome = m_taken.contains(replaced.name) ? MoveOutcome::TargetExists : MoveOutcome::Done;
            else
                outcome = TrashCan::restore(replaced.trashFolder, replaced.trashName, replaced.inode, m_folder,
                                            replaced.name, &error);
            if (outcome == MoveOutcome::Done) {
                m_taken.insert(replaced.name);
                m_report.restored.append({trashPath, replaced.name});
            } else if (outcome == MoveOutcome::TargetExists) {
                leave(trashPath, replaced.name, UndoLeftReason::ReplacedNameTaken,
                      RunText::tr("another file now has the name \"%1\"; the file the run replaced stays in the "
                                  "trash as \"%2\"")
                          .arg(replaced.name, trashPath));
            } else {
                leave(trashPath, replaced.name, UndoLeftReason::SystemError,
                      RunText::tr("it could not be brought back from the trash: %1").arg(error));
            }
        }
    }

    const FolderHandle &m_folder;
    const RunJournal &m_journal;
    const bool m_dryRun;
    UndoReport &m_report;
    QHash<quint64, QStringList> m_namesOf;
    QSet<QString> m_taken;
    QList<FileState> m_states;
    QHash<QString, qsizetype> m_waitingAt; // files not home yet, by where they are
    int m_temporaries = 0;
};

} // namespace

UndoReport UndoLastRun(const QString &folderPath, bool dryRun)
{
    UndoReport report;
    const FolderHandle folder(folderPath);
    if (!folder.isOpen()) {
        report.status = UndoReport::Status::Refused;
        report.message = RunText::tr("Cannot read the folder \"%1\": %2")
                             .arg(QDir::toNativeSeparators(folderPath), folder.openErrorText());
        return report;
    }
    if (!dryRun && folder.tryLock() == FolderHandle::LockResult::Busy) {
        report.status = UndoReport::Status::Refused;
        report.message = FolderBusyMessage(folderPath);
        return report;
    }
    const std::optional<RunJournal> journal = lastRunOf(folder);
    if (!journal) {
        report.status = UndoReport::Status::NothingToUndo;
        report.message = RunText::tr("No rename in the folder \"%1\" is left to undo.")
                             .arg(QDir::toNativeSeparators(folderPath));
        return report;
    }
    report.status = UndoReport::Status::Done;
    report.journalPath = journal->path;
    report.runStarted = journal->started;
    report.runWasComplete = journal->complete;
    Undoer(folder, *journal, dryRun, report).run();
    if (!dryRun)
        MarkRunJournalUndone(journal->path);
    return report;
}

bool HasRecordedRun(const QString &folderPath)
{
    const FolderHandle folder(folderPath);
    if (!folder.isOpen())
        return false;
    for (const QString &path : RunJournalFiles()) {
        const std::optional<RunJournal> header = ReadRunJournal(path, true);
        if (header && sameFolder(folder, *header))
            return true;
    }
    return false;
}

QList<HalfRenamedFolder> FindHalfRenamedFolders()
{
    QList<HalfRenamedFolder> found;
    for (const QString &path : RunJournalFiles()) {
        if (RunJournalComplete(path))
            continue;
        const std::optional<RunJournal> header = ReadRunJournal(path, true);
        if (!header)
            continue;
        // A run still going holds the folder's lock.
        const FolderHandle folder(header->folder);
        if (folder.isOpen() && sameFolder(folder, *header)) {
            if (folder.tryLock() == FolderHandle::LockResult::Busy)
                continue;
            folder.unlock();
        }
        found.append({header->folder, header->started});
    }
    return found;
}

QString UndoOutcomeMessage(const UndoReport &report)
{
    if (report.status != UndoReport::Status::Done)
        return report.message;
    if (report.left.isEmpty())
        return {};
    constexpr qsizetype kMaxNamed = 20;
    QString text = report.left.size() == 1
        ? RunText::tr("1 file could not be put back:")
        : RunText::tr("%1 files could not be put back:").arg(report.left.size());
    for (qsizetype i = 0; i < report.left.size() && i < kMaxNamed; ++i)
        text += QLatin1Char('\n') + report.left.at(i).oldName + QStringLiteral(": ") + report.left.at(i).message;
    if (report.left.size() > kMaxNamed)
        text += QStringLiteral("\n... and %1 more.").arg(report.left.size() - kMaxNamed);
    const qsizetype restored = report.restored.size();
    if (restored == 1)
        text += RunText::tr("\n\n1 other file was put back.");
    else if (restored > 1)
        text += RunText::tr("\n\n%1 other files were put back.").arg(restored);
    return text;
}

QString HalfRenamedMessage(const QList<HalfRenamedFolder> &folders)
{
    if (folders.isEmpty())
        return {};
    QStringList names;
    for (const HalfRenamedFolder &folder : folders) {
        const QString name = QDir::toNativeSeparators(folder.folder);
        if (!names.contains(name))
            names.append(name);
    }
    if (names.size() == 1)
        return RunText::tr("A rename in the folder \"%1\" was cut off and left it half-renamed. Open that folder "
                           "and choose \"Undo Last Rename\" in the File menu to put it back as it was.")
            .arg(names.constFirst());
    return RunText::tr("Renames in these folders were cut off and left them half-renamed:\n%1\n\nOpen each "
                       "folder and choose \"Undo Last Rename\" in the File menu to put it back as it was.")
        .arg(names.join(QLatin1Char('\n')));
}
