// A world for the explosion and corpse tests: it logs every call the plug-in
// makes, in order and with its arguments, and can be told to misbehave the
// way a host might (over-report picks, pick what it likes, move entities from
// inside a message).
#pragma once

#include "plFlamer.h"
#include "zorWorld.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zorq::testing {

enum class CallKind {
    kPick,
    kBox,
    kData,
    kMessage,
    kSpawn,
    kRegister
};

// One host call as the plug-in made it.
struct Call {
    CallKind kind;
    zorQEntityRef* entity = nullptr;  // Box, Data, Message, Register
    D3DXVECTOR3 min{};                // Pick
    D3DXVECTOR3 max{};
    int capacity = 0;
    PICK_FILTER filter = PICK_FILTER_NONE;
    unsigned long number = 0;  // Pick flags, Message number
    unsigned long param2 = 0;
    zorQMsgDamage record{};  // Message: the record as delivered
    D3DXMATRIX transform{};  // Spawn
    int selector = -1;       // Register
    zorQEventCallback callback = nullptr;
    zorQEventSource* source = nullptr;
};

class RecordingWorld;

// An event source that notes its registrations in the world's log.
class RecordingEventSource : public zorQEventSource {
public:
    explicit RecordingEventSource(RecordingWorld& world) : world_(world) {}
    long SetEventCallback(int selector, zorQEventCallback callback, zorQEntityRef* corpse) override;
    // Runs once inside the next registration, before it is logged.
    std::function<void()> onRegister;

private:
    RecordingWorld& world_;
};

class RecordingWorld : public zorWorld {
public:
    RecordingWorld() : previous_(zorQWorld_SetCurrent(this)) {}
    ~RecordingWorld() override { zorQWorld_SetCurrent(previous_); }

    int PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list, int capacity,
                     PICK_FILTER filter, unsigned long flags) override {
        Call call{CallKind::kPick};
        call.min = *min;
        call.max = *max;
        call.capacity = capacity;
        call.filter = filter;
        call.number = flags;
        calls.push_back(call);
        int written = 0;
        if (scriptedPicks) {
            for (zorQEntityRef* entity : *scriptedPicks)
                if (written < capacity) list[written++] = entity;
        } else {
            inPick_ = true;
            written = zorWorld::PickEntities(min, max, list, capacity, filter, flags);
            inPick_ = false;
        }
        return reportedCount ? *reportedCount : written;
    }

    void GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max) override {
        if (!inPick_) {
            Call call{CallKind::kBox};
            call.entity = entity;
            calls.push_back(call);
        }
        zorWorld::GetEntityBox(entity, min, max);
    }

    void* GetEntityData(zorQEntityRef* entity) override {
        Call call{CallKind::kData};
        call.entity = entity;
        calls.push_back(call);
        return zorWorld::GetEntityData(entity);
    }

    long SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                     unsigned long param2) override {
        Call call{CallKind::kMessage};
        call.entity = target;
        call.number = msg;
        call.param2 = param2;
        auto* record = reinterpret_cast<zorQMsgDamage*>(param1);
        call.record = *record;
        calls.push_back(call);
        if (onMessage) onMessage(target, record);
        maxMessageDepth = std::max(maxMessageDepth, ++messageDepth_);
        const long result = zorWorld::SendMessage(target, msg, param1, param2);
        --messageDepth_;
        return result;
    }

    // A corpse whose event source logs its registrations.
    zorQEntityRef* CreateCorpse(const D3DXVECTOR3* position, zorObjClass* classObject) override {
        const D3DXVECTOR3 boxMin{-1.0f, -1.0f, -1.0f};
        const D3DXVECTOR3 boxMax{1.0f, 1.0f, 1.0f};
        zorQEntityRef* corpse = CreateEntity(position, &boxMin, &boxMax);
        corpse->flags |= ZORQENTITY_CORPSE;
        corpse->data = new zorQCorpseData{new RecordingEventSource(*this), classObject};
        if (onCorpse) onCorpse(corpse);
        return corpse;
    }

    zorQEntityRef* Add(const D3DXVECTOR3& position, const D3DXVECTOR3& boxMin,
                       const D3DXVECTOR3& boxMax) {
        return CreateEntity(&position, &boxMin, &boxMax);
    }

    std::vector<Call> Of(CallKind kind) const {
        std::vector<Call> found;
        for (const Call& call : calls)
            if (call.kind == kind) found.push_back(call);
        return found;
    }

    std::vector<Call> calls;
    // When set, the pick returns these entities instead of querying the world.
    std::optional<std::vector<zorQEntityRef*>> scriptedPicks;
    // When set, the pick reports this count whatever it wrote.
    std::optional<int> reportedCount;
    // Runs after each message is logged, before it is delivered.
    std::function<void(zorQEntityRef*, zorQMsgDamage*)> onMessage;
    // Runs on every corpse placed, before it is handed back.
    std::function<void(zorQEntityRef*)> onCorpse;
    // The most messages that were being delivered at once.
    int maxMessageDepth = 0;

private:
    zorWorld* previous_;
    bool inPick_ = false;
    int messageDepth_ = 0;
};

inline long RecordingEventSource::SetEventCallback(int selector, zorQEventCallback callback,
                                                   zorQEntityRef* corpse) {
    if (onRegister) {
        auto once = std::move(onRegister);
        onRegister = nullptr;
        once();
    }
    Call call{CallKind::kRegister};
    call.entity = corpse;
    call.selector = selector;
    call.callback = callback;
    call.source = this;
    world_.calls.push_back(call);
    return zorQEventSource::SetEventCallback(selector, callback, corpse);
}

// An effect class that logs each start with its transform.
class RecordingEffect : public zorCustomClass {
public:
    explicit RecordingEffect(RecordingWorld& world) : world_(world) {}
    long SpawnAt(D3DXMATRIX* transform) override {
        Call call{CallKind::kSpawn};
        call.transform = *transform;
        world_.calls.push_back(call);
        return zorCustomClass::SpawnAt(transform);
    }

private:
    RecordingWorld& world_;
};

// A class object with its tuning; deleted with the fixture.
struct ClassDeleter {
    void operator()(zorPlFlamerClass* flamerClass) const { delete flamerClass; }
};
using ClassPtr = std::unique_ptr<zorPlFlamerClass, ClassDeleter>;

inline ClassPtr MakeClass(int radius, zorObjClass* effect) {
    ClassPtr flamerClass(CreateObjClass());
    flamerClass->splashRadius = radius;
    flamerClass->explosionClass = effect;
    return flamerClass;
}

constexpr D3DXVECTOR3 kOrigin{0.0f, 0.0f, 0.0f};
constexpr D3DXVECTOR3 kUnitMin{-1.0f, -1.0f, -1.0f};
constexpr D3DXVECTOR3 kUnitMax{1.0f, 1.0f, 1.0f};

}  // namespace zorq::testing
