// Speed of the main window's file-selection half on a folder of 100,000
// files, with the offscreen platform:
//   - showing the folder: Dir1 moves there, File1 lists it and paints;
//   - scrolling File1 from its first to its last entry;
//   - "Select All" and painting the selection;
//   - "Rename Now" over all 100,000 files, against RunRename alone on the
//     same folder with the same request: the window may add at most 50% to
//     the engine's own time;
//   - the same rename by quillmere-rename (beside this program), as a whole
//     process: the window's run may take at most 1.5 times as long.
// A summary with the ratio follows the benchmark table. The folder is made
// on tmpfs (/dev/shm) where there is one, or under $QUILLMERE_BENCH_DIR.

#include "app/Form1.h"
#include "core/SettingsStore.h"
#include "rename/RenameRun.h"
#include "selection/DirListBox.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"
#include "selection/FileListing.h"

#include "ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kFiles = 100000;

// A folder of kFiles empty files, an empty folder beside it, and a folder
// for the settings the window stores while it is measured.
class Scratch
{
public:
    Scratch()
        : m_dir(scratchRoot() + QStringLiteral("/quillmere-window-bench-XXXXXX"))
    {
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("many"));
        root.mkpath(QStringLiteral("empty"));
        root.mkpath(QStringLiteral("settings"));
        for (int i = 0; i < kFiles; ++i) {
            QFile file(many() + QStringLiteral("/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0')));
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot create %s", qPrintable(file.fileName()));
        }
        SetSettingsFolderForTesting(m_dir.filePath(QStringLiteral("settings")));
    }

    QString many() const { return m_dir.filePath(QStringLiteral("many")); }
    QString empty() const { return m_dir.filePath(QStringLiteral("empty")); }

private:
    QTemporaryDir m_dir;
};

Scratch &scratch()
{
    static Scratch instance;
    return instance;
}

QString &lastMessage()
{
    static QString message;
    return message;
}

// Made on first use, destroyed by main() while the application still exists.
std::unique_ptr<Form1> g_form;

Form1 &window()
{
    if (!g_form) {
        scratch();
        g_form = std::make_unique<Form1>(LoadProductInfo());
        // A message during a measured step means the step did not do its work.
        g_form->setMessagePresenter([](const QString &, const QString &text) { lastMessage() = text; });
        g_form->show();
        QCoreApplication::processEvents();
    }
    return *g_form;
}

// Wall time and this process's processor time (user and system) of a step:
// a run makes its moves on a thread of its own. On a busy machine the
// processor time is the steadier measure.
class StepTimer
{
public:
    StepTimer()
        : m_cpuStart(processCpuNanoseconds())
    {
        m_wall.start();
    }
    double wallSeconds() const { return double(m_wall.nsecsElapsed()) / 1e9; }
    double cpuSeconds() const { return double(processCpuNanoseconds() - m_cpuStart) / 1e9; }

private:
    static qint64 processCpuNanoseconds()
    {
#if defined(Q_OS_UNIX)
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
#else
        return 0;
#endif
    }

    QElapsedTimer m_wall;
    qint64 m_cpuStart;
};

// Lets the window finish what the change queued, including every batch of
// File1's layout (the last entry has a place), and paints File1 at once.
void settle(Form1 &form)
{
    QCoreApplication::processEvents();
    const int count = form.File1->count();
    if (count > 0) {
        const QModelIndex last = form.File1->model()->index(count - 1, 0);
        while (!form.File1->visualRect(last).isValid())
            QCoreApplication::processEvents();
    }
    form.File1->viewport()->repaint();
}

void showFolder(Form1 &form, const QString &folder)
{
    form.Dir1->setPath(folder);
    settle(form);
}

struct Mean
{
    double wallMs = 0;
    double cpuMs = 0;
};

// Mean milliseconds per iteration of each benchmark, for the summary.
std::map<std::string, Mean> &means()
{
    static std::map<std::string, Mean> table;
    return table;
}

// Accumulates the measured steps of one benchmark.
struct Totals
{
    double wall = 0;
    double cpu = 0;

