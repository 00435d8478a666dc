// The first call of any operation binds the table and gives the caller the
// same result as every later call with the same arguments.
#include "dispatch/dispatch_internal.h"
#include "dispatch_test_support.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

class FirstCall : public testing::FreshDispatchTest {};

template <class R>
std::string ResultBytes(const R& r) {
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

// Calls entry with a fresh pack and returns the pack's bytes and the result.
template <class R, class... A>
std::string CallOnce(testing::ArgumentPack& pack, R (*entry)(A...)) {
    pack.Reset();
    if constexpr (std::is_void_v<R>) {
        pack.Call(entry);
        return pack.Bytes();
    } else {
        const R result = pack.Call(entry);
        return pack.Bytes() + ResultBytes(result);
    }
}

TEST_F(FirstCall, OfEverySlotInitialisesAndMatchesALaterCall) {
    testing::ForEachPublicEntry([](int slot, auto entry) {
        RestoreFirstCallEntries();
        ASSERT_EQ(g_mathOps.Get(slot), kFirstCallEntries[slot]);
        testing::ArgumentPack pack;
        const std::string first = CallOnce(pack, entry);
        EXPECT_NE(g_mathDispatchState.load(), static_cast<uint32_t>(DISPATCH_UNINITIALIZED));
        EXPECT_NE(g_mathOps.Get(slot), kFirstCallEntries[slot]) << testing::kSlotNames[slot];
        EXPECT_EQ(first, CallOnce(pack, entry)) << testing::kSlotNames[slot];
    });
}

TEST_F(FirstCall, LeavesNoSlotHoldingAFirstCallEntry) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 1.0f, 2.0f, 3.0f);
    for (int i = 0; i < kSlotCount; ++i) {
        EXPECT_NE(g_mathOps.Get(i), kFirstCallEntries[i]) << testing::kSlotNames[i];
        EXPECT_NE(g_mathOps.Get(i), nullptr) << testing::kSlotNames[i];
    }
}

}  // namespace
}  // namespace d3dx
