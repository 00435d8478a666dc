// The system platform on Linux. The Windows services the library consults
// are stood in for by files and variables:
//   D3DX_REGISTRY  a .reg export file holding the registry overrides
//   D3DX_PROFILE   a win.ini-style file holding [Direct3D] debug=<level>
//   D3DX_CPU       the processor features to report instead of the real ones
// Debugger output goes to stderr unless a sink is installed. The system
// version reads as NT family 5.1.
#pragma once

#include "platform/cpu_features.h"
#include "platform/platform.h"
#include "platform/profile_file.h"
#include "platform/registry_store.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>

namespace d3dx::platform {

struct LinuxPlatformConfig {
    std::optional<std::string> registryFile;  // D3DX_REGISTRY
    std::optional<std::string> profileFile;   // D3DX_PROFILE
    std::optional<std::string> cpuFeatures;   // D3DX_CPU
};

LinuxPlatformConfig ConfigFromEnvironment();

class LinuxPlatform final : public Platform {
public:
    // Reads the files named by the configuration. A file that cannot be
    // parsed, or an unknown processor feature, is reported on stderr and
    // treated as absent.
    explicit LinuxPlatform(const LinuxPlatformConfig& config);

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

    // Reports exactly these features from now on; nullopt = the real CPU.
    void SimulateCpu(std::optional<CpuFeatureSet> features);

    // Receives every debugger line instead of stderr; empty = stderr again.
    // Install it while no other thread writes debug output.
    void SetDebugSink(std::function<void(const char*)> sink);

private:
    RegistryStore registry_;
    ProfileFile profile_;
    // kNoSimulation, or the simulated feature set.
    std::atomic<uint64_t> simulatedCpu_;
    std::function<void(const char*)> debugSink_;
};

// Parses a D3DX_CPU value; an unknown word is reported on stderr, naming the
// word, and yields nullopt (the real processor).
std::optional<CpuFeatureSet> CpuFeaturesFromVariable(std::string_view text);

// The default platform as its concrete type, for hooks that steer it.
LinuxPlatform& SystemPlatform();

}  // namespace d3dx::platform
