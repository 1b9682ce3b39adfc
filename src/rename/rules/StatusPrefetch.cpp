#include "rename/rules/StatusPrefetch.h"

#include "core/FolderHandle.h"
#include "rename/rules/FileFacts.h"

#include <sys/stat.h>

#include <cstring>
#include <system_error>

StatusPrefetch::StatusPrefetch(const FolderHandle &folder)
    : m_folder(folder)
{
}

StatusPrefetch::~StatusPrefetch()
{
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_stopped = true;
    }
    m_handedOver.notify_all();
    if (m_helper)
        m_helper->join();
}

void StatusPrefetch::add(const char *rawName, size_t length)
{
    if (!m_filling) {
        m_filling = std::make_unique<Batch>();
        m_filling->names.reserve(kBatchSize * 24);
    }
    m_filling->names.append(rawName, length);
    m_filling->names.push_back('\0');
    ++m_count;
    if (++m_fillingCount == kBatchSize)
        handOver();
}

void StatusPrefetch::handOver()
{
    if (!m_filling)
        return;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_batches.push_back(std::move(m_filling));
    }
    m_fillingCount = 0;
    m_handedOver.notify_one();
    if (m_helper)
        return;
    try {
        m_helper.emplace([this] { readBatches(true); });
    } catch (const std::system_error &) {
        // No thread to be had: finish() reads them all.
    }
}

void StatusPrefetch::finish()
{
    handOver();
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_closed = true;
    }
    m_handedOver.notify_all();
    readBatches(false);
    if (m_helper) {
        m_helper->join();
        m_helper.reset();
    }
}

void StatusPrefetch::readBatches(bool wait)
{
    for (;;) {
        Batch *batch = nullptr;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            if (wait)
                m_handedOver.wait(lock, [this] { return m_stopped || m_closed || m_nextToRead < m_batches.size(); });
            if (m_stopped || m_nextToRead == m_batches.size())
                return;
            batch = m_batches[m_nextToRead++].get();
        }
        read(*batch);
    }
}

void StatusPrefetch::read(Batch &batch) const
{
    const int folder = m_folder.descriptor();
    batch.statuses.reserve(kBatchSize);
    for (const char *name = batch.names.data(), *end = name + batch.names.size(); name < end;
         name += std::strlen(name) + 1) {
        struct stat status = {};
        if (::fstatat(folder, name, &status, 0) == 0)
            batch.statuses.push_back({FileFacts::modifiedMsOf(status), qint64(status.st_size)});
        else
            batch.statuses.push_back({});
    }
}
