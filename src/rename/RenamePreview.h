#pragma once

#include "rename/RenameRun.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>

// What a run would do to one selected file.
enum class PreviewOutcome : quint8 {
    Renamed,     // takes the composed name
    FreeVariant, // the composed name is taken, so it gets "_" before the extension
    Replaces,    // takes the composed name in place of a file that has it
    Unchanged,   // the new name is the name it already has
    LeftInPlace, // the run would leave it where it is; see the reason
};
inline constexpr int kPreviewOutcomeCount = 5;

struct PreviewRow
{
    QString currentName;
    QString newName; // may be empty for a file left in place
    PreviewOutcome outcome = PreviewOutcome::Renamed;
    QString reason;  // the run's own words, for a file left in place
    QString note;    // what else to know of the new name (a date taken that stood in)
};

// The selected files of a list in run order with what the run would do to
// each, or the message that refuses the request.
struct RenamePreview
{
    QString refusal; // empty when the request may run
    QList<PreviewRow> rows;
    // Positions in rows of the files that will not simply be renamed.
    QList<qsizetype> problemRows;
    std::array<qsizetype, kPreviewOutcomeCount> counts{};

    bool isRefused() const { return !refusal.isEmpty(); }
    qsizetype count(PreviewOutcome outcome) const { return counts[size_t(outcome)]; }
};

// Runs the request over the folder's entries with the simulated file
// operations, which is the real run minus the renames: the preview and the
// run cannot disagree. Reads the folder; changes nothing. Safe on any thread.
// `stopped`, asked before each selected file, ends the run there when it
// answers true: the preview is then incomplete.
RenamePreview ComputeRenamePreview(const QString &folder, const QList<RenameEntry> &entries,
                                   const RenameRequest &request, const std::function<bool()> &stopped = {});

// The "what will happen" text of a row.
QString PreviewOutcomeText(const PreviewRow &row);

// One line counting each kind; the refusal for a refused request.
QString PreviewSummaryText(const RenamePreview &preview);
