#include "rename/rules/RulePlanCache.h"

#include "core/FolderHandle.h"
#include "rename/rules/NumberRule.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The selected entries, sorted by a key read once for each.
template<typename Key>
std::vector<qsizetype> sortedBy(const std::vector<qsizetype> &selected, Key key)
{
    using Value = decltype(key(qsizetype(0)));
    std::vector<std::pair<Value, qsizetype>> keyed;
    keyed.reserve(selected.size());
    for (qsizetype entry : selected)
        keyed.emplace_back(key(entry), entry);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<qsizetype> order;
    order.reserve(keyed.size());
    for (const auto &item : keyed)
        order.push_back(item.second);
    return order;
}

} // namespace

RulePlanCache::RulePlanCache(const FolderHandle &folder, const QList<RenameEntry> &entries)
    : m_folder(folder)
    , m_entries(entries)
    , m_facts(folder, entries)
{
}

const QString &RulePlanCache::parentName()
{
    if (!m_parentName)
        m_parentName = QFileInfo(QDir::cleanPath(QFileInfo(m_folder.path()).absoluteFilePath())).fileName();
    return *m_parentName;
}

int RulePlanCache::maxNameLength()
{
    if (!m_maxNameLength)
        m_maxNameLength = m_folder.maxNameLength();
    return *m_maxNameLength;
}

const std::vector<qsizetype> &RulePlanCache::selected()
{
    if (!m_selected) {
        std::vector<qsizetype> selected;
        for (qsizetype i = 0; i < m_entries.size(); ++i) {
            if (m_entries.at(i).selected)
                selected.push_back(i);
        }
        m_selected = std::move(selected);
    }
    return *m_selected;
}

const std::vector<qsizetype> &RulePlanCache::sorted(RenameRule::Order kind)
{
    std::optional<std::vector<qsizetype>> &slot = m_sorted[size_t(kind)];
    if (slot)
        return *slot;
    std::vector<qsizetype> order = selected();
    const auto nameOf = [&](qsizetype entry) -> const QString & { return m_entries.at(entry).name; };
    switch (kind) {
    case RenameRule::Order::List:
        break;
    case RenameRule::Order::Natural:
        std::stable_sort(order.begin(), order.end(),
                         [&](qsizetype a, qsizetype b) { return NumberRule::naturalLess(nameOf(a), nameOf(b)); });
        break;
    case RenameRule::Order::Name:
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            const int folded = QString::compare(nameOf(a), nameOf(b), Qt::CaseInsensitive);
            return folded != 0 ? folded < 0 : nameOf(a) < nameOf(b);
        });
        break;
    case RenameRule::Order::Modified:
        m_facts.readStatuses(order);
        order = sortedBy(order, [&](qsizetype entry) { return m_facts.modifiedMs(entry); });
        break;
    case RenameRule::Order::Size:
        m_facts.readStatuses(order);
        order = sortedBy(order, [&](qsizetype entry) { return m_facts.size(entry); });
        break;
    case RenameRule::Order::Taken:
        order = sortedBy(order, [&](qsizetype entry) { return m_facts.takenMs(entry); });
        break;
    }
    if (kind != RenameRule::Order::List)
        ++m_sortsMade;
    slot = std::move(order);
    return *slot;
}

void RulePlanCache::startSorting(RenameRule::Order order)
{
    if (!m_sorted[size_t(order)] && (order == RenameRule::Order::Modified || order == RenameRule::Order::Size))
        m_facts.startReadingStatuses(selected());
}

bool RulePlanCache::refresh()
{
    if (!m_facts.refresh())
        return false;
    for (const RenameRule::Order kind : {RenameRule::Order::Modified, RenameRule::Order::Size, RenameRule::Order::Taken})
        m_sorted[size_t(kind)].reset();
    return true;
}
