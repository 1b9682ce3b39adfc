#include "selection/FolderListModel.h"

#include "core/FolderReader.h"
#include "selection/FileListing.h"
#include "selection/UnreadableFolder.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace {

// Names of the visible subfolders of `path`; false when it cannot be read.
bool readSubfolders(const QString &path, QStringList *names, QString *whyNot)
{
    const FolderHandle folder(path);
    FolderReader reader(folder);
    if (!reader.isOpen()) {
        const int error = reader.error();
        if (whyNot) {
            if (error == EACCES || error == EPERM)
                *whyNot = FolderListModel::tr("access is denied");
            else if (error == ENOENT || error == ENOTDIR)
                *whyNot = WhyFolderUnreadable(path);
            else
                *whyNot = qt_error_string(error);
        }
        return false;
    }
    while (reader.next()) {
        // ".." never comes; hidden folders are left out like hidden files.
        if (reader.isHidden() || reader.kind() != FolderHandle::Kind::Folder)
            continue;
        names->append(reader.name().toString());
    }
    return true;
}

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

FolderListModel::FolderListModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_path = QDir::cleanPath(QDir::currentPath());
    readFolder(m_path, &m_entries, &m_currentRow, nullptr);
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return entry.label;
    case Qt::ToolTipRole:
    case PathRole:
        return entry.path;
    case LevelRole:
        return entry.level;
    case KindRole:
        return int(entry.kind);
    default:
        return {};
    }
}

QString FolderListModel::entryPath(int row) const
{
    return row >= 0 && row < m_entries.size() ? m_entries.at(row).path : QString();
}

bool FolderListModel::setPath(const QString &path, QString *whyNot)
{
    if (path.isEmpty()) {
        if (whyNot)
            *whyNot = tr("no folder was given");
        return false;
    }
    const QString target = QDir::cleanPath(QDir(m_path).absoluteFilePath(path));
    QList<Entry> entries;
    int currentRow = -1;
    if (!readFolder(target, &entries, &currentRow, whyNot))
        return false;
    beginResetModel();
    m_entries = std::move(entries);
    m_currentRow = currentRow;
    const bool moved = target != m_path;
    m_path = target;
    endResetModel();
    if (moved)
        emit pathChanged();
    return true;
}

bool FolderListModel::open(int row)
{
    const QString target = entryPath(row);
    if (target.isEmpty())
        return false;
    QString whyNot;
    if (setPath(target, &whyNot))
        return true;
    refresh();
    emit openFailed(target, whyNot);
    return false;
}

bool FolderListModel::refresh(QString *whyNot)
{
    return setPath(m_path, whyNot);
}

bool FolderListModel::canRead(const QString &path, QString *whyNot)
{
    QStringList subfolders;
    return readSubfolders(QDir::cleanPath(path), &subfolders, whyNot);
}

bool FolderListModel::readFolder(const QString &path, QList<Entry> *entries, int *currentRow, QString *whyNot) const
{
    QStringList subfolders;
    if (!readSubfolders(path, &subfolders, whyNot))
        return false;
    SortFileNames(subfolders);

    // The chain from the root down to the folder itself.
    QStringList chain;
    for (QString step = path;;) {
        chain.prepend(step);
        if (QDir(step).isRoot())
            break;
        const QString parent = QFileInfo(step).path();
        if (parent == step)
            break;
        step = parent;
    }

    entries->clear();
    entries->reserve(chain.size() + subfolders.size());
    for (int level = 0; level < chain.size(); ++level) {
        const QString &step = chain.at(level);
        const bool isRoot = level == 0;
        entries->append({step, isRoot ? step : QFileInfo(step).fileName(), level,
                         level == chain.size() - 1 ? Current : Ancestor});
    }
    const int subLevel = int(chain.size());
    for (const QString &name : std::as_const(subfolders))
        entries->append({joinPath(path, name), name, subLevel, Subfolder});
    *currentRow = int(chain.size()) - 1;
    return true;
}
