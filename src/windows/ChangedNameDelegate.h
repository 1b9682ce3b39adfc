#pragma once

#include <QStyledItemDelegate>

// Draws a new name with the part that differs from the current name (the
// column `currentColumn` of the same row) marked. The part is found while
// the row is painted, so only rows on screen ever cost anything.
class ChangedNameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    ChangedNameDelegate(int currentColumn, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const int m_currentColumn;
};
