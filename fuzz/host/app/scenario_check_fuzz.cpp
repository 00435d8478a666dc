// The scenario checker on any bytes: it must refuse or accept, never crash.
// It links the scenario layer alone.
#include "scenario.h"
#include "zorQModule.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// The classes the host program learns from the Flamer and the two example
// modules.
const flamer_host::ClassCatalogue kClasses({
    flamer_host::ClassInfo{"plFlamer",
                           "player",
                           true,
                           {{"flamer_explosion", PARAM_TEXT, kZorParamTextSize},
                            {"flamer_splash_radius", PARAM_INT, kZorParamTextSize},
                            {"flamer_splash_damage", PARAM_INT, kZorParamTextSize},
                            {"flamer_impulse", PARAM_FLOAT, kZorParamTextSize},
                            {"flamer_rot_impulse", PARAM_FLOAT, kZorParamTextSize}}},
    flamer_host::ClassInfo{
        "plBeacon", "player", true, {{"beacon_effect", PARAM_TEXT, kZorParamTextSize}}},
    flamer_host::ClassInfo{"plSpark", "custom", false, {}},
});

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const flamer_host::ParseResult result = flamer_host::ParseScenario(text, "fuzz", kClasses);
    // Every error names a line of the text.
    for (const flamer_host::ScenarioError& error : result.errors)
        if (error.line < 1) __builtin_trap();
    return 0;
}
