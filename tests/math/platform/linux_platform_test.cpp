// The system platform: the registry file, the profile file and the forced
// processor, each named by its variable, and loud reports of bad input.
#include "platform/linux_platform.h"

#include "d3dx_math.h"
#include "dispatch/dispatch_internal.h"

#include <cpuid.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace d3dx::platform {
namespace {

// A file in the temporary directory, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& text)
        : path_(::testing::TempDir() + "d3dx_platform_" + std::to_string(::getpid()) + "_" +
                std::to_string(counter_++)) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::string path_;
};

// Installs a platform for the scope.
class Installed {
public:
    explicit Installed(Platform& p) { SetPlatform(&p); }
    ~Installed() { SetPlatform(nullptr); }
};

constexpr const char* kRegistryText =
    "Windows Registry Editor Version 5.00\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Direct3D]\n"
    "\"DisablePSGP\"=dword:00000001\n"
    "\"Binary\"=hex:01,00,00,00\n";

TEST(LinuxPlatform, ReadsRegistryOverridesFromTheFileWithTheirTypes) {
    const TempFile file(kRegistryText);
    LinuxPlatform platform({file.Path(), std::nullopt, std::nullopt});
    const Installed installed(platform);
    uint32_t value = 0;
    EXPECT_TRUE(QueryDirect3DValue(kRegDword, "DisablePSGP", &value, sizeof value));
    EXPECT_EQ(value, 1u);
    EXPECT_FALSE(QueryDirect3DValue(kRegDword, "Binary", &value, sizeof value));
    EXPECT_FALSE(QueryDirect3DValue(kRegDword, "Missing", &value, sizeof value));
}

// A platform whose debugger output is standard error, where its complaints
// can be read.
LinuxPlatformConfig Loud(LinuxPlatformConfig config) {
    config.debugOutput = "stderr";
    return config;
}

TEST(LinuxPlatform, NoVariableOrNoFileMeansNoKey) {
    for (const std::optional<std::string>& path :
         {std::optional<std::string>{}, std::optional<std::string>{"/nonexistent/d3dx.reg"}}) {
        ::testing::internal::CaptureStderr();
        LinuxPlatform platform({path, std::nullopt, std::nullopt});
        ::testing::internal::GetCapturedStderr();
        RegKey key = 0;
        EXPECT_EQ(platform.RegOpenKeyA(kHkeyLocalMachine, kDirect3DKeyPath, &key),
                  kErrorFileNotFound);
    }
}

// A folder or a missing file in D3DX_REGISTRY or D3DX_PROFILE: one line on
// stderr naming the variable, the path and the problem.
TEST(LinuxPlatform, NamesAFolderOrAMissingFileOnce) {
    struct Case {
        std::string path;
        const char* problem;
    };
    const Case cases[] = {
        {::testing::TempDir(), "folder"},
        {::testing::TempDir() + "d3dx_no_such_file.reg", "no such file"},
    };
    for (const Case& c : cases) {
        for (bool registry : {true, false}) {
            SCOPED_TRACE(c.path + (registry ? " as registry" : " as profile"));
            ::testing::internal::CaptureStderr();
            const LinuxPlatform platform(
                Loud({registry ? std::optional(c.path) : std::nullopt,
                      registry ? std::nullopt : std::optional(c.path), std::nullopt}));
            const std::string err = ::testing::internal::GetCapturedStderr();
            EXPECT_EQ(err.find(registry ? "D3DX_REGISTRY: " : "D3DX_PROFILE: "), 0u) << err;
            EXPECT_NE(err.find(c.path + ": "), std::string::npos) << err;
            EXPECT_NE(err.find(c.problem), std::string::npos) << err;
            EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
        }
    }
}

TEST(LinuxPlatform, AnEmptyVariableNamesNothing) {
    const char* variable = "D3DX_PROFILE";
    const char* before = std::getenv(variable);
    const std::optional<std::string> saved =
        before ? std::optional<std::string>(before) : std::nullopt;
    ::setenv(variable, "", 1);
    EXPECT_FALSE(ConfigFromEnvironment().profileFile.has_value());
    if (saved) {
        ::setenv(variable, saved->c_str(), 1);
    } else {
        ::unsetenv(variable);
    }
}

