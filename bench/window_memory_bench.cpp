// The main window's memory over preview-rename-undo cycles at 100,000
// files, with the offscreen platform: the Preview window open, a new name
// typed and its preview shown, "Rename Now", "Undo Last Rename", three
// times. With --rules, the same through the Rules window: four rules (as
// cli_bench's rules job) changed and previewed, Rename, Undo. After each step the process's resident memory (VmRSS), its peak
// (VmHWM), and glibc's own count of what the heap holds in use and keeps
// free (mallinfo2), so that live data can be told from freed memory the
// allocator did not give back; each read once the work the step handed to
// the pool is done. The folder is made on tmpfs (/dev/shm) where
// there is one, or under $QUILLMERE_BENCH_DIR; the program's settings,
// journals and trash go to folders of its own beside it.

#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "rename/RenameRequest.h"
#include "selection/DirListBox.h"
#include "selection/FileListBox.h"
#include "windows/PreviewWindow.h"
#include "windows/RulesPreviewPane.h"
#include "windows/RulesWindow.h"
#include "windows/RuleListEditor.h"

#include "BenchRules.h"
#include "ProcessMemory.h"
#include "ScratchFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThreadPool>

#include <malloc.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFiles = 100000;
constexpr int kCycles = 3;
constexpr double kTargetMiB = 120;

void runUntil(const std::function<bool()> &done, const char *what)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 120000)
            qFatal("timed out waiting for %s", what);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    QCoreApplication::processEvents();
}

// The highest resident size after a step of a cycle.
double g_highestMiB = 0;

void showLine(const char *step, int cycle)
{
    // What the step handed to the pool (a preview let go, memory handed
    // back) is done: the figures are those a moment after the step.
    QThreadPool::globalInstance()->waitForDone();
    const ProcessMemory memory = ProcessMemory::read();
    if (cycle > 0)
        g_highestMiB = std::max(g_highestMiB, memory.currentMiB());
    const struct mallinfo2 heap = mallinfo2();
    const double inUse = double(heap.uordblks + heap.hblkhd) / 1048576.0;
    const double keptFree = double(heap.fordblks) / 1048576.0;
    std::printf("%-8s %-28s %9.1f %9.1f %11.1f %11.1f\n", cycle > 0 ? qPrintable(QString::number(cycle)) : "", step,
                memory.currentMiB(), memory.peakMiB(), inUse, keptFree);
}

} // namespace

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch(scratchRoot() + QStringLiteral("/quillmere-window-memory-bench-XXXXXX"));
    QDir root(scratch.path());
    UseScratchUserFolders(root.filePath(QStringLiteral("home")));
    QApplication app(argc, argv);
    root.mkpath(QStringLiteral("many"));
    root.mkpath(QStringLiteral("settings"));
    SetSettingsFolderForTesting(root.filePath(QStringLiteral("settings")));
    const QString many = root.filePath(QStringLiteral("many"));
    CreateNumberedFiles(many, kFiles, QStringLiteral("IMG_%1.jpg"));

    std::printf("%-8s %-28s %9s %9s %11s %11s\n", "cycle", "after", "RSS MiB", "peak MiB", "heap in use",
                "heap free");
    showLine("start", 0);
    Form1 form(LoadProductInfo());
    form.setMessagePresenter([](const QString &, const QString &text) { std::printf("message: %s\n", qPrintable(text)); });
    form.show();
    form.Dir1->setPath(many);
    runUntil([&] { return form.File1->count() == kFiles; }, "the folder to be listed");
    form.Combo3->setCurrentIndex(NameOnly);
    form.Check2->setChecked(true);
    form.Text2->setText(QStringLiteral("1"));
    form.Command4->click();
    showLine("folder listed, all selected", 0);
    const bool throughRules = app.arguments().contains(QStringLiteral("--rules"));
    PreviewWindow *preview = nullptr;
    RulesWindow *rules = nullptr;
    std::function<bool()> previewShown;
    if (throughRules) {
        form.mnuFileItem.at(Form1::RulesItem)->trigger();
        rules = RulesWindow::current();
        if (!rules)
            qFatal("no rules window");
        previewShown = [&] {
            return rules->computer()->inputGeneration() > 0
                && rules->preview->shownGeneration() == rules->computer()->inputGeneration()
                && !rules->computer()->isComputing();
        };
    } else {
        form.mnuFileItem.at(Form1::PreviewItem)->trigger();
        preview = PreviewWindow::current();
        if (!preview)
            qFatal("no preview window");
        previewShown = [&] {
            return preview->computer()->inputGeneration() > 0
                && preview->shownGeneration() == preview->computer()->inputGeneration()
                && !preview->computer()->isComputing();
        };
    }

    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        // Undo read the folder again, and its selection with it.
        form.Command4->click();
        if (throughRules)
            rules->editor->setRules(FourRules(cycle % 2 == 1 ? QStringLiteral("pic $1 ") : QStringLiteral("photo $1 ")));
        else
            form.Text1->setText(cycle % 2 == 1 ? QStringLiteral("alpha") : QStringLiteral("beta"));
        runUntil(previewShown, "the preview");
        showLine("preview shown", cycle);
        if (throughRules)
            rules->renameButton->click();
        else
            form.Command1->click();
        runUntil([&] { return !form.isRunning(); }, "the rename");
        runUntil([&] { return form.File1->count() == kFiles; }, "the list after the rename");
        runUntil(previewShown, "the preview after the rename");
        showLine("rename, preview again", cycle);
        form.mnuUndoItem_Click();
        runUntil([&] { return form.File1->count() == kFiles; }, "the list after undo");
        runUntil(previewShown, "the preview after undo");
        showLine("undo, preview again", cycle);
    }
    const ProcessMemory end = ProcessMemory::read();
    std::printf("\nresident after %d cycles: %.1f MiB (target under %.0f MiB): %s\n", kCycles, end.currentMiB(),
                kTargetMiB, end.currentMiB() < kTargetMiB ? "met" : "NOT MET");
    std::printf("highest resident after any step of the cycles: %.1f MiB (target under %.0f MiB): %s\n", g_highestMiB,
                kTargetMiB, g_highestMiB < kTargetMiB ? "met" : "NOT MET");
    delete preview;
    delete rules;
    SetSettingsFolderForTesting(QString());
    return 0;
}
