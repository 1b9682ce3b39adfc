#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh folder for one test, removed afterwards. Files are created with
// given contents, and what is there afterwards can be listed and read back,
// so a test can state the folder before and after in plain data.
class TempFolder
{
public:
    enum Place {
        InTemp,       // under TMPDIR
        OnUserVolume, // where the drive list shows a mount as the user's
    };
    explicit TempFolder(Place place = InTemp);

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Creates (or replaces) a file; sub-folders in the name are created too.
    bool write(const QString &name, const QByteArray &content = {});
    // Creates one file per entry, each holding its own name as content, so
    // a test can see afterwards which content went where.
    bool writeNamed(const QStringList &names);
    bool makeFolder(const QString &name);

    // Regular files directly in the folder (hidden ones included), sorted.
    QStringList files() const;
    // Name -> content of every regular file directly in the folder.
    QMap<QString, QByteArray> contents() const;
    QByteArray read(const QString &name) const;
    bool exists(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

// A folder for temporary folders that stand for drives: TMPDIR, unless it
// lies where the drive list hides mounts as the system's own (/dev/shm,
// /run/user/...); then /var/tmp.
QString UserVolumeTempRoot();

// Name -> SHA-256 of the content of every file directly in path, hidden ones
// included; "unreadable" for one that cannot be read. What a run must keep.
QMap<QString, QByteArray> FolderChecksums(const QString &path);
