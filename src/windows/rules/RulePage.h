#pragma once

#include "rename/rules/RenameRule.h"

#include <QWidget>

// The editor's fields for one kind of rule. A page shows a rule's settings
// of its kind, reads them back into a rule, and reports each change.
class RulePage : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Shows rule; reports no change.
    virtual void showRule(const RenameRule &rule) = 0;
    // Sets every setting of the page's kind in rule from the fields.
    virtual void readRule(RenameRule &rule) const = 0;
    // Marks the field that makes rule unusable with reason, or clears every
    // mark when reason is empty.
    virtual void showProblem(const RenameRule &rule, const QString &reason) = 0;
    // The field a new rule of the kind is typed into first.
    virtual QWidget *firstField() const = 0;

signals:
    void changed();
};
