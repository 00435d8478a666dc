// The host's leak tracker and the zero-filled global memory behind the tracked
// allocator, as a module calls them. Every block a module obtains through
// TrackedAlloc is recorded with the allocating source file and line and its
// size until it is released. What the host reads back from the tracker is in
// the engine's own zorMemLeakRecords.h.
#pragma once

#include "zorQDefs.h"

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

// Zero-filled, address-stable blocks; null when none can be had (or when the
// host asked for failures). Releasing an address this memory never handed
// out, or null, does nothing.
ZOR_HOST_API void* zorGlobalMem_Alloc(unsigned size);
ZOR_HOST_API void zorGlobalMem_Free(void* block);
}
