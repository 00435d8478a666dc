// The process-wide current platform.
#include "platform/platform.h"

#include <atomic>

namespace d3dx::platform {
namespace {

// Written by SetPlatform, read by every library call that reaches the system.
std::atomic<Platform*> g_installedPlatform{nullptr};

// The program's debugger sink; the context is written before the sink and
// read after it.
std::atomic<DebuggerSink> g_debuggerSink{nullptr};
std::atomic<void*> g_debuggerContext{nullptr};

}  // namespace

Platform& CurrentPlatform() {
    Platform* installed = g_installedPlatform.load(std::memory_order_relaxed);
    return installed ? *installed : DefaultPlatform();
}

void SetPlatform(Platform* platform) {
    g_installedPlatform.store(platform, std::memory_order_relaxed);
}

Platform* InstalledPlatform() { return g_installedPlatform.load(std::memory_order_relaxed); }

void SetDebuggerSink(DebuggerSink sink, void* context) {
    g_debuggerContext.store(context, std::memory_order_relaxed);
    g_debuggerSink.store(sink, std::memory_order_release);
}

void WriteDebuggerLine(Platform& platform, const char* line) {
    if (const DebuggerSink sink = g_debuggerSink.load(std::memory_order_acquire)) {
        sink(line, g_debuggerContext.load(std::memory_order_relaxed));
    } else {
        platform.OutputDebugStringA(line);
    }
}

}  // namespace d3dx::platform
