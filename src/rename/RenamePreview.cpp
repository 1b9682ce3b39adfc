#include "rename/RenamePreview.h"

#include "rename/NameComposition.h"
#include "rename/RunText.h"

namespace {

PreviewOutcome outcomeOf(RenamedFile::Way way)
{
    switch (way) {
    case RenamedFile::Way::AsComposed: return PreviewOutcome::Renamed;
    case RenamedFile::Way::FreeVariant: return PreviewOutcome::FreeVariant;
    case RenamedFile::Way::ReplacedExisting: return PreviewOutcome::Replaces;
    }
    return PreviewOutcome::Renamed;
}

class StoppableTarget final : public RenameRunTarget
{
public:
    explicit StoppableTarget(const std::function<bool()> &stopped)
        : m_stopped(stopped)
    {
    }
    bool stopRequested() override { return m_stopped && m_stopped(); }

private:
    const std::function<bool()> &m_stopped;
};

} // namespace

RenamePreview ComputeRenamePreview(const QString &folder, const QList<RenameEntry> &entries,
                                   const RenameRequest &request, const std::function<bool()> &stopped)
{
    RenamePreview preview;
    // Planned names were checked when they were planned; the fields of the
    // five types play no part in them.
    const std::optional<QString> refusal = request.plannedNames ? std::nullopt : ValidateRenameRequest(request);
    if (refusal) {
        preview.refusal = *refusal;
        return preview;
    }

    StoppableTarget target(stopped); // nothing to report to but a stop
    const RenameReport report = RunRename(FolderHandle(folder), entries, request, target,
                                          {.fileOperations = &SimulatedFileOperations()});

    // Each selected entry is in exactly one of the report's lists, each in
    // list order: walking the selected entries in order and taking from the
    // list whose next item is that entry gives the run order. An entry in
    // neither of the two lists that carry entry indexes already has its new
    // name.
    preview.rows.reserve(report.renamed.size() + report.leftInPlace.size() + report.unchanged.size());
    qsizetype r = 0;
    qsizetype l = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).selected)
            continue;
        PreviewRow row;
        if (r < report.renamed.size() && report.renamed.at(r).entry == i) {
            const RenamedFile &file = report.renamed.at(r++);
            row.currentName = file.oldName;
            row.newName = file.newName;
            row.outcome = outcomeOf(file.way);
        } else if (l < report.leftInPlace.size() && report.leftInPlace.at(l).entry == i) {
            const LeftInPlaceFile &file = report.leftInPlace.at(l++);
            row.currentName = file.name;
            row.newName = file.newName;
            row.outcome =
                file.reason == LeftInPlaceReason::SameName ? PreviewOutcome::Unchanged : PreviewOutcome::LeftInPlace;
            row.reason = file.message;
        } else {
            row.currentName = entries.at(i).name;
            row.newName = entries.at(i).name;
            row.outcome = PreviewOutcome::Unchanged;
        }
        ++preview.counts[size_t(row.outcome)];
        if (row.outcome != PreviewOutcome::Renamed)
            preview.problemRows.append(preview.rows.size());
        preview.rows.append(std::move(row));
    }
    return preview;
}

QString PreviewOutcomeText(const PreviewRow &row)
{
    switch (row.outcome) {
    case PreviewOutcome::Renamed:
        return RunText::tr("renamed");
    case PreviewOutcome::FreeVariant:
        return RunText::tr("gets \"_\" because the name is taken");
    case PreviewOutcome::Replaces:
        return RunText::tr("replaces an existing file");
    case PreviewOutcome::Unchanged:
        return RunText::tr("unchanged");
    case PreviewOutcome::LeftInPlace:
        return row.reason.isEmpty() ? RunText::tr("left in place") : RunText::tr("left in place: ") + row.reason;
    }
    return {};
}

QString PreviewSummaryText(const RenamePreview &preview)
{
    if (preview.isRefused())
        return preview.refusal;
    // Every kind, even at 0: a count that is missing reads like one not yet known.
    return RunText::tr("Renamed: %1 · Gets \"_\": %2 · Replaces an existing file: %3 · "
                       "Unchanged: %4 · Left in place: %5")
        .arg(preview.count(PreviewOutcome::Renamed))
        .arg(preview.count(PreviewOutcome::FreeVariant))
        .arg(preview.count(PreviewOutcome::Replaces))
        .arg(preview.count(PreviewOutcome::Unchanged))
        .arg(preview.count(PreviewOutcome::LeftInPlace));
}
