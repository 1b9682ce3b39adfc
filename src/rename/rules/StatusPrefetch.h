#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class FolderHandle;

// Reads the modified time and size of files while the folder is still being
// listed. The listing hands over each name as it reads it; a helper thread
// reads the files' statuses a batch at a time meanwhile, so that the reads,
// which wait on the kernel, overlap the listing's own work and whatever the
// caller does next. finish() lends the caller's thread to what is left.
// Statuses are numbered in the order the names were handed over.
class StatusPrefetch
{
public:
    struct Status
    {
        qint64 modifiedMs = 0; // both 0 for a file that cannot be read
        qint64 size = 0;
    };

    explicit StatusPrefetch(const FolderHandle &folder);
    ~StatusPrefetch();
    StatusPrefetch(const StatusPrefetch &) = delete;
    StatusPrefetch &operator=(const StatusPrefetch &) = delete;

    // The next file's name as the folder holds it; not after finish().
    void add(const char *rawName, size_t length);
    // Reads what is left, on this thread and the helper, and waits for
    // both; status() may be asked from then on.
    void finish();

    qsizetype count() const { return m_count; }
    const Status &status(qsizetype index) const
    {
        return m_batches[size_t(index) / kBatchSize]->statuses[size_t(index) % kBatchSize];
    }

private:
    static constexpr size_t kBatchSize = 1024;
    struct Batch
    {
        std::string names; // each ended by a NUL
        std::vector<Status> statuses;
    };

    void handOver();
    // Reads batches until none is left; waits for more while `wait` and
    // the names are not all handed over.
    void readBatches(bool wait);
    void read(Batch &batch) const;

    const FolderHandle &m_folder;
    std::unique_ptr<Batch> m_filling;
    size_t m_fillingCount = 0;
    qsizetype m_count = 0;

    // Handed-over batches; a batch is read by whichever thread takes it.
    std::mutex m_lock;
    std::condition_variable m_handedOver;
    std::deque<std::unique_ptr<Batch>> m_batches;
    size_t m_nextToRead = 0;
    bool m_closed = false;
    bool m_stopped = false;
    std::optional<std::thread> m_helper;
};
