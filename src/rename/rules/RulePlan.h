#pragma once

#include "rename/RunTypes.h"
#include "rename/rules/RuleList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class FolderHandle;
class RulePlanCache;

// Every selected file's new name under a rule list, worked out and checked
// before any file moves. A rule that cannot be used (an expression that
// does not compile, a group it does not have, a match past the limit) or,
// when existing files are replaced, two files that would end under one name
// refuse the whole run; a name no file can have is left to the run, which
// refuses it for that file alone.
class RulePlan
{
public:
    struct Note
    {
        qsizetype entry = -1;
        QString message;
    };

    static RulePlan make(const FolderHandle &folder, const QList<RenameEntry> &entries, const RuleList &rules,
                         bool keepExisting, int entryCount);
    // The same with what the cache already holds of the folder and its
    // entries. `stopped` is asked between stretches of files: true ends the
    // plan there, isStopped().
    static RulePlan make(RulePlanCache &cache, const RuleList &rules, bool keepExisting, int entryCount,
                         const std::function<bool()> &stopped = {});

    // The new names of a few selected entries alone (the rows a view
    // shows), as make() gives them, without make()'s checks across files.
    struct Sample
    {
        QString refusal; // why the rules cannot be used; names empty then
        QStringList names;
        QStringList notes; // as Note::message, empty for none
    };
    static Sample sample(RulePlanCache &cache, const RuleList &rules, int entryCount,
                         const std::vector<qsizetype> &entries);

    // Whether the rules read the modified time or size of every selected
    // file (a number rule counting in either order).
    static bool readsEveryStatus(const RuleList &rules);

    // Why rules cannot be used at all, whatever the files (an expression
    // that does not compile, an unknown token), naming the rule; empty when
    // they can.
    static QString problemOf(const RuleList &rules);
    // Why this one rule cannot be used, without naming it, whether it is on
    // or not; empty when it can. The same checks as problemOf().
    static QString problemOfRule(const RenameRule &rule);

    bool isRefused() const { return !m_refusal.isEmpty(); }
    // Whether make() was told to stop: the plan is neither refused nor whole.
    bool isStopped() const { return m_stopped; }
    // Why nothing may be renamed, naming the rule or the files.
    const QString &refusal() const { return m_refusal; }
    // The new name of each entry, by its index in the list; empty for an
    // entry not selected. Null when refused.
    std::shared_ptr<const QStringList> names() const { return m_names; }
    // What the user should know of single files: a date taken that was not
    // there, so the modified time stood in.
    const QList<Note> &notes() const { return m_notes; }

    // The order in which a run should take the entries, by their index in
    // the list: a file whose new name another selected file still has comes
    // after that file, so that a chain of renames (file4 -> file1 ...
    // file13 -> file10, or 03 -> 02 -> 01 -> 00) needs no file set aside
    // and, where existing files are kept, gives no "_" variant. Only a
    // cycle (two files swapping names) is left to the run. Empty when list
    // order will do.
    const std::vector<qsizetype> &runOrder() const { return m_order; }
    // entries and items (one per entry) put in runOrder().
    template<typename List>
    List arranged(const List &items) const
    {
        if (m_order.empty())
            return items;
        List result;
        result.reserve(items.size());
        for (qsizetype index : m_order)
            result.push_back(items[index]);
        return result;
    }

    // Whether the folder's file system finds a name in any letter case
    // (FAT, exFAT, SMB shares): its names that differ only in case are one.
    static bool ignoresCase(const FolderHandle &folder, const QList<RenameEntry> &entries);

private:
    QString m_refusal;
    std::shared_ptr<const QStringList> m_names;
    QList<Note> m_notes;
    std::vector<qsizetype> m_order;
    bool m_stopped = false;
};
