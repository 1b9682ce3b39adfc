#pragma once

#include "rename/RenameRun.h"
#include "rename/rules/RuleList.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// Runs one rename at a time on a worker thread and reports to the object
// that owns it through signals delivered on that object's thread, so the
// window keeps painting and answering while files are renamed. The run
// itself only ever sees its arguments (copied at start), the stop flag and
// the progress it reports: nothing of the window is touched off the
// window's thread.
class RenameRunner : public QObject
{
    Q_OBJECT

public:
    explicit RenameRunner(QObject *parent = nullptr);
    // Stops a run still going at its next safe point and waits for it: the
    // files are in their places before the runner is gone.
    ~RenameRunner() override;

    bool isRunning() const { return m_running; }

    // Starts renaming on the worker thread; false when a run is going.
    bool start(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request);
    // The same with the new names worked out by rules, on the worker thread
    // too, in the folder the run then renames in. A refused plan ends the
    // run before it starts (RenameReport::Refusal::Plan, with the plan's
    // message), and nothing is renamed.
    bool start(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
               const RuleList &rules);

    // Asks the run to stop before its next file. Files set aside are put
    // back, the journal is closed, and finished() reports what was done.
    // Safe from any thread, and from a signal handler.
    void requestStop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }

    // The report of the run that finished last.
    const RenameReport &lastReport() const { return m_report; }

    // For tests: called on the worker thread with the progress in percent
    // each time the run reports it, before the window is notified.
    void setProgressObserver(std::function<void(float)> observer) { m_observer = std::move(observer); }

signals:
    // The running number and the progress, at most every few tens of
    // milliseconds while the run goes, and once more at its end.
    void numberTextChanged(const QString &text);
    void progressChanged(int percent);
    // The filter extension the list now shows.
    void filterTextChanged(const QString &text);
    // The folder was renamed in: the lists are to read it again.
    void refreshRequested();
    // The run has ended, its worker thread too; lastReport() holds what it did.
    void finished(const QString &folder, const RenameReport &report);

private:
    class Target;

    bool begin(const QString &folder);
    void stopAndWait();
    void deliverReports();
    void threadFinished();

    std::thread m_thread;
    // From start() to the end of threadFinished(), on the window's thread.
    bool m_running = false;
    std::unique_ptr<Target> m_target;
    std::atomic<bool> m_stop{false};
    std::function<void(float)> m_observer;
    QString m_folder;
    RenameReport m_report;
};
