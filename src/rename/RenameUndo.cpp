#include "rename/RenameUndo.h"

#include "core/FolderHandle.h"
#include "rename/EntryIdentity.h"
#include "rename/JournalUndoer.h"
#include "rename/RenameRun.h"
#include "rename/RunJournal.h"
#include "rename/RunText.h"
#include "rename/TrashCan.h"

#include <QDir>

#include <optional>

namespace {

enum class FolderMatch { Same, Other, Replaced };

// Whether the journal's run was made in this folder. A folder with the
// journal's device and inode number but another birth time took the number
// of the run's folder after that one was deleted: Replaced. A journal
// without the folder's birth time (an older one) takes a folder born after
// its run began for another.
FolderMatch matchFolder(const FolderHandle &folder, const RunJournal &journal)
{
    const std::optional<EntryIdentity> identity =
        folder.isOpen() ? IdentifyEntry(folder.descriptor(), "") : std::nullopt;
    if (!identity || identity->device != journal.folderDevice || identity->inode != journal.folderInode)
        return FolderMatch::Other;
    if (!journal.folderStamp.isEmpty())
        return identity->stamp == journal.folderStamp ? FolderMatch::Same : FolderMatch::Replaced;
    if (!identity->stamp.isEmpty() && identity->bornMs > journal.started.toMSecsSinceEpoch())
        return FolderMatch::Replaced;
    return FolderMatch::Same;
}

// The newest journal of the folder's inode not undone yet: the folder's own
// run, or that of a folder it replaced.
std::optional<RunJournal> lastRunOf(const FolderHandle &folder, FolderMatch *match)
{
    for (const QString &path : RunJournalFiles()) {
        const std::optional<RunJournal> header = ReadRunJournal(path, true);
        if (!header)
            continue;
        *match = matchFolder(folder, *header);
        if (*match == FolderMatch::Same)
            return ReadRunJournal(path);
        if (*match == FolderMatch::Replaced)
            return header;
    }
    return std::nullopt;
}

// A single entry of the folder: what the run itself writes. Anything else
// in a journal (a path, "..") would lead a move out of the folder.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(u'/') && !name.contains(QChar(0));
}

// Why the journal cannot be trusted to take its run back, or an empty text.
QString journalDamage(const RunJournal &journal, const FolderHandle &folder)
{
    for (const RunJournal::File &file : journal.files) {
        if (!isPlainName(file.oldName))
            return RunText::tr("\"%1\" is not a name in the folder").arg(file.oldName);
    }
    for (const RunJournal::Move &move : journal.moves) {
        if (!isPlainName(move.from) || !isPlainName(move.to))
            return RunText::tr("\"%1\" is not a name in the folder").arg(isPlainName(move.from) ? move.to : move.from);
    }
    for (const RunJournal::Replaced &replaced : journal.replaced) {
        if (!isPlainName(replaced.name))
            return RunText::tr("\"%1\" is not a name in the folder").arg(replaced.name);
        if (replaced.lost)
            continue;
        if (!isPlainName(replaced.trashName))
            return RunText::tr("\"%1\" is not a name in the trash").arg(replaced.trashName);
        if (!TrashCan::isTrashOf(replaced.trashFolder, folder))
            return RunText::tr("\"%1\" is not a trash of the folder").arg(replaced.trashFolder);
    }
    return {};
}

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
    FolderMatch match = FolderMatch::Other;
    const std::optional<RunJournal> journal = lastRunOf(folder, &match);
    if (journal && match == FolderMatch::Replaced) {
        report.status = UndoReport::Status::Refused;
        report.message = RunText::tr("The last recorded rename of \"%1\" was made in a folder that has been deleted "
                                     "since; this folder only took its place. Nothing was moved.")
                             .arg(QDir::toNativeSeparators(folderPath));
        return report;
    }
    if (!journal) {
        report.status = UndoReport::Status::NothingToUndo;
        report.message = RunText::tr("No rename in the folder \"%1\" is left to undo.")
                             .arg(QDir::toNativeSeparators(folderPath));
        return report;
    }
    if (const QString damage = journalDamage(*journal, folder); !damage.isEmpty()) {
        report.status = UndoReport::Status::Refused;
        report.message =
            RunText::tr("The record \"%1\" of the last rename in \"%2\" is damaged: %3. Nothing was moved.")
                .arg(journal->path, QDir::toNativeSeparators(folderPath), damage);
        return report;
    }
    report.status = UndoReport::Status::Done;
    report.journalPath = journal->path;
    report.runStarted = journal->started;
    report.runWasComplete = journal->complete;
    JournalUndoer(folder, *journal, dryRun, report).run();
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
        const FolderMatch match = header ? matchFolder(folder, *header) : FolderMatch::Other;
        if (match != FolderMatch::Other)
            return match == FolderMatch::Same;
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
        if (folder.isOpen() && matchFolder(folder, *header) == FolderMatch::Same) {
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