    void add(benchmark::State &state, const StepTimer &timer)
    {
        const double seconds = timer.wallSeconds();
        cpu += timer.cpuSeconds();
        wall += seconds;
        state.SetIterationTime(seconds);
    }
    void record(benchmark::State &state, const char *name) const
    {
        if (state.iterations() > 0) {
            const double n = double(state.iterations());
            means()[name] = {wall * 1000.0 / n, cpu * 1000.0 / n};
            state.counters["cpu_ms"] = cpu * 1000.0 / n;
        }
    }
};

void BM_ShowFolder(benchmark::State &state)
{
    Form1 &form = window();
    Totals totals;
    for (auto _ : state) {
        showFolder(form, scratch().empty());
        const StepTimer timer;
        showFolder(form, scratch().many());
        totals.add(state, timer);
        if (form.File1->count() != kFiles)
            state.SkipWithError("File1 does not list the folder");
    }
    totals.record(state, "show");
}

void BM_ScrollToEnd(benchmark::State &state)
{
    Form1 &form = window();
    showFolder(form, scratch().many());
    Totals totals;
    for (auto _ : state) {
        form.File1->scrollToTop();
        settle(form);
        const StepTimer timer;
        form.File1->scrollToBottom();
        settle(form);
        totals.add(state, timer);
        const QModelIndex last = form.File1->model()->index(kFiles - 1, 0);
        if (!form.File1->viewport()->rect().intersects(form.File1->visualRect(last)))
            state.SkipWithError("the last entry is not in view");
    }
    totals.record(state, "scroll");
}

void BM_SelectAll(benchmark::State &state)
{
    Form1 &form = window();
    showFolder(form, scratch().many());
    Totals totals;
    for (auto _ : state) {
        form.File1->clearSelection();
        settle(form);
        const StepTimer timer;
        form.Command4->click();
        settle(form);
        totals.add(state, timer);
        if (form.File1->fileModel()->selectedCount() != kFiles)
            state.SkipWithError("not every entry is selected");
    }
    totals.record(state, "selectAll");
}

// Each run gives every file a new base name, alternating between two, so
// every iteration renames all files and never meets its own names.
QString nextBaseName()
{
    static int runs = 0;
    return (runs++ % 2 == 0) ? QStringLiteral("alpha") : QStringLiteral("beta");
}

void BM_RenameNow_Window(benchmark::State &state)
{
    Form1 &form = window();
    // Other runs renamed the files since File1 last read the folder.
    showFolder(form, scratch().empty());
    showFolder(form, scratch().many());
    form.Combo3->setCurrentIndex(NameOnly);
    form.Check2->setChecked(true);
    Totals totals;
    for (auto _ : state) {
        form.Text1->setText(nextBaseName());
        form.Text2->setText(QStringLiteral("1"));
        form.Command4->click();
        settle(form);
        const StepTimer timer;
        form.Command1->click();
        settle(form);
        totals.add(state, timer);
        if (form.File1->count() != kFiles || !form.File1->fileModel()->fileName(0).startsWith(form.Text1->text())) {
            const std::string why = "the run did not rename the folder: " + lastMessage().left(300).toStdString();
            state.SkipWithError(why.c_str());
        }
    }
    totals.record(state, "renameWindow");
}

void BM_RenameRun_Engine(benchmark::State &state)
{
    const QString folder = scratch().many();
    Totals totals;
    for (auto _ : state) {
        QList<RenameEntry> entries;
        for (const QString &name : ListFolderFiles(FolderHandle(folder), QStringLiteral("*.*")))
            entries.append({name, true});
        RenameRequest request;
        request.type = NameOnly;
        request.newText = nextBaseName();
        request.numberText = QStringLiteral("1");
        request.pad = true;
        request.entryCount = int(entries.size());
        RenameRunTarget target;
        const StepTimer timer;
        const RenameReport report = RunRename(FolderHandle(folder), entries, request, target);
        totals.add(state, timer);
        if (report.renamedCount() != kFiles)
            state.SkipWithError("the run did not rename every file");
    }
    totals.record(state, "renameEngine");
}

// The same job by the command line, from its start to its exit: listing
// and start-up included, as a user runs it.
void BM_RenameCli(benchmark::State &state)
{
    const QString folder = scratch().many();
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/quillmere-rename");
    if (!QFileInfo(program).isExecutable()) {
        state.SkipWithError("quillmere-rename is not built beside this benchmark");
        return;
    }
    Totals totals;
    for (auto _ : state) {
        QProcess cli;
        cli.setStandardOutputFile(QProcess::nullDevice());
        // As the window's run: numbers filled with zeros, replacing.
        const QStringList arguments = {QStringLiteral("--type=name"), QStringLiteral("--text=") + nextBaseName(),
                                       QStringLiteral("--pad"), QStringLiteral("--overwrite"), QStringLiteral("--all"),
                                       folder};
        const StepTimer timer;
        cli.start(program, arguments);
        const bool finished = cli.waitForFinished(600000);
        // Its processor time is its own, not this process's.
        totals.add(state, timer);
        if (!finished || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0) {
            const std::string why = "quillmere-rename failed: "
                + QString::fromLocal8Bit(cli.readAllStandardError()).left(300).toStdString();
            state.SkipWithError(why.c_str());
        }
    }
    totals.record(state, "renameCli");
}

BENCHMARK(BM_ShowFolder)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ScrollToEnd)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SelectAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RenameRun_Engine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_RenameNow_Window)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_RenameCli)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

