// Reading and writing PNG files as 32-bit pixel images.
#pragma once

#include "pixel_image.h"

#include <optional>
#include <string>

namespace mipchain {

// Reads any PNG as A8R8G8B8 (8 bits per channel, not premultiplied). For
// X8R8G8B8 the colours are kept as stored and the top byte is set to 0: the
// format has no alpha, so the file's transparency is dropped.
// On failure returns nothing and sets error.
std::optional<PixelImage> ReadPng(const std::string& path, PixelFormat format, std::string& error);

// Writes an A8R8G8B8 image as an RGBA PNG, an X8R8G8B8 image as an RGB PNG
// (the top byte is not written). On failure returns false and sets error.
bool WritePng(const std::string& path, const PixelImage& image, PixelFormat format,
              std::string& error);

}  // namespace mipchain
