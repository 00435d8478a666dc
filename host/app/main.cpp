// flamer_host: loads modules as the engine would, plays a scenario in a
// recording world and prints what every command and every module did.
#include "d3dx_math.h"
#include "default_scenario.h"
#include "host_output.h"
#include "loaded_classes.h"
#include "module.h"
#include "options.h"
#include "picture_folder.h"
#include "play.h"
#include "plugin_location.h"
#include "recording_world.h"
#include "report.h"
#include "scenario_file.h"
#include "shown_text.h"
#include "zorMemLeakRecords.h"
#include "zorWorld.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <new>

// The plug-in's place in an installed tree, relative to this program's
// folder; cmake/Install.cmake sets it when the project has install rules.
#ifndef FLAMER_INSTALLED_PLUGIN_PATH
#define FLAMER_INSTALLED_PLUGIN_PATH ""
#endif

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;   // a module or the run failed
constexpr int kExitBadInput = 2;  // usage errors and broken scenarios

// Says that memory ran out without asking for more.
void SayOutOfMemory(const char* doing) {
    std::fputs("flamer_host: not enough memory ", stderr);
    std::fputs(doing, stderr);
    std::fputc('\n', stderr);
}

int ExitStatus(flamer_host::PlayResult result) {
    switch (result) {
        case flamer_host::PlayResult::kPlayed:
            return kExitSuccess;
        case flamer_host::PlayResult::kFailed:
            return kExitFailure;
        case flamer_host::PlayResult::kBroken:
            break;
    }
    return kExitBadInput;
}

// Makes the modules' classes and plays the scenario with them in a
// recording world; every class is gone when it returns.
int Play(const flamer_host::Modules& modules, const std::string& text, const std::string& source,
         const flamer_host::Options& options) {
    flamer_host::RecordingWorld world;
    zorWorld* previous = zorQWorld_SetCurrent(&world);
    int status = kExitFailure;
    {
        flamer_host::LoadedClasses classes;
        std::string error;
        if (classes.Create(modules, error)) {
            flamer_host::HostOutput output(std::cout, std::cerr, options.svgDirectory);
            status = ExitStatus(flamer_host::PlayScenario(text, source, classes, world, output));
        } else {
            std::cerr << "flamer_host: " << flamer_host::Printable(error) << "\n";
        }
    }
    zorQWorld_SetCurrent(previous);
    return status;
}

int RunHost(const flamer_host::Options& options) {
    flamer_host::ScenarioText scenario;
    std::string error;
    bool read = false;
    try {
        read = flamer_host::ReadScenario(options.scenarioPath, scenario, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory";
    }
    if (!read) {
        std::cerr << "flamer_host: cannot read the scenario "
                  << flamer_host::Printable(options.scenarioPath) << ": " << error << "\n";
        return kExitBadInput;
    }
    if (!flamer_host::CheckModuleNames(options.pluginPaths, error) ||
        (!options.svgDirectory.empty() &&
         !flamer_host::PrepareSvgDirectory(options.svgDirectory, error))) {
        std::cerr << "flamer_host: " << flamer_host::Printable(error) << "\n";
        return kExitBadInput;
    }
    flamer_host::Modules modules;
    if (!flamer_host::LoadModules(options.pluginPaths, modules, error)) {
        std::cerr << "flamer_host: " << flamer_host::Printable(error) << "\n";
        return kExitFailure;
    }
    const int status = Play(modules, scenario.text, scenario.source, options);
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
    // A file-size limit makes a write fail with its reason instead of
    // stopping the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::string program = argc > 0 ? argv[0] : "flamer_host";
    flamer_host::Options options;
    std::string error;
    const std::string defaultPlugin = flamer_host::DefaultPluginPath(
        flamer_host::ProgramDirectory(), FLAMER_INSTALLED_PLUGIN_PATH, FLAMER_PLUGIN_PATH);
    if (!flamer_host::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), defaultPlugin,
                                   options, error)) {
        std::cerr << "flamer_host: " << flamer_host::Printable(error) << "\n"
                  << flamer_host::UsageText(program);
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
    try {
        return RunHost(options);
    } catch (const std::bad_alloc&) {
        SayOutOfMemory("to play the scenario");
        return kExitFailure;
    }
}
