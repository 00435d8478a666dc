// flamer_host: loads modules as the engine would, plays a scenario in a
// recording world and prints what every command and every module did.
#include "command_line.h"
#include "d3dx_math.h"
#include "debugger_output.h"
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
#include <unistd.h>

// The plug-in's place in an installed tree, relative to this program's
// folder; cmake/Install.cmake sets it when the project has install rules.
#ifndef FLAMER_INSTALLED_PLUGIN_PATH
#define FLAMER_INSTALLED_PLUGIN_PATH ""
#endif

namespace {

using flamer_common::kExitFailure;
using flamer_common::kExitSuccess;
using flamer_common::kExitUsage;

constexpr char kProgram[] = "flamer_host";

void SayError(const std::string& message) {
    flamer_common::SayError(kProgram, flamer_host::Printable(message));
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
    return kExitUsage;
}

// Makes the modules' classes and plays the scenario with them in a
// recording world; every class is gone when it returns.
int Play(const flamer_host::Modules& modules, const flamer_host::ScenarioText& scenario,
         const flamer_host::Options& options) {
    // The math libraries' debugger output is the engine's console: the
    // report shows it, unless D3DX_DEBUG_OUTPUT sends it elsewhere.
    const std::unique_ptr<flamer_host::DebuggerOutput> debugger =
        flamer_host::DebuggerOutput::Capture();
    flamer_host::RecordingWorld world;
    world.ListenToDebugger(debugger.get());
    zorWorld* previous = zorQWorld_SetCurrent(&world);
    int status = kExitFailure;
    {
        flamer_host::LoadedClasses classes;
        std::string error;
        if (classes.Create(modules, error)) {
            const flamer_host::ProgressLine progress{.shown = isatty(STDERR_FILENO) != 0};
            flamer_host::HostOutput output(std::cout, std::cerr, options.svgDirectory, progress);
            status = ExitStatus(
                flamer_host::PlayScenario(scenario.text, scenario.source, classes, world, output));
        } else {
            SayError(error);
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
        SayError("cannot read the scenario " + options.scenarioPath + ": " + error);
        return kExitUsage;
    }
    if (!flamer_host::CheckModuleNames(options.pluginPaths, error) ||
        (!options.svgDirectory.empty() &&
         !flamer_host::PrepareSvgDirectory(options.svgDirectory, error))) {
        SayError(error);
        return kExitUsage;
    }
    flamer_host::Modules modules;
    if (!flamer_host::LoadModules(options.pluginPaths, modules, error)) {
        SayError(error);
        return kExitFailure;
    }
    const int status = Play(modules, scenario, options);
    if (status != kExitUsage) {
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
    flamer_host::Options options;
    std::string error;
    const std::string defaultPlugin = flamer_host::DefaultPluginPath(
        flamer_host::ProgramDirectory(), FLAMER_INSTALLED_PLUGIN_PATH, FLAMER_PLUGIN_PATH);
    if (!flamer_host::ParseOptions(argc, argv, defaultPlugin, options, error))
        return flamer_common::UsageError(kProgram, flamer_host::Printable(error));
    if (options.help) {
        std::cout << flamer_host::UsageText();
        return kExitSuccess;
    }
    if (options.version) {
        // The project's version, which the math library's header carries.
        std::cout << kProgram << " (flamer) " D3DXMATH_VERSION_STRING "\n";
        return kExitSuccess;
    }
    if (options.printDefault) {
        std::cout << flamer_host::DefaultScenario();
        return kExitSuccess;
    }
    try {
        return RunHost(options);
    } catch (const std::bad_alloc&) {
        // Said without asking for more memory.
        std::fputs("flamer_host: not enough memory to play the scenario\n", stderr);
        return kExitFailure;
    }
}
