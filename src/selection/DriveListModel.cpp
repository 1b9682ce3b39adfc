#include "selection/DriveListModel.h"

#include <QDir>

DriveListModel::DriveListModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_source(SystemVolumes)
{
    m_drives = UserDrives(m_source());
    m_current = rowOf(driveOfPath(QDir::currentPath()));
}

void DriveListModel::setVolumeSource(VolumeSource source)
{
    m_source = std::move(source);
    refreshDrives();
}

void DriveListModel::refreshDrives()
{
    const QString chosen = drive();
    QList<MountedVolume> drives = UserDrives(m_source ? m_source() : QList<MountedVolume>{});
    beginResetModel();
    m_drives = std::move(drives);
    m_current = rowOf(chosen);
    if (m_current < 0 && !chosen.isEmpty()) {
        // The chosen drive went away (medium pulled): keep showing it, so the
        // lists do not jump elsewhere behind the user's back.
        m_drives.append({chosen, QString(), false});
        m_current = int(m_drives.size()) - 1;
    }
    if (m_current < 0)
        m_current = rowOf(driveOfPath(QDir::currentPath()));
    endResetModel();
}

int DriveListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_drives.size());
}

QVariant DriveListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_drives.size())
        return {};
    const MountedVolume &drive = m_drives.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case MountPointRole:
        return drive.mountPoint;
    case Qt::ToolTipRole:
        if (!drive.ready)
            return tr("%1 (not ready)").arg(drive.mountPoint);
        return drive.fsType.isEmpty() ? drive.mountPoint : tr("%1 (%2)").arg(drive.mountPoint, drive.fsType);
    case FileSystemTypeRole:
        return drive.fsType;
    case ReadyRole:
        return drive.ready;
    default:
        return {};
    }
}

QString DriveListModel::drive() const
{
    return m_current >= 0 && m_current < m_drives.size() ? m_drives.at(m_current).mountPoint : QString();
}

bool DriveListModel::setDrive(const QString &drive)
{
    return setCurrentRow(rowOf(drive));
}

bool DriveListModel::setCurrentRow(int row)
{
    if (row < 0 || row >= m_drives.size())
        return false;
    if (row != m_current) {
        m_current = row;
        emit driveChanged();
    }
    return true;
}

bool DriveListModel::isReady(const QString &drive) const
{
    const int row = rowOf(drive);
    return row >= 0 && m_drives.at(row).ready;
}

QString DriveListModel::driveOfPath(const QString &path) const
{
    const QString drive = DriveOfPath(m_drives, path);
    return drive.isEmpty() ? RootDrive() : drive;
}

int DriveListModel::rowOf(const QString &drive) const
{
    if (drive.isEmpty())
        return -1;
    const QString clean = QDir::cleanPath(drive);
    for (int row = 0; row < m_drives.size(); ++row) {
        if (QDir::cleanPath(m_drives.at(row).mountPoint) == clean)
            return row;
    }
    return -1;
}
