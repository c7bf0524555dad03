// AllocationCount.h: counts the heap allocations of a benchmark program. It
// replaces the global operator new and delete, so a program includes it in
// exactly one source (each benchmark is one). Allocations are counted while
// CountAllocations is on.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace benchalloc {
inline std::atomic<bool> gCounting{false};
inline std::atomic<int64_t> gAllocations{0};

// Starts counting from 0.
inline void Start()
{
    gAllocations.store(0);
    gCounting.store(true);
}
// Stops counting and answers the count since Start.
inline int64_t Stop()
{
    gCounting.store(false);
    return gAllocations.load();
}
}  // namespace benchalloc

void* operator new(std::size_t size)
{
    if (benchalloc::gCounting.load(std::memory_order_relaxed))
        benchalloc::gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

// The allocations come from malloc above, which the compiler cannot see.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
