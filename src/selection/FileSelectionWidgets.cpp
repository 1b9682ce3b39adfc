#include "selection/FileSelectionWidgets.h"

#include "core/CheckBoxValue.h"
#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/FileListBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>

FileSelectionPanel *CreateFileSelectionPanel(DriveListBox *drive1, DirListBox *dir1, FileListBox *file1,
                                             QCheckBox *check1, QComboBox *combo2,
                                             FileSelectionPanel::OptionWriter writer, QWidget *window)
{
    auto check1Value = [check1 = QPointer<QCheckBox>(check1)] {
        return check1 ? CheckValue(check1->checkState()) : 0;
    };
    auto combo2Text = [combo2 = QPointer<QComboBox>(combo2)] { return combo2 ? combo2->currentText() : QString(); };
    return new FileSelectionPanel(*drive1->driveModel(), *dir1->folderModel(), *file1->fileModel(), check1Value,
                                  combo2Text, std::move(writer), window);
}
