#pragma once

#include "rename/rules/RenameRule.h"

#include <QList>
#include <QString>

// The rules of a run, applied top to bottom to every selected name.
class RuleList
{
public:
    const QList<RenameRule> &rules() const { return m_rules; }
    QList<RenameRule> &rules() { return m_rules; }
    void append(const RenameRule &rule) { m_rules.append(rule); }
    void append(const RuleList &other) { m_rules.append(other.m_rules); }
    bool isEmpty() const { return m_rules.isEmpty(); }
    qsizetype size() const { return m_rules.size(); }

    // How messages name the rule at index: "rule 2 (replace)".
    QString describe(qsizetype index) const;

    bool operator==(const RuleList &) const = default;

private:
    QList<RenameRule> m_rules;
};
