// The D3DX_CPU feature words and the CPUID leaves they simulate.
#include "platform/cpu_features.h"

#include <gtest/gtest.h>

namespace d3dx::platform {
namespace {

TEST(CpuFeatures, EachWordSetsItsBitInItsLeaf) {
    struct Case {
        const char* word;
        uint32_t leaf;
        uint32_t edxBit;
    };
    const Case cases[] = {
        {"mmx", kCpuidFeatureLeaf, 1u << 23},
        {"sse", kCpuidFeatureLeaf, 1u << 25},
        {"sse2", kCpuidFeatureLeaf, 1u << 26},
        {"3dnow", kCpuidExtendedFeatureLeaf, 1u << 31},
        {"3dnowext", kCpuidExtendedFeatureLeaf, 1u << 30},
        {"mmxext", kCpuidExtendedFeatureLeaf, 1u << 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const CpuFeatureParse parsed = ParseCpuFeatures(c.word);
        ASSERT_TRUE(parsed.features.has_value());
        EXPECT_EQ(SimulatedCpuid(*parsed.features, c.leaf).edx, c.edxBit);
        const uint32_t otherLeaf =
            c.leaf == kCpuidFeatureLeaf ? kCpuidExtendedFeatureLeaf : kCpuidFeatureLeaf;
        EXPECT_EQ(SimulatedCpuid(*parsed.features, otherLeaf).edx, 0u);
    }
}

TEST(CpuFeatures, MaximumLeavesReachTheFeatureLeaves) {
    EXPECT_GE(SimulatedCpuid(0, kCpuidVendorLeaf).eax, kCpuidFeatureLeaf);
    EXPECT_GE(SimulatedCpuid(0, kCpuidExtendedMaxLeaf).eax, kCpuidExtendedFeatureLeaf);
}

TEST(CpuFeatures, ParsesListsNoneAndRejectsUnknownWords) {
    EXPECT_EQ(ParseCpuFeatures(" SSE , sse2,MMX").features, kCpuSse | kCpuSse2 | kCpuMmx);
    EXPECT_EQ(ParseCpuFeatures("none").features, CpuFeatureSet{0});
    const CpuFeatureParse unknown = ParseCpuFeatures("sse,avx");
    EXPECT_FALSE(unknown.features.has_value());
    EXPECT_EQ(unknown.unknownWord, "avx");
    EXPECT_FALSE(ParseCpuFeatures("sse,,sse2").features.has_value());
}

}  // namespace
}  // namespace d3dx::platform
