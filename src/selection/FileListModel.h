#pragma once

#include "rename/RenameRun.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QStringList>

// Content and selection of a file list: the names of the files in a folder
// that match a pattern (see FileListing.h), and which of them are selected.
// Holds plain names, not an object per file, so a folder of 100,000 files
// lists and selects at once.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // Stands on the process's current folder with the pattern "*.*".
    explicit FileListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString path() const { return m_path; }
    QString pattern() const { return m_pattern; }

    // Lists `path`; emits pathChanged() when the folder changed. A folder
    // that cannot be read leaves the list as it was and answers false, with
    // the reason in *whyNot. Every re-fill clears the selection.
    bool setPath(const QString &path, QString *whyNot = nullptr);
    // Lists the folder under `pattern` when it differs from the current one
    // and emits patternChanged(). False when the folder can no longer be
    // read; the list is then empty.
    bool setPattern(const QString &pattern, QString *whyNot = nullptr);
    // Re-reads the folder. When it can no longer be read the list is left
    // empty and the answer is false.
    bool refresh(QString *whyNot = nullptr);

    int count() const { return int(m_names.size()); }
    QString fileName(int row) const { return m_names.value(row); }
    const QStringList &fileNames() const { return m_names; }

    // The selection, shared with the view that shows the list.
    QItemSelectionModel *selectionModel() const { return m_selection; }
    // Selects every entry as one range; entries already selected stay so.
    void selectAll();
    bool isSelected(int row) const;
    int selectedCount() const;
    // Every entry in list order with whether it is selected, read at once.
    QList<RenameEntry> renameEntries() const;

signals:
    void pathChanged();
    void patternChanged();

private:
    bool fill(QString *whyNot);

    QString m_path;
    QString m_pattern;
    QStringList m_names;
    QItemSelectionModel *m_selection = nullptr;
};
