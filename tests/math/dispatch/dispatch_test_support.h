// Shared pieces of the dispatch tests: slot names, the table a given
// selection must produce (computed from the variant lists, so it stays right
// as the lists fill), and a fixture that starts from the load-time state.
#pragma once

#include "dispatch/dispatch_internal.h"
#include "dispatch/op_table.h"
#include "dispatch/sample_arguments.h"
#include "dispatch/test_hooks.h"

#include <array>
#include <cstdint>
#include <initializer_list>

#include <gtest/gtest.h>

namespace d3dx::testing {

inline constexpr std::array<const char*, kSlotCount> kSlotNames{
#define D3DX_SLOT(index, Name, Ret, Params, Args) #Name,
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

// The variant sets an initialisation wrote over the plain table besides the
// x87 ones (which it always writes).
class Installed {
public:
    constexpr Installed() = default;
    constexpr Installed(std::initializer_list<VariantSet> sets) {
        for (VariantSet set : sets) bits_ |= Bit(set);
    }
    constexpr bool Has(VariantSet set) const { return (bits_ & Bit(set)) != 0; }

private:
    static constexpr uint32_t Bit(VariantSet set) { return 1u << static_cast<int>(set); }
    uint32_t bits_ = 0;
};

// The plain table with the x87 sets and the installed ones written over it,
// in list order, as the library writes them.
inline std::array<OpFn, kSlotCount> ExpectedTable(Installed installed,
                                                  const VariantSets& sets = ActiveVariantSets()) {
    std::array<OpFn, kSlotCount> table = DefaultMathOps;
    for (const VariantSetInfo& info : kVariantSets) {
        if (info.state != DISPATCH_X87 && !installed.Has(info.set)) continue;
        for (const VariantEntry& e : sets[info.set]) table[e.slot] = e.fn;
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
