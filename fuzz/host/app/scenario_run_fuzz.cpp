// Whole scenarios played against the Flamer plug-in, as the host program
// plays them with --svg: no input may crash the host, the engine, the plug-in
// or the drawing of the pictures, and every scenario must end with an empty
// leak report.
#include "flamer_class.h"
#include "play.h"
#include "plugin.h"
#include "scenario_world.h"
#include "zorMemLeakRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

namespace {

const flamer_host::Plugin& LoadedPlugin() {
    static const std::unique_ptr<flamer_host::Plugin> plugin = [] {
        std::string error;
        std::unique_ptr<flamer_host::Plugin> loaded =
            flamer_host::Plugin::Load(FLAMER_PLUGIN_PATH, error);
        if (!loaded) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return loaded;
    }();
    return *plugin;
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
        flamer_host::ScenarioWorld world;
        zorWorld* previous = zorQWorld_SetCurrent(&world);
        std::string error;
        const std::optional<flamer_host::FlamerClass> flamerClass =
            flamer_host::FlamerClass::Check(LoadedPlugin().CreateClass(), error);
        if (!flamerClass) {
            std::fprintf(stderr, "the plug-in is not a Flamer plug-in: %s\n", error.c_str());
            std::abort();
        }
        flamer_host::PlayScenario(text, "fuzz", *flamerClass, world, out, err, PictureFolderPath());
        zorQWorld_SetCurrent(previous);
    }
    const std::string leaks = zorMemLeak_Report();
    if (!leaks.empty()) {
        std::fprintf(stderr, "leak report after the scenario:\n%s", leaks.c_str());
        std::abort();
    }
    return 0;
}
