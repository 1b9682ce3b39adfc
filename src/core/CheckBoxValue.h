#pragma once

#include <QString>
#include <Qt>

#include <optional>

// A check box's state as the settings store keeps it: "0" not ticked, "1"
// ticked, "2" greyed. Reading converts the text to a whole number as every
// stored check box value is read; text that is no number, or a number other
// than 0, 1 and 2, gives nothing and the box is to be left as it is.
// The same as a number: 0, 1 or 2; any other number is no state.
int CheckValue(Qt::CheckState state);
std::optional<Qt::CheckState> CheckStateFromValue(qint64 value);

std::optional<Qt::CheckState> CheckStateFromText(const QString &text);
QString CheckStateText(Qt::CheckState state);
