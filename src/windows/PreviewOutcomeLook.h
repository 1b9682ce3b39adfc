#pragma once

#include <QIdentityProxyModel>

// The rows of a PreviewModel as a table shows them: a file that will not
// simply be renamed stands out by colour and by a sign before what will
// happen to it, and a new name that comes with a note (a date taken that was
// not there) has a sign of its own and says the note in its tooltip. So a
// problem is seen without reading.
class PreviewOutcomeLook : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit PreviewOutcomeLook(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;
};

class QLabel;
class QStackedWidget;
class QTableView;
class PreviewModel;
struct RenamePreview;

// Makes `table` show `model` through a PreviewOutcomeLook: rows of one
// fixed height and no row header, so that the view keeps nothing per row
// and lays out only what it shows, whatever the number of rows.
void ShowPreviewModel(QTableView *table, PreviewModel *model);

// Puts a new preview on screen: its rows in `model` and `table` on top with
// the counts in `summary`, or, for a refused one, the refusal on top.
void ShowPreviewPage(const RenamePreview &preview, PreviewModel *model, QStackedWidget *pages, QTableView *table,
                     QLabel *refusal, QLabel *summary);
