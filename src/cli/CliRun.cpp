#include "cli/CliRun.h"

#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/CliReport.h"
#include "core/FolderContent.h"
#include "core/FolderHandle.h"
#include "core/FolderReader.h"
#include "core/NumberText.h"
#include "rename/NameComposition.h"
#include "rename/RenameRun.h"
#include "rename/RenameUndo.h"
#include "rename/rules/PresetFile.h"
#include "rename/rules/RulePlan.h"
#include "rename/rules/RulePlanCache.h"
#include "rename/rules/StatusPrefetch.h"
#include "selection/FileListing.h"

#include <cerrno>
#include <csignal>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>

#include <signal.h>

namespace {

// With the system's reason, as GNU tools give it.
QString folderUnreadable(int error)
{
    return CliText::tr("the folder cannot be read") + QStringLiteral(": ") + qt_error_string(error);
}

// Takes the folder's lock for the whole command (a dry run changes nothing
// and needs none); a refusal's exit status when the folder cannot be had.
std::optional<int> lockFolder(const FolderHandle &folder, bool dryRun, CliOutput &err)
{
    if (!folder.isOpen()) {
        WriteCliFileMessage(err, folder.path(), folderUnreadable(folder.openError()));
        return CliRefused;
    }
    if (!dryRun && folder.tryLock() == FolderHandle::LockResult::Busy) {
        WriteCliMessage(err, FolderBusyMessage(folder.path()));
        return CliRefused;
    }
    return std::nullopt;
}

volatile std::sig_atomic_t g_stopSignal = 0;

extern "C" void noteStopSignal(int signal)
{
    g_stopSignal = signal;
}

// While a run goes, SIGINT, SIGTERM and SIGHUP ask it to stop before its
// next file instead of cutting it off between two moves: the files set aside
// are put in their place, the report is printed, and the exit status is the
// one shells expect of a process the signal ended.
class StopSignals
{
public:
    StopSignals()
    {
        g_stopSignal = 0;
        struct sigaction action = {};
        action.sa_handler = noteStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            ::sigaction(kSignals[i], &action, &m_previous[i]);
    }
    ~StopSignals()
    {
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            ::sigaction(kSignals[i], &m_previous[i], nullptr);
    }
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    static int received() { return g_stopSignal; }

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_previous[std::size(kSignals)] = {};
};

// Writes each rename as it is done, out within a moment, so that a run
// killed outright still leaves a record of what it did up to then; the
// journal holds the rest. No list of them is kept: a run of a million files
// holds no line for each.
class CliRunTarget final : public RenameRunTarget
{
public:
    CliRunTarget(CliOutput &out, bool nullSeparated)
        : m_out(out)
        , m_nullSeparated(nullSeparated)
    {
    }
    void fileRenamed(const RenamedFile &file) override
    {
        WriteRenamedFile(m_out, file.oldName, file.newName, m_nullSeparated);
        m_out.flushSoon();
    }
    bool stopRequested() override { return StopSignals::received() != 0; }

private:
    CliOutput &m_out;
    bool m_nullSeparated;
};

// One "FROM -> TO" line (or "FROM\0TO\0" record) per file put back on out,
// one "NAME: reason" line per file left on err.
int runUndo(const CliCommand &command, CliOutput &out, CliOutput &err)
{
    const UndoReport report = UndoLastRun(command.folder, command.dryRun);
    if (report.status != UndoReport::Status::Done) {
        WriteCliMessage(err, report.message);
        return CliRefused;
    }
    for (const UndoneFile &file : report.restored)
        WriteRenamedFile(out, file.from, file.to, command.nullSeparated);
    for (const UndoLeftFile &file : report.left)
        WriteCliFileMessage(err, file.name, file.message);
    return report.left.isEmpty() ? CliAllRenamed : CliSomeLeft;
}

// A report that could not be written is no report: the caller must not take
// the run for one that went as printed.
int finish(int status, CliOutput &out, CliOutput &err)
{
    if (!out.flush()) {
        WriteCliMessage(err, CliText::tr("write error: ") + out.errorText());
        err.flush();
        return CliRefused;
    }
    err.flush();
    return status;
}

// Every new name, worked out and checked before the first move; false when
// the plan refuses the run, which is then told why.
// The entries (and what the listing's read showed of them) are put in the
// order the run takes them.
// prefetch, when given, is reading the listed files' statuses.
bool planRules(const FolderHandle &folder, QList<RenameEntry> &entries, FolderContent &content, CliCommand &command,
               std::unique_ptr<StatusPrefetch> prefetch, CliOutput &err)
{
    const RulePlan plan = [&] {
        RulePlanCache cache(folder, entries);
        // The entries are the listed files in list order, each knowing its
        // place in the order read.
        if (prefetch && content.listed.size() == size_t(entries.size())) {
            std::vector<quint32> placeOf(content.listed.size());
            for (size_t i = 0; i < placeOf.size(); ++i)
                placeOf[i] = content.listed[i].order;
            cache.facts().adoptStatuses(std::move(prefetch), std::move(placeOf));
        }
        return RulePlan::make(cache, command.rules, command.request.keepExisting, command.request.entryCount);
    }();
    if (plan.isRefused()) {
        WriteCliMessage(err, plan.refusal());
        return false;
    }
    for (const RulePlan::Note &note : plan.notes())
        WriteCliFileMessage(err, entries.at(note.entry).name, note.message);
    if (plan.runOrder().empty()) {
        command.request.plannedNames = plan.names();
        return true;
    }
    command.request.plannedNames = std::make_shared<const QStringList>(plan.arranged(*plan.names()));
    if (content.listed.size() == size_t(entries.size()))
        content.listed = plan.arranged(content.listed);
    entries = plan.arranged(entries);
    return true;
}

int run(const CliParseResult &parsed, CliOutput &out, CliOutput &err)
{
    switch (parsed.action) {
    case CliParseResult::Action::ShowHelp:
    case CliParseResult::Action::ShowVersion:
    case CliParseResult::Action::ShowList:
        // The program's own lines, not names: on a terminal too their line
        // breaks must stay line breaks, not show as escapes.
        out.write(QByteArrayView(parsed.text.toUtf8()));
        return CliAllRenamed;
    case CliParseResult::Action::BadArguments:
        WriteCliMessage(err, parsed.text, parsed.usage);
        return CliRefused;
    case CliParseResult::Action::Run:
        break;
    }

    CliCommand command = parsed.command;
    if (command.undo)
        return runUndo(command, out, err);
    if (!command.savePreset.isEmpty()) {
        QString problem;
        if (!PresetFile::write(PresetFile::pathOf(command.savePreset), command.rules, &problem)) {
            WriteCliMessage(err, problem);
            return CliRefused;
        }
        if (command.saveOnly)
            return CliAllRenamed;
    }
    const bool ruled = !command.rules.isEmpty();
    if (const std::optional<QString> refusal = ruled ? std::nullopt : ValidateRenameRequest(command.request)) {
        WriteCliMessage(err, *refusal, true);
        return CliRefused;
    }

    // The window's number box puts "1" back for anything but a whole number;
    // here a typo would rename the first file and leave all the others.
    const bool numbered = !ruled && PutsNumberInName(command.request.type);
    if (numbered && !ParseWholeNumber(command.request.numberText)) {
        WriteCliMessage(err,
                        CliText::tr("the starting number \"%1\" is no whole number").arg(command.request.numberText),
                        true);
        return CliRefused;
    }

    // The folder is opened and locked once: the listing and the run see the
    // same folder, and no other run changes it in between.
    const FolderHandle folder(command.folder);
    if (const std::optional<int> refused = lockFolder(folder, command.dryRun, err))
        return *refused;
    bool readable = false;
    // The names' text lies in one block that every name refers to: a list of
    // a million files costs no allocation per name. It outlives everything
    // below that holds a name.
    QString listedText;
    // What the same read showed besides, so that the run needs no second.
    FolderContent content;
    // Numbering every file by modified time or size reads each one's
    // status: begun while the folder is still being listed.
    std::unique_ptr<StatusPrefetch> prefetch;
    std::function<void(const char *, size_t)> eachListed;
    if (ruled && command.selectAll && RulePlan::readsEveryStatus(command.rules)) {
        prefetch = std::make_unique<StatusPrefetch>(folder);
        eachListed = [&prefetch](const char *name, size_t length) { prefetch->add(name, length); };
    }
    QStringList listed = ListFolderFiles(folder, command.pattern, &readable, &listedText, &content, eachListed);
    if (!readable) {
        // The listing tells only that it failed; a second look finds why.
        const FolderReader probe(folder);
        const int error = probe.isOpen() || probe.error() == 0 ? EIO : probe.error();
        WriteCliFileMessage(err, command.folder, folderUnreadable(error));
        return CliRefused;
    }
    // The zero-fill width follows the whole list, as the window shows it.
    command.request.entryCount = int(qMin<qsizetype>(listed.size(), std::numeric_limits<int>::max()));

    QStringList missing;
    QList<RenameEntry> entries = SelectCliEntries(listed, command.names, command.selectAll, &missing);
    QStringList().swap(listed); // the entries share its names
    if (!missing.isEmpty()) {
        for (const QString &name : std::as_const(missing))
            WriteCliFileMessage(err, name,
                                CliText::tr("not in the file list of the folder under the pattern \"%1\"")
                                    .arg(command.pattern));
        return CliRefused;
    }

    if (ruled && !planRules(folder, entries, content, command, std::move(prefetch), err))
        return CliRefused;

    const StopSignals stopSignals;
    CliRunTarget target(out, command.nullSeparated);
    RenameFileOperations &operations = command.dryRun ? SimulatedFileOperations() : SystemFileOperations();
    // Each renamed file is written as it is done: the report only counts
    // them. A line may come a batch of moves after its move.
    const RenameReport report = RunRename(folder, entries, command.request, target,
                                          {.fileOperations = &operations, .listedContent = &content,
                                           .keepRenamedList = false, .batchedMoves = !command.dryRun});
    if (report.refusal == RenameReport::Refusal::NoJournal) {
        WriteCliMessage(err, report.refusalMessage + u' '
                                 + CliText::tr("To rename all the same, without a way to undo it, give --no-undo."));
        return CliRefused;
    }
    if (report.refusal != RenameReport::Refusal::None) {
        WriteCliMessage(err, report.refusalMessage);
        return CliRefused;
    }

    // A journal cut short still takes back what it recorded.
    if (!command.dryRun && !report.journalProblem.isEmpty())
        WriteCliMessage(err, report.journalPath.isEmpty()
                                 ? CliText::tr("no journal is kept for this run, so it cannot be undone: ")
                                     + report.journalProblem
                                 : report.journalProblem);
    // The renamed files are written already, each as it was done.
    WriteRenameReportTail(report, command.dryRun, command.nullSeparated, out, err);
    if (report.stopped)
        return 128 + StopSignals::received();
    return report.leftInPlace.isEmpty() ? CliAllRenamed : CliSomeLeft;
}

} // namespace

int RunCli(const QList<QByteArray> &arguments, CliOutput &out, CliOutput &err)
{
    return finish(run(ParseRawCliArguments(arguments), out, err), out, err);
}
