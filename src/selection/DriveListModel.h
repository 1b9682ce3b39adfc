#pragma once

#include "selection/MountedDrives.h"

#include <QAbstractListModel>

// Content and choice of a drive list: the user's drives (see MountedDrives.h)
// and the chosen one. A drive's text is its mount point; that text is what
// drive() reports, what the settings keep and what setDrive() takes back.
class DriveListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        MountPointRole = Qt::UserRole + 1,
        FileSystemTypeRole,
        ReadyRole,
    };

    // Lists the system's drives and stands on the one holding the process's
    // current folder.
    explicit DriveListModel(QObject *parent = nullptr);

    // Replaces where the drives come from (tests fake it) and re-reads them.
    void setVolumeSource(VolumeSource source);
    // Re-reads the drives (media come and go). The chosen drive stays chosen,
    // and stays listed, marked not ready, if it has gone; no change event.
    void refreshDrives();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString drive() const;
    int currentRow() const { return m_current; }
    QList<MountedVolume> drives() const { return m_drives; }

    // Chooses a listed drive; emits driveChanged() when the choice moves.
    // False, and nothing changes, when no listed drive has that text.
    bool setDrive(const QString &drive);
    bool setCurrentRow(int row);

    bool isReady(const QString &drive) const;
    // The listed drive holding `path`; the root when no other does.
    QString driveOfPath(const QString &path) const;

signals:
    // A change of the chosen drive, by the user or by code.
    void driveChanged();

private:
    int rowOf(const QString &drive) const;

    VolumeSource m_source;
    QList<MountedVolume> m_drives;
    int m_current = -1;
};
