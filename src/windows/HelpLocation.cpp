#include "windows/HelpLocation.h"

#include "rename/FileExists.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString InstalledDataFolder()
{
#ifdef QUILLMERE_DATA_FROM_PROGRAM
    const QString relative = QStringLiteral(QUILLMERE_DATA_FROM_PROGRAM);
#else
    const QString relative = QStringLiteral("../share/quillmere");
#endif
    return QDir::cleanPath(QDir(ProgramFolder()).filePath(relative));
}

QString HelpFilePath()
{
    // Joined as a path, so a program at the root of a file system gives
    // "/Help.rtf" rather than a doubled separator.
    return FindHelpFile().value_or(QDir(ProgramFolder()).filePath(HelpFileName));
}

std::optional<QString> FindHelpFile()
{
    if (std::optional<QString> beside = FindFile(QDir(ProgramFolder()).filePath(HelpFileName)))
        return beside;
    return FindFile(QDir(InstalledDataFolder()).filePath(HelpFileName));
}
