#pragma once

#include "rename/rules/RuleStep.h"

// lower, UPPER, Title and Sentence case, by Unicode's own rules and never
// the locale's: a name must come out the same on every machine (no Turkish
// dotless i).
class CaseRule final : public RuleStep
{
public:
    explicit CaseRule(const RenameRule &rule)
        : RuleStep(rule.scope)
        , m_form(rule.caseForm)
    {
    }

    static QString changed(const QString &text, RenameRule::CaseForm form);

protected:
    bool transform(QString &part, qsizetype) override
    {
        part = changed(part, m_form);
        return true;
    }

private:
    RenameRule::CaseForm m_form;
};
