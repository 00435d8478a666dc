// The pieces of processor detection and table setup below the public
// dispatch calls: the state word, the installers, the registry and feature
// queries, and the first-call entries. Used by the dispatch code and by the
// library's own tests and benchmarks.
#pragma once

#include "dispatch/dispatch.h"
#include "dispatch/op_table.h"
#include "platform/cpu_features.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace d3dx {

// The current MathDispatchState; DISPATCH_UNINITIALIZED until the first call.
extern std::atomic<uint32_t> g_mathDispatchState;

// The profile setting that holds the debug level.
inline constexpr const char* kProfileSection = "Direct3D";
inline constexpr const char* kProfileDebugKey = "debug";
inline constexpr int32_t kDefaultDebugLevel = 0;

// Level of the initialiser's "(INFO)" lines.
inline constexpr uint32_t kInfoMessageLevel = 0;

// Bits of CpuidSseBits().
inline constexpr uint32_t kCpuidSseBit = 0x4;
inline constexpr uint32_t kCpuidSse2Bit = 0x8;

// Bits of the extended feature word; a variant set is written only when the
// word has all the bits it needs.
enum ExtendedFeature : uint32_t {
    kExtAlways = 0x001,
    kExtStandardLeaves = 0x002,  // CPUID reports at least one standard leaf
    kExtExtendedLeaves = 0x004,  // CPUID reports leaves beyond 0x80000000
    kExtMmx = 0x020,             // leaf 1 EDX bit 23
    kExt3DNow = 0x080,           // leaf 0x80000001 EDX bit 31
    kExt3DNowExt = 0x100,        // leaf 0x80000001 EDX bit 30
    kExtMmxExt = 0x200,          // leaf 0x80000001 EDX bit 22
};

// One row of dispatch/variant_sets.def.
struct VariantSetInfo {
    VariantSet set;
    const char* id;     // "Sse2": test instances are named after it
    const char* name;   // "sse2"
    const char* title;  // "SSE2"
    const char* cpu;    // "sse,sse2"
    MathDispatchState state;
    uint32_t needs;  // extended feature word bits
};

inline constexpr std::array<VariantSetInfo, kVariantSetCount> kVariantSets{{
#define D3DX_VARIANT_SET(Id, Name, Title, Cpu, State, Needs) \
    {VariantSet::k##Id, #Id, Name, Title, Cpu, State, Needs},
#include "dispatch/variant_sets.def"
}};

// The variant lists the installers write. Normally the library's own sets;
// tests may substitute lists of their own.
const VariantSets& LibraryVariantSets();
const VariantSets& ActiveVariantSets();
// nullptr restores the library's sets. The caller keeps ownership.
void SetActiveVariantSets(const VariantSets* sets);

// Writes every entry of the list over the table; other slots keep theirs.
void InstallVariants(MathOpTable& table, VariantList list);
void CopyDefaultOps(MathOpTable& table);
// Writes, in list order, the active lists of the sets of this state whose
// needs the extended feature word meets.
void InstallVariantSets(MathOpTable& table, MathDispatchState state, uint32_t extendedFeatures);
// The x87 alternates: the sets of DISPATCH_X87, which need nothing.
void InstallX87Ops(MathOpTable& table);

// Reads one value of HKEY_LOCAL_MACHINE\Software\Microsoft\Direct3D; true
// only when the value exists, fits and has the expected type.
bool QueryDirect3DValue(uint32_t expectedType, const char* valueName, void* buffer, uint32_t size);

// Nonzero when the feature (6 SSE, 7 3DNow, 10 SSE2) is usable on this
// processor and system; 0 for any other code.
uint32_t ProcessorFeatureAvailable(uint32_t code, const platform::ProcessorFeatures& processor);

// The processor probes, each a reading of the decoded processor with its own
// rule: the SSE bits need a standard leaf beyond leaf 0, the 3DNow bit the
// extended feature leaf, and the extended feature word records which leaves
// it found along with MMX and the three bits of leaf 0x80000001.
uint32_t CpuidSseBits(const platform::ProcessorFeatures& processor);
uint32_t CpuidHas3DNow(const platform::ProcessorFeatures& processor);
uint32_t ExtendedFeatureWord(const platform::ProcessorFeatures& processor);

// ProcessorHasMMX over a processor already decoded: the same "DisableMMX"
// rule and the same kept answer, probed from this record.
int ProcessorHasMMX(const platform::ProcessorFeatures& processor);

// The entry each slot holds before initialisation, in slot order.
extern const std::array<OpFn, kSlotCount> kFirstCallEntries;

// The MMX cache: kMmxNotDetermined until the processor has been asked, then
// 0 or 1.
inline constexpr int32_t kMmxNotDetermined = -1;
extern std::atomic<int32_t> g_mmxCache;

// The debug level cache: kDebugLevelNotRead until the profile has been read.
inline constexpr int32_t kDebugLevelNotRead = -1;
extern std::atomic<int32_t> g_debugLevelCache;

}  // namespace d3dx
