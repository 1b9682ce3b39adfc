#include "selection/FileSelectionPanel.h"

#include "core/SettingKeys.h"
#include "selection/DriveListModel.h"
#include "selection/FileListModel.h"
#include "selection/FileListing.h"
#include "selection/FolderListModel.h"

#include <QDebug>
#include <QDir>
#include <QItemSelection>
#include <QSet>

namespace {

QString cannotOpenMessage(const QString &folder, const QString &why)
{
    return FileSelectionPanel::tr("The folder %1 cannot be opened: %2.").arg(QDir::toNativeSeparators(folder), why);
}

} // namespace

FileSelectionPanel::FileSelectionPanel(DriveListModel &drive1, FolderListModel &dir1, FileListModel &file1,
                                       std::function<int()> check1Value, std::function<QString()> combo2Text,
                                       OptionWriter writer, QObject *parent)
    : QObject(parent)
    , m_drive1(drive1)
    , m_dir1(dir1)
    , m_file1(file1)
    , m_check1Value(std::move(check1Value))
    , m_combo2Text(std::move(combo2Text))
    , m_writer(std::move(writer))
    , m_lastGoodFolder(file1.path())
{
    connect(&m_dir1, &FolderListModel::openFailed, this,
            [this](const QString &folder, const QString &why) { present(cannotOpenMessage(folder, why)); });
}

void FileSelectionPanel::setOptionWriter(OptionWriter writer)
{
    m_writer = std::move(writer);
}

void FileSelectionPanel::setMessagePresenter(MessagePresenter presenter)
{
    m_presenter = std::move(presenter);
}

QString FileSelectionPanel::currentFolderOfDrive(const QString &drive) const
{
    const QString visited = m_lastVisited.value(drive);
    if (!visited.isEmpty())
        return visited;
    const QString processFolder = QDir::cleanPath(QDir::currentPath());
    if (m_drive1.driveOfPath(processFolder) == drive)
        return processFolder;
    return drive;
}

bool FileSelectionPanel::openFolder(const QString &folder)
{
    const QString target = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    // Checked before the drive moves: choosing the drive alone would already
    // move the lists and store a place the user never asked for.
    QString whyNot;
    if (!FolderListModel::canRead(target, &whyNot)) {
        present(cannotOpenMessage(target, whyNot));
        return false;
    }
    const QString drive = m_drive1.driveOfPath(target);
    if (drive != m_drive1.drive()) {
        m_drive1.setDrive(drive);
        if (m_drive1.drive() != drive)
            return false; // refused and reported by driveChanged
    }
    if (m_dir1.path() != target && !m_dir1.setPath(target, &whyNot)) {
        present(cannotOpenMessage(target, whyNot));
        return false;
    }
    // folderChanged puts Dir1 back when the file list cannot follow.
    return m_dir1.path() == target && m_file1.path() == target;
}

int FileSelectionPanel::selectFiles(const QStringList &names)
{
    // One pass over the list, however many names a file manager passes.
    const QSet<QString> wanted(names.cbegin(), names.cend());
    const QStringList &listed = m_file1.fileNames();
    QItemSelection selection;
    int first = -1;
    for (int row = 0; row < listed.size() && !wanted.isEmpty(); ++row) {
        if (!wanted.contains(listed.at(row)))
            continue;
        const QModelIndex index = m_file1.index(row);
        selection.select(index, index);
        if (first < 0)
            first = row;
    }
    if (first >= 0)
        m_file1.selectionModel()->select(selection, QItemSelectionModel::Select);
    return first;
}

void FileSelectionPanel::driveChanged()
{
    if (m_quiet)
        return;
    const QString drive = m_drive1.drive();
    // Where the lists stand now; the drive goes back there on failure.
    const QString previousDrive = m_drive1.driveOfPath(m_dir1.path());

    if (!m_drive1.isReady(drive)) {
        present(tr("The drive %1 is not ready.").arg(QDir::toNativeSeparators(drive)));
        chooseDriveQuietly(previousDrive);
        return;
    }

    // The drive's current folder; one deleted since the last visit gives way
    // to the process's folder and then to the mount point.
    QStringList candidates{currentFolderOfDrive(drive)};
    const QString processFolder = QDir::cleanPath(QDir::currentPath());
    if (m_drive1.driveOfPath(processFolder) == drive)
        candidates.append(processFolder);
    candidates.append(drive);
    candidates.removeDuplicates();

    QString whyNot;
    bool moved = false;
    for (const QString &folder : std::as_const(candidates)) {
        if (m_dir1.setPath(folder, &whyNot)) {
            moved = true;
            break;
        }
    }
    if (!moved) {
        present(cannotOpenMessage(candidates.constLast(), whyNot));
        chooseDriveQuietly(previousDrive);
        return;
    }
    // folderChanged() ran inside setPath; when the file list could not follow it
    // put Dir1 back on the previous drive, and the choice is not kept.
    if (m_drive1.driveOfPath(m_dir1.path()) != drive) {
        chooseDriveQuietly(m_drive1.driveOfPath(m_dir1.path()));
        return;
    }
    write(SettingKeys::Drive, drive);
}

void FileSelectionPanel::folderChanged()
{
    if (m_quiet)
        return;
    const QString folder = m_dir1.path();
    QString whyNot;
    if (!m_file1.setPath(folder, &whyNot)) {
        present(cannotOpenMessage(folder, whyNot));
        m_quiet = true;
        m_dir1.setPath(m_lastGoodFolder);
        m_quiet = false;
        return;
    }
    m_lastGoodFolder = folder;
    const QString drive = m_drive1.driveOfPath(folder);
    m_lastVisited.insert(drive, folder);
    // Opening a folder that is another drive's mount point (or leaving one
    // upwards) moves the drive list with it, as the folder list cannot leave
    // its drive on systems with drive letters.
    if (drive != m_drive1.drive())
        chooseDriveQuietly(drive);
    write(SettingKeys::Dir, folder);
}

void FileSelectionPanel::filterTicked()
{
    const int value = m_check1Value();
    if (value == 0)
        relistFiles(ListPatternForFilter(false, QString()));
    else if (value == 1)
        relistFiles(ListPatternForFilter(true, m_combo2Text()));
    write(SettingKeys::Check1, QString::number(value));
}

void FileSelectionPanel::filterTextChanged()
{
    applyFilter();
}

void FileSelectionPanel::filterPicked()
{
    applyFilter();
    write(SettingKeys::Combo2, m_combo2Text());
}

void FileSelectionPanel::selectAllPressed()
{
    m_file1.selectAll();
}

void FileSelectionPanel::applyFilter()
{
    if (m_check1Value() == 1)
        relistFiles(ListPatternForFilter(true, m_combo2Text()));
}

void FileSelectionPanel::relistFiles(const QString &pattern)
{
    // One read of the folder: a new pattern lists it, the same one re-reads.
    QString whyNot;
    const bool ok = m_file1.pattern() != pattern ? m_file1.setPattern(pattern, &whyNot) : m_file1.refresh(&whyNot);
    if (!ok)
        present(cannotOpenMessage(m_file1.path(), whyNot));
}

void FileSelectionPanel::chooseDriveQuietly(const QString &drive)
{
    m_quiet = true;
    m_drive1.setDrive(drive);
    m_quiet = false;
}

void FileSelectionPanel::present(const QString &message) const
{
    if (m_presenter)
        m_presenter(message);
    else
        qWarning().noquote() << message;
}

void FileSelectionPanel::write(const QString &key, const QString &value) const
{
    if (m_writer)
        m_writer(key, value);
}
