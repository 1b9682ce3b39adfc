#pragma once

#include "rename/RenamePreview.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

// Lets go of a preview on a worker thread: freeing 100,000 rows of names
// takes longer than a window may stop for. Needs a preview no one else holds.
void DisposeOffThread(RenamePreview preview);

// What a preview is computed from.
struct PreviewInput
{
    QString folder;
    QList<RenameEntry> entries;
    RenameRequest request;
};

// Keeps a rename preview up to date with an input that changes in bursts
// (typing): a change waits for a short pause before the computation starts,
// the input is read from its source once, when the computation starts, the
// computation runs on a worker thread, and only the newest input's result is
// passed on. A result that was overtaken while it was computed is dropped,
// and at most one computation runs at a time.
class PreviewComputer : public QObject
{
    Q_OBJECT

public:
    using Compute = std::function<RenamePreview(const PreviewInput &)>;
    using Source = std::function<PreviewInput()>;

    explicit PreviewComputer(QObject *parent = nullptr);
    // Waits for a computation still running.
    ~PreviewComputer() override;

    // The pause that ends a burst, in milliseconds.
    void setDelay(int milliseconds);
    int delay() const;
    // ComputeRenamePreview unless replaced (tests slow it down).
    void setCompute(Compute compute);

    // Where the input is read when a computation starts: a list of 100,000
    // entries is then gathered once per burst, not once per keystroke.
    void setSource(Source source);
    // The source's input has changed.
    void inputChanged();
    // A fixed input; the same as a source that answers it.
    void setInput(PreviewInput input);

    // Changes of the input so far, and results dropped because a newer input came.
    quint64 inputGeneration() const { return m_inputGeneration; }
    quint64 droppedResults() const { return m_dropped; }
    bool isComputing() const { return m_watcher.isRunning(); }
    // A newer input's computation waits for the running one to end.
    bool newerInputWaits() const { return m_startWhenFinished; }

signals:
    // The preview of input number `generation`, which is the newest one.
    void previewReady(const RenamePreview &preview, quint64 generation);

private:
    void start();
    void finished();

    Compute m_compute;
    Source m_source;
    QTimer m_pause;
    QFutureWatcher<RenamePreview> m_watcher;
    quint64 m_inputGeneration = 0;
    quint64 m_runningGeneration = 0;
    quint64 m_dropped = 0;
    bool m_startWhenFinished = false;
};
