#include "play.h"

#include "runner.h"
#include "scenario.h"

namespace flamer_host {
namespace {

void PrintErrors(std::ostream& err, const std::vector<ScenarioError>& errors) {
    for (const ScenarioError& error : errors) err << FormatError(error) << "\n";
    err << errors.size() << (errors.size() == 1 ? " error" : " errors") << ": nothing was run\n";
}

}  // namespace

PlayResult PlayScenario(std::string_view text, const std::string& source,
                        const FlamerClass& flamerClass, ScenarioWorld& world, std::ostream& out,
                        std::ostream& err, const std::string& svgDirectory) {
    zorObjClass& cls = flamerClass.Object();
    cls.AddRef();
    const ParseResult parsed = ParseScenario(text, source, flamerClass.ParamInfos());
    PlayResult result = PlayResult::kBroken;
    {
        ScenarioRunner runner(flamerClass, world, out, err, svgDirectory);
        if (parsed.errors.empty())
            result = runner.Run(parsed.scenario) ? PlayResult::kPlayed : PlayResult::kFailed;
        else
            PrintErrors(err, parsed.errors);
        // The Flamers go while their class lives; the class lets go of its
        // effect class before the runner unregisters the effect classes.
        runner.DestroyFlamers();
        cls.Release();
    }
    delete &cls;
    return result;
}

}  // namespace flamer_host
