#include "rename/FileExists.h"

#include "core/FolderHandle.h"
#include "core/FolderReader.h"
#include "rename/PlatformFiles.h"

QString FileNamePart(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (PlatformFiles::isSeparator(path.at(i)))
            return path.mid(i + 1);
    }
    return path;
}

bool FileExists(const QString &path)
{
    const QString name = FileNamePart(path);
    if (name.isEmpty() || PlatformFiles::isHiddenName(name) || name.contains(QLatin1Char('*'))
        || name.contains(QLatin1Char('?')) || name.contains(QChar(0)))
        return false;

    QString folderPath = path.left(path.size() - name.size());
    if (folderPath.isEmpty())
        folderPath = QStringLiteral(".");
    const FolderHandle folder(folderPath);
    if (!folder.isOpen())
        return false;
    // The exact name is the usual case and needs no folder scan.
    if (folder.kindOf(name) == FolderHandle::Kind::File)
        return true;

    FolderReader reader(folder);
    while (reader.next()) {
        if (reader.isHidden())
            continue;
        const QStringView candidate = reader.name();
        if (reader.roundTrips() && PlatformFiles::sameFoldedName(candidate, name)
            && reader.kind() == FolderHandle::Kind::File)
            return true;
    }
    return false;
}
