#pragma once

#include <QAbstractListModel>
#include <QStringList>

// Content of a folder list in its classic form: the chosen folder's
// ancestors from the file system root down, the chosen folder itself, then
// its subfolders one level deeper. Hidden folders are left out; subfolders
// are sorted like file names (without regard to case).
class FolderListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        PathRole = Qt::UserRole + 1, // full path of the entry
        LevelRole,                   // indentation: 0 for the root
        KindRole,                    // EntryKind
    };
    enum EntryKind { Ancestor, Current, Subfolder };
    Q_ENUM(EntryKind)

    // Stands on the process's current folder.
    explicit FolderListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The chosen folder, absolute and clean ("/" for the root, no trailing
    // separator otherwise).
    QString path() const { return m_path; }
    int currentRow() const { return m_currentRow; }
    QString entryPath(int row) const;

    // Moves to `path` (relative paths count from the chosen folder) and
    // emits pathChanged() when the folder changed. A folder that cannot be
    // read leaves everything as it was; the result is false and *whyNot
    // says why in a short sentence.
    bool setPath(const QString &path, QString *whyNot = nullptr);
    // The user opens an entry (double-click or Enter). On failure emits
    // openFailed() and re-reads the chosen folder, so an entry that has gone
    // disappears from the list.
    bool open(int row);
    // Re-reads the chosen folder's subfolders.
    bool refresh(QString *whyNot = nullptr);

    // Whether setPath() could move to `path`, with the same reason when not;
    // changes nothing.
    static bool canRead(const QString &path, QString *whyNot = nullptr);

signals:
    // A change of the chosen folder, by the user or by code.
    void pathChanged();
    void openFailed(const QString &path, const QString &reason);

private:
    struct Entry
    {
        QString path;
        QString label;
        int level = 0;
        EntryKind kind = Subfolder;
    };

    bool readFolder(const QString &path, QList<Entry> *entries, int *currentRow, QString *whyNot) const;

    QString m_path;
    QList<Entry> m_entries;
    int m_currentRow = -1;
};
