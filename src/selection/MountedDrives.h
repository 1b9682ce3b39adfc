#pragma once

#include <QList>
#include <QString>

#include <functional>

// The "drives" of a platform without drive letters are its mounted file
// systems. Only those a user would recognise as a place for files are
// offered: the root, disks, partitions, removable media and network shares;
// the kernel's pseudo file systems, the tmpfs of /run and the like are not.

// One mounted file system as the system reports it.
struct MountedVolume
{
    QString mountPoint; // "/", "/media/ann/USB STICK"; the text the drive list shows and stores
    QString fsType;     // "ext4", "vfat", "proc", "overlay" ...
    bool ready = true;  // mounted and readable at the moment of the query
};

// Gives the volumes to offer; the system one asks QStorageInfo, tests fake it.
using VolumeSource = std::function<QList<MountedVolume>()>;

class VolumeProbe;

// The system's mount table as it lists it, read without touching any of the
// volumes (a volume whose server does not answer would hold the reader):
// every entry ready.
QList<MountedVolume> MountTable(const QString &tableFile = QStringLiteral("/proc/self/mounts"));

// The user's volumes of `table` (see IsUserVolume), each read through
// `probe`: one that does not answer in time is not ready, and a single file
// mounted over a file is left out.
QList<MountedVolume> ProbedVolumes(const QList<MountedVolume> &table, VolumeProbe &probe);

// The user's volumes of the system, read through one probe the program
// keeps: never waits longer than the probe's time limit.
QList<MountedVolume> SystemVolumes();

// Whether a volume is one a user would recognise as a drive. The root is
// always one, whatever its type (an overlay in a container).
bool IsUserVolume(const MountedVolume &volume);

// The user's drives among `volumes`: the root first (added when the source
// left it out), then the others by mount point; a mount point mounted over
// is listed once, with its latest mount.
QList<MountedVolume> UserDrives(const QList<MountedVolume> &volumes);

// The mount point of `drives` under which `path` lies (the longest one that
// contains it); empty when none does.
QString DriveOfPath(const QList<MountedVolume> &drives, const QString &path);

// The file system root every drive list offers: "/" on Unix.
QString RootDrive();
