// A tightly packed image of 32-bit pixels (bits 0-7 blue, 8-15 green,
// 16-23 red, 24-31 alpha or unused), rows one after the other.
#pragma once

#include <cstdint>
#include <vector>

namespace mipchain {

inline constexpr uint32_t kBytesPerPixel = 4;

enum class PixelFormat {
    kArgb,
    kXrgb
};

struct PixelImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;  // width * height, row by row

    int32_t Pitch() const { return static_cast<int32_t>(width * kBytesPerPixel); }
};

}  // namespace mipchain
