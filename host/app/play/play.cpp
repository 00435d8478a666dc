#include "play.h"

#include "runner.h"
#include "scenario.h"

namespace flamer_host {

PlayResult PlayScenario(std::string_view text, const std::string& source, LoadedClasses& classes,
                        RecordingWorld& world, HappeningSink& output) {
    const ParseResult parsed = ParseScenario(text, source, classes.Catalogue());
    if (!parsed.errors.empty()) {
        output.Take(ScenarioRefused{parsed.errors});
        return PlayResult::kBroken;
    }
    classes.AddRefAll();
    ScenarioRunner runner(classes, world, output);
    const bool played = runner.Run(parsed.scenario);
    // The objects go while their classes live; the classes let go of what
    // they bound before the effect classes the play registered go.
    runner.DestroyObjects();
    classes.ReleaseAll();
    runner.DestroyEffects();
    return played ? PlayResult::kPlayed : PlayResult::kFailed;
}

}  // namespace flamer_host
