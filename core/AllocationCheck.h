// AllocationCheck.h: AllocationCheck, the test that follows object creation,
// and the allocator's out-of-memory hook that start-up fills in: purge cached
// resources and retry, else hand on to the earlier handler, else give up.
#pragma once

// Reports "Out of memory.  Quit now." through FatalError when pointer is null;
// otherwise does nothing. When FatalError returns (before the windows exist,
// and under tests) the caller goes on with its null pointer.
void AllocationCheck(const void* pointer);

// Frees cached memory that nobody holds; answers whether it freed anything.
using MemoryPurge = bool (*)();
// Ends the program once nothing more can be freed. Should it return, the
// allocation fails: a nothrow creation gives null, a plain one throws
// std::bad_alloc.
using MemoryExhausted = void (*)();

// Installs the out-of-memory handler as the allocator's new-handler and
// remembers the handler it replaces. On every failed allocation the handler
//   1. calls purge (when given) and, when that freed something, returns so
//      that the allocator retries;
//   2. otherwise calls the remembered earlier handler, when there was one,
//      and returns;
//   3. otherwise calls exhausted (when given), then fails the allocation.
// Installing again only replaces purge and exhausted; the remembered handler
// stays the one from before the first installation.
void InstallOutOfMemoryHandler(MemoryPurge purge, MemoryExhausted exhausted);

// Puts back the handler that was in force before InstallOutOfMemoryHandler
// and forgets purge and exhausted. Does nothing when none is installed.
void RemoveOutOfMemoryHandler();
