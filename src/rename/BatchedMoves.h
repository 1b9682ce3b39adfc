#pragma once

#include "core/FolderHandle.h"
#include "rename/MoveQueue.h"

#include <QString>

#include <cstddef>

class FileRenamer;
class RenameFileOperations;

// Lets a run decide the next files while the system makes the moves
// decided before: a file whose move is plain (see FileRenamer::planMove)
// has it planned and made later, in a batch, on a second thread; any other
// file's turn waits for every planned move and goes one file at a time.
// The target hears of each rename once its batch is made, in list order, on
// the run's own thread.
class BatchedMoves
{
public:
    // operations: the renamer's own, used by the queue's thread while
    // batches are handed over and by the renamer only after finish().
    BatchedMoves(FileRenamer &renamer, RenameFileOperations &operations, const FolderHandle &folder);

    // Entry i's turn, with newName as its new name.
    void rename(int i, const QString &newName);
    // Makes every planned move and reports each: after it, the renamer may
    // move files itself, and its report is up to date.
    void finish();

private:
    static constexpr size_t kBatchSize = 64;
    // Batches handed over and not yet reported: one being made, one waiting.
    static constexpr size_t kBatchesAhead = 2;

    void handFilling();
    void reportOldest();
    void report(MoveBatch &batch);

    FileRenamer &m_renamer;
    RenameFileOperations &m_operations;
    const FolderHandle &m_folder;
    MoveBatch m_filling; // planned, not yet handed to the queue
    MoveQueue m_queue;
    size_t m_turnsOneByOne = 0;
    bool m_caseBlind = false;
};
