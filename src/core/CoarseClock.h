#pragma once

#include <QtGlobal>

#include <chrono>
#include <time.h>

// Milliseconds of a monotonic clock that is cheap to read many thousand
// times a second (the coarse clock where the system has one, a few
// milliseconds fine): for deciding when buffered progress is due.
inline qint64 CoarseMonotonicMs()
{
#if defined(CLOCK_MONOTONIC_COARSE)
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
#else
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}
