// The main window's side of the Rules window: what it previews and what
// its Rename runs.

#include "app/Form1.h"

#include "app/RenameRunner.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"
#include "windows/RulesWindow.h"

#include <QItemSelection>
#include <QPointer>
#include <QSet>

// The window is given what a run would be given; it never reads the
// controls itself. The overwrite choice is the main window's own box.
void Form1::openRules()
{
    RulesWindow *rules = RulesWindow::open(m_product, m_skin);
    rules->setInputSource([form = QPointer<Form1>(this)] {
        RulesPreviewInput input;
        if (form) {
            input.folder = form->File1->path();
            input.entries = form->File1->renameEntries();
            input.keepExisting = form->readRenameRequest().keepExisting;
        }
        return input;
    });
    rules->setRenameHandler([form = QPointer<Form1>(this)](const RuleList &list) {
        if (form)
            form->renameByRules(list);
    });
    rules->setRunning(isRunning());
    feedPreview();
}

// The same run as Rename Now's, with the progress, the journal, Undo Last
// Rename and the end message; the names are planned on the run's worker.
void Form1::renameByRules(const RuleList &rules)
{
    if (isRunning())
        return;
    RenameRequest request;
    const RenameRequest options = readRenameRequest();
    request.keepExisting = options.keepExisting;
    request.entryCount = options.entryCount;
    m_rulesRun = m_runner->start(File1->path(), File1->renameEntries(), request, rules);
    holdInputDuringRun(true);
}

// After a run from the Rules window the same files stay selected, under
// their new names, so that the window shows what its rules would do next.
void Form1::selectRenamed(const RenameReport &report)
{
    QSet<QString> taken;
    for (const RenamedFile &file : report.renamed)
        taken.insert(file.newName);
    for (const LeftInPlaceFile &file : report.leftInPlace)
        taken.insert(file.name);
    for (const QString &name : report.unchanged)
        taken.insert(name);
    // One range per run of neighbouring rows, not one selection per file.
    FileListModel *model = File1->fileModel();
    QItemSelection selection;
    const QStringList &names = model->fileNames();
    for (int row = 0; row < names.size(); ++row) {
        if (!taken.contains(names.at(row)))
            continue;
        int last = row;
        while (last + 1 < names.size() && taken.contains(names.at(last + 1)))
            ++last;
        selection.select(model->index(row), model->index(last));
        row = last;
    }
    model->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}
