// The system platform on Linux. The Windows services the library consults
// are stood in for by files and variables:
//   D3DX_REGISTRY  a .reg export file holding the registry overrides
//   D3DX_PROFILE   a win.ini-style file holding [Direct3D] debug=<level>
//   D3DX_CPU       the processor features to report instead of the real ones
//   D3DX_DEBUG_OUTPUT  where debugger output goes: "stderr" is standard
//                  error, any other value but "none" names a file it is
//                  appended to; "none" or unset drops it, as a process
//                  without a debugger does
// Debugger output is the library's lines and the readers' complaints about
// these variables alike; the program's sink (D3DXSetDebugOutput) takes all
// of it before any of these. The system version reads as NT family 5.1.
#pragma once

#include "platform/cpu_features.h"
#include "platform/platform.h"
#include "platform/profile_file.h"
#include "platform/registry_store.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace d3dx::platform {

struct LinuxPlatformConfig {
    std::optional<std::string> registryFile;  // D3DX_REGISTRY
    std::optional<std::string> profileFile;   // D3DX_PROFILE
    std::optional<std::string> cpuFeatures;   // D3DX_CPU
    // D3DX_DEBUG_OUTPUT; defaulted, so a configuration may leave it out.
    std::optional<std::string> debugOutput = std::nullopt;
};

LinuxPlatformConfig ConfigFromEnvironment();

class LinuxPlatform final : public Platform {
public:
    // Reads the files named by the configuration. A file that cannot be
    // parsed, or an unknown processor feature, is said on the debugger
    // output and treated as absent; a debug output file that cannot be
    // opened is said on stderr, which is used instead.
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

private:
    // Where debugger output goes: nowhere, standard error, or a file. Set
    // first, so the readers below can say what is wrong with their files.
    struct DebugDestination {
        enum class Kind {
            kNone,
            kStderr,
            kFile,
        };
        struct FileCloser {
            void operator()(std::FILE* file) const { std::fclose(file); }
        };
        explicit DebugDestination(const std::optional<std::string>& setting);
        Kind kind = Kind::kNone;
        std::unique_ptr<std::FILE, FileCloser> file;
    };

    DebugDestination debugOutput_;
    RegistryStore registry_;
    ProfileFile profile_;
    // kNoSimulation, or the simulated feature set.
    std::atomic<uint64_t> simulatedCpu_;
};

// Parses a D3DX_CPU value; an unknown word is said on `platform`'s debugger
// output, naming the word, and yields nullopt (the real processor).
std::optional<CpuFeatureSet> CpuFeaturesFromVariable(std::string_view text, Platform& platform);

// The default platform as its concrete type, for hooks that steer it.
LinuxPlatform& SystemPlatform();

}  // namespace d3dx::platform
