// Every box filter routine against the per-channel rule: random images,
// sizes and pitches, every pair of block sums, the worked cases, odd sizes,
// empty and invalid calls.
#include "box_filter_test_support.h"
#include "boxfilter/box_filter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using d3dx::testing::Image;
using d3dx::testing::TopByte;

struct RoutineCase {
    const char* name;
    d3dx::BoxFilterFn fn;
    TopByte top;
};

void PrintTo(const RoutineCase& c, std::ostream* os) { *os << c.name; }

const RoutineCase kRoutines[] = {
    {"Argb", &d3dx::BoxDownsampleArgb, TopByte::kAveraged},
    {"Xrgb", &d3dx::BoxDownsampleXrgb, TopByte::kZero},
    {"Mmx", &d3dx::BoxDownsampleMmx, TopByte::kAveraged},
    {"Sse2", &d3dx::BoxDownsampleSse2, TopByte::kAveraged},
    {"Avx2", &d3dx::BoxDownsampleAvx2, TopByte::kAveraged},
};

class BoxFilterRule : public ::testing::TestWithParam<RoutineCase> {
protected:
    void SetUp() override {
        if (!d3dx::testing::RunsHere(GetParam().fn)) GTEST_SKIP() << "no AVX2 on this machine";
    }
};

std::string RoutineName(const ::testing::TestParamInfo<RoutineCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Routines, BoxFilterRule, ::testing::ValuesIn(kRoutines), RoutineName);

// Runs the routine on src and returns its largest channel difference from
// the rule, after checking every pixel and the output's trailing bytes.
uint32_t ExpectMatchesReference(const RoutineCase& routine, const Image& src,
                                uint32_t dstTrailing) {
    Image dst = d3dx::testing::OutputFor(src, dstTrailing);
    EXPECT_EQ(d3dx::testing::Run(routine.fn, dst, src), d3dx::kBoxFilterOk);
    const uint32_t largest = d3dx::testing::LargestDifferenceFromRule(dst, src, routine.top);
    EXPECT_EQ(largest, 0u) << src.Width() << "x" << src.Height() << " pitch " << src.Pitch();
    EXPECT_TRUE(dst.PaddingIntact()) << "trailing destination bytes written";
    return largest;
}

void PrintLargestDifference(const RoutineCase& routine, uint32_t largest, const char* over) {
    std::printf("[ largest difference ] %s: %u over %s\n", routine.name, largest, over);
}

// Every width up to three AVX2 steps, then widths around larger steps, so
// that each routine's whole steps and every tail length meet every odd or
// even height. The odd last column/row must be ignored and, since the
// buffers end at the last pixel, never read.
std::vector<uint32_t> TestWidths() {
    std::vector<uint32_t> widths;
    for (uint32_t w = 1; w <= 48; ++w) widths.push_back(w);
    for (uint32_t w : {63u, 64u, 65u, 127u, 128u, 129u, 255u, 257u}) widths.push_back(w);
    return widths;
}

TEST_P(BoxFilterRule, RandomImagesMatchPerChannelRule) {
    std::mt19937 rng(20261208);
    const uint32_t srcTrailing[] = {0, 3, 4, 12};
    const uint32_t dstTrailing[] = {0, 4, 5};
    uint32_t largest = 0;
    for (uint32_t width : TestWidths())
        for (uint32_t height = 1; height <= 7; ++height)
            for (uint32_t trailing : srcTrailing) {
                Image src(width, height,
                          static_cast<int32_t>(width * d3dx::testing::kPixelBytes + trailing));
                src.FillRandom(rng);
                largest = std::max(largest,
                                   ExpectMatchesReference(GetParam(), src, dstTrailing[rng() % 3]));
            }
    PrintLargestDifference(GetParam(), largest, "widths 1-257, heights 1-7, four pitches");
}

// A large random sample of whole blocks: a million channel quadruples.
TEST_P(BoxFilterRule, LargeRandomImageMatchesPerChannelRule) {
    std::mt19937 rng(512);
    Image src(1026, 1022, 1026 * d3dx::testing::kPixelBytes + 20);
    src.FillRandom(rng);
    PrintLargestDifference(GetParam(), ExpectMatchesReference(GetParam(), src, 8),
                           "a random 1026x1022 image");
}

// The byte-average forms see a block only through sums of two of its
// channel values: the average of two rows of a column is a function of
// their sum, and so is the bit that average drops. One channel of output
// is therefore set by its two column sums (or, for a form that averages
// columns first, its two row sums), each 0..510. A 1022x1022 image holds
// every pair of sums as 511x511 blocks, laid out by columns in two
// channels and by rows in the other two, with different splits of each sum
// into two bytes: every one of the 2^32 quadruples of a channel is covered.
uint32_t HighPart(uint32_t sum) { return std::min<uint32_t>(sum, 255); }
uint32_t HalfPart(uint32_t sum) { return sum / 2; }

