#include "selection/FileListBox.h"

#include "core/ControlKinds.h"

#include "selection/FileListModel.h"

#include <algorithm>

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
    m_pendingTopRow = -1;
    return m_model->setPath(path, whyNot);
}

QString FileListBox::pattern() const
{
    return m_model->pattern();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pendingTopRow = -1;
    m_model->setPattern(pattern);
}

bool FileListBox::refresh()
{
    const int top = topRow();
    const bool ok = m_model->refresh();
    if (top > 0 && count() > 0) {
        // The view lays out a large list in batches after the reset; the row
        // can be scrolled to once its batch is laid out.
        m_pendingTopRow = std::min(top, count() - 1);
        scrollToPendingTop();
    }
    return ok;
}

int FileListBox::topRow() const
{
    return indexAt(QPoint(1, 1)).row();
}

void FileListBox::updateGeometries()
{
    QListView::updateGeometries();
    scrollToPendingTop();
}

void FileListBox::scrollToPendingTop()
{
    if (m_pendingTopRow < 0)
        return;
    if (m_pendingTopRow >= count()) {
        m_pendingTopRow = -1;
        return;
    }
    const QModelIndex target = m_model->index(m_pendingTopRow);
    if (!visualRect(target).isValid())
        return; // not laid out yet
    m_pendingTopRow = -1;
    scrollTo(target, QAbstractItemView::PositionAtTop);
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
