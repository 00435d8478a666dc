// The D3DX_CPU feature words, the CPUID leaves they simulate, and the one
// decoder that reads them back.
#include "platform/cpu_features.h"

#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace d3dx::platform {
namespace {

TEST(CpuFeatures, EachWordSetsItsBitInItsLeaf) {
    struct Case {
        const char* word;
        uint32_t leaf;
        uint32_t CpuidResult::*reg;
        uint32_t bit;
    };
    const Case cases[] = {
        {"mmx", kCpuidFeatureLeaf, &CpuidResult::edx, 1u << 23},
        {"sse", kCpuidFeatureLeaf, &CpuidResult::edx, 1u << 25},
        {"sse2", kCpuidFeatureLeaf, &CpuidResult::edx, 1u << 26},
        {"avx2", kCpuidStructuredFeatureLeaf, &CpuidResult::ebx, 1u << 5},
        {"3dnow", kCpuidExtendedFeatureLeaf, &CpuidResult::edx, 1u << 31},
        {"3dnowext", kCpuidExtendedFeatureLeaf, &CpuidResult::edx, 1u << 30},
        {"mmxext", kCpuidExtendedFeatureLeaf, &CpuidResult::edx, 1u << 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const CpuFeatureParse parsed = ParseCpuFeatures(c.word);
        ASSERT_TRUE(parsed.features.has_value());
        EXPECT_EQ(SimulatedCpuid(*parsed.features, c.leaf).*c.reg, c.bit);
        for (uint32_t other :
             {kCpuidFeatureLeaf, kCpuidStructuredFeatureLeaf, kCpuidExtendedFeatureLeaf}) {
            if (other == c.leaf) continue;
            EXPECT_EQ(SimulatedCpuid(*parsed.features, other).edx, 0u);
            EXPECT_EQ(SimulatedCpuid(*parsed.features, other).ebx, 0u);
        }
    }
}

TEST(CpuFeatures, MaximumLeavesReachTheFeatureLeaves) {
    EXPECT_GE(SimulatedCpuid(0, kCpuidVendorLeaf).eax, kCpuidStructuredFeatureLeaf);
    EXPECT_GE(SimulatedCpuid(0, kCpuidExtendedMaxLeaf).eax, kCpuidExtendedFeatureLeaf);
}

TEST(CpuFeatures, ParsesListsNoneAndRejectsUnknownWords) {
    EXPECT_EQ(ParseCpuFeatures(" SSE , sse2,MMX").features, kCpuSse | kCpuSse2 | kCpuMmx);
    EXPECT_EQ(ParseCpuFeatures("none").features, CpuFeatureSet{0});
    const CpuFeatureParse unknown = ParseCpuFeatures("sse,avx");
    EXPECT_FALSE(unknown.features.has_value());
    EXPECT_NE(unknown.error.find("\"avx\""), std::string::npos) << unknown.error;
    EXPECT_FALSE(ParseCpuFeatures("sse,,sse2").features.has_value());
}

// "none" with a feature contradicts itself; 3DNow without MMX is a processor
// of its own (detection picks 3DNow and installs nothing), not a contradiction.
TEST(CpuFeatures, RejectsNoneTogetherWithAFeature) {
    for (const char* list : {"none,sse2", "sse2, NONE", "mmx,none,none"}) {
        SCOPED_TRACE(list);
        const CpuFeatureParse parsed = ParseCpuFeatures(list);
        EXPECT_FALSE(parsed.features.has_value());
        EXPECT_NE(parsed.error.find("\"none\""), std::string::npos) << parsed.error;
        EXPECT_NE(parsed.error.find(list), std::string::npos) << parsed.error;
    }
    EXPECT_EQ(ParseCpuFeatures("none,none").features, CpuFeatureSet{0});
    EXPECT_EQ(ParseCpuFeatures("3dnow").features, CpuFeatureSet{kCpu3DNow});
}

// Every simulated processor decodes back to exactly its features.
TEST(ProcessorFeaturesDecoder, ReadsBackEverySimulatedProcessor) {
    const CpuFeatureSet processors[] = {
        0,
        kCpuMmx,
        kCpuSse | kCpuSse2,
        kCpuAvx2,
        kCpuMmx | kCpuSse | kCpuSse2 | kCpuAvx2,
        kCpuMmx | kCpu3DNow,
        kCpuMmx | kCpu3DNow | kCpu3DNowExt | kCpuMmxExt,
    };
    for (CpuFeatureSet features : processors) {
        SCOPED_TRACE(features);
        FakePlatform fake;
        fake.SetCpuFeatures(features);
        const ProcessorFeatures read = ReadProcessorFeatures(fake);
        EXPECT_TRUE(read.hasCpuid);
        EXPECT_EQ(read.features, features);
    }
}

TEST(ProcessorFeaturesDecoder, NoCpuidInstructionMeansNothing) {
    FakePlatform fake;
    fake.SetCpuFeatures(kCpuMmx | kCpuSse);
    fake.RemoveCpuid();
    const ProcessorFeatures read = ReadProcessorFeatures(fake);
    EXPECT_FALSE(read.hasCpuid);
    EXPECT_EQ(read.maxStandardLeaf, 0u);
    EXPECT_EQ(read.maxExtendedLeaf, 0u);
    EXPECT_EQ(read.features, 0u);
}

// Leaves beyond the highest one the processor reports are not read: what
// they would return means nothing.
TEST(ProcessorFeaturesDecoder, LeavesBeyondTheReportedMaximumAreNotRead) {
    FakePlatform fake;
    fake.SetCpuFeatures(kCpuAvx2 | kCpu3DNow);
    fake.SetCpuidLeaf(kCpuidVendorLeaf, CpuidResult{kCpuidFeatureLeaf, 0, 0, 0});
    fake.SetCpuidLeaf(kCpuidExtendedMaxLeaf, CpuidResult{kCpuidExtendedMaxLeaf, 0, 0, 0});
    const ProcessorFeatures read = ReadProcessorFeatures(fake);
    EXPECT_EQ(read.maxStandardLeaf, kCpuidFeatureLeaf);
    EXPECT_EQ(read.maxExtendedLeaf, kCpuidExtendedMaxLeaf);
    EXPECT_EQ(read.features, 0u);
}

// AVX2 counts only when the system saves the AVX registers. XGETBV is
// executed only where the system enabled it: elsewhere it faults.
TEST(ProcessorFeaturesDecoder, Avx2NeedsTheSystemToSaveTheAvxRegisters) {
    FakePlatform fake;
    fake.SetCpuFeatures(kCpuAvx2);
    ASSERT_TRUE(ReadProcessorFeatures(fake).Has(kCpuAvx2));

    fake.SetXcr0(kXcr0X87State | kXcr0SseState);
    EXPECT_FALSE(ReadProcessorFeatures(fake).Has(kCpuAvx2)) << "AVX state not saved";
    fake.SetXcr0(kXcr0X87State | kXcr0AvxState);
    EXPECT_FALSE(ReadProcessorFeatures(fake).Has(kCpuAvx2)) << "SSE state not saved";

    fake.SetXcr0(kXcr0X87State | kXcr0SseState | kXcr0AvxState);
    fake.SetCpuidLeaf(kCpuidFeatureLeaf, CpuidResult{});  // OSXSAVE clear
    const int xgetbvBefore = fake.Counts().xgetbv;
    EXPECT_FALSE(ReadProcessorFeatures(fake).Has(kCpuAvx2));
    EXPECT_EQ(fake.Counts().xgetbv, xgetbvBefore);
}

TEST(ProcessorFeaturesDecoder, TheSystemAnswersTheThreeFeatureCodes) {
    ProcessorFeatures p;
    p.features = kCpuSse | kCpu3DNow;
    EXPECT_TRUE(SystemReportsFeature(p, kPfXmmiInstructionsAvailable));
    EXPECT_FALSE(SystemReportsFeature(p, kPfXmmi64InstructionsAvailable));
    EXPECT_TRUE(SystemReportsFeature(p, kPf3DNowInstructionsAvailable));
    EXPECT_FALSE(SystemReportsFeature(p, 2));
}

}  // namespace
}  // namespace d3dx::platform
