#pragma once

#include "rename/RunTypes.h"
#include "rename/rules/RuleStep.h"

#include <QList>

#include <vector>

// A running number put into each selected name: start, step and width as
// the rule says, counted over the selected files in the rule's order (list
// order, natural order, name, modified time, size or date taken, or the
// reverse of one).
class NumberRule final : public RuleStep
{
public:
    // sorted: the selected entries in the rule's order, not reversed (see
    // RulePlanCache::sorted); listSize: the entries of the list. entryCount:
    // the entries listed, selected or not, which set the automatic width as
    // the renaming types' zero fill does.
    NumberRule(const RenameRule &rule, const std::vector<qsizetype> &sorted, qsizetype listSize, int entryCount);

    bool apply(QString &name, qsizetype entry) override;

    // The number of the file at `rank` in the order, as text.
    static QString numberText(qint64 value, RenameRule::Width widthMode, int width, int entryCount);
    // Names compared as people read them: runs of digits by their value,
    // letters without regard to case.
    static bool naturalLess(QStringView a, QStringView b);

protected:
    bool transform(QString &, qsizetype) override { return true; }

private:
    RenameRule m_rule;
    int m_entryCount = 0;
    std::vector<qint32> m_rank; // by entry; -1 for an entry not selected
};
