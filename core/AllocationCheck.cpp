// AllocationCheck.cpp: the allocation check and the out-of-memory hook.
#include "core/AllocationCheck.h"

#include <new>

#include "core/ErrorReport.h"

namespace {

bool gInstalled = false;
MemoryPurge gPurge = nullptr;
MemoryExhausted gExhausted = nullptr;
std::new_handler gEarlier = nullptr;   // the handler in force before ours

void HandleOutOfMemory()
{
    if (gPurge != nullptr && gPurge())
        return;                        // something was freed: retry
    if (gEarlier != nullptr) {
        gEarlier();
        return;
    }
    if (gExhausted != nullptr)
        gExhausted();
    // Nothing left to free and nobody ended the program: let the allocation
    // fail the standard way, which a nothrow creation turns into null.
    throw std::bad_alloc();
}

}  // namespace

void AllocationCheck(const void* pointer)
{
    if (pointer == nullptr)
        FatalError("Out of memory.  Quit now.");
}

void InstallOutOfMemoryHandler(MemoryPurge purge, MemoryExhausted exhausted)
{
    gPurge = purge;
    gExhausted = exhausted;
    if (!gInstalled) {
        gEarlier = std::set_new_handler(&HandleOutOfMemory);
        gInstalled = true;
    }
}

void RemoveOutOfMemoryHandler()
{
    if (!gInstalled)
        return;
    std::set_new_handler(gEarlier);
    gEarlier = nullptr;
    gPurge = nullptr;
    gExhausted = nullptr;
    gInstalled = false;
}
