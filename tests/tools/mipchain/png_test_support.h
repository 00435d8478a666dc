// PNG files made by the tests with libpng's row interface, in every colour
// type, bit depth and interlacing, and what the mip-chain tool's decoder
// must make of each pixel.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>
#include <zlib.h>

#include <png.h>

namespace mipchain::testing {

// One image as the file holds it: samples per pixel in file order (grey;
// grey, alpha; R, G, B; R, G, B, A; or a palette index), each of bitDepth
// bits.
struct RawPng {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    bool interlaced = false;
    std::vector<uint16_t> samples;  // width * height * SamplesPerPixel, row by row
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;           // tRNS of a palette image
    std::optional<png_color_16> transparentKey;  // tRNS of a grey or RGB image
};

inline int SamplesPerPixel(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        default:
            return 4;
    }
}

// The samples of each row packed as the PNG format stores them: several
// samples per byte below 8 bits, big-endian 16-bit words.
inline std::vector<std::vector<uint8_t>> PackRows(const RawPng& png) {
    const std::size_t perRow = std::size_t(png.width) * SamplesPerPixel(png.colorType);
    std::vector<std::vector<uint8_t>> rows(png.height);
    for (uint32_t y = 0; y < png.height; ++y) {
        std::vector<uint8_t>& row = rows[y];
        row.assign((perRow * png.bitDepth + 7) / 8, 0);
        for (std::size_t i = 0; i < perRow; ++i) {
            const uint16_t s = png.samples[y * perRow + i];
            if (png.bitDepth == 16) {
                row[2 * i] = uint8_t(s >> 8);
                row[2 * i + 1] = uint8_t(s);
            } else {
                const std::size_t bit = i * png.bitDepth;
                row[bit / 8] |= uint8_t(s << (8 - png.bitDepth - bit % 8));
            }
        }
    }
    return rows;
}

inline void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

inline void FlushNothing(png_structp) {}

// The libpng calls that may jump back on an error; false on an error.
inline bool WriteChunks(png_structp png, png_infop info, const RawPng& raw, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, raw.width, raw.height, raw.bitDepth, raw.colorType,
                 raw.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!raw.palette.empty()) {
        png_set_PLTE(png, info, raw.palette.data(), int(raw.palette.size()));
    }
    if (!raw.paletteAlpha.empty()) {
        png_set_tRNS(png, info, raw.paletteAlpha.data(), int(raw.paletteAlpha.size()), nullptr);
    }
    if (raw.transparentKey) {
        png_color_16 key = *raw.transparentKey;
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

// The whole PNG file of raw, in memory; empty if libpng refuses it.
inline std::vector<uint8_t> EncodePng(const RawPng& raw) {
    std::vector<uint8_t> out;
    std::vector<std::vector<uint8_t>> packed = PackRows(raw);
    std::vector<png_bytep> rows;
    for (std::vector<uint8_t>& row : packed) rows.push_back(row.data());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    const bool written = WriteChunks(png, info, raw, rows.data());
    png_destroy_write_struct(&png, &info);
    if (!written) out.clear();
    return out;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A width x height grey image of one 16-bit level.
inline RawPng Grey16(uint32_t width, uint32_t height, uint16_t level) {
    RawPng raw;
    raw.width = width;
    raw.height = height;
    raw.bitDepth = 16;
    raw.colorType = PNG_COLOR_TYPE_GRAY;
    raw.samples.assign(std::size_t(width) * height, level);
    return raw;
}

// png with the size in its header replaced, the header's checksum fixed:
// a file that claims a size its data does not hold.
inline std::vector<uint8_t> WithClaimedSize(std::vector<uint8_t> png, uint32_t width,
                                            uint32_t height) {
    constexpr std::size_t kIhdrType = 12, kIhdrData = 16, kIhdrDataBytes = 13;
    const uint32_t fields[] = {width, height};
    for (std::size_t f = 0; f < 2; ++f)
        for (std::size_t b = 0; b < 4; ++b)
            png[kIhdrData + 4 * f + b] = uint8_t(fields[f] >> (24 - 8 * b));
    const uLong crc = crc32(0, png.data() + kIhdrType, 4 + kIhdrDataBytes);
    for (std::size_t b = 0; b < 4; ++b)
        png[kIhdrData + kIhdrDataBytes + b] = uint8_t(crc >> (24 - 8 * b));
    return png;
}

}  // namespace mipchain::testing
