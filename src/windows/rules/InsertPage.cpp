#include "windows/rules/InsertPage.h"

#include "windows/rules/PlaceFields.h"
#include "windows/rules/RuleFields.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

InsertPage::InsertPage(QWidget *parent)
    : RulePage(parent)
    , text(new QLineEdit(this))
    , m_layout(new QFormLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    text->setObjectName(QStringLiteral("text"));
    RuleFields::addField(m_layout, tr("Text &or template:"), text);
    textProblem = RuleFields::addProblem(m_layout);
    auto *tokens =
        new QLabel(tr("Tokens: {name} {ext} {n} {parent} {mtime:yyyy-MM-dd} {taken:yyyy-MM-dd}"), this);
    tokens->setObjectName(QStringLiteral("tokens"));
    tokens->setTextFormat(Qt::PlainText);
    tokens->setWordWrap(true);
    m_layout->addRow(QString(), tokens);
    placeFields = new PlaceFields(m_layout, this);
    connect(text, &QLineEdit::textChanged, this, &RulePage::changed);
    connect(placeFields, &PlaceFields::changed, this, &RulePage::changed);
}

void InsertPage::showRule(const RenameRule &rule)
{
    text->setText(rule.text);
    placeFields->show(rule);
}

void InsertPage::readRule(RenameRule &rule) const
{
    rule.text = text->text();
    placeFields->read(rule);
}

void InsertPage::showProblem(const RenameRule &, const QString &reason)
{
    RuleFields::showProblem(m_layout, textProblem, text, reason);
}

QWidget *InsertPage::firstField() const
{
    return text;
}
