#pragma once

#include "selection/FileSelectionPanel.h"

class QCheckBox;
class QComboBox;
class QWidget;
class DriveListBox;
class DirListBox;
class FileListBox;

// A modal message box with an OK button and no icon, over `window`.
FileSelectionPanel::MessagePresenter ModalMessagePresenter(QWidget *window, const QString &caption);

// The panel for a window's controls: Check1's state and Combo2's text are
// read from the given boxes, messages shown modally over `window` with
// `caption`. Owned by `window`. The events are not connected here: the
// window connects them (see FileSelectionPanel.h).
FileSelectionPanel *CreateFileSelectionPanel(DriveListBox *drive1, DirListBox *dir1, FileListBox *file1,
                                             QCheckBox *check1, QComboBox *combo2, QWidget *window,
                                             const QString &caption);
