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

namespace mipchain {

struct LevelSize {
    uint32_t width;
    uint32_t height;
};

LevelSize NextLevelSize(LevelSize size);

// Levels from the full image down to 1x1, both included.
uint32_t LevelCount(LevelSize size);

// The level after image; image must be larger than 1x1.
PixelImage NextLevel(const PixelImage& image, PixelFormat format);

}  // namespace mipchain
