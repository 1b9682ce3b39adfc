#pragma once

#include "rename/RenameRequest.h"

#include <QString>
#include <QStringList>

// The renaming options panel as a model: which fields a renaming type uses,
// what the name field is called, and which starting numbers may be stored.

// Items of the renaming type box, in list order: item i selects type i.
QStringList RenamingTypeItems();

// Enabled state of the option fields and the caption of the name field's
// label for one renaming type. The file filter box is enabled in every state;
// the overwrite box and the number label are not part of the rule.
struct OptionFieldStates
{
    bool newTextEnabled = true;      // Text1
    bool numberEnabled = true;       // Text2
    bool extensionEnabled = true;    // Combo1
    bool filterEnabled = true;       // Check1
    bool padEnabled = true;          // Check2
    bool rememberEnabled = true;     // Check3
    QString newTextCaption;          // Label1

    friend bool operator==(const OptionFieldStates &, const OptionFieldStates &) = default;
};

// The field rule. A value outside the list (no type chosen, or anything
// unexpected) is treated as NameOnly.
OptionFieldStates FieldStatesFor(RenamingType type);

// What to do with the starting-number box's text after a key is released.
enum class StartingNumberVerdict {
    LeaveAlone, // empty or a single blank: the user is still typing
    Store,      // a whole number in the 32-bit range: store the text as typed
    Reset,      // anything else: put "1" back, store nothing
};

StartingNumberVerdict CheckStartingNumber(const QString &text);

// The text the box is reset to.
inline constexpr QLatin1String kDefaultStartingNumber("1");
