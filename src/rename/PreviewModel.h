#pragma once

#include "rename/RenamePreview.h"

#include <QAbstractTableModel>

// The rows of a rename preview as a table: current name, new name, what
// will happen. Optionally only the files that will not simply be renamed;
// that subset is computed with the preview, so switching costs nothing even
// for 100,000 rows.
class PreviewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { CurrentName, NewName, Outcome, ColumnCount };
    // The row's PreviewOutcome, as an int.
    static constexpr int OutcomeRole = Qt::UserRole;
    // PreviewRow::note: what else to know of the new name; empty for most.
    static constexpr int NoteRole = Qt::UserRole + 1;

    explicit PreviewModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const RenamePreview &preview() const { return m_preview; }
    void setPreview(RenamePreview preview);

    bool problemsOnly() const { return m_problemsOnly; }
    void setProblemsOnly(bool only);

    // Rows first .. first + rows.size() - 1 of a newer preview than the one
    // shown, ahead of the whole of it: they take the place of the rows
    // there, and the table grows to hold them. The counts and the rows with
    // problems stay those of the shown preview until setPreview(); while
    // only those rows are shown, nothing changes.
    void updateRows(qsizetype first, const QList<PreviewRow> &rows);

    // The preview row shown at model row `row`.
    const PreviewRow &rowAt(int row) const;

private:
    RenamePreview m_preview;
    bool m_problemsOnly = false;
};
