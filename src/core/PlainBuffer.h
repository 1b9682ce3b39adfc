#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#include <unistd.h>
#endif

// A growing array of plain values that never copies what it holds as it
// grows: the allocator's realloc can often extend a small block in place.
// On Linux a large array lives in pages of its own, which grow by moving the
// page mappings, and the pages are pre-faulted a quarter megabyte at a time
// instead of taking one page fault for every page written: a list of 100,000 names
// touches several megabytes for the first time on every listing.
template <typename T>
class PlainBuffer
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PlainBuffer() = default;
    PlainBuffer(const PlainBuffer &) = delete;
    PlainBuffer &operator=(const PlainBuffer &) = delete;
    ~PlainBuffer()
    {
#if defined(Q_OS_LINUX)
        if (m_mapped) {
            ::munmap(m_data, m_mappedBytes);
            return;
        }
#endif
        std::free(m_data);
    }

    T *data() const { return m_data; }
    size_t size() const { return m_size; }

    // Room for n more values after the last one; valid until the next call.
    T *room(size_t n)
    {
        if (m_capacity - m_size < n)
            grow(n);
#if defined(Q_OS_LINUX)
        if (m_mapped && (m_size + n) * sizeof(T) > m_readyBytes)
            makeReady((m_size + n) * sizeof(T));
#endif
        return m_data + m_size;
    }
    void commit(size_t n) { m_size += n; }
    void append(const T &value) { *room(1) = value; ++m_size; }

private:
    void grow(size_t n)
    {
        size_t capacity = std::max({m_capacity * 2, m_size + n, 4096 / sizeof(T)});
#if defined(Q_OS_LINUX)
        if (capacity * sizeof(T) >= kMappedBytes) {
            const size_t page = pageSize();
            const size_t bytes = (capacity * sizeof(T) + page - 1) / page * page;
            void *data = m_mapped ? ::mremap(m_data, m_mappedBytes, bytes, MREMAP_MAYMOVE)
                                  : ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (data == MAP_FAILED)
                qBadAlloc();
            T *previous = m_data;
            m_data = static_cast<T *>(data);
            m_mappedBytes = bytes;
            m_capacity = bytes / sizeof(T);
            if (!m_mapped) {
                m_mapped = true;
                m_readyBytes = 0;
                makeReady(m_size * sizeof(T));
                if (m_size > 0)
                    std::memcpy(m_data, previous, m_size * sizeof(T));
                std::free(previous);
            }
            return;
        }
#endif
        T *data = static_cast<T *>(std::realloc(m_data, capacity * sizeof(T)));
        if (!data)
            qBadAlloc();
        m_data = data;
        m_capacity = capacity;
    }

#if defined(Q_OS_LINUX)
    static constexpr size_t kMappedBytes = 256 * 1024;
    static constexpr size_t kReadyStep = 256 * 1024;

    static size_t pageSize()
    {
        static const size_t page = size_t(::sysconf(_SC_PAGESIZE));
        return page;
    }

    // Makes the pages up to `bytes` ready for writing, one step ahead.
    void makeReady(size_t bytes)
    {
        const size_t page = pageSize();
        const size_t wanted = std::max(bytes, m_readyBytes + kReadyStep);
        const size_t end = std::min((wanted + page - 1) / page * page, m_mappedBytes);
        if (end <= m_readyBytes)
            return;
#if defined(MADV_POPULATE_WRITE)
        // A hint only: a kernel without it faults the pages in as written.
        ::madvise(reinterpret_cast<char *>(m_data) + m_readyBytes, end - m_readyBytes, MADV_POPULATE_WRITE);
#endif
        m_readyBytes = end;
    }

    bool m_mapped = false;
    size_t m_mappedBytes = 0; // whole pages
    size_t m_readyBytes = 0;  // whole pages
#endif

    T *m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
};
