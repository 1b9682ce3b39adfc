#include "core/MemoryPages.h"

#include <QThreadPool>
#include <QtGlobal>

#include <cstdint>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#include <unistd.h>
#endif

void PrepareForWriting(void *data, std::size_t bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    constexpr std::size_t kWorthIt = 256 * 1024;
    if (!data || bytes < kWorthIt)
        return;
    static const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    // Only whole pages inside the block: the pages at its edges may be
    // shared with other blocks, and are faulted in as usual.
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) / page * page;
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) / page * page;
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

void ReturnFreedMemorySoon()
{
#if defined(__GLIBC__)
    // A few milliseconds for a hundred megabytes: not on a window's thread.
    QThreadPool::globalInstance()->start([] { ::malloc_trim(0); });
#endif
}
