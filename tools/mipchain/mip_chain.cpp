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

}  // namespace

LevelSize NextLevelSize(LevelSize size) {
    return {HalfAtLeastOne(size.width), HalfAtLeastOne(size.height)};
}

uint32_t LevelCount(LevelSize size) {
    uint32_t count = 1;
    for (; size.width > 1 || size.height > 1; size = NextLevelSize(size)) ++count;
    return count;
}

PixelImage AllocateNextLevel(const PixelImage& image) {
    const LevelSize size = NextLevelSize({image.width, image.height});
    return PixelImage{size.width, size.height,
                      std::vector<uint32_t>(std::size_t(size.width) * size.height)};
}

std::optional<PixelImage> WidenedForFilter(const PixelImage& image) {
    if (image.width == 1) return RepeatColumn(image);
    if (image.height == 1) return RepeatRow(image);
    return std::nullopt;
}

void FilterInto(const PixelImage& source, PixelImage& next, PixelFormat format) {
    auto entry = format == PixelFormat::kArgb ? &BoxDownsampleArgbEntry : &BoxDownsampleXrgbEntry;
    entry(next.pixels.data(), source.pixels.data(), source.width, source.height, source.Pitch(),
          next.Pitch());
}

void BindBoxFilter() { BoxDownsampleArgbEntry(nullptr, nullptr, 0, 0, 0, 0); }

}  // namespace mipchain
