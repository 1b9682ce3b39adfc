#pragma once

#include <QListView>

class FolderListModel;

// The folder list (controlKind "DirListBox"): the chosen folder's ancestors,
// the folder itself and its subfolders, indented. Double-click or Enter on
// an entry opens it. The content lives in folderModel().
class DirListBox : public QListView
{
    Q_OBJECT

public:
    explicit DirListBox(QWidget *parent = nullptr);

    FolderListModel *folderModel() const { return m_model; }

    QString path() const;
    // False, and nothing changes, when the folder cannot be read.
    bool setPath(const QString &path, QString *whyNot = nullptr);
    bool refresh();

signals:
    // The chosen folder changed, by the user or by code (the classic Change).
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void showCurrent();

    FolderListModel *m_model = nullptr;
};
