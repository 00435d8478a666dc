// Piecewise-linear approximation of 1/sqrt(m) for m in [0.5, 2), used by the
// fast x87 normaliser.
//
// 512 segments: entry i < 256 covers [0.5 + i/512, 0.5 + (i+1)/512), entry
// i >= 256 covers [1 + (i-256)/256, 1 + (i-255)/256). The index of a float in
// that range is its lowest exponent bit followed by its top eight mantissa
// bits, so a single shift and mask of the bit pattern finds the segment.
// On every segment slope·m + intercept approximates 1/sqrt(m) with a
// relative error below 1.5e-6.
#pragma once

#include <array>
#include <cstdint>

namespace d3dx {

struct RsqrtSegment {
    float slope;
    float intercept;
};

inline constexpr int kRsqrtSegmentCount = 512;

// Segment index of a float's bit pattern: bits 15-23 (the lowest exponent bit
// and the top eight mantissa bits).
constexpr int RsqrtSegmentIndex(uint32_t bits) { return static_cast<int>((bits >> 15) & 0x1FFu); }

extern const std::array<RsqrtSegment, kRsqrtSegmentCount> RsqrtSegmentTable;

}  // namespace d3dx
