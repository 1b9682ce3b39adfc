#pragma once

#include "rename/rules/RuleList.h"

// The four rules of cli_bench's rules job: an expression with a group
// (replacement in place of "shot $1 "), Title case, a number at the end in
// order of modified time, seven digits wide, names Windows can hold.
inline RuleList FourRules(const QString &replacement)
{
    RuleList rules;
    RenameRule pattern;
    pattern.kind = RenameRule::Kind::Replace;
    pattern.find = QStringLiteral("^img_(\\d+)$");
    pattern.ignoreCase = true;
    pattern.replacement = replacement;
    rules.append(pattern);
    RenameRule title;
    title.kind = RenameRule::Kind::Case;
    title.caseForm = RenameRule::CaseForm::Title;
    rules.append(title);
    RenameRule number;
    number.kind = RenameRule::Kind::Number;
    number.place = RenameRule::Place::End;
    number.order = RenameRule::Order::Modified;
    number.widthMode = RenameRule::Width::Fixed;
    number.width = 7;
    rules.append(number);
    RenameRule clean;
    clean.kind = RenameRule::Kind::CleanUp;
    clean.cleanUp = RenameRule::CleanUp::Windows;
    rules.append(clean);
    return rules;
}
