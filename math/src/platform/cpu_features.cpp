// CPUID decoding, the D3DX_CPU words and the leaves of a simulated processor.
#include "platform/cpu_features.h"

#include "platform/text_util.h"

#include <array>

namespace d3dx::platform {
namespace {

// Where each feature is reported: one bit of one register of one leaf. Both
// the decoder and the simulated processor read this table.
struct FeatureBit {
    CpuFeature feature;
    uint32_t leaf;
    uint32_t CpuidResult::*reg;
    uint32_t bit;
};
constexpr std::array<FeatureBit, 7> kFeatureBits{{
    {kCpuMmx, kCpuidFeatureLeaf, &CpuidResult::edx, kEdxMmx},
    {kCpuSse, kCpuidFeatureLeaf, &CpuidResult::edx, kEdxSse},
    {kCpuSse2, kCpuidFeatureLeaf, &CpuidResult::edx, kEdxSse2},
    {kCpuAvx2, kCpuidStructuredFeatureLeaf, &CpuidResult::ebx, kEbxAvx2},
    {kCpu3DNow, kCpuidExtendedFeatureLeaf, &CpuidResult::edx, kEdx3DNow},
    {kCpu3DNowExt, kCpuidExtendedFeatureLeaf, &CpuidResult::edx, kEdx3DNowExt},
    {kCpuMmxExt, kCpuidExtendedFeatureLeaf, &CpuidResult::edx, kEdxMmxExt},
}};

// The register state AVX2 code needs the system to save.
constexpr uint64_t kYmmState = kXcr0SseState | kXcr0AvxState;

// The highest leaves a simulated processor reports: enough for every leaf
// of the table.
constexpr uint32_t kSimulatedMaxStandardLeaf = kCpuidStructuredFeatureLeaf;
constexpr uint32_t kSimulatedMaxExtendedLeaf = kCpuidExtendedFeatureLeaf;

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

CpuFeatureSet FeaturesOfLeaf(uint32_t leaf, const CpuidResult& r) {
    CpuFeatureSet features = 0;
    for (const FeatureBit& f : kFeatureBits) {
        if (f.leaf == leaf && (r.*f.reg & f.bit) != 0) features |= f.feature;
    }
    return features;
}

CpuidResult LeafOfFeatures(uint32_t leaf, CpuFeatureSet features) {
    CpuidResult r;
    for (const FeatureBit& f : kFeatureBits) {
        if (f.leaf == leaf && (features & f.feature) != 0) r.*f.reg |= f.bit;
    }
    return r;
}

// A leaf of a processor that has CPUID; all zeros should the platform lose
// the instruction between two leaves.
CpuidResult Leaf(Platform& platform, uint32_t leaf) {
    return platform.Cpuid(leaf).value_or(CpuidResult{});
}

// AVX2 counts only where the system saves the YMM registers: it must have
// enabled XGETBV (OSXSAVE) and set both state bits in XCR0.
bool SystemSavesYmmState(Platform& platform, const CpuidResult& featureLeaf) {
    if ((featureLeaf.ecx & kEcxOsxsave) == 0) return false;
    return (platform.Xgetbv(kXcr0Index) & kYmmState) == kYmmState;
}

std::optional<CpuFeatureSet> LookUpWord(std::string_view word) {
    for (const FeatureWord& entry : kFeatureWords) {
        if (EqualsIgnoringCase(entry.word, word)) return entry.bits;
    }
    return std::nullopt;
}

}  // namespace

ProcessorFeatures ReadProcessorFeatures(Platform& platform) {
    ProcessorFeatures p;
    const std::optional<CpuidResult> vendor = platform.Cpuid(kCpuidVendorLeaf);
    if (!vendor) return p;
    p.hasCpuid = true;
    p.maxStandardLeaf = vendor->eax;
    const CpuidResult featureLeaf = Leaf(platform, kCpuidFeatureLeaf);
    p.features |= FeaturesOfLeaf(kCpuidFeatureLeaf, featureLeaf);
    if (p.maxStandardLeaf >= kCpuidStructuredFeatureLeaf) {
        CpuFeatureSet structured = FeaturesOfLeaf(kCpuidStructuredFeatureLeaf,
                                                  Leaf(platform, kCpuidStructuredFeatureLeaf));
        if ((structured & kCpuAvx2) && !SystemSavesYmmState(platform, featureLeaf)) {
            structured &= ~CpuFeatureSet{kCpuAvx2};
        }
        p.features |= structured;
    }
    p.maxExtendedLeaf = Leaf(platform, kCpuidExtendedMaxLeaf).eax;
    if (p.maxExtendedLeaf >= kCpuidExtendedFeatureLeaf) {
        p.features |=
            FeaturesOfLeaf(kCpuidExtendedFeatureLeaf, Leaf(platform, kCpuidExtendedFeatureLeaf));
    }
    return p;
}

bool SystemReportsFeature(const ProcessorFeatures& processor, uint32_t code) {
    switch (code) {
        case kPfXmmiInstructionsAvailable:
            return processor.Has(kCpuSse);
        case kPfXmmi64InstructionsAvailable:
            return processor.Has(kCpuSse2);
        case kPf3DNowInstructionsAvailable:
            return processor.Has(kCpu3DNow);
        default:
            return false;
    }
}

CpuFeatureParse ParseCpuFeatures(std::string_view text) {
    const std::string_view whole = text;
    CpuFeatureSet features = 0;
    bool none = false;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view word = TrimSpaces(text.substr(0, comma));
        const std::optional<CpuFeatureSet> bits = LookUpWord(word);
        if (!bits) return {std::nullopt, "unknown processor feature \"" + std::string(word) + "\""};
        features |= *bits;
        none = none || *bits == 0;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (none && features != 0) {
        return {std::nullopt,
                "\"none\" cannot be combined with features in \"" + std::string(whole) + "\""};
    }
    return {features, {}};
}

CpuidResult SimulatedCpuid(CpuFeatureSet features, uint32_t leaf) {
    CpuidResult r = LeafOfFeatures(leaf, features);
    switch (leaf) {
        case kCpuidVendorLeaf:
            r.eax = kSimulatedMaxStandardLeaf;
            break;
        case kCpuidFeatureLeaf:
            if (features & kCpuAvx2) r.ecx |= kEcxOsxsave;
            break;
        case kCpuidExtendedMaxLeaf:
            r.eax = kSimulatedMaxExtendedLeaf;
            break;
        default:
            break;
    }
    return r;
}

uint64_t SimulatedXcr0(CpuFeatureSet features) {
    return kXcr0X87State | kXcr0SseState | ((features & kCpuAvx2) ? kXcr0AvxState : 0);
}

}  // namespace d3dx::platform
