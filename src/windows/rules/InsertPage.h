#pragma once

#include "windows/rules/RulePage.h"

class PlaceFields;
class QFormLayout;
class QLabel;
class QLineEdit;

// A text or template put into the name, with its tokens.
class InsertPage : public RulePage
{
    Q_OBJECT

public:
    explicit InsertPage(QWidget *parent = nullptr);

    void showRule(const RenameRule &rule) override;
    void readRule(RenameRule &rule) const override;
    void showProblem(const RenameRule &rule, const QString &reason) override;
    QWidget *firstField() const override;

    QLineEdit *text = nullptr;
    PlaceFields *placeFields = nullptr;
    QLabel *textProblem = nullptr;

private:
    QFormLayout *m_layout = nullptr;
};
