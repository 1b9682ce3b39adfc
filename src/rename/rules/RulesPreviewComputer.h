#pragma once

#include "rename/RenamePreview.h"
#include "rename/rules/RuleList.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>

// What a rules preview is computed from: the list's entries (the selected
// ones flagged) in the folder, the rules, and whether existing files are kept.
struct RulesPreviewInput
{
    QString folder;
    QList<RenameEntry> entries;
    RuleList rules;
    bool keepExisting = true;
};

// The rules preview of an input: the plan's refusal, or each selected file's
// row as the dry run gives it, with the plan's note for that file in
// PreviewRow::note. The rows are in list order (the selected entries as the
// list has them), which is the dry run's order except where the plan puts a
// chain of renumbered files in another (see RulePlan::runOrder()): compare
// with the dry run's output by current name, not by position. Reads the
// folder; changes nothing. Safe on any thread.
RenamePreview ComputeRulesPreview(const RulesPreviewInput &input);

// Keeps the preview of a rule list up to date while it is edited, without
// ever making the window's thread wait.
//
// At each inputChanged() the input is read from its source (on the
// window's thread) and the visible rows are computed at once on a worker
// and passed on by visibleRowsReady(); once a burst of changes pauses
// (delay()), the whole preview is computed on a worker and passed on by
// previewReady(). A newer input makes older work stop at its next stretch
// of files; only the newest input's results are passed on.
//
// What does not depend on the rules (the files' modified times, sizes and
// dates taken, the selected entries sorted in each order a number rule
// counts in) is kept between inputs for as long as the folder and the
// entries stay the same, so a change of the rules costs only applying them.
// Each whole preview first reads again the facts it had read, so a file
// touched meanwhile is counted as it now is.
//
// Visible rows are rows first .. first + count - 1 of the preview that
// previewReady() then passes on for the same generation, with the same new
// names and notes. What the visible rows cannot know without the other
// files they leave to the whole preview, which has the last word: a name
// another file holds (shown "renamed", where the whole preview may say
// "gets _" or "replaces"), a file no longer in the folder, a refusal of two
// files under one name when existing files are replaced, a fact changed on
// disk since it was read. Rules that cannot be used give no visible rows:
// the whole preview is then the refusal.
class RulesPreviewComputer : public QObject
{
    Q_OBJECT

public:
    using Source = std::function<RulesPreviewInput()>;
    // Called on the worker, with the generation of its work, before each
    // stretch of a whole preview: tests slow the work down with it.
    using Pace = std::function<void(quint64 generation)>;

    explicit RulesPreviewComputer(QObject *parent = nullptr);
    // Stops the work still running and waits for it to end.
    ~RulesPreviewComputer() override;

    void setSource(Source source);
    // Something the source answers has changed; a computation of an older
    // input is superseded.
    void inputChanged();
    // The rows a view shows, so that they can be computed first. A preview
    // still to come computes the newly shown rows at once.
    void setVisibleRows(qsizetype first, qsizetype count);

    quint64 inputGeneration() const { return m_inputGeneration; }
    bool isComputing() const { return m_visibleJobs > 0 || m_wholeRunning; }

    // The pause that ends a burst before the whole preview, in milliseconds.
    void setDelay(int milliseconds);
    int delay() const;
    void setPace(Pace pace);

    // Work that stopped early for a newer input.
    quint64 abandonedWork() const;
    // Times the facts and orders were made afresh for a new folder or list.
    quint64 cachesMade() const;
    // Whether the last visible rows passed on had to read facts and sort
    // the whole list first (their order was not kept yet).
    bool lastVisibleRowsSorted() const { return m_lastVisibleSorted; }

signals:
    // Rows first .. first + rows.size() - 1 of the newest input's preview,
    // in the order previewReady() will have them, before the whole preview.
    void visibleRowsReady(qsizetype first, const QList<PreviewRow> &rows, quint64 generation);
    // The whole preview of the newest input.
    void previewReady(const RenamePreview &preview, quint64 generation);

private:
    struct Shared;

    void startVisible();
    void startWhole();
    // Called on a worker: result is run on the window's thread.
    void deliver(Shared &shared, std::function<void()> result);
    // By name, so that nothing of the call is made on the worker.
    Q_INVOKABLE void takeDeliveries();
    void visibleDone(quint64 generation, qsizetype first, const QList<PreviewRow> &rows, bool sorted);
    void wholeDone(quint64 generation, RenamePreview preview, bool complete);
    void wholeDue();

    std::shared_ptr<Shared> m_shared;
    Source m_source;
    Pace m_pace;
    std::shared_ptr<const RulesPreviewInput> m_input;
    QTimer m_pause;
    QThreadPool m_pool;
    quint64 m_inputGeneration = 0;
    quint64 m_shownGeneration = 0; // whose whole preview was passed on
    int m_visibleJobs = 0;
    quint64 m_visibleGeneration = 0; // of the visible rows last started
    bool m_wholeRunning = false;
    bool m_startWholeWhenFinished = false;
    bool m_wholeAfterVisible = false;
    bool m_lastVisibleSorted = false;
    qsizetype m_firstVisible = 0;
    qsizetype m_visibleCount = 0;
};
