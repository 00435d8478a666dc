// flamer_host: loads the Flamer plug-in as the engine would, plays a scenario
// in a recording world and prints what every explosion did.
#include "d3dx_math.h"
#include "default_scenario.h"
#include "options.h"
#include "plFlamer.h"
#include "plugin.h"
#include "plugin_location.h"
#include "report.h"
#include "runner.h"
#include "scenario.h"
#include "scenario_world.h"
#include "zorMemLeak.h"

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

bool ReadScenarioText(const flamer_host::Options& options, std::string& text, std::string& source) {
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
    std::ifstream file(options.scenarioPath, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    source = options.scenarioPath;
    return true;
}

void PrintErrors(const std::vector<flamer_host::ScenarioError>& errors) {
    for (const flamer_host::ScenarioError& error : errors)
        std::cerr << flamer_host::FormatError(error) << "\n";
    std::cerr << errors.size() << (errors.size() == 1 ? " error" : " errors")
              << ": nothing was run\n";
}

// Checks and plays the scenario with a class object the plug-in made; the
// class object is released and deleted here.
int PlayScenario(const flamer_host::Options& options, const std::string& text,
                 const std::string& source, zorPlFlamerClass* flamerClass,
                 flamer_host::ScenarioWorld& world) {
    flamerClass->AddRef();
    const flamer_host::ParseResult parsed =
        flamer_host::ParseScenario(text, source, flamer_host::ParamInfosOf(*flamerClass));
    int status = kExitBadInput;
    {
        flamer_host::ScenarioRunner runner(*flamerClass, world, std::cout, std::cerr,
                                           options.svgDirectory);
        if (parsed.errors.empty())
            status = runner.Run(parsed.scenario) ? kExitSuccess : kExitFailure;
        else
            PrintErrors(parsed.errors);
        runner.DestroyFlamers();
        flamerClass->Release();
        delete static_cast<zorModuleClass*>(flamerClass);
    }
    return status;
}

int RunHost(const flamer_host::Options& options) {
    std::string text;
    std::string source;
    if (!ReadScenarioText(options, text, source)) {
        std::cerr << "flamer_host: cannot read the scenario " << options.scenarioPath << "\n";
        return kExitBadInput;
    }
    std::string error;
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
        if (zorPlFlamerClass* flamerClass = plugin->CreateClass())
            status = PlayScenario(options, text, source, flamerClass, world);
        else
            std::cerr << "flamer_host: the plug-in made no class object\n";
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
