#include "app/Form1.h"

#include "core/NumberText.h"
#include "core/SettingKeys.h"
#include "core/SettingsStore.h"
#include "rename/NameComposition.h"
#include "rename/RenamingOptions.h"
#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/DriveListModel.h"
#include "selection/FileListBox.h"
#include "skin/SkinEngine.h"
#include "windows/ControlEvents.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// The options: restored into their controls at load, stored the moment a
// control changes, and read back as a rename request.

void Form1::restoreOptions()
{
    using namespace ControlEvents;

    // Every value goes through the control's ordinary setter, so the
    // control's own reaction runs exactly as for a user's change. The folder
    // is read before the drive is applied: choosing the drive moves the
    // folder list and stores that folder.
    const QString drive = ReadOption(SettingKeys::Drive);
    const QString dir = ReadOption(SettingKeys::Dir);
    if (!drive.isEmpty())
        Drive1->setDrive(drive);
    // A folder on a volume that does not answer would hold the window until
    // it does; the drive list has found it not ready.
    if (!dir.isEmpty() && Drive1->driveModel()->isReady(Drive1->driveModel()->driveOfPath(dir)))
        Dir1->setPath(dir);

    Text1->setText(ReadOption(SettingKeys::Text1));
    Text2->setText(ReadOption(SettingKeys::Text2));

    // A stored value that is no number, or no value a check box holds,
    // leaves that box in its design state.
    const auto restoreCheck = [](QCheckBox *box, QLatin1StringView key) {
        if (const std::optional<qint32> value = ParseWholeNumber(ReadOption(key)))
            setCheckValue(box, *value);
    };
    restoreCheck(Check1, SettingKeys::Check1);
    restoreCheck(Check2, SettingKeys::Check2);
    restoreCheck(Check3, SettingKeys::Check3);
    restoreCheck(Check4, SettingKeys::Check4);

    if (const QString extension = ReadOption(SettingKeys::Combo1); !extension.isEmpty())
        Combo1->setEditText(extension);
    if (const QString filter = ReadOption(SettingKeys::Combo2); !filter.isEmpty())
        Combo2->setEditText(filter);

    // The type comes last: its click reaction sets the fields for it.
    if (const QString type = ReadOption(SettingKeys::Combo3); !type.isEmpty()) {
        const std::optional<qint32> index = ParseWholeNumber(type);
        if (index && *index >= 0 && *index < Combo3->count())
            Combo3->setCurrentIndex(*index);
    }
}

void Form1::Combo3_Click()
{
    const auto type = static_cast<RenamingType>(Combo3->currentIndex());
    const OptionFieldStates states = FieldStatesFor(type);
    Text1->setEnabled(states.newTextEnabled);
    Text2->setEnabled(states.numberEnabled);
    Combo1->setEnabled(states.extensionEnabled);
    Check1->setEnabled(states.filterEnabled);
    Check2->setEnabled(states.padEnabled);
    Check3->setEnabled(states.rememberEnabled);
    // The caption changes with the type; its mnemonic stays on the N.
    Label1->setText(QLatin1Char('&') + states.newTextCaption);
    LabelCaptionChanged(Label1);
    WriteOption(SettingKeys::Combo3, QString::number(Combo3->currentIndex()));
}

void Form1::Combo1_Click()
{
    WriteOption(SettingKeys::Combo1, Combo1->currentText());
}

void Form1::Text1_Change()
{
    WriteOption(SettingKeys::Text1, Text1->text());
}

void Form1::Text2_KeyUp()
{
    const QString text = Text2->text();
    switch (CheckStartingNumber(text)) {
    case StartingNumberVerdict::LeaveAlone:
        return;
    case StartingNumberVerdict::Store:
        // The run reads the box, not the store: a settings file that cannot
        // be written must not take a good number away from the user.
        WriteOption(SettingKeys::Text2, text);
        return;
    case StartingNumberVerdict::Reset:
        break;
    }
    Text2->setText(QString(kDefaultStartingNumber));
}

void Form1::Check2_Click()
{
    WriteOption(SettingKeys::Check2, QString::number(ControlEvents::checkValue(Check2)));
}

void Form1::Check3_Click()
{
    WriteOption(SettingKeys::Check3, QString::number(ControlEvents::checkValue(Check3)));
}

void Form1::Check4_Click()
{
    WriteOption(SettingKeys::Check4, QString::number(ControlEvents::checkValue(Check4)));
}

RenameRequest Form1::readRenameRequest() const
{
    using ControlEvents::checkValue;
    RenameRequest request;
    request.type = static_cast<RenamingType>(Combo3->currentIndex());
    request.newText = Text1->text();
    request.newExtension = Combo1->currentText();
    request.numberText = Text2->text();
    request.pad = checkValue(Check2) == 1;
    request.keepExisting = checkValue(Check4) == 1;
    request.rememberNumber = checkValue(Check3) != 0;
    request.filterOn = checkValue(Check1) == 1;
    request.filterExtension = Combo2->currentText();
    request.entryCount = File1->count();
    return request;
}

