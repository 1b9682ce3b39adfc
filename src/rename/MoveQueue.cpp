#include "rename/MoveQueue.h"

#include "rename/RunTypes.h"

#include <system_error>

MoveQueue::MoveQueue(RenameFileOperations &operations, const FolderHandle &folder)
    : m_operations(operations)
    , m_folder(folder)
{
}

MoveQueue::~MoveQueue()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_work.notify_one();
    m_thread.join();
}

void MoveQueue::make(MoveBatch &batch, RenameFileOperations &operations, const FolderHandle &folder)
{
    batch.tried = 0;
    for (QueuedMove &move : batch.moves) {
        move.outcome = operations.renameFile(folder, move.from, move.to, move.mode, &move.error);
        ++batch.tried;
        if (move.outcome != MoveOutcome::Done)
            return;
    }
}

void MoveQueue::hand(MoveBatch &&batch)
{
    {
        const std::lock_guard lock(m_mutex);
        m_batches.push_back(std::move(batch));
    }
    ++m_handed;
    if (m_thread.joinable()) {
        m_work.notify_one();
        return;
    }
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error &) {
        // No thread to be had: the batch is made here, as the thread would,
        // unless an earlier one stopped short (the run takes it back).
        const std::lock_guard lock(m_mutex);
        if (!m_stopped) {
            make(m_batches[m_triedCount], m_operations, m_folder);
            m_stopped = m_batches[m_triedCount].stoppedShort();
            ++m_triedCount;
        }
    }
}

MoveBatch MoveQueue::takeTried()
{
    std::unique_lock lock(m_mutex);
    m_tried.wait(lock, [this] { return m_triedCount > 0; });
    MoveBatch batch = std::move(m_batches.front());
    m_batches.pop_front();
    --m_triedCount;
    --m_handed;
    return batch;
}

std::vector<MoveBatch> MoveQueue::takeBack()
{
    const std::lock_guard lock(m_mutex);
    // Every batch still here was handed over after the one that stopped
    // short, and the thread has not started any of them.
    std::vector<MoveBatch> untried(std::make_move_iterator(m_batches.begin()),
                                   std::make_move_iterator(m_batches.end()));
    m_batches.clear();
    m_triedCount = 0;
    m_handed = 0;
    m_stopped = false;
    return untried;
}

void MoveQueue::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_quit || (!m_stopped && m_triedCount < m_batches.size()); });
        if (m_stopped || m_triedCount == m_batches.size())
            return; // told to quit, with nothing left to try
        // A batch's place in the deque stays while the thread works on it:
        // the run only takes batches that have been tried.
        MoveBatch &batch = m_batches[m_triedCount];
        lock.unlock();
        make(batch, m_operations, m_folder);
        lock.lock();
        ++m_triedCount;
        m_stopped = batch.stoppedShort();
        m_tried.notify_one();
    }
}
