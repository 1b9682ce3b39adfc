#pragma once

#include "windows/rules/RulePage.h"

#include <QList>
#include <QPair>

class QComboBox;
class QFormLayout;
class QLabel;

// A kind whose one setting is a choice among forms: the case rule and the
// clean-up rule.
class ChoicePage : public RulePage
{
    Q_OBJECT

public:
    enum class Kind : quint8 { Case, CleanUp };
    explicit ChoicePage(Kind kind, QWidget *parent = nullptr);

    void showRule(const RenameRule &rule) override;
    void readRule(RenameRule &rule) const override;
    void showProblem(const RenameRule &rule, const QString &reason) override;
    QWidget *firstField() const override;

    QComboBox *form = nullptr;

private:
    Kind m_kind;
    QFormLayout *m_layout = nullptr;
    QLabel *m_problem = nullptr;
};
