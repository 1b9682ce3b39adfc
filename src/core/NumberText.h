#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// Reads a whole number the way the starting-number box accepts it: blanks
// before and after, an optional sign, decimal digits and an optional decimal
// fraction, rounded half to even. Nothing when the text is no such number or
// the rounded value lies outside the 32-bit signed range.
std::optional<qint32> ParseWholeNumber(const QString &text);
