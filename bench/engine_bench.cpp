// Speed and memory of the window-independent engine on large folders:
//   - listing a folder (every file, and one extension) against a bare
//     directory read of the same folder: target within 2x;
//   - a rename run over every file against a bare loop of rename() calls
//     over the same old and new names: target within 1.5x;
//   - 10,000 against 100,000 files: time grows at most 12x;
//   - the run's journal adds at most a tenth to the run;
//   - peak memory of listing and renaming 100,000 names: below 64 MB,
//     measured in a fresh child process.
// A summary with the ratios and whether each target is met follows the
// benchmark table. Folders are made on tmpfs (/dev/shm) where there is one,
// or under $QUILLMERE_BENCH_DIR when that is set.

#include "rename/NameComposition.h"
#include "rename/RenameRun.h"
#include "selection/FileListing.h"

#include "ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#if defined(Q_OS_UNIX)
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <cstdio>
#else
#include <QDirIterator>
#endif

namespace {

constexpr int kSmall = 10000;
constexpr int kLarge = 100000;
constexpr const char *kMemoryChildFlag = "--peak-memory-child";
constexpr const char *kSkipMemoryFlag = "--skip-memory";

bool createEmptyFile(const QString &path)
{
#if defined(Q_OS_UNIX)
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
#else
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
#endif
}

// A scratch folder of `count` empty files, removed when the program ends.
class ScratchFolder
{
public:
    enum class Kind { Listing, Renaming };

    ScratchFolder(Kind kind, int count)
        : m_dir(scratchRoot() + QStringLiteral("/quillmere-bench-XXXXXX"))
    {
        if (!m_dir.isValid())
            return;
        // Listing folders mix letter case and extensions, so that sorting
        // has work to do and "*.jpg" selects half of the files.
        static const char *const prefixes[] = {"IMG_", "img_", "Photo ", "scan-"};
        static const char *const extensions[] = {".jpg", ".JPG", ".png", ".txt"};
        for (int i = 0; i < count; ++i) {
            QString name;
            if (kind == Kind::Listing) {
                // Spread the numbers so creation order is not list order.
                const int scrambled = int((qint64(i) * 7919) % count);
                name = QString::fromLatin1(prefixes[i % 4]) + QString::number(scrambled).rightJustified(6, u'0')
                    + QString::fromLatin1(extensions[(i / 4) % 4]);
            } else {
                name = QStringLiteral("a_") + QString::number(i).rightJustified(6, u'0') + QStringLiteral(".dat");
            }
            if (!createEmptyFile(m_dir.filePath(name))) {
                m_failed = true;
                return;
            }
        }
    }

