#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class DriveListModel;
class FolderListModel;
class FileListModel;

// The handlers of the file-selection half of the main window: they keep the
// drive, folder and file lists in step, build the file list's pattern from
// the extension filter, select all files on request and store "Drive",
// "Dir", "Check1" and "Combo2" as they change.
//
// The window owns the controls and calls the handlers from the controls'
// change events (connect them directly, so a handler runs before the setter
// that raised it returns):
//   Drive1  DriveListBox::driveChanged()   -> driveChanged()
//   Dir1    DirListBox::pathChanged()      -> folderChanged()
//   Check1  click or value set by code     -> filterTicked()
//   Combo2  text changed (typed or set)    -> filterTextChanged()
//   Combo2  list item picked               -> filterPicked()
//   Command4 clicked                       -> selectAllPressed()
//
// There is no hidden second file list: the rename run reads the entries and
// their selection from File1 itself (FileListModel::renameEntries()), so the
// run always renames exactly what File1 shows selected.
//
// A drive or folder that cannot be read never ends the program: the lists
// stay on the last readable drive and folder, a short message says why and
// the choice is not stored.
class FileSelectionPanel : public QObject
{
    Q_OBJECT

public:
    using OptionWriter = std::function<bool(const QString &key, const QString &value)>;
    using MessagePresenter = std::function<void(const QString &message)>;

    // check1Value gives Check1's state (0, 1 or 2); combo2Text Combo2's text;
    // writer stores an option.
    FileSelectionPanel(DriveListModel &drive1, FolderListModel &dir1, FileListModel &file1,
                       std::function<int()> check1Value, std::function<QString()> combo2Text, OptionWriter writer,
                       QObject *parent = nullptr);

    // Puts another option writer in place of the one given at construction.
    void setOptionWriter(OptionWriter writer);
    // How a message reaches the user; by default it only goes to the log.
    void setMessagePresenter(MessagePresenter presenter);

    // The folder Dir1 moves to when `drive` is chosen: the last folder
    // visited on it in this run, else the process's current folder when it
    // lies on that drive, else the drive's mount point.
    QString currentFolderOfDrive(const QString &drive) const;

    // Shows `folder` as if the user had chosen its drive in Drive1 and then
    // the folder in Dir1, so "Drive" and "Dir" are stored as that choice
    // stores them. A folder that cannot be read gets the message a folder
    // opened by hand gets, and the lists and the store are left as they were.
    bool openFolder(const QString &folder);
    // Selects the listed files with exactly these names, keeping the rest of
    // the selection; answers the row of the first one found, or -1.
    int selectFiles(const QStringList &names);

public slots:
    // Follows the drive list to the chosen drive's folder.
    void driveChanged();
    // Lists the chosen folder's files and remembers the folder.
    void folderChanged();
    // Applies or removes the extension filter as the filter box is ticked.
    void filterTicked();
    // Re-applies the filter to a new extension while the filter is on.
    void filterTextChanged();
    // As filterTextChanged(), and stores the extension picked from the list.
    void filterPicked();
    void selectAllPressed();

private:
    void applyFilter();
    void relistFiles(const QString &pattern);
    void chooseDriveQuietly(const QString &drive);
    void present(const QString &message) const;
    void write(const QString &key, const QString &value) const;

    DriveListModel &m_drive1;
    FolderListModel &m_dir1;
    FileListModel &m_file1;
    std::function<int()> m_check1Value;
    std::function<QString()> m_combo2Text;
    OptionWriter m_writer;
    MessagePresenter m_presenter;

    QString m_lastGoodFolder;            // where Dir1 and File1 last stood together
    QHash<QString, QString> m_lastVisited; // drive -> last folder visited on it
    bool m_quiet = false;                // set while the panel corrects a list itself
};