void printSummary()
{
    const auto &table = means();
    const auto show = [&](const char *key, const char *what) {
        const auto it = table.find(key);
        if (it == table.end())
            std::printf("%-40s not measured\n", what);
        else
            std::printf("%-40s %9.1f ms wall %9.1f ms cpu\n", what, it->second.wallMs, it->second.cpuMs);
    };
    std::printf("\nSummary (%d files, offscreen)\n", kFiles);
    show("show", "show the folder in File1");
    show("scroll", "scroll File1 to its last entry");
    show("selectAll", "Select All");
    show("renameEngine", "RunRename alone");
    show("renameWindow", "Rename Now from the window");
    const auto cli = table.find("renameCli");
    if (cli == table.end())
        std::printf("%-40s not measured\n", "quillmere-rename, whole process");
    else
        std::printf("%-40s %9.1f ms wall\n", "quillmere-rename, whole process", cli->second.wallMs);
    const auto engine = table.find("renameEngine");
    const auto windowRun = table.find("renameWindow");
    if (engine != table.end() && windowRun != table.end() && engine->second.cpuMs > 0) {
        const double addedCpu = (windowRun->second.cpuMs - engine->second.cpuMs) / engine->second.cpuMs * 100.0;
        const double addedWall = (windowRun->second.wallMs - engine->second.wallMs) / engine->second.wallMs * 100.0;
        std::printf("%-40s %8.1f %% cpu, %.1f %% wall  (target <= 50 %%, judged on cpu)  %s\n",
                    "window's share on top of the engine", addedCpu, addedWall, addedCpu <= 50.0 ? "met" : "MISSED");
    }
    if (cli != table.end() && windowRun != table.end() && cli->second.wallMs > 0) {
        const double ratio = windowRun->second.wallMs / cli->second.wallMs;
        std::printf("%-40s %8.2fx wall  (target <= 1.5x)  %s\n", "window's run against the command line's", ratio,
                    ratio <= 1.5 ? "met" : "MISSED");
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::printf("Scratch folder in %s\n", qPrintable(scratchRoot()));
    std::fflush(stdout);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    g_form.reset();
    return 0;
}
