#pragma once

#include "rename/rules/RuleList.h"

#include <QAbstractListModel>
#include <QStringList>

// The rules as rows: each with its on/off box and its summary, marked with
// why it cannot be used where it cannot. Rows are reordered by moving
// them, which a view's internal drag does.
class RuleListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit RuleListModel(QObject *parent = nullptr);

    const RuleList &rules() const { return m_rules; }
    void setRules(const RuleList &rules);
    const RenameRule &rule(int row) const { return m_rules.rules().at(row); }
    void setRule(int row, const RenameRule &rule);
    void insertRule(int row, const RenameRule &rule);
    void removeRule(int row);
    // Why the rule at row cannot be used, whether it is on or not; empty
    // when it can.
    QString problemAt(int row) const { return m_problems.value(row); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool moveRows(const QModelIndex &sourceParent, int sourceRow, int count, const QModelIndex &destinationParent,
                  int destinationChild) override;
    Qt::DropActions supportedDropActions() const override;
    // A drag carries the rows it takes; dropped, they are moved there.
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    RuleList m_rules;
    QStringList m_problems; // by row
};
