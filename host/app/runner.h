// Plays a checked scenario against the Flamer class object in a recording
// world, printing the report as it goes. The verbs (commands.cpp) run with
// the services below.
#pragma once

#include "flamer_class.h"
#include "picture_folder.h"
#include "report.h"
#include "scenario.h"
#include "scenario_world.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace flamer_host {

class ScenarioRunner {
public:
    ScenarioRunner(const FlamerClass& flamerClass, ScenarioWorld& world, std::ostream& out,
                   std::ostream& err, std::string svgDirectory);
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    // Plays every command; false after the first one that fails at run time
    // (reported on `err` as "source:line: message"). With a picture folder,
    // its index is written at the end, also after a failure.
    bool Run(const Scenario& scenario);

    // Deletes the Flamers; the class object must outlive them.
    void DestroyFlamers();
    // Unregisters and deletes the effect classes; the class object must have
    // let go of its binding first.
    void DestroyEffects();

    // ---- What the verbs run with ----

    // One named thing of the scenario: an entity, or a Flamer with its entity
    // and, once a kill command placed it, its corpse.
    struct Actor {
        std::string name;
        zorQEntityRef* entity = nullptr;
        zorPlClassic* flamer = nullptr;
        zorQEntityRef* corpse = nullptr;
    };

    const FlamerClass& Class() const { return flamerClass_; }
    ScenarioWorld& World() { return world_; }
    std::ostream& Out() { return out_; }

    // Reports a run-time failure as "source:line: message"; always false.
    bool Fail(const Command& command, const std::string& message);
    // A new entity of the world under `name`; null when the world refuses.
    zorQEntityRef* CreateEntity(const std::string& name, const D3DXVECTOR3& position,
                                const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax);
    Actor& AddActor(Actor actor);
    // Files the entity (a Flamer's, once known) under its actor.
    void SetActorEntity(Actor& actor, zorQEntityRef* entity);
    // The actor of a name the checker saw defined.
    Actor& FindActor(const std::string& name);
    // Registers an effect class of the "custom" kind; false when refused.
    bool AddEffect(const std::string& name);
    // The tuning is shown again before the next command that may explode.
    void ParamsChanged() { paramsChanged_ = true; }
    // Ends the command the world was told of with BeginCommand; its
    // explosions have been printed (and drawn) as they finished. False when a
    // picture could not be written.
    bool ReportExplosions(const Command& command);
    // Prints the health of every actor the reported explosions' messages
    // reached, and of `subject`, in the order they were defined.
    void PrintHealthAfterwards(const Actor* subject);

private:
    bool PlayCommands(const Scenario& scenario);
    void PrintParametersIfChanged();
    void ReportExplosion(Explosion& explosion);
    void DrawExplosion(const Explosion& explosion);
    bool FinishPictures();

    const FlamerClass& flamerClass_;
    ScenarioWorld& world_;
    std::ostream& out_;
    std::ostream& err_;
    std::string svgDirectory_;
    std::optional<PictureFolder> pictures_;
    std::string source_;
    const Command* command_ = nullptr;  // the command being played
    bool paramsChanged_ = true;
    std::vector<Actor> actors_;
    std::unordered_map<std::string, std::size_t> actorByName_;
    std::unordered_map<const zorQEntityRef*, std::size_t> actorByEntity_;
    std::vector<std::size_t> touched_;  // actors the reported messages reached
    std::string pictureError_;          // why a picture of the command failed
    std::vector<std::unique_ptr<RecordingEffectClass>> effects_;
};

}  // namespace flamer_host
