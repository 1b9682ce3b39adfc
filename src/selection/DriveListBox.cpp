#include "selection/DriveListBox.h"

#include "core/ControlKinds.h"

#include "selection/DriveListModel.h"

DriveListBox::DriveListBox(QWidget *parent)
    : QComboBox(parent)
    , m_model(new DriveListModel(this))
{
    ControlKinds::setKind(this, ControlKinds::DriveListBox);
    setEditable(false);
    setModel(m_model);
    showModelChoice();

    // A pick by the user (mouse, keys, wheel) goes to the model; the model
    // reports every change, whoever made it, and the box follows.
    connect(this, &QComboBox::activated, this, [this](int row) {
        if (!m_model->setCurrentRow(row))
            showModelChoice();
    });
    connect(m_model, &DriveListModel::driveChanged, this, [this] {
        showModelChoice();
        emit driveChanged();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &DriveListBox::showModelChoice);
}

QString DriveListBox::drive() const
{
    return m_model->drive();
}

bool DriveListBox::setDrive(const QString &drive)
{
    return m_model->setDrive(drive);
}

void DriveListBox::setVolumeSource(VolumeSource source)
{
    m_model->setVolumeSource(std::move(source));
}

void DriveListBox::showPopup()
{
    m_model->refreshDrives();
    QComboBox::showPopup();
}

void DriveListBox::showModelChoice()
{
    if (m_syncing)
        return;
    m_syncing = true;
    setCurrentIndex(m_model->currentRow());
    m_syncing = false;
}
