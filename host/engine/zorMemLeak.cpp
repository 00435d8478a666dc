// The leak tracker and the global memory behind the tracked allocator.
#include "zorMemLeak.h"

#include "zorMemLeakRecords.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <unordered_map>

namespace {

// ---- global memory: zero-filled blocks, each remembered with its size ----

struct GlobalMemory {
    std::mutex lock;
    std::unordered_map<const void*, unsigned> sizes;
};

GlobalMemory& Memory() {
    static GlobalMemory memory;
    return memory;
}

std::atomic<int> failuresRequested{0};

// Consumes one requested failure; true when this allocation must fail.
bool TakeRequestedFailure() {
    int pending = failuresRequested.load(std::memory_order_relaxed);
    while (pending > 0) {
        if (failuresRequested.compare_exchange_weak(pending, pending - 1,
                                                    std::memory_order_relaxed))
            return true;
    }
    return false;
}

// ---- leak tracker ----

struct BlockRecord {
    std::string file;
    int line;
    unsigned size;
};

struct Tracker {
    std::mutex lock;
    std::map<const void*, BlockRecord> blocks;
    std::vector<zorMemLeakFailure> failures;
    std::vector<const void*> unknownFrees;
};

Tracker& TheTracker() {
    static Tracker tracker;
    return tracker;
}

std::string SourceOf(const char* file) {
    return file != nullptr ? std::string(file) : std::string("(unknown)");
}

std::string OutstandingLine(const zorMemLeakBlock& block) {
    char line[512];
    std::snprintf(line, sizeof line, "%s:%d: %u bytes at %p not released\n", block.file.c_str(),
                  block.line, block.size, block.address);
    return line;
}

std::string UnknownFreeLine(const void* address) {
    char line[96];
    std::snprintf(line, sizeof line, "release of unknown block %p\n", address);
    return line;
}

}  // namespace

extern "C" {

void* zorGlobalMem_Alloc(unsigned size) {
    if (size == 0 || TakeRequestedFailure()) return nullptr;
    void* block = std::calloc(1, size);
    if (block == nullptr) return nullptr;
    GlobalMemory& memory = Memory();
    std::lock_guard<std::mutex> guard(memory.lock);
    memory.sizes[block] = size;
    return block;
}

void zorGlobalMem_Free(void* block) {
    if (block == nullptr) return;
    GlobalMemory& memory = Memory();
    {
        std::lock_guard<std::mutex> guard(memory.lock);
        if (memory.sizes.erase(block) == 0) return;  // not one of ours: leave it alone
    }
    std::free(block);
}

unsigned zorGlobalMem_Size(const void* block) {
    GlobalMemory& memory = Memory();
    std::lock_guard<std::mutex> guard(memory.lock);
    const auto found = memory.sizes.find(block);
    return found != memory.sizes.end() ? found->second : 0;
}

int zorMemLeak_Alloc(void* block, const char* file, int line) {
    if (block == nullptr) return ZORMEMLEAK_NULL_BLOCK;
    const unsigned size = zorGlobalMem_Size(block);
    Tracker& tracker = TheTracker();
    std::lock_guard<std::mutex> guard(tracker.lock);
    const bool fresh = tracker.blocks.find(block) == tracker.blocks.end();
    tracker.blocks[block] = BlockRecord{SourceOf(file), line, size};
    return fresh ? ZORMEMLEAK_OK : ZORMEMLEAK_DUPLICATE;
}

int zorMemLeak_AllocFailed(unsigned size, const char* file, int line) {
    Tracker& tracker = TheTracker();
    std::lock_guard<std::mutex> guard(tracker.lock);
    tracker.failures.push_back(zorMemLeakFailure{size, SourceOf(file), line});
    return ZORMEMLEAK_OK;
}

int zorMemLeak_Free(void* block) {
    if (block == nullptr) return ZORMEMLEAK_NULL_BLOCK;
    Tracker& tracker = TheTracker();
    std::lock_guard<std::mutex> guard(tracker.lock);
    if (tracker.blocks.erase(block) == 0) {
        tracker.unknownFrees.push_back(block);
        return ZORMEMLEAK_UNKNOWN_BLOCK;
    }
    return ZORMEMLEAK_OK;
}

}  // extern "C"

void zorGlobalMem_FailNext(int count) {
    failuresRequested.store(count > 0 ? count : 0, std::memory_order_relaxed);
}

std::vector<zorMemLeakBlock> zorMemLeak_Outstanding() {
    Tracker& tracker = TheTracker();
    std::lock_guard<std::mutex> guard(tracker.lock);
    std::vector<zorMemLeakBlock> outstanding;
    for (const auto& [address, record] : tracker.blocks)
        outstanding.push_back(zorMemLeakBlock{address, record.file, record.line, record.size});
    return outstanding;
}

std::vector<zorMemLeakFailure> zorMemLeak_Failures() {
    Tracker& tracker = TheTracker();
    std::lock_guard<std::mutex> guard(tracker.lock);
    return tracker.failures;
}

std::vector<const void*> zorMemLeak_UnknownFrees() {
    Tracker& tracker = TheTracker();
    std::lock_guard<std::mutex> guard(tracker.lock);
    return tracker.unknownFrees;
}

std::string zorMemLeak_Report() {
    std::string report;
    for (const zorMemLeakBlock& block : zorMemLeak_Outstanding()) report += OutstandingLine(block);
    for (const void* address : zorMemLeak_UnknownFrees()) report += UnknownFreeLine(address);
    return report;
}

void zorMemLeak_ClearEvents() {
    Tracker& tracker = TheTracker();
    std::lock_guard<std::mutex> guard(tracker.lock);
    tracker.failures.clear();
    tracker.unknownFrees.clear();
}
