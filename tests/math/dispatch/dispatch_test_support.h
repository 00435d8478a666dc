// Shared pieces of the dispatch tests: slot names, the table a given
// selection must produce (computed from the variant lists, so it stays right
// as the lists fill), and a fixture that starts from the load-time state.
#pragma once

#include "dispatch/dispatch_internal.h"
#include "dispatch/op_table.h"
#include "dispatch/sample_arguments.h"
#include "dispatch/test_hooks.h"

#include <array>

#include <gtest/gtest.h>

namespace d3dx::testing {

inline constexpr std::array<const char*, kSlotCount> kSlotNames{
#define D3DX_SLOT(index, Name, Ret, Params, Args) #Name,
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

// Which variant sets an initialisation wrote over the plain table.
enum class Installed {
    kNone,
    kSse,
    kSse2,
    k3DNow,
    k3DNowExt
};

inline std::array<OpFn, kSlotCount> ExpectedTable(Installed installed,
                                                  const VariantSets& sets = ActiveVariantSets()) {
    std::array<OpFn, kSlotCount> table = DefaultMathOps;
    auto apply = [&table](VariantList list) {
        for (const VariantEntry& e : list) table[e.slot] = e.fn;
    };
    apply(sets.x87Alt);
    switch (installed) {
        case Installed::kNone:
            break;
        case Installed::kSse:
            apply(sets.sse);
            break;
        case Installed::kSse2:
            apply(sets.sse2);
            break;
        case Installed::k3DNow:
            apply(sets.amd3dnow);
            break;
        case Installed::k3DNowExt:
            apply(sets.amd3dnow);
            apply(sets.amd3dnowExt);
            break;
    }
    return table;
}

inline void ExpectTableIs(const std::array<OpFn, kSlotCount>& expected) {
    for (int i = 0; i < kSlotCount; ++i) {
        EXPECT_EQ(g_mathOps.Get(i), expected[i]) << "slot " << i << " " << kSlotNames[i];
    }
}

// Every test starts and ends with the library in its load-time state. The
// selection lines of the system platform are kept off the test output.
class FreshDispatchTest : public ::testing::Test {
protected:
    void SetUp() override { RestoreFirstCallEntries(); }
    void TearDown() override { RestoreFirstCallEntries(); }

    ScopedDebugCapture quiet_{0};
};

using ArgumentPack = SampleArguments;
using d3dx::ForEachPublicEntry;

}  // namespace d3dx::testing
