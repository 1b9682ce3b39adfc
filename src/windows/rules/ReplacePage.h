#pragma once

#include "windows/rules/RulePage.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

// Find and replace, and the forms that take characters away.
class ReplacePage : public RulePage
{
    Q_OBJECT

public:
    explicit ReplacePage(QWidget *parent = nullptr);

    void showRule(const RenameRule &rule) override;
    void readRule(RenameRule &rule) const override;
    void showProblem(const RenameRule &rule, const QString &reason) override;
    QWidget *firstField() const override;

    QComboBox *form = nullptr;
    QLineEdit *find = nullptr; // the expression, or the opening marker
    QLineEdit *replacement = nullptr;
    QLineEdit *endMarker = nullptr;
    QCheckBox *literal = nullptr;
    QCheckBox *ignoreCase = nullptr;
    QComboBox *occurrence = nullptr;
    QSpinBox *nth = nullptr;
    QSpinBox *count = nullptr;
    QLabel *findLabel = nullptr;
    QLabel *findProblem = nullptr;
    QLabel *replacementProblem = nullptr;
    QLabel *endMarkerProblem = nullptr;

private:
    // Enables what the chosen form and occurrence use, and names the find
    // field after what it holds.
    void updateFields();

    QFormLayout *m_layout = nullptr;
};
