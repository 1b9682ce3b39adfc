#pragma once

#include <cstddef>

// Pre-faults the memory pages of a large block just allocated, in one call,
// instead of taking one page fault for each page as it is first written: a run over 100,000 files fills several arrays of megabytes, and a
// fault costs far more than the page it brings. Small blocks, and systems
// without the call, are left as they are; it is a hint and never fails.
void PrepareForWriting(void *data, std::size_t bytes);

// The same for the storage of a container that has room for n elements
// (after reserve(n)), before they are written.
template <typename Container>
void PrepareRoomForWriting(Container &container, std::size_t n)
{
    PrepareForWriting(container.data(), n * sizeof(*container.data()));
}

// Gives an empty container n elements, its storage allocated and
// pre-faulted before they are written.
template <typename Container>
void ResizePrepared(Container &container, std::size_t n)
{
    container.reserve(n);
    PrepareRoomForWriting(container, n);
    container.resize(n);
}

// Gives back to the system the memory freed blocks leave in the allocator's
// heaps. glibc keeps what a thread frees in that thread's heap for its next
// allocations, and a preview or a run of 100,000 files frees tens of
// megabytes at once, often on a worker that will not allocate as much
// again. Runs on a worker of the global pool, after what is queued before
// it; where the allocator has no such call it does nothing.
void ReturnFreedMemorySoon();
