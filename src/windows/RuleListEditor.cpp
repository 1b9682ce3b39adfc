#include "windows/RuleListEditor.h"

#include "rename/rules/RulePlan.h"

#include <QListWidget>
#include <QVBoxLayout>

RuleListEditor::RuleListEditor(QWidget *parent)
    : QWidget(parent)
    , m_list(new QListWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
}

void RuleListEditor::setRules(const RuleList &rules)
{
    m_rules = rules;
    showRules();
    emit rulesChanged();
}

QString RuleListEditor::problem() const
{
    return RulePlan::problemOf(m_rules);
}

void RuleListEditor::showRules()
{
    m_list->clear();
    for (qsizetype i = 0; i < m_rules.size(); ++i)
        m_list->addItem(m_rules.describe(i));
}