struct SumLayout {
    uint32_t (*split)(uint32_t);  // the first byte of a sum; the other is the rest
    bool byColumns;               // sums of columns (else of rows)
};

constexpr SumLayout kSumLayouts[] = {
    {HighPart, true}, {HighPart, false}, {HalfPart, true}, {HalfPart, false}};

Image ImageOfEveryPairOfSums() {
    constexpr uint32_t kSums = 511;
    Image src(2 * kSums, 2 * kSums, 2 * kSums * d3dx::testing::kPixelBytes);
    for (uint32_t j = 0; j < kSums; ++j)
        for (uint32_t i = 0; i < kSums; ++i) {
            uint32_t p00 = 0, p01 = 0, p10 = 0, p11 = 0;
            for (uint32_t c = 0; c < 4; ++c) {
                const SumLayout& layout = kSumLayouts[c];
                const uint32_t a = layout.split(j), b = j - a;  // first sum j
                const uint32_t x = layout.split(i), y = i - x;  // second sum i
                const uint32_t shift = 8 * c;
                p00 |= a << shift;
                (layout.byColumns ? p10 : p01) |= b << shift;
                (layout.byColumns ? p01 : p10) |= x << shift;
                p11 |= y << shift;
            }
            src.Set(2 * i, 2 * j, p00);
            src.Set(2 * i + 1, 2 * j, p01);
            src.Set(2 * i, 2 * j + 1, p10);
            src.Set(2 * i + 1, 2 * j + 1, p11);
        }
    return src;
}

TEST_P(BoxFilterRule, EveryPairOfBlockSumsMatchesPerChannelRule) {
    static const Image src = ImageOfEveryPairOfSums();
    PrintLargestDifference(GetParam(), ExpectMatchesReference(GetParam(), src, 0),
                           "every pair of column sums and of row sums");
}

struct WorkedCase {
    const char* what;
    uint32_t p00, p01, p10, p11;
    uint32_t argb, xrgb, mmx;
};

// Expected output of each routine for one 2x2 block.
const WorkedCase kWorkedCases[] = {
    {"blue (0+1+1+1+2)>>2", 0xFF000000, 0xFF000001, 0xFF000001, 0xFF000001, 0xFF000001, 0x00000001,
     0xFF000001},
    {"a half rounds up", 0x00000000, 0x00000000, 0x00000001, 0x00000001, 0x00000001, 0x00000001,
     0x00000001},
    {"a quarter rounds down", 0x00000000, 0x00000000, 0x00000000, 0x00000001, 0, 0, 0},
    {"alpha 0 and 255 give 128, colours kept", 0x00123456, 0x00123456, 0xFF123456, 0xFF123456,
     0x80123456, 0x00123456, 0x80123456},
    {"all ones: top byte cleared only by the integer X8R8G8B8 form", 0xFFFFFFFF, 0xFFFFFFFF,
     0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0x00FFFFFF, 0xFFFFFFFF},
    {"channels do not carry into each other", 0x01FF01FF, 0x01FF01FF, 0x02FE02FE, 0x02FE02FE,
     0x02FF02FF, 0x00FF02FF, 0x02FF02FF},
    {"largest sums, no saturation needed", 0xFEFEFEFE, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
     0xFFFFFFFF, 0x00FFFFFF, 0xFFFFFFFF},
};

uint32_t RunOneBlock(d3dx::BoxFilterFn fn, const WorkedCase& c, uint32_t width) {
    // The block sits at the left of a width x 2 image whose other pixels are
    // copies of it, so that the MMX routine runs its own path for width 4.
    Image src(width, 2, static_cast<int32_t>(width * d3dx::testing::kPixelBytes));
    for (uint32_t x = 0; x < width; x += 2) {
        src.Set(x, 0, c.p00);
        src.Set(x + 1, 0, c.p01);
        src.Set(x, 1, c.p10);
        src.Set(x + 1, 1, c.p11);
    }
    Image dst = d3dx::testing::OutputFor(src, 0);
    EXPECT_EQ(d3dx::testing::Run(fn, dst, src), d3dx::kBoxFilterOk);
    return dst.At(0, 0);
}

TEST(BoxFilterWorkedCases, EachRoutineGivesTheExpectedPixel) {
    for (const WorkedCase& c : kWorkedCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunOneBlock(&d3dx::BoxDownsampleArgb, c, 2), c.argb);
        EXPECT_EQ(RunOneBlock(&d3dx::BoxDownsampleXrgb, c, 2), c.xrgb);
        EXPECT_EQ(RunOneBlock(&d3dx::BoxDownsampleMmx, c, 4), c.mmx);
        for (d3dx::BoxFilterFn fn : {&d3dx::BoxDownsampleSse2, &d3dx::BoxDownsampleAvx2}) {
            if (!d3dx::testing::RunsHere(fn)) continue;
            for (uint32_t width : {2u, 16u, 32u}) EXPECT_EQ(RunOneBlock(fn, c, width), c.mmx);
        }
    }
}

