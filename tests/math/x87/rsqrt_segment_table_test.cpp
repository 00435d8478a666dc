// The 1/sqrt segment table: its reference rows, the segment lookup by bit
// pattern, and the accuracy of every segment.
#include "x87/rsqrt_segment_table.h"

#include "x87_test_support.h"

#include <bit>
#include <cmath>
#include <cstdlib>

namespace d3dx {
using namespace d3dx::testing;
namespace {

using d3dx::RsqrtSegmentIndex;
using d3dx::RsqrtSegmentTable;

// The line of the segment holding m, evaluated in double.
double Estimate(float m) {
    const d3dx::RsqrtSegment& s = RsqrtSegmentTable[RsqrtSegmentIndex(std::bit_cast<uint32_t>(m))];
    return static_cast<double>(s.slope) * m + s.intercept;
}

TEST(RsqrtSegmentTable, ReferenceRows) {
    struct Row {
        int index;
        const char* slope;
        const char* intercept;
    };
    const Row rows[] = {{0, "-1.4100952", "2.1192613"},
                        {255, "-0.5007324", "1.5007324"},
                        {256, "-0.49853516", "1.4985352"},
                        {511, "-0.17703247", "1.0611718"}};
    for (const Row& row : rows) {
        EXPECT_EQ(RsqrtSegmentTable[row.index].slope, std::strtof(row.slope, nullptr)) << row.index;
        EXPECT_EQ(RsqrtSegmentTable[row.index].intercept, std::strtof(row.intercept, nullptr))
            << row.index;
    }
}

TEST(RsqrtSegmentTable, SlopesAreMultiplesOfTheirQuantum) {
    for (int i = 0; i < d3dx::kRsqrtSegmentCount; ++i) {
        const double steps =
            std::ldexp(static_cast<double>(RsqrtSegmentTable[i].slope), i < 256 ? 14 : 16);
        EXPECT_EQ(steps, std::round(steps)) << i;
    }
}

TEST(RsqrtSegmentTable, LookupFindsTheSegmentHoldingM) {
    struct Case {
        float m;
        int index;
    };
    const Case cases[] = {{0.5f, 0},
                          {0.5f + 1.0f / 512, 1},
                          {std::nextafter(1.0f, 0.0f), 255},
                          {1.0f, 256},
                          {1.5f, 384},
                          {std::nextafter(2.0f, 0.0f), 511}};
    for (const Case& c : cases)
        EXPECT_EQ(RsqrtSegmentIndex(std::bit_cast<uint32_t>(c.m)), c.index) << c.m;
}

TEST(RsqrtSegmentTable, RelativeErrorBelowBoundOverAFineSweep) {
    constexpr double kBound = 1.5e-6;
    constexpr int kStepsPerSegment = 97;  // not a power of two: points fall everywhere in a segment
    double worst = 0;
    for (int i = 0; i < d3dx::kRsqrtSegmentCount; ++i) {
        const double start = i < 256 ? 0.5 + i / 512.0 : 1.0 + (i - 256) / 256.0;
        const double width = i < 256 ? 1 / 512.0 : 1 / 256.0;
        for (int k = 0; k <= kStepsPerSegment; ++k) {
            const float m = std::min(static_cast<float>(start + width * k / kStepsPerSegment),
                                     std::nextafter(static_cast<float>(start + width), 0.0f));
            const double error = std::fabs(Estimate(m) * std::sqrt(static_cast<double>(m)) - 1.0);
            worst = std::max(worst, error);
            ASSERT_LT(error, kBound) << "segment " << i << " m " << m;
        }
    }
    EXPECT_GT(worst, 1e-7);  // the sweep did reach the interior of the segments
}

}  // namespace
}  // namespace d3dx
