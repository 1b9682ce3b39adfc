#include "selection/FileListBox.h"

#include "core/ControlKinds.h"

#include "selection/FileListModel.h"

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new FileListModel(this))
{
    ControlKinds::setKind(this, ControlKinds::FileListBox);
    setModel(m_model);
    // The view shares the model's selection, so what the user selects is
    // what the model reports to a rename run.
    QItemSelectionModel *own = selectionModel();
    setSelectionModel(m_model->selectionModel());
    delete own;

    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);

    connect(m_model, &FileListModel::pathChanged, this, &FileListBox::pathChanged);
    connect(m_model, &FileListModel::patternChanged, this, &FileListBox::patternChanged);
}

QString FileListBox::path() const
{
    return m_model->path();
}

bool FileListBox::setPath(const QString &path, QString *whyNot)
{
    return m_model->setPath(path, whyNot);
}

QString FileListBox::pattern() const
{
    return m_model->pattern();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_model->setPattern(pattern);
}

bool FileListBox::refresh()
{
    return m_model->refresh();
}

int FileListBox::count() const
{
    return m_model->count();
}

QList<RenameEntry> FileListBox::renameEntries() const
{
    return m_model->renameEntries();
}

void FileListBox::selectAll()
{
    m_model->selectAll();
}
