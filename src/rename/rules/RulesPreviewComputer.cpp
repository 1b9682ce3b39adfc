#include "rename/rules/RulesPreviewComputer.h"

#include "rename/PreviewComputer.h"
#include "rename/rules/RulesPreviewWork.h"

#include <atomic>
#include <functional>
#include <limits>
#include <mutex>
#include <vector>

namespace {

// Long enough to span the gap between two keystrokes of a fast typist: the
// whole preview waits for it, the visible rows do not.
constexpr int kDefaultPauseMilliseconds = 100;

// Qt's thread pool hands a job to its worker under locks of its own, which
// ThreadSanitizer cannot see (Qt is not built with it): a job's captures,
// written on the window's thread and read on the worker, would look like a
// race. A lock of ours, taken after the job is made and again before it
// reads anything, shows it the order the pool keeps. It costs one
// uncontended lock a job.
std::mutex handOverLock;

void handOver()
{
    const std::lock_guard lock(handOverLock);
}

int entryCountOf(const RulesPreviewInput &input)
{
    return int(qMin<qsizetype>(input.entries.size(), std::numeric_limits<int>::max()));
}

} // namespace

RenamePreview ComputeRulesPreview(const RulesPreviewInput &input)
{
    RulesPreviewCache cache;
    cache.prepare(input.folder, input.entries);
    bool stopped = false;
    return WholeRulesPreview(cache.plans(), input, {}, {}, &stopped);
}

// What the window's thread and the workers share.
struct RulesPreviewComputer::Shared
{
    std::mutex mutex; // guards cache; a lock ThreadSanitizer sees
    RulesPreviewCache cache;
    // The newest input's generation: work of any other stops.
    std::atomic<quint64> newest{0};
    std::atomic<quint64> abandoned{0};
    std::atomic<quint64> cachesMade{0};

    // Results on their way to the window's thread, in the order they came.
    // They pass through this lock rather than inside Qt's posted event,
    // whose locks ThreadSanitizer cannot see.
    std::mutex deliveryLock;
    std::vector<std::function<void()>> deliveries;

    bool isStale(quint64 generation) const { return newest.load(std::memory_order_relaxed) != generation; }
    // Under the lock: the cache made to fit the input.
    RulePlanCache &prepare(const RulesPreviewInput &input, bool *fresh)
    {
        *fresh = cache.prepare(input.folder, input.entries);
        if (*fresh)
            ++cachesMade;
        return cache.plans();
    }
};

RulesPreviewComputer::RulesPreviewComputer(QObject *parent)
    : QObject(parent)
    , m_shared(std::make_shared<Shared>())
{
    // One worker for the visible rows, one for the whole preview.
    m_pool.setMaxThreadCount(2);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kDefaultPauseMilliseconds);
    connect(&m_pause, &QTimer::timeout, this, &RulesPreviewComputer::wholeDue);
}

RulesPreviewComputer::~RulesPreviewComputer()
{
    m_shared->newest = std::numeric_limits<quint64>::max();
    m_pool.waitForDone();
}

void RulesPreviewComputer::setSource(Source source)
{
    m_source = std::move(source);
}

void RulesPreviewComputer::setDelay(int milliseconds)
{
    m_pause.setInterval(milliseconds);
}

int RulesPreviewComputer::delay() const
{
    return m_pause.interval();
}

void RulesPreviewComputer::setPace(Pace pace)
{
    m_pace = std::move(pace);
}

quint64 RulesPreviewComputer::abandonedWork() const
{
    return m_shared->abandoned.load();
}

quint64 RulesPreviewComputer::cachesMade() const
{
    return m_shared->cachesMade.load();
}

void RulesPreviewComputer::inputChanged()
{
    ++m_inputGeneration;
    m_shared->newest = m_inputGeneration;
    m_input = std::make_shared<const RulesPreviewInput>(m_source ? m_source() : RulesPreviewInput());
    m_wholeAfterVisible = false;
    if (m_visibleCount > 0)
        startVisible();
    m_pause.start();
}

void RulesPreviewComputer::setVisibleRows(qsizetype first, qsizetype count)
{
    const bool changed = first != m_firstVisible || count != m_visibleCount;
    m_firstVisible = first;
    m_visibleCount = count;
    if (changed && count > 0 && m_input && m_shownGeneration != m_inputGeneration)
        startVisible();
}

