#pragma once

// Rules and entries built in one line each, for the tests of rule plans.

#include "rename/RunTypes.h"
#include "rename/rules/RenameRule.h"
#include "rename/rules/RuleList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

namespace RuleBuilders {

using R = RenameRule;

inline RenameRule replace(const QString &find, const QString &with, R::Scope scope = R::Scope::Stem)
{
    RenameRule rule;
    rule.kind = R::Kind::Replace;
    rule.find = find;
    rule.replacement = with;
    rule.scope = scope;
    return rule;
}

inline RenameRule caseRule(R::CaseForm form, R::Scope scope = R::Scope::Stem)
{
    RenameRule rule;
    rule.kind = R::Kind::Case;
    rule.caseForm = form;
    rule.scope = scope;
    return rule;
}

inline RenameRule number(R::Place place, qint64 start = 1, qint64 step = 1, R::Width width = R::Width::None, int fixed = 0)
{
    RenameRule rule;
    rule.kind = R::Kind::Number;
    rule.place = place;
    rule.start = start;
    rule.step = step;
    rule.widthMode = width;
    rule.width = fixed;
    return rule;
}

inline RenameRule insert(const QString &text, R::Place place, int position = 0, R::Scope scope = R::Scope::Stem)
{
    RenameRule rule;
    rule.kind = R::Kind::Insert;
    rule.text = text;
    rule.place = place;
    rule.position = position;
    rule.scope = scope;
    return rule;
}

inline RenameRule clean(R::CleanUp form, R::Scope scope = R::Scope::Stem)
{
    RenameRule rule;
    rule.kind = R::Kind::CleanUp;
    rule.cleanUp = form;
    rule.scope = scope;
    return rule;
}

inline RuleList rules(std::initializer_list<RenameRule> list)
{
    RuleList result;
    for (const RenameRule &rule : list)
        result.append(rule);
    return result;
}

template<typename Change>
RenameRule with(RenameRule rule, Change change)
{
    change(rule);
    return rule;
}

inline QList<RenameEntry> selectAll(const QStringList &names)
{
    QList<RenameEntry> entries;
    for (const QString &name : names)
        entries.append({name, true});
    return entries;
}

} // namespace RuleBuilders
