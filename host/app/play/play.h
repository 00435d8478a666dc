// Checking and playing one scenario with the loaded classes: what the host
// program does once the modules are loaded.
#pragma once

#include "happenings.h"
#include "loaded_classes.h"
#include "recording_world.h"

#include <string>
#include <string_view>

namespace flamer_host {

enum class PlayResult {
    kPlayed,  // every command ran
    kFailed,  // a command, or the output, failed while running
    kBroken,  // the script was refused before anything ran
};

// Checks the script against the loaded classes and, when it is sound, plays
// it in `world` (which must be the current world), handing what happens to
// `output`. The classes are referenced for the play; every object and
// effect class the play made is gone when it returns.
PlayResult PlayScenario(std::string_view text, const std::string& source, LoadedClasses& classes,
                        RecordingWorld& world, HappeningSink& output);

}  // namespace flamer_host
