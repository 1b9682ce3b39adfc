#include "selection/DriveListModel.h"
#include "selection/MountedDrives.h"
#include "selection/VolumeProbe.h"

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

QStringList mountPoints(const QList<MountedVolume> &drives)
{
    QStringList points;
    for (const MountedVolume &drive : drives)
        points.append(drive.mountPoint);
    return points;
}

// A reader whose answer for the points named `hung` waits until released,
// as a mount whose server does not answer; the others answer at once. Its
// state is shared with the reads, which may outlive it.
class HangingReader
{
public:
    explicit HangingReader(QStringList hung)
        : m_state(std::make_shared<State>())
    {
        m_state->hung = std::move(hung);
    }

    VolumeReader reader() const
    {
        return [state = m_state](const QString &mountPoint) {
            std::unique_lock lock(state->mutex);
            ++state->calls;
            if (state->hung.contains(mountPoint))
                state->released.wait(lock, [&state] { return state->release; });
            return mountPoint.endsWith(QLatin1String("/hosts")) ? VolumeState::NotFolder : VolumeState::Folder;
        };
    }

    void release() const
    {
        std::lock_guard lock(m_state->mutex);
        m_state->release = true;
        m_state->released.notify_all();
    }

    int calls() const
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->calls;
    }

private:
    struct State
    {
        QStringList hung;
        std::mutex mutex;
        std::condition_variable released;
        bool release = false;
        int calls = 0;
    };
    std::shared_ptr<State> m_state;
};

} // namespace

class TestMountedDrives : public QObject
{
    Q_OBJECT

private slots:
    void recognisesUserVolumes_data();
    void recognisesUserVolumes();
    void rootIsAlwaysFirst_data();
    void rootIsAlwaysFirst();
    void laterMountHidesEarlier();
    void driveOfPath_data();
    void driveOfPath();
    void modelTakesBackItsOwnText();
    void refreshKeepsAVanishedChoice();
    void mountTableIsReadWithoutTheVolumes();
    void hungVolumeIsNotReady();
};

void TestMountedDrives::recognisesUserVolumes_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("fsType");
    QTest::addColumn<bool>("expected");

    QTest::newRow("root ext4") << "/" << "ext4" << true;
    QTest::newRow("root overlay (container)") << "/" << "overlay" << true;
    QTest::newRow("home partition") << "/home" << "ext4" << true;
    QTest::newRow("usb stick") << "/media/ann/USB STICK" << "vfat" << true;
    QTest::newRow("udisks removable under /run/media") << "/run/media/ann/CARD" << "exfat" << true;
    QTest::newRow("network share") << "/mnt/share" << "cifs" << true;
    QTest::newRow("bind mount of a data folder") << "/work" << "ext4" << true;
    QTest::newRow("proc") << "/proc" << "proc" << false;
    QTest::newRow("sysfs") << "/sys" << "sysfs" << false;
    QTest::newRow("cgroup") << "/sys/fs/cgroup" << "cgroup2" << false;
    QTest::newRow("devpts") << "/dev/pts" << "devpts" << false;
    QTest::newRow("tmpfs of /run") << "/run" << "tmpfs" << false;
    QTest::newRow("tmpfs of /run/user") << "/run/user/1000" << "tmpfs" << false;
    QTest::newRow("shm") << "/dev/shm" << "tmpfs" << false;
    QTest::newRow("overlay sub-mount") << "/var/lib/docker/overlay2/x/merged" << "overlay" << false;
    QTest::newRow("overlay elsewhere") << "/data" << "overlay" << false;
    QTest::newRow("snap package") << "/snap/core/123" << "squashfs" << false;
    QTest::newRow("ext4 under /run") << "/run/something" << "ext4" << false;
    QTest::newRow("fs type in capitals") << "/mnt/x" << "TMPFS" << false;
    QTest::newRow("relative mount point") << "media/x" << "vfat" << false;
    QTest::newRow("empty mount point") << "" << "ext4" << false;
}

