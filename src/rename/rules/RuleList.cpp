#include "rename/rules/RuleList.h"

#include "rename/rules/RuleText.h"
#include "rename/rules/RuleWords.h"

QString RuleList::describe(qsizetype index) const
{
    //: %2 is the rule's kind as the command line and presets write it
    //: (replace, case, number, insert, clean), never translated.
    return RuleText::tr("rule %1 (%2)").arg(index + 1).arg(RuleWords::word(m_rules.at(index).kind));
}
