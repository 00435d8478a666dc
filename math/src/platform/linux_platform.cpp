// The system platform on Linux: files and variables stand in for the
// registry, the profile and the processor; CPUID and EMMS run for real.
#include "platform/linux_platform.h"

#include "platform/reg_file.h"

#include <cpuid.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace d3dx::platform {
namespace {

constexpr const char* kRegistryVariable = "D3DX_REGISTRY";
constexpr const char* kProfileVariable = "D3DX_PROFILE";
constexpr const char* kCpuVariable = "D3DX_CPU";
constexpr const char* kDebugOutputVariable = "D3DX_DEBUG_OUTPUT";
constexpr const char* kNoDebugOutput = "none";
constexpr const char* kStderrDebugOutput = "stderr";

// The system version this platform reports: NT family, 5.1.
constexpr uint32_t kReportedMajorVersion = 5;
constexpr uint32_t kReportedMinorVersion = 1;
constexpr uint32_t kReportedBuildNumber = 2600;

// simulatedCpu_ holds a feature set, or this marker for the real processor.
constexpr uint64_t kNoSimulation = ~uint64_t{0};

// Larger files are refused rather than read: the settings fit in a few
// lines, and a runaway file must not exhaust the memory of the host program.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{16} << 20;
constexpr const char* kMaxFileSizeText = "16 MiB";

// An unset or empty variable names nothing.
std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

// The bytes of a file, or what keeps it from being read.
struct FileBytes {
    std::optional<std::string> bytes;
    std::string problem;
};

FileBytes Problem(std::string problem) { return {std::nullopt, std::move(problem)}; }

FileBytes ReadWholeFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return Problem("no such file");
    if (error) return Problem(error.message());
    if (fs::is_directory(status)) return Problem("is a folder, not a file");
    if (!fs::is_regular_file(status)) return Problem("is not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in) return Problem("cannot be opened");
    std::string bytes;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
        if (bytes.size() > kMaxFileBytes) {
            return Problem(std::string("is larger than ") + kMaxFileSizeText);
        }
    }
    if (in.bad()) return Problem("cannot be read");
    return {std::move(bytes), {}};
}

// Says what is wrong with a setting, as one line of debugger output.
void Complain(Platform& platform, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Complain(Platform& platform, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0) return;
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(line.data(), line.size(), format, args);
    va_end(args);
    WriteDebuggerLine(platform, line.c_str());
}

// One line for a file a variable names but that cannot be used.
void ComplainOfUnusableFile(Platform& platform, const char* variable, const std::string& path,
                            const std::string& problem, const char* consequence) {
    Complain(platform, "%s: %s: %s; %s\n", variable, path.c_str(), problem.c_str(), consequence);
}

RegistryStore LoadRegistry(const std::optional<std::string>& path, Platform& platform) {
    if (!path) return {};
    const FileBytes file = ReadWholeFile(*path);
    if (!file.bytes) {
        ComplainOfUnusableFile(platform, kRegistryVariable, *path, file.problem,
                               "no registry overrides apply");
        return {};
    }
    RegFileParse parsed = ParseRegFile(*file.bytes);
    if (!parsed.store) {
        Complain(platform, "%s:%d: %s\n", path->c_str(), parsed.error.line,
                 parsed.error.message.c_str());
        return {};
    }
    return std::move(*parsed.store);
}

ProfileFile LoadProfile(const std::optional<std::string>& path, Platform& platform) {
    if (!path) return {};
    const FileBytes file = ReadWholeFile(*path);
    if (!file.bytes) {
        ComplainOfUnusableFile(platform, kProfileVariable, *path, file.problem,
                               "the profile settings keep their defaults");
        return {};
    }
    return ProfileFile::Parse(*file.bytes);
}

// Whether the processor this runs on has AVX2 with its registers saved by the
// system, read through the same decoder as every other feature.
bool RealProcessorHasAvx2() {
    LinuxPlatform real(LinuxPlatformConfig{});
    return ReadProcessorFeatures(real).Has(kCpuAvx2);
}

// A simulated avx2 would bind routines that fault on a processor without it,
// so the word is dropped there, with a note.
CpuFeatureSet WithoutUnavailableAvx2(CpuFeatureSet features, Platform& platform) {
    if ((features & kCpuAvx2) == 0 || RealProcessorHasAvx2()) return features;
    Complain(platform, "%s: this processor has no AVX2; \"avx2\" is not reported\n", kCpuVariable);
    return features & ~CpuFeatureSet{kCpuAvx2};
}

uint64_t EncodeSimulation(std::optional<CpuFeatureSet> features, Platform& platform) {
    return features ? uint64_t{WithoutUnavailableAvx2(*features, platform)} : kNoSimulation;
}

