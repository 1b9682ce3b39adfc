#include "selection/UnreadableFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

QString WhyFolderUnreadable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QCoreApplication::translate("UnreadableFolder", "it does not exist");
    if (!info.isDir())
        return QCoreApplication::translate("UnreadableFolder", "it is not a folder");
    return QCoreApplication::translate("UnreadableFolder", "access is denied");
}
