// The mip-chain tool's PNG decoder on any bytes, in both pixel formats.
#include "png_file.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (const mipchain::PixelFormat format :
         {mipchain::PixelFormat::kArgb, mipchain::PixelFormat::kXrgb}) {
        const mipchain::PngDecodeResult result = mipchain::DecodePng(bytes, format);
        // An image exactly when nothing went wrong.
        if (result.image.has_value() != (result.error == mipchain::PngError::kNone))
            __builtin_trap();
    }
    return 0;
}
