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
