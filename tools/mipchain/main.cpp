// mipchain: reads a PNG, converts it to A8R8G8B8 (or X8R8G8B8), and writes
// every level of its mip chain down to 1x1 as PNG files, printing each
// level's size and the time its box filter pass took.
#include "d3dx_math.h"
#include "mip_chain.h"
#include "png_file.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using mipchain::PixelFormat;
using mipchain::PixelImage;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: mipchain [--xrgb] <input.png> <output-prefix>\n"
    "\n"
    "Writes every level of the input's mip chain, from the full image down to\n"
    "1x1, as <output-prefix>_<level>.png (level 0 is the full image).\n"
    "Each level is floor(w/2) x floor(h/2) of the one before, at least 1: an\n"
    "odd last column or row is left out of the next level, and a dimension\n"
    "that has reached 1 is repeated so that the other keeps halving.\n"
    "\n"
    "  --xrgb      treat pixels as X8R8G8B8: the alpha is dropped and the\n"
    "              levels are written as RGB files (default: A8R8G8B8, RGBA)\n"
    "  -h, --help  show this text\n"
    "  --version   show the version\n";

struct Options {
    PixelFormat format = PixelFormat::kArgb;
    std::string input;
    std::string prefix;
};

void PrintError(const std::string& message) {
    std::fprintf(stderr, "mipchain: error: %s\n", message.c_str());
}

int UsageError(const std::string& message) {
    PrintError(message);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

// Fills options from the command line; returns an exit code when the
// program should stop right away (help or a usage error).
std::optional<int> ParseArguments(int argc, char** argv, Options& options) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        if (arg == "--version") {
            std::puts("mipchain (flamer) " D3DXMATH_VERSION_STRING);
            return kExitOk;
        }
        if (arg == "--xrgb") {
            options.format = PixelFormat::kXrgb;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + std::string(arg) + "'");
        } else {
            positional.emplace_back(arg);
        }
    }
    if (positional.size() != 2) return UsageError("expected an input PNG and an output prefix");
    options.input = positional[0];
    options.prefix = positional[1];
    return std::nullopt;
}

std::string LevelPath(const std::string& prefix, uint32_t level) {
    return prefix + "_" + std::to_string(level) + ".png";
}

// Level 0 is the source itself and has no filter time.
void PrintLevel(uint32_t level, const PixelImage& image, std::optional<double> milliseconds,
                const std::string& path) {
    std::printf("level %2u  %6u x %-6u  ", level, image.width, image.height);
    if (milliseconds) {
        std::printf("%9.3f ms  %s\n", *milliseconds, path.c_str());
    } else {
        std::printf("%9s     %s\n", "source", path.c_str());
    }
}

bool WriteLevel(const Options& options, uint32_t level, const PixelImage& image,
                std::optional<double> milliseconds) {
    const std::string path = LevelPath(options.prefix, level);
    std::string error;
    if (!mipchain::WritePng(path, image, options.format, error)) {
        PrintError(error);
        return false;
    }
    PrintLevel(level, image, milliseconds, path);
    return true;
}

// Time of one level's box filter pass, in milliseconds.
PixelImage TimedNextLevel(const PixelImage& image, PixelFormat format, double& milliseconds) {
    const auto start = std::chrono::steady_clock::now();
    PixelImage next = mipchain::NextLevel(image, format);
    milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return next;
}

int WriteChain(const Options& options, PixelImage image) {
    const uint32_t levels = mipchain::LevelCount({image.width, image.height});
    std::printf("%s: %u x %u, %u levels, %s\n", options.input.c_str(), image.width, image.height,
                levels, options.format == PixelFormat::kArgb ? "A8R8G8B8" : "X8R8G8B8");
    if (!WriteLevel(options, 0, image, std::nullopt)) return kExitFailure;
    for (uint32_t level = 1; level < levels; ++level) {
        double milliseconds = 0.0;
        image = TimedNextLevel(image, options.format, milliseconds);
        if (!WriteLevel(options, level, image, milliseconds)) return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const std::optional<int> exitCode = ParseArguments(argc, argv, options)) return *exitCode;
    std::string error;
    std::optional<PixelImage> image = mipchain::ReadPng(options.input, options.format, error);
    if (!image) {
        PrintError(error);
        return kExitFailure;
    }
    return WriteChain(options, std::move(*image));
}
