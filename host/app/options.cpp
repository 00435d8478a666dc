#include "options.h"

namespace flamer_host {
namespace {

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& value,
               std::string& error) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "option " + args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

}  // namespace

std::string UsageText(const std::string& program) {
    return "usage: " + program +
           " [--plugin PATH]... [--svg DIR] [--print-default] [--help] [--version] [SCENARIO]\n"
           "  SCENARIO         scenario file to play; '-' reads standard input;\n"
           "                   without one the built-in scenario is played\n"
           "  --plugin PATH    a module to load; give it once for each module (default: the\n"
           "                   Flamer plug-in installed or built with this program)\n"
           "  --svg DIR        draw every explosion, from above and from the side, into DIR\n"
           "                   (explosion-NN.svg, and index.html that shows them in order)\n"
           "  --print-default  print the built-in scenario and exit\n"
           "  --help           print this text and exit\n"
           "  --version        print the version and exit\n";
}

bool ParseOptions(const std::vector<std::string>& args, const std::string& defaultPlugin,
                  Options& options, std::string& error) {
    options = Options{};
    bool haveScenario = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--print-default") {
            options.printDefault = true;
        } else if (arg == "--plugin") {
            std::string path;
            if (!TakeValue(args, i, path, error)) return false;
            options.pluginPaths.push_back(path);
        } else if (arg == "--svg") {
            if (!TakeValue(args, i, options.svgDirectory, error)) return false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (haveScenario) {
            error = "more than one scenario given: " + options.scenarioPath + " and " + arg;
            return false;
        } else {
            options.scenarioPath = arg;
            haveScenario = true;
        }
    }
    if (options.pluginPaths.empty()) options.pluginPaths.push_back(defaultPlugin);
    return true;
}

}  // namespace flamer_host