// Sub-leaf 0 for the leaves that have sub-leaves; the others ignore ECX.
CpuidResult RealCpuid(uint32_t leaf) {
    CpuidResult r;
    __cpuid_count(leaf, 0, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

uint64_t RealXgetbv(uint32_t index) {
    uint32_t low = 0;
    uint32_t high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(index));
    return (uint64_t{high} << 32) | low;
}

}  // namespace

LinuxPlatformConfig ConfigFromEnvironment() {
    return {Variable(kRegistryVariable), Variable(kProfileVariable), Variable(kCpuVariable),
            Variable(kDebugOutputVariable)};
}

std::optional<CpuFeatureSet> CpuFeaturesFromVariable(std::string_view text, Platform& platform) {
    const CpuFeatureParse parsed = ParseCpuFeatures(text);
    if (!parsed.features) {
        Complain(platform, "%s: %s; using the real processor\n", kCpuVariable,
                 parsed.error.c_str());
    }
    return parsed.features;
}

// A file that cannot be opened is said on standard error, which takes the
// lines instead: the program asked for them.
LinuxPlatform::DebugDestination::DebugDestination(const std::optional<std::string>& setting) {
    const std::string& output = setting.value_or(kNoDebugOutput);
    if (output == kNoDebugOutput) return;
    kind = Kind::kStderr;
    if (output == kStderrDebugOutput) return;
    file.reset(std::fopen(output.c_str(), "a"));
    if (file) {
        kind = Kind::kFile;
        return;
    }
    std::fprintf(stderr, "%s: cannot open \"%s\"; debug output goes to stderr\n",
                 kDebugOutputVariable, output.c_str());
}

LinuxPlatform::LinuxPlatform(const LinuxPlatformConfig& config)
    : debugOutput_(config.debugOutput),
      registry_(LoadRegistry(config.registryFile, *this)),
      profile_(LoadProfile(config.profileFile, *this)),
      simulatedCpu_(EncodeSimulation(
          config.cpuFeatures ? CpuFeaturesFromVariable(*config.cpuFeatures, *this) : std::nullopt,
          *this)) {}

long LinuxPlatform::RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) {
    return registry_.Open(root, subKey, result);
}

long LinuxPlatform::RegQueryValueExA(RegKey key, const char* valueName, uint32_t* type,
                                     uint8_t* data, uint32_t* dataSize) {
    return registry_.Query(key, valueName, type, data, dataSize);
}

long LinuxPlatform::RegCloseKey(RegKey key) { return registry_.Close(key); }

uint32_t LinuxPlatform::GetProfileIntA(const char* appName, const char* keyName,
                                       int32_t defaultValue) {
    return profile_.GetInt(appName, keyName, defaultValue);
}

bool LinuxPlatform::GetVersionExA(OsVersionInfoA* info) {
    if (info == nullptr || info->dwOSVersionInfoSize != kOsVersionInfoSize) return false;
    info->dwMajorVersion = kReportedMajorVersion;
    info->dwMinorVersion = kReportedMinorVersion;
    info->dwBuildNumber = kReportedBuildNumber;
    info->dwPlatformId = kPlatformWin32Nt;
    return true;
}

bool LinuxPlatform::IsProcessorFeaturePresent(uint32_t feature) {
    return SystemReportsFeature(ReadProcessorFeatures(*this), feature);
}

void LinuxPlatform::OutputDebugStringA(const char* text) {
    switch (debugOutput_.kind) {
        case DebugDestination::Kind::kNone:
            return;
        case DebugDestination::Kind::kStderr:
            std::fputs(text, stderr);
            return;
        case DebugDestination::Kind::kFile:
            std::fputs(text, debugOutput_.file.get());
            std::fflush(debugOutput_.file.get());
            return;
    }
}

std::optional<CpuidResult> LinuxPlatform::Cpuid(uint32_t leaf) {
    const uint64_t simulated = simulatedCpu_.load(std::memory_order_relaxed);
    if (simulated != kNoSimulation) {
        return SimulatedCpuid(static_cast<CpuFeatureSet>(simulated), leaf);
    }
    return RealCpuid(leaf);
}

uint64_t LinuxPlatform::Xgetbv(uint32_t index) {
    const uint64_t simulated = simulatedCpu_.load(std::memory_order_relaxed);
    if (simulated == kNoSimulation) return RealXgetbv(index);
    return index == kXcr0Index ? SimulatedXcr0(static_cast<CpuFeatureSet>(simulated)) : 0;
}

void LinuxPlatform::Emms() { __asm__ volatile("emms"); }

void LinuxPlatform::SimulateCpu(std::optional<CpuFeatureSet> features) {
    simulatedCpu_.store(EncodeSimulation(features, *this), std::memory_order_relaxed);
}

LinuxPlatform& SystemPlatform() {
    static LinuxPlatform platform(ConfigFromEnvironment());
    return platform;
}

Platform& DefaultPlatform() { return SystemPlatform(); }

}  // namespace d3dx::platform
