// The host's world services as a module calls them: entities with a position
// and an axis-aligned box, cube queries, entity data, message delivery, and
// the event source of a corpse with its string events. The plain zorQWorld_
// functions forward to the engine's current world object (zorWorld.h).
#pragma once

#include "d3dx_math.h"
#include "zorQDefs.h"

#include <cstddef>
#include <cstdint>

// What PickEntities selects.
enum PICK_FILTER {
    PICK_FILTER_NONE = 0,     // nothing
    PICK_FILTER_ALL = 1,      // every entity
    PICK_FILTER_PLAYERS = 2,  // entities that carry a player
    PICK_FILTER_CORPSES = 3,  // corpse entities
};

// PickEntities flags: test entity boxes, not only positions, against the cube.
constexpr unsigned long ZORQPICK_BOXES = 4;

// Message numbers the world delivers.
constexpr unsigned long ZORQMSG_DAMAGE = 3;

// Result of a message nobody handled.
constexpr long ZORQMSG_UNHANDLED = -1;

// One world entity. Modules read only `position` directly; it follows the two
// leading 32-bit words. The rest is the host's.
struct zorQEntityRef {
    uint32_t id;
    uint32_t flags;
    D3DXVECTOR3 position;
    // Box corners relative to `position`.
    D3DXVECTOR3 boxMin;
    D3DXVECTOR3 boxMax;
    void* data;         // entity data record (corpses: zorQCorpseData)
    zorPlayer* player;  // the player living in this entity, or null
};

// The damage message record (message 3), read by the receiver in place.
struct zorQMsgDamage {
    int32_t damage;
    float impulse;
    float rotImpulse;
    D3DXVECTOR3 origin;
    D3DXVECTOR3 direction;
    int16_t kind;
    uint16_t hostReserved;  // the sender does not write these two bytes
    uint32_t reserved;
};
static_assert(offsetof(zorQMsgDamage, damage) == 0);
static_assert(offsetof(zorQMsgDamage, impulse) == 4);
static_assert(offsetof(zorQMsgDamage, rotImpulse) == 8);
static_assert(offsetof(zorQMsgDamage, origin) == 12);
static_assert(offsetof(zorQMsgDamage, direction) == 24);
static_assert(offsetof(zorQMsgDamage, kind) == 36);
static_assert(offsetof(zorQMsgDamage, reserved) == 40);
static_assert(offsetof(zorQEntityRef, position) == 8);

// String-event callback of a corpse: the event text and the entity given at
// registration.
typedef void (*zorQEventCallback)(const char* event, zorQEntityRef* entity);

// Event selectors of an event source.
constexpr int kZorQEventSelectorCount = 2;
// Callbacks one selector keeps at most.
constexpr int kZorQEventCallbacksPerSelector = 8;
// Capacity of an event source's model name, terminator included.
constexpr std::size_t kZorQEventModelSize = 64;

// The event source of a corpse: a small host scene object whose 28th table
// entry is SetEventCallback. Raising an event calls every registered callback
// once for its entity, even when it was registered under both selectors.
class ZOR_HOST_API zorQEventSource {
public:
    zorQEventSource();
    zorQEventSource(const zorQEventSource& other);
    zorQEventSource& operator=(const zorQEventSource& other);
    virtual ~zorQEventSource();  // 1

    virtual const char* GetModel();                         // 2
    virtual void SetModel(const char* model);               // 3
    virtual zorQEntityRef* GetEntity();                     // 4
    virtual void SetEntity(zorQEntityRef* entity);          // 5
    virtual void GetPosition(D3DXVECTOR3* position);        // 6
    virtual void SetPosition(const D3DXVECTOR3* position);  // 7
    virtual unsigned long GetFlags();                       // 8
    virtual void SetFlags(unsigned long flags);             // 9
    virtual void Show();                                    // 10
    virtual void Hide();                                    // 11
    virtual int IsVisible();                                // 12
    virtual float GetLifetime();                            // 13
    virtual void SetLifetime(float seconds);                // 14
    virtual void Update(float seconds);                     // 15
    virtual int IsExpired();                                // 16
    virtual int GetSkin();                                  // 17
    virtual void SetSkin(int skin);                         // 18
    virtual int GetAnimation();                             // 19
    virtual void SetAnimation(int animation);               // 20
    virtual float GetAlpha();                               // 21
    virtual void SetAlpha(float alpha);                     // 22
    virtual float GetScale();                               // 23
    virtual void SetScale(float scale);                     // 24
    virtual void Attach(zorQEntityRef* parent);             // 25
    virtual void Detach();                                  // 26
    virtual void ClearEventCallbacks(int selector);         // 27
    virtual long SetEventCallback(int selector, zorQEventCallback callback,
                                  zorQEntityRef* corpse);  // 28
    virtual int RaiseEvent(const char* event);             // 29
    virtual int GetCallbackCount(int selector);            // 30

private:
    struct Registration {
        zorQEventCallback callback;
        zorQEntityRef* entity;
    };
    bool HasEarlierRegistration(int selector, int index) const;

    Registration callbacks[kZorQEventSelectorCount][kZorQEventCallbacksPerSelector];
    int callbackCount[kZorQEventSelectorCount];
    char model[kZorQEventModelSize];
    zorQEntityRef* entity;
    zorQEntityRef* parent;
    D3DXVECTOR3 position;
    unsigned long flags;
    int visible;
    float lifetime;
    float age;
    int skin;
    int animation;
    float alpha;
    float scale;
};

// SetEventCallback results.
constexpr long ZORQEVENT_OK = 0;
constexpr long ZORQEVENT_BAD_SELECTOR = -1;
constexpr long ZORQEVENT_FULL = -2;

// The entity data record of a corpse.
struct zorQCorpseData {
    zorQEventSource* eventSource;
    zorObjClass* classObject;  // class object of the player that left it
};
static_assert(offsetof(zorQCorpseData, eventSource) == 0);
static_assert(offsetof(zorQCorpseData, classObject) == sizeof(void*));

extern "C" {
// Writes into `list` at most `capacity` of the entities that `filter` selects
// and whose box (with ZORQPICK_BOXES) or position lies in the cube [min, max],
// in the order they were created; returns how many were written. When more
// are in the cube, the ones nearest its centre are written. A cube whose
// minimum lies above its maximum holds nothing.
ZOR_HOST_API int zorQWorld_PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list,
                                        int capacity, PICK_FILTER filter, unsigned long flags);
// Fills the entity's box in world coordinates: lower corner into `min`, upper
// corner into `max`.
ZOR_HOST_API void zorQWorld_GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max);
// The entity's data record (for a corpse, its zorQCorpseData), or null.
ZOR_HOST_API void* zorQWorld_GetEntityData(zorQEntityRef* entity);
// Delivers a message to the entity's player, which is finished with the
// message's record when this returns; the result is the player's,
// ZORQMSG_UNHANDLED without one.
ZOR_HOST_API long zorQWorld_SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                                        unsigned long param2);
// Prints one line on the engine's console, where the host shows it beside
// what the module's call did; null prints nothing.
ZOR_HOST_API void zorQWorld_Print(const char* text);
}
