#pragma once

#include <QCoreApplication>

// The translation context of the rules' messages.
class RuleText
{
    Q_DECLARE_TR_FUNCTIONS(RuleText)
};
