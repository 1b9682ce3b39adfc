#include "windows/rules/ChoicePage.h"

#include "rename/rules/RuleSummary.h"
#include "windows/rules/RuleFields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

ChoicePage::ChoicePage(Kind kind, QWidget *parent)
    : RulePage(parent)
    , form(new QComboBox(this))
    , m_kind(kind)
    , m_layout(new QFormLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    if (kind == Kind::Case) {
        form->setObjectName(QStringLiteral("caseForm"));
        for (auto value : {RenameRule::CaseForm::Lower, RenameRule::CaseForm::Upper, RenameRule::CaseForm::Title,
                           RenameRule::CaseForm::Sentence})
            RuleFields::addChoice(form, RuleSummary::caseText(value), int(value));
        RuleFields::addField(m_layout, tr("&Letters:"), form);
    } else {
        form->setObjectName(QStringLiteral("cleanUpForm"));
        for (auto value : {RenameRule::CleanUp::Windows, RenameRule::CleanUp::Ascii,
                           RenameRule::CleanUp::CollapseSpaces, RenameRule::CleanUp::SpacesToUnderscores,
                           RenameRule::CleanUp::UnderscoresToSpaces, RenameRule::CleanUp::Nfc})
            RuleFields::addChoice(form, RuleSummary::cleanUpText(value), int(value));
        RuleFields::addField(m_layout, tr("Clean &up:"), form);
    }
    m_problem = RuleFields::addProblem(m_layout);
    connect(form, &QComboBox::currentIndexChanged, this, &RulePage::changed);
}

void ChoicePage::showRule(const RenameRule &rule)
{
    RuleFields::choose(form, m_kind == Kind::Case ? int(rule.caseForm) : int(rule.cleanUp));
}

void ChoicePage::readRule(RenameRule &rule) const
{
    if (m_kind == Kind::Case)
        rule.caseForm = RenameRule::CaseForm(RuleFields::chosen(form));
    else
        rule.cleanUp = RenameRule::CleanUp(RuleFields::chosen(form));
}

void ChoicePage::showProblem(const RenameRule &, const QString &reason)
{
    RuleFields::showProblem(m_layout, m_problem, form, reason);
}

QWidget *ChoicePage::firstField() const
{
    return form;
}
