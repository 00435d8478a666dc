// mipchain: reads a PNG, converts it to A8R8G8B8 (or X8R8G8B8), and writes
// every level of its mip chain down to 1x1 as PNG files, printing each
// level's size and the time its box filter call took.
#include "d3dx_math.h"
#include "mip_chain.h"
#include "png_file.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

using mipchain::PixelFormat;
using mipchain::PixelImage;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: mipchain [--xrgb] <input.png> <output-prefix>\n"
    "\n"
    "Writes every level of the input's mip chain, from the full image down to\n"
    "1x1, as <output-prefix>_<level>.png (level 0 is the full image), creating\n"
    "the prefix's folder when missing. Each level is floor(w/2) x floor(h/2)\n"
    "of the one before, at least 1: an odd last column or row is left out,\n"
    "and a side that has reached 1 is repeated so that the other keeps\n"
    "halving. Every channel, alpha included, is the rounded average of a 2x2\n"
    "block; colours are not weighted by alpha. 16-bit samples are rounded to\n"
    "8 bits; gamma and colour-profile chunks are not applied. Images of more\n"
    "than 16384 x 16384 pixels are refused.\n"
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

// Why prefix cannot name the level files, or nothing when it can.
std::optional<std::string> PrefixProblem(const std::string& prefix) {
    if (prefix.empty()) return "the output prefix is empty";
    if (fs::path(prefix).filename().empty()) {
        return "the output prefix '" + prefix + "' ends in a folder; add a file name part";
    }
    return std::nullopt;
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
    if (const std::optional<std::string> problem = PrefixProblem(options.prefix)) {
        return UsageError(*problem);
    }
    return std::nullopt;
}

std::string LevelPath(const std::string& prefix, uint32_t level) {
    return prefix + "_" + std::to_string(level) + ".png";
}

// The first level file that is the input file itself, if any.
std::optional<std::string> LevelOverwritingInput(const Options& options, uint32_t levels) {
    for (uint32_t level = 0; level < levels; ++level) {
        const std::string path = LevelPath(options.prefix, level);
        std::error_code code;
        if (fs::equivalent(path, options.input, code)) return path;
    }
    return std::nullopt;
}

bool CreateOutputFolder(const std::string& prefix) {
    const fs::path folder = fs::path(prefix).parent_path();
    if (folder.empty()) return true;
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        PrintError("cannot create the folder '" + folder.string() + "': " + code.message());
        return false;
    }
    return true;
}

// Writes level files and, unless told the chain is complete, removes them
// again: a chain that stops part way leaves no levels behind.
class LevelWriter {
public:
    explicit LevelWriter(const Options& options) : options_(options) {}
    ~LevelWriter() {
        if (!complete_) RemoveWritten();
    }
    LevelWriter(const LevelWriter&) = delete;
    LevelWriter& operator=(const LevelWriter&) = delete;

    bool Write(uint32_t level, const PixelImage& image, std::optional<double> milliseconds) {
        const std::string path = LevelPath(options_.prefix, level);
        std::string error;
        if (!mipchain::WritePng(path, image, options_.format, error)) {
            PrintError(error);
            return false;
        }
        written_.push_back(path);
        PrintLevel(level, image, milliseconds, path);
        return true;
    }

    void Complete() { complete_ = true; }

private:
    // Level 0 is the source itself and has no filter time.
    static void PrintLevel(uint32_t level, const PixelImage& image,
                           std::optional<double> milliseconds, const std::string& path) {
        std::printf("level %2u  %6u x %-6u  ", level, image.width, image.height);
        if (milliseconds) {
            std::printf("%9.3f ms  %s\n", *milliseconds, path.c_str());
        } else {
            std::printf("%9s     %s\n", "source", path.c_str());
        }
    }

    void RemoveWritten() {
        if (written_.empty()) return;
        std::error_code code;
        for (const std::string& path : written_) fs::remove(path, code);
        std::fprintf(stderr, "mipchain: removed the %zu level(s) already written\n",
                     written_.size());
    }

    const Options& options_;
    std::vector<std::string> written_;
    bool complete_ = false;
};

// The level after image, with the time of its box filter call alone (the
// allocation and the widening of a 1-pixel side are not timed).
PixelImage TimedNextLevel(const PixelImage& image, PixelFormat format, double& milliseconds) {
    PixelImage next = mipchain::AllocateNextLevel(image);
    const std::optional<PixelImage> widened = mipchain::WidenedForFilter(image);
    const auto start = std::chrono::steady_clock::now();
    mipchain::FilterInto(widened ? *widened : image, next, format);
    milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return next;
}

int WriteChain(const Options& options, PixelImage image) {
    const uint32_t levels = mipchain::LevelCount({image.width, image.height});
    if (const std::optional<std::string> path = LevelOverwritingInput(options, levels)) {
        PrintError("the output '" + *path + "' is the input file; choose another prefix");
        return kExitUsage;
    }
    if (!CreateOutputFolder(options.prefix)) return kExitFailure;
    std::printf("%s: %u x %u, %u levels, %s; times are of the box filter call alone\n",
                options.input.c_str(), image.width, image.height, levels,
                options.format == PixelFormat::kArgb ? "A8R8G8B8" : "X8R8G8B8");
    mipchain::BindBoxFilter();
    LevelWriter writer(options);
    if (!writer.Write(0, image, std::nullopt)) return kExitFailure;
    for (uint32_t level = 1; level < levels; ++level) {
        double milliseconds = 0.0;
        image = TimedNextLevel(image, options.format, milliseconds);
        if (!writer.Write(level, image, milliseconds)) return kExitFailure;
    }
    writer.Complete();
    return kExitOk;
}

int Run(const Options& options) {
    std::string error;
    std::optional<PixelImage> image = mipchain::ReadPng(options.input, options.format, error);
    if (!image) {
        PrintError(error);
        return kExitFailure;
    }
    return WriteChain(options, std::move(*image));
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with its reason instead of
    // stopping the program.
    std::signal(SIGXFSZ, SIG_IGN);
    Options options;
    if (const std::optional<int> exitCode = ParseArguments(argc, argv, options)) return *exitCode;
    try {
        return Run(options);
    } catch (const std::bad_alloc&) {
        PrintError("not enough memory for '" + options.input + "' and its levels");
        return kExitFailure;
    }
}