    bool isValid() const { return m_dir.isValid() && !m_failed; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_failed = false;
};

ScratchFolder &scratchFolder(ScratchFolder::Kind kind, int count)
{
    static std::map<std::pair<int, int>, std::unique_ptr<ScratchFolder>> folders;
    std::unique_ptr<ScratchFolder> &folder = folders[{int(kind), count}];
    if (!folder)
        folder = std::make_unique<ScratchFolder>(kind, count);
    return *folder;
}

// The least any listing has to do: read every entry and keep its name.
std::vector<std::string> bareDirectoryRead(const QString &folder)
{
    std::vector<std::string> names;
#if defined(Q_OS_UNIX)
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
#else
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext())
        names.push_back(it.next().toStdString());
#endif
    return names;
}

void BM_BareDirectoryRead(benchmark::State &state)
{
    const ScratchFolder &folder = scratchFolder(ScratchFolder::Kind::Listing, int(state.range(0)));
    if (!folder.isValid()) {
        state.SkipWithError("could not create the folder");
        return;
    }
    for (auto _ : state) {
        std::vector<std::string> names = bareDirectoryRead(folder.path());
        benchmark::DoNotOptimize(names.data());
    }
}

void listFolder(benchmark::State &state, const QString &pattern, qsizetype expected)
{
    const ScratchFolder &folder = scratchFolder(ScratchFolder::Kind::Listing, int(state.range(0)));
    if (!folder.isValid()) {
        state.SkipWithError("could not create the folder");
        return;
    }
    for (auto _ : state) {
        QStringList names = ListFolderFiles(FolderHandle(folder.path()), pattern);
        if (names.size() != expected) {
            state.SkipWithError("wrong number of files listed");
            return;
        }
        benchmark::DoNotOptimize(names.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ListFolderAll(benchmark::State &state)
{
    listFolder(state, QStringLiteral("*.*"), state.range(0));
}

void BM_ListFolderJpg(benchmark::State &state)
{
    listFolder(state, QStringLiteral("*.jpg"), state.range(0) / 2);
}

// The rename benchmarks move every file of the folder between the name
// families "a_N.dat" and "b_N.dat", one direction per iteration, so each
// iteration starts from a folder just like the one before.
RenameRequest nextRequest(const QStringList &names)
{
    RenameRequest request;
    request.type = NameOnly;
    request.newText = names.value(0).startsWith(u'a') ? QStringLiteral("b_") : QStringLiteral("a_");
    request.numberText = QStringLiteral("1");
    request.pad = true;
    request.keepExisting = true;
    request.entryCount = int(names.size());
    return request;
}

QList<RenameEntry> allSelected(const QStringList &names)
{
    QList<RenameEntry> entries;
    entries.reserve(names.size());
    for (const QString &name : names)
        entries.append({name, true});
    return entries;
}

void BM_RunRename(benchmark::State &state)
{
    const int count = int(state.range(0));
    const ScratchFolder &folder = scratchFolder(ScratchFolder::Kind::Renaming, count);
    if (!folder.isValid()) {
        state.SkipWithError("could not create the folder");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        const QStringList names = ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*"));
        const RenameRequest request = nextRequest(names);
        const QList<RenameEntry> entries = allSelected(names);
        RenameRunTarget target;
        state.ResumeTiming();

        const RenameReport report = RunRename(FolderHandle(folder.path()), entries, request, target);

        if (report.renamedCount() != count) {
            state.SkipWithError("not every file was renamed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// The same run without its journal (and without the trash, which this run
// never needs): what the journal costs.
class UnjournaledOperations final : public RenameFileOperations
{
public:
    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        return SystemFileOperations().renameFile(folder, fromName, toName, mode, error);
    }
    bool keepsJournal() const override { return false; }
};

void BM_RunRenameUnjournaled(benchmark::State &state)
{
    const int count = int(state.range(0));
    const ScratchFolder &folder = scratchFolder(ScratchFolder::Kind::Renaming, count);
    if (!folder.isValid()) {
        state.SkipWithError("could not create the folder");
        return;
    }
    UnjournaledOperations operations;
    for (auto _ : state) {
        state.PauseTiming();
        const QStringList names = ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*"));
        const RenameRequest request = nextRequest(names);
        const QList<RenameEntry> entries = allSelected(names);
        RenameRunTarget target;
        state.ResumeTiming();

        const RenameReport report = RunRename(FolderHandle(folder.path()), entries, request, target,
                                              {.fileOperations = &operations});

        if (report.renamedCount() != count) {
            state.SkipWithError("not every file was renamed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// The run's own work without the file system's: the same run through the
// simulated file operations, which rename nothing.
void BM_RunRenameSimulated(benchmark::State &state)
{
    const int count = int(state.range(0));
    const ScratchFolder &folder = scratchFolder(ScratchFolder::Kind::Renaming, count);
    if (!folder.isValid()) {
        state.SkipWithError("could not create the folder");
        return;
    }
    const QStringList names = ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*"));
    const RenameRequest request = nextRequest(names);
    const QList<RenameEntry> entries = allSelected(names);
    for (auto _ : state) {
        RenameRunTarget target;
        const RenameReport report = RunRename(FolderHandle(folder.path()), entries, request, target,
                                              {.fileOperations = &SimulatedFileOperations()});
        if (report.renamedCount() != count) {
            state.SkipWithError("not every file was renamed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_BareRenameLoop(benchmark::State &state)
{
    const int count = int(state.range(0));
    const ScratchFolder &folder = scratchFolder(ScratchFolder::Kind::Renaming, count);
    if (!folder.isValid()) {
        state.SkipWithError("could not create the folder");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        // The same old and new names the run would use, ready as paths.
        const QStringList names = ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*"));
        const RenameRequest request = nextRequest(names);
        std::vector<QByteArray> oldPaths;
        std::vector<QByteArray> newPaths;
        oldPaths.reserve(size_t(count));
        newPaths.reserve(size_t(count));
        const QString prefix = folder.path() + u'/';
        for (qsizetype i = 0; i < names.size(); ++i) {
            oldPaths.push_back(QFile::encodeName(prefix + names.at(i)));
            newPaths.push_back(QFile::encodeName(prefix + ComposeNewName(names.at(i), request, QString::number(i + 1))));
        }
        state.ResumeTiming();

        int failed = 0;
        for (size_t i = 0; i < oldPaths.size(); ++i)
            failed += std::rename(oldPaths[i].constData(), newPaths[i].constData()) != 0;

        if (failed != 0 || names.size() != count) {
            state.SkipWithError("a rename failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_BareDirectoryRead)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListFolderAll)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListFolderJpg)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareRenameLoop)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RunRenameSimulated)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RunRename)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RunRenameUnjournaled)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the table as usual and remembers each benchmark's time per
// iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    struct Times
    {
        double real = -1.0; // per iteration, in the benchmark's unit
        double cpu = -1.0;
    };

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const std::string name = run.run_name.str();
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !m_fromMedian.count(name)))
                m_times[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (median)
                m_fromMedian[name] = true;
        }
    }

    Times times(const std::string &name) const
    {
        const auto it = m_times.find(name);
        return it == m_times.end() ? Times{} : it->second;
    }

private:
    std::map<std::string, Times> m_times;
    std::map<std::string, bool> m_fromMedian;
};

struct MemoryFigures
{
    long listingKiB = -1; // growth of the peak while listing
    long runKiB = -1;     // growth of the peak while listing, then renaming
    long peakKiB = -1;    // the child's whole peak
};

#if defined(Q_OS_UNIX)
// Peak resident size of this process image. On Linux the kernel's VmHWM is
// used: getrusage's maximum survives exec, so in a child started from this
// benchmark it would still hold the parent's peak.
long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> statusLines = status.readAll().split('\n');
        for (const QByteArray &line : statusLines) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
#endif

// Child process: lists the folder and renames every file in it, and
// prints by how much each step raised its peak resident size.
int measureMemoryChild(const QString &folder)
{
#if defined(Q_OS_UNIX)
    const long before = peakResidentKiB();
    long afterListing = 0;
    {
        const QStringList names = ListFolderFiles(FolderHandle(folder), QStringLiteral("*.*"));
        afterListing = peakResidentKiB();
        const RenameRequest request = nextRequest(names);
        RenameRunTarget target;
        const RenameReport report = RunRename(FolderHandle(folder), allSelected(names), request, target);
        if (report.renamedCount() != names.size() || names.size() != kLarge)
            return 3;
    }
    const long after = peakResidentKiB();
    std::printf("%ld %ld %ld\n", afterListing - before, after - before, after);
    return 0;
#else
    Q_UNUSED(folder);
    return 3;
#endif
}

MemoryFigures measureMemory(const char *program)
{
    MemoryFigures figures;
    const ScratchFolder &folder = scratchFolder(ScratchFolder::Kind::Renaming, kLarge);
    if (!folder.isValid())
        return figures;
    QProcess child;
    child.start(QFile::decodeName(program), {QString::fromLatin1(kMemoryChildFlag), folder.path()});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return figures;
    const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
    if (parts.size() == 3) {
        figures.listingKiB = parts.at(0).toLong();
        figures.runKiB = parts.at(1).toLong();
        figures.peakKiB = parts.at(2).toLong();
    }
    return figures;
}

void printMemory(const char *what, long kib)
{
    const double mib = double(kib) / 1024.0;
    std::printf("%-46s %6.1f MiB  (target < 64 MiB)  %s\n", what, mib, mib < 64.0 ? "met" : "MISSED");
}

// The target is judged on CPU time, which other programs on a busy machine
// disturb less than wall-clock time; both ratios are shown.
void printRatio(const SummaryReporter &reporter, const char *what, const std::string &measured,
                const std::string &baseline, double limit)
{
    const SummaryReporter::Times a = reporter.times(measured);
    const SummaryReporter::Times b = reporter.times(baseline);
    if (a.cpu < 0 || b.cpu <= 0 || b.real <= 0) {
        std::printf("%-46s not measured\n", what);
        return;
    }
    const double cpuRatio = a.cpu / b.cpu;
    const double realRatio = a.real / b.real;
    std::printf("%-46s cpu %6.2fx  wall %6.2fx  (target <= %.1fx)  %s\n", what, cpuRatio, realRatio, limit,
                cpuRatio <= limit ? "met" : "MISSED");
}

// How much faster the measured call grows from 10,000 to 100,000 files than
// the bare system call it stands on: where the system call itself grows
// faster than tenfold (a directory read on tmpfs does), the growth target
// cannot be met by any listing, and this tells what the engine adds.
void printRelativeGrowth(const SummaryReporter &reporter, const char *what, const std::string &measured,
                         const std::string &baseline, const std::string &small, const std::string &large)
{
    const SummaryReporter::Times a = reporter.times(measured + large);
    const SummaryReporter::Times b = reporter.times(measured + small);
    const SummaryReporter::Times c = reporter.times(baseline + large);
    const SummaryReporter::Times d = reporter.times(baseline + small);
    if (a.cpu < 0 || b.cpu <= 0 || c.cpu <= 0 || d.cpu <= 0 || b.real <= 0 || c.real <= 0 || d.real <= 0) {
        std::printf("%-46s not measured\n", what);
        return;
    }
    std::printf("%-46s cpu %6.2fx  wall %6.2fx\n", what, (a.cpu / b.cpu) / (c.cpu / d.cpu),
                (a.real / b.real) / (c.real / d.real));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == kMemoryChildFlag)
        return measureMemoryChild(QFile::decodeName(argv[2]));

    bool skipMemory = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == kSkipMemoryFlag) {
            skipMemory = true;
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::printf("Scratch folders in %s\n", qPrintable(scratchRoot()));
    // The runs' journals go beside the scratch folders, not among the
    // user's own.
    const QTemporaryDir stateHome(scratchRoot() + QStringLiteral("/quillmere-bench-state-XXXXXX"));
    if (stateHome.isValid())
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::string small = "/" + std::to_string(kSmall) + "/real_time";
    const std::string large = "/" + std::to_string(kLarge) + "/real_time";
    std::printf("\nSummary (%d files unless noted)\n", kLarge);
    printRatio(reporter, "list \"*.*\" vs bare directory read", "BM_ListFolderAll" + large,
               "BM_BareDirectoryRead" + large, 2.0);
    printRatio(reporter, "list \"*.jpg\" vs bare directory read", "BM_ListFolderJpg" + large,
               "BM_BareDirectoryRead" + large, 2.0);
    printRatio(reporter, "rename run vs bare rename() loop", "BM_RunRename" + large, "BM_BareRenameLoop" + large,
               1.5);
    printRatio(reporter, "list \"*.*\": 100,000 vs 10,000 files", "BM_ListFolderAll" + large,
               "BM_ListFolderAll" + small, 12.0);
    printRatio(reporter, "list \"*.jpg\": 100,000 vs 10,000 files", "BM_ListFolderJpg" + large,
               "BM_ListFolderJpg" + small, 12.0);
    printRatio(reporter, "rename run with journal vs without", "BM_RunRename" + large,
               "BM_RunRenameUnjournaled" + large, 1.1);
    printRatio(reporter, "rename run: 100,000 vs 10,000 files", "BM_RunRename" + large, "BM_RunRename" + small,
               12.0);
    // For reading the figures above: how the system calls alone grow, and
    // what the run costs with its file operations left out.
    std::printf("For reference:\n");
    printRatio(reporter, "bare directory read: 100,000 vs 10,000", "BM_BareDirectoryRead" + large,
               "BM_BareDirectoryRead" + small, 12.0);
    printRatio(reporter, "bare rename() loop: 100,000 vs 10,000", "BM_BareRenameLoop" + large,
               "BM_BareRenameLoop" + small, 12.0);
    printRatio(reporter, "simulated rename run vs bare rename() loop", "BM_RunRenameSimulated" + large,
               "BM_BareRenameLoop" + large, 1.5);
    printRelativeGrowth(reporter, "list \"*.*\" growth / bare read growth", "BM_ListFolderAll",
                        "BM_BareDirectoryRead", small, large);
    printRelativeGrowth(reporter, "list \"*.jpg\" growth / bare read growth", "BM_ListFolderJpg",
                        "BM_BareDirectoryRead", small, large);
    printRelativeGrowth(reporter, "rename run growth / bare rename() growth", "BM_RunRename", "BM_BareRenameLoop",
                        small, large);

    if (skipMemory)
        return 0;
    const MemoryFigures memory = measureMemory(argv[0]);
    if (memory.runKiB < 0) {
        std::printf("%-46s not measured\n", "peak memory");
    } else {
        printMemory("peak memory growth: list 100,000 names", memory.listingKiB);
        printMemory("peak memory growth: list + rename 100,000", memory.runKiB);
        std::printf("%-46s %6.1f MiB\n", "  (whole child process peak)", double(memory.peakKiB) / 1024.0);
    }
    return 0;
}
