// The main window's side of the Rules window: what it previews and what
// its Rename runs.

#include "app/Form1.h"

#include "app/RenameRunner.h"
#include "selection/FileListBox.h"
#include "windows/RulesWindow.h"

#include <QCheckBox>
#include <QPointer>

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
    m_runner->start(File1->path(), File1->renameEntries(), request, rules);
    holdInputDuringRun(true);
}
