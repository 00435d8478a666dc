// The mip-chain tool's PNG decoder on files the tests make in memory: every
// colour type, bit depth and interlacing against a model of the conversion;
// size claims refused before allocating; malformed and truncated files
// refused cleanly. Its encoder, at every compression, in both formats,
// through every row filter, back through the decoder.
#include <gtest/gtest.h>

#ifdef MIPCHAIN_PATH

#include "png_file.h"
#include "png_test_support.h"

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>
#include <zlib.h>

namespace mipchain {
namespace {

using testing::EncodePng;
using testing::RawPng;

// What the decoder must make of one sample: 16 bits rounded to the nearest
// 8-bit value (v / 257), fewer than 8 bits scaled up to the full range.
uint32_t To8(uint16_t sample, int bitDepth) {
    if (bitDepth == 16) return (2u * sample + 257) / 514;
    if (bitDepth == 8) return sample;
    return sample * 255u / ((1u << bitDepth) - 1);
}

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

constexpr uint32_t kOpaque = 255;

bool MatchesKey(const RawPng& raw, const uint16_t* s) {
    if (!raw.transparentKey) return false;
    const png_color_16& key = *raw.transparentKey;
    if (raw.colorType == PNG_COLOR_TYPE_GRAY) return s[0] == key.gray;
    return s[0] == key.red && s[1] == key.green && s[2] == key.blue;
}

uint32_t ExpectedPixel(const RawPng& raw, std::size_t index) {
    const uint16_t* s = &raw.samples[index * testing::SamplesPerPixel(raw.colorType)];
    const int d = raw.bitDepth;
    const uint32_t keyAlpha = MatchesKey(raw, s) ? 0 : kOpaque;
    switch (raw.colorType) {
        case PNG_COLOR_TYPE_GRAY:
            return Argb(keyAlpha, To8(s[0], d), To8(s[0], d), To8(s[0], d));
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return Argb(To8(s[1], d), To8(s[0], d), To8(s[0], d), To8(s[0], d));
        case PNG_COLOR_TYPE_RGB:
            return Argb(keyAlpha, To8(s[0], d), To8(s[1], d), To8(s[2], d));
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return Argb(To8(s[3], d), To8(s[0], d), To8(s[1], d), To8(s[2], d));
        default: {
            const png_color& c = raw.palette[s[0]];
            const uint32_t a = s[0] < raw.paletteAlpha.size() ? raw.paletteAlpha[s[0]] : kOpaque;
            return Argb(a, c.red, c.green, c.blue);
        }
    }
}

struct FormatCase {
    int colorType;
    int bitDepth;
    bool interlaced;
    bool transparency;  // a tRNS chunk: a colour key, or palette alpha
};

// An odd-sized image of random samples; with transparency, every fifth
// pixel repeats the first so that a colour key matches some pixels.
RawPng RandomImage(const FormatCase& c, std::mt19937& rng) {
    RawPng raw;
    raw.width = 13;
    raw.height = 11;
    raw.bitDepth = c.bitDepth;
    raw.colorType = c.colorType;
    raw.interlaced = c.interlaced;
    const int spp = testing::SamplesPerPixel(c.colorType);
    const uint32_t levels = 1u << c.bitDepth;
    for (std::size_t i = 0; i < std::size_t(raw.width) * raw.height * spp; ++i) {
        raw.samples.push_back(uint16_t(rng() % levels));
    }
    if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
        for (uint32_t i = 0; i < levels; ++i) {
            raw.palette.push_back({uint8_t(rng()), uint8_t(rng()), uint8_t(rng())});
        }
        if (c.transparency) {
            for (uint32_t i = 0; i < levels / 2 + 1; ++i)
                raw.paletteAlpha.push_back(uint8_t(rng()));
        }
    } else if (c.transparency) {
        for (std::size_t p = 5; p < std::size_t(raw.width) * raw.height; p += 5)
            for (int s = 0; s < spp; ++s) raw.samples[p * spp + s] = raw.samples[s];
        png_color_16 key{};
        key.gray = key.red = raw.samples[0];
        if (spp == 3) {
            key.green = raw.samples[1];
            key.blue = raw.samples[2];
        }
        raw.transparentKey = key;
    }
    return raw;
}

std::vector<FormatCase> EveryFormat() {
    const std::pair<int, std::vector<int>> depths[] = {
        {PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}}, {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}},
        {PNG_COLOR_TYPE_RGB, {8, 16}},           {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}},
        {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}},
    };
    std::vector<FormatCase> cases;
    for (const auto& [colorType, bitDepths] : depths)
        for (int bitDepth : bitDepths)
            for (bool interlaced : {false, true})
                for (bool transparency : {false, true}) {
                    const bool hasAlphaChannel = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
                    if (transparency && hasAlphaChannel) continue;  // no tRNS with alpha
                    cases.push_back({colorType, bitDepth, interlaced, transparency});
                }
    return cases;
}

