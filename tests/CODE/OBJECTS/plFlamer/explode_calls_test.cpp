// What an explosion asks of the host, in which order, and what the damage
// record and the effect transform carry.
#include "explode_test_world.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

using zorq::testing::Call;
using zorq::testing::CallKind;
using zorq::testing::kOrigin;
using zorq::testing::kUnitMax;
using zorq::testing::kUnitMin;

constexpr std::size_t kHostOnlyOffset = 38;  // the two bytes the Flamer leaves alone
// This host's record ends where the Flamer's fields end, so the Flamer's
// fill cannot reach past it.
static_assert(sizeof(zorQMsgDamage) == 44);
constexpr uint16_t kCanary = 0xA55A;

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::vector<CallKind> Kinds(const std::vector<Call>& calls) {
    std::vector<CallKind> kinds;
    for (const Call& call : calls) kinds.push_back(call.kind);
    return kinds;
}

void ExpectTranslation(const D3DXMATRIX& m, const D3DXVECTOR3& at) {
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(m.m[row][column], row == column ? 1.0f : 0.0f) << row << "," << column;
    EXPECT_EQ(m.m[3][0], at.x);
    EXPECT_EQ(m.m[3][1], at.y);
    EXPECT_EQ(m.m[3][2], at.z);
    EXPECT_EQ(m.m[3][3], 1.0f);
}

class ExplodeCallsTest : public ::testing::Test {
protected:
    zorq::testing::RecordingWorld world;
    zorq::testing::RecordingEffect effect{world};
    zorQEntityRef* centre = world.Add({1, 2, 3}, kUnitMin, kUnitMax);
    zorQEntityRef* near = world.Add({11, 2, 3}, kUnitMin, kUnitMax);
    zorQEntityRef* far = world.Add({41, 42, 43}, kUnitMin, kUnitMax);  // cube corner, out of reach
    zorQEntityRef* other = world.Add({1, -8, 3}, kUnitMin, kUnitMax);
    zorq::testing::ClassPtr flamerClass = zorq::testing::MakeClass(50, &effect);
};

TEST_F(ExplodeCallsTest, PickThenBoxAndMessageAlternatingThenTheEffect) {
    world.scriptedPicks = std::vector<zorQEntityRef*>{near, far, other};

    flamerClass->ExplodeCorpse(centre);

    EXPECT_EQ(
        Kinds(world.calls),
        (std::vector<CallKind>{CallKind::kPick, CallKind::kBox, CallKind::kMessage, CallKind::kBox,
                               CallKind::kBox, CallKind::kMessage, CallKind::kSpawn}));
    const Call& pick = world.calls[0];
    EXPECT_EQ(pick.capacity, 32);
    EXPECT_EQ(pick.filter, 1);
    EXPECT_EQ(pick.number, 4u);
    EXPECT_EQ(world.calls[1].entity, near);
    EXPECT_EQ(world.calls[3].entity, far);
    EXPECT_EQ(world.calls[4].entity, other);
    for (const Call& message : world.Of(CallKind::kMessage)) {
        EXPECT_EQ(message.number, 3u);
        EXPECT_EQ(message.param2, 0u);
    }
    ExpectTranslation(world.calls.back().transform, centre->position);
}

TEST_F(ExplodeCallsTest, WithoutAnEffectTheLastCallIsTheLastMessage) {
    flamerClass->explosionClass = nullptr;
    world.scriptedPicks = std::vector<zorQEntityRef*>{far, near};

    flamerClass->ExplodeCorpse(centre);

    ASSERT_FALSE(world.calls.empty());
    EXPECT_EQ(world.calls.back().kind, CallKind::kMessage);
    EXPECT_EQ(world.calls.back().entity, near);
}

TEST_F(ExplodeCallsTest, NoPicksStillStartTheEffectAtTheCentre) {
    for (int reported : {0, -1}) {
        world.calls.clear();
        world.scriptedPicks = std::vector<zorQEntityRef*>{near};
        world.reportedCount = reported;

        flamerClass->ExplodeCorpse(centre);

        EXPECT_EQ(Kinds(world.calls), (std::vector<CallKind>{CallKind::kPick, CallKind::kSpawn}))
            << reported;
        ExpectTranslation(world.calls.back().transform, centre->position);
    }
}

// A host that reports more than it was allowed to write must not make the
// explosion read past its list.
TEST_F(ExplodeCallsTest, OverReportedPicksAreClampedToTheList) {
    world.scriptedPicks = std::vector<zorQEntityRef*>(40, near);
    world.reportedCount = 40;

    flamerClass->ExplodeCorpse(centre);

    EXPECT_EQ(world.Of(CallKind::kBox).size(), 32u);
    EXPECT_EQ(world.Of(CallKind::kMessage).size(), 32u);
}

