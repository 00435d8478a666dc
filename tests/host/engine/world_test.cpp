// The world: entities, cube queries, damage delivery, corpses and events.
#include "zorQObj.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <algorithm>
#include <cmath>
#include <random>
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
    EXPECT_EQ(Pick(At(10, -10, -10), At(-10, 10, 10), 8), 0);  // inverted in x alone
    EXPECT_EQ(Pick(At(-10, -10, -10), At(10, 10, 10), 8, PICK_FILTER_NONE), 0);
    (void)outside;
}

// More entities in the cube than the list holds: the nearest to the cube's
// centre are picked (by distance to their box), listed in creation order,
// and the count in the cube is told.
TEST_F(WorldTest, CrowdedCubeGivesTheNearestToItsCentre) {
    std::vector<zorQEntityRef*> corners;
    for (int i = 0; i < 40; ++i) corners.push_back(Entity(At(95.0f, 95.0f, 95.0f - float(i))));
    zorQEntityRef* near = Entity(At(5.0f, 0.0f, 0.0f));
    zorQEntityRef* wide = world.CreateEntity(&corners[0]->position, &kUnitMin, &kUnitMin);
    const D3DXVECTOR3 bigMin{-200.0f, -1.0f, -1.0f};
    const D3DXVECTOR3 bigMax{-1.0f, 1.0f, 1.0f};
    const D3DXVECTOR3 farAway = At(150.0f, 0.0f, 0.0f);
    zorQEntityRef* reaching =
        world.CreateEntity(&farAway, &bigMin, &bigMax);  // box reaches x = 149
    (void)wide;
    picked.assign(33, nullptr);

    const zorQPickResult result = world.Pick(At(-100, -100, -100), At(100, 100, 100), picked.data(),
                                             32, PICK_FILTER_ALL, ZORQPICK_BOXES);

    EXPECT_EQ(result.inCube, 43);
    ASSERT_EQ(result.written, 32);
    EXPECT_EQ(picked[32], nullptr);
    // near and the box reaching in are nearer than any corner entity.
    EXPECT_NE(std::find(picked.begin(), picked.end(), near), picked.end());
    EXPECT_NE(std::find(picked.begin(), picked.end(), reaching), picked.end());
    for (int i = 1; i < 32; ++i) EXPECT_LT(picked[i - 1]->id, picked[i]->id);
    // Of the corners, the ones nearer the centre (lower z) were kept.
    EXPECT_EQ(std::find(picked.begin(), picked.end(), corners[0]), picked.end());
    EXPECT_NE(std::find(picked.begin(), picked.end(), corners[39]), picked.end());
}

// What a look at every entity finds: those meeting the cube (by box or by
// position) and not the cube left out, the `capacity` nearest its centre
// (ties to the older), in creation order, and how many there were.
zorQPickResult LookAtEvery(const std::vector<zorQEntityRef*>& all, const D3DXVECTOR3& min,
                           const D3DXVECTOR3& max, const D3DXVECTOR3* outMin,
                           const D3DXVECTOR3* outMax, bool boxes, std::size_t capacity,
                           std::vector<zorQEntityRef*>& found) {
    const auto meets = [](const D3DXVECTOR3& lo, const D3DXVECTOR3& hi, const D3DXVECTOR3& a,
                          const D3DXVECTOR3& b) {
        return a.x <= b.x && a.y <= b.y && a.z <= b.z && lo.x <= b.x && lo.y <= b.y &&
               lo.z <= b.z && a.x <= hi.x && a.y <= hi.y && a.z <= hi.z;
    };
    const double centre[3] = {(double(min.x) + max.x) / 2, (double(min.y) + max.y) / 2,
                              (double(min.z) + max.z) / 2};
    std::vector<std::pair<double, zorQEntityRef*>> matches;
    for (zorQEntityRef* e : all) {
        D3DXVECTOR3 lo = e->position, hi = e->position;
        if (boxes) zorQWorld_GetEntityBox(e, &lo, &hi);
        if (!meets(lo, hi, min, max) || (outMin != nullptr && meets(lo, hi, *outMin, *outMax)))
            continue;
        double squared = 0;
        const float los[3] = {lo.x, lo.y, lo.z}, his[3] = {hi.x, hi.y, hi.z};
        for (int axis = 0; axis < 3; ++axis) {
            const double gap = centre[axis] < los[axis]   ? los[axis] - centre[axis]
                               : centre[axis] > his[axis] ? centre[axis] - his[axis]
                                                          : 0.0;
            squared += gap * gap;
        }
        matches.emplace_back(squared, e);
    }
    std::sort(matches.begin(), matches.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second->id < b.second->id;
    });
    found.clear();
    for (std::size_t i = 0; i < std::min(capacity, matches.size()); ++i)
        found.push_back(matches[i].second);
    std::sort(found.begin(), found.end(), [](auto* a, auto* b) { return a->id < b->id; });
    return {static_cast<int>(found.size()), static_cast<int>(matches.size())};
}

