#include "TempFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString UserVolumeTempRoot()
{
    const QString temp = QFileInfo(QDir::tempPath()).canonicalFilePath();
    for (const char *system : {"/dev", "/run", "/proc", "/sys"}) {
        const QString folder = QString::fromLatin1(system);
        if (temp == folder || temp.startsWith(folder + QLatin1Char('/')))
            return QStringLiteral("/var/tmp");
    }
    return QDir::tempPath();
}

TempFolder::TempFolder(Place place)
    : m_dir((place == OnUserVolume ? UserVolumeTempRoot() : QDir::tempPath()) + QStringLiteral("/quillmere-test-XXXXXX"))
{
}

bool TempFolder::write(const QString &name, const QByteArray &content)
{
    const QString full = filePath(name);
    if (!QDir().mkpath(QFileInfo(full).absolutePath()))
        return false;
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(content) == content.size();
}

bool TempFolder::writeNamed(const QStringList &names)
{
    for (const QString &name : names) {
        if (!write(name, name.toUtf8()))
            return false;
    }
    return true;
}

bool TempFolder::makeFolder(const QString &name)
{
    return QDir(path()).mkpath(name);
}

QStringList TempFolder::files() const
{
    QStringList names = QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    return names;
}

QMap<QString, QByteArray> TempFolder::contents() const
{
    QMap<QString, QByteArray> result;
    for (const QString &name : files())
        result.insert(name, read(name));
    return result;
}

QByteArray TempFolder::read(const QString &name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TempFolder::exists(const QString &name) const
{
    return QFileInfo(filePath(name)).isFile();
}

QMap<QString, QByteArray> FolderChecksums(const QString &path)
{
    QMap<QString, QByteArray> result;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        QFile file(entry.filePath());
        result.insert(entry.fileName(), file.open(QIODevice::ReadOnly)
                                            ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                                            : QByteArray("unreadable"));
    }
    return result;
}