void TestMountedDrives::recognisesUserVolumes()
{
    QFETCH(QString, mountPoint);
    QFETCH(QString, fsType);
    QFETCH(bool, expected);
    QCOMPARE(IsUserVolume({mountPoint, fsType, true}), expected);
}

void TestMountedDrives::rootIsAlwaysFirst_data()
{
    QTest::addColumn<QList<MountedVolume>>("volumes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing reported") << QList<MountedVolume>{} << QStringList{"/"};
    QTest::newRow("root left out by the source")
        << QList<MountedVolume>{{"/media/b", "vfat", true}, {"/proc", "proc", true}}
        << QStringList{"/", "/media/b"};
    QTest::newRow("root reported last, others sorted without case")
        << QList<MountedVolume>{{"/mnt/Zeta", "ext4", true}, {"/media/alpha", "vfat", true},
                                {"/Media/Beta", "vfat", true}, {"/", "overlay", true}}
        << QStringList{"/", "/media/alpha", "/Media/Beta", "/mnt/Zeta"};
    QTest::newRow("trailing separator dropped")
        << QList<MountedVolume>{{"/media/c/", "vfat", true}} << QStringList{"/", "/media/c"};
}

void TestMountedDrives::rootIsAlwaysFirst()
{
    QFETCH(QList<MountedVolume>, volumes);
    QFETCH(QStringList, expected);
    QCOMPARE(mountPoints(UserDrives(volumes)), expected);
}

void TestMountedDrives::laterMountHidesEarlier()
{
    const QList<MountedVolume> drives = UserDrives({{"/mnt/x", "ext4", true}, {"/mnt/x", "vfat", false}});
    QCOMPARE(mountPoints(drives), (QStringList{"/", "/mnt/x"}));
    QCOMPARE(drives.at(1).fsType, QStringLiteral("vfat"));
    QVERIFY(!drives.at(1).ready);
}

void TestMountedDrives::driveOfPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("root itself") << "/" << "/";
    QTest::newRow("plain folder") << "/home/ann" << "/";
    QTest::newRow("mount point itself") << "/media/usb" << "/media/usb";
    QTest::newRow("inside a mount") << "/media/usb/photos/2020" << "/media/usb";
    QTest::newRow("nested mount wins") << "/media/usb/inner/x" << "/media/usb/inner";
    QTest::newRow("same prefix, other folder") << "/media/usb2/x" << "/";
    QTest::newRow("unclean path") << "/media/usb/../usb/./x" << "/media/usb";
}

void TestMountedDrives::driveOfPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    const QList<MountedVolume> drives{
        {"/", "ext4", true}, {"/media/usb", "vfat", true}, {"/media/usb/inner", "ext4", true}};
    QCOMPARE(DriveOfPath(drives, path), expected);
}

void TestMountedDrives::modelTakesBackItsOwnText()
{
    DriveListModel model;
    model.setVolumeSource([] {
        return QList<MountedVolume>{{"/", "ext4", true}, {"/media/card", "vfat", false}, {"/proc", "proc", true}};
    });
    QCOMPARE(model.rowCount(), 2);
    QSignalSpy changes(&model, &DriveListModel::driveChanged);

    QVERIFY(model.setDrive(QStringLiteral("/media/card")));
    QCOMPARE(model.drive(), QStringLiteral("/media/card"));
    QVERIFY(!model.isReady(model.drive()));
    QCOMPARE(changes.size(), 1);

    // The stored text comes back through setDrive; so does the same choice,
    // without a second change.
    QVERIFY(model.setDrive(model.drive()));
    QCOMPARE(changes.size(), 1);

    QVERIFY(!model.setDrive(QStringLiteral("/proc")));
    QVERIFY(!model.setDrive(QStringLiteral("C:")));
    QVERIFY(!model.setDrive(QString()));
    QCOMPARE(model.drive(), QStringLiteral("/media/card"));
    QCOMPARE(changes.size(), 1);
}

