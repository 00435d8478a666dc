// Plumbing of the table, apart from any numeric result: substitute variant
// lists whose functions only record which set and slot they belong to, then
// check that each first-call entry forwards through its own slot and that
// each installer writes exactly its list's entries.
#include "dispatch/dispatch_internal.h"
#include "dispatch_test_support.h"
#include "platform/fake_platform.h"

#include <optional>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

// Which recorder ran last: its set and its slot (no set: nothing ran).
struct Reached {
    std::optional<VariantSet> set;
    int slot = -1;
    bool operator==(const Reached&) const = default;
};
Reached g_reached;

template <VariantSet Set, int S, class F>
struct Recorder;

template <VariantSet Set, int S, class R, class... A>
struct Recorder<Set, S, R(A...)> {
    static R Call(A...) {
        g_reached = {Set, S};
        return R();
    }
};

template <VariantSet Set>
VariantEntry RecorderEntry(Slot slot) {
    switch (slot) {
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    case index:                                   \
        return {slot, Erase(&Recorder<Set, index, fn::Name>::Call)};
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
    }
    return {};
}

template <VariantSet Set>
std::vector<VariantEntry> RecorderList(std::initializer_list<Slot> slots) {
    std::vector<VariantEntry> list;
    for (Slot s : slots) list.push_back(RecorderEntry<Set>(s));
    return list;
}

template <VariantSet Set>
std::vector<VariantEntry> RecorderListOfAllSlots() {
    std::vector<VariantEntry> list;
    for (int s = 0; s < kSlotCount; ++s) list.push_back(RecorderEntry<Set>(static_cast<Slot>(s)));
    return list;
}

using enum VariantSet;

class DispatchPlumbing : public testing::FreshDispatchTest {
protected:
    void SetUp() override {
        testing::FreshDispatchTest::SetUp();
        sets_[kX87Alt] = x87Alt_;
        sets_[kSse] = sse_;
        sets_[kSse2] = sse2_;
        sets_[kAmd3DNow] = amd3dnow_;
        sets_[kAmd3DNowExt] = amd3dnowExt_;
        SetActiveVariantSets(&sets_);
    }
    void TearDown() override {
        SetActiveVariantSets(nullptr);
        testing::FreshDispatchTest::TearDown();
    }

    const std::vector<VariantEntry> x87Alt_ =
        RecorderList<kX87Alt>({kVec2Transform, kVec3Normalize});
    const std::vector<VariantEntry> sse_ =
        RecorderList<kSse>({kMatrixMultiply, kQuaternionInverse});
    const std::vector<VariantEntry> sse2_ =
        RecorderList<kSse2>({kMatrixMultiply, kMatrixRotationX});
    const std::vector<VariantEntry> amd3dnow_ = RecorderListOfAllSlots<kAmd3DNow>();
    const std::vector<VariantEntry> amd3dnowExt_ =
        RecorderList<kAmd3DNowExt>({kMatrixInverse, kVec3Unproject});
    VariantSets sets_{};
};

template <class R, class... A>
void CallWithNulls(R (*entry)(A...)) {
    entry(A()...);
}

TEST_F(DispatchPlumbing, EveryFirstCallEntryForwardsThroughItsOwnSlot) {
    platform::ScopedFakePlatform fake;
    fake->SetCpuFeatures(platform::kCpuMmx | platform::kCpu3DNow);
    testing::ForEachPublicEntry([](int slot, auto entry) {
        RestoreFirstCallEntries();
        g_reached = {};
        CallWithNulls(entry);
        EXPECT_EQ(g_reached, (Reached{kAmd3DNow, slot})) << testing::kSlotNames[slot];
        EXPECT_EQ(g_mathDispatchState.load(), DISPATCH_3DNOW);
    });
}

TEST_F(DispatchPlumbing, EachInstallerWritesExactlyItsEntries) {
    struct Case {
        platform::CpuFeatureSet cpu;
        testing::Installed installed;
    };
    const Case cases[] = {
        {0, testing::Installed{}},
        {platform::kCpuSse, testing::Installed{VariantSet::kSse}},
        {platform::kCpuSse | platform::kCpuSse2, testing::Installed{VariantSet::kSse2}},
        {platform::kCpuMmx | platform::kCpu3DNow, testing::Installed{VariantSet::kAmd3DNow}},
        {platform::kCpuMmx | platform::kCpu3DNow | platform::kCpu3DNowExt | platform::kCpuMmxExt,
         testing::Installed{VariantSet::kAmd3DNow, VariantSet::kAmd3DNowExt}},
    };
    for (const Case& c : cases) {
        platform::ScopedFakePlatform fake;
        fake->SetCpuFeatures(c.cpu);
        InitMathDispatch(0);
        InitMathDispatch(1);
        testing::ExpectTableIs(testing::ExpectedTable(c.installed, sets_));
    }
}

// The SSE2 installer starts from the plain state, not from the SSE one: a
// slot with only an SSE variant keeps its x87 implementation.
TEST_F(DispatchPlumbing, Sse2IsInstalledOverThePlainTableNotOverSse) {
    platform::ScopedFakePlatform fake;
    fake->SetCpuFeatures(platform::kCpuSse | platform::kCpuSse2);
    InitMathDispatch(1);
    EXPECT_EQ(g_mathOps.Get(kQuaternionInverse), DefaultMathOps[kQuaternionInverse]);
    D3DXMATRIX m;
    D3DXMatrixRotationX(&m, 0.5f);
    EXPECT_EQ(g_reached, (Reached{kSse2, kMatrixRotationX}));
    D3DXVec2Transform(nullptr, nullptr, nullptr);
    EXPECT_EQ(g_reached, (Reached{kX87Alt, kVec2Transform}));
}

}  // namespace
}  // namespace d3dx
