#pragma once

#include "rename/rules/RenameRule.h"

#include <QObject>

class QComboBox;
class QFormLayout;
class QSpinBox;

// Where a number or an inserted text goes: the choice of place and the
// characters before it, which only a position uses.
class PlaceFields : public QObject
{
    Q_OBJECT

public:
    // form is set on its widget.
    PlaceFields(QFormLayout *form, QObject *parent);

    void show(const RenameRule &rule);
    void read(RenameRule &rule) const;

    QComboBox *place = nullptr;
    QSpinBox *position = nullptr;

signals:
    void changed();

private:
    void updateFields();
};
