#pragma once

#include "rename/RenamePreview.h"
#include "rename/rules/RuleList.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

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
// PreviewRow::note. Reads the folder; changes nothing. Safe on any thread.
RenamePreview ComputeRulesPreview(const RulesPreviewInput &input);

// Keeps the preview of a rule list up to date while it is edited: input is
// read from its source once a burst of changes is over, computed off the
// window's thread, and only the newest input's result is passed on.
class RulesPreviewComputer : public QObject
{
    Q_OBJECT

public:
    using Source = std::function<RulesPreviewInput()>;

    explicit RulesPreviewComputer(QObject *parent = nullptr);
    // Waits for a computation still running.
    ~RulesPreviewComputer() override;

    void setSource(Source source);
    // Something the source answers has changed; a computation of an older
    // input is superseded.
    void inputChanged();
    // The rows a view shows, so that they can be computed first.
    void setVisibleRows(qsizetype first, qsizetype count);

    quint64 inputGeneration() const { return m_inputGeneration; }
    bool isComputing() const { return m_watcher.isRunning(); }

signals:
    // Rows first .. first + rows.size() - 1 of the newest input's preview,
    // in the order previewReady() will have them, before the whole preview.
    void visibleRowsReady(qsizetype first, const QList<PreviewRow> &rows, quint64 generation);
    // The whole preview of the newest input.
    void previewReady(const RenamePreview &preview, quint64 generation);

private:
    void start();
    void finished();

    Source m_source;
    QTimer m_pause;
    QFutureWatcher<RenamePreview> m_watcher;
    quint64 m_inputGeneration = 0;
    quint64 m_runningGeneration = 0;
    bool m_startWhenFinished = false;
    qsizetype m_firstVisible = 0;
    qsizetype m_visibleCount = 0;
};