TEST(LinuxPlatform, ReportsAMalformedRegistryFileOnceAndIgnoresIt) {
    const TempFile file(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Direct3D]\n\"A\"=dword:zz\n");
    ::testing::internal::CaptureStderr();
    LinuxPlatform platform(Loud({file.Path(), std::nullopt, std::nullopt}));
    RegKey key = 0;
    EXPECT_EQ(platform.RegOpenKeyA(kHkeyLocalMachine, kDirect3DKeyPath, &key), kErrorFileNotFound);
    EXPECT_EQ(platform.RegOpenKeyA(kHkeyLocalMachine, kDirect3DKeyPath, &key), kErrorFileNotFound);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find(file.Path() + ":3: "), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "reported once: " << err;
}

TEST(LinuxPlatform, ReadsTheDebugLevelFromTheProfile) {
    const TempFile file("[Direct3D]\ndebug=3\n");
    LinuxPlatform platform({std::nullopt, file.Path(), std::nullopt});
    EXPECT_EQ(platform.GetProfileIntA("Direct3D", "debug", 0), 3u);
    LinuxPlatform without({std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(without.GetProfileIntA("Direct3D", "debug", 0), 0u);
}

TEST(LinuxPlatform, ReportsAnNtFamilySystem) {
    LinuxPlatform platform({});
    OsVersionInfoA info{};
    info.dwOSVersionInfoSize = kOsVersionInfoSize;
    ASSERT_TRUE(platform.GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, kPlatformWin32Nt);
    OsVersionInfoA wrongSize{};
    EXPECT_FALSE(platform.GetVersionExA(&wrongSize));
}

TEST(LinuxPlatform, AForcedProcessorSteersCpuidAndFeatureQueries) {
    LinuxPlatform platform({std::nullopt, std::nullopt, std::string("sse,3dnow")});
    EXPECT_EQ(platform.Cpuid(kCpuidFeatureLeaf)->edx, kEdxSse);
    EXPECT_TRUE(platform.IsProcessorFeaturePresent(kPfXmmiInstructionsAvailable));
    EXPECT_FALSE(platform.IsProcessorFeaturePresent(kPfXmmi64InstructionsAvailable));
    EXPECT_TRUE(platform.IsProcessorFeaturePresent(kPf3DNowInstructionsAvailable));
    EXPECT_FALSE(platform.IsProcessorFeaturePresent(2));
}

// A forced avx2 is honoured only where the real processor can run AVX2 code,
// since the box filter would bind routines that fault elsewhere.
TEST(LinuxPlatform, AForcedAvx2ProcessorSavesTheAvxRegisters) {
    LinuxPlatform platform({std::nullopt, std::nullopt, std::string("sse,sse2,avx2")});
    const CpuFeatureSet realAvx2 = __builtin_cpu_supports("avx2") ? CpuFeatureSet{kCpuAvx2} : 0;
    EXPECT_EQ(ReadProcessorFeatures(platform).features, kCpuSse | kCpuSse2 | realAvx2);
    LinuxPlatform without({std::nullopt, std::nullopt, std::string("sse,sse2")});
    EXPECT_FALSE(ReadProcessorFeatures(without).Has(kCpuAvx2));
}

// The real processor, decoded through CPUID and XGETBV, agrees with the
// compiler's own reading of it.
TEST(LinuxPlatform, DecodesTheRealProcessorAsTheCompilerDoes) {
    LinuxPlatform platform({});
    const ProcessorFeatures real = ReadProcessorFeatures(platform);
    EXPECT_TRUE(real.hasCpuid);
    EXPECT_EQ(real.Has(kCpuMmx), __builtin_cpu_supports("mmx") != 0);
    EXPECT_EQ(real.Has(kCpuSse), __builtin_cpu_supports("sse") != 0);
    EXPECT_EQ(real.Has(kCpuSse2), __builtin_cpu_supports("sse2") != 0);
    EXPECT_EQ(real.Has(kCpuAvx2), __builtin_cpu_supports("avx2") != 0);
}

TEST(LinuxPlatform, AnUnknownProcessorWordIsLoudAndTheRealProcessorUsed) {
    ::testing::internal::CaptureStderr();
    LinuxPlatform platform(Loud({std::nullopt, std::nullopt, std::string("mmx,turbo")}));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("D3DX_CPU"), std::string::npos) << err;
    EXPECT_NE(err.find("\"turbo\""), std::string::npos) << err;
    CpuidResult real;
    __cpuid(kCpuidFeatureLeaf, real.eax, real.ebx, real.ecx, real.edx);
    EXPECT_EQ(platform.Cpuid(kCpuidFeatureLeaf)->edx, real.edx);
}

TEST(LinuxPlatform, AContradictoryProcessorListIsLoudAndTheRealProcessorUsed) {
    ::testing::internal::CaptureStderr();
    LinuxPlatform platform(Loud({std::nullopt, std::nullopt, std::string("none,sse2")}));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("D3DX_CPU: "), 0u) << err;
    EXPECT_NE(err.find("\"none\""), std::string::npos) << err;
    CpuidResult real;
    __cpuid(kCpuidFeatureLeaf, real.eax, real.ebx, real.ecx, real.edx);
    EXPECT_EQ(platform.Cpuid(kCpuidFeatureLeaf)->edx, real.edx);
}

