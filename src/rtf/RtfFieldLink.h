#pragma once

#include <QString>

namespace Rtf {

// The target of a HYPERLINK field instruction ("HYPERLINK "url" \l "place""),
// or an empty text for any other field.
QString linkFromInstruction(const QString &instruction);

} // namespace Rtf