// The tree behind the picks finds what a look at every entity finds: boxes
// of every size, near the origin and at the ends of the floats, crowds at
// one spot (ties broken by age), moved and removed entities, cubes large and
// small, by boxes and by positions, with a cube left out or not, and lists
// long enough for all or only the nearest few.
TEST_F(WorldTest, PicksAgreeWithALookAtEveryEntity) {
    std::mt19937 random(12345);
    const auto uniform = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(random);
    };
    const float scales[] = {10.0f, 1000.0f, 1e6f, 3e8f, 1e30f};
    const auto point = [&] {
        const float scale = scales[random() % 5];
        return At(uniform(-scale, scale), uniform(-scale, scale), uniform(-scale, scale));
    };
    std::vector<zorQEntityRef*> all;
    for (int i = 0; i < 600; ++i) {
        const float size = scales[random() % 4] * uniform(0.0f, 0.5f);
        const D3DXVECTOR3 lo = At(-size * uniform(0, 1), -size, uniform(-size, size));
        const D3DXVECTOR3 hi = At(size, size * uniform(0, 1), lo.z + size);
        const D3DXVECTOR3 at = point();
        if (zorQEntityRef* e = world.CreateEntity(&at, &lo, &hi)) all.push_back(e);
    }
    for (int i = 0; i < 200; ++i) all.push_back(Entity(At(3.0f, 3.0f, 3.0f)));
    for (int i = 0; i < 100; ++i) {
        const D3DXVECTOR3 to = random() % 4 == 0 ? At(3.0f, 3.0f, 3.0f) : point();
        world.MoveEntity(all[random() % all.size()], &to);
    }
    for (int i = 0; i < 50; ++i) {
        const std::size_t gone = random() % all.size();
        world.DestroyEntity(all[gone]);
        all.erase(all.begin() + static_cast<std::ptrdiff_t>(gone));
    }
    std::vector<zorQEntityRef*> expected;
    for (int query = 0; query < 600; ++query) {
        const D3DXVECTOR3 centre = query % 3 == 0 ? At(3.0f, 3.0f, 3.0f) : point();
        const float half = scales[random() % 5] * uniform(0.0f, 1.0f);
        const D3DXVECTOR3 min = At(centre.x - half, centre.y - half, centre.z - half);
        const D3DXVECTOR3 max = At(centre.x + half, centre.y + half, centre.z + half);
        const D3DXVECTOR3 innerMin = At(centre.x - half / 2, centre.y - half / 2, centre.z);
        const D3DXVECTOR3 innerMax = At(centre.x + half / 2, centre.y + half, centre.z + half);
        const bool boxes = query % 2 == 0;
        const bool outside = query % 4 < 2;
        const std::size_t capacity = query % 5 == 0 ? all.size() : 1 + random() % 40;
        const unsigned long flags = boxes ? ZORQPICK_BOXES : 0;
        std::vector<zorQEntityRef*> list(capacity + 1, nullptr);
        const zorQPickResult result =
            outside ? world.PickOutside(min, max, innerMin, innerMax, list.data(),
                                        static_cast<int>(capacity), PICK_FILTER_ALL, flags)
                    : world.Pick(min, max, list.data(), static_cast<int>(capacity), PICK_FILTER_ALL,
                                 flags);
        const zorQPickResult looked =
            LookAtEvery(all, min, max, outside ? &innerMin : nullptr, outside ? &innerMax : nullptr,
                        boxes, capacity, expected);
        list.resize(static_cast<std::size_t>(result.written));
        ASSERT_EQ(list, expected) << "query " << query;
        ASSERT_EQ(result.inCube, looked.inCube) << "query " << query;
    }
}

TEST_F(WorldTest, EntitiesReachingBeyondTheFloatsAreRefused) {
    const D3DXVECTOR3 edge = At(3e38f, 0.0f, 0.0f);
    const D3DXVECTOR3 huge = At(1e38f, 1.0f, 1.0f);
    EXPECT_EQ(world.CreateEntity(&edge, &kUnitMin, &huge), nullptr);
    const D3DXVECTOR3 nan = At(std::nanf(""), 0.0f, 0.0f);
    EXPECT_EQ(world.CreateEntity(&nan, &kUnitMin, &kUnitMax), nullptr);
    EXPECT_NE(world.CreateEntity(&edge, &kUnitMin, &kUnitMax), nullptr);
    EXPECT_EQ(world.EntityCount(), 1);
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
    // The death waits for the world to run it.
    EXPECT_FALSE(player.IsDead());
    EXPECT_EQ(world.RunQueuedDeaths(), 1);
    EXPECT_TRUE(player.IsDead());
    EXPECT_EQ(player.LastKillFlag(), kZorPlClassicKillDamage);
    EXPECT_EQ(zorQWorld_SendMessage(entity, ZORQMSG_DAMAGE, reinterpret_cast<long>(&damage), 0), 0);
    EXPECT_EQ(zorQWorld_SendMessage(entity, 99, 0, 0), ZORQMSG_UNHANDLED);
    zorQEntityRef* empty = Entity(At(0, 0, 0));
    EXPECT_EQ(zorQWorld_SendMessage(empty, ZORQMSG_DAMAGE, reinterpret_cast<long>(&damage), 0),
              ZORQMSG_UNHANDLED);
    zorQWorld_SetCurrent(previous);
}

// A death waits in the queue until the world runs it: KillPlayer and a corpse
// event run the queue when they end, an entity's removal drops its death, and
// a run started from inside the running queue does nothing.
TEST_F(WorldTest, QueuedDeathsRunWhenTheWorldRunsThem) {
    zorPlClassicClass cls;
    zorPlClassic first(&cls);
    zorPlClassic second(&cls);
    zorPlClassic third(&cls);
    zorQEntityRef* firstEntity = Entity(At(0, 0, 0));
    zorQEntityRef* secondEntity = Entity(At(0, 0, 0));
    first.Create(firstEntity, 0);
    second.Create(secondEntity, 0);
    third.Create(Entity(At(0, 0, 0)), 0);

    world.QueueDeath(firstEntity, 7);
    world.QueueDeath(secondEntity, 8);
    world.DestroyEntity(secondEntity);
    world.KillPlayer(&third, 3);

    EXPECT_TRUE(first.IsDead());
    EXPECT_EQ(first.LastKillFlag(), 7);
    EXPECT_FALSE(second.IsDead());
    EXPECT_EQ(third.LastKillFlag(), 3);
    EXPECT_EQ(world.RunQueuedDeaths(), 0);
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
