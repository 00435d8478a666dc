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

std::string UsageText(const std::string& program);

// Reads the arguments after the program name. False, with a reason in
// `error`, on a usage error.
bool ParseOptions(const std::vector<std::string>& args, const std::string& defaultPlugin,
                  Options& options, std::string& error);

}  // namespace flamer_host
