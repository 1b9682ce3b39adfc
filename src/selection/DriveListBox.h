#pragma once

#include "selection/MountedDrives.h"

#include <QComboBox>

class DriveListModel;

// The drive list: a drop-down of the user's drives (controlKind
// "DriveListBox"). The choice lives in driveModel(); the box only shows it.
// The list is read again each time it drops down, so media plugged in later
// appear.
class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveListBox(QWidget *parent = nullptr);

    DriveListModel *driveModel() const { return m_model; }

    QString drive() const;
    // False, and nothing changes, when the list has no such drive.
    bool setDrive(const QString &drive);
    void setVolumeSource(VolumeSource source);

    void showPopup() override;

signals:
    // The chosen drive changed, by the user or by code (the classic Change).
    void driveChanged();

private:
    void showModelChoice();

    DriveListModel *m_model = nullptr;
    bool m_syncing = false;
};
