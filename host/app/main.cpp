// flamer_host: loads the Flamer plug-in as the engine would, plays a scenario
// in a recording world and prints what every explosion did.
#include "d3dx_math.h"
#include "default_scenario.h"
#include "flamer_class.h"
#include "options.h"
#include "picture_folder.h"
#include "play.h"
#include "plugin.h"
#include "plugin_location.h"
#include "report.h"
#include "scenario.h"
#include "scenario_world.h"
#include "zorMemLeakRecords.h"
#include "zorWorld.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

// The plug-in's place in an installed tree, relative to this program's
// folder; cmake/Install.cmake sets it when the project has install rules.
#ifndef FLAMER_INSTALLED_PLUGIN_PATH
#define FLAMER_INSTALLED_PLUGIN_PATH ""
#endif

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;   // the plug-in or the run failed
constexpr int kExitBadInput = 2;  // usage errors and broken scenarios
constexpr char kStandardInput[] = "-";
constexpr char kStandardInputName[] = "<stdin>";

// The scenario's text and the name messages use for it; false, with the
// reason in `error`, when it cannot be read.
bool ReadScenarioText(const flamer_host::Options& options, std::string& text, std::string& source,
                      std::string& error) {
    if (options.scenarioPath.empty()) {
        text = flamer_host::DefaultScenario();
        source = flamer_host::kDefaultScenarioName;
        return true;
    }
    if (options.scenarioPath == kStandardInput) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        source = kStandardInputName;
        return true;
    }
    std::error_code code;
    if (std::filesystem::is_directory(options.scenarioPath, code)) {
        error = "it is a folder, not a file";
        return false;
    }
    std::ifstream file(options.scenarioPath, std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        error = "reading it failed";
        return false;
    }
    text = content.str();
    source = options.scenarioPath;
    return true;
}

int RunHost(const flamer_host::Options& options) {
    std::string text;
    std::string source;
    std::string error;
    if (!ReadScenarioText(options, text, source, error)) {
        std::cerr << "flamer_host: cannot read the scenario " << options.scenarioPath << ": "
                  << error << "\n";
        return kExitBadInput;
    }
    if (!options.svgDirectory.empty() &&
        !flamer_host::PrepareSvgDirectory(options.svgDirectory, error)) {
        std::cerr << "flamer_host: " << error << "\n";
        return kExitBadInput;
    }
    const std::unique_ptr<flamer_host::Plugin> plugin =
        flamer_host::Plugin::Load(options.pluginPath, error);
    if (!plugin) {
        std::cerr << "flamer_host: " << error << "\n";
        return kExitFailure;
    }
    int status = kExitFailure;
    {
        flamer_host::ScenarioWorld world;
        zorWorld* previous = zorQWorld_SetCurrent(&world);
        zorObjClass* cls = plugin->CreateClass();
        if (const std::optional<flamer_host::FlamerClass> flamerClass =
                flamer_host::FlamerClass::Check(cls, error)) {
            const flamer_host::PlayResult played = flamer_host::PlayScenario(
                text, source, *flamerClass, world, std::cout, std::cerr, options.svgDirectory);
            status = played == flamer_host::PlayResult::kPlayed   ? kExitSuccess
                     : played == flamer_host::PlayResult::kFailed ? kExitFailure
                                                                  : kExitBadInput;
        } else {
            std::cerr << "flamer_host: the plug-in " << options.pluginPath
                      << " is not a Flamer plug-in: " << error << "\n";
            delete cls;
        }
        zorQWorld_SetCurrent(previous);
    }
    if (status != kExitBadInput) {
        std::cout << "\n";
        flamer_host::PrintLeakReport(std::cout, zorMemLeak_Report());
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // The report can run to many megabytes: let the streams buffer on their own.
    std::ios::sync_with_stdio(false);
    const std::string program = argc > 0 ? argv[0] : "flamer_host";
    flamer_host::Options options;
    std::string error;
    const std::string defaultPlugin = flamer_host::DefaultPluginPath(
        flamer_host::ProgramDirectory(), FLAMER_INSTALLED_PLUGIN_PATH, FLAMER_PLUGIN_PATH);
    if (!flamer_host::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), defaultPlugin,
                                   options, error)) {
        std::cerr << "flamer_host: " << error << "\n" << flamer_host::UsageText(program);
        return kExitBadInput;
    }
    if (options.help) {
        std::cout << flamer_host::UsageText(program);
        return kExitSuccess;
    }
    if (options.version) {
        // The project's version, which the math library's header carries.
        std::cout << "flamer_host (flamer) " D3DXMATH_VERSION_STRING "\n";
        return kExitSuccess;
    }
    if (options.printDefault) {
        std::cout << flamer_host::DefaultScenario();
        return kExitSuccess;
    }
    return RunHost(options);
}
