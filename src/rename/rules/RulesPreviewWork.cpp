#include "rename/rules/RulesPreviewWork.h"

#include "rename/PlatformFiles.h"
#include "rename/rules/RulePlan.h"
#include "rename/rules/RulesPreviewComputer.h"

#include <QFile>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

namespace {

bool sameEntries(const QList<RenameEntry> &a, const QList<RenameEntry> &b)
{
    if (a.size() != b.size())
        return false;
    if (a.constData() == b.constData())
        return true;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).selected != b.at(i).selected || a.at(i).name != b.at(i).name)
            return false;
    }
    return true;
}

// The dry run gives its rows in run order (see RulePlan::runOrder()); the
// preview has them in list order, as a table beside the list shows them and
// as the rows shown first were computed.
void putInListOrder(RenamePreview &preview, const RulePlan &plan, const QList<RenameEntry> &entries)
{
    std::vector<qint32> rank(size_t(entries.size()), -1);
    qint32 selected = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).selected)
            rank[size_t(i)] = selected++;
    }
    if (!plan.runOrder().empty() && preview.rows.size() == selected) {
        QList<PreviewRow> rows(preview.rows.size());
        qsizetype k = 0;
        for (const qsizetype entry : plan.runOrder()) {
            if (entries.at(entry).selected)
                rows[rank[size_t(entry)]] = std::move(preview.rows[k++]);
        }
        preview.rows = std::move(rows);
        preview.problemRows.clear();
        for (qsizetype r = 0; r < preview.rows.size(); ++r) {
            if (preview.rows.at(r).outcome != PreviewOutcome::Renamed)
                preview.problemRows.append(r);
        }
    }
    for (const RulePlan::Note &note : plan.notes()) {
        const qint32 row = rank[size_t(note.entry)];
        if (row >= 0 && row < preview.rows.size())
            preview.rows[row].note = note.message;
    }
}

} // namespace

RulesPreviewCache::Stamp RulesPreviewCache::stampOf(const QString &folder)
{
    Stamp stamp;
    struct stat status = {};
    if (::stat(QFile::encodeName(folder).constData(), &status) == 0) {
        stamp.device = quint64(status.st_dev);
        stamp.inode = quint64(status.st_ino);
        stamp.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
        stamp.changedNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    }
    return stamp;
}

bool RulesPreviewCache::prepare(const QString &folder, const QList<RenameEntry> &entries)
{
    const Stamp stamp = stampOf(folder);
    if (m_plans && folder == m_path && stamp == m_stamp && sameEntries(entries, m_entries))
        return false;
    clear();
    m_path = folder;
    m_stamp = stamp;
    m_folder = std::make_unique<FolderHandle>(folder);
    // Watched before any fact is read, so that no change falls between.
    m_changes = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    constexpr uint32_t kFileChanges =
        IN_ATTRIB | IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF
        | IN_MOVE_SELF;
    if (m_changes >= 0 && ::inotify_add_watch(m_changes, QFile::encodeName(folder).constData(), kFileChanges) < 0) {
        ::close(m_changes);
        m_changes = -1;
    }
    m_entries = entries;
    m_plans = std::make_unique<RulePlanCache>(*m_folder, m_entries);
    return true;
}

RulesPreviewCache::~RulesPreviewCache()
{
    clear();
}

bool RulesPreviewCache::filesMayHaveChanged()
{
    if (m_changes < 0)
        return true;
    bool changed = false;
    alignas(inotify_event) char events[4096];
    while (::read(m_changes, events, sizeof events) > 0)
        changed = true;
    return changed;
}

void RulesPreviewCache::clear()
{
    if (m_changes >= 0)
        ::close(m_changes);
    m_changes = -1;
    m_plans.reset();
    m_folder.reset();
    m_entries.clear();
    m_path.clear();
    m_stamp = {};
}

QList<PreviewRow> VisibleRulesRows(RulePlanCache &cache, const RuleList &rules, int entryCount, qsizetype first,
                                   qsizetype count)
{
    if (!cache.folder().isOpen())
        return {};
    const std::vector<qsizetype> &selected = cache.selected();
    const qsizetype begin = qBound<qsizetype>(0, first, qsizetype(selected.size()));
    const qsizetype end = qBound<qsizetype>(begin, begin + qMax<qsizetype>(0, count), qsizetype(selected.size()));
    const std::vector<qsizetype> picked(selected.begin() + begin, selected.begin() + end);
    const RulePlan::Sample sample = RulePlan::sample(cache, rules, entryCount, picked);
    QList<PreviewRow> rows;
    if (!sample.refusal.isEmpty())
        return rows;
    rows.reserve(qsizetype(picked.size()));
    const int maxLength = cache.maxNameLength();
    for (qsizetype k = 0; k < qsizetype(picked.size()); ++k) {
        PreviewRow row;
        row.currentName = cache.entries().at(picked[size_t(k)]).name;
        row.newName = sample.names.at(k);
        row.note = sample.notes.at(k);
        // In the order the run looks at a file.
        bool leavesFolder = false;
        row.reason = PlatformFiles::nameProblem(row.newName, maxLength, &leavesFolder);
        row.outcome = !row.reason.isEmpty()             ? PreviewOutcome::LeftInPlace
                      : row.newName == row.currentName ? PreviewOutcome::Unchanged
                                                       : PreviewOutcome::Renamed;
        rows.append(std::move(row));
    }
    return rows;
}

RenamePreview WholeRulesPreview(RulePlanCache &cache, const RulesPreviewInput &input,
                                const std::function<void()> &planned, const std::function<bool()> &stopped,
                                bool *wasStopped)
{
    RenamePreview preview;
    *wasStopped = false;
    if (!cache.folder().isOpen()) {
        preview.refusal = cache.folder().openErrorText();
        return preview;
    }
    const int entryCount = int(qMin<qsizetype>(input.entries.size(), std::numeric_limits<int>::max()));
    const RulePlan plan = RulePlan::make(cache, input.rules, input.keepExisting, entryCount, stopped);
    if (planned)
        planned();
    if (plan.isStopped()) {
        *wasStopped = true;
        return preview;
    }
    if (plan.isRefused()) {
        preview.refusal = plan.refusal();
        return preview;
    }
    RenameRequest request;
    request.keepExisting = input.keepExisting;
    request.entryCount = entryCount;
    request.plannedNames = std::make_shared<const QStringList>(plan.arranged(*plan.names()));
    // Asked once more after the run would be one time too many for a
    // caller that counts; the run's own answer is kept instead.
    bool stopSeen = false;
    const std::function<bool()> watched = [&] { return stopSeen = stopped && stopped(); };
    preview = ComputeRenamePreview(input.folder, plan.arranged(input.entries), request, watched);
    if (stopSeen) {
        *wasStopped = true;
        return {};
    }
    putInListOrder(preview, plan, input.entries);
    return preview;
}
