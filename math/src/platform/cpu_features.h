// The processor's features: the one place CPUID is decoded. The CPUID leaves
// and bits the library reads are listed once; ReadProcessorFeatures decodes
// them into a ProcessorFeatures record, and SimulatedCpuid encodes the same
// bits for a processor made up from the words of the D3DX_CPU syntax.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace d3dx::platform {

// CPUID leaves.
inline constexpr uint32_t kCpuidVendorLeaf = 0;                 // EAX: highest standard leaf
inline constexpr uint32_t kCpuidFeatureLeaf = 1;                // EDX, ECX: feature flags
inline constexpr uint32_t kCpuidStructuredFeatureLeaf = 7;      // sub-leaf 0, EBX: feature flags
inline constexpr uint32_t kCpuidExtendedMaxLeaf = 0x80000000u;  // EAX: highest extended leaf
inline constexpr uint32_t kCpuidExtendedFeatureLeaf = 0x80000001u;  // EDX: feature flags

// Feature bits of those leaves.
inline constexpr uint32_t kEdxMmx = 1u << 23;       // leaf 1
inline constexpr uint32_t kEdxSse = 1u << 25;       // leaf 1
inline constexpr uint32_t kEdxSse2 = 1u << 26;      // leaf 1
inline constexpr uint32_t kEcxOsxsave = 1u << 27;   // leaf 1: the system enabled XGETBV
inline constexpr uint32_t kEbxAvx2 = 1u << 5;       // leaf 7
inline constexpr uint32_t kEdx3DNow = 1u << 31;     // leaf 0x80000001
inline constexpr uint32_t kEdx3DNowExt = 1u << 30;  // leaf 0x80000001
inline constexpr uint32_t kEdxMmxExt = 1u << 22;    // leaf 0x80000001

// XCR0, the register XGETBV reads at this index, says which register state
// the system saves on a task switch; AVX needs the SSE and AVX states.
inline constexpr uint32_t kXcr0Index = 0;
inline constexpr uint64_t kXcr0X87State = 1u << 0;
inline constexpr uint64_t kXcr0SseState = 1u << 1;
inline constexpr uint64_t kXcr0AvxState = 1u << 2;

// One bit per feature, each named by its word in the D3DX_CPU syntax.
enum CpuFeature : uint32_t {
    kCpuMmx = 1u << 0,
    kCpuSse = 1u << 1,
    kCpuSse2 = 1u << 2,
    kCpu3DNow = 1u << 3,
    kCpu3DNowExt = 1u << 4,
    kCpuMmxExt = 1u << 5,
    kCpuAvx2 = 1u << 6,  // AVX2 instructions and a system that saves their registers
};
using CpuFeatureSet = uint32_t;

// What the processor reports, read once. A leaf the processor does not have
// contributes no features: leaf 7 is read only when the highest standard leaf
// reaches it, leaf 0x80000001 only when the highest extended leaf does. Leaf 1
// is read whenever there is a CPUID instruction, so each reading decides for
// itself whether it also wants the standard leaves reported in leaf 0.
struct ProcessorFeatures {
    bool hasCpuid = false;
    uint32_t maxStandardLeaf = 0;
    uint32_t maxExtendedLeaf = 0;
    CpuFeatureSet features = 0;

    bool Has(CpuFeatureSet wanted) const { return (features & wanted) == wanted; }
};

// Executes CPUID (and XGETBV, when the system enabled it) through the
// platform and decodes every feature the library knows.
ProcessorFeatures ReadProcessorFeatures(Platform& platform);

// The system's answer to IsProcessorFeaturePresent for the codes the
// library asks about (SSE, SSE2, 3DNow), read from the record.
bool SystemReportsFeature(const ProcessorFeatures& processor, uint32_t code);

struct CpuFeatureParse {
    std::optional<CpuFeatureSet> features;  // empty when the list is not valid
    std::string error;                      // then: what is wrong with it
};

// Parses a comma list of mmx, sse, sse2, 3dnow, 3dnowext, mmxext, avx2 or
// none (letter case and spaces around words ignored), held in memory. An
// unknown word is an error, and so is "none" together with a feature.
CpuFeatureParse ParseCpuFeatures(std::string_view text);

// What CPUID of a processor with exactly these features returns for leaf.
// The maximum standard and extended leaves reach every leaf read above.
CpuidResult SimulatedCpuid(CpuFeatureSet features, uint32_t leaf);
// What XGETBV of XCR0 returns on a system running that processor.
uint64_t SimulatedXcr0(CpuFeatureSet features);

}  // namespace d3dx::platform
