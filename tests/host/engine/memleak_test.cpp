// The leak tracker's records and report.
#include "leak_delta.h"
#include "zorMemLeak.h"
#include "zorMemLeakRecords.h"
#include "zorQModule.h"

#include <string>

#include <gtest/gtest.h>

using zorq::testing::LeakBaseline;

namespace {

TEST(MemLeak, OutstandingBlocksAreReportedWithFileLineAndSize) {
    LeakBaseline baseline;
    void* block = TrackedAlloc(24, "CODE/somewhere", 314);
    const std::string report = zorMemLeak_Report();
    EXPECT_NE(report.find("CODE/somewhere:314: 24 bytes"), std::string::npos) << report;
    TrackedFree(block);
    EXPECT_EQ(zorMemLeak_Report().find("CODE/somewhere:314"), std::string::npos);
}

TEST(MemLeak, ReleaseOfAnUnknownBlockIsReportedNotFatal) {
    LeakBaseline baseline;
    int local = 0;
    EXPECT_EQ(zorMemLeak_Free(&local), ZORMEMLEAK_UNKNOWN_BLOCK);
    zorGlobalMem_Free(&local);  // not its block either: left alone
    ASSERT_EQ(zorMemLeak_UnknownFrees().size(), 1u);
    EXPECT_EQ(zorMemLeak_UnknownFrees()[0], &local);
    EXPECT_NE(zorMemLeak_Report().find("unknown block"), std::string::npos);
    EXPECT_EQ(zorMemLeak_Free(nullptr), ZORMEMLEAK_NULL_BLOCK);
    zorMemLeak_ClearEvents();
    EXPECT_TRUE(zorMemLeak_UnknownFrees().empty());
}

TEST(MemLeak, DoubleReleaseIsReportedOnce) {
    LeakBaseline baseline;
    void* block = TrackedAlloc(8, "x", 1);
    TrackedFree(block);
    EXPECT_EQ(zorMemLeak_Free(block), ZORMEMLEAK_UNKNOWN_BLOCK);
    EXPECT_EQ(zorMemLeak_UnknownFrees().size(), 1u);
}

TEST(MemLeak, RequestedFailuresCoverExactlyTheNextAllocations) {
    LeakBaseline baseline;
    zorGlobalMem_FailNext(2);
    EXPECT_EQ(TrackedAlloc(8, "f", 1), nullptr);
    EXPECT_EQ(TrackedAlloc(8, "f", 2), nullptr);
    void* third = TrackedAlloc(8, "f", 3);
    EXPECT_NE(third, nullptr);
    TrackedFree(third);
    EXPECT_EQ(zorMemLeak_Failures().size(), 2u);
    EXPECT_EQ(zorMemLeak_Alloc(nullptr, "f", 4), ZORMEMLEAK_NULL_BLOCK);
}

}  // namespace
