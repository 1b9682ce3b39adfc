#include "CaseBlindDrive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Runs a program to its end; its output, or why it failed, in *output.
bool runTool(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        *output = program + QStringLiteral(" did not run or end");
        return false;
    }
    *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString findTool(const QString &name)
{
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                                 QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
}

} // namespace

CaseBlindDrive::~CaseBlindDrive()
{
    stop();
}

bool CaseBlindDrive::start(int sizeMb, QString *whyNot)
{
    if (::geteuid() != 0) {
        *whyNot = QStringLiteral("making an exFAT drive needs the superuser");
        return false;
    }
    if (!QFile::exists(QStringLiteral("/dev/fuse"))) {
        *whyNot = QStringLiteral("FUSE is not available (no /dev/fuse)");
        return false;
    }
    const QString mkfs = findTool(QStringLiteral("mkfs.exfat"));
    const QString mount = findTool(QStringLiteral("mount.exfat-fuse"));
    const QString losetup = findTool(QStringLiteral("losetup"));
    if (mkfs.isEmpty() || mount.isEmpty() || losetup.isEmpty()) {
        *whyNot = QStringLiteral("mkfs.exfat, mount.exfat-fuse or losetup is missing (exfatprogs, exfat-fuse)");
        return false;
    }
    const QString image = m_dir.filePath(QStringLiteral("drive.img"));
    QFile file(image);
    if (!m_dir.isValid() || !file.open(QIODevice::WriteOnly) || !file.resize(qint64(sizeMb) << 20)) {
        *whyNot = QStringLiteral("cannot make the image file");
        return false;
    }
    file.close();
    QString output;
    // Small clusters, as on a card of photos: many files fit.
    if (!runTool(mkfs, {QStringLiteral("-c"), QStringLiteral("4K"), image}, &output)) {
        *whyNot = QStringLiteral("mkfs.exfat failed: ") + output;
        return false;
    }
    // As the superuser, mount.exfat-fuse takes only a block device.
    if (!runTool(losetup, {QStringLiteral("--find"), QStringLiteral("--show"), image}, &output)) {
        *whyNot = QStringLiteral("no loop device: ") + output;
        return false;
    }
    m_loopDevice = output;
    const QString mountPoint = m_dir.filePath(QStringLiteral("mnt"));
    if (!QDir().mkpath(mountPoint) || !runTool(mount, {m_loopDevice, mountPoint}, &output)) {
        *whyNot = QStringLiteral("mount.exfat-fuse failed: ") + output;
        stop();
        return false;
    }
    m_mounted = true;
    return true;
}

void CaseBlindDrive::stop()
{
    QString output;
    if (m_mounted) {
        const QString mountPoint = m_dir.filePath(QStringLiteral("mnt"));
        // A lazy unmount as the last resort, so that no mount outlives the test.
        if (!runTool(QStringLiteral("umount"), {mountPoint}, &output))
            runTool(QStringLiteral("umount"), {QStringLiteral("-l"), mountPoint}, &output);
        m_mounted = false;
    }
    if (!m_loopDevice.isEmpty()) {
        runTool(findTool(QStringLiteral("losetup")), {QStringLiteral("-d"), m_loopDevice}, &output);
        m_loopDevice.clear();
    }
}
