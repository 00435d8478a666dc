// The engine's world: the object behind the zorQWorld_ services of
// zorQWorld.h, with its entities, corpses and queue of deaths. The host
// program, tools and tests create entities and corpses through it, and may
// make a world of their own current (e.g. one that records every call before
// forwarding it).
#pragma once

#include "d3dx_math.h"
#include "zorQDefs.h"
#include "zorQWorld.h"

#include <cstdint>
#include <memory>

class zorCustomClass;

// zorQEntityRef::flags bits.
constexpr uint32_t ZORQENTITY_CORPSE = 0x1;

// What a cube query found: how many entities it wrote, and how many were in
// the cube (more than were written when the list was too short).
struct zorQPickResult {
    int written;
    int inCube;
};

// A world: the services behind the zorQWorld_ functions. The default world
// keeps its entities in memory; replace it with zorQWorld_SetCurrent.
//
// Deaths that message delivery causes wait until the explosion that sent the
// message has finished: a player whose health a message takes to zero asks
// for its death with QueueDeath, and the world runs the queue, oldest death
// first, when a host action ends (KillPlayer, RaiseCorpseEvent) or when
// RunQueuedDeaths is called. A chain of explosions therefore runs one after
// another, never one inside the other.
class ZOR_HOST_API zorWorld {
public:
    zorWorld();
    zorWorld(const zorWorld&) = delete;
    zorWorld& operator=(const zorWorld&) = delete;
    virtual ~zorWorld();

    // Writes at most `capacity` of the entities that `filter` selects and
    // whose box (with ZORQPICK_BOXES) or position lies in the cube [min, max],
    // in the order they were created; returns how many were written. When
    // more are in the cube, the ones nearest the cube's centre are written
    // (distance to the box, or to the position; ties go to the older).
    // A cube whose minimum lies above its maximum holds nothing.
    virtual int PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list, int capacity,
                             PICK_FILTER filter, unsigned long flags);
    virtual void GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max);
    virtual void* GetEntityData(zorQEntityRef* entity);
    // Delivers a message to the entity's player (its PlayerProc); the result
    // is the player's, ZORQMSG_UNHANDLED without one.
    virtual long SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                             unsigned long param2);

    // Creates an entity at `position` whose box spans position + boxMin to
    // position + boxMax; null when a corner is inverted or any coordinate,
    // the box's own included, is not a finite float.
    virtual zorQEntityRef* CreateEntity(const D3DXVECTOR3* position, const D3DXVECTOR3* boxMin,
                                        const D3DXVECTOR3* boxMax);
    // Creates a corpse entity at `position`, with its event source and its
    // data record {event source, class object}.
    virtual zorQEntityRef* CreateCorpse(const D3DXVECTOR3* position, zorObjClass* classObject);
    // Removes an entity (and a corpse's event source and data, and a death
    // it was waiting for); unknown entities are ignored.
    virtual void DestroyEntity(zorQEntityRef* entity);
    // Moves an entity. Cube queries find entities by where the world last
    // placed them: move entities of this world through here, not by writing
    // their position. An entity of no world is simply moved.
    virtual void MoveEntity(zorQEntityRef* entity, const D3DXVECTOR3* position);
    // Raises a string event on a corpse: every registered callback of its
    // event source is called, then the deaths the event caused run. Returns
    // the number of callbacks called, -1 if `corpse` is not a corpse of this
    // world.
    virtual int RaiseCorpseEvent(zorQEntityRef* corpse, const char* event);
    // Calls the callbacks as RaiseCorpseEvent does, and leaves the deaths
    // they cause in the queue (for a host that runs them one at a time).
    int DeliverCorpseEvent(zorQEntityRef* corpse, const char* event);

    // Told by an effect class of each start (zorCustomClass::SpawnAt); the
    // built-in world keeps nothing of it.
    virtual void EffectStarted(zorCustomClass* effect, const D3DXMATRIX* transform);
    // A line a module prints on the engine's console (zorQWorld_Print); the
    // built-in world writes it to standard error.
    virtual void Print(const char* text);

    // Asks for the death of the player living in `entity`, killed with
    // `flag`, once the current explosion has finished.
    virtual void QueueDeath(zorQEntityRef* entity, int flag);
    // Runs the queued deaths, oldest first, and the deaths they cause in
    // turn, until none is left; returns how many ran. A call made while the
    // queue is running returns 0 at once.
    int RunQueuedDeaths();
    // Runs the oldest queued death alone; false when none is queued, or when
    // called while a death is running. The deaths it causes join the queue.
    bool RunNextDeath();
    // Kills `player` with `flag`, then runs the deaths that caused.
    void KillPlayer(zorPlayer* player, int flag);

    // The pick behind PickEntities, also telling how many were in the cube.
    // It costs about the logarithm of the world's size and what it finds:
    // the nearest `capacity` of n entities in the cube cost about capacity
    // log n, the count none of them each (with PICK_FILTER_ALL; the other
    // filters look at every entity in the cube).
    zorQPickResult Pick(const D3DXVECTOR3& min, const D3DXVECTOR3& max, zorQEntityRef** list,
                        int capacity, PICK_FILTER filter, unsigned long flags) const;
    // The same pick, leaving out every entity that meets the second cube
    // [outsideMin, outsideMax]; its count is of those not left out.
    zorQPickResult PickOutside(const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                               const D3DXVECTOR3& outsideMin, const D3DXVECTOR3& outsideMax,
                               zorQEntityRef** list, int capacity, PICK_FILTER filter,
                               unsigned long flags) const;

    int EntityCount() const;
    bool Contains(const zorQEntityRef* entity) const;

protected:
    // Runs one queued death: kills the entity's player, if it still has one.
    virtual void RunDeath(zorQEntityRef* entity, int flag);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Makes `world` current and returns the previous one; null restores the
// built-in default world. The caller keeps ownership of its world.
ZOR_HOST_API zorWorld* zorQWorld_SetCurrent(zorWorld* world);
ZOR_HOST_API zorWorld* zorQWorld_Current();
