#pragma once

#include <QCoreApplication>

// The translation context of what the rename run reports about each file it
// leaves in place: RunText::tr().
struct RunText
{
    Q_DECLARE_TR_FUNCTIONS(RunText)
};
