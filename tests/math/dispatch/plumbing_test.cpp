// Plumbing of the table, apart from any numeric result: substitute variant
// lists whose functions only record which set and slot they belong to, then
// check that each first-call entry forwards through its own slot and that
// each installer writes exactly its list's entries.
#include "dispatch/dispatch_internal.h"
#include "dispatch_test_support.h"
#include "platform/fake_platform.h"

#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

enum SetId {
    kX87AltSet = 1,
    kSseSet,
    kSse2Set,
    k3DNowSet,
    k3DNowExtSet
};

struct Reached {
    int set = 0;
    int slot = -1;
    bool operator==(const Reached&) const = default;
};
Reached g_reached;

template <int Set, int S, class F>
struct Recorder;

template <int Set, int S, class R, class... A>
struct Recorder<Set, S, R(A...)> {
    static R Call(A...) {
        g_reached = {Set, S};
        return R();
    }
};

template <int Set>
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

template <int Set>
std::vector<VariantEntry> RecorderList(std::initializer_list<Slot> slots) {
    std::vector<VariantEntry> list;
    for (Slot s : slots) list.push_back(RecorderEntry<Set>(s));
    return list;
}

template <int Set>
std::vector<VariantEntry> RecorderListOfAllSlots() {
    std::vector<VariantEntry> list;
    for (int s = 0; s < kSlotCount; ++s) list.push_back(RecorderEntry<Set>(static_cast<Slot>(s)));
    return list;
}

class DispatchPlumbing : public testing::FreshDispatchTest {
protected:
    void SetUp() override {
        testing::FreshDispatchTest::SetUp();
        SetActiveVariantSets(&sets_);
    }
    void TearDown() override {
        SetActiveVariantSets(nullptr);
        testing::FreshDispatchTest::TearDown();
    }

    const std::vector<VariantEntry> x87Alt_ =
        RecorderList<kX87AltSet>({kVec2Transform, kVec3Normalize});
    const std::vector<VariantEntry> sse_ =
        RecorderList<kSseSet>({kMatrixMultiply, kQuaternionInverse});
    const std::vector<VariantEntry> sse2_ =
        RecorderList<kSse2Set>({kMatrixMultiply, kMatrixRotationX});
    const std::vector<VariantEntry> amd3dnow_ = RecorderListOfAllSlots<k3DNowSet>();
    const std::vector<VariantEntry> amd3dnowExt_ =
        RecorderList<k3DNowExtSet>({kMatrixInverse, kVec3Unproject});
    const VariantSets sets_{x87Alt_, sse_, sse2_, amd3dnow_, amd3dnowExt_};
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
        EXPECT_EQ(g_reached, (Reached{k3DNowSet, slot})) << testing::kSlotNames[slot];
        EXPECT_EQ(g_mathDispatchState.load(), DISPATCH_3DNOW);
    });
}

TEST_F(DispatchPlumbing, EachInstallerWritesExactlyItsEntries) {
    struct Case {
        platform::CpuFeatureSet cpu;
        testing::Installed installed;
    };
    const Case cases[] = {
        {0, testing::Installed::kNone},
        {platform::kCpuSse, testing::Installed::kSse},
        {platform::kCpuSse | platform::kCpuSse2, testing::Installed::kSse2},
        {platform::kCpuMmx | platform::kCpu3DNow, testing::Installed::k3DNow},
        {platform::kCpuMmx | platform::kCpu3DNow | platform::kCpu3DNowExt | platform::kCpuMmxExt,
         testing::Installed::k3DNowExt},
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
    EXPECT_EQ(g_reached, (Reached{kSse2Set, kMatrixRotationX}));
    D3DXVec2Transform(nullptr, nullptr, nullptr);
    EXPECT_EQ(g_reached, (Reached{kX87AltSet, kVec2Transform}));
}

}  // namespace
}  // namespace d3dx
