// Which entities an explosion reaches: the distance from the centre to the
// nearest point of each box decides, the cube only narrows the candidates.
#include "explode_test_world.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

using zorq::testing::CallKind;
using zorq::testing::kOrigin;

struct ReachCase {
    const char* name;
    int radius;
    D3DXVECTOR3 position;  // of the entity; the centre stands at the origin
    D3DXVECTOR3 boxMin;    // relative to the position
    D3DXVECTOR3 boxMax;
    bool hit;
};

void PrintTo(const ReachCase& c, std::ostream* os) { *os << c.name; }

class ExplodeReachTest : public ::testing::TestWithParam<ReachCase> {};

TEST_P(ExplodeReachTest, DistanceToTheBoxDecides) {
    const ReachCase& c = GetParam();
    zorq::testing::RecordingWorld world;
    zorQEntityRef* centre = world.Add(kOrigin, kOrigin, kOrigin);
    zorQEntityRef* target = world.Add(c.position, c.boxMin, c.boxMax);
    // The host's pick is bypassed: the entity is offered whatever the cube.
    world.scriptedPicks = std::vector<zorQEntityRef*>{target};
    auto flamerClass = zorq::testing::MakeClass(c.radius, nullptr);

    flamerClass->ExplodeCorpse(centre);

    const auto messages = world.Of(CallKind::kMessage);
    ASSERT_EQ(world.Of(CallKind::kBox).size(), 1u);
    ASSERT_EQ(messages.size(), c.hit ? 1u : 0u);
    if (c.hit) {
        EXPECT_EQ(messages[0].entity, target);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, ExplodeReachTest,
    ::testing::Values(
        ReachCase{"BoxContainsTheCentre", 100, {5, 0, 0}, {-10, -10, -10}, {10, 10, 10}, true},
        ReachCase{"FaceExactlyOnTheRadius", 100, {110, 0, 0}, {-10, -10, -10}, {10, 10, 10}, true},
        ReachCase{
            "FaceJustBeyondTheRadius", 100, {110.5f, 0, 0}, {-10, -10, -10}, {10, 10, 10}, false},
        // (60, 80, 0) is exactly 100 away: the diagonal boundary is a hit too.
        ReachCase{"CornerExactlyOnTheRadius", 100, {61, 81, 0}, {-1, -1, -1}, {1, 1, 1}, true},
        ReachCase{
            "InTheCubesCornerBeyondTheSphere", 100, {90, 90, 90}, {-5, -5, -5}, {5, 5, 5}, false},
        ReachCase{
            "LargeBoxFromAFarPosition", 100, {0, 0, -300}, {-50, -50, -250}, {50, 50, 250}, true},
        ReachCase{"RadiusZeroTouchingBox", 0, {10, 0, 0}, {-10, -1, -1}, {1, 1, 1}, true},
        ReachCase{"RadiusZeroBoxContainingTheCentre", 0, {0, 0, 0}, {-1, -1, -1}, {1, 1, 1}, true},
        ReachCase{"RadiusZeroBoxApart", 0, {10, 0, 0}, {-9.5f, -1, -1}, {1, 1, 1}, false},
        ReachCase{"NegativeRadiusEvenInside", -5, {0, 0, 0}, {-1, -1, -1}, {1, 1, 1}, false}),
    [](const ::testing::TestParamInfo<ReachCase>& info) { return info.param.name; });

// The distance starts from zero for every entity: a far entity before a
// near one must not make the near one look far.
TEST(ExplodeGeometry, EachEntityIsMeasuredAfresh) {
    zorq::testing::RecordingWorld world;
    zorQEntityRef* centre = world.Add(kOrigin, kOrigin, kOrigin);
    zorQEntityRef* far =
        world.Add({500, 500, 500}, zorq::testing::kUnitMin, zorq::testing::kUnitMax);
    zorQEntityRef* near = world.Add({0, 0, 50}, zorq::testing::kUnitMin, zorq::testing::kUnitMax);
    world.scriptedPicks = std::vector<zorQEntityRef*>{far, near};
    auto flamerClass = zorq::testing::MakeClass(100, nullptr);

    flamerClass->ExplodeCorpse(centre);

    const auto messages = world.Of(CallKind::kMessage);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].entity, near);
}

TEST(ExplodeGeometry, CubeIsTheRadiusAroundTheCentre) {
    zorq::testing::RecordingWorld world;
    zorQEntityRef* centre = world.Add({10, -20, 30.5f}, kOrigin, kOrigin);
    auto flamerClass = zorq::testing::MakeClass(75, nullptr);

    flamerClass->ExplodeCorpse(centre);

    const auto picks = world.Of(CallKind::kPick);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_FLOAT_EQ(picks[0].min.x, -65.0f);
    EXPECT_FLOAT_EQ(picks[0].min.y, -95.0f);
    EXPECT_FLOAT_EQ(picks[0].min.z, -44.5f);
    EXPECT_FLOAT_EQ(picks[0].max.x, 85.0f);
    EXPECT_FLOAT_EQ(picks[0].max.y, 55.0f);
    EXPECT_FLOAT_EQ(picks[0].max.z, 105.5f);
}

// A negative radius inverts the cube; whatever the host offers is out of
// reach, and the bound effect is still started.
TEST(ExplodeGeometry, NegativeRadiusInvertsTheCubeAndStillStartsTheEffect) {
    zorq::testing::RecordingWorld world;
    zorq::testing::RecordingEffect effect(world);
    zorQEntityRef* centre = world.Add(kOrigin, kOrigin, kOrigin);
    world.scriptedPicks = std::vector<zorQEntityRef*>{centre};
    auto flamerClass = zorq::testing::MakeClass(-10, &effect);

    flamerClass->ExplodeCorpse(centre);

    const auto picks = world.Of(CallKind::kPick);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_GT(picks[0].min.x, picks[0].max.x);
    EXPECT_TRUE(world.Of(CallKind::kMessage).empty());
    EXPECT_EQ(world.Of(CallKind::kSpawn).size(), 1u);
}

}  // namespace
