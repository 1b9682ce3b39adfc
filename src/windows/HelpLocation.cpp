#include "windows/HelpLocation.h"

#include "rename/FileExists.h"

#include <QCoreApplication>
#include <QDir>

namespace {
std::optional<QString> &folderForTesting()
{
    static std::optional<QString> folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    if (const std::optional<QString> &folder = folderForTesting())
        return *folder;
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolderForTesting(std::optional<QString> folder)
{
    folderForTesting() = std::move(folder);
}

QString HelpFilePath()
{
    // Joined as a path, so a program at the root of a file system gives
    // "/Help.rtf" rather than a doubled separator.
    return QDir(ProgramFolder()).filePath(HelpFileName);
}

std::optional<QString> FindHelpFile()
{
    return FindFile(HelpFilePath());
}
