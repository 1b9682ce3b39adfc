#include "selection/FileSelectionWidgets.h"

#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/FileListBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPointer>

FileSelectionPanel::MessagePresenter ModalMessagePresenter(QWidget *window, const QString &caption)
{
    return [window = QPointer<QWidget>(window), caption](const QString &message) {
        QMessageBox box(QMessageBox::NoIcon, caption, message, QMessageBox::Ok, window);
        box.exec();
    };
}

FileSelectionPanel *CreateFileSelectionPanel(DriveListBox *drive1, DirListBox *dir1, FileListBox *file1,
                                             QCheckBox *check1, QComboBox *combo2, QWidget *window,
                                             const QString &caption)
{
    // A check box's value: 0 not ticked, 1 ticked, 2 greyed.
    auto check1Value = [check1 = QPointer<QCheckBox>(check1)] {
        if (!check1)
            return 0;
        switch (check1->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
        }
    };
    auto combo2Text = [combo2 = QPointer<QComboBox>(combo2)] { return combo2 ? combo2->currentText() : QString(); };
    auto *panel = new FileSelectionPanel(*drive1->driveModel(), *dir1->folderModel(), *file1->fileModel(),
                                         check1Value, combo2Text, window);
    panel->setMessagePresenter(ModalMessagePresenter(window, caption));
    return panel;
}
