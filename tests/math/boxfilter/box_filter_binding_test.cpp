// Binding of the two entries on their first call: under every processor the
// D3DX_CPU words describe, with "DisableMMX", without the system's support
// for the AVX2 or SSE registers, and through the system platform's own
// simulation; and the processor state after an MMX call.
#include "box_filter_test_support.h"
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_hooks.h"
#include "d3dx_math.h"
#include "dispatch/test_hooks.h"
#include "platform/cpu_features.h"
#include "platform/fake_platform.h"
#include "platform/linux_platform.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using d3dx::testing::Image;
using d3dx::testing::RunsHere;

enum class FirstEntry {
    kArgb,
    kXrgb
};

// A change to the fake system beyond its processor features.
enum class System {
    kPlain,
    kDisableMmx,        // "DisableMMX"=dword:1
    kNoYmmState,        // XCR0 without the AVX state: the system does not save YMM
    kNoXgetbv,          // OSXSAVE clear: XGETBV not enabled
    kWindows95Sse2Off,  // 4.0: the system does not save the SSE registers
};

struct BindingCase {
    const char* name;
    const char* cpu;  // D3DX_CPU words
    System system;
    d3dx::BoxFilterFn argbRoutine, xrgbRoutine;
};

void PrintTo(const BindingCase& c, std::ostream* os) { *os << c.name; }

constexpr d3dx::BoxFilterFn kAvx2 = &d3dx::BoxDownsampleAvx2;
constexpr d3dx::BoxFilterFn kSse2 = &d3dx::BoxDownsampleSse2;
constexpr d3dx::BoxFilterFn kMmx = &d3dx::BoxDownsampleMmx;
constexpr d3dx::BoxFilterFn kArgb = &d3dx::BoxDownsampleArgb;
constexpr d3dx::BoxFilterFn kXrgb = &d3dx::BoxDownsampleXrgb;

const BindingCase kBindingCases[] = {
    {"None", "none", System::kPlain, kArgb, kXrgb},
    {"Mmx", "mmx", System::kPlain, kMmx, kMmx},
    {"SseWithoutMmx", "sse", System::kPlain, kArgb, kXrgb},
    {"Sse2WithoutMmx", "sse,sse2", System::kPlain, kArgb, kXrgb},
    {"MmxSse", "mmx,sse", System::kPlain, kMmx, kMmx},
    {"MmxSse2", "mmx,sse,sse2", System::kPlain, kSse2, kSse2},
    {"MmxSse2Avx2", "mmx,sse,sse2,avx2", System::kPlain, kAvx2, kAvx2},
    {"MmxAvx2", "mmx,avx2", System::kPlain, kAvx2, kAvx2},
    {"Avx2WithoutMmx", "sse,sse2,avx2", System::kPlain, kArgb, kXrgb},
    {"Mmx3DNow", "mmx,3dnow", System::kPlain, kMmx, kMmx},
    {"Mmx3DNowExt", "mmx,3dnow,3dnowext,mmxext", System::kPlain, kMmx, kMmx},
    {"DisableMmxOverAvx2", "mmx,sse,sse2,avx2", System::kDisableMmx, kArgb, kXrgb},
    {"DisableMmxOverMmx", "mmx", System::kDisableMmx, kArgb, kXrgb},
    {"Avx2WithoutYmmState", "mmx,sse,sse2,avx2", System::kNoYmmState, kSse2, kSse2},
    {"Avx2WithoutXgetbv", "mmx,sse,sse2,avx2", System::kNoXgetbv, kSse2, kSse2},
    {"Sse2OnWindows95", "mmx,sse,sse2", System::kWindows95Sse2Off, kMmx, kMmx},
};

