// A platform for tests: every answer is set by the test, every call counted,
// every debugger line recorded. Install it with SetPlatform(&fake) and put
// the default back with SetPlatform(nullptr) (ScopedFakePlatform does both).
//
// Out of the box it is an NT family 5.1 system with no registry key, no
// profile (every profile read returns its default) and a processor with no
// features (CPUID present, leaves all zero beyond the maximum leaves).
// IsProcessorFeaturePresent answers from the fake's CPUID leaves unless the
// test overrides a code.
#pragma once

#include "platform/cpu_features.h"
#include "platform/platform.h"
#include "platform/profile_file.h"
#include "platform/registry_store.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace d3dx::platform {

struct FakeCallCounts {
    int regOpenKey = 0;
    int regQueryValue = 0;
    int regCloseKey = 0;
    int getProfileInt = 0;
    int getVersion = 0;
    int isProcessorFeaturePresent = 0;
    int outputDebugString = 0;
    int cpuid = 0;
    int xgetbv = 0;
    int emms = 0;
};

class FakePlatform final : public Platform {
public:
    FakePlatform();

    // Values of HKEY_LOCAL_MACHINE\Software\Microsoft\Direct3D; setting one
    // creates the key.
    void SetDword(std::string_view name, uint32_t value);
    void SetString(std::string_view name, std::string_view text);
    void SetBinary(std::string_view name, std::vector<uint8_t> bytes);
    void RemoveValue(std::string_view name);
    RegistryStore& Registry() { return registry_; }

    // GetProfileIntA of [Direct3D] debug.
    void SetDebugLevel(int32_t level);
    void SetProfileInt(std::string_view section, std::string_view key, int32_t value);

    void SetVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build);
    void FailVersionQuery();

    // The processor: exactly these features (D3DX_CPU meaning), or leaves
    // set one by one, or no CPUID instruction at all. SetXcr0 sets what
    // XGETBV reports for XCR0 (SetCpuFeatures sets it too).
    void SetCpuFeatures(CpuFeatureSet features);
    void SetCpuidLeaf(uint32_t leaf, CpuidResult result);
    void SetXcr0(uint64_t xcr0);
    void RemoveCpuid();
    void SetFeaturePresent(uint32_t code, bool present);

    std::vector<std::string> DebugLines() const;
    void ClearDebugLines();
    FakeCallCounts Counts() const;
    // Keys opened and not yet closed.
    int OpenKeys() const { return openKeys_.load(std::memory_order_relaxed); }

    long RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) override;
    long RegQueryValueExA(RegKey key, const char* valueName, uint32_t* type, uint8_t* data,
                          uint32_t* dataSize) override;
    long RegCloseKey(RegKey key) override;
    uint32_t GetProfileIntA(const char* appName, const char* keyName,
                            int32_t defaultValue) override;
    bool GetVersionExA(OsVersionInfoA* info) override;
    bool IsProcessorFeaturePresent(uint32_t feature) override;
    void OutputDebugStringA(const char* text) override;
    std::optional<CpuidResult> Cpuid(uint32_t leaf) override;
    uint64_t Xgetbv(uint32_t index) override;
    void Emms() override;

private:
    struct Counters {
        std::atomic<int> regOpenKey{0}, regQueryValue{0}, regCloseKey{0}, getProfileInt{0},
            getVersion{0}, isProcessorFeaturePresent{0}, outputDebugString{0}, cpuid{0}, xgetbv{0},
            emms{0};
    };
    static void Count(std::atomic<int>& counter) {
        counter.fetch_add(1, std::memory_order_relaxed);
    }

    RegistryStore registry_;
    ProfileFile profile_;
    std::optional<OsVersionInfoA> version_;
    bool hasCpuid_ = true;
    std::map<uint32_t, CpuidResult> leaves_;
    uint64_t xcr0_ = 0;
    std::map<uint32_t, bool> featureOverrides_;

    mutable std::mutex linesMutex_;
    std::vector<std::string> lines_;
    Counters counters_;
    std::atomic<int> openKeys_{0};
};

// Installs a fake for the lifetime of the scope, then puts back the platform
// that was installed before and forgets the library's cached answers.
class ScopedFakePlatform {
public:
    ScopedFakePlatform();
    ~ScopedFakePlatform();
    ScopedFakePlatform(const ScopedFakePlatform&) = delete;
    ScopedFakePlatform& operator=(const ScopedFakePlatform&) = delete;

    FakePlatform& operator*() { return fake_; }
    FakePlatform* operator->() { return &fake_; }

private:
    FakePlatform fake_;
    Platform* previous_;
};

}  // namespace d3dx::platform