// The MMX routine serves both formats: it equals the integer A8R8G8B8 form
// everywhere, and the integer X8R8G8B8 form except for the top byte.
TEST(BoxFilterFormsAgree, MmxEqualsIntegerFormsOverRandomImages) {
    std::mt19937 rng(7);
    for (uint32_t width : {4u, 8u, 20u, 64u})
        for (uint32_t height : {2u, 3u, 6u}) {
            Image src(width, height, static_cast<int32_t>(width * d3dx::testing::kPixelBytes + 8));
            src.FillRandom(rng);
            Image argb = d3dx::testing::OutputFor(src, 0), xrgb = d3dx::testing::OutputFor(src, 0),
                  mmx = d3dx::testing::OutputFor(src, 0);
            d3dx::testing::Run(&d3dx::BoxDownsampleArgb, argb, src);
            d3dx::testing::Run(&d3dx::BoxDownsampleXrgb, xrgb, src);
            d3dx::testing::Run(&d3dx::BoxDownsampleMmx, mmx, src);
            EXPECT_TRUE(d3dx::testing::SamePixels(mmx, argb));
            for (uint32_t j = 0; j < mmx.Height(); ++j)
                for (uint32_t i = 0; i < mmx.Width(); ++i)
                    ASSERT_EQ(mmx.At(i, j) & 0x00FFFFFF, xrgb.At(i, j));
        }
}

struct EmptyCase {
    const char* what;
    uint32_t width, height;
    bool nullPointers;
};

// Calls with no whole 2x2 block write nothing and succeed, with or without
// images behind the pointers.
const EmptyCase kEmptyCases[] = {
    {"width 0", 0, 4, false},  {"height 0", 4, 0, false},        {"width 1", 1, 4, false},
    {"height 1", 8, 1, false}, {"0x0, null images", 0, 0, true}, {"1x9, null images", 1, 9, true},
};

TEST_P(BoxFilterRule, CallsWithoutWholeBlocksWriteNothing) {
    for (const EmptyCase& c : kEmptyCases) {
        SCOPED_TRACE(c.what);
        Image src(c.width, c.height, static_cast<int32_t>(c.width * d3dx::testing::kPixelBytes));
        Image dst(4, 2, 16);  // a sentinel the call must leave alone
        void* out = c.nullPointers ? nullptr : dst.Data();
        const void* in = c.nullPointers ? nullptr : src.Data();
        EXPECT_EQ(GetParam().fn(out, in, c.width, c.height, src.Pitch(), dst.Pitch()),
                  d3dx::kBoxFilterOk);
        EXPECT_TRUE(dst.Untouched());
    }
}

TEST_P(BoxFilterRule, NullImageWithOutputIsRejected) {
    Image src(8, 4, 32), dst(4, 2, 16);
    src.Fill(0x11223344);
    EXPECT_EQ(GetParam().fn(dst.Data(), nullptr, 8, 4, 32, 16), d3dx::kBoxFilterInvalidPointer);
    EXPECT_EQ(GetParam().fn(nullptr, src.Data(), 8, 4, 32, 16), d3dx::kBoxFilterInvalidPointer);
    EXPECT_TRUE(dst.Untouched());
}

// A bottom-up source (negative pitch, pointer at the last row) is walked
// upward only, so it produces nothing; a zero pitch likewise.
TEST_P(BoxFilterRule, NonPositiveSourcePitchProducesNothing) {
    Image src(8, 4, 32), dst(4, 2, 16);
    src.Fill(0x80808080);
    const uint8_t* lastRow = src.Data() + 3 * 32;
    EXPECT_EQ(GetParam().fn(dst.Data(), lastRow, 8, 4, -32, 16), d3dx::kBoxFilterOk);
    EXPECT_EQ(GetParam().fn(dst.Data(), src.Data(), 8, 4, 0, 16), d3dx::kBoxFilterOk);
    EXPECT_TRUE(dst.Untouched());
}

// A bottom-up destination is written row by row downward in memory.
TEST_P(BoxFilterRule, NegativeDestinationPitchWritesRowsUpward) {
    std::mt19937 rng(3);
    Image src(8, 4, 32), forward(4, 2, 16), backward(4, 2, 16);
    src.FillRandom(rng);
    d3dx::testing::Run(GetParam().fn, forward, src);
    EXPECT_EQ(GetParam().fn(backward.Data() + 16, src.Data(), 8, 4, 32, -16), d3dx::kBoxFilterOk);
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(backward.At(i, 1), forward.At(i, 0));
        EXPECT_EQ(backward.At(i, 0), forward.At(i, 1));
    }
}

}  // namespace
