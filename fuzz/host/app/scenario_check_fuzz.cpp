// The scenario checker on any bytes: it must refuse or accept, never crash.
#include "scenario.h"
#include "zorQModule.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

// The Flamer class's parameters, as the host program learns them.
const std::vector<flamer_host::ParamInfo> kParams = {
    {"flamer_explosion", flamer_host::ParamKind::kText, kZorParamTextSize},
    {"flamer_splash_radius", flamer_host::ParamKind::kInt, kZorParamTextSize},
    {"flamer_splash_damage", flamer_host::ParamKind::kInt, kZorParamTextSize},
    {"flamer_impulse", flamer_host::ParamKind::kFloat, kZorParamTextSize},
    {"flamer_rot_impulse", flamer_host::ParamKind::kFloat, kZorParamTextSize},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const flamer_host::ParseResult result = flamer_host::ParseScenario(text, "fuzz", kParams);
    // Every error names a line of the text.
    for (const flamer_host::ScenarioError& error : result.errors)
        if (error.line < 1) __builtin_trap();
    return 0;
}
