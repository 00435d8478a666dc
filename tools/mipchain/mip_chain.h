// The mip chain of an image, one level at a time, through the library's box
// filter entries.
//
// Each level is floor(w / 2) x floor(h / 2) of the one before, never below 1:
// the box filter averages whole 2x2 blocks, so an odd last column or row of
// a level does not reach the next one. Once a dimension is 1 the level is
// first widened to 2 in that dimension by repeating its single column or
// row, so the remaining dimension keeps halving (pairs averaged) and the
// chain always ends at 1x1.
#pragma once

#include "pixel_image.h"

#include <cstdint>
#include <optional>

namespace mipchain {

struct LevelSize {
    uint32_t width;
    uint32_t height;
};

LevelSize NextLevelSize(LevelSize size);

// Levels from the full image down to 1x1, both included.
uint32_t LevelCount(LevelSize size);

// A level of the size that follows image's, its pixels not yet computed.
PixelImage AllocateNextLevel(const PixelImage& image);

// What the box filter reads to make the level after image: nothing when
// image has whole 2x2 blocks to average (it is read itself), otherwise a
// copy with its single column or row repeated.
std::optional<PixelImage> WidenedForFilter(const PixelImage& image);

// One box filter call through the library's entry for format: source
// (image or its widened copy) into next (from AllocateNextLevel).
void FilterInto(const PixelImage& source, PixelImage& next, PixelFormat format);

// Binds the library's box filter entries, so that the first timed call does
// not include the processor detection.
void BindBoxFilter();

}  // namespace mipchain
