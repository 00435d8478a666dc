// The host's leak tracker and the zero-filled global memory behind the tracked
// allocator. Every block a module obtains through TrackedAlloc is recorded with
// the allocating source file and line and its size until it is released.
#pragma once

#include "zorQDefs.h"

#include <string>
#include <vector>

// Results of the leak tracker calls.
enum ZORMEMLEAK_RESULT {
    ZORMEMLEAK_OK = 0,
    ZORMEMLEAK_NULL_BLOCK = -1,     // a null address was reported
    ZORMEMLEAK_UNKNOWN_BLOCK = -2,  // a release of a block the tracker never recorded
    ZORMEMLEAK_DUPLICATE = -3,      // an allocation of an address already recorded
};

extern "C" {
// Records a new block at `block`, allocated at file:line.
ZOR_HOST_API int zorMemLeak_Alloc(void* block, const char* file, int line);
// Records an allocation of `size` bytes at file:line that could not be had.
ZOR_HOST_API int zorMemLeak_AllocFailed(unsigned size, const char* file, int line);
// Records the release of `block`; an unknown block is reported, never fatal.
ZOR_HOST_API int zorMemLeak_Free(void* block);

// Zero-filled, address-stable blocks; null when none can be had (or when a
// test asked for failures). Releasing an address this memory never handed
// out, or null, does nothing.
ZOR_HOST_API void* zorGlobalMem_Alloc(unsigned size);
ZOR_HOST_API void zorGlobalMem_Free(void* block);
// Size of a live block, 0 for an unknown address.
ZOR_HOST_API unsigned zorGlobalMem_Size(const void* block);
}

// One outstanding block as the tracker knows it.
struct zorMemLeakBlock {
    const void* address;
    std::string file;
    int line;
    unsigned size;
};

// One failed allocation as the tracker knows it.
struct zorMemLeakFailure {
    unsigned size;
    std::string file;
    int line;
};

// Host-side inspection of the tracker (host program and tests).
ZOR_HOST_API std::vector<zorMemLeakBlock> zorMemLeak_Outstanding();
ZOR_HOST_API std::vector<zorMemLeakFailure> zorMemLeak_Failures();
ZOR_HOST_API std::vector<const void*> zorMemLeak_UnknownFrees();
// One line per outstanding block, "file:line: size bytes at address",
// followed by one line per unknown release; empty when nothing is wrong.
ZOR_HOST_API std::string zorMemLeak_Report();
// Forgets failures and unknown releases (outstanding blocks stay recorded).
ZOR_HOST_API void zorMemLeak_ClearEvents();
// Makes the next `count` global memory allocations fail.
ZOR_HOST_API void zorGlobalMem_FailNext(int count);
