// Forcing a processor through the test hook steers every path: the chosen
// set, the table contents and the MMX query.
#include "dispatch/dispatch_internal.h"
#include "dispatch/test_hooks.h"
#include "dispatch_test_support.h"

#include <gtest/gtest.h>

namespace d3dx {
namespace {

class SelectInstructionSetTest : public testing::FreshDispatchTest {
protected:
    void TearDown() override {
        SelectInstructionSet("");
        testing::FreshDispatchTest::TearDown();
    }
};

TEST_F(SelectInstructionSetTest, TheForcedSetIsTheActiveOne) {
    struct Case {
        const char* features;
        MathDispatchState state;
        testing::Installed installed;
    };
    const Case cases[] = {
        {"none", DISPATCH_X87, testing::Installed{}},
        {"sse", DISPATCH_SSE, testing::Installed{VariantSet::kSse}},
        {"sse,sse2", DISPATCH_SSE2, testing::Installed{VariantSet::kSse2}},
        {"mmx,3dnow", DISPATCH_3DNOW, testing::Installed{VariantSet::kAmd3DNow}},
        {"mmx,3dnow,3dnowext,mmxext", DISPATCH_3DNOW,
         testing::Installed{VariantSet::kAmd3DNow, VariantSet::kAmd3DNowExt}},
        {"3dnow", DISPATCH_3DNOW, testing::Installed{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.features);
        EXPECT_EQ(SelectInstructionSet(c.features), c.state);
        testing::ExpectTableIs(testing::ExpectedTable(c.installed));
    }
}

TEST_F(SelectInstructionSetTest, SteersTheMmxQuery) {
    SelectInstructionSet("none");
    EXPECT_EQ(ProcessorHasMMX(), 0);
    SelectInstructionSet("mmx");
    EXPECT_EQ(ProcessorHasMMX(), 1);
}

TEST_F(SelectInstructionSetTest, ReportsTheSelectionLine) {
    ScopedDebugCapture capture(0);
    SelectInstructionSet("sse");
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"D3DX: (INFO) Using SSE Instructions\r\n"});
}

TEST_F(SelectInstructionSetTest, AnUnknownWordIsReportedAndTheRealProcessorUsed) {
    const MathDispatchState real = SelectInstructionSet("");
    ScopedDebugCapture capture(0);
    EXPECT_EQ(SelectInstructionSet("sse,avx512"), real);
    ASSERT_FALSE(capture.Lines().empty());
    EXPECT_NE(capture.Lines().front().find("D3DX_CPU: unknown"), std::string::npos)
        << capture.Lines().front();
    EXPECT_NE(capture.Lines().front().find("\"avx512\""), std::string::npos);
}

}  // namespace
}  // namespace d3dx
