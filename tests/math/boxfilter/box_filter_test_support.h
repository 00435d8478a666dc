// Images for the box filter tests: buffers that end exactly at the last
// pixel (so the address sanitizer sees any overrun), trailing pitch bytes
// filled with a canary, and the per-channel reference average.
#pragma once

#include "boxfilter/box_filter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace d3dx::testing {

inline constexpr uint32_t kPixelBytes = 4;
inline constexpr uint8_t kCanary = 0xA5;

// A width x height image of 32-bit pixels with the given pitch; the buffer
// holds (height - 1) * pitch + width * 4 bytes, nothing more.
class Image {
public:
    Image(uint32_t width, uint32_t height, int32_t pitch)
        : width_(width),
          height_(height),
          pitch_(pitch),
          bytes_(SizeFor(width, height, pitch), kCanary) {}

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    int32_t Pitch() const { return pitch_; }
    uint8_t* Data() { return bytes_.empty() ? nullptr : bytes_.data(); }
    const uint8_t* Data() const { return bytes_.empty() ? nullptr : bytes_.data(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

    uint32_t At(uint32_t x, uint32_t y) const {
        uint32_t v;
        std::memcpy(&v, bytes_.data() + Offset(x, y), sizeof v);
        return v;
    }

    void Set(uint32_t x, uint32_t y, uint32_t v) {
        std::memcpy(bytes_.data() + Offset(x, y), &v, sizeof v);
    }

    void Fill(uint32_t v) {
        for (uint32_t y = 0; y < height_; ++y)
            for (uint32_t x = 0; x < width_; ++x) Set(x, y, v);
    }

    void FillRandom(std::mt19937& rng) {
        for (uint32_t y = 0; y < height_; ++y)
            for (uint32_t x = 0; x < width_; ++x) Set(x, y, static_cast<uint32_t>(rng()));
    }

    // True when every byte outside the pixels still holds the canary.
    bool PaddingIntact() const {
        for (std::size_t i = 0; i < bytes_.size(); ++i)
            if (!IsPixelByte(i) && bytes_[i] != kCanary) return false;
        return true;
    }

    // True when no byte of the buffer was written at all.
    bool Untouched() const {
        for (uint8_t b : bytes_)
            if (b != kCanary) return false;
        return true;
    }

private:
    static std::size_t SizeFor(uint32_t width, uint32_t height, int32_t pitch) {
        if (width == 0 || height == 0) return 0;
        return std::size_t(height - 1) * std::size_t(pitch) + std::size_t(width) * kPixelBytes;
    }
    std::size_t Offset(uint32_t x, uint32_t y) const {
        return std::size_t(y) * std::size_t(pitch_) + std::size_t(x) * kPixelBytes;
    }
    bool IsPixelByte(std::size_t i) const {
        return i % std::size_t(pitch_) < std::size_t(width_) * kPixelBytes;
    }

    uint32_t width_, height_;
    int32_t pitch_;
    std::vector<uint8_t> bytes_;
};

// Which channels a routine averages: all four, or only the low three with
// the top byte cleared.
enum class TopByte {
    kAveraged,
    kZero
};

inline uint32_t ReferenceAverage(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11,
                                 TopByte top) {
    uint32_t out = 0;
    const int channels = top == TopByte::kAveraged ? 4 : 3;
    for (int c = 0; c < channels; ++c) {
        const int shift = 8 * c;
        const uint32_t sum = ((p00 >> shift) & 0xFF) + ((p01 >> shift) & 0xFF) +
                             ((p10 >> shift) & 0xFF) + ((p11 >> shift) & 0xFF);
        out |= ((sum + 2) >> 2) << shift;
    }
    return out;
}

inline uint32_t ReferenceAt(const Image& src, uint32_t i, uint32_t j, TopByte top) {
    return ReferenceAverage(src.At(2 * i, 2 * j), src.At(2 * i + 1, 2 * j),
                            src.At(2 * i, 2 * j + 1), src.At(2 * i + 1, 2 * j + 1), top);
}

inline uint32_t LargestChannelDifference(uint32_t a, uint32_t b) {
    uint32_t largest = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        largest = std::max(largest, static_cast<uint32_t>(ca > cb ? ca - cb : cb - ca));
    }
    return largest;
}

// Largest channel difference of the output dst of src from the rule.
inline uint32_t LargestDifferenceFromRule(const Image& dst, const Image& src, TopByte top) {
    uint32_t largest = 0;
    for (uint32_t j = 0; j < dst.Height(); ++j)
        for (uint32_t i = 0; i < dst.Width(); ++i)
            largest = std::max(largest,
                               LargestChannelDifference(dst.At(i, j), ReferenceAt(src, i, j, top)));
    return largest;
}

// Whether this machine can run the routine: the AVX2 form needs AVX2 with
// the system's support, the others run on any x86-64 processor.
inline bool RunsHere(d3dx::BoxFilterFn fn) {
    return fn != &d3dx::BoxDownsampleAvx2 || __builtin_cpu_supports("avx2");
}

// Output image for src, with the given number of trailing bytes per row.
inline Image OutputFor(const Image& src, uint32_t trailingBytes) {
    const uint32_t w = src.Width() / 2;
    return Image(w, src.Height() / 2, static_cast<int32_t>(w * kPixelBytes + trailingBytes));
}

inline int32_t Run(d3dx::BoxFilterFn fn, Image& dst, const Image& src) {
    return fn(dst.Data(), src.Data(), src.Width(), src.Height(), src.Pitch(), dst.Pitch());
}

inline bool SamePixels(const Image& a, const Image& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (uint32_t y = 0; y < a.Height(); ++y)
        for (uint32_t x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

}  // namespace d3dx::testing