TEST(PngDecoding, EveryColourTypeDepthAndInterlacingBecomesEightBitArgb) {
    std::mt19937 rng(2024);
    for (const FormatCase& c : EveryFormat()) {
        SCOPED_TRACE("colour type " + std::to_string(c.colorType) + ", " +
                     std::to_string(c.bitDepth) + " bits" + (c.interlaced ? ", interlaced" : "") +
                     (c.transparency ? ", tRNS" : ""));
        const RawPng raw = RandomImage(c, rng);
        const std::vector<uint8_t> file = EncodePng(raw);
        ASSERT_FALSE(file.empty());
        const PngDecodeResult decoded = DecodePng(file, PixelFormat::kArgb);
        ASSERT_EQ(decoded.error, PngError::kNone) << decoded.message;
        ASSERT_EQ(decoded.image->width, raw.width);
        ASSERT_EQ(decoded.image->height, raw.height);
        int wrong = 0;
        for (std::size_t i = 0; i < decoded.image->pixels.size(); ++i) {
            if (decoded.image->pixels[i] != ExpectedPixel(raw, i)) ++wrong;
        }
        EXPECT_EQ(wrong, 0) << "first pixel " << std::hex << decoded.image->pixels[0]
                            << " expected " << ExpectedPixel(raw, 0);
    }
}

// 16-bit samples are not taken for linear light: halfway stays halfway.
TEST(PngDecoding, SixteenBitGreyKeepsItsLevel) {
    for (bool interlaced : {false, true}) {
        RawPng raw = testing::Grey16(3, 3, 0x8080);
        raw.interlaced = interlaced;
        const PngDecodeResult decoded = DecodePng(EncodePng(raw), PixelFormat::kArgb);
        ASSERT_EQ(decoded.error, PngError::kNone) << decoded.message;
        for (uint32_t p : decoded.image->pixels) EXPECT_EQ(p, 0xFF808080u);
    }
}

// Each row of a 16-bit interlaced image is a level of its own, so a row out
// of place shows.
TEST(PngDecoding, SixteenBitInterlacedRowsStayInPlace) {
    RawPng raw = testing::Grey16(9, 17, 0);
    raw.interlaced = true;
    for (uint32_t y = 0; y < raw.height; ++y)
        for (uint32_t x = 0; x < raw.width; ++x)
            raw.samples[y * raw.width + x] = uint16_t(0x0101 * (10 * y + x));
    const PngDecodeResult decoded = DecodePng(EncodePng(raw), PixelFormat::kArgb);
    ASSERT_EQ(decoded.error, PngError::kNone) << decoded.message;
    for (uint32_t y = 0; y < raw.height; ++y)
        for (uint32_t x = 0; x < raw.width; ++x) {
            const uint32_t level = 10 * y + x;
            ASSERT_EQ(decoded.image->pixels[y * raw.width + x], Argb(kOpaque, level, level, level))
                << "row " << y << ", column " << x;
        }
}

