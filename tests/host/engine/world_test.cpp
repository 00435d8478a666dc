// The world: entities, cube queries, damage delivery, corpses and events.
#include "zorQObj.h"
#include "zorQWorld.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr D3DXVECTOR3 kUnitMin{-1.0f, -1.0f, -1.0f};
constexpr D3DXVECTOR3 kUnitMax{1.0f, 1.0f, 1.0f};

D3DXVECTOR3 At(float x, float y, float z) { return D3DXVECTOR3{x, y, z}; }

class WorldTest : public ::testing::Test {
protected:
    zorQEntityRef* Entity(D3DXVECTOR3 position) {
        return world.CreateEntity(&position, &kUnitMin, &kUnitMax);
    }
    int Pick(D3DXVECTOR3 min, D3DXVECTOR3 max, int capacity, PICK_FILTER filter = PICK_FILTER_ALL,
             unsigned long flags = ZORQPICK_BOXES) {
        picked.assign(static_cast<std::size_t>(capacity > 0 ? capacity : 0) + 1, nullptr);
        return world.PickEntities(&min, &max, picked.data(), capacity, filter, flags);
    }

    zorWorld world;
    std::vector<zorQEntityRef*> picked;
};

TEST_F(WorldTest, PickNeverWritesMoreThanTheCapacity) {
    for (int i = 0; i < 40; ++i) Entity(At(static_cast<float>(i), 0.0f, 0.0f));
    for (int capacity : {0, 1, 32, 39, 40, 41}) {
        const int count = Pick(At(-100, -100, -100), At(100, 100, 100), capacity);
        EXPECT_EQ(count, capacity < 40 ? capacity : 40) << capacity;
        EXPECT_EQ(picked[static_cast<std::size_t>(capacity)], nullptr) << capacity;
    }
    D3DXVECTOR3 min = At(-100, -100, -100);
    D3DXVECTOR3 max = At(100, 100, 100);
    EXPECT_EQ(world.PickEntities(&min, &max, picked.data(), -5, PICK_FILTER_ALL, 0), 0);
}

TEST_F(WorldTest, BoxesThatReachIntoTheCubeArePicked) {
    zorQEntityRef* touching = Entity(At(11.0f, 0.0f, 0.0f));  // box reaches x = 10
    zorQEntityRef* outside = Entity(At(11.5f, 0.0f, 0.0f));
    zorQEntityRef* inside = Entity(At(0.0f, 0.0f, 0.0f));
    ASSERT_EQ(Pick(At(-10, -10, -10), At(10, 10, 10), 8), 2);
    EXPECT_EQ(picked[0], touching);
    EXPECT_EQ(picked[1], inside);
    EXPECT_EQ(Pick(At(-10, -10, -10), At(10, 10, 10), 8, PICK_FILTER_ALL, 0), 1);  // positions only
    EXPECT_EQ(Pick(At(10, 10, 10), At(-10, -10, -10), 8), 0);                      // inverted cube
    EXPECT_EQ(Pick(At(-10, -10, -10), At(10, 10, 10), 8, PICK_FILTER_NONE), 0);
    (void)outside;
}

TEST_F(WorldTest, EntityBoxIsAroundItsPosition) {
    zorQEntityRef* entity = Entity(At(5.0f, 6.0f, 7.0f));
    D3DXVECTOR3 min{}, max{};
    zorQWorld_GetEntityBox(entity, &min, &max);
    EXPECT_EQ(min.x, 4.0f);
    EXPECT_EQ(min.y, 5.0f);
    EXPECT_EQ(max.z, 8.0f);
    const D3DXVECTOR3 position = At(0, 0, 0);
    EXPECT_EQ(world.CreateEntity(&position, &kUnitMax, &kUnitMin), nullptr);
}

TEST_F(WorldTest, DamageMessageReachesTheClassicPlayerUntilItDies) {
    zorPlClassicClass cls;
    zorPlClassic player(&cls);
    zorQEntityRef* entity = Entity(At(0, 0, 0));
    ASSERT_GT(player.Create(entity, 0), 0);
    zorWorld* previous = zorQWorld_SetCurrent(&world);
    zorQMsgDamage damage{};
    damage.damage = 60;
    EXPECT_EQ(zorQWorld_SendMessage(entity, ZORQMSG_DAMAGE, reinterpret_cast<long>(&damage), 0),
              60);
    EXPECT_EQ(player.GetHealth(), 40);
    EXPECT_FALSE(player.IsDead());
    EXPECT_EQ(zorQWorld_SendMessage(entity, ZORQMSG_DAMAGE, reinterpret_cast<long>(&damage), 0),
              40);
    EXPECT_EQ(player.GetHealth(), 0);
    EXPECT_TRUE(player.IsDead());
    EXPECT_EQ(player.LastKillFlag(), kZorPlClassicKillDamage);
    EXPECT_EQ(zorQWorld_SendMessage(entity, ZORQMSG_DAMAGE, reinterpret_cast<long>(&damage), 0), 0);
    EXPECT_EQ(zorQWorld_SendMessage(entity, 99, 0, 0), ZORQMSG_UNHANDLED);
    zorQEntityRef* empty = Entity(At(0, 0, 0));
    EXPECT_EQ(zorQWorld_SendMessage(empty, ZORQMSG_DAMAGE, reinterpret_cast<long>(&damage), 0),
              ZORQMSG_UNHANDLED);
    zorQWorld_SetCurrent(previous);
}

