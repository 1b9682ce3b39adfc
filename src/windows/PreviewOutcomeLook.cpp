#include "windows/PreviewOutcomeLook.h"

#include "rename/PreviewModel.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QIcon>
#include <QStyle>
#include <QTableView>

namespace {

// The desktop's own sign where its theme has one, else the style's.
QIcon sign(const char *themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QLatin1String(themeName), QApplication::style()->standardIcon(fallback));
}

QVariant outcomeColour(PreviewOutcome outcome)
{
    switch (outcome) {
    case PreviewOutcome::Renamed: return {};
    case PreviewOutcome::FreeVariant: return QColor(0x8a, 0x5a, 0x00); // amber: renamed otherwise
    case PreviewOutcome::Replaces: return QColor(0xb3, 0x3f, 0x00);    // orange: another file goes
    case PreviewOutcome::LeftInPlace: return QColor(0xb0, 0x00, 0x20); // red: not renamed
    case PreviewOutcome::Unchanged: return QColor(0x60, 0x60, 0x60);   // grey: nothing to do
    }
    return {};
}

QIcon outcomeSign(PreviewOutcome outcome)
{
    switch (outcome) {
    case PreviewOutcome::Renamed: return {};
    case PreviewOutcome::LeftInPlace: return sign("dialog-error", QStyle::SP_MessageBoxCritical);
    case PreviewOutcome::Unchanged: return sign("dialog-information", QStyle::SP_MessageBoxInformation);
    case PreviewOutcome::FreeVariant:
    case PreviewOutcome::Replaces: return sign("dialog-warning", QStyle::SP_MessageBoxWarning);
    }
    return {};
}

} // namespace

PreviewOutcomeLook::PreviewOutcomeLook(QObject *parent)
    : QIdentityProxyModel(parent)
{
}

QVariant PreviewOutcomeLook::data(const QModelIndex &index, int role) const
{
    const bool newName = index.column() == PreviewModel::NewName;
    if (newName && (role == Qt::DecorationRole || role == Qt::ToolTipRole)) {
        const QString note = index.data(PreviewModel::NoteRole).toString();
        if (!note.isEmpty()) {
            if (role == Qt::DecorationRole)
                return sign("dialog-information", QStyle::SP_FileDialogInfoView);
            return QIdentityProxyModel::data(index, role).toString() + u'\n' + note;
        }
    }
    if (role != Qt::ForegroundRole && role != Qt::DecorationRole)
        return QIdentityProxyModel::data(index, role);
    const auto outcome = PreviewOutcome(index.data(PreviewModel::OutcomeRole).toInt());
    if (role == Qt::ForegroundRole)
        return outcomeColour(outcome);
    if (index.column() != PreviewModel::Outcome)
        return {};
    const QIcon icon = outcomeSign(outcome);
    return icon.isNull() ? QVariant() : QVariant(icon);
}

void ShowPreviewModel(QTableView *table, PreviewModel *model)
{
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *look = new PreviewOutcomeLook(table);
    look->setSourceModel(model);
    table->setModel(look);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->resizeSection(PreviewModel::CurrentName, 190);
    table->horizontalHeader()->resizeSection(PreviewModel::NewName, 190);
}

void ShowPreviewPage(const RenamePreview &preview, PreviewModel *model, QStackedWidget *pages, QTableView *table,
                     QLabel *refusal, QLabel *summary)
{
    model->setPreview(preview);
    if (preview.isRefused()) {
        refusal->setText(preview.refusal);
        pages->setCurrentWidget(refusal);
        summary->clear();
    } else {
        pages->setCurrentWidget(table);
        summary->setText(PreviewSummaryText(preview));
    }
    summary->setEnabled(true);
}
