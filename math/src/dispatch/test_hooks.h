// Hooks for tests, benchmarks and tools that run the library's variant sets
// side by side in one process. None of them is thread-safe: call them while
// no other thread uses the library.
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

// Forgets the cached MMX answer and the cached debug level, so that the next
// query reads the platform again.
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