void TestMountedDrives::refreshKeepsAVanishedChoice()
{
    QList<MountedVolume> volumes{{"/", "ext4", true}, {"/media/stick", "vfat", true}};
    DriveListModel model;
    model.setVolumeSource([&volumes] { return volumes; });
    QVERIFY(model.setDrive(QStringLiteral("/media/stick")));
    QSignalSpy changes(&model, &DriveListModel::driveChanged);

    volumes.removeLast(); // the stick is pulled
    model.refreshDrives();
    QCOMPARE(model.drive(), QStringLiteral("/media/stick"));
    QVERIFY(!model.isReady(QStringLiteral("/media/stick")));
    QCOMPARE(changes.size(), 0);

    volumes.append({"/media/stick", "vfat", true}); // and plugged in again
    model.refreshDrives();
    QCOMPARE(model.rowCount(), 2);
    QVERIFY(model.isReady(QStringLiteral("/media/stick")));
}

void TestMountedDrives::mountTableIsReadWithoutTheVolumes()
{
    // Mount points that do not exist here: the table alone is read.
    QTemporaryFile table;
    QVERIFY(table.open());
    table.write("/dev/sda1 / ext4 rw,relatime 0 0\n"
                "proc /proc proc rw 0 0\n"
                "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
                "host:/x /mnt/nowhere-\\134x nfs rw 0 0\n");
    table.close();
    const QList<MountedVolume> volumes = MountTable(table.fileName());
    QCOMPARE(mountPoints(volumes),
             (QStringList{"/", "/proc", "/media/ann/USB STICK", QStringLiteral("/mnt/nowhere-\\x")}));
    QCOMPARE(volumes.at(2).fsType, QStringLiteral("vfat"));
    QVERIFY(MountTable(QStringLiteral("/nonexistent/mounts")).isEmpty());
}

void TestMountedDrives::hungVolumeIsNotReady()
{
    // The stick is mounted over an earlier mount on the same point.
    const QList<MountedVolume> table{{"/", "ext4", true},
                                     {"/proc", "proc", true},
                                     {"/media/stick", "ext4", true},
                                     {"/mnt/share", "nfs", true},
                                     {"/media/stick", "vfat", true},
                                     {"/etc/hosts", "ext4", true}};
    HangingReader reader({QStringLiteral("/mnt/share")});
    // Released whatever happens below, so no thread outlives the test.
    const auto release = qScopeGuard([&reader] { reader.release(); });
    VolumeProbe probe(reader.reader(), std::chrono::milliseconds(1000));

    DriveListModel model;
    model.setVolumeSource([&] { return ProbedVolumes(table, probe); });
    QCOMPARE(mountPoints(model.drives()), (QStringList{"/", "/media/stick", "/mnt/share"}));
    QVERIFY(model.isReady(QStringLiteral("/")));
    QVERIFY(model.isReady(QStringLiteral("/media/stick")));
    QCOMPARE(model.drives().at(1).fsType, QStringLiteral("vfat"));
    QVERIFY(!model.isReady(QStringLiteral("/mnt/share")));
    QCOMPARE(probe.outstanding(), 1);
    // Each mount point read once, though mounted over.
    const int calls = reader.calls();
    QCOMPARE(calls, 4);

    // Asked again while the share still hangs: it is not read a second time.
    model.refreshDrives();
    QVERIFY(!model.isReady(QStringLiteral("/mnt/share")));
    QCOMPARE(reader.calls(), calls + 3);
    QCOMPARE(probe.outstanding(), 1);

    // The server answers at last: the abandoned read returns, and the next
    // look shows the share ready.
    reader.release();
    QTRY_COMPARE(probe.outstanding(), 0);
    model.refreshDrives();
    QVERIFY(model.isReady(QStringLiteral("/mnt/share")));
}

QTEST_GUILESS_MAIN(TestMountedDrives)
#include "tst_mounteddrives.moc"
