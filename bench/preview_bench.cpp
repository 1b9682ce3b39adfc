// How the preview window keeps up with typing while 100,000 files of a
// folder are selected, with the offscreen platform:
//   - latency: from a keystroke in "New Name:" to the preview showing the
//     names for the new text (this includes the pause that gathers a burst
//     of keystrokes into one computation);
//   - the longest time the window's event loop was blocked meanwhile,
//     measured with a 1 ms heartbeat timer: the largest gap between ticks.
// Single keystrokes are measured one at a time, then a burst typed at
// 25 keystrokes a second. The folder is made on tmpfs (/dev/shm) where there
// is one, or under $QUILLMERE_BENCH_DIR.

#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "rename/PreviewComputer.h"
#include "rename/PreviewModel.h"
#include "selection/DirListBox.h"
#include "selection/FileListBox.h"
#include "windows/PreviewWindow.h"

#include "ScratchFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kFiles = 100000;
constexpr int kSingleKeystrokes = 12;
constexpr int kBurstKeystrokes = 15;
constexpr int kBurstIntervalMs = 40;

qint64 threadCpuNanoseconds()
{
#if defined(Q_OS_UNIX)
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
#else
    return 0;
#endif
}

// Ticks every millisecond and keeps the largest gap between two ticks, with
// the processor time the window's thread spent in that gap: on a busy
// machine a gap can also be time the thread was not given a processor.
class Heartbeat
{
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            const qint64 cpu = threadCpuNanoseconds();
            if (now - m_last > m_maxGap) {
                m_maxGap = now - m_last;
                m_maxGapCpu = cpu - m_lastCpu;
            }
            m_last = now;
            m_lastCpu = cpu;
        });
        m_clock.start();
        m_timer.start();
    }
    void reset()
    {
        m_last = m_clock.nsecsElapsed();
        m_lastCpu = threadCpuNanoseconds();
        m_maxGap = 0;
        m_maxGapCpu = 0;
    }
    double maxGapMs() const { return double(m_maxGap) / 1e6; }
    double maxGapCpuMs() const { return double(m_maxGapCpu) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_lastCpu = 0;
    qint64 m_maxGap = 0;
    qint64 m_maxGapCpu = 0;
};

// Notes the longest single event delivery (with what it was), so that a
// long gap can be told apart from a busy machine.
class TimedApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_depth++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --m_depth;
            return handled;
        }
        const qint64 cpu = threadCpuNanoseconds();
        const QString what = QString::fromLatin1(receiver->metaObject()->className()) + u'/'
            + QString::number(int(event->type()));
        const bool handled = QApplication::notify(receiver, event);
        const qint64 spent = threadCpuNanoseconds() - cpu;
        if (spent > longestNs) {
            longestNs = spent;
            longestWhat = what;
        }
        --m_depth;
        return handled;
    }

    qint64 longestNs = 0;
    QString longestWhat;

private:
    int m_depth = 0;
};

