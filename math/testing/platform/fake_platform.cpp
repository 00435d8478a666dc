// The test platform.
#include "platform/fake_platform.h"

#include "dispatch/dispatch_internal.h"
#include "dispatch/test_hooks.h"

#include <string>

namespace d3dx::platform {
namespace {

const std::string kDirect3DKey = FullKeyPath(kHkeyLocalMachine, kDirect3DKeyPath);

// The fake's system version out of the box: NT family 5.1.
constexpr uint32_t kFakeMajorVersion = 5;
constexpr uint32_t kFakeMinorVersion = 1;
constexpr uint32_t kFakeBuildNumber = 2600;

}  // namespace

FakePlatform::FakePlatform() {
    SetVersion(kPlatformWin32Nt, kFakeMajorVersion, kFakeMinorVersion, kFakeBuildNumber);
    SetCpuFeatures(0);
}

void FakePlatform::SetDword(std::string_view name, uint32_t value) {
    registry_.SetValue(kDirect3DKey, name, DwordValue(value));
}

void FakePlatform::SetString(std::string_view name, std::string_view text) {
    registry_.SetValue(kDirect3DKey, name, StringValue(text));
}

void FakePlatform::SetBinary(std::string_view name, std::vector<uint8_t> bytes) {
    registry_.SetValue(kDirect3DKey, name, BinaryValue(std::move(bytes)));
}

void FakePlatform::RemoveValue(std::string_view name) { registry_.RemoveValue(kDirect3DKey, name); }

void FakePlatform::SetDebugLevel(int32_t level) {
    SetProfileInt(kProfileSection, kProfileDebugKey, level);
}

void FakePlatform::SetProfileInt(std::string_view section, std::string_view key, int32_t value) {
    profile_.SetValue(section, key, std::to_string(value));
}

void FakePlatform::SetVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build) {
    OsVersionInfoA info{};
    info.dwOSVersionInfoSize = kOsVersionInfoSize;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.dwBuildNumber = build;
    info.dwPlatformId = platformId;
    version_ = info;
}

void FakePlatform::FailVersionQuery() { version_.reset(); }

void FakePlatform::SetCpuFeatures(CpuFeatureSet features) {
    hasCpuid_ = true;
    leaves_.clear();
    for (uint32_t leaf : {kCpuidVendorLeaf, kCpuidFeatureLeaf, kCpuidStructuredFeatureLeaf,
                          kCpuidExtendedMaxLeaf, kCpuidExtendedFeatureLeaf}) {
        leaves_[leaf] = SimulatedCpuid(features, leaf);
    }
    xcr0_ = SimulatedXcr0(features);
}

void FakePlatform::SetCpuidLeaf(uint32_t leaf, CpuidResult result) {
    hasCpuid_ = true;
    leaves_[leaf] = result;
}

void FakePlatform::SetXcr0(uint64_t xcr0) { xcr0_ = xcr0; }

void FakePlatform::RemoveCpuid() { hasCpuid_ = false; }

void FakePlatform::SetFeaturePresent(uint32_t code, bool present) {
    featureOverrides_[code] = present;
}

std::vector<std::string> FakePlatform::DebugLines() const {
    std::lock_guard<std::mutex> lock(linesMutex_);
    return lines_;
}

void FakePlatform::ClearDebugLines() {
    std::lock_guard<std::mutex> lock(linesMutex_);
    lines_.clear();
}

FakeCallCounts FakePlatform::Counts() const {
    auto get = [](const std::atomic<int>& c) {
        return c.load(std::memory_order_relaxed);
    };
    return {get(counters_.regOpenKey),
            get(counters_.regQueryValue),
            get(counters_.regCloseKey),
            get(counters_.getProfileInt),
            get(counters_.getVersion),
            get(counters_.isProcessorFeaturePresent),
            get(counters_.outputDebugString),
            get(counters_.cpuid),
            get(counters_.xgetbv),
            get(counters_.emms)};
}

long FakePlatform::RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) {
    Count(counters_.regOpenKey);
    const long status = registry_.Open(root, subKey, result);
    if (status == kErrorSuccess) openKeys_.fetch_add(1, std::memory_order_relaxed);
    return status;
}

long FakePlatform::RegQueryValueExA(RegKey key, const char* valueName, uint32_t* type,
                                    uint8_t* data, uint32_t* dataSize) {
    Count(counters_.regQueryValue);
    return registry_.Query(key, valueName, type, data, dataSize);
}

long FakePlatform::RegCloseKey(RegKey key) {
    Count(counters_.regCloseKey);
    const long status = registry_.Close(key);
    if (status == kErrorSuccess) openKeys_.fetch_sub(1, std::memory_order_relaxed);
    return status;
}

uint32_t FakePlatform::GetProfileIntA(const char* appName, const char* keyName,
                                      int32_t defaultValue) {
    Count(counters_.getProfileInt);
    return profile_.GetInt(appName, keyName, defaultValue);
}

bool FakePlatform::GetVersionExA(OsVersionInfoA* info) {
    Count(counters_.getVersion);
    if (!version_ || info == nullptr || info->dwOSVersionInfoSize != kOsVersionInfoSize)
        return false;
    *info = *version_;
    return true;
}

bool FakePlatform::IsProcessorFeaturePresent(uint32_t feature) {
    Count(counters_.isProcessorFeaturePresent);
    const auto it = featureOverrides_.find(feature);
    if (it != featureOverrides_.end()) return it->second;
    return SystemReportsFeature(ReadProcessorFeatures(*this), feature);
}

void FakePlatform::OutputDebugStringA(const char* text) {
    Count(counters_.outputDebugString);
    std::lock_guard<std::mutex> lock(linesMutex_);
    lines_.emplace_back(text);
}

std::optional<CpuidResult> FakePlatform::Cpuid(uint32_t leaf) {
    Count(counters_.cpuid);
    if (!hasCpuid_) return std::nullopt;
    const auto it = leaves_.find(leaf);
    return it == leaves_.end() ? CpuidResult{} : it->second;
}

uint64_t FakePlatform::Xgetbv(uint32_t index) {
    Count(counters_.xgetbv);
    return index == kXcr0Index ? xcr0_ : 0;
}

void FakePlatform::Emms() { Count(counters_.emms); }

ScopedFakePlatform::ScopedFakePlatform() : previous_(InstalledPlatform()) {
    SetPlatform(&fake_);
    ResetMathCaches();
}

ScopedFakePlatform::~ScopedFakePlatform() {
    SetPlatform(previous_);
    ResetMathCaches();
}

}  // namespace d3dx::platform
