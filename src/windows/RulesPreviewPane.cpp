#include "windows/RulesPreviewPane.h"

#include "rename/PreviewModel.h"
#include "rename/rules/RulesPreviewComputer.h"
#include "windows/ChangedNameDelegate.h"
#include "windows/PreviewOutcomeLook.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

RulesPreviewPane::RulesPreviewPane(RulesPreviewComputer *computer, QWidget *parent)
    : QWidget(parent)
    , m_computer(computer)
    , m_model(new PreviewModel(this))
{
    label = new QLabel(tr("Pre&view:"), this);
    problemsOnly = new QCheckBox(tr("Only rows with pro&blems"), this);
    problemsOnly->setObjectName(QStringLiteral("problemsOnly"));
    problemsOnly->setAccessibleName(tr("Only rows with problems"));

    table = new QTableView(this);
    table->setObjectName(QStringLiteral("previewTable"));
    table->setAccessibleName(tr("Files and their new names"));
    ShowPreviewModel(table, m_model);
    table->setItemDelegateForColumn(PreviewModel::NewName, new ChangedNameDelegate(PreviewModel::CurrentName, table));
    label->setBuddy(table);

    refusal = new QLabel(this);
    refusal->setObjectName(QStringLiteral("refusal"));
    refusal->setAlignment(Qt::AlignCenter);
    refusal->setWordWrap(true);
    refusal->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    pages = new QStackedWidget(this);
    pages->addWidget(table);
    pages->addWidget(refusal);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    auto *top = new QHBoxLayout;
    top->addWidget(label);
    top->addStretch(1);
    top->addWidget(problemsOnly);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(pages, 1);
    layout->addWidget(summary);

    connect(problemsOnly, &QCheckBox::toggled, m_model, &PreviewModel::setProblemsOnly);
    connect(problemsOnly, &QCheckBox::toggled, this, &RulesPreviewPane::reportVisibleRows);
    connect(m_computer, &RulesPreviewComputer::visibleRowsReady, this, &RulesPreviewPane::showRows);
    connect(m_computer, &RulesPreviewComputer::previewReady, this, &RulesPreviewPane::showPreview);
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this, &RulesPreviewPane::reportVisibleRows);
    table->viewport()->installEventFilter(this);
}

bool RulesPreviewPane::isRefused() const
{
    return m_model->preview().isRefused();
}

bool RulesPreviewPane::isCurrent() const
{
    return m_shownGeneration > 0 && m_shownGeneration == m_computer->inputGeneration();
}

void RulesPreviewPane::markOutdated()
{
    summary->setEnabled(false);
}

bool RulesPreviewPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table->viewport() && event->type() == QEvent::Resize)
        reportVisibleRows();
    return QWidget::eventFilter(watched, event);
}

void RulesPreviewPane::reportVisibleRows()
{
    const int rowHeight = qMax(1, table->verticalHeader()->defaultSectionSize());
    const int first = qMax(0, table->verticalScrollBar()->value());
    const int count = table->viewport()->height() / rowHeight + 2;
    const RenamePreview &preview = m_model->preview();
    if (!problemsOnly->isChecked() || preview.problemRows.isEmpty()) {
        m_computer->setVisibleRows(first, count);
        return;
    }
    // The computer counts every row; the rows shown are the problem rows
    // from `first` on, spread over that stretch.
    const qsizetype last = qMin<qsizetype>(first + count, preview.problemRows.size()) - 1;
    if (first > last)
        return;
    const qsizetype from = preview.problemRows.at(first);
    m_computer->setVisibleRows(from, preview.problemRows.at(last) - from + 1);
}

void RulesPreviewPane::showRows(qsizetype first, const QList<PreviewRow> &rows, quint64 generation)
{
    // Rows of an input older than the preview shown, or than rows already
    // shown, would undo what is newer.
    if (generation <= m_shownGeneration || generation < m_rowsGeneration)
        return;
    m_rowsGeneration = generation;
    pages->setCurrentWidget(table);
    m_model->updateRows(first, rows);
}

void RulesPreviewPane::showPreview(const RenamePreview &preview, quint64 generation)
{
    if (generation < m_shownGeneration)
        return;
    ShowPreviewPage(preview, m_model, pages, table, refusal, summary);
    m_shownGeneration = generation;
    reportVisibleRows();
    emit previewShown(generation);
}
