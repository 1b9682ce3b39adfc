#include "selection/DriveListModel.h"
#include "selection/MountedDrives.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QStringList mountPoints(const QList<MountedVolume> &drives)
{
    QStringList points;
    for (const MountedVolume &drive : drives)
        points.append(drive.mountPoint);
    return points;
}

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

QTEST_GUILESS_MAIN(TestMountedDrives)
#include "tst_mounteddrives.moc"
