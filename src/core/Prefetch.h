#pragma once

#include <QtGlobal>

// Asks the processor to bring the memory at `address` into its caches, for
// a read a little later. Spelled out on x86-64, where GCC 12 drops the
// builtin hint from some loops.
inline void PrefetchForRead(const void *address)
{
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
    asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char *>(address)));
#elif defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    Q_UNUSED(address);
#endif
}
