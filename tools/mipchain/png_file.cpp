// PNG files through libpng's simplified interface: 8-bit BGRA in memory is
// exactly a row of little-endian A8R8G8B8 words.
#include "png_file.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include <png.h>

namespace mipchain {
namespace {

constexpr uint32_t kTopByteMask = 0x00FFFFFF;
constexpr uint32_t kBgrBytesPerPixel = 3;

png_image BlankImage() {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    return image;
}

std::string LibpngMessage(const png_image& image) {
    return image.message[0] ? image.message : "unknown libpng error";
}

// Rows of 32-bit pixels are addressed with a signed 32-bit pitch.
bool FitsPitch(uint32_t width) {
    return width <= uint32_t(std::numeric_limits<int32_t>::max()) / kBytesPerPixel;
}

void ClearTopBytes(PixelImage& image) {
    for (uint32_t& p : image.pixels) p &= kTopByteMask;
}

std::vector<uint8_t> PackBgr(const PixelImage& image) {
    std::vector<uint8_t> bgr(image.pixels.size() * kBgrBytesPerPixel);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        std::memcpy(&bgr[i * kBgrBytesPerPixel], &image.pixels[i], kBgrBytesPerPixel);
    return bgr;
}

}  // namespace

std::optional<PixelImage> ReadPng(const std::string& path, PixelFormat format, std::string& error) {
    png_image png = BlankImage();
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = "cannot read PNG '" + path + "': " + LibpngMessage(png);
        return std::nullopt;
    }
    if (png.width == 0 || png.height == 0 || !FitsPitch(png.width)) {
        png_image_free(&png);
        error = "PNG '" + path + "' has an unsupported size";
        return std::nullopt;
    }
    png.format = PNG_FORMAT_BGRA;
    PixelImage image;
    image.width = png.width;
    image.height = png.height;
    image.pixels.resize(std::size_t(png.width) * png.height);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        error = "cannot decode PNG '" + path + "': " + LibpngMessage(png);
        png_image_free(&png);
        return std::nullopt;
    }
    if (format == PixelFormat::kXrgb) ClearTopBytes(image);
    return image;
}

bool WritePng(const std::string& path, const PixelImage& image, PixelFormat format,
              std::string& error) {
    png_image png = BlankImage();
    png.width = image.width;
    png.height = image.height;
    bool written;
    if (format == PixelFormat::kArgb) {
        png.format = PNG_FORMAT_BGRA;
        written =
            png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
    } else {
        png.format = PNG_FORMAT_BGR;
        const std::vector<uint8_t> bgr = PackBgr(image);
        written = png_image_write_to_file(&png, path.c_str(), 0, bgr.data(), 0, nullptr) != 0;
    }
    if (!written) error = "cannot write PNG '" + path + "': " + LibpngMessage(png);
    return written;
}

}  // namespace mipchain
