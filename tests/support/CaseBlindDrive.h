#pragma once

#include <QString>
#include <QTemporaryDir>

// A small exFAT drive, made on an image file and mounted through FUSE, as a
// memory card or a USB stick is: names are kept in their letters but found
// in any, and the listing gives no inode numbers. Making one needs the
// superuser, a loop device, FUSE, mkfs.exfat and mount.exfat-fuse (Debian's
// exfatprogs and exfat-fuse); start() says why not where one is missing.
// Unmounted and freed when the object goes, however the test ended.
class CaseBlindDrive
{
public:
    CaseBlindDrive() = default;
    ~CaseBlindDrive();
    CaseBlindDrive(const CaseBlindDrive &) = delete;
    CaseBlindDrive &operator=(const CaseBlindDrive &) = delete;

    // Makes and mounts a drive of sizeMb megabytes; on failure *whyNot
    // says what is missing.
    bool start(int sizeMb, QString *whyNot);
    void stop();
    QString path() const { return m_mounted ? m_dir.filePath(QStringLiteral("mnt")) : QString(); }

private:
    QTemporaryDir m_dir;
    QString m_loopDevice;
    bool m_mounted = false;
};
