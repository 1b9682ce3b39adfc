#pragma once

#include "windows/rules/RulePage.h"

class PlaceFields;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QSpinBox;

// A running number: where it goes, how it counts and in which order of the
// files.
class NumberPage : public RulePage
{
    Q_OBJECT

public:
    explicit NumberPage(QWidget *parent = nullptr);

    void showRule(const RenameRule &rule) override;
    void readRule(RenameRule &rule) const override;
    void showProblem(const RenameRule &, const QString &) override {}
    QWidget *firstField() const override;

    PlaceFields *placeFields = nullptr;
    // Whole numbers past the range of int (a start such as 20240101001),
    // which a double holds exactly up to 2^53.
    QDoubleSpinBox *start = nullptr;
    QDoubleSpinBox *step = nullptr;
    QComboBox *widthMode = nullptr;
    QSpinBox *width = nullptr;
    QComboBox *order = nullptr;
    QCheckBox *reverse = nullptr;

private:
    void updateFields();
};
