#pragma once

#include "selection/FileSelectionPanel.h"

class QCheckBox;
class QComboBox;
class QWidget;
class DriveListBox;
class DirListBox;
class FileListBox;

// The panel for a window's controls: Check1's state and Combo2's text are
// read from the given boxes, options stored through `writer`. Owned by
// `window`, which also decides how the panel's messages reach the user
// (FileSelectionPanel::setMessagePresenter). The events are not connected
// here: the window connects them (see FileSelectionPanel.h).
FileSelectionPanel *CreateFileSelectionPanel(DriveListBox *drive1, DirListBox *dir1, FileListBox *file1,
                                             QCheckBox *check1, QComboBox *combo2,
                                             FileSelectionPanel::OptionWriter writer, QWidget *window);
