#pragma once

#include "rename/RenameRun.h"

#include <QListView>

class FileListModel;

// The file list (controlKind "FileListBox"): the files of a folder that
// match a pattern, with extended multiple selection (click, shift-click,
// ctrl-click, the keyboard, Ctrl+A). Content and selection live in
// fileModel(); the view lays out in batches with uniform item sizes, so a
// folder of 100,000 files shows and scrolls without a wait.
class FileListBox : public QListView
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    FileListModel *fileModel() const { return m_model; }

    QString path() const;
    bool setPath(const QString &path, QString *whyNot = nullptr);
    QString pattern() const;
    void setPattern(const QString &pattern);
    // Reads the folder again. The list keeps showing the same place: the
    // row at its top stays at its top (or as near as the new list allows).
    bool refresh();

    // The row shown at the top of the list, -1 when it is empty.
    int topRow() const;

    int count() const;
    // Entries in list order with their selection, read once for a run.
    QList<RenameEntry> renameEntries() const;

public slots:
    // One range over every entry, not one call per entry.
    void selectAll() override;

signals:
    void pathChanged();    // the classic PathChange
    void patternChanged(); // the classic PatternChange

protected:
    void updateGeometries() override;

private:
    void scrollToPendingTop();

    FileListModel *m_model = nullptr;
    // Where the list is to stand once laid out far enough; -1 for nowhere.
    int m_pendingTopRow = -1;
};
