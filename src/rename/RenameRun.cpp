#include "rename/RenameRun.h"

#include "core/NumberText.h"
#include "rename/BatchedMoves.h"
#include "rename/FileRenamer.h"
#include "rename/JournaledOperations.h"
#include "rename/NameComposition.h"
#include "rename/RunJournal.h"
#include "rename/RunText.h"

#include <QDir>

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

namespace {

// Plain decimal text, as QString::number gives it, but cheaper: the run
// writes one for every file. Written into text, which keeps its storage when
// nothing else shares it.
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

// The running number as the run advances it, one selected file after
// another.
class RunningNumber
{
public:
    // A run of planned names leaves the number alone.
    RunningNumber(const QString &start, RenamingType type, bool planned)
        : m_text(start)
        , m_advances(!planned && advancesNumber(type))
        , m_inName(!planned && PutsNumberInName(type))
    {
    }

    const QString &text() const { return m_text; }
    // Why no further file can be renamed, once the number cannot advance
    // and a further file would repeat it.
    const std::optional<std::pair<LeftInPlaceReason, QString>> &stuck() const { return m_stuck; }

    // The text the number will have after the current file, into text.
    void nextInto(QString &text)
    {
        text = m_text;
        if (!m_advances)
            return;
        const std::optional<qint32> current = value();
        if (current && *current < std::numeric_limits<qint32>::max())
            setDecimalText(text, qint64(*current) + 1);
    }

    // After a selected file's turn; true when the text changed.
    bool advance()
    {
        if (!m_advances)
            return false;
        const std::optional<qint32> current = value();
        if (current && *current < std::numeric_limits<qint32>::max()) {
            m_value = std::optional<qint32>(*current + 1);
            // The number before, which the target has let go of: the next
            // number is written into its storage.
            setDecimalText(m_spare, qint64(*current) + 1);
            m_text.swap(m_spare);
            return true;
        }
        if (m_inName)
            m_stuck.emplace(current ? LeftInPlaceReason::NumberExhausted : LeftInPlaceReason::NumberUnreadable,
                            current ? RunText::tr("the running number cannot go past 2147483647")
                                    : RunText::tr("the running number \"%1\" is no whole number and cannot advance")
                                          .arg(m_text));
        return false;
    }

private:
    // The value of the text, read once: the run writes every later number
    // itself, in plain decimals that read back as the value written.
    std::optional<qint32> value()
    {
        if (!m_value)
            m_value = ParseWholeNumber(m_text);
        return *m_value;
    }

    QString m_text;
    QString m_spare;
    std::optional<std::optional<qint32>> m_value;
    std::optional<std::pair<LeftInPlaceReason, QString>> m_stuck;
    bool m_advances;
    bool m_inName;
};

// The run's walk over the list, one entry after another. The renamer is
// needed only when an entry is selected; batched, when the moves are made in
// batches.
class RunLoop
{
public:
    RunLoop(const QList<RenameEntry> &entries, const RenameRequest &request, RenameRunTarget &target,
            FileRenamer *renamer, BatchedMoves *batched, RenameReport &report)
        : m_entries(entries)
        , m_request(request)
        , m_target(target)
        , m_renamer(renamer)
        , m_batched(batched)
        , m_report(report)
        , m_number(request.numberText, request.type, request.plannedNames != nullptr)
    {
    }

    void run()
    {
        const qsizetype count = m_entries.size();
        for (qsizetype i = 0; i < count; ++i) {
            if (m_entries.at(i).selected)
                renameSelected(i);
            // A stopped run leaves the bar where it stopped.
            if (!m_report.stopped)
                m_target.setProgressValue(float(double(i + 1) / double(count) * 100.0));
        }
    }

private:
    // The new name of selected entry i with the running number at number:
    // the one place the run obtains a file's new name.
    QString newNameOf(qsizetype i, const QString &number) const
    {
        if (m_request.plannedNames)
            return m_request.plannedNames->at(i);
        return ComposeNewName(m_entries.at(i).name, m_request, number);
    }

    void renameSelected(qsizetype i)
    {
        if (!m_report.stopped && m_target.stopRequested())
            m_report.stopped = true;
        // A file left in place is reported after every planned move, in list
        // order.
        if (m_batched && (m_report.stopped || m_number.stuck()))
            m_batched->finish();
        if (m_report.stopped) {
            m_renamer->skip(int(i), QString(), LeftInPlaceReason::Stopped,
                           RunText::tr("the run was stopped before this file's turn"));
            return;
        }
        if (const auto &stuck = m_number.stuck()) {
            m_renamer->skip(int(i), QString(), stuck->first, stuck->second);
            return;
        }
        const QString &number = m_number.text();
        QString newName = m_upcomingEntry == i && m_upcomingNumber == number
            ? std::exchange(m_upcomingName, QString())
            : newNameOf(i, number);
        composeUpcoming(i);
        if (m_batched)
            m_batched->rename(int(i), newName);
        else
            m_renamer->rename(int(i), newName);
        if (m_number.advance())
            m_target.setNumberText(m_number.text());
    }

