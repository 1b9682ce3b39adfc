#pragma once

#include <QLatin1StringView>
#include <QString>

#include <optional>

inline constexpr QLatin1StringView HelpFileName{"Help.rtf"};

// The program's own folder: the folder of the running executable, links
// resolved. The help document is kept there, in the build tree as after
// installation. Tests may put another folder in its place.
QString ProgramFolder();
void SetProgramFolderForTesting(std::optional<QString> folder);

// Where the help document is looked for: "Help.rtf" in the program's folder.
QString HelpFilePath();

// The help document that is there, found by the rule every file look-up of
// the program follows (see FileExists), spelled as on disk so that it opens
// whatever the letter case; nothing when there is none.
std::optional<QString> FindHelpFile();
