#include "rename/RenamingOptions.h"

#include "core/NumberText.h"

#include <QCoreApplication>

QStringList RenamingTypeItems()
{
    // Shown in the user's language: the type is stored and read back as the
    // item's index, never as its text.
    return {
        QCoreApplication::translate("RenamingOptions", "Change both file name and extension"),
        QCoreApplication::translate("RenamingOptions", "Change only the file name"),
        QCoreApplication::translate("RenamingOptions", "Change only the extension"),
        QCoreApplication::translate("RenamingOptions", "Add A Prefix"),
        QCoreApplication::translate("RenamingOptions", "Add A Suffix"),
    };
}

OptionFieldStates FieldStatesFor(RenamingType type)
{
    OptionFieldStates states;
    states.newTextCaption = QCoreApplication::translate("RenamingOptions", "New Name:");
    switch (type) {
    case BothNameAndExtension:
        break;
    case ExtensionOnly:
        states.newTextEnabled = false;
        states.numberEnabled = false;
        states.padEnabled = false;
        states.rememberEnabled = false;
        break;
    case AddPrefix:
    case AddSuffix:
        states.numberEnabled = false;
        states.extensionEnabled = false;
        states.padEnabled = false;
        states.rememberEnabled = false;
        states.newTextCaption = type == AddPrefix ? QCoreApplication::translate("RenamingOptions", "New Prefix:")
                                                  : QCoreApplication::translate("RenamingOptions", "New Suffix:");
        break;
    case NameOnly:
    case NoTypeChosen:
    default:
        states.extensionEnabled = false;
        break;
    }
    return states;
}

StartingNumberVerdict CheckStartingNumber(const QString &text)
{
    // An empty box or a lone blank is what the user sees while replacing the
    // number; resetting it then would fight the typing.
    if (text.isEmpty() || text == QLatin1String(" "))
        return StartingNumberVerdict::LeaveAlone;
    return ParseWholeNumber(text) ? StartingNumberVerdict::Store : StartingNumberVerdict::Reset;
}
