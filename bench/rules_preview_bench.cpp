// How the rules preview keeps up with editing rules while 100,000 files of
// a folder are selected: four rules (an expression with a group, Title
// case, numbering in order of modified time, names Windows can hold, as
// cli_bench's rules job), a RulesPreviewComputer driven by the event loop
// as a window drives it, 50 rows in view. Each repetition is a burst of
// keystrokes 40 ms apart, each changing the rules; measured from the last
// keystroke's inputChanged() to the visible rows and to the whole preview,
// with the time each inputChanged() took on the event loop's thread. The
// first input (facts read and sorted) is shown on its own. The folder is
// made on tmpfs (/dev/shm) where there is one, or under $QUILLMERE_BENCH_DIR.
//
// Then memory over three preview-plan-run-undo cycles through the engine,
// as a rules window would drive them: the preview shown, the plan for a
// run, the run (journal written), the undo; the freed memory handed back
// after the run and the undo, as the main window does.

#include "core/FolderHandle.h"
#include "core/MemoryPages.h"
#include "rename/RenameRun.h"
#include "rename/RenameUndo.h"
#include "rename/rules/RulePlan.h"
#include "rename/rules/RulesPreviewComputer.h"
#include "selection/FileListing.h"

#include "BenchRules.h"
#include "ProcessMemory.h"
#include "ScratchFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kFiles = 100000;
constexpr int kVisibleRows = 50;
constexpr int kRepetitions = 12;
constexpr int kBurstKeystrokes = 5;
constexpr int kBurstIntervalMs = 40;
constexpr double kVisibleTargetMs = 50;
constexpr double kWholeTargetMs = 1000;


// Processor time of the whole process (every thread): on a machine other
// work keeps busy, steadier than the wall clock.
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double loadAverage()
{
    double load = -1;
    if (FILE *file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &load) != 1)
            load = -1;
        std::fclose(file);
    }
    return load;
}

void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Series
{
    std::vector<double> values;
    void add(double value) { values.push_back(value); }
    double median() const
    {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    }
    double max() const { return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end()); }
};

// Times from a keystroke to the computer's two answers for its generation.
class Watch
{
public:
    explicit Watch(RulesPreviewComputer &computer)
        : m_computer(computer)
    {
        QObject::connect(&computer, &RulesPreviewComputer::visibleRowsReady, &computer,
                         [this](qsizetype, const QList<PreviewRow> &rows, quint64 generation) {
                             if (generation == m_generation && m_visibleMs < 0) {
                                 m_visibleMs = double(m_clock.nsecsElapsed()) / 1e6;
                                 m_firstVisibleName = rows.isEmpty() ? QString() : rows.first().newName;
                             }
                         });
        QObject::connect(&computer, &RulesPreviewComputer::previewReady, &computer,
                         [this](const RenamePreview &preview, quint64 generation) {
                             if (generation == m_generation) {
                                 m_wholeMs = double(m_clock.nsecsElapsed()) / 1e6;
                                 m_wholeCpuMs = processCpuMs() - m_cpuStart;
                                 m_rows = preview.rows.size();
                                 m_refusal = preview.refusal;
                                 m_firstWholeName = preview.rows.isEmpty() ? QString() : preview.rows.first().newName;
                             }
                         });
    }

    // One keystroke; returns the milliseconds inputChanged() took.
    double keystroke()
    {
        m_clock.start();
        m_cpuStart = processCpuMs();
        m_computer.inputChanged();
        const double spent = double(m_clock.nsecsElapsed()) / 1e6;
        m_generation = m_computer.inputGeneration();
        m_visibleMs = -1;
        m_wholeMs = -1;
        return spent;
    }

