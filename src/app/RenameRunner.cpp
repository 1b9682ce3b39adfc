#include "app/RenameRunner.h"

#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

#include <optional>

namespace {

// How often the window hears of the progress during a run: often enough
// that the bar visibly moves, rare enough that notifying it costs nothing
// per file.
constexpr qint64 kProgressMilliseconds = 40;

} // namespace

// What the run reports, on the worker thread. The number and the progress
// are kept here and sent on at most every kProgressMilliseconds, with one
// notification at a time waiting at most; everything else is sent on as
// it comes, in the order the run reports it.
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
            const QMutexLocker lock(&m_mutex);
            m_number = text;
            m_numberChanged = true;
        }
        notifyNowAndThen();
    }

    void setProgressValue(float percent) override
    {
        if (m_runner->m_observer)
            m_runner->m_observer(percent);
        {
            const QMutexLocker lock(&m_mutex);
            m_percent = qRound(percent);
        }
        notifyNowAndThen();
    }

    void setFilterText(const QString &text) override
    {
        QMetaObject::invokeMethod(m_runner, [runner = m_runner, text] { emit runner->filterTextChanged(text); },
                                  Qt::QueuedConnection);
    }

    void refreshLists() override
    {
        QMetaObject::invokeMethod(m_runner, [runner = m_runner] { emit runner->refreshRequested(); },
                                  Qt::QueuedConnection);
    }

    bool stopRequested() override { return m_runner->stopRequested(); }

    // The number box and the bar may run a few files ahead of the moves;
    // nobody can see the difference, and the moves overlap the run's
    // other work.
    bool takesOutcomesAfterMoves() const override { return true; }

    // On the window's thread: the latest number (when it changed) and
    // progress, and that the next may be sent.
    struct Latest
    {
        std::optional<QString> number;
        int percent = 0;
    };
    Latest takeLatest()
    {
        const QMutexLocker lock(&m_mutex);
        m_notificationWaiting = false;
        Latest latest;
        if (m_numberChanged)
            latest.number = m_number;
        m_numberChanged = false;
        latest.percent = m_percent;
        return latest;
    }

private:
    void notifyNowAndThen()
    {
        if (m_sinceNotified.elapsed() < kProgressMilliseconds)
            return;
        {
            const QMutexLocker lock(&m_mutex);
            if (m_notificationWaiting)
                return;
            m_notificationWaiting = true;
        }
        m_sinceNotified.restart();
        QMetaObject::invokeMethod(m_runner, &RenameRunner::deliverProgress, Qt::QueuedConnection);
    }

    RenameRunner *const m_runner;
    QElapsedTimer m_sinceNotified; // worker thread only

    QMutex m_mutex;
    QString m_number;
    bool m_numberChanged = false;
    int m_percent = 0;
    bool m_notificationWaiting = false;
};

RenameRunner::RenameRunner(QObject *parent)
    : QObject(parent)
{
}

RenameRunner::~RenameRunner()
{
    if (!m_thread)
        return;
    requestStop();
    m_thread->wait();
    delete m_thread;
}

bool RenameRunner::start(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request)
{
    if (m_thread)
        return false;
    m_stop.store(false, std::memory_order_relaxed);
    m_folder = folder;
    m_report = RenameReport();
    m_target = std::make_unique<Target>(this);
    // The report is written on the worker thread and read here only after
    // the thread has ended (threadFinished waits for it).
    m_thread = QThread::create([this, folder, entries, request] {
        m_report = RunRename(folder, entries, request, *m_target);
    });
    m_thread->setObjectName(QStringLiteral("rename run"));
    // Queued: finished is emitted on the worker thread, after everything
    // the run sent, so the window hears of the end last.
    connect(m_thread, &QThread::finished, this, &RenameRunner::threadFinished, Qt::QueuedConnection);
    m_thread->start();
    return true;
}

void RenameRunner::deliverProgress()
{
    if (!m_target)
        return;
    const Target::Latest latest = m_target->takeLatest();
    if (latest.number)
        emit numberTextChanged(*latest.number);
    emit progressChanged(latest.percent);
}

void RenameRunner::threadFinished()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    // What came after the last notification.
    deliverProgress();
    m_target.reset();
    emit finished(m_folder, m_report);
}
