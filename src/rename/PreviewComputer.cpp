#include "rename/PreviewComputer.h"

#include "core/MemoryPages.h"

#include <QtConcurrent/QtConcurrentRun>
#include <QThreadPool>

namespace {

// Long enough to span the gap between two keystrokes of a fast typist,
// short enough to feel immediate.
constexpr int kDefaultPauseMilliseconds = 100;

} // namespace

void DisposeOffThread(RenamePreview preview)
{
    // Small previews are not worth a trip to the pool.
    constexpr qsizetype kRowsWorthMoving = 2000;
    if (preview.rows.size() < kRowsWorthMoving)
        return;
    QThreadPool::globalInstance()->start([preview = std::move(preview)]() mutable {
        { RenamePreview gone = std::move(preview); }
        ReturnFreedMemorySoon();
    });
}

PreviewComputer::PreviewComputer(QObject *parent)
    : QObject(parent)
    , m_compute([](const PreviewInput &input) {
        return ComputeRenamePreview(input.folder, input.entries, input.request);
    })
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(kDefaultPauseMilliseconds);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        // One computation at a time: a second one would only slow down the
        // first, whose result is about to be dropped anyway.
        if (m_watcher.isRunning())
            m_startWhenFinished = true;
        else
            start();
    });
    connect(&m_watcher, &QFutureWatcher<RenamePreview>::finished, this, &PreviewComputer::finished);
}

PreviewComputer::~PreviewComputer()
{
    m_watcher.disconnect(this);
    // A future whose result was taken is no longer running, and must not be
    // waited for: it would never report finished again.
    if (m_watcher.isRunning())
        m_watcher.waitForFinished();
}

void PreviewComputer::setDelay(int milliseconds)
{
    m_pause.setInterval(milliseconds);
}

int PreviewComputer::delay() const
{
    return m_pause.interval();
}

void PreviewComputer::setCompute(Compute compute)
{
    m_compute = std::move(compute);
}

void PreviewComputer::setSource(Source source)
{
    m_source = std::move(source);
}

void PreviewComputer::inputChanged()
{
    ++m_inputGeneration;
    m_pause.start();
}

void PreviewComputer::setInput(PreviewInput input)
{
    m_source = [input = std::move(input)] { return input; };
    inputChanged();
}

void PreviewComputer::start()
{
    m_startWhenFinished = false;
    m_runningGeneration = m_inputGeneration;
    // The worker gets its own copy: the input may change while it computes.
    m_watcher.setFuture(QtConcurrent::run(
        [compute = m_compute, input = m_source ? m_source() : PreviewInput()] { return compute(input); }));
}

void PreviewComputer::finished()
{
    // Taken out of the future, so that the receiver can hold the only copy.
    RenamePreview preview = m_watcher.future().takeResult();
    if (m_runningGeneration == m_inputGeneration)
        emit previewReady(preview, m_runningGeneration);
    else
        ++m_dropped;
    DisposeOffThread(std::move(preview));
    if (m_startWhenFinished)
        start();
}