TEST_F(WorldTest, SecondPlayerCannotTakeAnOccupiedEntity) {
    zorPlClassicClass cls;
    zorPlClassic first(&cls);
    zorPlClassic second(&cls);
    zorQEntityRef* entity = Entity(At(0, 0, 0));
    EXPECT_GT(first.Create(entity, 0), 0);
    EXPECT_EQ(second.Create(entity, 0), ZORPLCLASSIC_ENTITY_TAKEN);
    EXPECT_EQ(second.Create(nullptr, 0), ZORPLCLASSIC_NO_ENTITY);
}

std::vector<std::string> events;
std::vector<zorQEntityRef*> eventEntities;

void NoteEvent(const char* event, zorQEntityRef* entity) {
    events.emplace_back(event);
    eventEntities.push_back(entity);
}

// Exposes the classic player's corpse placement.
struct CorpsePlayer : zorPlClassic {
    using zorPlClassic::PlaceCorpse;
    using zorPlClassic::zorPlClassic;
};

TEST_F(WorldTest, PlacedCorpseCarriesItsEventSourceAndClassAndRaisesEvents) {
    events.clear();
    eventEntities.clear();
    zorWorld* previous = zorQWorld_SetCurrent(&world);
    zorPlClassicClass cls;
    CorpsePlayer player(&cls);
    EXPECT_EQ(player.PlaceCorpse(), nullptr);  // no entity yet
    zorQEntityRef* body = Entity(At(3.0f, 4.0f, 5.0f));
    player.Create(body, 0);
    zorQEntityRef* corpse = player.PlaceCorpse();
    ASSERT_NE(corpse, nullptr);
    EXPECT_EQ(corpse->position.x, 3.0f);
    EXPECT_EQ(corpse->position.z, 5.0f);
    auto* data = static_cast<zorQCorpseData*>(zorQWorld_GetEntityData(corpse));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->classObject, &cls);
    ASSERT_NE(data->eventSource, nullptr);
    EXPECT_EQ(data->eventSource->SetEventCallback(1, NoteEvent, corpse), ZORQEVENT_OK);
    EXPECT_EQ(data->eventSource->SetEventCallback(0, NoteEvent, corpse), ZORQEVENT_OK);
    EXPECT_EQ(data->eventSource->SetEventCallback(2, NoteEvent, corpse), ZORQEVENT_BAD_SELECTOR);
    // The same callback for the same corpse under both selectors hears the
    // event once.
    EXPECT_EQ(world.RaiseCorpseEvent(corpse, "fireblow"), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"fireblow"}));
    EXPECT_EQ(eventEntities, (std::vector<zorQEntityRef*>{corpse}));
    EXPECT_EQ(world.RaiseCorpseEvent(body, "fireblow"), -1);  // not a corpse
    world.DestroyEntity(corpse);
    EXPECT_EQ(world.RaiseCorpseEvent(corpse, "fireblow"), -1);
    zorQWorld_SetCurrent(previous);
}

TEST_F(WorldTest, EventSourceRefusesCallbacksBeyondItsCapacity) {
    zorQEventSource source;
    for (int i = 0; i < kZorQEventCallbacksPerSelector; ++i)
        EXPECT_EQ(source.SetEventCallback(0, NoteEvent, nullptr), ZORQEVENT_OK);
    EXPECT_EQ(source.SetEventCallback(0, NoteEvent, nullptr), ZORQEVENT_FULL);
    EXPECT_EQ(source.SetEventCallback(1, nullptr, nullptr), ZORQEVENT_BAD_SELECTOR);
    EXPECT_EQ(source.GetCallbackCount(0), kZorQEventCallbacksPerSelector);
}

TEST_F(WorldTest, RemovingAnEntityDetachesItsPlayer) {
    zorPlClassicClass cls;
    zorPlClassic player(&cls);
    zorQEntityRef* entity = Entity(At(0, 0, 0));
    player.Create(entity, 0);
    world.DestroyEntity(entity);
    EXPECT_EQ(player.GetRef(), nullptr);
    EXPECT_EQ(world.EntityCount(), 0);
    world.DestroyEntity(entity);  // unknown now: ignored
}

TEST(WorldCurrent, NullRestoresTheDefaultWorld) {
    zorWorld* builtIn = zorQWorld_Current();
    zorWorld mine;
    EXPECT_EQ(zorQWorld_SetCurrent(&mine), builtIn);
    EXPECT_EQ(zorQWorld_Current(), &mine);
    EXPECT_EQ(zorQWorld_SetCurrent(nullptr), &mine);
    EXPECT_EQ(zorQWorld_Current(), builtIn);
}

}  // namespace
