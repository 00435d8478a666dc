// The command line as the project's programs read it, in one style: GNU
// long options through getopt_long (--name VALUE and --name=VALUE, short
// options, "--" ends the options, options anywhere among the operands),
// messages as "PROGRAM: message", a usage error in one line that points to
// --help, and the same exit status for the same kind of outcome.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace flamer_common {

// The exit statuses of every program of the project: it did what was asked;
// it ran and failed (a file, a module, memory); it was asked wrongly, or
// refused its input before doing anything.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// One option a program takes.
struct KnownOption {
    const char* name;  // the long name, without the dashes
    char shortName;    // 0 when it has none
    bool takesValue;
};

struct GivenOption {
    const KnownOption* option;
    std::string value;  // empty for an option that takes none
};

struct CommandLine {
    std::vector<GivenOption> options;  // in the order given
    std::vector<std::string> operands;
};

// Reads argv with getopt_long. False, with a one-line reason in `error`, for
// an unknown option, a missing or empty value, or a value given to an option
// that takes none.
bool ReadCommandLine(int argc, char** argv, std::span<const KnownOption> known, CommandLine& line,
                     std::string& error);

// "PROGRAM: message" on standard error.
void SayError(const char* program, const std::string& message);
// The usage error "PROGRAM: message (try 'PROGRAM --help')" on standard
// error; returns kExitUsage.
int UsageError(const char* program, const std::string& message);

}  // namespace flamer_common
