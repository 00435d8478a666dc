// Feature-word parsing and the CPUID leaves of a simulated processor.
#include "platform/cpu_features.h"

#include "platform/text_util.h"

#include <array>

namespace d3dx::platform {
namespace {

struct FeatureWord {
    std::string_view word;
    CpuFeatureSet bits;
};

constexpr std::array<FeatureWord, 8> kFeatureWords{{
    {"mmx", kCpuMmx},
    {"sse", kCpuSse},
    {"sse2", kCpuSse2},
    {"3dnow", kCpu3DNow},
    {"3dnowext", kCpu3DNowExt},
    {"mmxext", kCpuMmxExt},
    {"avx2", kCpuAvx2},
    {"none", 0},
}};

struct FeatureBit {
    CpuFeature feature;
    uint32_t edxBit;
};
constexpr std::array<FeatureBit, 3> kStandardEdxBits{
    {{kCpuMmx, kEdxMmx}, {kCpuSse, kEdxSse}, {kCpuSse2, kEdxSse2}}};
constexpr std::array<FeatureBit, 3> kExtendedEdxBits{
    {{kCpu3DNow, kEdx3DNow}, {kCpu3DNowExt, kEdx3DNowExt}, {kCpuMmxExt, kEdxMmxExt}}};

std::optional<CpuFeatureSet> LookUpWord(std::string_view word) {
    const std::string lower = ToLower(word);
    for (const FeatureWord& entry : kFeatureWords) {
        if (entry.word == lower) return entry.bits;
    }
    return std::nullopt;
}

template <size_t N>
uint32_t EdxFor(CpuFeatureSet features, const std::array<FeatureBit, N>& bits) {
    uint32_t edx = 0;
    for (const FeatureBit& bit : bits) {
        if (features & bit.feature) edx |= bit.edxBit;
    }
    return edx;
}

bool HasEdxBit(const std::optional<CpuidResult>& r, uint32_t edxBit) {
    return r && (r->edx & edxBit) != 0;
}

// Leaf 1 ECX and leaf 7 EBX of a processor with AVX2 whose system saves
// its registers.
constexpr uint32_t kAvx2EcxBits = kEcxOsxsave | kEcxAvx;
constexpr uint64_t kAvx2Xcr0States = kXcr0SseState | kXcr0AvxState;
// XCR0 bit 0: the x87 state, always saved.
constexpr uint64_t kXcr0X87State = 1u << 0;

bool HasAllBits(uint64_t word, uint64_t bits) { return (word & bits) == bits; }

bool Has3DNow(Platform& platform) {
    const std::optional<CpuidResult> max = platform.Cpuid(kCpuidExtendedMaxLeaf);
    if (!max || max->eax < kCpuidExtendedFeatureLeaf) return false;
    return HasEdxBit(platform.Cpuid(kCpuidExtendedFeatureLeaf), kEdx3DNow);
}

}  // namespace

CpuFeatureParse ParseCpuFeatures(std::string_view text) {
    CpuFeatureSet features = 0;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view word = TrimSpaces(text.substr(0, comma));
        const std::optional<CpuFeatureSet> bits = LookUpWord(word);
        if (!bits) return {std::nullopt, std::string(word)};
        features |= *bits;
        if (comma == std::string_view::npos) return {features, {}};
        text.remove_prefix(comma + 1);
    }
}

CpuidResult SimulatedCpuid(CpuFeatureSet features, uint32_t leaf) {
    CpuidResult r;
    switch (leaf) {
        case kCpuidVendorLeaf:
            r.eax = kCpuidStructuredFeatureLeaf;
            break;
        case kCpuidFeatureLeaf:
            r.edx = EdxFor(features, kStandardEdxBits);
            if (features & kCpuAvx2) r.ecx = kAvx2EcxBits;
            break;
        case kCpuidStructuredFeatureLeaf:
            if (features & kCpuAvx2) r.ebx = kEbxAvx2;
            break;
        case kCpuidExtendedMaxLeaf:
            r.eax = kCpuidExtendedFeatureLeaf;
            break;
        case kCpuidExtendedFeatureLeaf:
            r.edx = EdxFor(features, kExtendedEdxBits);
            break;
        default:
            break;
    }
    return r;
}

std::optional<uint64_t> SimulatedXgetbv(CpuFeatureSet features, uint32_t xcr) {
    if ((features & kCpuAvx2) == 0) return std::nullopt;
    return xcr == kXcrEnabledFeatures ? kXcr0X87State | kAvx2Xcr0States : 0;
}

bool HasAvx2WithSystemSupport(Platform& platform) {
    const std::optional<CpuidResult> max = platform.Cpuid(kCpuidVendorLeaf);
    if (!max || max->eax < kCpuidStructuredFeatureLeaf) return false;
    const std::optional<CpuidResult> leaf1 = platform.Cpuid(kCpuidFeatureLeaf);
    if (!leaf1 || !HasAllBits(leaf1->ecx, kAvx2EcxBits)) return false;
    const std::optional<uint64_t> xcr0 = platform.Xgetbv(kXcrEnabledFeatures);
    if (!xcr0 || !HasAllBits(*xcr0, kAvx2Xcr0States)) return false;
    const std::optional<CpuidResult> leaf7 = platform.Cpuid(kCpuidStructuredFeatureLeaf);
    return leaf7 && (leaf7->ebx & kEbxAvx2) != 0;
}

bool FeaturePresentFromCpuid(Platform& platform, uint32_t feature) {
    switch (feature) {
        case kPfXmmiInstructionsAvailable:
            return HasEdxBit(platform.Cpuid(kCpuidFeatureLeaf), kEdxSse);
        case kPfXmmi64InstructionsAvailable:
            return HasEdxBit(platform.Cpuid(kCpuidFeatureLeaf), kEdxSse2);
        case kPf3DNowInstructionsAvailable:
            return Has3DNow(platform);
        default:
            return false;
    }
}

}  // namespace d3dx::platform
