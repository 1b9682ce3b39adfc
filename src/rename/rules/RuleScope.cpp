#include "rename/rules/RuleScope.h"

#include <algorithm>

namespace RuleScope {

qsizetype extensionDot(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? dot : -1;
}

QStringView part(QStringView name, RenameRule::Scope scope)
{
    const qsizetype dot = extensionDot(name);
    switch (scope) {
    case RenameRule::Scope::Stem:
        return dot < 0 ? name : name.left(dot);
    case RenameRule::Scope::Extension:
        return dot < 0 ? QStringView() : name.mid(dot + 1);
    case RenameRule::Scope::Name:
        break;
    }
    return name;
}

std::pair<qsizetype, qsizetype> span(QStringView name, RenameRule::Scope scope)
{
    const qsizetype dot = extensionDot(name);
    switch (scope) {
    case RenameRule::Scope::Stem:
        return {0, dot < 0 ? name.size() : dot};
    case RenameRule::Scope::Extension:
        return {dot < 0 ? -1 : dot + 1, dot < 0 ? 0 : name.size() - dot - 1};
    case RenameRule::Scope::Name:
        break;
    }
    return {0, name.size()};
}

QString replacePart(QStringView name, RenameRule::Scope scope, QStringView newPart)
{
    const qsizetype dot = extensionDot(name);
    switch (scope) {
    case RenameRule::Scope::Stem:
        return dot < 0 ? newPart.toString() : newPart.toString().append(name.mid(dot));
    case RenameRule::Scope::Extension: {
        const QStringView stem = dot < 0 ? name : name.left(dot);
        return newPart.isEmpty() ? stem.toString() : stem.toString().append(u'.').append(newPart);
    }
    case RenameRule::Scope::Name:
        break;
    }
    return newPart.toString();
}

void put(QString &name, RenameRule::Scope scope, RenameRule::Place place, int position, const QString &text)
{
    switch (place) {
    case RenameRule::Place::Token:
        name.replace(QLatin1String("{n}"), text);
        return;
    case RenameRule::Place::BeforeExtension: {
        const qsizetype dot = extensionDot(name);
        name.insert(dot < 0 ? name.size() : dot, text);
        return;
    }
    case RenameRule::Place::Whole:
        name = replacePart(name, scope, text);
        return;
    case RenameRule::Place::Start:
    case RenameRule::Place::End:
    case RenameRule::Place::Position:
        break;
    }
    const auto [start, length] = span(name, scope);
    const qsizetype at = place == RenameRule::Place::Start ? 0
        : place == RenameRule::Place::End                 ? length
                                                          : std::clamp<qsizetype>(position, 0, length);
    if (start >= 0)
        name.insert(start + at, text); // in place
    else
        name = replacePart(name, scope, text); // an extension given to a name without one
}

} // namespace RuleScope