void Configure(d3dx::platform::FakePlatform& fake, const BindingCase& c) {
    const d3dx::platform::CpuFeatureParse parsed = d3dx::platform::ParseCpuFeatures(c.cpu);
    ASSERT_TRUE(parsed.features) << c.cpu;
    fake.SetCpuFeatures(*parsed.features);
    switch (c.system) {
        case System::kPlain:
            break;
        case System::kDisableMmx:
            fake.SetDword("DisableMMX", 1);
            break;
        case System::kNoYmmState:
            fake.SetXcr0(d3dx::platform::kXcr0SseState);
            break;
        case System::kNoXgetbv: {
            d3dx::platform::CpuidResult leaf1 = *fake.Cpuid(d3dx::platform::kCpuidFeatureLeaf);
            leaf1.ecx &= ~d3dx::platform::kEcxOsxsave;
            fake.SetCpuidLeaf(d3dx::platform::kCpuidFeatureLeaf, leaf1);
            break;
        }
        case System::kWindows95Sse2Off:
            fake.SetVersion(d3dx::platform::kPlatformWin32Windows, 4, 0, 950);
            break;
    }
}

class BoxFilterBinding : public ::testing::TestWithParam<BindingCase> {
protected:
    void SetUp() override { d3dx::ResetBoxFilterEntries(); }
    void TearDown() override { d3dx::ResetBoxFilterEntries(); }

    d3dx::platform::ScopedFakePlatform fake_;
};

std::string BindingName(const ::testing::TestParamInfo<BindingCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Processors, BoxFilterBinding, ::testing::ValuesIn(kBindingCases),
                         BindingName);

int32_t CallEntry(FirstEntry entry, Image& dst, const Image& src) {
    auto fn = entry == FirstEntry::kArgb ? &BoxDownsampleArgbEntry : &BoxDownsampleXrgbEntry;
    return d3dx::testing::Run(fn, dst, src);
}

// What the first call of an entry returns for a 4x2 image of 0xFFFFFFFF:
// the integer X8R8G8B8 routine clears the top byte, every other averages it.
uint32_t ExpectedAllOnes(d3dx::BoxFilterFn routine) {
    return routine == kXrgb ? 0x00FFFFFF : 0xFFFFFFFF;
}

TEST_P(BoxFilterBinding, FirstCallOfEitherEntryBindsBothAndForwards) {
    const BindingCase& c = GetParam();
    for (FirstEntry first : {FirstEntry::kArgb, FirstEntry::kXrgb}) {
        SCOPED_TRACE(first == FirstEntry::kArgb ? "first call: Argb entry" : "first call: Xrgb");
        d3dx::ResetBoxFilterEntries();
        d3dx::ResetMathCaches();
        Configure(*fake_, c);
        EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), &d3dx::BindBoxDownsampleArgb);
        EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), &d3dx::BindBoxDownsampleXrgb);
        const d3dx::BoxFilterFn forwardedTo =
            first == FirstEntry::kArgb ? c.argbRoutine : c.xrgbRoutine;
        if (RunsHere(forwardedTo)) {
            Image src(4, 2, 16);
            src.Fill(0xFFFFFFFF);
            Image dst = d3dx::testing::OutputFor(src, 0);
            EXPECT_EQ(CallEntry(first, dst, src), d3dx::kBoxFilterOk);
            EXPECT_EQ(dst.At(0, 0), ExpectedAllOnes(forwardedTo));
            EXPECT_EQ(dst.At(1, 0), ExpectedAllOnes(forwardedTo));
        } else {
            // No AVX2 here: an empty call binds without running the routine.
            Image empty(0, 0, 0);
            EXPECT_EQ(CallEntry(first, empty, empty), d3dx::kBoxFilterOk);
        }
        EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), c.argbRoutine);
        EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), c.xrgbRoutine);
    }
}

// The binding holds for the life of the process: later changes of the
// registry or the processor do not move the entries.
TEST_P(BoxFilterBinding, LaterChangesDoNotRebind) {
    Configure(*fake_, GetParam());
    Image empty(0, 0, 0);
    CallEntry(FirstEntry::kArgb, empty, empty);
    if (GetParam().system == System::kDisableMmx) {
        fake_->RemoveValue("DisableMMX");
    } else {
        fake_->SetDword("DisableMMX", 1);
    }
    fake_->SetCpuFeatures(d3dx::platform::kCpuMmx | d3dx::platform::kCpuSse2);
    CallEntry(FirstEntry::kArgb, empty, empty);
    CallEntry(FirstEntry::kXrgb, empty, empty);
    EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), GetParam().argbRoutine);
    EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), GetParam().xrgbRoutine);
}

