#pragma once

#include "rename/rules/RenameRule.h"

#include <QCoreApplication>
#include <QString>

// A rule told in one line of the user's language, as a list of rules shows
// it: "Replace "IMG_(\d+)" with "Trip_$1", name without extension".
class RuleSummary
{
    Q_DECLARE_TR_FUNCTIONS(RuleSummary)

public:
    static QString of(const RenameRule &rule);

    // The words for the part of a name a rule sees, and for where a text
    // goes, as the summary and the editor's choices say them.
    static QString scopeText(RenameRule::Scope scope);
    static QString placeText(RenameRule::Place place, int position);
    static QString orderText(RenameRule::Order order);
    static QString caseText(RenameRule::CaseForm form);
    static QString cleanUpText(RenameRule::CleanUp form);

private:
    static QString replaceText(const RenameRule &rule);
    static QString numberText(const RenameRule &rule);
};
