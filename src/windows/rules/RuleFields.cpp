#include "windows/rules/RuleFields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace RuleFields {

QString plainCaption(const QString &caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    while (text.endsWith(u':') || text.endsWith(u' '))
        text.chop(1);
    return text;
}

QLabel *addField(QFormLayout *form, const QString &caption, QWidget *field)
{
    auto *label = new QLabel(caption, form->parentWidget());
    form->addRow(label, field);
    label->setBuddy(field);
    field->setAccessibleName(plainCaption(caption));
    return label;
}

QLabel *addProblem(QFormLayout *form)
{
    auto *problem = new QLabel(form->parentWidget());
    problem->setObjectName(QStringLiteral("problem"));
    problem->setTextFormat(Qt::PlainText);
    problem->setWordWrap(true);
    problem->setStyleSheet(QStringLiteral("color: #b00020;"));
    form->addRow(QString(), problem);
    form->setRowVisible(problem, false);
    return problem;
}

void showProblem(QFormLayout *form, QLabel *problem, QWidget *field, const QString &reason)
{
    problem->setText(reason.isEmpty() ? QString() : QStringLiteral("\u26a0 ") + reason);
    form->setRowVisible(problem, !reason.isEmpty());
    field->setAccessibleDescription(reason);
    field->setToolTip(reason);
}

QList<QWidget *> fieldsOf(const QFormLayout *form)
{
    QList<QWidget *> fields;
    for (int row = 0; row < form->rowCount(); ++row) {
        for (QFormLayout::ItemRole role : {QFormLayout::FieldRole, QFormLayout::SpanningRole}) {
            const QLayoutItem *item = form->itemAt(row, role);
            if (item && item->widget() && (item->widget()->focusPolicy() & Qt::TabFocus))
                fields.append(item->widget());
        }
    }
    return fields;
}

void orderTabs(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 0; i + 1 < widgets.size(); ++i)
        QWidget::setTabOrder(widgets.at(i), widgets.at(i + 1));
}

void addChoice(QComboBox *box, const QString &text, int value)
{
    box->addItem(text, value);
}

void addPhraseChoice(QComboBox *box, const QString &phrase, int value)
{
    QString text = phrase;
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    box->addItem(text, value);
}

bool choose(QComboBox *box, int value)
{
    const int index = box->findData(value);
    if (index < 0)
        return false;
    box->setCurrentIndex(index);
    return true;
}

int chosen(const QComboBox *box)
{
    return box->currentData().toInt();
}

} // namespace RuleFields
