#include "app/Form1.h"

#include "app/StartArguments.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"
#include "selection/FileSelectionPanel.h"

#include <QDebug>
#include <QDir>

void Form1::openFromCommandLine(const QStringList &paths)
{
    QStringList ignored;
    const StartPlace place = ResolveStartPlace(paths, &ignored);
    for (const QString &path : std::as_const(ignored))
        qWarning().noquote() << tr("quillmere: %1 is not in %2; left out")
                                    .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(place.folder));
    if (place.folder.isEmpty() || !m_panel->openFolder(place.folder))
        return;
    const int first = m_panel->selectFiles(place.names);
    if (first >= 0) {
        const QModelIndex index = File1->fileModel()->index(first);
        File1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        File1->scrollTo(index);
    }
}
