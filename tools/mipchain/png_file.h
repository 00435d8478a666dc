// Reading and writing PNG files as 32-bit pixel images.
//
// Every PNG colour type and bit depth is read, interlaced or not, and
// converted to 8-bit channels: palette entries and grey levels become
// colours, 1-, 2- and 4-bit samples are scaled up to 8 bits, 16-bit samples
// are rounded to the nearest 8-bit value (0x8080 becomes 0x80), and a
// transparency chunk becomes alpha. The samples are taken as stored: gamma,
// chromaticity, sRGB and ICC profile chunks are not applied.
#pragma once

#include "pixel_image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mipchain {

// The largest image accepted: 2^28 pixels (16384 x 16384, 1 GiB as 32-bit
// pixels). Larger size claims are refused before anything is allocated.
inline constexpr uint64_t kMaxPngPixels = uint64_t{1} << 28;
// The longest file read: more than the largest image takes stored, so the
// reading of a file that never ends stops.
inline constexpr std::size_t kMaxPngFileBytes = std::size_t{2} << 30;

enum class PngError {
    kNone,
    kNotPng,    // no PNG signature
    kTooLarge,  // the header claims more than kMaxPngPixels pixels
    kTooShort,  // the file is too short to hold the pixels its header claims
    kCorrupt,   // anything else the decoder rejects (bad chunk, CRC, data)
};

struct PngDecodeResult {
    std::optional<PixelImage> image;  // set exactly when error is kNone
    PngError error = PngError::kNone;
    std::string message;  // what is wrong, in words, when error is not kNone
};

// Decodes a whole PNG file held in memory into A8R8G8B8 (8 bits per
// channel, not premultiplied; opaque when the file has no alpha). For
// X8R8G8B8 the colours are kept and the top byte is set to 0: the format
// has no alpha, so the file's transparency is dropped. Never reads outside
// bytes, and fails cleanly on any input.
PngDecodeResult DecodePng(std::span<const uint8_t> bytes, PixelFormat format);

// Reads and decodes the PNG file at path. On failure returns nothing and
// sets error to a message that names the file. Reading stops at the first
// bytes that cannot begin a PNG file.
std::optional<PixelImage> ReadPng(const std::string& path, PixelFormat format, std::string& error);

// How hard the encoder works for smaller files. Even the fastest writes
// files no larger than zlib's default level without row filters does.
enum class Compression {
    kFast,     // 40% less time than kDefault, files about 10% larger
    kDefault,  // the balance
    kSmall,    // 2.5 times the time of kDefault, files up to 10% smaller
};

// The compression a name ("fast", "default", "small") stands for.
std::optional<Compression> CompressionNamed(std::string_view name);

// An A8R8G8B8 image as an RGBA PNG file, an X8R8G8B8 image as an RGB PNG
// file (the top byte is not written), in memory; nothing, with error set,
// when the encoder cannot start or finish.
std::optional<std::vector<uint8_t>> EncodePng(const PixelImage& image, PixelFormat format,
                                              Compression compression, std::string& error);

// Encodes the image and writes it whole: the file appears under `path` only
// complete, never written through a link or file planted there. On failure
// returns false and sets error, with the reason.
bool WritePng(const std::string& path, const PixelImage& image, PixelFormat format,
              Compression compression, std::string& error);

}  // namespace mipchain
