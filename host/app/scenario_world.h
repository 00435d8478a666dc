// The world the host program plays a scenario in: the engine's in-memory
// world, with every call the plug-in makes recorded as explosions, names for
// the entities, and health for the entities that carry no player.
#pragma once

#include "explosion_record.h"
#include "zorQObj.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace flamer_host {

class ScenarioWorld : public zorWorld {
public:
    int PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list, int capacity,
                     PICK_FILTER filter, unsigned long flags) override;
    void GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max) override;
    long SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                     unsigned long param2) override;
    // Notes which explosion's damage caused the death.
    void QueueDeath(zorQEntityRef* entity, int flag) override;

    // Names an entity for the report; `health` is kept for entities without
    // a player (a player keeps its own).
    void Name(const zorQEntityRef* entity, const std::string& name);
    void TrackHealth(const zorQEntityRef* entity, int health);
    std::string NameOf(const zorQEntityRef* entity) const;
    // Health of an entity: its player's, the tracked one, or none.
    std::optional<int> HealthOf(const zorQEntityRef* entity) const;
    // The explosion whose damage killed the entity's player, if one did.
    std::optional<int> DeathCauseOf(const zorQEntityRef* entity) const;

    // Receives each explosion of a command once it has finished: when the
    // next one starts, or when the command ends.
    void SetExplosionSink(std::function<void(Explosion&)> sink);
    // Brackets one command: explosions it sets off are centred on `centre`,
    // those of the deaths they cause on the dying entity. EndCommand hands
    // on the last explosion and tells how many the command set off.
    void BeginCommand(const zorQEntityRef* centre);
    int EndCommand();

    // Called by the recording effect classes.
    void RecordSpawn(const std::string& effectName, const D3DXMATRIX* transform);

protected:
    // Explosions during the death are centred on the dying entity and set off
    // by the explosion whose damage caused it.
    void RunDeath(zorQEntityRef* entity, int flag) override;

private:
    // What explosions are set off by: a command, or one queued death.
    struct Context {
        const zorQEntityRef* centre;
        int setOffBy;  // 0: the command; else the explosion that caused the death
    };

    Explosion* Current();
    LeftOutEntity LeftOut(zorQEntityRef* entity, LeftOutReason reason, const D3DXVECTOR3& centre);
    void RecordLeftOut(Explosion& explosion, zorQEntityRef* const* picked, PICK_FILTER filter,
                       unsigned long flags);
    void HandOn();
    void RecordMessage(zorQEntityRef* target, unsigned long msg, long param1, unsigned long param2);
    void ApplyTrackedDamage(const zorQEntityRef* target, unsigned long msg, long param1);

    std::unordered_map<const zorQEntityRef*, std::string> names_;
    std::unordered_map<const zorQEntityRef*, int> health_;
    std::optional<Context> context_;
    std::unordered_map<const zorQEntityRef*, int> deathCauses_;
    std::optional<Explosion> current_;  // the explosion under way
    std::function<void(Explosion&)> sink_;
    int commandExplosions_ = 0;
    int explosionCount_ = 0;
};

// A "custom" effect class that reports every start to the world.
class RecordingEffectClass : public zorCustomClass {
public:
    RecordingEffectClass(const std::string& name, ScenarioWorld& world);
    long SpawnAt(D3DXMATRIX* transform) override;

private:
    ScenarioWorld& world_;
};

}  // namespace flamer_host
