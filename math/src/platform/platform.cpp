// The process-wide current platform and the forwarding decorator.
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

long ForwardingPlatform::RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) {
    return inner_.RegOpenKeyA(root, subKey, result);
}

long ForwardingPlatform::RegQueryValueExA(RegKey key, const char* valueName, uint32_t* type,
                                          uint8_t* data, uint32_t* dataSize) {
    return inner_.RegQueryValueExA(key, valueName, type, data, dataSize);
}

long ForwardingPlatform::RegCloseKey(RegKey key) { return inner_.RegCloseKey(key); }

uint32_t ForwardingPlatform::GetProfileIntA(const char* appName, const char* keyName,
                                            int32_t defaultValue) {
    return inner_.GetProfileIntA(appName, keyName, defaultValue);
}

bool ForwardingPlatform::GetVersionExA(OsVersionInfoA* info) { return inner_.GetVersionExA(info); }

bool ForwardingPlatform::IsProcessorFeaturePresent(uint32_t feature) {
    return inner_.IsProcessorFeaturePresent(feature);
}

void ForwardingPlatform::OutputDebugStringA(const char* text) { inner_.OutputDebugStringA(text); }

std::optional<CpuidResult> ForwardingPlatform::Cpuid(uint32_t leaf) { return inner_.Cpuid(leaf); }

uint64_t ForwardingPlatform::Xgetbv(uint32_t index) { return inner_.Xgetbv(index); }

void ForwardingPlatform::Emms() { inner_.Emms(); }

}  // namespace d3dx::platform