// The program's sink takes every line of debugger output: the library's,
// and what its readers say of the files and words they were given.
TEST(LinuxPlatform, TheProgramsSinkTakesTheLinesAndTheComplaints) {
    static std::string seen;
    seen.clear();
    D3DXSetDebugOutput([](const char* line, void*) { seen += line; }, nullptr);
    const TempFile file("REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=dword:zz\n");
    ::testing::internal::CaptureStderr();
    LinuxPlatform platform(Loud({file.Path(), std::nullopt, std::string("mmx,turbo")}));
    WriteDebuggerLine(platform, "D3DX: x\r\n");
    const std::string err = ::testing::internal::GetCapturedStderr();
    D3DXSetDebugOutput(nullptr, nullptr);
    EXPECT_EQ(err, "");
    EXPECT_EQ(seen.find(file.Path() + ":3: "), 0u) << seen;
    EXPECT_NE(seen.find("D3DX_CPU: unknown"), std::string::npos) << seen;
    EXPECT_NE(seen.find("D3DX: x\r\n"), std::string::npos) << seen;
}

LinuxPlatformConfig DebugOutputConfig(std::optional<std::string> value) {
    LinuxPlatformConfig config;
    config.debugOutput = std::move(value);
    return config;
}

// Without a debugger a process's debugger output goes nowhere: unset and
// "none" drop the lines; "stderr" writes them there; a path appends them.
TEST(LinuxPlatform, DebugOutputGoesWhereTheVariableSays) {
    ::testing::internal::CaptureStderr();
    for (const std::optional<std::string>& quiet :
         {std::optional<std::string>{}, std::optional<std::string>{"none"}}) {
        LinuxPlatform platform(DebugOutputConfig(quiet));
        platform.OutputDebugStringA("D3DX: dropped\r\n");
    }
    const TempFile file("D3DX: kept from before\r\n");
    {
        LinuxPlatform platform(DebugOutputConfig(file.Path()));
        platform.OutputDebugStringA("D3DX: appended\r\n");
    }
    LinuxPlatform loud(DebugOutputConfig("stderr"));
    loud.OutputDebugStringA("D3DX: to stderr\r\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "D3DX: to stderr\r\n");
    std::ifstream in(file.Path(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text, "D3DX: kept from before\r\nD3DX: appended\r\n");
}

TEST(LinuxPlatform, AnUnwritableDebugOutputFileIsLoudAndStderrUsed) {
    ::testing::internal::CaptureStderr();
    LinuxPlatform platform(DebugOutputConfig("/nonexistent/d3dx/debug.log"));
    platform.OutputDebugStringA("D3DX: x\r\n");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("D3DX_DEBUG_OUTPUT: cannot open \"/nonexistent/d3dx/debug.log\""),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("D3DX: x\r\n"), std::string::npos) << err;
}

}  // namespace
}  // namespace d3dx::platform
