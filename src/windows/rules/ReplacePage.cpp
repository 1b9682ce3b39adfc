#include "windows/rules/ReplacePage.h"

#include "rename/rules/RulePlan.h"
#include "windows/rules/RuleFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <limits>

using Form = RenameRule::ReplaceForm;
using Occurrence = RenameRule::Occurrence;

ReplacePage::ReplacePage(QWidget *parent)
    : RulePage(parent)
    , form(new QComboBox(this))
    , find(new QLineEdit(this))
    , replacement(new QLineEdit(this))
    , endMarker(new QLineEdit(this))
    , literal(new QCheckBox(tr("&Literal text, not an expression"), this))
    , ignoreCase(new QCheckBox(tr("I&gnore case"), this))
    , occurrence(new QComboBox(this))
    , nth(new QSpinBox(this))
    , count(new QSpinBox(this))
    , m_layout(new QFormLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    form->setObjectName(QStringLiteral("replaceForm"));
    RuleFields::addChoice(form, tr("Find and replace"), int(Form::Pattern));
    RuleFields::addChoice(form, tr("Remove the first characters"), int(Form::RemoveFirst));
    RuleFields::addChoice(form, tr("Remove the last characters"), int(Form::RemoveLast));
    RuleFields::addChoice(form, tr("Remove from one marker to another"), int(Form::RemoveBetween));
    RuleFields::addField(m_layout, tr("&Form:"), form);

    find->setObjectName(QStringLiteral("find"));
    findLabel = RuleFields::addField(m_layout, QString(), find);
    findProblem = RuleFields::addProblem(m_layout);
    replacement->setObjectName(QStringLiteral("replacement"));
    RuleFields::addField(m_layout, tr("Replace wit&h:"), replacement);
    replacementProblem = RuleFields::addProblem(m_layout);
    endMarker->setObjectName(QStringLiteral("endMarker"));
    RuleFields::addField(m_layout, tr("&End marker:"), endMarker);
    endMarkerProblem = RuleFields::addProblem(m_layout);

    literal->setObjectName(QStringLiteral("literal"));
    ignoreCase->setObjectName(QStringLiteral("ignoreCase"));
    m_layout->addRow(literal);
    m_layout->addRow(ignoreCase);

    occurrence->setObjectName(QStringLiteral("occurrence"));
    RuleFields::addChoice(occurrence, tr("Every match"), int(Occurrence::All));
    RuleFields::addChoice(occurrence, tr("The first match"), int(Occurrence::First));
    RuleFields::addChoice(occurrence, tr("The last match"), int(Occurrence::Last));
    RuleFields::addChoice(occurrence, tr("One match, by its number"), int(Occurrence::Nth));
    RuleFields::addField(m_layout, tr("&Which matches:"), occurrence);
    nth->setObjectName(QStringLiteral("nth"));
    nth->setRange(1, std::numeric_limits<int>::max());
    RuleFields::addField(m_layout, tr("Match n&umber:"), nth);
    count->setObjectName(QStringLiteral("count"));
    count->setRange(0, std::numeric_limits<int>::max());
    RuleFields::addField(m_layout, tr("Number &of characters:"), count);

    for (QComboBox *box : {form, occurrence}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            updateFields();
            emit changed();
        });
    }
    for (QLineEdit *edit : {find, replacement, endMarker})
        connect(edit, &QLineEdit::textChanged, this, &RulePage::changed);
    for (QCheckBox *box : {literal, ignoreCase})
        connect(box, &QCheckBox::toggled, this, &RulePage::changed);
    for (QSpinBox *box : {nth, count})
        connect(box, &QSpinBox::valueChanged, this, &RulePage::changed);
    updateFields();
}

void ReplacePage::updateFields()
{
    const auto chosenForm = Form(RuleFields::chosen(form));
    const bool pattern = chosenForm == Form::Pattern;
    const bool between = chosenForm == Form::RemoveBetween;
    const bool counted = chosenForm == Form::RemoveFirst || chosenForm == Form::RemoveLast;
    // The keyboard letter stays the same whatever the field holds.
    findLabel->setText(between ? tr("Start mar&ker:") : tr("Loo&k for:"));
    find->setAccessibleName(RuleFields::plainCaption(findLabel->text()));
    find->setEnabled(pattern || between);
    replacement->setEnabled(pattern);
    endMarker->setEnabled(between);
    literal->setEnabled(pattern);
    ignoreCase->setEnabled(pattern || between);
    occurrence->setEnabled(pattern);
    nth->setEnabled(pattern && Occurrence(RuleFields::chosen(occurrence)) == Occurrence::Nth);
    count->setEnabled(counted);
}

void ReplacePage::showRule(const RenameRule &rule)
{
    RuleFields::choose(form, int(rule.replaceForm));
    find->setText(rule.find);
    replacement->setText(rule.replacement);
    endMarker->setText(rule.endMarker);
    literal->setChecked(rule.literal);
    ignoreCase->setChecked(rule.ignoreCase);
    RuleFields::choose(occurrence, int(rule.occurrence));
    nth->setValue(rule.nth);
    count->setValue(rule.count);
    updateFields();
}

void ReplacePage::readRule(RenameRule &rule) const
{
    rule.replaceForm = Form(RuleFields::chosen(form));
    rule.find = find->text();
    rule.replacement = replacement->text();
    rule.endMarker = endMarker->text();
    rule.literal = literal->isChecked();
    rule.ignoreCase = ignoreCase->isChecked();
    rule.occurrence = Occurrence(RuleFields::chosen(occurrence));
    rule.nth = nth->value();
    rule.count = count->value();
}

void ReplacePage::showProblem(const RenameRule &rule, const QString &reason)
{
    QString findReason;
    QString replacementReason;
    QString endReason;
    if (!reason.isEmpty()) {
        // The checks are the plan's own: the rule with an empty replacement
        // tells whether the expression or the replacement is at fault.
        RenameRule withoutReplacement = rule;
        withoutReplacement.replacement.clear();
        if (rule.replaceForm == Form::RemoveBetween && !rule.find.isEmpty())
            endReason = reason;
        else if (rule.replaceForm == Form::Pattern && RulePlan::problemOfRule(withoutReplacement).isEmpty())
            replacementReason = reason;
        else
            findReason = reason;
    }
    RuleFields::showProblem(m_layout, findProblem, find, findReason);
    RuleFields::showProblem(m_layout, replacementProblem, replacement, replacementReason);
    RuleFields::showProblem(m_layout, endMarkerProblem, endMarker, endReason);
}

QWidget *ReplacePage::firstField() const
{
    return find;
}
