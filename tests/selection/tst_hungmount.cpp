// A mounted file system whose server stops answering (a FUSE process that
// is stopped, an NFS or sshfs server gone) must not hold the drive list,
// and so the window, back. Made for real: an exFAT image mounted through
// mount.exfat-fuse, whose process is then stopped. Needs root.

#include "selection/DriveListModel.h"
#include "selection/MountedDrives.h"

#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

bool runTool(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return false;
    if (output)
        *output = process.readAllStandardOutput().trimmed();
    return true;
}

bool isMounted(const QString &mountPoint)
{
    QFile table(QStringLiteral("/proc/self/mounts"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted = ' ' + QFile::encodeName(mountPoint) + ' ';
    return table.readAll().contains(wanted);
}

} // namespace

class TestHungMount : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void stoppedFuseMountIsNotReady();

private:
    void undoMount();

    QTemporaryDir m_dir{UserVolumeTempRoot() + QStringLiteral("/quillmere-hung-XXXXXX")};
    QString m_loopDevice;
    QString m_mountPoint;
    QProcess m_fuse;
    bool m_stopped = false;
};

void TestHungMount::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("needs root: mounting an image through FUSE (run as root, as CI does)");
    for (const char *tool : {"mkfs.exfat", "mount.exfat-fuse", "losetup", "umount"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
        if (found.isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (packages exfatprogs, exfat-fuse)").arg(tool)));
    }
    if (!QFileInfo::exists(QStringLiteral("/dev/fuse")))
        QSKIP("no /dev/fuse on this machine");
    QVERIFY(m_dir.isValid());
}

void TestHungMount::cleanup()
{
    undoMount();
}

// Whatever happened in the test: the process runs again, the image is
// unmounted and its loop device given back.
void TestHungMount::undoMount()
{
    if (m_fuse.state() != QProcess::NotRunning) {
        if (m_stopped)
            ::kill(pid_t(m_fuse.processId()), SIGCONT);
        m_stopped = false;
        if (!m_mountPoint.isEmpty() && isMounted(m_mountPoint))
            runTool(QStringLiteral("umount"), {m_mountPoint});
        if (!m_fuse.waitForFinished(10000)) {
            m_fuse.kill();
            m_fuse.waitForFinished(10000);
        }
    }
    if (!m_loopDevice.isEmpty())
        runTool(QStringLiteral("losetup"), {QStringLiteral("-d"), m_loopDevice});
    m_loopDevice.clear();
}

void TestHungMount::stoppedFuseMountIsNotReady()
{
    const QString image = m_dir.filePath(QStringLiteral("stick.img"));
    m_mountPoint = m_dir.filePath(QStringLiteral("stick"));
    QVERIFY(QDir().mkpath(m_mountPoint));
    {
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(8 * 1024 * 1024));
    }
    QVERIFY(runTool(QStringLiteral("mkfs.exfat"), {image}));
    QByteArray device;
    if (!runTool(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image}, &device))
        QSKIP("no loop device can be set up here (a container without them)");
    m_loopDevice = QString::fromLocal8Bit(device);

    // In the foreground (-d), so that its process is this one's child; its
    // log of every request goes nowhere, so no full pipe can stop it.
    m_fuse.setStandardOutputFile(QProcess::nullDevice());
    m_fuse.setStandardErrorFile(QProcess::nullDevice());
    m_fuse.start(QStringLiteral("mount.exfat-fuse"), {QStringLiteral("-d"), m_loopDevice, m_mountPoint});
    QVERIFY(m_fuse.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(isMounted(m_mountPoint), 10000);
    QVERIFY(QFile::exists(m_mountPoint + QStringLiteral("/.")));

    const QList<MountedVolume> before = SystemVolumes();
    const auto stick = [this](const QList<MountedVolume> &volumes) {
        for (const MountedVolume &volume : volumes)
            if (volume.mountPoint == m_mountPoint)
                return std::optional<MountedVolume>(volume);
        return std::optional<MountedVolume>();
    };
    QVERIFY(stick(before));
    QVERIFY(stick(before)->ready);

    // The server stops answering; every call into the mount now waits.
    QCOMPARE(::kill(pid_t(m_fuse.processId()), SIGSTOP), 0);
    m_stopped = true;

    const QList<MountedVolume> after = SystemVolumes();
    QVERIFY(stick(after));
    QVERIFY(!stick(after)->ready);
    DriveListModel model;
    QVERIFY(!model.isReady(m_mountPoint));
    QVERIFY(model.rowCount() >= 2);
    QVERIFY(model.isReady(RootDrive()));
}

QTEST_GUILESS_MAIN(TestHungMount)
#include "tst_hungmount.moc"
