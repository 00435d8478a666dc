// The two roads to an explosion: a kill with a non-zero flag, and the
// "fireblow" event on the corpse.
#include "explode_test_world.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using zorq::testing::Call;
using zorq::testing::CallKind;
using zorq::testing::kUnitMax;
using zorq::testing::kUnitMin;

struct ObjDeleter {
    void operator()(zorPlFlamer* flamer) const { delete flamer; }
};
using FlamerPtr = std::unique_ptr<zorPlFlamer, ObjDeleter>;

zorQCorpseData* DataOf(zorQEntityRef* corpse) { return static_cast<zorQCorpseData*>(corpse->data); }

class CorpseTriggerTest : public ::testing::Test {
protected:
    FlamerPtr MakeFlamer(zorPlFlamerClass& cls, const D3DXVECTOR3& at) {
        FlamerPtr made(static_cast<zorPlFlamer*>(cls.CreateObj()));
        made->Create(world.Add(at, kUnitMin, kUnitMax), 0);
        return made;
    }

    // Kills the Flamer quietly and places its corpse, keeping the callback it
    // registered; the log starts afresh after.
    zorQEntityRef* PlaceCorpse() {
        flamer->Kill(0);
        zorQEntityRef* corpse = flamer->PlaceCorpse();
        callback = world.Of(CallKind::kRegister).at(0).callback;
        world.calls.clear();
        return corpse;
    }

    std::size_t Explosions() const { return world.Of(CallKind::kPick).size(); }

    zorq::testing::RecordingWorld world;
    zorq::testing::ClassPtr flamerClass = zorq::testing::MakeClass(100, nullptr);
    FlamerPtr flamer = MakeFlamer(*flamerClass, {0, 0, 0});
    zorQEventCallback callback = nullptr;
};

TEST_F(CorpseTriggerTest, KillWithZeroOnlyDies) {
    flamer->Kill(0);

    EXPECT_TRUE(world.Of(CallKind::kPick).empty());
    EXPECT_TRUE(flamer->IsDead());
    EXPECT_EQ(flamer->LastKillFlag(), 0);
}

TEST_F(CorpseTriggerTest, KillWithAFlagExplodesAtTheFlamerBeforeDying) {
    std::vector<bool> deadAtMessage;
    world.onMessage = [&](zorQEntityRef*, zorQMsgDamage*) {
        deadAtMessage.push_back(flamer->IsDead());
    };

    flamer->Kill(2);

    const auto picks = world.Of(CallKind::kPick);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].min.x, -100.0f);
    EXPECT_EQ(deadAtMessage, std::vector<bool>{false});  // it hits itself while still alive
    EXPECT_TRUE(flamer->IsDead());
    EXPECT_EQ(flamer->LastKillFlag(), 2);
}

// A Flamer with no entity has nowhere to explode; it still dies.
TEST_F(CorpseTriggerTest, KillWithoutAnEntitySkipsTheExplosion) {
    FlamerPtr bodiless(static_cast<zorPlFlamer*>(flamerClass->CreateObj()));

    bodiless->Kill(2);

    EXPECT_TRUE(world.calls.empty());
    EXPECT_TRUE(bodiless->IsDead());
    EXPECT_EQ(bodiless->LastKillFlag(), 2);
}

// Killed with a flag, a Flamer explodes whatever its health; when that blast
// takes its own last health, its death of the damage explodes it once more,
// after the first blast has finished.
TEST_F(CorpseTriggerTest, FlamerKilledByItsOwnBlastExplodesAgainAfterIt) {
    flamerClass->maxHealth = 10;
    FlamerPtr weak = MakeFlamer(*flamerClass, {500, 0, 0});

    world.KillPlayer(weak.get(), 2);

    EXPECT_EQ(Explosions(), 2u);
    EXPECT_TRUE(weak->IsDead());
    EXPECT_EQ(world.maxMessageDepth, 1);
}

// A neighbour killed by the blast explodes once the blast has finished: the
// second pick follows the first blast's last message.
TEST_F(CorpseTriggerTest, DeathsABlastCausesRunAfterIt) {
    flamerClass->maxHealth = 20;
    FlamerPtr weak = MakeFlamer(*flamerClass, {500, 0, 0});
    FlamerPtr neighbour = MakeFlamer(*flamerClass, {530, 0, 0});

    world.KillPlayer(weak.get(), 2);

    std::vector<CallKind> kinds;
    for (const Call& call : world.calls) kinds.push_back(call.kind);
    const std::vector<CallKind> firstBlast = {CallKind::kPick,    CallKind::kBox,
                                              CallKind::kMessage, CallKind::kBox,
                                              CallKind::kMessage, CallKind::kPick};
    ASSERT_GE(kinds.size(), firstBlast.size());
    EXPECT_TRUE(std::equal(firstBlast.begin(), firstBlast.end(), kinds.begin()));
    EXPECT_EQ(Explosions(), 3u);  // weak's kill, weak's death of the damage, the neighbour's
    EXPECT_TRUE(weak->IsDead());
    EXPECT_TRUE(neighbour->IsDead());
    EXPECT_EQ(neighbour->LastKillFlag(), kZorPlClassicKillDamage);
}

