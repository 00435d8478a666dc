// Binding of the two entries on their first call, with MMX reported, absent
// or disabled by the registry, and the processor state after an MMX call.
#include "box_filter_test_support.h"
#include "boxfilter/box_filter.h"
#include "d3dx_math.h"
#include "platform/fake_platform.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using d3dx::testing::Image;

enum class Mmx {
    kReported,
    kAbsent,
    kDisabledByRegistry
};
enum class FirstEntry {
    kArgb,
    kXrgb
};

struct BindingCase {
    const char* name;
    Mmx mmx;
    FirstEntry first;
    d3dx::BoxFilterFn argbRoutine, xrgbRoutine;
    uint32_t firstResult;  // first call on a 4x2 image of 0xFFFFFFFF
};

const BindingCase kBindingCases[] = {
    {"MmxViaArgb", Mmx::kReported, FirstEntry::kArgb, &d3dx::BoxDownsampleMmx,
     &d3dx::BoxDownsampleMmx, 0xFFFFFFFF},
    {"MmxViaXrgb", Mmx::kReported, FirstEntry::kXrgb, &d3dx::BoxDownsampleMmx,
     &d3dx::BoxDownsampleMmx, 0xFFFFFFFF},
    {"NoMmxViaArgb", Mmx::kAbsent, FirstEntry::kArgb, &d3dx::BoxDownsampleArgb,
     &d3dx::BoxDownsampleXrgb, 0xFFFFFFFF},
    {"NoMmxViaXrgb", Mmx::kAbsent, FirstEntry::kXrgb, &d3dx::BoxDownsampleArgb,
     &d3dx::BoxDownsampleXrgb, 0x00FFFFFF},
    {"DisabledViaArgb", Mmx::kDisabledByRegistry, FirstEntry::kArgb, &d3dx::BoxDownsampleArgb,
     &d3dx::BoxDownsampleXrgb, 0xFFFFFFFF},
    {"DisabledViaXrgb", Mmx::kDisabledByRegistry, FirstEntry::kXrgb, &d3dx::BoxDownsampleArgb,
     &d3dx::BoxDownsampleXrgb, 0x00FFFFFF},
};

class BoxFilterBinding : public ::testing::TestWithParam<BindingCase> {
protected:
    void SetUp() override {
        d3dx::ResetBoxFilterEntries();
        const Mmx mmx = GetParam().mmx;
        fake_->SetCpuFeatures(mmx == Mmx::kAbsent ? d3dx::platform::kCpuSse
                                                  : d3dx::platform::kCpuMmx);
        if (mmx == Mmx::kDisabledByRegistry) fake_->SetDword("DisableMMX", 1);
    }
    void TearDown() override { d3dx::ResetBoxFilterEntries(); }

    d3dx::platform::ScopedFakePlatform fake_;
};

std::string BindingName(const ::testing::TestParamInfo<BindingCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, BoxFilterBinding, ::testing::ValuesIn(kBindingCases), BindingName);

int32_t CallEntry(FirstEntry entry, Image& dst, const Image& src) {
    auto fn = entry == FirstEntry::kArgb ? &BoxDownsampleArgbEntry : &BoxDownsampleXrgbEntry;
    return d3dx::testing::Run(fn, dst, src);
}

TEST_P(BoxFilterBinding, FirstCallBindsBothEntriesAndForwards) {
    EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), &d3dx::BindBoxDownsampleArgb);
    EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), &d3dx::BindBoxDownsampleXrgb);
    Image src(4, 2, 16);
    src.Fill(0xFFFFFFFF);
    Image dst = d3dx::testing::OutputFor(src, 0);
    EXPECT_EQ(CallEntry(GetParam().first, dst, src), d3dx::kBoxFilterOk);
    EXPECT_EQ(dst.At(0, 0), GetParam().firstResult);
    EXPECT_EQ(dst.At(1, 0), GetParam().firstResult);
    EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), GetParam().argbRoutine);
    EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), GetParam().xrgbRoutine);
}

// The binding holds for the life of the process: a later registry change
// does not move the entries.
TEST_P(BoxFilterBinding, LaterRegistryChangesDoNotRebind) {
    Image src(4, 2, 16);
    src.Fill(0xFFFFFFFF);
    Image dst = d3dx::testing::OutputFor(src, 0);
    CallEntry(GetParam().first, dst, src);
    if (GetParam().mmx == Mmx::kDisabledByRegistry) {
        fake_->RemoveValue("DisableMMX");
    } else {
        fake_->SetDword("DisableMMX", 1);
    }
    CallEntry(FirstEntry::kArgb, dst, src);
    CallEntry(FirstEntry::kXrgb, dst, src);
    EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), GetParam().argbRoutine);
    EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), GetParam().xrgbRoutine);
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
