#include "selection/DirListBox.h"

#include "core/ControlKinds.h"

#include "selection/FolderListModel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// Indents each entry by its depth and gives it an open folder (the chosen
// folder and its ancestors) or a closed one (subfolders).
class FolderItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(indent(option, index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += indent(option, index);
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto kind = index.data(FolderListModel::KindRole).toInt();
        const QStyle *style = option->widget ? option->widget->style() : nullptr;
        if (!style)
            return;
        option->icon = style->standardIcon(kind == FolderListModel::Subfolder ? QStyle::SP_DirClosedIcon
                                                                               : QStyle::SP_DirOpenIcon);
        option->features |= QStyleOptionViewItem::HasDecoration;
        if (kind == FolderListModel::Current)
            option->font.setBold(true);
    }

private:
    static int indent(const QStyleOptionViewItem &option, const QModelIndex &index)
    {
        return index.data(FolderListModel::LevelRole).toInt() * option.fontMetrics.averageCharWidth() * 2;
    }
};

} // namespace

DirListBox::DirListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new FolderListModel(this))
{
    ControlKinds::setKind(this, ControlKinds::DirListBox);
    setModel(m_model);
    setItemDelegate(new FolderItemDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    // Small folder pictures keep the rows as compact as the file list's.
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    setIconSize(QSize(icon, icon));

    connect(m_model, &QAbstractItemModel::modelReset, this, &DirListBox::showCurrent);
    connect(m_model, &FolderListModel::pathChanged, this, &DirListBox::pathChanged);
    showCurrent();
}

QString DirListBox::path() const
{
    return m_model->path();
}

bool DirListBox::setPath(const QString &path, QString *whyNot)
{
    return m_model->setPath(path, whyNot);
}

bool DirListBox::refresh()
{
    return m_model->refresh();
}

void DirListBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        m_model->open(currentIndex().row());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void DirListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        m_model->open(index.row());
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void DirListBox::showCurrent()
{
    const QModelIndex current = m_model->index(m_model->currentRow(), 0);
    if (!current.isValid())
        return;
    setCurrentIndex(current);
    scrollTo(current);
}
