// The processor probes of the detection, each a reading of the decoded
// processor with its own rule.
#include "dispatch/dispatch_internal.h"
#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace d3dx {
namespace {

using platform::CpuidResult;
using platform::ProcessorFeatures;

ProcessorFeatures Simulated(platform::CpuFeatureSet features) {
    platform::FakePlatform fake;
    fake.SetCpuFeatures(features);
    return platform::ReadProcessorFeatures(fake);
}

TEST(ProcessorProbes, ExtendedFeatureWordHasTheBitsOfEveryLeafItReached) {
    EXPECT_EQ(ExtendedFeatureWord(ProcessorFeatures{}), 0x001u) << "no CPUID";
    EXPECT_EQ(ExtendedFeatureWord(Simulated(0)), 0x007u);
    EXPECT_EQ(ExtendedFeatureWord(Simulated(platform::kCpuMmx)), 0x027u);
    EXPECT_EQ(ExtendedFeatureWord(Simulated(platform::kCpuMmx | platform::kCpu3DNow)), 0x0A7u);
    EXPECT_EQ(ExtendedFeatureWord(Simulated(platform::kCpuMmx | platform::kCpu3DNow |
                                            platform::kCpu3DNowExt | platform::kCpuMmxExt)),
              0x3A7u);

    ProcessorFeatures noExtendedLeaves = Simulated(platform::kCpuMmx | platform::kCpu3DNow);
    noExtendedLeaves.maxExtendedLeaf = platform::kCpuidExtendedMaxLeaf;
    EXPECT_EQ(ExtendedFeatureWord(noExtendedLeaves), 0x023u);
}

// With no standard leaf beyond leaf 0, the word and the SSE probe stop at
// once, while the 3DNow probe looks at the extended leaves all the same.
TEST(ProcessorProbes, EachProbeAppliesItsOwnLeafRule) {
    ProcessorFeatures p =
        Simulated(platform::kCpuMmx | platform::kCpuSse | platform::kCpuSse2 | platform::kCpu3DNow);
    EXPECT_EQ(CpuidSseBits(p), kCpuidSseBit | kCpuidSse2Bit);
    EXPECT_EQ(CpuidHas3DNow(p), 1u);

    p.maxStandardLeaf = 0;
    EXPECT_EQ(CpuidSseBits(p), 0u);
    EXPECT_EQ(ExtendedFeatureWord(p), 0x001u);
    EXPECT_EQ(CpuidHas3DNow(p), 1u);

    p.maxExtendedLeaf = platform::kCpuidExtendedMaxLeaf;
    EXPECT_EQ(CpuidHas3DNow(p), 0u);
}

}  // namespace
}  // namespace d3dx
