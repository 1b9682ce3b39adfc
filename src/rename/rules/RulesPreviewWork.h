#pragma once

#include "core/FolderHandle.h"
#include "rename/RenamePreview.h"
#include "rename/rules/RuleList.h"
#include "rename/rules/RulePlanCache.h"

#include <functional>
#include <memory>

struct RulesPreviewInput;

// What the rules preview keeps of a folder and its entries between changes
// of the rules: the open folder, the entries, and the plan's cache of facts
// and orders. It is kept while the folder (its path, its identity, its last
// change) and the entries stay as they were, and made afresh when either
// changes. Not thread-safe: the caller holds its lock.
class RulesPreviewCache
{
public:
    RulesPreviewCache() = default;
    ~RulesPreviewCache();
    RulesPreviewCache(const RulesPreviewCache &) = delete;
    RulesPreviewCache &operator=(const RulesPreviewCache &) = delete;

    // Makes the cache fit the input; true when it was made afresh.
    bool prepare(const QString &folder, const QList<RenameEntry> &entries);
    // Drops what it holds; the next prepare() makes it afresh.
    void clear();
    // Whether a file of the folder may have changed since the cache was
    // made or this was last asked: the system tells of every change made
    // on this machine, so the facts are read again only then. Always true
    // where it cannot tell.
    bool filesMayHaveChanged();
    bool isEmpty() const { return !m_plans; }

    const FolderHandle &folder() const { return *m_folder; }
    RulePlanCache &plans() { return *m_plans; }

private:
    struct Stamp
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const Stamp &) const = default;
    };
    static Stamp stampOf(const QString &folder);

    QString m_path;
    Stamp m_stamp;
    std::unique_ptr<FolderHandle> m_folder;
    QList<RenameEntry> m_entries;
    std::unique_ptr<RulePlanCache> m_plans;
    int m_changes = -1; // inotify descriptor watching the folder
};

// Rows first .. first + count - 1 of the rules preview (selected files in
// list order) as far as they can be told without the rest of the files:
// the new names and notes as the whole plan gives them; "unchanged" and
// "left in place" for a name no file can have, as the run says them; every
// other row "renamed". Empty when the rules cannot be used.
QList<PreviewRow> VisibleRulesRows(RulePlanCache &cache, const RuleList &rules, int entryCount, qsizetype first,
                                   qsizetype count);

// The whole rules preview with what the cache holds: the plan, then the dry
// run, its rows put in list order. `planned` is called once the cache is no
// longer needed (the dry run reads the folder itself), so that its lock can
// be let go. `stopped` is asked between stretches of work; when it answers
// true, *wasStopped is set and the result is incomplete.
RenamePreview WholeRulesPreview(RulePlanCache &cache, const RulesPreviewInput &input,
                                const std::function<void()> &planned, const std::function<bool()> &stopped,
                                bool *wasStopped);
