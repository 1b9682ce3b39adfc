#pragma once

#include "rename/rules/RenameRule.h"

#include <QString>
#include <QStringView>

#include <utility>

// The part of a name a rule sees, and the name put together again around
// what the rule made of that part.
namespace RuleScope {

// Where the extension's dot is, or -1: the last dot, unless it leads the
// name (a hidden name such as ".bashrc" is all stem).
qsizetype extensionDot(QStringView name);

QStringView part(QStringView name, RenameRule::Scope scope);

// Where part() lies in name: its start and length. The extension of a name
// without one starts at -1.
std::pair<qsizetype, qsizetype> span(QStringView name, RenameRule::Scope scope);

// name with its part under scope replaced by newPart. An extension made
// empty takes its dot with it; an extension given to a name without one
// brings a dot.
QString replacePart(QStringView name, RenameRule::Scope scope, QStringView newPart);

// Puts text into name: at the start or end of the part under scope, after
// `position` characters of it, before the extension, in place of every
// "{n}", or in place of the part (Whole).
void put(QString &name, RenameRule::Scope scope, RenameRule::Place place, int position, const QString &text);

} // namespace RuleScope
