// The world the host program plays a scenario in: the engine's in-memory
// world, recording what every module does through it, with names for the
// entities and health for the entities that carry no player.
//
// It only records. A cube query begins an explosion, which gathers the boxes
// asked for, the messages sent and the effects started until the call into
// the module ends or the next query begins; messages, effect starts and
// console lines outside an explosion are records of their own, and so is
// each death that damage caused. Records are complete when they are made
// (the command behind them and the class's tuning included), and the runner
// takes them after each call into a module has returned.
#pragma once

#include "debugger_output.h"
#include "happenings.h"
#include "zorQObj.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace flamer_host {

class RecordingWorld : public zorWorld {
public:
    int PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list, int capacity,
                     PICK_FILTER filter, unsigned long flags) override;
    void GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max) override;
    long SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                     unsigned long param2) override;
    void EffectStarted(zorCustomClass* effect, const D3DXMATRIX* transform) override;
    void Print(const char* text) override;
    // Notes what caused the death.
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

    // Brackets one command: what its calls into modules do is done by
    // `subject` (an explosion is centred on it), for the scenario line
    // `line` written as `text`; what the deaths they cause do is done by the
    // dying entity.
    void BeginCommand(const zorQEntityRef* subject, int line, const std::string& text);
    void EndCommand();
    // The records made since the last call, the explosion under way
    // finished, and after them the lines the modules wrote to the debugger
    // output meanwhile. Called once a call into a module has returned.
    std::vector<Happening> TakeRecords();
    // Where the modules' debugger output is read from; none by default.
    void ListenToDebugger(DebuggerOutput* debugger) { debugger_ = debugger; }

protected:
    // Records the death, and has what it does done by the dying entity.
    void RunDeath(zorQEntityRef* entity, int flag) override;

private:
    // Who is acting: the subject of a command, or one dying entity.
    struct Context {
        const zorQEntityRef* subject;
        int setOffBy;  // 0: the command; else the explosion whose damage caused the death
    };
    // What caused a queued death.
    struct DeathCause {
        int explosion;       // 0: a message outside any explosion
        std::string sender;  // whose message it was
    };

    Explosion* Current();
    std::string ActorName() const;
    float SplashRadiusAt(const D3DXVECTOR3& cubeMin, const D3DXVECTOR3& cubeMax) const;
    LeftOutEntity LeftOut(zorQEntityRef* entity, LeftOutReason reason, const D3DXVECTOR3& centre);
    void RecordLeftOut(Explosion& explosion, zorQEntityRef* const* picked, PICK_FILTER filter,
                       unsigned long flags);
    void FinishExplosion();
    void RecordMessage(zorQEntityRef* target, unsigned long msg, long param1, unsigned long param2);
    void ApplyTrackedDamage(const zorQEntityRef* target, unsigned long msg, long param1);

    std::unordered_map<const zorQEntityRef*, std::string> names_;
    std::unordered_map<const zorQEntityRef*, int> health_;
    std::optional<Context> context_;
    int commandLine_ = 0;
    std::string commandText_;
    std::unordered_map<const zorQEntityRef*, DeathCause> deathCauses_;
    std::optional<Explosion> current_;  // the explosion under way
    std::vector<Happening> records_;    // finished, not yet taken
    DebuggerOutput* debugger_ = nullptr;
    int explosionCount_ = 0;
};

}  // namespace flamer_host