TEST(PngDecoding, XrgbDropsTheAlpha) {
    RawPng raw = testing::Grey16(2, 2, 0xFFFF);
    const PngDecodeResult decoded = DecodePng(EncodePng(raw), PixelFormat::kXrgb);
    ASSERT_EQ(decoded.error, PngError::kNone) << decoded.message;
    for (uint32_t p : decoded.image->pixels) EXPECT_EQ(p, 0x00FFFFFFu);
}

struct ClaimCase {
    uint32_t width, height;
    PngError error;
};

// A 2x2 file whose header claims another size: beyond the limit it is too
// large, within it the few bytes of data cannot hold the pixels. Either way
// it is refused before the pixels are allocated (a 16384 x 16384 claim would
// otherwise take 1 GiB).
TEST(PngDecoding, SizeClaimsBeyondTheLimitOrTheDataAreRefused) {
    const std::vector<uint8_t> small = EncodePng(testing::Grey16(2, 2, 0));
    const ClaimCase cases[] = {
        {100000, 100000, PngError::kTooLarge}, {16385, 16384, PngError::kTooLarge},
        {0x7FFFFFFF, 1, PngError::kTooLarge},  {16384, 16384, PngError::kTooShort},
        {4000, 3000, PngError::kTooShort},
    };
    for (const ClaimCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const PngDecodeResult decoded =
            DecodePng(testing::WithClaimedSize(small, c.width, c.height), PixelFormat::kArgb);
        EXPECT_EQ(decoded.error, c.error) << decoded.message;
        EXPECT_FALSE(decoded.image);
        EXPECT_NE(decoded.message.find(std::to_string(c.width) + " x " + std::to_string(c.height)),
                  std::string::npos)
            << decoded.message;
    }
}

// Every prefix of a valid file, and files with one bit changed, are refused
// or decoded, never read past their end (the sanitizers watch). A prefix
// is decoded only when it holds all the image data, and then to the image.
TEST(PngDecoding, TruncatedAndDamagedFilesFailCleanly) {
    std::mt19937 rng(7);
    RawPng raw = RandomImage({PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false}, rng);
    const std::vector<uint8_t> file = EncodePng(raw);
    const PngDecodeResult whole = DecodePng(file, PixelFormat::kArgb);
    ASSERT_EQ(whole.error, PngError::kNone) << whole.message;
    std::size_t shortestDecoded = file.size();
    for (std::size_t size = file.size(); size-- > 0;) {
        const std::vector<uint8_t> prefix(file.begin(), file.begin() + std::ptrdiff_t(size));
        const PngDecodeResult decoded = DecodePng(prefix, PixelFormat::kArgb);
        if (decoded.error == PngError::kNone) {
            EXPECT_EQ(decoded.image->pixels, whole.image->pixels) << size << " bytes";
            shortestDecoded = size;
        } else {
            EXPECT_FALSE(decoded.message.empty());
        }
    }
    // Only what follows the image data (its checksum, the end chunk) may be
    // missing.
    EXPECT_GE(shortestDecoded + 16, file.size());
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<uint8_t> damaged = file;
        damaged[rng() % damaged.size()] ^= uint8_t(1u << (rng() % 8));
        const PngDecodeResult decoded = DecodePng(damaged, PixelFormat::kArgb);
        EXPECT_EQ(decoded.image.has_value(), decoded.error == PngError::kNone);
    }
    EXPECT_EQ(DecodePng({}, PixelFormat::kArgb).error, PngError::kNotPng);
    const std::vector<uint8_t> text{'p', 'l', 'a', 'i', 'n', ' ', 't', 'e', 'x', 't'};
    EXPECT_EQ(DecodePng(text, PixelFormat::kArgb).error, PngError::kNotPng);
}

