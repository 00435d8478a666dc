// PNG files through libpng. Reading uses the row interface with libpng's
// own transforms to 8-bit B, G, R, A bytes, which in memory are exactly
// little-endian A8R8G8B8 words. Writing filters the rows (row_filters.h) and
// compresses them with libdeflate, which makes the same zlib stream format
// several times faster than zlib and a little smaller; libpng then writes
// the signature, the header and the chunks around that stream.
//
// libpng reports errors by longjmp. Each function that calls into libpng
// sets its own jump target first and holds no object with a destructor, so
// a jump never skips one; everything that must outlive the coder lives in
// the caller.
#include "png_file.h"

#include "output_file.h"
#include "row_filters.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <libdeflate.h>
#include <string_view>
#include <vector>

#include <png.h>

namespace mipchain {
namespace {

constexpr uint32_t kTopByteMask = 0x00FFFFFF;
constexpr uint32_t kRgbBytesPerPixel = 3;
constexpr uint32_t kRgbaBytesPerPixel = 4;
constexpr int kBitsPerSample = 8;
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
// Everything of a written file but its zlib stream: the signature, the
// header chunk (13 bytes of data), and the framing of the IDAT and end
// chunks (length, type and checksum, 12 bytes each).
constexpr std::size_t kChunkFramingBytes = 12;
constexpr std::size_t kHeaderDataBytes = 13;
constexpr std::size_t kPngFramingBytes =
    kSignatureBytes + (kChunkFramingBytes + kHeaderDataBytes) + 2 * kChunkFramingBytes;

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

// libpng's main and info structures of one reader or writer; the reader or
// writer releases them together.
class PngStructs {
public:
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;

