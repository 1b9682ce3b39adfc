#include "windows/rules/RuleListModel.h"

#include "rename/rules/RulePlan.h"
#include "rename/rules/RuleSummary.h"

#include <QApplication>
#include <QIcon>
#include <QMimeData>
#include <QStyle>

namespace {

const QString kRowsType = QStringLiteral("application/x-quillmere-rule-rows");

} // namespace

RuleListModel::RuleListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void RuleListModel::setRules(const RuleList &rules)
{
    beginResetModel();
    m_rules = rules;
    m_problems.clear();
    for (const RenameRule &rule : rules.rules())
        m_problems.append(RulePlan::problemOfRule(rule));
    endResetModel();
}

void RuleListModel::setRule(int row, const RenameRule &rule)
{
    if (m_rules.rules().at(row) == rule)
        return;
    m_rules.rules()[row] = rule;
    m_problems[row] = RulePlan::problemOfRule(rule);
    emit dataChanged(index(row), index(row));
}

void RuleListModel::insertRule(int row, const RenameRule &rule)
{
    beginInsertRows(QModelIndex(), row, row);
    m_rules.rules().insert(row, rule);
    m_problems.insert(row, RulePlan::problemOfRule(rule));
    endInsertRows();
}

void RuleListModel::removeRule(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_rules.rules().removeAt(row);
    m_problems.removeAt(row);
    endRemoveRows();
}

int RuleListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rules.size());
}

QVariant RuleListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rules.size())
        return {};
    const RenameRule &rule = m_rules.rules().at(index.row());
    const QString &problem = m_problems.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return RuleSummary::of(rule);
    case Qt::CheckStateRole:
        return rule.enabled ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        if (problem.isEmpty())
            return {};
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return problem.isEmpty() ? QVariant() : QVariant(problem);
    default:
        return {};
    }
}

bool RuleListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    RenameRule rule = m_rules.rules().at(index.row());
    rule.enabled = Qt::CheckState(value.toInt()) == Qt::Checked;
    setRule(index.row(), rule);
    return true;
}

Qt::ItemFlags RuleListModel::flags(const QModelIndex &index) const
{
    // Rows are dropped between others, never onto one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled;
}

bool RuleListModel::moveRows(const QModelIndex &sourceParent, int sourceRow, int count,
                             const QModelIndex &destinationParent, int destinationChild)
{
    if (sourceParent.isValid() || destinationParent.isValid() || count < 1 || sourceRow < 0
        || sourceRow + count > m_rules.size() || destinationChild < 0 || destinationChild > m_rules.size()
        || (destinationChild >= sourceRow && destinationChild <= sourceRow + count))
        return false;
    beginMoveRows(QModelIndex(), sourceRow, sourceRow + count - 1, QModelIndex(), destinationChild);
    QList<RenameRule> &rules = m_rules.rules();
    const QList<RenameRule> moved = rules.mid(sourceRow, count);
    const QStringList movedProblems = m_problems.mid(sourceRow, count);
    rules.remove(sourceRow, count);
    m_problems.remove(sourceRow, count);
    const int at = destinationChild > sourceRow ? destinationChild - count : destinationChild;
    for (int i = 0; i < count; ++i) {
        rules.insert(at + i, moved.at(i));
        m_problems.insert(at + i, movedProblems.at(i));
    }
    endMoveRows();
    return true;
}

Qt::DropActions RuleListModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

QStringList RuleListModel::mimeTypes() const
{
    return {kRowsType};
}

QMimeData *RuleListModel::mimeData(const QModelIndexList &indexes) const
{
    QStringList rows;
    for (const QModelIndex &index : indexes)
        rows.append(QString::number(index.row()));
    auto *data = new QMimeData;
    data->setData(kRowsType, rows.join(u',').toLatin1());
    return data;
}

bool RuleListModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int,
                                 const QModelIndex &parent)
{
    if (action != Qt::MoveAction || !data->hasFormat(kRowsType))
        return false;
    // The list is picked one rule at a time, so a drag carries one row.
    bool ok = false;
    const int from = data->data(kRowsType).split(',').value(0).toInt(&ok);
    if (!ok || from < 0 || from >= rowCount())
        return false;
    // Dropped onto a row: in front of it.
    const int to = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
    if (to == from || to == from + 1)
        return true;
    return moveRows(QModelIndex(), from, 1, QModelIndex(), to);
}
