#pragma once

#include "rename/rules/RuleList.h"

#include <QWidget>

class QListWidget;

// The rule list of the Rules window with the editor of its selected rule.
// Every change, down to a keystroke in the editor, is reported by
// rulesChanged().
class RuleListEditor : public QWidget
{
    Q_OBJECT

public:
    explicit RuleListEditor(QWidget *parent = nullptr);

    RuleList rules() const { return m_rules; }
    // Shows rules in place of the list being edited; reports the change.
    void setRules(const RuleList &rules);
    // Empty while every rule that is on can be used; otherwise why not,
    // naming the rule.
    QString problem() const;

signals:
    void rulesChanged();

private:
    void showRules();

    RuleList m_rules;
    QListWidget *m_list = nullptr;
};