void RulesPreviewComputer::startVisible()
{
    ++m_visibleJobs;
    m_visibleGeneration = m_inputGeneration;
    std::function<void()> job = [this, shared = m_shared, input = m_input, generation = m_inputGeneration,
                                 first = m_firstVisible, count = m_visibleCount] {
        handOver();
        QList<PreviewRow> rows;
        bool sorted = false;
        {
            const std::lock_guard lock(shared->mutex);
            if (shared->isStale(generation)) {
                ++shared->abandoned;
            } else {
                bool fresh = false;
                RulePlanCache &plans = shared->prepare(*input, &fresh);
                const int sortsBefore = plans.sortsMade();
                rows = VisibleRulesRows(plans, input->rules, entryCountOf(*input), first, count);
                sorted = plans.sortsMade() != sortsBefore;
            }
        }
        deliver(*shared, [this, generation, first, rows = std::move(rows), sorted] {
            visibleDone(generation, first, rows, sorted);
        });
    };
    handOver();
    m_pool.start(std::move(job));
}

void RulesPreviewComputer::visibleDone(quint64 generation, qsizetype first, const QList<PreviewRow> &rows, bool sorted)
{
    --m_visibleJobs;
    if (generation == m_inputGeneration && m_shownGeneration != generation) {
        m_lastVisibleSorted = sorted;
        emit visibleRowsReady(first, rows, generation);
    }
    if (m_wholeAfterVisible && (generation == m_inputGeneration || m_visibleJobs == 0)) {
        m_wholeAfterVisible = false;
        wholeDue();
    }
}

void RulesPreviewComputer::wholeDue()
{
    if (!m_input)
        m_input = std::make_shared<const RulesPreviewInput>(m_source ? m_source() : RulesPreviewInput());
    // The visible rows come first, and cost little.
    if (m_visibleJobs > 0 && m_visibleGeneration == m_inputGeneration) {
        m_wholeAfterVisible = true;
        return;
    }
    // One whole preview at a time: the running one stops at its next
    // stretch, being out of date.
    if (m_wholeRunning) {
        m_startWholeWhenFinished = true;
        return;
    }
    startWhole();
}

void RulesPreviewComputer::startWhole()
{
    m_wholeRunning = true;
    m_startWholeWhenFinished = false;
    std::function<void()> job = [this, shared = m_shared, input = m_input, generation = m_inputGeneration,
                                 pace = m_pace] {
        handOver();
        const auto stopped = [&] {
            if (pace)
                pace(generation);
            return shared->isStale(generation);
        };
        RenamePreview preview;
        bool wasStopped = true;
        if (!stopped()) {
            std::unique_lock lock(shared->mutex);
            if (!shared->isStale(generation)) {
                bool fresh = false;
                RulePlanCache &plans = shared->prepare(*input, &fresh);
                // A file may have been touched since its facts were read.
                if (!fresh && shared->cache.filesMayHaveChanged())
                    plans.refresh();
                preview = WholeRulesPreview(plans, *input, [&] { lock.unlock(); }, stopped, &wasStopped);
            }
        }
        if (wasStopped)
            ++shared->abandoned;
        deliver(*shared, [this, generation, preview = std::move(preview), complete = !wasStopped]() mutable {
            wholeDone(generation, std::move(preview), complete);
        });
    };
    handOver();
    m_pool.start(std::move(job));
}

void RulesPreviewComputer::deliver(Shared &shared, std::function<void()> result)
{
    {
        const std::lock_guard lock(shared.deliveryLock);
        shared.deliveries.push_back(std::move(result));
    }
    QMetaObject::invokeMethod(this, "takeDeliveries", Qt::QueuedConnection);
}

void RulesPreviewComputer::takeDeliveries()
{
    std::vector<std::function<void()>> results;
    {
        const std::lock_guard lock(m_shared->deliveryLock);
        results.swap(m_shared->deliveries);
    }
    for (std::function<void()> &result : results)
        result();
}

void RulesPreviewComputer::wholeDone(quint64 generation, RenamePreview preview, bool complete)
{
    m_wholeRunning = false;
    if (complete && generation == m_inputGeneration) {
        m_shownGeneration = generation;
        emit previewReady(preview, generation);
    }
    DisposeOffThread(std::move(preview));
    if (m_startWholeWhenFinished)
        startWhole();
}
