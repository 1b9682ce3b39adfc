#pragma once

#include "rename/rules/RenameRule.h"
#include "rename/rules/RuleScope.h"

#include <QString>

// A rule made ready to apply: its expression compiled, its numbers worked
// out. One step takes each selected file's name in turn.
class RuleStep
{
public:
    explicit RuleStep(RenameRule::Scope scope)
        : m_scope(scope)
    {
    }
    virtual ~RuleStep() = default;
    RuleStep(const RuleStep &) = delete;
    RuleStep &operator=(const RuleStep &) = delete;

    // Applies the step to name, the name so far of list entry `entry`.
    // False when the step cannot tell what the name becomes (an expression
    // that ran past its match limit).
    virtual bool apply(QString &name, qsizetype entry)
    {
        const auto [start, length] = RuleScope::span(name, m_scope);
        if (start == 0 && length == name.size())
            return transform(name, entry);
        // The part is copied into room kept from the last name: a step
        // that changes it in place allocates nothing.
        m_part.truncate(0);
        if (start >= 0)
            m_part.append(QStringView(name).mid(start, length));
        if (!transform(m_part, entry))
            return false;
        // In place, unless an extension comes or goes with its dot.
        if (start < 0 || (m_scope == RenameRule::Scope::Extension && m_part.isEmpty()))
            name = RuleScope::replacePart(name, m_scope, m_part);
        else
            name.replace(start, length, m_part);
        return true;
    }

protected:
    // What the step makes of the part of the name it sees.
    virtual bool transform(QString &part, qsizetype entry) = 0;

    RenameRule::Scope m_scope;

private:
    QString m_part;
};
