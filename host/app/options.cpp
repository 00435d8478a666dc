#include "options.h"

#include "command_line.h"

#include <array>
#include <string_view>

namespace flamer_host {
namespace {

constexpr flamer_common::KnownOption kPlugin{"plugin", 0, true};
constexpr flamer_common::KnownOption kSvg{"svg", 0, true};
constexpr flamer_common::KnownOption kPrintDefault{"print-default", 0, false};
constexpr flamer_common::KnownOption kHelp{"help", 'h', false};
constexpr flamer_common::KnownOption kVersion{"version", 0, false};
constexpr std::array kOptions{kPlugin, kSvg, kPrintDefault, kHelp, kVersion};

}  // namespace

std::string UsageText() {
    return "usage: flamer_host [OPTION]... [SCENARIO]\n"
           "Plays a scenario with the Flamer plug-in, or any modules, and reports what\n"
           "every command and every module did.\n"
           "\n"
           "  SCENARIO           scenario file to play; '-' reads standard input;\n"
           "                     without one the built-in scenario is played\n"
           "  --plugin=PATH      a module to load; give it once for each module (default:\n"
           "                     the Flamer plug-in installed or built with this program)\n"
           "  --svg=DIR          draw every explosion, from above and from the side, into DIR\n"
           "                     (explosion-NN.svg, and index.html that shows them in order)\n"
           "  --print-default    print the built-in scenario and exit\n"
           "  -h, --help         print this text and exit\n"
           "  --version          print the version and exit\n"
           "\n"
           "Exit status: 0 played; 1 a module or a command failed; 2 a usage error or a\n"
           "scenario refused before anything ran.\n";
}

bool ParseOptions(int argc, char** argv, const std::string& defaultPlugin, Options& options,
                  std::string& error) {
    options = Options{};
    flamer_common::CommandLine line;
    if (!flamer_common::ReadCommandLine(argc, argv, kOptions, line, error)) return false;
    for (const flamer_common::GivenOption& given : line.options) {
        const std::string_view name = given.option->name;
        if (name == kPlugin.name) options.pluginPaths.push_back(given.value);
        if (name == kSvg.name) options.svgDirectory = given.value;
        if (name == kPrintDefault.name) options.printDefault = true;
        if (name == kHelp.name) options.help = true;
        if (name == kVersion.name) options.version = true;
    }
    if (line.operands.size() > 1) {
        error = "more than one scenario given: " + line.operands[0] + " and " + line.operands[1];
        return false;
    }
    if (!line.operands.empty()) options.scenarioPath = line.operands.front();
    if (options.pluginPaths.empty()) options.pluginPaths.push_back(defaultPlugin);
    return true;
}

}  // namespace flamer_host