// The system platform, steered as D3DX_CPU steers it: a simulated avx2 binds
// the AVX2 form where the machine has AVX2 and is dropped where it has not.
struct SystemCase {
    const char* cpu;  // D3DX_CPU words; empty for the real processor
    d3dx::BoxFilterFn argbRoutine, xrgbRoutine;
};

TEST(BoxFilterSystemBinding, SimulatedProcessorsBindAsTheFakeOnes) {
    const bool avx2 = __builtin_cpu_supports("avx2");
    const SystemCase cases[] = {
        {"mmx", kMmx, kMmx},
        {"mmx,sse,sse2", kSse2, kSse2},
        {"sse,sse2", kArgb, kXrgb},
        {"mmx,sse,sse2,avx2", avx2 ? kAvx2 : kSse2, avx2 ? kAvx2 : kSse2},
        {"", avx2 ? kAvx2 : kSse2, avx2 ? kAvx2 : kSse2},
    };
    for (const SystemCase& c : cases) {
        SCOPED_TRACE(c.cpu);
        d3dx::platform::SystemPlatform().SimulateCpu(
            *c.cpu
                ? d3dx::platform::CpuFeaturesFromVariable(c.cpu, d3dx::platform::CurrentPlatform())
                : std::nullopt);
        d3dx::ResetMathCaches();
        d3dx::ResetBoxFilterEntries();
        Image empty(0, 0, 0);
        CallEntry(FirstEntry::kXrgb, empty, empty);
        EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), c.argbRoutine);
        EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), c.xrgbRoutine);
    }
    d3dx::platform::SystemPlatform().SimulateCpu(std::nullopt);
    d3dx::ResetMathCaches();
    d3dx::ResetBoxFilterEntries();
}

// Width 6 is not a multiple of 4, so through either entry bound to MMX it
// gives the integer A8R8G8B8 result, top byte averaged.
TEST(BoxFilterEntries, WidthSixThroughMmxBoundEntriesEqualsIntegerArgb) {
    d3dx::platform::ScopedFakePlatform fake;
    fake->SetCpuFeatures(d3dx::platform::kCpuMmx);
    d3dx::ResetBoxFilterEntries();
    std::mt19937 rng(66);
    Image src(6, 2, 24);
    src.FillRandom(rng);
    Image argb = d3dx::testing::OutputFor(src, 0);
    d3dx::testing::Run(&d3dx::BoxDownsampleArgb, argb, src);
    for (FirstEntry entry : {FirstEntry::kXrgb, FirstEntry::kArgb}) {
        Image viaEntry = d3dx::testing::OutputFor(src, 0);
        EXPECT_EQ(CallEntry(entry, viaEntry, src), d3dx::kBoxFilterOk);
        EXPECT_TRUE(d3dx::testing::SamePixels(viaEntry, argb));
    }
    EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), &d3dx::BoxDownsampleMmx);
    d3dx::ResetBoxFilterEntries();
}

// The MMX registers alias the x87 stack; the routine must leave it empty so
// that extended-precision arithmetic right after the call is exact.
TEST(BoxFilterMmxState, X87ArithmeticIsCorrectAfterMmxCall) {
    Image src(16, 4, 64);
    src.Fill(0x12345678);
    Image dst = d3dx::testing::OutputFor(src, 0);
    ASSERT_EQ(d3dx::testing::Run(&d3dx::BoxDownsampleMmx, dst, src), d3dx::kBoxFilterOk);
    volatile long double three = 3.0L;
    volatile long double third = 1.0L / three;
    const long double product = third * three;
    EXPECT_FALSE(std::isnan(product));
    EXPECT_NEAR(static_cast<double>(product), 1.0, 1e-18);
    volatile long double big = 1e4000L;  // beyond double: only the x87 format holds it
    EXPECT_NEAR(static_cast<double>(big / 1e3999L), 10.0, 1e-12);
}

}  // namespace
