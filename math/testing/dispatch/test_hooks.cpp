// Hooks that switch instruction sets and capture debug output in-process.
#include "dispatch/test_hooks.h"

#include "dispatch/dispatch_internal.h"
#include "platform/forwarding_platform.h"
#include "platform/linux_platform.h"
#include "platform/text_util.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

namespace d3dx {
namespace {

// Answers the debug profile setting with a fixed level and keeps every
// debugger line; everything else goes to the platform underneath.
class CapturePlatform final : public platform::ForwardingPlatform {
public:
    CapturePlatform(platform::Platform& inner, int debugLevel)
        : ForwardingPlatform(inner), debugLevel_(debugLevel) {}

    uint32_t GetProfileIntA(const char* appName, const char* keyName,
                            int32_t defaultValue) override {
        if (IsDebugSetting(appName, keyName)) return static_cast<uint32_t>(debugLevel_);
        return ForwardingPlatform::GetProfileIntA(appName, keyName, defaultValue);
    }

    void OutputDebugStringA(const char* text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.emplace_back(text);
    }

    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
    }

private:
    static bool IsDebugSetting(const char* appName, const char* keyName) {
        return appName && keyName && platform::EqualsIgnoringCase(appName, kProfileSection) &&
               platform::EqualsIgnoringCase(keyName, kProfileDebugKey);
    }

    const int debugLevel_;
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// A live capture and the platform it replaced.
struct CaptureRecord {
    const ScopedDebugCapture* owner;
    std::unique_ptr<CapturePlatform> capture;
    platform::Platform* previous;
};

// The live captures, innermost last.
std::vector<CaptureRecord>& Captures() {
    static std::vector<CaptureRecord> captures;
    return captures;
}

std::vector<CaptureRecord>::iterator RecordOf(const ScopedDebugCapture* owner) {
    auto& captures = Captures();
    return std::find_if(captures.begin(), captures.end(),
                        [owner](const CaptureRecord& r) { return r.owner == owner; });
}

}  // namespace

void RestoreFirstCallEntries() {
    InitMathDispatch(0);
    for (int i = 0; i < kSlotCount; ++i) g_mathOps.Set(i, kFirstCallEntries[i]);
}

void ResetMmxCache() { g_mmxCache.store(kMmxNotDetermined, std::memory_order_relaxed); }

void ResetDebugLevelCache() {
    g_debugLevelCache.store(kDebugLevelNotRead, std::memory_order_relaxed);
}

MathDispatchState SelectInstructionSet(std::string_view cpuFeatures) {
    std::optional<platform::CpuFeatureSet> features;
    if (!cpuFeatures.empty())
        features = platform::CpuFeaturesFromVariable(cpuFeatures, platform::CurrentPlatform());
    platform::SystemPlatform().SimulateCpu(features);
    ResetMmxCache();
    InitMathDispatch(0);
    return InitMathDispatch(1);
}

void ResetMathCaches() {
    ResetMmxCache();
    ResetDebugLevelCache();
}

ScopedDebugCapture::ScopedDebugCapture(int debugLevel) {
    auto capture = std::make_unique<CapturePlatform>(platform::CurrentPlatform(), debugLevel);
    platform::Platform* previous = platform::InstalledPlatform();
    platform::SetPlatform(capture.get());
    Captures().push_back(CaptureRecord{this, std::move(capture), previous});
    ResetDebugLevelCache();
}

ScopedDebugCapture::~ScopedDebugCapture() {
    const auto it = RecordOf(this);
    platform::SetPlatform(it->previous);
    Captures().erase(it);
    ResetDebugLevelCache();
}

std::vector<std::string> ScopedDebugCapture::Lines() const {
    return RecordOf(this)->capture->Lines();
}

void ScopedDebugCapture::Clear() { RecordOf(this)->capture->Clear(); }

}  // namespace d3dx
