// Checking and playing one scenario with the class object a plug-in made:
// what the host program does once the plug-in is loaded.
#pragma once

#include "flamer_class.h"
#include "scenario_world.h"

#include <ostream>
#include <string>
#include <string_view>

namespace flamer_host {

enum class PlayResult {
    kPlayed,  // every command ran
    kFailed,  // a command failed while running (reported on `err`)
    kBroken,  // the script was refused before anything ran (reported on `err`)
};

// Checks the script against the class's parameters and, when it is sound,
// plays it in `world` (which must be the current world), printing the report
// on `out`. The class object is referenced for the play and deleted at the
// end, after every Flamer and effect class the play made is gone.
PlayResult PlayScenario(std::string_view text, const std::string& source,
                        const FlamerClass& flamerClass, ScenarioWorld& world, std::ostream& out,
                        std::ostream& err, const std::string& svgDirectory);

}  // namespace flamer_host
