#include "mip_chain.h"

#include "d3dx_math.h"

#include <algorithm>
#include <cstddef>

namespace mipchain {
namespace {

uint32_t HalfAtLeastOne(uint32_t n) { return std::max<uint32_t>(n / 2, 1); }

// image with a single column repeated into two columns.
PixelImage RepeatColumn(const PixelImage& image) {
    PixelImage wide{2, image.height, {}};
    wide.pixels.reserve(std::size_t(image.height) * 2);
    for (uint32_t p : image.pixels) wide.pixels.insert(wide.pixels.end(), 2, p);
    return wide;
}

// image with a single row repeated into two rows.
PixelImage RepeatRow(const PixelImage& image) {
    PixelImage tall{image.width, 2, image.pixels};
    tall.pixels.insert(tall.pixels.end(), image.pixels.begin(), image.pixels.end());
    return tall;
}

// image, widened to at least 2x2 so that the box filter has whole blocks.
PixelImage WithWholeBlocks(const PixelImage& image) {
    if (image.width == 1) return RepeatColumn(image);
    if (image.height == 1) return RepeatRow(image);
    return image;
}

void Downsample(const PixelImage& src, PixelImage& dst, PixelFormat format) {
    auto entry = format == PixelFormat::kArgb ? &BoxDownsampleArgbEntry : &BoxDownsampleXrgbEntry;
    entry(dst.pixels.data(), src.pixels.data(), src.width, src.height, src.Pitch(), dst.Pitch());
}

}  // namespace

LevelSize NextLevelSize(LevelSize size) {
    return {HalfAtLeastOne(size.width), HalfAtLeastOne(size.height)};
}

uint32_t LevelCount(LevelSize size) {
    uint32_t count = 1;
    for (; size.width > 1 || size.height > 1; size = NextLevelSize(size)) ++count;
    return count;
}

PixelImage NextLevel(const PixelImage& image, PixelFormat format) {
    const LevelSize size = NextLevelSize({image.width, image.height});
    PixelImage next{size.width, size.height,
                    std::vector<uint32_t>(std::size_t(size.width) * size.height)};
    if (image.width > 1 && image.height > 1) {
        Downsample(image, next, format);
    } else {
        Downsample(WithWholeBlocks(image), next, format);
    }
    return next;
}

}  // namespace mipchain
