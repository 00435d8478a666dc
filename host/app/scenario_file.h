// Reading the scenario the command line names: a file, standard input, or
// the built-in scenario.
#pragma once

#include <string>

namespace flamer_host {

// The longest scenario read from standard input, a pipe or a device: far
// more than any script a person writes, and a stop for one that never ends.
inline constexpr std::size_t kMaxStreamedScenario = std::size_t{256} << 20;

struct ScenarioText {
    std::string text;
    std::string source;  // the name messages use for it
};

// Reads the scenario at `path` ("-": standard input; empty: the built-in
// one). A stream that is not a regular file is read up to its first NUL
// byte (which the checker then refuses) or kMaxStreamedScenario bytes, so
// /dev/zero stops at once. False, with the reason in `error`, when it
// cannot be read; std::bad_alloc when memory runs out.
bool ReadScenario(const std::string& path, ScenarioText& scenario, std::string& error);

}  // namespace flamer_host