// However long a chain of Flamers killing each other, no explosion runs
// inside another: the messages never nest.
TEST_F(CorpseTriggerTest, ChainReactionRunsOneExplosionAfterAnother) {
    constexpr int kChain = 300;
    flamerClass->maxHealth = 20;
    std::vector<FlamerPtr> chain;
    for (int i = 0; i < kChain; ++i)
        chain.push_back(MakeFlamer(*flamerClass, {1000.0f + 50.0f * static_cast<float>(i), 0, 0}));

    world.KillPlayer(chain.front().get(), 2);

    for (const FlamerPtr& link : chain) EXPECT_TRUE(link->IsDead());
    EXPECT_EQ(world.maxMessageDepth, 1);
    EXPECT_EQ(Explosions(), static_cast<std::size_t>(kChain) + 1);
}

TEST_F(CorpseTriggerTest, PlaceCorpseWithoutACorpseRegistersNothing) {
    FlamerPtr bodiless(static_cast<zorPlFlamer*>(flamerClass->CreateObj()));

    EXPECT_EQ(bodiless->PlaceCorpse(), nullptr);
    EXPECT_TRUE(world.calls.empty());
}

TEST_F(CorpseTriggerTest, PlaceCorpseRegistersUnderSelectorOneThenZero) {
    zorQEntityRef* corpse = flamer->PlaceCorpse();

    ASSERT_NE(corpse, nullptr);
    const auto registrations = world.Of(CallKind::kRegister);
    ASSERT_EQ(registrations.size(), 2u);
    EXPECT_EQ(registrations[0].selector, 1);
    EXPECT_EQ(registrations[1].selector, 0);
    for (const Call& registration : registrations) {
        EXPECT_EQ(registration.entity, corpse);
        EXPECT_EQ(registration.source, DataOf(corpse)->eventSource);
        EXPECT_NE(registration.callback, nullptr);
    }
    EXPECT_EQ(registrations[0].callback, registrations[1].callback);
    EXPECT_EQ(world.calls.front().kind, CallKind::kData);
    EXPECT_EQ(world.Of(CallKind::kData).size(), 1u);  // asked once, its first word read twice
}

// The event source is read from the corpse's data again for the second
// registration.
TEST_F(CorpseTriggerTest, SecondRegistrationRereadsTheEventSource) {
    std::unique_ptr<zorQEventSource> replaced;
    world.onCorpse = [&](zorQEntityRef* corpse) {
        zorQCorpseData* data = DataOf(corpse);
        auto* first = static_cast<zorq::testing::RecordingEventSource*>(data->eventSource);
        first->onRegister = [data, &replaced] {
            replaced.reset(data->eventSource);
            data->eventSource = new zorq::testing::RecordingEventSource(
                *static_cast<zorq::testing::RecordingWorld*>(zorQWorld_Current()));
        };
    };

    zorQEntityRef* corpse = flamer->PlaceCorpse();

    const auto registrations = world.Of(CallKind::kRegister);
    ASSERT_EQ(registrations.size(), 2u);
    EXPECT_EQ(registrations[0].source, replaced.get());
    EXPECT_EQ(registrations[1].source, DataOf(corpse)->eventSource);
}

struct EventCase {
    const char* text;
    bool explodes;
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class CorpseEventTextTest : public CorpseTriggerTest,
                            public ::testing::WithParamInterface<EventCase> {};

TEST_P(CorpseEventTextTest, OnlyTheWholeWordInAnyCaseExplodes) {
    zorQEntityRef* corpse = PlaceCorpse();

    callback(GetParam().text, corpse);

    EXPECT_EQ(Explosions(), GetParam().explodes ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Texts, CorpseEventTextTest,
                         ::testing::Values(EventCase{"fireblow", true}, EventCase{"FIREBLOW", true},
                                           EventCase{"FireBlow", true}, EventCase{"fIREbLOW", true},
                                           EventCase{"fire", false}, EventCase{"fireblo", false},
                                           EventCase{"fireblow1", false},
                                           EventCase{"fireblow ", false},
                                           EventCase{" fireblow", false}, EventCase{"", false},
                                           EventCase{"firebl\xcf\x89", false}));

TEST_F(CorpseTriggerTest, EveryEventExplodesTheCorpseAgain) {
    zorQEntityRef* corpse = PlaceCorpse();

    callback("fireblow", corpse);
    callback("fireblow", corpse);

    const auto picks = world.Of(CallKind::kPick);
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_EQ(picks[1].max.x, corpse->position.x + 100.0f);
}

// The corpse road finds its tuning through the corpse's data, so it works
// after the Flamer is gone.
TEST_F(CorpseTriggerTest, CorpseUsesTheClassObjectOfItsDataAfterTheFlamerIsGone) {
    zorQEntityRef* corpse = PlaceCorpse();
    zorq::testing::ClassPtr other = zorq::testing::MakeClass(7, nullptr);
    DataOf(corpse)->classObject = other.get();
    flamer.reset();

    callback("fireblow", corpse);

    const auto picks = world.Of(CallKind::kPick);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].max.x, corpse->position.x + 7.0f);
}

TEST_F(CorpseTriggerTest, EventWithoutCorpseDataDoesNothing) {
    zorQEntityRef* corpse = PlaceCorpse();
    zorQEntityRef* plain = world.Add({0, 0, 0}, kUnitMin, kUnitMax);
    zorQCorpseData* data = DataOf(corpse);
    zorObjClass* owner = data->classObject;

    callback("fireblow", nullptr);
    callback("fireblow", plain);  // no entity data at all
    data->classObject = nullptr;
    callback("fireblow", corpse);  // data without a class object
    data->classObject = owner;

    EXPECT_EQ(Explosions(), 0u);
}

}  // namespace
