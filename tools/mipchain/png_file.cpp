// PNG files through libpng. Reading uses the row interface with libpng's
// own transforms to 8-bit B, G, R, A bytes, which in memory are exactly
// little-endian A8R8G8B8 words; writing uses the simplified interface.
//
// libpng reports errors by longjmp. Each function that calls into libpng
// while reading sets its own jump target first and holds no object with a
// destructor, so a jump never skips one; everything that must outlive the
// decoder lives in the caller.
#include "png_file.h"

#include "output_file.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include <png.h>

namespace mipchain {
namespace {

constexpr uint32_t kTopByteMask = 0x00FFFFFF;
constexpr uint32_t kBgrBytesPerPixel = 3;
constexpr std::size_t kSignatureBytes = 8;
// Deflate codes a 258-byte match in as little as two bits: no compressed
// stream expands to more than 1032 times its size.
constexpr uint64_t kMaxDeflateRatio = 1032;
// Each row of image data starts with a filter-type byte.
constexpr uint64_t kFilterBytesPerRow = 1;
constexpr uint64_t kBitsPerByte = 8;
constexpr png_uint_32 kLargestPngSide = 0x7FFFFFFF;  // the format's own limit
constexpr unsigned kOpaque = 0xFF;
constexpr std::size_t kMessageBytes = 256;

// Everything libpng's callbacks touch; plain data, valid on either side of
// a jump.
struct ReadState {
    const uint8_t* data;
    std::size_t size;
    std::size_t offset;
    char message[kMessageBytes];
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
    if (length > state->size - state->offset) png_error(png, "the file ends early");
    std::memcpy(out, state->data + state->offset, length);
    state->offset += length;
}

[[noreturn]] void KeepMessageAndJump(png_structp png, png_const_charp message) {
    auto* state = static_cast<ReadState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's read and info structures, released together.
class PngReader {
public:
    explicit PngReader(ReadState& state)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, KeepMessageAndJump,
                                      IgnoreWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {
        if (png_ == nullptr) return;
        png_set_read_fn(png_, &state, ReadFromMemory);
        // Sizes are judged by CheckClaimedSize, with its own message.
        png_set_user_limits(png_, kLargestPngSide, kLargestPngSide);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool Created() const { return png_ != nullptr && info_ != nullptr; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitDepth = 0;
    uint32_t channels = 0;
    bool hasAlpha = false;  // an alpha channel or a transparency chunk
};

// Reads the chunks before the image data. False on a decoder error.
bool ReadHeader(png_structp png, png_infop info, PngHeader& header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    header.bitDepth = png_get_bit_depth(png, info);
    header.channels = png_get_channels(png, info);
    header.hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                      png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    return true;
}

// Decodes every row, all interlace passes included, as 8-bit B, G, R, A.
// False on a decoder error.
bool ReadRows(png_structp png, png_infop info, bool hasAlpha, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_scale_16(png);  // 16-bit samples rounded to 8 bits, no gamma change
    png_set_expand(png);    // palette to colours, small grey to 8 bits, transparency to alpha
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!hasAlpha) png_set_filler(png, kOpaque, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) !=
        std::size_t{png_get_image_width(png, info)} * kBytesPerPixel) {
        png_error(png, "unexpected row layout after conversion");
    }
    png_read_image(png, rows);
    return true;
}

PngDecodeResult Failure(PngError error, std::string message) {
    return PngDecodeResult{std::nullopt, error, std::move(message)};
}

std::string SizeText(const PngHeader& header) {
    return std::to_string(header.width) + " x " + std::to_string(header.height);
}

// Refuses a claimed size beyond the limit, or one that the bytes after the
// header could not hold even at deflate's best ratio, before any pixel
// memory is allocated.
std::optional<PngDecodeResult> CheckClaimedSize(const PngHeader& header, std::size_t bytesLeft) {
    const uint64_t pixels = uint64_t{header.width} * header.height;
    if (pixels > kMaxPngPixels) {
        return Failure(PngError::kTooLarge,
                       "the image claims " + SizeText(header) + " pixels, more than the " +
                           std::to_string(kMaxPngPixels) + " (16384 x 16384) this tool accepts");
    }
    const uint64_t rowBytes =
        (uint64_t{header.width} * header.channels * header.bitDepth + kBitsPerByte - 1) /
            kBitsPerByte +
        kFilterBytesPerRow;
    if (rowBytes * header.height > kMaxDeflateRatio * bytesLeft) {
        return Failure(PngError::kTooShort, "the file is too short to hold the " +
                                                SizeText(header) + " pixels its header claims");
    }
    return std::nullopt;
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

png_image BlankImage() {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    return image;
}

std::string LibpngMessage(const png_image& image) {
    return image.message[0] ? image.message : "unknown libpng error";
}

// The whole file at path, or nothing with error set. Bytes that cannot
// begin a PNG file stop the reading at once, and no file is read beyond
// kMaxPngFileBytes: a device or a pipe that never ends is not read to its end.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string& error) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        error = "'" + path + "' is a folder, not a PNG file";
        return std::nullopt;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[1 << 16];
    std::size_t got;
    bool notPng = false;
    bool tooLong = false;
    while (!notPng && !tooLong && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
        const std::size_t signature = std::min(bytes.size(), kSignatureBytes);
        notPng = png_sig_cmp(bytes.data(), 0, signature) != 0;
        tooLong = bytes.size() > kMaxPngFileBytes;
    }
    const bool failed = std::ferror(file) != 0;
    const int reason = errno;
    std::fclose(file);
    if (notPng) {
        error = "'" + path + "': not a PNG file (no PNG signature)";
    } else if (tooLong) {
        error = "'" + path + "' is longer than " + std::to_string(kMaxPngFileBytes >> 20) +
                " MiB: larger than any image this program takes";
    } else if (failed) {
        error = "cannot read '" + path + "': " + std::strerror(reason);
    } else {
        return bytes;
    }
    return std::nullopt;
}

}  // namespace

PngDecodeResult DecodePng(std::span<const uint8_t> bytes, PixelFormat format) {
    if (bytes.size() < kSignatureBytes || png_sig_cmp(bytes.data(), 0, kSignatureBytes) != 0) {
        return Failure(PngError::kNotPng, "not a PNG file (no PNG signature)");
    }
    ReadState state{bytes.data(), bytes.size(), 0, {}};
    PngReader reader(state);
    if (!reader.Created()) return Failure(PngError::kCorrupt, "cannot start the PNG decoder");
    PngHeader header;
    if (!ReadHeader(reader.Png(), reader.Info(), header)) {
        return Failure(PngError::kCorrupt, state.message);
    }
    if (auto refused = CheckClaimedSize(header, state.size - state.offset)) return *refused;

    PixelImage image;
    image.width = header.width;
    image.height = header.height;
    image.pixels.resize(std::size_t{header.width} * header.height);
    std::vector<png_bytep> rows(header.height);
    for (uint32_t y = 0; y < header.height; ++y) {
        rows[y] = reinterpret_cast<png_bytep>(&image.pixels[std::size_t{y} * header.width]);
    }
    if (!ReadRows(reader.Png(), reader.Info(), header.hasAlpha, rows.data())) {
        return Failure(PngError::kCorrupt, state.message);
    }
    if (format == PixelFormat::kXrgb) ClearTopBytes(image);
    return PngDecodeResult{std::move(image), PngError::kNone, {}};
}

std::optional<PixelImage> ReadPng(const std::string& path, PixelFormat format, std::string& error) {
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, error);
    if (!bytes) return std::nullopt;
    PngDecodeResult decoded = DecodePng(*bytes, format);
    if (!decoded.image) error = "'" + path + "': " + decoded.message;
    return std::move(decoded.image);
}

bool WritePng(const std::string& path, const PixelImage& image, PixelFormat format,
              std::string& error) {
    png_image png = BlankImage();
    png.width = image.width;
    png.height = image.height;
    png.format = format == PixelFormat::kArgb ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    std::vector<uint8_t> bgr;
    if (format == PixelFormat::kXrgb) bgr = PackBgr(image);
    const void* pixels = format == PixelFormat::kArgb
                             ? static_cast<const void*>(image.pixels.data())
                             : static_cast<const void*>(bgr.data());
    // Encoded in memory, then written whole: the size first, then the file.
    png_alloc_size_t size = 0;
    std::vector<uint8_t> encoded;
    bool ok = png_image_write_to_memory(&png, nullptr, &size, 0, pixels, 0, nullptr) != 0;
    if (ok) {
        encoded.resize(size);
        ok = png_image_write_to_memory(&png, encoded.data(), &size, 0, pixels, 0, nullptr) != 0;
    }
    if (!ok) {
        error = "cannot encode PNG '" + path + "': " + LibpngMessage(png);
        return false;
    }
    encoded.resize(size);
    const std::string_view bytes(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    return flamer_common::WriteFileWhole(path, bytes, error);
}

}  // namespace mipchain
