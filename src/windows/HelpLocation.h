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

// The installed data folder (share/quillmere), found from the program's
// folder the way the install lays them out.
QString InstalledDataFolder();

// Where the help document is: "Help.rtf" in the program's folder, else the
// one in the installed data folder, each found by FindHelpFile's rule. When
// neither exists, the path in the program's folder.
QString HelpFilePath();

// The help document that is there, beside the program first, then in the
// installed data folder, found by the rule every file look-up of the program
// follows (see FileExists) and spelled as on disk so that it opens whatever
// the letter case; nothing when there is none.
std::optional<QString> FindHelpFile();
