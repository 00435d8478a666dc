// The mip-chain tool's PNG decoder on any bytes, in both pixel formats; and
// its encoder on every image the decoder makes, which must decode back to
// the same pixels.
#include "png_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

// Larger images are decoded but not encoded again, to keep each input quick.
constexpr std::size_t kMaxPixelsToEncode = 1 << 16;

void CheckRoundTrip(const mipchain::PixelImage& image, mipchain::PixelFormat format) {
    if (image.pixels.size() > kMaxPixelsToEncode) return;
    std::string error;
    const std::optional<std::vector<uint8_t>> file =
        mipchain::EncodePng(image, format, mipchain::Compression::kFast, error);
    if (!file) __builtin_trap();
    const mipchain::PngDecodeResult again = mipchain::DecodePng(*file, format);
    if (!again.image || again.image->pixels != image.pixels) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (const mipchain::PixelFormat format :
         {mipchain::PixelFormat::kArgb, mipchain::PixelFormat::kXrgb}) {
        const mipchain::PngDecodeResult result = mipchain::DecodePng(bytes, format);
        // An image exactly when nothing went wrong.
        if (result.image.has_value() != (result.error == mipchain::PngError::kNone))
            __builtin_trap();
        if (result.image) CheckRoundTrip(*result.image, format);
    }
    return 0;
}
