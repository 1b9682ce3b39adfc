#include "selection/FileListModel.h"

#include "core/FolderHandle.h"
#include "selection/FileListing.h"
#include "selection/UnreadableFolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

FileListModel::FileListModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_path(QDir::cleanPath(QDir::currentPath()))
    , m_pattern(QStringLiteral("*.*"))
    , m_selection(new QItemSelectionModel(this, this))
{
    m_names = ListFolderFiles(FolderHandle(m_path), m_pattern);
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    // A name's stray bytes show as escapes; the model's names stay what
    // the folder holds.
    if (role == Qt::DisplayRole)
        return FolderHandle::displayName(m_names.at(index.row()));
    if (role == Qt::EditRole)
        return m_names.at(index.row());
    return {};
}

bool FileListModel::setPath(const QString &path, QString *whyNot)
{
    const QString target = QDir::cleanPath(QDir(m_path).absoluteFilePath(path));
    bool ok = false;
    QStringList names = ListFolderFiles(FolderHandle(target), m_pattern, &ok);
    if (!ok) {
        if (whyNot)
            *whyNot = WhyFolderUnreadable(target);
        return false;
    }
    const bool moved = target != m_path;
    beginResetModel();
    m_path = target;
    m_names = std::move(names);
    endResetModel();
    if (moved)
        emit pathChanged();
    return true;
}

bool FileListModel::setPattern(const QString &pattern, QString *whyNot)
{
    if (pattern == m_pattern)
        return true;
    m_pattern = pattern;
    const bool ok = fill(whyNot);
    emit patternChanged();
    return ok;
}

bool FileListModel::refresh(QString *whyNot)
{
    return fill(whyNot);
}

bool FileListModel::fill(QString *whyNot)
{
    bool ok = false;
    QStringList names = ListFolderFiles(FolderHandle(m_path), m_pattern, &ok);
    if (!ok && whyNot)
        *whyNot = WhyFolderUnreadable(m_path);
    // An unreadable folder shows nothing rather than names that may be gone.
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
    return ok;
}

void FileListModel::selectAll()
{
    if (m_names.isEmpty())
        return;
    m_selection->select(QItemSelection(index(0), index(count() - 1)), QItemSelectionModel::Select);
}

bool FileListModel::isSelected(int row) const
{
    return m_selection->isSelected(index(row));
}

int FileListModel::selectedCount() const
{
    int selected = 0;
    const QList<RenameEntry> entries = renameEntries();
    for (const RenameEntry &entry : entries)
        selected += entry.selected ? 1 : 0;
    return selected;
}

QList<RenameEntry> FileListModel::renameEntries() const
{
    QList<RenameEntry> entries;
    entries.reserve(m_names.size());
    for (const QString &name : m_names)
        entries.append({name, false});
    // Ranges, not one question per entry: a selection of everything is one range.
    const QItemSelection selection = m_selection->selection();
    for (const QItemSelectionRange &range : selection) {
        const int last = std::min(range.bottom(), int(entries.size()) - 1);
        for (int row = std::max(range.top(), 0); row <= last; ++row)
            entries[row].selected = true;
    }
    return entries;
}
