#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>

#include "core/RenamingType.h"

// What the extension box shows until the user picks or types an extension.
// It is never translated: the validation compares the box's text with it,
// and a text that depended on the language would let a placeholder shown
// under one language pass as an extension under another.
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
    // Go ahead when no journal can be written, so that the run cannot be
    // undone (quillmere-rename --no-undo); otherwise such a run is refused
    // before any file moves. The window never sets it.
    bool allowNoUndo = false;
    // New names worked out before the run (by renaming rules), one for each
    // entry by its index in the list. When set, every selected file takes
    // its planned name instead of one composed from the fields above, and
    // the running number and the filter are left as they are.
    std::shared_ptr<const QStringList> plannedNames;
};
