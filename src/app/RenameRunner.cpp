#include "app/RenameRunner.h"

#include "rename/rules/RulePlan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>

#include <mutex>
#include <optional>

// The worker is a std::thread and what it shares with the window is under a
// std::mutex: both are seen by ThreadSanitizer, where Qt's own (built
// without it) are not.

namespace {

// How often the window hears of the progress during a run: often enough
// that the bar visibly moves, rare enough that notifying it costs nothing
// per file.
constexpr qint64 kProgressMilliseconds = 40;

} // namespace

// What the run reports, on the worker thread. The number and the progress
// are kept here and the window notified at most every kProgressMilliseconds,
// with one notification at a time waiting at most; the filter text and the
// refresh are queued in the order the run reports them. A notification
// carries no data: the window's thread takes it from here under the mutex.
class RenameRunner::Target final : public RenameRunTarget
{
public:
    explicit Target(RenameRunner *runner)
        : m_runner(runner)
    {
        m_sinceNotified.start();
    }

    void setNumberText(const QString &text) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_latest.number = text;
        }
        notifyNowAndThen();
    }

    void setProgressValue(float percent) override
    {
        if (m_runner->m_observer)
            m_runner->m_observer(percent);
        {
            const std::lock_guard lock(m_mutex);
            m_latest.percent = qRound(percent);
        }
        notifyNowAndThen();
    }

    void setFilterText(const QString &text) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_latest.events.append({Event::Filter, text});
        }
        notify();
    }

    void refreshLists() override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_latest.events.append({Event::Refresh, QString()});
        }
        notify();
    }

    bool stopRequested() override { return m_runner->stopRequested(); }

    struct Event
    {
        enum Kind { Filter, Refresh } kind;
        QString text;
    };
    struct Latest
    {
        std::optional<QString> number; // set when it changed
        int percent = -1;               // -1: unchanged
        QList<Event> events;
    };

    // On the window's thread: what the run reported since the last call.
    Latest take()
    {
        const std::lock_guard lock(m_mutex);
        m_notificationWaiting = false;
        return std::exchange(m_latest, Latest());
    }

private:
    void notifyNowAndThen()
    {
        if (m_sinceNotified.elapsed() >= kProgressMilliseconds)
            notify();
    }

    void notify()
    {
        {
            const std::lock_guard lock(m_mutex);
            if (std::exchange(m_notificationWaiting, true))
                return;
        }
        m_sinceNotified.restart();
        QMetaObject::invokeMethod(m_runner, &RenameRunner::deliverReports, Qt::QueuedConnection);
    }

    RenameRunner *const m_runner;
    QElapsedTimer m_sinceNotified; // worker thread only

    std::mutex m_mutex;
    Latest m_latest;
    bool m_notificationWaiting = false;
};

RenameRunner::RenameRunner(QObject *parent)
    : QObject(parent)
{
    // A program that ends while files are renamed stops the run at its next
    // file and waits for it, rather than cutting it off at exit.
    if (QCoreApplication *application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &RenameRunner::stopAndWait);
}

RenameRunner::~RenameRunner()
{
    stopAndWait();
}

void RenameRunner::stopAndWait()
{
    if (!m_thread.joinable())
        return;
    requestStop();
    m_thread.join();
}

bool RenameRunner::begin(const QString &folder)
{
    if (m_running)
        return false;
    m_running = true;
    m_stop.store(false, std::memory_order_relaxed);
    m_folder = folder;
    m_report = RenameReport();
    m_target = std::make_unique<Target>(this);
    return true;
}

bool RenameRunner::start(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request)
{
    if (!begin(folder))
        return false;
    // The report is written on the worker thread and read here only after
    // the thread has been joined (threadFinished).
    m_thread = std::thread([this, folder, entries, request] {
        // The number box and the bar may run a few files ahead of the
        // moves; nobody can see the difference, and the moves overlap the
        // run's other work.
        m_report = RunRename(FolderHandle(folder), entries, request, *m_target, {.batchedMoves = true});
        // Queued after everything the run reported, so the window hears of
        // the end last.
        QMetaObject::invokeMethod(this, &RenameRunner::threadFinished, Qt::QueuedConnection);
    });
    return true;
}

bool RenameRunner::start(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                         const RuleList &rules)
{
    if (!begin(folder))
        return false;
    m_thread = std::thread([this, folder, entries, planned = RenameRequest(request), rules]() mutable {
        // Planned in the very folder the run renames in: a name looked up
        // for the plan is the name the run finds.
        const FolderHandle handle(folder);
        const RulePlan plan = RulePlan::make(handle, entries, rules, planned.keepExisting, planned.entryCount);
        if (plan.isRefused()) {
            m_report.refusal = RenameReport::Refusal::Plan;
            m_report.refusalMessage = plan.refusal();
        } else {
            planned.plannedNames = std::make_shared<const QStringList>(plan.arranged(*plan.names()));
            m_report = RunRename(handle, plan.arranged(entries), planned, *m_target, {.batchedMoves = true});
        }
        QMetaObject::invokeMethod(this, &RenameRunner::threadFinished, Qt::QueuedConnection);
    });
    return true;
}

void RenameRunner::deliverReports()
{
    if (!m_target)
        return;
    const Target::Latest latest = m_target->take();
    if (latest.number)
        emit numberTextChanged(*latest.number);
    if (latest.percent >= 0)
        emit progressChanged(latest.percent);
    for (const Target::Event &event : latest.events) {
        if (event.kind == Target::Event::Filter)
            emit filterTextChanged(event.text);
        else
            emit refreshRequested();
    }
}

void RenameRunner::threadFinished()
{
    if (m_thread.joinable())
        m_thread.join();
    // What came after the last notification.
    deliverReports();
    m_target.reset();
    m_running = false;
    emit finished(m_folder, m_report);
}
