// Hooks for the library's tests and benchmarks, which run its variant sets
// side by side in one process and start over from the load-time state. They
// live in the testing library, not in the shipped one. None of them is
// thread-safe: call them while no other thread uses the library.
#pragma once

#include "dispatch/dispatch.h"

#include <string>
#include <string_view>
#include <vector>

namespace d3dx {

// Re-runs processor detection as if the processor reported exactly the given
// features, in the syntax of the D3DX_CPU variable ("sse,sse2",
// "mmx,3dnow,3dnowext,mmxext", "none"); an empty string means the real
// processor. Returns the state the detection chose.
MathDispatchState SelectInstructionSet(std::string_view cpuFeatures);

// Puts the table back into its load-time state: not initialised, every slot
// holding its first-call entry.
void RestoreFirstCallEntries();

// Forget the cached MMX answer, the cached debug level, or both, so that the
// next query reads the platform again.
void ResetMmxCache();
void ResetDebugLevelCache();
void ResetMathCaches();

// While alive, the "debug" profile setting reads as debugLevel and every line
// sent to the debugger output is collected here instead of going to stderr.
class ScopedDebugCapture {
public:
    explicit ScopedDebugCapture(int debugLevel);
    ~ScopedDebugCapture();
    ScopedDebugCapture(const ScopedDebugCapture&) = delete;
    ScopedDebugCapture& operator=(const ScopedDebugCapture&) = delete;

    // Each line as written, "D3DX: ...\r\n".
    std::vector<std::string> Lines() const;
    void Clear();
};

}  // namespace d3dx
