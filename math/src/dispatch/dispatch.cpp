// Processor detection and table initialisation, and the cached MMX query.
#include "dispatch/dispatch.h"

#include "dispatch/dispatch_internal.h"
#include "platform/cpu_features.h"
#include "platform/platform.h"

#include <array>

namespace d3dx {

using platform::CurrentPlatform;
using platform::ProcessorFeatures;

std::atomic<uint32_t> g_mathDispatchState{DISPATCH_UNINITIALIZED};
std::atomic<int32_t> g_mmxCache{kMmxNotDetermined};

namespace {

// Registry overrides under HKEY_LOCAL_MACHINE\Software\Microsoft\Direct3D.
constexpr const char* kDisablePsgpValue = "DisablePSGP";
constexpr const char* kDisableD3DXPsgpValue = "DisableD3DXPSGP";
constexpr const char* kDisableMmxValue = "DisableMMX";
// Only this exact value of the overrides turns the processor variants off.
constexpr uint32_t kDisableOptimizations = 1;

constexpr const char* kDisabledMessage = "(INFO) CPU optimization disabled. Using x87 Instructions";
// When no instruction set is available.
constexpr const char* kX87Message = "(INFO) Using x87 Instructions";

// Windows 95 family releases from 4.10 build 1373 on save the SSE state.
constexpr uint32_t kFirstSseAwareMajor = 4;
constexpr uint32_t kFirstSseAwareMinor = 10;
constexpr uint32_t kFirstSseAwareBuild = 1373;
constexpr uint32_t kBuildNumberMask = 0xFFFF;

std::atomic<const VariantSets*> g_activeVariantSets{nullptr};

// The instruction sets in the order detection prefers them.
struct InstructionSet {
    MathDispatchState state;
    uint32_t featureCode;
    const char* message;
};
constexpr InstructionSet kInstructionSets[] = {
#define D3DX_INSTRUCTION_SET(Name, State, FeatureCode, Message) \
    {DISPATCH_##Name, FeatureCode, Message},
#include "dispatch/variant_sets.def"
};

// The bits of the extended feature word taken from leaf 0x80000001.
struct ExtendedBit {
    platform::CpuFeature reported;
    ExtendedFeature feature;
};
constexpr std::array<ExtendedBit, 3> kExtendedLeafBits{{
    {platform::kCpu3DNow, kExt3DNow},
    {platform::kCpu3DNowExt, kExt3DNowExt},
    {platform::kCpuMmxExt, kExtMmxExt},
}};

void Info(const char* message) { MathDebugMessage(kInfoMessageLevel, "%s", message); }

bool Has(uint32_t word, uint32_t bits) { return (word & bits) == bits; }

uint32_t ReadDword(const char* valueName, uint32_t fallback) {
    uint32_t value = 0;
    return QueryDirect3DValue(platform::kRegDword, valueName, &value, sizeof value) ? value
                                                                                    : fallback;
}

// "DisableD3DXPSGP", when present, wins over "DisablePSGP".
uint32_t DisableSetting() {
    return ReadDword(kDisableD3DXPsgpValue, ReadDword(kDisablePsgpValue, 0));
}

MathDispatchState InstallPreferredSet() {
    const ProcessorFeatures processor = platform::ReadProcessorFeatures(CurrentPlatform());
    for (const InstructionSet& set : kInstructionSets) {
        if (ProcessorFeatureAvailable(set.featureCode, processor) != 0) {
            Info(set.message);
            InstallVariantSets(g_mathOps, set.state, ExtendedFeatureWord(processor));
            return set.state;
        }
    }
    Info(kX87Message);
    return DISPATCH_X87;
}

MathDispatchState Initialise() {
    g_mathDispatchState.store(DISPATCH_X87, std::memory_order_relaxed);
    CopyDefaultOps(g_mathOps);
    InstallX87Ops(g_mathOps);
    if (DisableSetting() == kDisableOptimizations) {
        Info(kDisabledMessage);
        return DISPATCH_X87;
    }
    const MathDispatchState state = InstallPreferredSet();
    g_mathDispatchState.store(state, std::memory_order_relaxed);
    return state;
}

// Whether a Windows 95 family release saves the SSE registers on a switch.
bool Win9xSavesSseState(const platform::OsVersionInfoA& info) {
    if (info.dwMajorVersion > kFirstSseAwareMajor) return true;
    return info.dwMajorVersion == kFirstSseAwareMajor &&
           info.dwMinorVersion >= kFirstSseAwareMinor &&
           (info.dwBuildNumber & kBuildNumberMask) >= kFirstSseAwareBuild;
}

uint32_t Win9xFeature(uint32_t code, bool noOsSseSupport, const ProcessorFeatures& processor) {
    switch (code) {
        case platform::kPfXmmiInstructionsAvailable:
            return noOsSseSupport ? 0 : CpuidSseBits(processor) & kCpuidSseBit;
        case platform::kPf3DNowInstructionsAvailable:
            return CpuidHas3DNow(processor);
        case platform::kPfXmmi64InstructionsAvailable:
            return noOsSseSupport ? 0 : CpuidSseBits(processor) & kCpuidSse2Bit;
        default:
            return 0;
    }
}

// The system answers for itself, except for SSE2, which older NT releases do
// not know: that one is read from the processor.
uint32_t NtFeature(uint32_t code, const ProcessorFeatures& processor) {
    if (code == platform::kPfXmmi64InstructionsAvailable) {
        return CpuidSseBits(processor) & kCpuidSse2Bit;
    }
    return CurrentPlatform().IsProcessorFeaturePresent(code) ? 1 : 0;
}

// 1 when the processor reports MMX, leaving the MMX state cleared.
int32_t ProbeMmx(const ProcessorFeatures& processor) {
    if (!processor.Has(platform::kCpuMmx)) return 0;
    CurrentPlatform().Emms();
    return 1;
}

// "DisableMMX" is read on every call and, when set, forces 0 for the rest of
// the process; otherwise the first answer, from probe(), is kept.
template <typename Probe>
int MmxAnswer(Probe probe) {
    if (ReadDword(kDisableMmxValue, 0) != 0) {
        g_mmxCache.store(0, std::memory_order_relaxed);
        return 0;
    }
    const int32_t cached = g_mmxCache.load(std::memory_order_relaxed);
    if (cached >= 0) return cached;
    // The answer is stored once, complete: a caller racing the first one
    // sees either "unknown" (and asks the processor itself) or the answer,
    // never a provisional 0 on an MMX processor.
    const int32_t answer = probe();
    g_mmxCache.store(answer, std::memory_order_relaxed);
    return answer;
}

bool IsKnownFeatureCode(uint32_t code) {
    return code == platform::kPfXmmiInstructionsAvailable ||
           code == platform::kPf3DNowInstructionsAvailable ||
           code == platform::kPfXmmi64InstructionsAvailable;
}

}  // namespace

MathDispatchState InitMathDispatch(int enable) {
    if (enable == 0) {
        CopyDefaultOps(g_mathOps);
        g_mathDispatchState.store(DISPATCH_UNINITIALIZED, std::memory_order_relaxed);
        return DISPATCH_UNINITIALIZED;
    }
    const uint32_t state = g_mathDispatchState.load(std::memory_order_relaxed);
    if (state != DISPATCH_UNINITIALIZED) return static_cast<MathDispatchState>(state);
    return Initialise();
}

const VariantSets& LibraryVariantSets() {
    static const VariantSets sets{{
#define D3DX_VARIANT_SET(Id, Name, Title, Cpu, State, Needs) k##Id##Variants,
#include "dispatch/variant_sets.def"
    }};
    return sets;
}

const VariantSets& ActiveVariantSets() {
    const VariantSets* sets = g_activeVariantSets.load(std::memory_order_relaxed);
    return sets ? *sets : LibraryVariantSets();
}

void SetActiveVariantSets(const VariantSets* sets) {
    g_activeVariantSets.store(sets, std::memory_order_relaxed);
}

void InstallVariants(MathOpTable& table, VariantList list) {
    for (const VariantEntry& entry : list) table.Set(entry.slot, entry.fn);
}

void CopyDefaultOps(MathOpTable& table) {
    for (int i = 0; i < kSlotCount; ++i) table.Set(i, DefaultMathOps[i]);
}

void InstallVariantSets(MathOpTable& table, MathDispatchState state, uint32_t extendedFeatures) {
    const VariantSets& lists = ActiveVariantSets();
    for (const VariantSetInfo& set : kVariantSets) {
        if (set.state == state && Has(extendedFeatures, set.needs)) {
            InstallVariants(table, lists[set.set]);
        }
    }
}

void InstallX87Ops(MathOpTable& table) { InstallVariantSets(table, DISPATCH_X87, kExtAlways); }

uint32_t ExtendedFeatureWord(const ProcessorFeatures& processor) {
    uint32_t word = kExtAlways;
    if (processor.maxStandardLeaf == 0) return word;
    word |= kExtStandardLeaves;
    if (processor.Has(platform::kCpuMmx)) word |= kExtMmx;
    if (processor.maxExtendedLeaf <= platform::kCpuidExtendedMaxLeaf) return word;
    word |= kExtExtendedLeaves;
    for (const ExtendedBit& bit : kExtendedLeafBits) {
        if (processor.Has(bit.reported)) word |= bit.feature;
    }
    return word;
}

bool QueryDirect3DValue(uint32_t expectedType, const char* valueName, void* buffer, uint32_t size) {
    platform::Platform& p = CurrentPlatform();
    platform::RegKey key = 0;
    if (p.RegOpenKeyA(platform::kHkeyLocalMachine, platform::kDirect3DKeyPath, &key) !=
        platform::kErrorSuccess) {
        return false;
    }
    uint32_t type = 0;
    uint32_t dataSize = size;
    const long result =
        p.RegQueryValueExA(key, valueName, &type, static_cast<uint8_t*>(buffer), &dataSize);
    p.RegCloseKey(key);
    return result == platform::kErrorSuccess && type == expectedType;
}

uint32_t ProcessorFeatureAvailable(uint32_t code, const ProcessorFeatures& processor) {
    if (!IsKnownFeatureCode(code)) return 0;
    platform::OsVersionInfoA info{};
    info.dwOSVersionInfoSize = platform::kOsVersionInfoSize;
    const bool versionKnown = CurrentPlatform().GetVersionExA(&info);
    switch (info.dwPlatformId) {
        case platform::kPlatformWin32Windows:
            return Win9xFeature(code, !versionKnown || !Win9xSavesSseState(info), processor);
        case platform::kPlatformWin32Nt:
            return versionKnown ? NtFeature(code, processor) : 0;
        default:
            return 0;
    }
}

// A processor without CPUID reports no standard leaves.
uint32_t CpuidSseBits(const ProcessorFeatures& processor) {
    if (processor.maxStandardLeaf == 0) return 0;
    return (processor.Has(platform::kCpuSse) ? kCpuidSseBit : 0) |
           (processor.Has(platform::kCpuSse2) ? kCpuidSse2Bit : 0);
}

uint32_t CpuidHas3DNow(const ProcessorFeatures& processor) {
    if (processor.maxExtendedLeaf < platform::kCpuidExtendedFeatureLeaf) return 0;
    return processor.Has(platform::kCpu3DNow) ? 1 : 0;
}

int ProcessorHasMMX() {
    return MmxAnswer([] { return ProbeMmx(platform::ReadProcessorFeatures(CurrentPlatform())); });
}

int ProcessorHasMMX(const ProcessorFeatures& processor) {
    return MmxAnswer([&] { return ProbeMmx(processor); });
}

}  // namespace d3dx
