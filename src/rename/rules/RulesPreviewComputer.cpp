#include "rename/rules/RulesPreviewComputer.h"

#include "core/FolderHandle.h"
#include "rename/PreviewComputer.h"
#include "rename/rules/RulePlan.h"

#include <QHash>
#include <QtConcurrent/QtConcurrentRun>

#include <limits>

RenamePreview ComputeRulesPreview(const RulesPreviewInput &input)
{
    RenamePreview preview;
    const FolderHandle folder(input.folder);
    if (!folder.isOpen()) {
        preview.refusal = folder.openErrorText();
        return preview;
    }
    const int entryCount = int(qMin<qsizetype>(input.entries.size(), std::numeric_limits<int>::max()));
    const RulePlan plan = RulePlan::make(folder, input.entries, input.rules, input.keepExisting, entryCount);
    if (plan.isRefused()) {
        preview.refusal = plan.refusal();
        return preview;
    }
    RenameRequest request;
    request.keepExisting = input.keepExisting;
    request.entryCount = entryCount;
    request.plannedNames = std::make_shared<const QStringList>(plan.arranged(*plan.names()));
    preview = ComputeRenamePreview(input.folder, plan.arranged(input.entries), request);
    if (plan.notes().isEmpty())
        return preview;
    QHash<QString, QString> notes;
    for (const RulePlan::Note &note : plan.notes())
        notes.insert(input.entries.at(note.entry).name, note.message);
    for (PreviewRow &row : preview.rows)
        row.note = notes.value(row.currentName);
    return preview;
}

RulesPreviewComputer::RulesPreviewComputer(QObject *parent)
    : QObject(parent)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(100);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        if (m_watcher.isRunning())
            m_startWhenFinished = true;
        else
            start();
    });
    connect(&m_watcher, &QFutureWatcher<RenamePreview>::finished, this, &RulesPreviewComputer::finished);
}

RulesPreviewComputer::~RulesPreviewComputer()
{
    m_watcher.disconnect(this);
    if (m_watcher.isRunning())
        m_watcher.waitForFinished();
}

void RulesPreviewComputer::setSource(Source source)
{
    m_source = std::move(source);
}

void RulesPreviewComputer::inputChanged()
{
    ++m_inputGeneration;
    m_pause.start();
}

void RulesPreviewComputer::setVisibleRows(qsizetype first, qsizetype count)
{
    m_firstVisible = first;
    m_visibleCount = count;
}

void RulesPreviewComputer::start()
{
    m_startWhenFinished = false;
    m_runningGeneration = m_inputGeneration;
    m_watcher.setFuture(QtConcurrent::run(
        [input = m_source ? m_source() : RulesPreviewInput()] { return ComputeRulesPreview(input); }));
}

void RulesPreviewComputer::finished()
{
    RenamePreview preview = m_watcher.future().takeResult();
    if (m_runningGeneration == m_inputGeneration)
        emit previewReady(preview, m_runningGeneration);
    DisposeOffThread(std::move(preview));
    if (m_startWhenFinished)
        start();
}
