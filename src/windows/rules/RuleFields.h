#pragma once

#include <QString>

#include <QList>

class QComboBox;
class QFormLayout;
class QLabel;
class QWidget;

// The small pieces every page of the rule editor is made of.
namespace RuleFields {

// Every widget is made inside the widget it belongs to: a screen reader's
// description of a widget is made when the widget first changes, and one
// made while it stood alone would call it a window for good.

// A row of form: caption (with its keyboard letter) leading to field, which
// a screen reader calls by the caption. form is set on its widget.
QLabel *addField(QFormLayout *form, const QString &caption, QWidget *field);
// A hidden row under a field, where what is wrong with it is shown.
QLabel *addProblem(QFormLayout *form);
// Shows reason in a row made by addProblem(), or hides it when empty; the
// field tells a screen reader too.
void showProblem(QFormLayout *form, QLabel *problem, QWidget *field, const QString &reason);

// A caption without its keyboard letter's marker and trailing colon.
QString plainCaption(const QString &caption);

// The fields of form that Tab reaches, row by row.
QList<QWidget *> fieldsOf(const QFormLayout *form);
// Tab goes through widgets in this order.
void orderTabs(const QList<QWidget *> &widgets);

void addChoice(QComboBox *box, const QString &text, int value);
// A choice worded as part of a summary ("by name"), starting as an item of
// a list does ("By name").
void addPhraseChoice(QComboBox *box, const QString &phrase, int value);
// Picks the item of value; returns false when the box has none.
bool choose(QComboBox *box, int value);
int chosen(const QComboBox *box);

} // namespace RuleFields
