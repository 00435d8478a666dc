// mipchain: reads a PNG, converts it to A8R8G8B8 (or X8R8G8B8), and writes
// every level of its mip chain down to 1x1 as PNG files, printing each
// level's size and the time its box filter call took.
#include "command_line.h"
#include "d3dx_math.h"
#include "mip_chain.h"
#include "png_file.h"

#include <array>
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

using flamer_common::kExitFailure;
using flamer_common::kExitSuccess;
using flamer_common::kExitUsage;

constexpr char kProgram[] = "mipchain";

constexpr const char* kUsage =
    "usage: mipchain [OPTION]... INPUT.png OUTPUT-PREFIX\n"
    "Writes every level of the input's mip chain, from the full image down to\n"
    "1x1, as OUTPUT-PREFIX_LEVEL.png (level 0 is the full image), creating\n"
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
    "  -h, --help  print this text and exit\n"
    "  --version   print the version and exit\n"
    "\n"
    "Exit status: 0 written; 1 a file could not be read or written; 2 a usage\n"
    "error or an output that would overwrite the input.\n";

constexpr flamer_common::OptionSpec kXrgb{"xrgb", 0, false};
constexpr flamer_common::OptionSpec kHelp{"help", 'h', false};
constexpr flamer_common::OptionSpec kVersion{"version", 0, false};
constexpr std::array kOptions{kXrgb, kHelp, kVersion};

struct Options {
    PixelFormat format = PixelFormat::kArgb;
    std::string input;
    std::string prefix;
};

void PrintError(const std::string& message) { flamer_common::SayError(kProgram, message); }

// Why prefix cannot name the level files, or nothing when it can.
std::optional<std::string> PrefixProblem(const std::string& prefix) {
    if (prefix.empty()) return "the output prefix is empty";
    if (fs::path(prefix).filename().empty()) {
        return "the output prefix '" + prefix + "' ends in a folder; add a file name part";
    }
    return std::nullopt;
}

// Fills options from the command line; returns an exit code when the
// program should stop right away (help, version or a usage error).
std::optional<int> ParseArguments(int argc, char** argv, Options& options) {
    flamer_common::CommandLine line;
    std::string error;
    if (!flamer_common::ReadCommandLine(argc, argv, kOptions, line, error))
        return flamer_common::UsageError(kProgram, error);
    for (const flamer_common::GivenOption& given : line.options) {
        const std::string_view name = given.spec->name;
        if (name == kHelp.name) {
            std::fputs(kUsage, stdout);
            return kExitSuccess;
        }
        if (name == kVersion.name) {
            std::puts("mipchain (flamer) " D3DXMATH_VERSION_STRING);
            return kExitSuccess;
        }
        if (name == kXrgb.name) options.format = PixelFormat::kXrgb;
    }
    if (line.operands.size() != 2)
        return flamer_common::UsageError(kProgram, "expected an input PNG and an output prefix");
    options.input = line.operands[0];
    options.prefix = line.operands[1];
    if (const std::optional<std::string> problem = PrefixProblem(options.prefix))
        return flamer_common::UsageError(kProgram, *problem);
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
    return kExitSuccess;
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
