// Plays a checked scenario against the Flamer class object in a recording
// world, printing the report as it goes.
#pragma once

#include "report.h"
#include "scenario.h"
#include "scenario_world.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class zorPlFlamer;
class zorPlFlamerClass;

namespace flamer_host {

// The parameters of a class object as a scenario may set them.
std::vector<ParamInfo> ParamInfosOf(const zorPlFlamerClass& flamerClass);
// The parameters with their current values, and the effect class binding.
std::vector<ParamLine> ParamLinesOf(const zorPlFlamerClass& flamerClass);
std::string BindingText(const zorPlFlamerClass& flamerClass);

class ScenarioRunner {
public:
    ScenarioRunner(zorPlFlamerClass& flamerClass, ScenarioWorld& world, std::ostream& out,
                   std::ostream& err, std::string svgDirectory);
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    // Plays every command; false after the first one that fails at run time
    // (reported on `err` as "source:line: message").
    bool Run(const Scenario& scenario);

    // Deletes the Flamers; the class object must outlive them.
    void DestroyFlamers();
    // Unregisters and deletes the effect classes; the class object must have
    // let go of its binding first.
    void DestroyEffects();

private:
    // One named thing of the scenario: an entity, or a Flamer with its entity
    // and, once killed, its corpse.
    struct Actor {
        std::string name;
        zorQEntityRef* entity = nullptr;
        zorPlFlamer* flamer = nullptr;
        zorQEntityRef* corpse = nullptr;
    };

    bool Execute(const Command& command);
    bool Set(const Command& command);
    bool Effect(const Command& command);
    bool Entity(const Command& command);
    bool Flamer(const Command& command);
    bool Kill(const Command& command);
    bool Event(const Command& command);
    bool Move(const Command& command);

    bool Fail(const Command& command, const std::string& message);
    zorQEntityRef* CreateEntity(const Command& command);
    Actor* Find(const std::string& name);
    void PrintParametersIfChanged();
    bool ReportExplosions(const Command& command);
    void PrintHealthTable();

    zorPlFlamerClass& flamerClass_;
    ScenarioWorld& world_;
    std::ostream& out_;
    std::ostream& err_;
    std::string svgDirectory_;
    std::string source_;
    bool paramsChanged_ = true;
    std::vector<Actor> actors_;
    std::vector<std::unique_ptr<RecordingEffectClass>> effects_;
};

}  // namespace flamer_host