    // The next selected file's new name is composed before this file's
    // move, so that the index can fetch where it will look that name up
    // while the move runs. It is taken when its turn comes with the number
    // it was composed with; otherwise the name is composed again.
    void composeUpcoming(qsizetype after)
    {
        const qsizetype count = m_entries.size();
        m_nextSelected = std::max(m_nextSelected, after + 1);
        while (m_nextSelected < count && !m_entries.at(m_nextSelected).selected)
            ++m_nextSelected;
        if (m_nextSelected >= count)
            return;
        m_number.nextInto(m_upcomingNumber);
        m_upcomingEntry = m_nextSelected;
        m_upcomingName = newNameOf(m_upcomingEntry, m_upcomingNumber);
        m_renamer->prefetchName(m_upcomingName);
    }

    const QList<RenameEntry> &m_entries;
    const RenameRequest &m_request;
    RenameRunTarget &m_target;
    FileRenamer *m_renamer;
    BatchedMoves *m_batched;
    RenameReport &m_report;
    RunningNumber m_number;
    qsizetype m_upcomingEntry = -1;
    qsizetype m_nextSelected = 0;
    QString m_upcomingNumber;
    QString m_upcomingName;
};

// Writes the run's plan to its journal before the first file moves. False
// when the run must not start: no journal, and the request does not allow a
// run that cannot be undone.
bool startJournal(const FolderHandle &folder, const RenameRequest &request, RunJournalWriter &journal,
                  JournaledOperations &journaled, const FileRenamer &renamer, RenameReport &report)
{
    QString problem;
    if (journal.begin(folder, &problem)) {
        renamer.writePlan(journal);
        if (journal.commitPlan(&problem)) {
            journaled.attach(&journal);
            report.journalPath = journal.path();
        }
    }
    // In a folder that cannot be opened nothing moves, and each file is
    // reported.
    if (report.journalPath.isEmpty() && !request.allowNoUndo && folder.isOpen()) {
        report.refusal = RenameReport::Refusal::NoJournal;
        report.refusalMessage = NoJournalMessage(folder.path(), problem);
        return false;
    }
    report.journalProblem = problem;
    return true;
}

} // namespace

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
                       RenameRunTarget &target, const RunOptions &options)
{
    RenameFileOperations &fileOperations = options.fileOperations ? *options.fileOperations : SystemFileOperations();
    RenameReport report;
    // Two runs in one folder would each move files the other counts on.
    // Where the file system has no locks, the run goes ahead as before.
    if (folder.isOpen() && fileOperations.changesFolder() && folder.tryLock() == FolderHandle::LockResult::Busy) {
        report.refusal = RenameReport::Refusal::FolderBusy;
        report.refusalMessage = FolderBusyMessage(folder.path());
        return report;
    }

    const bool anySelected =
        std::any_of(entries.cbegin(), entries.cend(), [](const RenameEntry &e) { return e.selected; });
    std::optional<JournaledOperations> journaled;
    RunJournalWriter journal(fileOperations.systemCalls());
    std::optional<FileRenamer> renamer;
    if (anySelected) {
        if (fileOperations.keepsJournal())
            journaled.emplace(fileOperations, folder);
        renamer.emplace(folder, entries, request, journaled ? *journaled : fileOperations,
                        journaled ? &*journaled : nullptr, target, report, options.keepRenamedList,
                        options.listedContent);
        if (journaled && !startJournal(folder, request, journal, *journaled, *renamer, report))
            return report;
        renamer->forgetFound();
    }
    std::optional<BatchedMoves> batched;
    if (renamer && options.batchedMoves)
        batched.emplace(*renamer, journaled ? *journaled : fileOperations, folder);
    RunLoop(entries, request, target, renamer ? &*renamer : nullptr, batched ? &*batched : nullptr, report).run();
    if (batched)
        batched->finish();
    if (renamer)
        renamer->restoreSetAside();
    if (journal.isOpen() && !journal.finish() && report.journalProblem.isEmpty())
        report.journalProblem =
            RunText::tr("the journal \"%1\" could not be written to its end (%2): undo can take back only the "
                        "moves it recorded before, and no file was replaced after")
                .arg(journal.path(), journal.failure());

    if (!request.plannedNames && filterFollowsExtension(request.type) && request.filterOn
        && request.newExtension != request.filterExtension)
        target.setFilterText(request.newExtension);
    if (!request.rememberNumber)
        target.setNumberText(request.numberText);
    target.refreshLists();
    return report;
}
