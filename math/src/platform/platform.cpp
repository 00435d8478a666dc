// The process-wide current platform.
#include "platform/platform.h"

#include <atomic>

namespace d3dx::platform {
namespace {

// Written by SetPlatform, read by every library call that reaches the system.
std::atomic<Platform*> g_installedPlatform{nullptr};

}  // namespace

Platform& CurrentPlatform() {
    Platform* installed = g_installedPlatform.load(std::memory_order_relaxed);
    return installed ? *installed : DefaultPlatform();
}

void SetPlatform(Platform* platform) {
    g_installedPlatform.store(platform, std::memory_order_relaxed);
}

Platform* InstalledPlatform() { return g_installedPlatform.load(std::memory_order_relaxed); }

}  // namespace d3dx::platform
