#include "windows/rules/NumberPage.h"

#include "rename/rules/RuleSummary.h"
#include "windows/rules/PlaceFields.h"
#include "windows/rules/RuleFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

#include <limits>

namespace {

// The largest whole number a double holds exactly.
constexpr double kLargestWhole = 9007199254740991.0;

} // namespace

using Width = RenameRule::Width;
using Order = RenameRule::Order;

NumberPage::NumberPage(QWidget *parent)
    : RulePage(parent)
    , start(new QDoubleSpinBox(this))
    , step(new QDoubleSpinBox(this))
    , widthMode(new QComboBox(this))
    , width(new QSpinBox(this))
    , order(new QComboBox(this))
    , reverse(new QCheckBox(tr("Count bac&kwards"), this))
{
    auto *layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    placeFields = new PlaceFields(layout, this);

    // A step below zero counts down.
    start->setObjectName(QStringLiteral("start"));
    step->setObjectName(QStringLiteral("step"));
    for (QDoubleSpinBox *box : {start, step}) {
        box->setDecimals(0);
        box->setRange(-kLargestWhole, kLargestWhole);
    }
    RuleFields::addField(layout, tr("&First number:"), start);
    RuleFields::addField(layout, tr("Step si&ze:"), step);

    widthMode->setObjectName(QStringLiteral("widthMode"));
    RuleFields::addChoice(widthMode, tr("Zeros to fit the list"), int(Width::Auto));
    RuleFields::addChoice(widthMode, tr("A fixed number of digits"), int(Width::Fixed));
    RuleFields::addChoice(widthMode, tr("No leading zeros"), int(Width::None));
    RuleFields::addField(layout, tr("&Width:"), widthMode);
    width->setObjectName(QStringLiteral("width"));
    width->setRange(0, 255);
    RuleFields::addField(layout, tr("Di&gits:"), width);

    order->setObjectName(QStringLiteral("order"));
    for (auto value : {Order::List, Order::Natural, Order::Name, Order::Modified, Order::Size, Order::Taken})
        RuleFields::addPhraseChoice(order, RuleSummary::orderText(value), int(value));
    RuleFields::addField(layout, tr("&Order:"), order);
    reverse->setObjectName(QStringLiteral("reverse"));
    layout->addRow(reverse);

    connect(placeFields, &PlaceFields::changed, this, &RulePage::changed);
    for (QDoubleSpinBox *box : {start, step})
        connect(box, &QDoubleSpinBox::valueChanged, this, &RulePage::changed);
    connect(width, &QSpinBox::valueChanged, this, &RulePage::changed);
    connect(widthMode, &QComboBox::currentIndexChanged, this, [this] {
        updateFields();
        emit changed();
    });
    connect(order, &QComboBox::currentIndexChanged, this, &RulePage::changed);
    connect(reverse, &QCheckBox::toggled, this, &RulePage::changed);
    updateFields();
}

void NumberPage::updateFields()
{
    width->setEnabled(Width(RuleFields::chosen(widthMode)) == Width::Fixed);
}

void NumberPage::showRule(const RenameRule &rule)
{
    placeFields->show(rule);
    start->setValue(double(rule.start));
    step->setValue(double(rule.step));
    RuleFields::choose(widthMode, int(rule.widthMode));
    width->setValue(rule.width);
    RuleFields::choose(order, int(rule.order));
    reverse->setChecked(rule.reverse);
    updateFields();
}

void NumberPage::readRule(RenameRule &rule) const
{
    placeFields->read(rule);
    rule.start = qint64(start->value());
    rule.step = qint64(step->value());
    rule.widthMode = Width(RuleFields::chosen(widthMode));
    rule.width = width->value();
    rule.order = Order(RuleFields::chosen(order));
    rule.reverse = reverse->isChecked();
}

QWidget *NumberPage::firstField() const
{
    return placeFields->place;
}
