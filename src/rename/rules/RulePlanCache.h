#pragma once

#include "rename/RunTypes.h"
#include "rename/rules/FileFacts.h"
#include "rename/rules/RenameRule.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class FolderHandle;

// What a plan needs of a folder and its entries besides the rules: the
// files' facts, the selected entries, each order a number rule may count
// in, the folder's name. None of it depends on the rules, so a preview kept
// up to date while rules are edited works it out once and only applies the
// rules at each change. Folder and entries must outlive the cache. Not
// thread-safe: one plan at a time.
class RulePlanCache
{
public:
    RulePlanCache(const FolderHandle &folder, const QList<RenameEntry> &entries);

    const FolderHandle &folder() const { return m_folder; }
    const QList<RenameEntry> &entries() const { return m_entries; }
    FileFacts &facts() { return m_facts; }
    const QString &parentName();
    int maxNameLength();

    // The selected entries by their index in the list, in list order.
    const std::vector<qsizetype> &selected();
    // The selected entries in a number rule's order, not reversed: sorted
    // on first use, then kept.
    const std::vector<qsizetype> &sorted(RenameRule::Order order);
    // Begins, on a helper thread, to read what sorting in this order will
    // need of the files, so that the caller can meanwhile apply rules that
    // ask nothing of them; sorted() waits for the rest.
    void startSorting(RenameRule::Order order);
    // Sorts made so far: a preview tells by it whether it had to wait for
    // one.
    int sortsMade() const { return m_sortsMade; }

    // Reads again what was read of the files (modified time, size); a file
    // that changed is read afresh when next asked, and the orders that
    // depend on facts are sorted again. True when any changed.
    bool refresh();

private:
    const FolderHandle &m_folder;
    const QList<RenameEntry> &m_entries;
    FileFacts m_facts;
    std::optional<QString> m_parentName;
    std::optional<int> m_maxNameLength;
    std::optional<std::vector<qsizetype>> m_selected;
    static constexpr size_t kOrders = size_t(RenameRule::Order::Taken) + 1;
    std::array<std::optional<std::vector<qsizetype>>, kOrders> m_sorted;
    int m_sortsMade = 0;
};