    bool waitForWhole(int timeoutMs = 60000)
    {
        QElapsedTimer waited;
        waited.start();
        while (m_wholeMs < 0 && waited.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return m_wholeMs >= 0;
    }

    double visibleMs() const { return m_visibleMs; }
    double wholeMs() const { return m_wholeMs; }
    double wholeCpuMs() const { return m_wholeCpuMs; }
    qsizetype rows() const { return m_rows; }
    const QString &refusal() const { return m_refusal; }
    bool namesAgree() const { return !m_firstVisibleName.isEmpty() && m_firstVisibleName == m_firstWholeName; }
    const QString &firstName() const { return m_firstWholeName; }

private:
    RulesPreviewComputer &m_computer;
    QElapsedTimer m_clock;
    quint64 m_generation = 0;
    double m_visibleMs = -1;
    double m_wholeMs = -1;
    double m_cpuStart = 0;
    double m_wholeCpuMs = -1;
    qsizetype m_rows = 0;
    QString m_refusal;
    QString m_firstVisibleName;
    QString m_firstWholeName;
};

const char *verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

void showMemory(int cycle, const char *step)
{
    // What was handed to the pool (freeing, handing memory back) is done.
    QThreadPool::globalInstance()->waitForDone();
    const ProcessMemory memory = ProcessMemory::read();
    std::printf("%-6d %-30s %9.1f %9.1f\n", cycle, step, memory.currentMiB(), memory.peakMiB());
}

// A run of the input's rules as a window starts one: the plan, then the
// run of the planned names in the plan's order.
void runRules(const RulesPreviewInput &input, int cycle)
{
    const FolderHandle folder(input.folder);
    const int entryCount = int(input.entries.size());
    RenameRequest request;
    request.keepExisting = input.keepExisting;
    request.entryCount = entryCount;
    QList<RenameEntry> entries;
    {
        const RulePlan plan = RulePlan::make(folder, input.entries, input.rules, input.keepExisting, entryCount);
        if (plan.isRefused())
            qFatal("the plan is refused: %s", qPrintable(plan.refusal()));
        request.plannedNames = std::make_shared<const QStringList>(plan.arranged(*plan.names()));
        entries = plan.arranged(input.entries);
        showMemory(cycle, "plan made");
    }
    RenameRunTarget target;
    const RenameReport report = RunRename(folder, entries, request, target);
    if (report.renamedCount() != kFiles)
        qFatal("the run renamed %lld files", static_cast<long long>(report.renamedCount()));
}

void previewRunUndoCycles(Watch &watch, RulesPreviewInput &input)
{
    std::printf("\nMemory over preview-plan-run-undo cycles through the engine (no rules window yet), %d files\n",
                kFiles);
    std::printf("%-6s %-30s %9s %9s\n", "cycle", "after", "RSS MiB", "peak MiB");
    double highest = 0;
    for (int cycle = 1; cycle <= 3; ++cycle) {
        input.rules.rules()[0].replacement = cycle % 2 ? QStringLiteral("pic $1 ") : QStringLiteral("photo $1 ");
        watch.keystroke();
        if (!watch.waitForWhole() || watch.rows() != kFiles)
            qFatal("the preview did not come");
        showMemory(cycle, "preview shown");
        runRules(input, cycle);
        ReturnFreedMemorySoon();
        showMemory(cycle, "run");
        const UndoReport undone = UndoLastRun(input.folder);
        if (undone.status != UndoReport::Status::Done || undone.restored.size() != kFiles)
            qFatal("the undo did not take every file back");
        ReturnFreedMemorySoon();
        showMemory(cycle, "undo");
        highest = std::max(highest, ProcessMemory::read().currentMiB());
    }
    // The folder holds its first names again: the preview follows.
    watch.keystroke();
    if (!watch.waitForWhole())
        qFatal("the preview did not come");
    showMemory(4, "preview shown again");
    std::printf("highest resident after a cycle: %.1f MiB (a window's target: under 120 MiB): %s\n", highest,
                verdict(highest < 120));
}

} // namespace

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QTemporaryDir scratch(scratchRoot() + QStringLiteral("/quillmere-rules-preview-bench-XXXXXX"));
    UseScratchUserFolders(scratch.filePath(QStringLiteral("home")));
    QCoreApplication app(argc, argv);
    const QString many = scratch.filePath(QStringLiteral("many"));
    QDir().mkpath(many);
    CreateNumberedFiles(many, kFiles, QStringLiteral("IMG_%1.JPG"));
    QList<RenameEntry> entries;
    for (const QString &name : ListFolderFiles(FolderHandle(many), QStringLiteral("*.*")))
        entries.append({name, true});
    const ProcessMemory start = ProcessMemory::read();
    std::printf("%lld files in %s; memory before the preview %.1f MiB (peak %.1f MiB)\n",
                static_cast<long long>(entries.size()), qPrintable(scratchRoot()), start.currentMiB(),
                start.peakMiB());

    RulesPreviewComputer computer;
    RulesPreviewInput input{many, entries, FourRules(QStringLiteral("shot $1 ")), true};
    computer.setSource([&] { return input; });
    computer.setVisibleRows(0, kVisibleRows);
    Watch watch(computer);

    // The first input: every file's facts are read and sorted once.
    watch.keystroke();
    if (!watch.waitForWhole())
        qFatal("the first preview did not come");
    if (!watch.refusal().isEmpty() || watch.rows() != kFiles)
        qFatal("the preview is wrong: %lld rows, %s", static_cast<long long>(watch.rows()), qPrintable(watch.refusal()));
    std::printf("first input: visible rows %.1f ms (%s), whole preview %.1f ms; first row \"%s\"\n",
                watch.visibleMs(),
                computer.lastVisibleRowsSorted() ? "had to read every file's modified time and sort the list first"
                                                 : "order already kept",
                watch.wholeMs(), qPrintable(watch.firstName()));

    Series visible;
    Series whole;
    Series wholeCpu;
    Series onThread;
    int sortedBursts = 0;
    int disagreeing = 0;
    const quint64 abandonedBefore = computer.abandonedWork();
    for (int r = 0; r < kRepetitions; ++r) {
        idle(300);
        for (int k = 0; k < kBurstKeystrokes; ++k) {
            input.rules.rules()[0].replacement = QStringLiteral("shot %1 $1 ").arg(QChar(u'a' + (r * kBurstKeystrokes + k) % 26));
            onThread.add(watch.keystroke());
            if (k + 1 < kBurstKeystrokes)
                idle(kBurstIntervalMs);
        }
        if (!watch.waitForWhole() || watch.visibleMs() < 0)
            qFatal("the preview did not follow a burst");
        visible.add(watch.visibleMs());
        whole.add(watch.wholeMs());
        wholeCpu.add(watch.wholeCpuMs());
        sortedBursts += computer.lastVisibleRowsSorted() ? 1 : 0;
        disagreeing += watch.namesAgree() ? 0 : 1;
    }
    const ProcessMemory end = ProcessMemory::read();

    std::printf("\nRules preview, %d files, 4 rules, %d rows in view, %d bursts of %d keystrokes %d ms apart\n", kFiles,
                kVisibleRows, kRepetitions, kBurstKeystrokes, kBurstIntervalMs);
    std::printf("%-52s %10s %10s\n", "from the last keystroke's inputChanged()", "median", "max");
    std::printf("%-52s %7.1f ms %7.1f ms\n", "  to the visible rows", visible.median(), visible.max());
    std::printf("%-52s %7.1f ms %7.1f ms\n", "  to the whole preview", whole.median(), whole.max());
    std::printf("%-52s %7.1f ms %7.1f ms\n", "  processor time meanwhile, all threads", wholeCpu.median(),
                wholeCpu.max());
    std::printf("%-52s %7.2f ms %7.2f ms\n", "inputChanged() on the event loop's thread", onThread.median(),
                onThread.max());
    std::printf("%-52s %10d\n", "bursts whose visible rows had to sort first", sortedBursts);
    std::printf("%-52s %10d\n", "bursts whose first row disagreed with the whole", disagreeing);
    std::printf("%-52s %10llu\n", "older work stopped early",
                static_cast<unsigned long long>(computer.abandonedWork() - abandonedBefore));
    std::printf("%-52s %10.2f\n", "load average of the machine (1 minute)", loadAverage());
    std::printf("%-52s %7.1f MiB\n", "memory now", end.currentMiB());
    std::printf("%-52s %7.1f MiB\n", "memory at its peak", end.peakMiB());
    std::printf("\npause before the whole preview: %d ms; the visible rows do not wait for it, they start at the "
                "keystroke\n",
                computer.delay());
    std::printf("visible rows within %.0f ms of the last keystroke (max, pause not in their way): %s\n",
                kVisibleTargetMs, verdict(visible.max() <= kVisibleTargetMs));
    std::printf("whole list within %.0f ms of the last keystroke, pause included (max): %s\n", kWholeTargetMs,
                verdict(whole.max() <= kWholeTargetMs));

    previewRunUndoCycles(watch, input);
    return 0;
}
