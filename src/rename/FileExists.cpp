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

std::optional<QString> FindFile(const QString &path)
{
    const QString name = FileNamePart(path);
    if (name.isEmpty() || PlatformFiles::isHiddenName(name) || name.contains(QLatin1Char('*'))
        || name.contains(QLatin1Char('?')) || name.contains(QChar(0)))
        return std::nullopt;

    const QString prefix = path.left(path.size() - name.size());
    const FolderHandle folder(prefix.isEmpty() ? QStringLiteral(".") : prefix);
    if (!folder.isOpen())
        return std::nullopt;
    // The exact name is the usual case and needs no folder scan.
    if (folder.kindOf(name) == FolderHandle::Kind::File)
        return path;

    FolderReader reader(folder);
    while (reader.next()) {
        if (reader.isHidden())
            continue;
        const QStringView candidate = reader.name();
        if (PlatformFiles::sameFoldedName(candidate, name)
            && reader.kind() == FolderHandle::Kind::File)
            return prefix + candidate.toString();
    }
    return std::nullopt;
}

bool FileExists(const QString &path)
{
    return FindFile(path).has_value();
}