TEST_F(ExplodeCallsTest, RecordCarriesTheTuningBitForBitAndTheDirection) {
    flamerClass->splashDamage = -7;
    flamerClass->impulse = -0.0f;
    flamerClass->rotImpulse = 1.0e-40f;  // subnormal
    world.scriptedPicks = std::vector<zorQEntityRef*>{near, centre, other};

    flamerClass->ExplodeCorpse(centre);

    const auto messages = world.Of(CallKind::kMessage);
    ASSERT_EQ(messages.size(), 3u);
    const D3DXVECTOR3 directions[] = {{10, 24, 0}, {0, 24, 0}, {0, 14, 0}};
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const zorQMsgDamage& record = messages[i].record;
        EXPECT_EQ(record.damage, -7);
        EXPECT_EQ(Bits(record.impulse), Bits(-0.0f));
        EXPECT_EQ(Bits(record.rotImpulse), Bits(1.0e-40f));
        EXPECT_EQ(record.origin.x, 1.0f);
        EXPECT_EQ(record.origin.y, 2.0f);
        EXPECT_EQ(record.origin.z, 3.0f);
        EXPECT_EQ(record.direction.x, directions[i].x) << i;
        EXPECT_EQ(record.direction.y, directions[i].y) << i;
        EXPECT_EQ(record.direction.z, directions[i].z) << i;
        EXPECT_EQ(record.kind, 1);
        EXPECT_EQ(record.reserved, 0u);
    }
}

TEST_F(ExplodeCallsTest, DefaultTuningIsSentUnchanged) {
    zorq::testing::ClassPtr defaults(CreateObjClass());
    world.scriptedPicks = std::vector<zorQEntityRef*>{near, other};

    defaults->ExplodeCorpse(centre);

    for (const Call& message : world.Of(CallKind::kMessage)) {
        EXPECT_EQ(message.record.damage, 20);
        EXPECT_EQ(message.record.impulse, 200.0f);
        EXPECT_EQ(message.record.rotImpulse, 50.0f);
    }
}

// The record is refilled for each receiver; the two bytes after `kind`
// belong to the host and keep whatever the host put there.
TEST_F(ExplodeCallsTest, HostBytesOfTheRecordAreLeftAlone) {
    world.scriptedPicks = std::vector<zorQEntityRef*>{near, other, near};
    std::vector<uint16_t> seen;
    world.onMessage = [&](zorQEntityRef*, zorQMsgDamage* record) {
        uint16_t host;
        auto* bytes = reinterpret_cast<unsigned char*>(record);
        std::memcpy(&host, bytes + kHostOnlyOffset, sizeof host);
        seen.push_back(host);
        std::memcpy(bytes + kHostOnlyOffset, &kCanary, sizeof kCanary);
    };

    flamerClass->ExplodeCorpse(centre);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], kCanary);
    EXPECT_EQ(seen[2], kCanary);
}

// The centre is read again at every use: a handler that moves it moves the
// origin of every later message and the effect, not the cube.
TEST_F(ExplodeCallsTest, HandlerMovingTheCentreMovesWhatFollows) {
    world.scriptedPicks = std::vector<zorQEntityRef*>{near, other};
    world.onMessage = [&](zorQEntityRef* target, zorQMsgDamage*) {
        if (target == near) centre->position = {1, -8, 13};
    };

    flamerClass->ExplodeCorpse(centre);

    const auto messages = world.Of(CallKind::kMessage);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].record.origin.z, 3.0f);
    EXPECT_EQ(messages[1].record.origin.y, -8.0f);
    EXPECT_EQ(messages[1].record.origin.z, 13.0f);
    EXPECT_EQ(messages[1].record.direction.y, 24.0f);
    EXPECT_EQ(messages[1].record.direction.z, -10.0f);
    EXPECT_EQ(world.Of(CallKind::kPick)[0].max.z, 53.0f);
    ExpectTranslation(world.calls.back().transform, {1, -8, 13});
}

TEST_F(ExplodeCallsTest, HostPickFindsEntitiesByTheirBoxes) {
    flamerClass->ExplodeCorpse(centre);

    // centre, near and other are within reach; far lies in the cube but not
    // in the sphere.
    EXPECT_EQ(world.Of(CallKind::kBox).size(), 4u);
    EXPECT_EQ(world.Of(CallKind::kMessage).size(), 3u);
}

}  // namespace
