// Plays a checked scenario with the loaded classes in a recording world.
// Each command is run by the play of its argument record (the run half of
// the verbs, verb_runs.cpp); after every call into a module has returned,
// the world's records, and what the command itself says, are handed to the
// output in order.
#pragma once

#include "happenings.h"
#include "loaded_classes.h"
#include "recording_world.h"
#include "scenario.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace flamer_host {

class ScenarioRunner {
public:
    ScenarioRunner(LoadedClasses& classes, RecordingWorld& world, HappeningSink& output);
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    // Plays every command; false after the first one that fails at run time
    // or whose output fails. The output hears ScenarioEnded either way.
    bool Run(const Scenario& scenario);

    // Deletes the objects the play made; their classes must outlive them.
    void DestroyObjects();
    // Unregisters and deletes the effect classes the play registered; every
    // class must have let go of its binding first.
    void DestroyEffects();

private:
    // One named thing of the scenario: an entity, or an object with its
    // entity and, once a kill command placed it, its corpse.
    struct Actor {
        std::string name;
        zorQEntityRef* entity = nullptr;
        std::unique_ptr<zorPlClassic> object;
        zorQEntityRef* corpse = nullptr;
    };

    bool Play(const Command& command);
    // The run of each kind of command; false after a run-time failure.
    bool Play(const Command& command, const SetArgs& args);
    bool Play(const Command& command, const EffectArgs& args);
    bool Play(const Command& command, const EntityArgs& args);
    bool Play(const Command& command, const SpawnArgs& args);
    bool Play(const Command& command, const KillArgs& args);
    bool Play(const Command& command, const EventArgs& args);
    bool Play(const Command& command, const MoveArgs& args);

    // Hands a happening to the output; false when the output failed.
    bool Tell(Happening happening);
    // Hands on what the world recorded since the last call into a module;
    // notes which actors its messages reached. False when the output failed.
    bool TellRecords();
    // Runs the deaths the command caused, one at a time, handing on what
    // each did; false when the output failed.
    bool RunDeaths();
    bool Fail(const Command& command, const std::string& message);
    bool ShowParametersIfChanged();
    // Tells the health of the actors the command's messages reached, and of
    // `subject`, in the order they were defined (nothing when none).
    bool TellHealth(const Actor* subject);

    zorQEntityRef* CreateEntity(const std::string& name, const D3DXVECTOR3& position,
                                const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax);
    Actor& AddActor(Actor actor);
    Actor& FindActor(const std::string& name);
    void PlaceCorpse(Actor& actor);

    LoadedClasses& classes_;
    RecordingWorld& world_;
    HappeningSink& output_;
    std::string source_;
    bool outputFailed_ = false;
    int recordsTold_ = 0;  // world records handed on during the command
    bool paramsChanged_ = true;
    std::vector<Actor> actors_;
    std::unordered_map<std::string, std::size_t> actorByName_;
    std::unordered_map<const zorQEntityRef*, std::size_t> actorByEntity_;
    std::vector<std::size_t> touched_;  // actors the command's messages reached
    std::vector<std::unique_ptr<zorCustomClass>> effects_;
};

}  // namespace flamer_host
