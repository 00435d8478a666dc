// Simulated processors: the feature words of the D3DX_CPU syntax and the
// CPUID leaves a processor with exactly those features reports.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace d3dx::platform {

// One bit per feature word.
enum CpuFeature : uint32_t {
    kCpuMmx = 1u << 0,
    kCpuSse = 1u << 1,
    kCpuSse2 = 1u << 2,
    kCpu3DNow = 1u << 3,
    kCpu3DNowExt = 1u << 4,
    kCpuMmxExt = 1u << 5,
    kCpuAvx2 = 1u << 6,  // with the system saving the YMM registers
};
using CpuFeatureSet = uint32_t;

struct CpuFeatureParse {
    std::optional<CpuFeatureSet> features;  // empty when a word is unknown
    std::string unknownWord;
};

// Parses a comma list of mmx, sse, sse2, 3dnow, 3dnowext, mmxext, avx2 or none
// (letter case and spaces around words ignored).
CpuFeatureParse ParseCpuFeatures(std::string_view text);

// What CPUID of a processor with exactly these features returns for leaf.
// The maximum standard and extended leaves reach the feature leaves.
CpuidResult SimulatedCpuid(CpuFeatureSet features, uint32_t leaf);

// What XGETBV returns on a system running such a processor: nothing unless
// the processor has AVX2 (only then does the simulated leaf 1 report
// OSXSAVE), and then XCR0 with the x87, SSE and AVX states enabled.
std::optional<uint64_t> SimulatedXgetbv(CpuFeatureSet features, uint32_t xcr);

// Whether the platform's processor has AVX2 and its system saves the YMM
// registers: leaf 7 reports AVX2, leaf 1 reports AVX and OSXSAVE, and XCR0
// has the SSE and AVX states enabled.
bool HasAvx2WithSystemSupport(Platform& platform);

// The system's answer to IsProcessorFeaturePresent for the codes the
// library asks about, read from the platform's own CPUID leaves.
bool FeaturePresentFromCpuid(Platform& platform, uint32_t feature);

}  // namespace d3dx::platform
