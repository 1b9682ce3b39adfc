#include "selection/MountedDrives.h"

#include "selection/VolumeProbe.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>

#include <mntent.h>
#include <stdio.h>

namespace {

constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;

// Kernel, container and packaging file systems: none of them is a place
// where a user keeps files.
const QSet<QString> &pseudoFileSystems()
{
    static const QSet<QString> types{
        QStringLiteral("autofs"),     QStringLiteral("binfmt_misc"), QStringLiteral("bpf"),
        QStringLiteral("cgroup"),     QStringLiteral("cgroup2"),     QStringLiteral("configfs"),
        QStringLiteral("debugfs"),    QStringLiteral("devfs"),       QStringLiteral("devpts"),
        QStringLiteral("devtmpfs"),   QStringLiteral("efivarfs"),    QStringLiteral("fdescfs"),
        QStringLiteral("fusectl"),    QStringLiteral("hugetlbfs"),   QStringLiteral("kernfs"),
        QStringLiteral("mqueue"),     QStringLiteral("nsfs"),        QStringLiteral("nfsd"),
        QStringLiteral("overlay"),    QStringLiteral("overlayfs"),   QStringLiteral("aufs"),
        QStringLiteral("proc"),       QStringLiteral("procfs"),      QStringLiteral("pstore"),
        QStringLiteral("ramfs"),      QStringLiteral("rootfs"),      QStringLiteral("rpc_pipefs"),
        QStringLiteral("securityfs"), QStringLiteral("selinuxfs"),   QStringLiteral("squashfs"),
        QStringLiteral("sysfs"),      QStringLiteral("tmpfs"),       QStringLiteral("tracefs"),
        QStringLiteral("fuse.gvfsd-fuse"), QStringLiteral("fuse.portal"), QStringLiteral("fuse.lxcfs"),
        QStringLiteral("fuse.snapfuse"), QStringLiteral("nullfs"),   QStringLiteral("none"),
    };
    return types;
}

bool isUnder(const QString &path, const QString &folder)
{
    return path.compare(folder, kPathCase) == 0 || path.startsWith(folder + u'/', kPathCase);
}

// Mount points the system keeps for itself. Removable media mounted under
// /run/media/<user> (and /media, /mnt) are the user's.
bool isSystemPlace(const QString &mountPoint)
{
    static const QStringList systemFolders{
        QStringLiteral("/proc"),     QStringLiteral("/sys"),          QStringLiteral("/dev"),
        QStringLiteral("/var/run"),  QStringLiteral("/var/lock"),     QStringLiteral("/snap"),
        QStringLiteral("/var/snap"), QStringLiteral("/var/lib/snapd"), QStringLiteral("/var/lib/docker"),
        QStringLiteral("/var/lib/containers"),
    };
    for (const QString &folder : systemFolders) {
        if (isUnder(mountPoint, folder))
            return true;
    }
    return isUnder(mountPoint, QStringLiteral("/run")) && !mountPoint.startsWith(QLatin1String("/run/media/"));
}

QString withoutTrailingSeparator(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    // Roots keep theirs: "/" and "C:/".
    if (clean.size() > 1 && clean.endsWith(u'/') && !QDir(clean).isRoot())
        return clean.chopped(1);
    return clean;
}

} // namespace

QString RootDrive()
{
    return QDir::rootPath();
}

QList<MountedVolume> MountTable(const QString &tableFile)
{
    QList<MountedVolume> volumes;
    FILE *table = ::setmntent(QFile::encodeName(tableFile).constData(), "re");
    if (!table)
        return volumes;
    // getmntent_r undoes the table's escapes ("\040" for a blank).
    struct mntent entry;
    char buffer[8192];
    while (::getmntent_r(table, &entry, buffer, sizeof buffer)) {
        volumes.append({QFile::decodeName(entry.mnt_dir), QString::fromLocal8Bit(entry.mnt_type), true});
    }
    ::endmntent(table);
    return volumes;
}

QList<MountedVolume> ProbedVolumes(const QList<MountedVolume> &table, VolumeProbe &probe)
{
    QList<MountedVolume> volumes;
    QStringList mountPoints; // each once, though mounted over
    for (const MountedVolume &volume : table) {
        if (IsUserVolume(volume)) {
            volumes.append(volume);
            if (!mountPoints.contains(volume.mountPoint))
                mountPoints.append(volume.mountPoint);
        }
    }
    const QList<VolumeState> states = probe.read(mountPoints);
    QList<MountedVolume> probed;
    for (const MountedVolume &volume : std::as_const(volumes)) {
        const VolumeState state = states.at(mountPoints.indexOf(volume.mountPoint));
        // Containers bind single files (/etc/hosts); only folders can be drives.
        if (state == VolumeState::NotFolder)
            continue;
        probed.append({volume.mountPoint, volume.fsType, state == VolumeState::Folder});
    }
    return probed;
}

QList<MountedVolume> SystemVolumes()
{
    // Kept for the whole program, so that a volume still stuck from an
    // earlier read is not read again; it is never destroyed, so no thread
    // it left behind is waited for at exit.
    static VolumeProbe *const probe = new VolumeProbe;
    return ProbedVolumes(MountTable(), *probe);
}

bool IsUserVolume(const MountedVolume &volume)
{
    const QString mountPoint = withoutTrailingSeparator(volume.mountPoint);
    if (mountPoint.compare(RootDrive(), kPathCase) == 0)
        return true;
    if (mountPoint.isEmpty() || QDir::isRelativePath(mountPoint))
        return false;
    if (pseudoFileSystems().contains(volume.fsType.toLower()))
        return false;
    return !isSystemPlace(mountPoint);
}

QList<MountedVolume> UserDrives(const QList<MountedVolume> &volumes)
{
    QList<MountedVolume> drives;
    for (const MountedVolume &volume : volumes) {
        if (!IsUserVolume(volume))
            continue;
        MountedVolume drive = volume;
        drive.mountPoint = withoutTrailingSeparator(volume.mountPoint);
        const auto same = std::find_if(drives.begin(), drives.end(), [&](const MountedVolume &d) {
            return d.mountPoint.compare(drive.mountPoint, kPathCase) == 0;
        });
        // A later mount on the same point hides the earlier one.
        if (same != drives.end())
            *same = drive;
        else
            drives.append(drive);
    }
    const QString root = RootDrive();
    const bool hasRoot = std::any_of(drives.begin(), drives.end(), [&](const MountedVolume &d) {
        return d.mountPoint.compare(root, kPathCase) == 0;
    });
    if (!hasRoot)
        drives.append({root, QString(), true});
    std::stable_sort(drives.begin(), drives.end(), [&](const MountedVolume &a, const MountedVolume &b) {
        const bool aRoot = a.mountPoint.compare(root, kPathCase) == 0;
        const bool bRoot = b.mountPoint.compare(root, kPathCase) == 0;
        if (aRoot != bRoot)
            return aRoot;
        return a.mountPoint.compare(b.mountPoint, Qt::CaseInsensitive) < 0;
    });
    return drives;
}

QString DriveOfPath(const QList<MountedVolume> &drives, const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    QString best;
    for (const MountedVolume &drive : drives) {
        const QString mountPoint = withoutTrailingSeparator(drive.mountPoint);
        const bool contains = mountPoint.endsWith(u'/')
            ? clean.startsWith(mountPoint, kPathCase)
            : isUnder(clean, mountPoint);
        if (contains && mountPoint.size() > best.size())
            best = mountPoint;
    }
    return best;
}