void postKey(QWidget *target, char letter)
{
    const auto key = Qt::Key(Qt::Key_A + (letter - 'a'));
    const QString text(QLatin1Char{letter});
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

// Whether the preview shows its newest input, and that input came after
// generation `after`: a posted keystroke reaches the window only once the
// event loop runs.
bool upToDate(const PreviewWindow *preview, quint64 after)
{
    const quint64 newest = preview->computer()->inputGeneration();
    return newest > after && preview->shownGeneration() == newest;
}

// Runs the event loop until the preview shows an input newer than `after`;
// false on time-out.
bool waitForPreview(PreviewWindow *preview, quint64 after, int timeoutMs = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (!upToDate(preview, after)) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QObject::connect(preview, &PreviewWindow::previewShown, &loop, &QEventLoop::quit);
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);

    QTemporaryDir scratch(scratchRoot() + QStringLiteral("/quillmere-preview-bench-XXXXXX"));
    QDir root(scratch.path());
    root.mkpath(QStringLiteral("many"));
    root.mkpath(QStringLiteral("settings"));
    SetSettingsFolderForTesting(root.filePath(QStringLiteral("settings")));
    const QString many = root.filePath(QStringLiteral("many"));
    for (int i = 0; i < kFiles; ++i) {
        QFile file(many + QStringLiteral("/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }

    Form1 form(LoadProductInfo());
    form.setMessagePresenter([](const QString &, const QString &text) { std::printf("message: %s\n", qPrintable(text)); });
    form.show();
    form.Dir1->setPath(many);
    form.Command4->click();
    form.mnuFileItem.at(2)->trigger();
    PreviewWindow *preview = PreviewWindow::current();
    if (!preview)
        qFatal("no preview window");
    form.Text1->setFocus();

    QElapsedTimer first;
    first.start();
    postKey(form.Text1, 'p');
    if (!waitForPreview(preview, 1))
        qFatal("the preview did not come");
    std::printf("files selected: %d, rows shown: %d, first preview after %.1f ms\n", form.File1->count(),
                preview->model()->rowCount(), double(first.nsecsElapsed()) / 1e6);

    {
        std::vector<double> cpu;
        for (int i = 0; i < 20; ++i) {
            const qint64 start = threadCpuNanoseconds();
            const QList<RenameEntry> entries = form.File1->renameEntries();
            cpu.push_back(double(threadCpuNanoseconds() - start) / 1e6);
        }
        std::printf("reading the list's entries and selection: median %.1f ms, max %.1f ms of processor time\n",
                    median(cpu), *std::max_element(cpu.begin(), cpu.end()));
    }

    Heartbeat heartbeat;
    app.longestNs = 0;

    // One keystroke at a time, each waited for.
    std::vector<double> latencies;
    std::vector<double> gaps;
    double worstGap = 0;
    double worstGapCpu = 0;
    for (int k = 0; k < kSingleKeystrokes; ++k) {
        idle(200);
        heartbeat.reset();
        const quint64 before = preview->computer()->inputGeneration();
        QElapsedTimer clock;
        clock.start();
        postKey(form.Text1, char('a' + k % 26));
        if (!waitForPreview(preview, before))
            qFatal("the preview did not follow a keystroke");
        latencies.push_back(double(clock.nsecsElapsed()) / 1e6);
        gaps.push_back(heartbeat.maxGapMs());
        if (heartbeat.maxGapMs() > worstGap) {
            worstGap = heartbeat.maxGapMs();
            worstGapCpu = heartbeat.maxGapCpuMs();
        }
    }
    const QString shown = preview->model()->index(0, PreviewModel::NewName).data().toString();
    if (!shown.startsWith(form.Text1->text()))
        qFatal("the preview shows %s for %s", qPrintable(shown), qPrintable(form.Text1->text()));
    std::printf("single keystrokes (%d): keystroke to refreshed preview median %.1f ms, max %.1f ms; "
                "longest event-loop block per keystroke median %.1f ms, max %.1f ms (of it %.1f ms on the "
                "processor)\n",
                kSingleKeystrokes, median(latencies), *std::max_element(latencies.begin(), latencies.end()),
                median(gaps), worstGap, worstGapCpu);

    // A burst: keystrokes every kBurstIntervalMs, not waited for.
    idle(200);
    const quint64 beforeBurst = preview->computer()->inputGeneration();
    const quint64 droppedBefore = preview->computer()->droppedResults();
    heartbeat.reset();
    for (int k = 0; k < kBurstKeystrokes; ++k) {
        postKey(form.Text1, char('a' + k % 26));
        idle(kBurstIntervalMs);
    }
    const double burstGap = heartbeat.maxGapMs();
    const double burstGapCpu = heartbeat.maxGapCpuMs();
    QElapsedTimer afterLast;
    afterLast.start();
    if (!waitForPreview(preview, beforeBurst + kBurstKeystrokes - 1))
        qFatal("the preview did not follow the burst");
    const double settleMs = double(afterLast.nsecsElapsed()) / 1e6;
    std::printf("burst of %d keystrokes %d ms apart: longest event-loop block during the burst %.1f ms (of it "
                "%.1f ms on the processor), until refreshed %.1f ms; last keystroke (+%d ms) to refreshed preview "
                "%.1f ms; results dropped %llu\n",
                kBurstKeystrokes, kBurstIntervalMs, burstGap, burstGapCpu, std::max(burstGap, heartbeat.maxGapMs()),
                kBurstIntervalMs, settleMs + kBurstIntervalMs,
                static_cast<unsigned long long>(preview->computer()->droppedResults() - droppedBefore));

    std::printf("longest single event while typing: %.1f ms of processor time (%s)\n", double(app.longestNs) / 1e6,
                qPrintable(app.longestWhat));

    delete preview;
    SetSettingsFolderForTesting(QString());
    return 0;
}
