// mipchain: reads a PNG, converts it to A8R8G8B8 (or X8R8G8B8), and writes
// every level of its mip chain down to 1x1 as PNG files, printing a line for
// each level written (with --verbose, the time its box filter call took).
//
// Encoding is most of the work, and the full image has three times the
// pixels of all the other levels together: it is encoded and written on a
// thread of its own while this one makes and writes the rest.
#include "command_line.h"
#include "d3dx_math.h"
#include "mip_chain.h"
#include "png_file.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <future>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

using mipchain::Compression;
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
    "  --xrgb               treat pixels as X8R8G8B8: the alpha is dropped and\n"
    "                       the levels are written as RGB files (default:\n"
    "                       A8R8G8B8, RGBA)\n"
    "  --compression=HOW    fast, default or small: 'fast' takes 40% less time\n"
    "                       than 'default' for files about 10% larger; 'small'\n"
    "                       takes 2.5 times as long for files up to 10% smaller\n"
    "  -v, --verbose        also print the time of each level's box filter call\n"
    "  -h, --help           print this text and exit\n"
    "  --version            print the version and exit\n"
    "\n"
    "Exit status: 0 written; 1 a file could not be read or written; 2 a usage\n"
    "error or an output that would overwrite the input.\n";

constexpr flamer_common::KnownOption kXrgb{"xrgb", 0, false};
constexpr flamer_common::KnownOption kCompression{"compression", 0, true};
constexpr flamer_common::KnownOption kVerbose{"verbose", 'v', false};
constexpr flamer_common::KnownOption kHelp{"help", 'h', false};
constexpr flamer_common::KnownOption kVersion{"version", 0, false};
constexpr std::array kOptions{kXrgb, kCompression, kVerbose, kHelp, kVersion};

struct Options {
    PixelFormat format = PixelFormat::kArgb;
    Compression compression = Compression::kDefault;
    bool verbose = false;
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
        const std::string_view name = given.option->name;
        if (name == kHelp.name) {
            std::fputs(kUsage, stdout);
            return kExitSuccess;
        }
        if (name == kVersion.name) {
            std::puts("mipchain (flamer) " D3DXMATH_VERSION_STRING);
            return kExitSuccess;
        }
        if (name == kXrgb.name) options.format = PixelFormat::kXrgb;
        if (name == kVerbose.name) options.verbose = true;
        if (name == kCompression.name) {
            const std::optional<Compression> compression = mipchain::CompressionNamed(given.value);
            if (!compression) {
                return flamer_common::UsageError(kProgram, "unknown compression '" + given.value +
                                                               "'; use fast, default or small");
            }
            options.compression = *compression;
        }
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

// One level written: what its line says.
struct WrittenLevel {
    uint32_t width = 0;
    uint32_t height = 0;
    std::optional<double> filterMilliseconds;  // none for level 0, the source
    std::string path;
};

// Writes level files from any thread and, unless told the chain is
// complete, removes them again: a chain that stops part way leaves no
// levels behind. The lines are printed at the end, in level order.
class LevelWriter {
public:
    LevelWriter(const Options& options, uint32_t levels)
        : options_(options), written_(levels), errors_(levels) {}
    ~LevelWriter() {
        if (!complete_) RemoveWritten();
    }
    LevelWriter(const LevelWriter&) = delete;
    LevelWriter& operator=(const LevelWriter&) = delete;

    bool Write(uint32_t level, const PixelImage& image, std::optional<double> milliseconds) {
        const std::string path = LevelPath(options_.prefix, level);
        std::string error;
        const bool written =
            mipchain::WritePng(path, image, options_.format, options_.compression, error);
        const std::lock_guard lock(mutex_);
        if (written) {
            written_[level] = WrittenLevel{image.width, image.height, milliseconds, path};
        } else {
            errors_[level] = error;
        }
        return written;
    }

    // Says the first level's error, if any; otherwise prints every level's
    // line, keeps the chain and returns true.
    bool Finish() {
        for (const std::optional<std::string>& error : errors_) {
            if (error) {
                PrintError(*error);
                return false;
            }
        }
        for (uint32_t level = 0; level < written_.size(); ++level) PrintLevel(level);
        complete_ = true;
        return true;
    }

private:
    void PrintLevel(uint32_t level) const {
        const WrittenLevel& line = *written_[level];
        std::printf("level %2u  %6u x %-6u  ", level, line.width, line.height);
        if (!options_.verbose) {
            std::printf("%s\n", line.path.c_str());
        } else if (line.filterMilliseconds) {
            std::printf("%9.3f ms  %s\n", *line.filterMilliseconds, line.path.c_str());
        } else {
            std::printf("%9s     %s\n", "source", line.path.c_str());
        }
    }

    void RemoveWritten() {
        std::size_t removed = 0;
        std::error_code code;
        for (const std::optional<WrittenLevel>& level : written_) {
            if (level && fs::remove(level->path, code)) ++removed;
        }
        if (removed != 0) {
            std::fprintf(stderr, "mipchain: removed the %zu level(s) already written\n", removed);
        }
    }

    const Options& options_;
    std::mutex mutex_;
    std::vector<std::optional<WrittenLevel>> written_;
    std::vector<std::optional<std::string>> errors_;
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

// Makes and writes levels 1 and on, each from the one before, until one
// cannot be written.
void WriteLaterLevels(const PixelImage& source, uint32_t levels, PixelFormat format,
                      LevelWriter& writer) {
    const PixelImage* previous = &source;
    PixelImage image;
    for (uint32_t level = 1; level < levels; ++level) {
        double milliseconds = 0.0;
        image = TimedNextLevel(*previous, format, milliseconds);
        if (!writer.Write(level, image, milliseconds)) return;
        previous = &image;
    }
}

// Both policies: a thread when one can be started, else the work runs when
// its result is asked for.
constexpr std::launch kOnAThreadWhenOneCanStart = std::launch::async | std::launch::deferred;

int WriteChain(const Options& options, const PixelImage& source) {
    const uint32_t levels = mipchain::LevelCount({source.width, source.height});
    if (const std::optional<std::string> path = LevelOverwritingInput(options, levels)) {
        PrintError("the output '" + *path + "' is the input file; choose another prefix");
        return kExitUsage;
    }
    if (!CreateOutputFolder(options.prefix)) return kExitFailure;
    if (options.verbose) {
        std::printf("%s: %u x %u, %u levels, %s; times are of the box filter call alone\n",
                    options.input.c_str(), source.width, source.height, levels,
                    options.format == PixelFormat::kArgb ? "A8R8G8B8" : "X8R8G8B8");
    }
    mipchain::BindBoxFilter();
    LevelWriter writer(options, levels);
    {
        std::future<bool> firstLevel = std::async(
            kOnAThreadWhenOneCanStart, [&] { return writer.Write(0, source, std::nullopt); });
        WriteLaterLevels(source, levels, options.format, writer);
        firstLevel.get();
    }
    return writer.Finish() ? kExitSuccess : kExitFailure;
}

int Run(const Options& options) {
    std::string error;
    std::optional<PixelImage> image = mipchain::ReadPng(options.input, options.format, error);
    if (!image) {
        PrintError(error);
        return kExitFailure;
    }
    return WriteChain(options, *image);
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
