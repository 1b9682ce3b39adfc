#include "windows/rules/PlaceFields.h"

#include "windows/rules/RuleFields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

#include <limits>

using Place = RenameRule::Place;

PlaceFields::PlaceFields(QFormLayout *form, QObject *parent)
    : QObject(parent)
    , place(new QComboBox(form->parentWidget()))
    , position(new QSpinBox(form->parentWidget()))
{
    place->setObjectName(QStringLiteral("place"));
    RuleFields::addChoice(place, tr("At the end"), int(Place::End));
    RuleFields::addChoice(place, tr("At the start"), int(Place::Start));
    RuleFields::addChoice(place, tr("Before the extension"), int(Place::BeforeExtension));
    RuleFields::addChoice(place, tr("After a number of characters"), int(Place::Position));
    RuleFields::addChoice(place, tr("In place of {n}"), int(Place::Token));
    RuleFields::addChoice(place, tr("In place of the whole part (template)"), int(Place::Whole));
    RuleFields::addField(form, tr("P&lace:"), place);
    position->setObjectName(QStringLiteral("position"));
    position->setRange(0, std::numeric_limits<int>::max());
    RuleFields::addField(form, tr("Aft&er characters:"), position);
    connect(place, &QComboBox::currentIndexChanged, this, [this] {
        updateFields();
        emit changed();
    });
    connect(position, &QSpinBox::valueChanged, this, &PlaceFields::changed);
    updateFields();
}

void PlaceFields::updateFields()
{
    position->setEnabled(Place(RuleFields::chosen(place)) == Place::Position);
}

void PlaceFields::show(const RenameRule &rule)
{
    RuleFields::choose(place, int(rule.place));
    position->setValue(rule.position);
    updateFields();
}

void PlaceFields::read(RenameRule &rule) const
{
    rule.place = Place(RuleFields::chosen(place));
    rule.position = position->value();
}
