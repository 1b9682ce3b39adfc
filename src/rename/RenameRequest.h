#pragma once

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

// The renaming type is the selected index of the type box; -1 means no entry
// of the box is selected (first start, or text typed into the box) and acts
// like NameOnly except in the filter rule at the end of a run.
enum RenamingType : qint16 {
    NoTypeChosen = -1,
    BothNameAndExtension = 0,
    NameOnly = 1,
    ExtensionOnly = 2,
    AddPrefix = 3,
    AddSuffix = 4,
};

// What the extension box shows until the user picks or types an extension.
inline constexpr QLatin1String kExtensionPlaceholder("Choose or Type the File Extension");

// The option values of the main window at the moment "Rename Now" is pressed,
// taken exactly as the controls hold them (nothing trimmed).
struct RenameRequest
{
    RenamingType type = NoTypeChosen;
    QString newText;          // new base name, or the prefix, or the suffix
    QString newExtension;     // without its dot
    QString numberText;       // the running number as typed
    bool pad = false;         // zero-fill the running number
    bool keepExisting = false; // never replace a file already under the new name
    bool rememberNumber = false;
    bool filterOn = false;
    QString filterExtension;
    int entryCount = 0;       // entries listed (selected or not): sets the zero-fill width
};