// 16 x 40 pixels in bands of eight rows, each favouring another row filter:
// noise, horizontal ramps, near-flat columns, a plane and a bowl.
PixelImage BandedImage(std::mt19937& rng) {
    PixelImage image{16, 40, {}};
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            uint32_t pixel = 0;
            for (uint32_t c = 0; c < 4; ++c) {
                uint32_t v = 0;
                switch (y / 8) {
                    case 0:
                        v = rng();
                        break;
                    case 1:
                        v = x * 9 + c * 50 + rng() % 3;
                        break;
                    case 2:
                        v = c * 60 + 100 + rng() % 2;
                        break;
                    case 3:
                        v = x * 7 + y * 5 + c * 30;
                        break;
                    default:
                        v = (x * x + y * y) / 3 + c * 20;
                        break;
                }
                pixel |= (v & 0xFF) << (8 * c);
            }
            image.pixels.push_back(pixel);
        }
    }
    return image;
}

PixelImage RandomPixels(uint32_t width, uint32_t height, std::mt19937& rng) {
    PixelImage image{width, height, {}};
    for (uint32_t i = 0; i < width * height; ++i) image.pixels.push_back(rng());
    return image;
}

// The filter type byte of every row of an encoded file, read from the IDAT
// chunk that follows the signature and the header.
std::set<int> RowFilterTypes(const std::vector<uint8_t>& file, const PixelImage& image,
                             std::size_t bytesPerPixel) {
    constexpr std::size_t kIdatStart = 8 + 25;
    const std::size_t length = std::size_t{file[kIdatStart]} << 24 | file[kIdatStart + 1] << 16 |
                               file[kIdatStart + 2] << 8 | file[kIdatStart + 3];
    const std::size_t rowBytes = 1 + image.width * bytesPerPixel;
    std::vector<uint8_t> rows(rowBytes * image.height);
    uLongf size = rows.size();
    EXPECT_EQ(uncompress(rows.data(), &size, &file[kIdatStart + 8], length), Z_OK);
    std::set<int> types;
    for (uint32_t y = 0; y < image.height; ++y) types.insert(rows[y * rowBytes]);
    return types;
}

TEST(PngEncoding, EveryCompressionFormatAndFilterDecodesToThePixelsGiven) {
    std::mt19937 rng(99);
    const PixelImage banded = BandedImage(rng);
    const PixelImage images[] = {RandomPixels(1, 1, rng), RandomPixels(1, 7, rng),
                                 RandomPixels(7, 1, rng), RandomPixels(13, 11, rng), banded};
    for (const char* name : {"fast", "default", "small"}) {
        const Compression compression = *CompressionNamed(name);
        for (PixelFormat format : {PixelFormat::kArgb, PixelFormat::kXrgb}) {
            for (const PixelImage& image : images) {
                SCOPED_TRACE(std::string(name) +
                             (format == PixelFormat::kArgb ? " ARGB " : " XRGB ") +
                             std::to_string(image.width) + " x " + std::to_string(image.height));
                std::string error;
                const std::optional<std::vector<uint8_t>> file =
                    mipchain::EncodePng(image, format, compression, error);
                ASSERT_TRUE(file) << error;
                const PngDecodeResult decoded = DecodePng(*file, format);
                ASSERT_EQ(decoded.error, PngError::kNone) << decoded.message;
                std::vector<uint32_t> expected = image.pixels;
                if (format == PixelFormat::kXrgb) {
                    for (uint32_t& p : expected) p &= 0x00FFFFFF;
                }
                EXPECT_EQ(decoded.image->pixels, expected);
                if (&image == &banded) {
                    EXPECT_EQ(RowFilterTypes(*file, image, format == PixelFormat::kArgb ? 4 : 3),
                              (std::set<int>{0, 1, 2, 3, 4}));
                }
            }
        }
    }
    EXPECT_FALSE(CompressionNamed("tiny"));
}

}  // namespace
}  // namespace mipchain

#else

TEST(PngDecoding, SkippedWithoutTools) { GTEST_SKIP() << "the mipchain tool is not built"; }

#endif
