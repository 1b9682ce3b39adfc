#include "rename/PreviewModel.h"

#include "rename/PreviewComputer.h"

#include <utility>

PreviewModel::PreviewModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int PreviewModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_problemsOnly ? m_preview.problemRows.size() : m_preview.rows.size());
}

int PreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const PreviewRow &PreviewModel::rowAt(int row) const
{
    return m_preview.rows.at(m_problemsOnly ? m_preview.problemRows.at(row) : row);
}

QVariant PreviewModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const PreviewRow &row = rowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case CurrentName: return row.currentName;
        case NewName: return row.newName;
        case Outcome: return PreviewOutcomeText(row);
        default: return {};
        }
    case Qt::ToolTipRole:
        // Long reasons and names do not fit a column.
        return index.column() == Outcome ? PreviewOutcomeText(row)
                                         : index.column() == NewName ? row.newName : row.currentName;
    case OutcomeRole:
        return int(row.outcome);
    case NoteRole:
        return row.note;
    default:
        return {};
    }
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case CurrentName: return tr("Current name");
    case NewName: return tr("New name");
    case Outcome: return tr("What will happen");
    default: return {};
    }
}

void PreviewModel::setPreview(RenamePreview preview)
{
    beginResetModel();
    RenamePreview old = std::exchange(m_preview, std::move(preview));
    endResetModel();
    DisposeOffThread(std::move(old));
}

void PreviewModel::setProblemsOnly(bool only)
{
    if (only == m_problemsOnly)
        return;
    beginResetModel();
    m_problemsOnly = only;
    endResetModel();
}

void PreviewModel::updateRows(qsizetype first, const QList<PreviewRow> &rows)
{
    // The problem rows of the new preview are not known yet.
    if (m_problemsOnly || rows.isEmpty() || first < 0 || first > m_preview.rows.size())
        return;
    const qsizetype replaced = qMin(rows.size(), m_preview.rows.size() - first);
    for (qsizetype i = 0; i < replaced; ++i)
        m_preview.rows[first + i] = rows.at(i);
    if (replaced > 0)
        emit dataChanged(index(int(first), 0), index(int(first + replaced - 1), ColumnCount - 1));
    if (replaced == rows.size())
        return;
    beginInsertRows({}, int(m_preview.rows.size()), int(first + rows.size() - 1));
    for (qsizetype i = replaced; i < rows.size(); ++i)
        m_preview.rows.append(rows.at(i));
    endInsertRows();
}
