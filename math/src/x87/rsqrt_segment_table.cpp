// Compile-time construction of the 1/sqrt segment table.
//
// Each segment's line is the chord of 1/sqrt(m) through the segment's two
// ends. Its slope is rounded to the nearest multiple of 2^-14 (first half,
// segments of width 1/512) or 2^-16 (second half, width 1/256), so that it
// carries few significant bits. Rounding the slope tilts the chord; the
// intercept is then chosen so the line misses both ends by the same amount
// (the mean of the intercepts through either end), and rounded to single
// precision.
#include "x87/rsqrt_segment_table.h"

namespace d3dx {
namespace {

using Ext = long double;

constexpr int kHalfCount = kRsqrtSegmentCount / 2;
constexpr Ext kFirstHalfWidth = 1.0L / 512.0L;
constexpr Ext kSecondHalfWidth = 1.0L / 256.0L;
constexpr Ext kFirstHalfSlopeQuantum = 0x1p-14L;
constexpr Ext kSecondHalfSlopeQuantum = 0x1p-16L;
constexpr int kMaxNewtonSteps = 64;

// sqrt by Newton's method, for x in roughly [0.5, 2]; iterates until the
// estimate stops changing.
constexpr Ext ConstexprSqrt(Ext x) {
    Ext estimate = 1.0L;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        const Ext next = 0.5L * (estimate + x / estimate);
        if (next == estimate) break;
        estimate = next;
    }
    return estimate;
}

constexpr Ext InverseSqrt(Ext m) { return 1.0L / ConstexprSqrt(m); }

constexpr Ext RoundToMultiple(Ext value, Ext quantum) {
    const Ext scaled = value / quantum;
    const auto whole = static_cast<long long>(scaled < 0 ? scaled - 0.5L : scaled + 0.5L);
    return static_cast<Ext>(whole) * quantum;
}

struct SegmentSpan {
    Ext start, end, slopeQuantum;
};

constexpr SegmentSpan SpanOf(int i) {
    if (i < kHalfCount) {
        const Ext start = 0.5L + i * kFirstHalfWidth;
        return {start, start + kFirstHalfWidth, kFirstHalfSlopeQuantum};
    }
    const Ext start = 1.0L + (i - kHalfCount) * kSecondHalfWidth;
    return {start, start + kSecondHalfWidth, kSecondHalfSlopeQuantum};
}

constexpr RsqrtSegment BuildSegment(int i) {
    const SegmentSpan span = SpanOf(i);
    const Ext atStart = InverseSqrt(span.start);
    const Ext atEnd = InverseSqrt(span.end);
    const Ext chordSlope = (atEnd - atStart) / (span.end - span.start);
    const Ext slope = RoundToMultiple(chordSlope, span.slopeQuantum);
    const Ext intercept = ((atStart - slope * span.start) + (atEnd - slope * span.end)) / 2.0L;
    return {static_cast<float>(slope), static_cast<float>(intercept)};
}

constexpr std::array<RsqrtSegment, kRsqrtSegmentCount> BuildTable() {
    std::array<RsqrtSegment, kRsqrtSegmentCount> table{};
    for (int i = 0; i < kRsqrtSegmentCount; ++i) table[i] = BuildSegment(i);
    return table;
}

constexpr std::array<RsqrtSegment, kRsqrtSegmentCount> kBuiltTable = BuildTable();

constexpr bool RowIs(int i, float slope, float intercept) {
    return kBuiltTable[i].slope == slope && kBuiltTable[i].intercept == intercept;
}

// Reference rows: both ends of both halves.
static_assert(RowIs(0, -1.4100952f, 2.1192613f));
static_assert(RowIs(255, -0.5007324f, 1.5007324f));
static_assert(RowIs(256, -0.49853516f, 1.4985352f));
static_assert(RowIs(511, -0.17703247f, 1.0611718f));

}  // namespace

constinit const std::array<RsqrtSegment, kRsqrtSegmentCount> RsqrtSegmentTable = kBuiltTable;

}  // namespace d3dx
