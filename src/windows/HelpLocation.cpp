#include "windows/HelpLocation.h"

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
    const QString beside = QDir(ProgramFolder()).filePath(HelpFileName);
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed = QDir(InstalledDataFolder()).filePath(HelpFileName);
    if (QFileInfo(installed).isFile())
        return installed;
    return beside;
}
