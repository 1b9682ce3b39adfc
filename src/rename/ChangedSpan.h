#pragma once

#include <QStringView>
#include <QtGlobal>

// The part of a new name that differs from the old one: what is left of the
// new name once the longest beginning and the longest ending the two names
// share are taken off. A view highlights it so that a change buried in a
// long name is seen at a glance.
struct ChangedSpan
{
    qsizetype start = 0;  // in the new name
    qsizetype length = 0; // 0: the new name only lost characters, or is the same

    bool operator==(const ChangedSpan &) const = default;
};

// The shared beginning and ending never overlap, and never split a
// character written as two UTF-16 units (an emoji, a surrogate standing for
// an undecodable byte), so the span can be drawn on its own.
ChangedSpan FindChangedSpan(QStringView oldName, QStringView newName);
