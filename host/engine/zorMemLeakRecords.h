// The host's side of the leak tracker: what it recorded, read back by the
// host program and the tests, and the failures a test can ask of the global
// memory. Modules see only the calls in zorMemLeak.h.
#pragma once

#include "zorMemLeak.h"
#include "zorQDefs.h"

#include <string>
#include <vector>

extern "C" {
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
