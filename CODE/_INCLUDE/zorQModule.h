// The module header shared by the host's class framework and its plug-ins:
// the named parameter record, the parameter-list append, and the tracked
// allocator that reports every block to the leak tracker.
#pragma once

#include "zorMemLeak.h"
#include "zorQDefs.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// Value kinds of a parameter record.
enum ZORPARAM_TYPE {
    PARAM_TEXT = 1,
    PARAM_INT = 2,
    PARAM_FLOAT = 3,
};

// A parameter kind's name as lists and messages show it: "text", "integer"
// or "float"; "unknown" for any other value.
extern "C" ZOR_HOST_API const char* zorParam_KindName(int32_t type);

// Capacity of a parameter's name, terminator included.
constexpr std::size_t kZorParamNameSize = 64;
// Capacity of a text parameter's storage, terminator included.
constexpr std::size_t kZorParamTextSize = 128;
// Parameter arrays grow by this many entries.
constexpr int kZorParamListStep = 10;

// Source path that the list append reports to the leak tracker.
#define ZORQMODULE_SOURCE_FILE "CODE/_INCLUDE/zorQModule"

// One named parameter of a class object. The record does not own its value:
// `data` points at the field of the class object that holds it. A name longer
// than kZorParamNameSize - 1 characters is refused (std::length_error).
class ZOR_HOST_API zorParam {
public:
    zorParam(const char* paramName, char* text, int32_t extraValue);
    zorParam(const char* paramName, int32_t* value, int32_t extraValue);
    zorParam(const char* paramName, float* value, int32_t extraValue);
    zorParam(const zorParam& other);
    zorParam& operator=(const zorParam& other);
    virtual ~zorParam();

    char name[kZorParamNameSize];
    int32_t type;
    void* data;
    int32_t extra;

private:
    void Init(const char* paramName, int32_t kind, void* storage, int32_t extraValue);
};

// Zero-filled block of `size` bytes reported to the leak tracker with the
// caller's source file and line; null (reported as a failure) when none can be
// had. A size of 0 yields null and reports nothing.
inline void* TrackedAlloc(unsigned size, const char* file, int line) {
    if (size == 0) return nullptr;
    void* block = zorGlobalMem_Alloc(size);
    if (block == nullptr) {
        zorMemLeak_AllocFailed(size, file, line);
        return nullptr;
    }
    zorMemLeak_Alloc(block, file, line);
    return block;
}

// Returns a TrackedAlloc block; the leak tracker hears of it first. Null does
// nothing.
inline void TrackedFree(void* block) {
    if (block == nullptr) return;
    zorMemLeak_Free(block);
    zorGlobalMem_Free(block);
}

// Class-specific storage for a module's class objects and objects: every
// instance lives in a block of the tracked allocator, reported with the
// module's `sourceFile`, so the host's leak tracker sees it; a block that
// cannot be had makes the new-expression yield null. Put it in the class's
// public section.
#define ZORQMODULE_TRACKED_STORAGE(sourceFile)                                  \
    static void* operator new(std::size_t size) noexcept {                      \
        return TrackedAlloc(static_cast<unsigned>(size), sourceFile, __LINE__); \
    }                                                                           \
    static void operator delete(void* block) noexcept { TrackedFree(block); }

// Appends `record` to the list (`params`, `count`). The array holds `count`
// rounded up to kZorParamListStep entries and is replaced by a larger one
// exactly when `count` is a multiple of the step. If the larger array cannot
// be had, the list stays as it was, the record is deleted (the list took it
// over) and the result is false.
inline bool zorQModule_AppendParam(zorParam**& params, int32_t& count, zorParam* record) {
    if (count % kZorParamListStep == 0) {
        const unsigned entries = static_cast<unsigned>(count + kZorParamListStep);
        auto* grown = static_cast<zorParam**>(
            TrackedAlloc(entries * sizeof(zorParam*), ZORQMODULE_SOURCE_FILE, __LINE__));
        if (grown == nullptr) {
            delete record;
            return false;
        }
        if (params != nullptr) {
            std::memcpy(grown, params, static_cast<std::size_t>(count) * sizeof(zorParam*));
            TrackedFree(params);
            params = nullptr;
        }
        params = grown;
    }
    params[count] = record;
    ++count;
    return true;
}
