#pragma once

#include "core/FolderHandle.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class RenameFileOperations;

// One move a run has decided on, and what came of it.
struct QueuedMove
{
    int entry = -1; // the file's index in the run's list
    QString from;
    QString to;
    MoveMode mode = MoveMode::NoReplace;
    // The run's own notes, to take the move back from its index.
    size_t fromHash = 0;
    size_t toHash = 0;
    bool caseOnly = false;
    // Set once the move has been tried.
    MoveOutcome outcome = MoveOutcome::Done;
    QString error;
};

// Moves made in order, as one batch.
struct MoveBatch
{
    std::vector<QueuedMove> moves;
    // The moves tried: all of them, or up to and with the first that did
    // not go through. None after it is tried.
    size_t tried = 0;

    bool stoppedShort() const
    {
        return tried < moves.size() || (tried > 0 && moves[tried - 1].outcome != MoveOutcome::Done);
    }
};

// Makes batches of moves on a thread of its own, in the order they are
// handed over, so that a run decides the next files while the system makes
// these moves. At the first move that does not go through it stops: no
// later batch is started until the run has taken them back.
//
// Only the run's thread calls it; the operations are used on the queue's
// thread while batches are handed over and not yet taken, and by nobody
// else then.
class MoveQueue
{
public:
    MoveQueue(RenameFileOperations &operations, const FolderHandle &folder);
    ~MoveQueue();
    MoveQueue(const MoveQueue &) = delete;
    MoveQueue &operator=(const MoveQueue &) = delete;

    // Tries the moves of batch here and now, the same way.
    static void make(MoveBatch &batch, RenameFileOperations &operations, const FolderHandle &folder);

    // Starts the thread on the first batch.
    void hand(MoveBatch &&batch);
    // Batches handed over and not yet taken.
    size_t handed() const { return m_handed; }
    bool isRunning() const { return m_thread.joinable(); }
    // The oldest batch handed over, once tried; waits for it.
    MoveBatch takeTried();
    // After a batch that stopped short: the batches handed over after it,
    // none of them started, in order. The queue goes on with the next batch
    // handed over.
    std::vector<MoveBatch> takeBack();

private:
    void run();

    RenameFileOperations &m_operations;
    const FolderHandle &m_folder;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_work; // for the queue's thread
    std::condition_variable m_tried; // for the run's thread
    std::deque<MoveBatch> m_batches; // handed over, oldest first
    size_t m_triedCount = 0;         // of m_batches, from the front
    bool m_stopped = false;          // a batch stopped short
    bool m_quit = false;
    size_t m_handed = 0; // the run's own count, read without the lock
};
