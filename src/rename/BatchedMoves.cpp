#include "rename/BatchedMoves.h"

#include "rename/FileRenamer.h"

#include <utility>
#include <vector>

BatchedMoves::BatchedMoves(FileRenamer &renamer, RenameFileOperations &operations, const FolderHandle &folder)
    : m_renamer(renamer)
    , m_operations(operations)
    , m_folder(folder)
    , m_queue(operations, folder)
{
    m_filling.moves.reserve(kBatchSize);
}

void BatchedMoves::rename(int i, const QString &newName)
{
    if (m_turnsOneByOne > 0) {
        --m_turnsOneByOne;
    } else if (m_renamer.planMove(i, newName, m_caseBlind, &m_filling.moves.emplace_back())) {
        if (m_filling.moves.size() >= kBatchSize)
            handFilling();
        return;
    } else {
        m_filling.moves.pop_back();
    }
    // The one-file rules count on every earlier move being made and known.
    finish();
    m_renamer.rename(i, newName);
}

void BatchedMoves::finish()
{
    while (!m_filling.moves.empty() || m_queue.handed() > 0) {
        if (!m_filling.moves.empty() && m_queue.isRunning()) {
            handFilling();
        } else if (!m_filling.moves.empty() && m_queue.handed() == 0) {
            // Too few for a thread: made here.
            MoveBatch batch = std::exchange(m_filling, MoveBatch());
            MoveQueue::make(batch, m_operations, m_folder);
            report(batch);
            continue;
        }
        if (m_queue.handed() > 0)
            reportOldest();
    }
}

void BatchedMoves::handFilling()
{
    m_queue.hand(std::exchange(m_filling, MoveBatch()));
    m_filling.moves.reserve(kBatchSize);
    while (m_queue.handed() > kBatchesAhead)
        reportOldest();
}

void BatchedMoves::reportOldest()
{
    MoveBatch batch = m_queue.takeTried();
    report(batch);
}

// The moves of a batch tried, in order, up to the first that did not go as
// planned: no later move was made on a plan that counted on it. That file
// goes on from its one attempt as it would have one by one; every file
// planned after it has its turn again, one by one for a while, so that a
// folder where moves keep failing is not planned over and over.
void BatchedMoves::report(MoveBatch &batch)
{
    size_t made = 0;
    while (made < batch.tried && batch.moves[made].outcome == MoveOutcome::Done)
        ++made;
    for (size_t k = 0; k < made; ++k)
        m_renamer.plannedMoveMade(batch.moves[k]);
    if (made == batch.moves.size())
        return;

    // What was planned after the failed move, in order: the rest of its
    // batch, the batches handed over after it, the one being filled.
    std::vector<MoveBatch> later = m_queue.takeBack();
    later.push_back(std::exchange(m_filling, MoveBatch()));
    // Newest first, so that the index is again as it was before each.
    for (auto b = later.rbegin(); b != later.rend(); ++b) {
        for (auto m = b->moves.rbegin(); m != b->moves.rend(); ++m)
            m_renamer.takeBack(*m);
    }
    for (size_t k = batch.moves.size(); k-- > made;)
        m_renamer.takeBack(batch.moves[k]);

    QueuedMove &failed = batch.moves[made];
    m_turnsOneByOne = kBatchSize;
    // The file system does not tell letter case apart: every later change
    // of case alone needs the detour too.
    if (failed.caseOnly && failed.outcome == MoveOutcome::TargetExists)
        m_caseBlind = true;
    m_renamer.plannedMoveFailed(failed);

    for (size_t k = made + 1; k < batch.moves.size(); ++k)
        rename(batch.moves[k].entry, batch.moves[k].to);
    for (const MoveBatch &b : later) {
        for (const QueuedMove &m : b.moves)
            rename(m.entry, m.to);
    }
}
