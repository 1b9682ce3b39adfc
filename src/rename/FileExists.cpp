#include "rename/FileExists.h"

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

    // The exact name is the usual case and needs no folder scan.
    if (PlatformFiles::isOrdinaryFile(path))
        return true;

    QString folder = path.left(path.size() - name.size());
    if (folder.isEmpty())
        folder = QStringLiteral(".");
    bool found = false;
    PlatformFiles::forEachEntry(folder, [&](QStringView candidate, bool ordinary) {
        found = ordinary && !PlatformFiles::isHiddenName(candidate)
            && PlatformFiles::sameFoldedName(candidate, name);
        return !found;
    });
    return found;
}
