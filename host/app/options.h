// The host program's command line.
#pragma once

#include <string>
#include <vector>

namespace flamer_host {

struct Options {
    std::string scenarioPath;              // empty: the built-in scenario; "-": standard input
    std::vector<std::string> pluginPaths;  // the modules to load, in order
    std::string svgDirectory;              // empty: no pictures
    bool printDefault = false;
    bool help = false;
    bool version = false;
};

std::string UsageText();

// Reads the command line; without a --plugin, `defaultPlugin` is loaded.
// False, with a one-line reason in `error`, on a usage error.
bool ParseOptions(int argc, char** argv, const std::string& defaultPlugin, Options& options,
                  std::string& error);

}  // namespace flamer_host
