// The thin layer between the math library's processor detection and the
// operating system: registry, profile, system version, processor features,
// debugger output, CPUID, XGETBV and EMMS. The calls are shaped like the Windows calls
// the detection is written against, so the selection logic reads the same on
// every system and can run over a fake in tests.
#pragma once

#include <cstdint>
#include <optional>

namespace d3dx::platform {

// Registry handles and results.
using RegKey = std::uintptr_t;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;

// Registry value types.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;

// The key every override of the library lives under.
inline constexpr const char* kDirect3DKeyPath = "Software\\Microsoft\\Direct3D";

// System version record; the size field must hold kOsVersionInfoSize.
inline constexpr uint32_t kOsVersionInfoSize = 148;
inline constexpr uint32_t kPlatformWin32Windows = 1;  // Windows 95 family
inline constexpr uint32_t kPlatformWin32Nt = 2;       // NT family

struct OsVersionInfoA {
    uint32_t dwOSVersionInfoSize;
    uint32_t dwMajorVersion;
    uint32_t dwMinorVersion;
    uint32_t dwBuildNumber;
    uint32_t dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(OsVersionInfoA) == kOsVersionInfoSize);

// Processor-feature codes of IsProcessorFeaturePresent.
inline constexpr uint32_t kPfXmmiInstructionsAvailable = 6;     // SSE
inline constexpr uint32_t kPf3DNowInstructionsAvailable = 7;    // 3DNow
inline constexpr uint32_t kPfXmmi64InstructionsAvailable = 10;  // SSE2

struct CpuidResult {
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// The system calls the library makes. Results follow the Windows calls:
// registry calls return kErrorSuccess or an error code, GetVersionExA and
// IsProcessorFeaturePresent return false for failure or absence. Cpuid
// returns nothing when the processor has no CPUID instruction.
class Platform {
public:
    virtual ~Platform() = default;

    virtual long RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) = 0;
    // data may be null to ask for the size only; *dataSize is the buffer
    // size on entry and the value's size on return.
    virtual long RegQueryValueExA(RegKey key, const char* valueName, uint32_t* type, uint8_t* data,
                                  uint32_t* dataSize) = 0;
    virtual long RegCloseKey(RegKey key) = 0;

    virtual uint32_t GetProfileIntA(const char* appName, const char* keyName,
                                    int32_t defaultValue) = 0;
    virtual bool GetVersionExA(OsVersionInfoA* info) = 0;
    virtual bool IsProcessorFeaturePresent(uint32_t feature) = 0;
    virtual void OutputDebugStringA(const char* text) = 0;

    // CPUID of the leaf (sub-leaf 0); nothing without a CPUID instruction.
    virtual std::optional<CpuidResult> Cpuid(uint32_t leaf) = 0;
    // XGETBV of the extended control register; only valid where CPUID leaf 1
    // reports that the system enabled it (OSXSAVE).
    virtual uint64_t Xgetbv(uint32_t index) = 0;
    virtual void Emms() = 0;
};

// The process-wide platform the library calls. SetPlatform(nullptr) restores
// the default one; the caller keeps ownership of anything it installs.
Platform& CurrentPlatform();
void SetPlatform(Platform* platform);
// What SetPlatform last installed; nullptr while the default is in use.
Platform* InstalledPlatform();

// The system's own implementation (environment-driven on Linux).
Platform& DefaultPlatform();

// The debugger output has one way in: every line the library writes, its
// messages and its readers' complaints alike, goes to the program's sink
// when it installed one (D3DXSetDebugOutput), else to `platform`'s debugger
// output. Install the sink before other threads use the library; a null
// sink restores the debugger output.
using DebuggerSink = void (*)(const char* line, void* context);
void SetDebuggerSink(DebuggerSink sink, void* context);
void WriteDebuggerLine(Platform& platform, const char* line);

}  // namespace d3dx::platform
