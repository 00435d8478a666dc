#include "command_line.h"

#include <cstdio>
#include <getopt.h>

namespace flamer_common {
namespace {

// getopt_long answers a long option with this plus its index in the table.
constexpr int kLongOptionBase = 256;

std::string Dashed(const KnownOption& option) { return std::string("--") + option.name; }

// The option getopt_long answered with `found`: a long option's index past
// kLongOptionBase, or a short option's letter.
const KnownOption* KnownOptionOf(std::span<const KnownOption> known, int found) {
    if (found >= kLongOptionBase) return &known[static_cast<std::size_t>(found - kLongOptionBase)];
    for (const KnownOption& option : known)
        if (option.shortName != 0 && option.shortName == found) return &option;
    return nullptr;
}

}  // namespace

bool ReadCommandLine(int argc, char** argv, std::span<const KnownOption> known, CommandLine& line,
                     std::string& error) {
    std::vector<struct option> longOptions;
    // A leading ':' has a missing value answered with ':', and no message
    // printed by getopt itself.
    std::string shortOptions = ":";
    for (std::size_t i = 0; i < known.size(); ++i) {
        const KnownOption& wanted = known[i];
        longOptions.push_back({wanted.name, wanted.takesValue ? required_argument : no_argument,
                               nullptr, kLongOptionBase + static_cast<int>(i)});
        if (wanted.shortName != 0) {
            shortOptions += wanted.shortName;
            if (wanted.takesValue) shortOptions += ':';
        }
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});
    opterr = 0;
    optind = 0;  // start afresh, however often the program reads a command line
    line = CommandLine{};
    while (true) {
        const int found =
            getopt_long(argc, argv, shortOptions.c_str(), longOptions.data(), nullptr);
        if (found == -1) break;
        const std::string given = optind > 0 && optind <= argc ? argv[optind - 1] : "";
        if (found == '?') {
            if (optopt >= kLongOptionBase)
                error = "option '" + Dashed(*KnownOptionOf(known, optopt)) + "' takes no value";
            else if (optopt != 0)
                error = "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
            else
                error = "unknown option '" + given.substr(0, given.find('=')) + "'";
            return false;
        }
        if (found == ':') {
            const KnownOption* option = KnownOptionOf(known, optopt);
            error = "option '" + (option != nullptr ? Dashed(*option) : given) + "' needs a value";
            return false;
        }
        const KnownOption* option = KnownOptionOf(known, found);
        const std::string value = option->takesValue && optarg != nullptr ? optarg : "";
        if (option->takesValue && value.empty()) {
            error = "option '" + Dashed(*option) + "' needs a value";
            return false;
        }
        line.options.push_back(GivenOption{option, value});
    }
    for (int i = optind; i < argc; ++i) line.operands.emplace_back(argv[i]);
    return true;
}

void SayError(const char* program, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
}

int UsageError(const char* program, const std::string& message) {
    std::fprintf(stderr, "%s: %s (try '%s --help')\n", program, message.c_str(), program);
    return kExitUsage;
}

}  // namespace flamer_common
