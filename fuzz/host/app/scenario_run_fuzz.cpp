// Whole scenarios played against the Flamer and the two example modules, as
// the host program plays them with --svg: no input may crash the host, the
// engine, a module or the drawing of the pictures, and every scenario must
// end with an empty leak report.
#include "host_output.h"
#include "loaded_classes.h"
#include "module.h"
#include "play.h"
#include "recording_world.h"
#include "zorMemLeakRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

const flamer_host::Modules& LoadedModules() {
    static const flamer_host::Modules modules = [] {
        flamer_host::Modules loaded;
        std::string error;
        if (!flamer_host::LoadModules({FLAMER_PLUGIN_PATH, PLBEACON_PATH, PLSPARK_PATH}, loaded,
                                      error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return loaded;
    }();
    return modules;
}

// One picture folder for the whole run; every input overwrites its pictures.
const std::string& PictureFolderPath() {
    static const std::string path = [] {
        char name[] = "/tmp/scenario_run_fuzz.XXXXXX";
        if (mkdtemp(name) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return std::string(name);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::ostringstream out;
    std::ostringstream err;
    {
        flamer_host::RecordingWorld world;
        zorWorld* previous = zorQWorld_SetCurrent(&world);
        {
            // Classes made afresh for each input, so no tuning carries over.
            flamer_host::LoadedClasses classes;
            std::string error;
            if (!classes.Create(LoadedModules(), error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                std::abort();
            }
            flamer_host::HostOutput output(out, err, PictureFolderPath());
            flamer_host::PlayScenario(text, "fuzz", classes, world, output);
        }
        zorQWorld_SetCurrent(previous);
    }
    const std::string leaks = zorMemLeak_Report();
    if (!leaks.empty()) {
        std::fprintf(stderr, "leak report after the scenario:\n%s", leaks.c_str());
        std::abort();
    }
    return 0;
}
