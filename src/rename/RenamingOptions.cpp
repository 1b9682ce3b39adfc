#include "rename/RenamingOptions.h"

#include "core/NumberText.h"

QStringList RenamingTypeItems()
{
    return {
        QStringLiteral("Change both file name and extension"),
        QStringLiteral("Change only the file name"),
        QStringLiteral("Change only the extension"),
        QStringLiteral("Add A Prefix"),
        QStringLiteral("Add A Suffix"),
    };
}

OptionFieldStates FieldStatesFor(RenamingType type)
{
    OptionFieldStates states;
    states.newTextCaption = QStringLiteral("New Name:");
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
        states.newTextCaption = type == AddPrefix ? QStringLiteral("New Prefix:") : QStringLiteral("New Suffix:");
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
