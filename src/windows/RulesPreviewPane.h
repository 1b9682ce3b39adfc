#pragma once

#include "rename/RenamePreview.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QStackedWidget;
class QTableView;
class PreviewModel;
class RulesPreviewComputer;

// The preview half of the Rules window: each selected file's current name,
// its new name with the changed part marked, and what the run will do to
// it; a filter that keeps only the rows with problems; the counts below.
// A refused plan shows the refusal instead of rows.
//
// It takes its rows from a RulesPreviewComputer: the rows on screen as soon
// as they are known, the whole preview after them; and it tells the
// computer which rows are on screen whenever that changes.
class RulesPreviewPane : public QWidget
{
    Q_OBJECT

public:
    RulesPreviewPane(RulesPreviewComputer *computer, QWidget *parent = nullptr);

    PreviewModel *model() const { return m_model; }
    // The generation of the whole preview shown, 0 before the first.
    quint64 shownGeneration() const { return m_shownGeneration; }
    bool isRefused() const;
    // The preview has rows no newer input has replaced: what Rename will do.
    bool isCurrent() const;

    // Greys the counts until the newer input's preview is on screen.
    void markOutdated();

    QLabel *label = nullptr;
    QCheckBox *problemsOnly = nullptr;
    QStackedWidget *pages = nullptr;
    QTableView *table = nullptr;
    QLabel *refusal = nullptr;
    QLabel *summary = nullptr;

signals:
    void previewShown(quint64 generation);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRows(qsizetype first, const QList<PreviewRow> &rows, quint64 generation);
    void showPreview(const RenamePreview &preview, quint64 generation);
    void reportVisibleRows();

    RulesPreviewComputer *const m_computer;
    PreviewModel *m_model = nullptr;
    quint64 m_shownGeneration = 0;
    quint64 m_rowsGeneration = 0; // of the rows shown ahead of their preview
};
