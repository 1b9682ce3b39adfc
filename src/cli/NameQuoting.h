#pragma once

#include <QByteArray>
#include <QString>

// The UTF-8 bytes of name, quoted the way `ls` quotes names for a terminal
// (its "shell-escape" style): unchanged when nothing in it is special to a
// shell; otherwise in single quotes, with every control character written as
// a $'\n' or $'\033' escape, so that no name can move the cursor, retitle
// the window or split a line. The result can be pasted back into a shell.
QByteArray QuoteNameForTerminal(const QString &name);

// The UTF-8 bytes of a free text (a message that may quote a name or an
// argument) with the same control characters written as backslash escapes
// (\033, \n) and nothing else changed.
QByteArray EscapeControlsForTerminal(const QString &text);