    bool Created() const { return png_ != nullptr && info_ != nullptr; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

protected:
    explicit PngStructs(png_structp png)
        : png_(png), info_(png != nullptr ? png_create_info_struct(png) : nullptr) {}
    ~PngStructs() = default;

    png_structp png_;
    png_infop info_;
};

class PngReader : public PngStructs {
public:
    explicit PngReader(ReadState& state)
        : PngStructs(png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, KeepMessageAndJump,
                                            IgnoreWarning)) {
        if (png_ == nullptr) return;
        png_set_read_fn(png_, &state, ReadFromMemory);
        // Sizes are judged by CheckClaimedSize, with its own message.
        png_set_user_limits(png_, kLargestPngSide, kLargestPngSide);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
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

// The libdeflate level (1 to 12) of each compression, chosen by measuring
// whole chains of 4096 x 4096 photographs and noisy images: level 2 is the
// fastest whose files are no larger than those of zlib's default level
// without filters on both; 6 is libdeflate's own default, about 10% smaller
// again at 1.6 times the time; 10, its near-optimal parse, another 10%
// smaller on photographs at 2.5 times the time of 6.
struct CompressionSettings {
    Compression compression;
    const char* name;
    int deflateLevel;
};
constexpr CompressionSettings kCompressions[] = {
    {Compression::kFast, "fast", 2},
    {Compression::kDefault, "default", 6},
    {Compression::kSmall, "small", 10},
};

const CompressionSettings& SettingsOf(Compression compression) {
    for (const CompressionSettings& settings : kCompressions) {
        if (settings.compression == compression) return settings;
    }
    return kCompressions[0];
}

// One row of 32-bit pixels as the file stores it: R, G, B and, for
// A8R8G8B8, A.
void ToFileOrder(const uint32_t* pixels, uint32_t width, PixelFormat format, uint8_t* out) {
    const bool alpha = format == PixelFormat::kArgb;
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t p = pixels[x];
        *out++ = static_cast<uint8_t>(p >> 16);
        *out++ = static_cast<uint8_t>(p >> 8);
        *out++ = static_cast<uint8_t>(p);
        if (alpha) *out++ = static_cast<uint8_t>(p >> 24);
    }
}

// The image's rows in file order, filtered: what the zlib stream holds.
std::vector<uint8_t> FilteredRows(const PixelImage& image, PixelFormat format) {
    const unsigned bytesPerPixel =
        format == PixelFormat::kArgb ? kRgbaBytesPerPixel : kRgbBytesPerPixel;
    const std::size_t rowBytes = std::size_t{image.width} * bytesPerPixel;
    RowFilterer filterer(rowBytes, bytesPerPixel);
    std::vector<uint8_t> row(rowBytes), above(rowBytes);
    std::vector<uint8_t> filtered;
    filtered.reserve((rowBytes + 1) * image.height);
    for (uint32_t y = 0; y < image.height; ++y) {
        ToFileOrder(&image.pixels[std::size_t{y} * image.width], image.width, format, row.data());
        filterer.Append(row, y == 0 ? std::span<const uint8_t>() : above, filtered);
        row.swap(above);
    }
    return filtered;
}

// The filtered rows as one zlib stream, or nothing when libdeflate cannot
// start.
std::optional<std::vector<uint8_t>> Deflated(const std::vector<uint8_t>& filtered, int level) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    if (compressor == nullptr) return std::nullopt;
    std::vector<uint8_t> stream(libdeflate_zlib_compress_bound(compressor, filtered.size()));
    stream.resize(libdeflate_zlib_compress(compressor, filtered.data(), filtered.size(),
                                           stream.data(), stream.size()));
    libdeflate_free_compressor(compressor);
    return stream;
}

// The bytes libpng writes; reserved in full beforehand, so appending never
// allocates inside libpng's call.
struct WriteState {
    std::vector<uint8_t>* file;
    char message[kMessageBytes];
};

void AppendToMemory(png_structp png, png_bytep data, png_size_t length) {
    std::vector<uint8_t>& file = *static_cast<WriteState*>(png_get_io_ptr(png))->file;
    if (length > file.capacity() - file.size()) png_error(png, "more chunk bytes than expected");
    file.insert(file.end(), data, data + length);
}

void NothingToFlush(png_structp) {}

[[noreturn]] void KeepWriteMessageAndJump(png_structp png, png_const_charp message) {
    auto* state = static_cast<WriteState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

class PngWriter : public PngStructs {
public:
    explicit PngWriter(WriteState& state)
        : PngStructs(png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, KeepWriteMessageAndJump,
                                             IgnoreWarning)) {
        if (png_ != nullptr) png_set_write_fn(png_, &state, AppendToMemory, NothingToFlush);
    }
    ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
};

// The signature, the header, the zlib stream as one IDAT chunk (a stream
// of the largest image accepted stays far below the chunk limit of 2^31 - 1
// bytes) and the end chunk. False on a libpng error.
bool WriteChunks(png_structp png, png_infop info, const PixelImage& image, PixelFormat format,
                 const std::vector<uint8_t>& stream) {
    if (setjmp(png_jmpbuf(png))) return false;
    const int colorType =
        format == PixelFormat::kArgb ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, image.width, image.height, kBitsPerSample, colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), stream.data(), stream.size());
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    return true;
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

std::optional<Compression> CompressionNamed(std::string_view name) {
    for (const CompressionSettings& settings : kCompressions) {
        if (name == settings.name) return settings.compression;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> EncodePng(const PixelImage& image, PixelFormat format,
                                              Compression compression, std::string& error) {
    const CompressionSettings& settings = SettingsOf(compression);
    const std::optional<std::vector<uint8_t>> stream =
        Deflated(FilteredRows(image, format), settings.deflateLevel);
    if (!stream) {
        error = "cannot start the deflate compressor";
        return std::nullopt;
    }
    std::vector<uint8_t> file;
    file.reserve(kPngFramingBytes + stream->size());
    WriteState state{&file, {}};
    PngWriter writer(state);
    if (!writer.Created() || !WriteChunks(writer.Png(), writer.Info(), image, format, *stream)) {
        error = state.message[0] != 0 ? state.message : "cannot start the PNG encoder";
        return std::nullopt;
    }
    return file;
}

bool WritePng(const std::string& path, const PixelImage& image, PixelFormat format,
              Compression compression, std::string& error) {
    std::string problem;
    const std::optional<std::vector<uint8_t>> file = EncodePng(image, format, compression, problem);
    if (!file) {
        error = "cannot encode PNG '" + path + "': " + problem;
        return false;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(file->data()), file->size());
    return flamer_common::WriteFileWhole(path, bytes, error);
}

}  // namespace mipchain
