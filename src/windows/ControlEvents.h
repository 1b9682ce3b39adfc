#pragma once

#include <QtGlobal>
#include <qnamespace.h>

#include <functional>

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

// The one place where Qt's signals become the events the window's handlers
// are written against. Every event here runs synchronously, before the
// setter or the user action that caused it returns:
//
// - a check box's click runs on every change of its value, by code or user;
// - a text box's change runs on every change of its text;
// - a combo box's change runs when its text changes by typing or by code,
//   but not when picking an item changes the text (the click reports that);
// - a combo box's click runs when the user picks an item or code selects one;
//   typing into the box never picks an item, and leaves none selected (-1)
//   while the typed text stays;
// - a key-up runs when a key is released (held keys report once).
namespace ControlEvents {

using Handler = std::function<void()>;
using KeyHandler = std::function<void(int key, Qt::KeyboardModifiers modifiers)>;

void onClick(QCheckBox *box, Handler handler);
void onPress(QAbstractButton *button, Handler handler);
void onTrigger(QAction *action, Handler handler);
void onChange(QLineEdit *edit, Handler handler);
void onChange(QComboBox *combo, Handler handler);
void onItemClick(QComboBox *combo, Handler handler);
void onKeyUp(QWidget *widget, KeyHandler handler);

// Gives an editable combo box the behaviour above without registering a
// handler: no completion, no items added by Enter, typed text selects no
// item. Called by onChange/onItemClick; harmless to call again.
void makeClassicCombo(QComboBox *combo);

// A check box's value as the handlers know it: 0 not ticked, 1 ticked,
// 2 greyed. Any other value is refused and leaves the box as it was.
int checkValue(const QCheckBox *box);
bool setCheckValue(QCheckBox *box, int value);

} // namespace ControlEvents
