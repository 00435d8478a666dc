// The picture of one explosion read back with an XML parser: its frame, the
// geometry of both views of a small scene, its labels, its wording, and text
// that XML cannot carry as it is.
#include "explosion_words.h"
#include "svg_document.h"
#include "svg_writer.h"

#include <cmath>

namespace flamer_host {
namespace {

using namespace flamer_host::testing;

constexpr float kRadius = 100.0f;
constexpr double kNear = 0.02;  // pixels: the picture writes two decimals

PickedEntity Pick(const std::string& name, const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax,
                  bool hit) {
    PickedEntity pick;
    pick.name = name;
    pick.boxMin = boxMin;
    pick.boxMax = boxMax;
    pick.position = {(boxMin.x + boxMax.x) / 2, (boxMin.y + boxMax.y) / 2,
                     (boxMin.z + boxMax.z) / 2};
    pick.distance = DistanceToBox(pick.centre, boxMin, boxMax);
    pick.hit = hit;
    return pick;
}

LeftOutEntity LeftOut(const std::string& name, LeftOutReason reason, const D3DXVECTOR3& boxMin,
                      const D3DXVECTOR3& boxMax) {
    return {name, reason, boxMin, boxMin, boxMax, DistanceToBox({0, 0, 0}, boxMin, boxMax)};
}

// A blast at the origin: one box in reach, one high up and out of reach, one
// left out by the pick limit, one above the cube; a push and an effect.
Explosion SmallScene() {
    Explosion explosion;
    explosion.number = 2;
    explosion.setOffBy = 1;
    explosion.centreName = "centre";
    explosion.radius = kRadius;
    explosion.cubeMin = {-kRadius, -kRadius, -kRadius};
    explosion.cubeMax = {kRadius, kRadius, kRadius};
    explosion.capacity = 2;
    explosion.inCube = 3;
    explosion.reportedPicks = 2;
    explosion.nearbyOutside = 1;
    explosion.picks = {Pick("near", {10, -5, -5}, {20, 5, 5}, true),
                       Pick("high", {90, 50, 0}, {100, 60, 10}, false)};
    explosion.picks[0].message = 0;
    SentMessage message;
    message.target = "near";
    message.number = ZORQMSG_DAMAGE;
    message.hasDamage = true;
    message.damage.damage = 20;
    message.damage.direction = {15, 24, 0};
    explosion.messages = {message};
    explosion.leftOut = {
        LeftOut("crowd", LeftOutReason::kOverLimit, {-90, -10, 60}, {-80, 0, 70}),
        LeftOut("drone", LeftOutReason::kOutsideCube, {-10, 120, -10}, {10, 130, 10})};
    EffectSpawn spawn;
    spawn.effectName = "fx_boom";
    for (int i = 0; i < 4; ++i) spawn.transform.m[i][i] = 1.0f;  // at the origin
    explosion.spawns = {spawn};
    return explosion;
}

// The picture of an explosion that has explosions before and after it.
std::string Picture(const Explosion& explosion,
                    PictureLinks links = PictureLinks{.previous = true, .next = true}) {
    return ExplosionSvg(ModelOf(explosion), links).text;
}

// The circle of reach in a view: its centre and its radius in pixels.
struct Reach {
    double cx, cy, r;
};

Reach ReachOf(Element view) {
    Element circle = FindOne(view, "circle", {"reach"});
    return circle == nullptr
               ? Reach{0, 0, 1}
               : Reach{Number(circle, "cx"), Number(circle, "cy"), Number(circle, "r")};
}

// Where a world rectangle should lie in a view whose circle is `reach`: its
// across axis to the right, its up axis up the page.
void ExpectBoxAt(Element view, const std::string& name, double acrossLo, double acrossHi,
                 double upLo, double upHi) {
    const Reach reach = ReachOf(view);
    const double scale = reach.r / kRadius;
    Element rect = Named(view, "rect", {"box"}, name);
    ASSERT_NE(rect, nullptr);
    const Box box = BoxOf(rect);
    EXPECT_NEAR(box.x, reach.cx + acrossLo * scale, kNear) << name;
    EXPECT_NEAR(box.Right(), reach.cx + acrossHi * scale, kNear) << name;
    EXPECT_NEAR(box.y, reach.cy - upHi * scale, kNear) << name;
    EXPECT_NEAR(box.Bottom(), reach.cy - upLo * scale, kNear) << name;
}

std::vector<std::string> Texts(Element from) {
    std::vector<std::string> texts;
    for (Element text : FindAll(from, "text")) texts.push_back(Text(text));
    return texts;
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& text : texts)
        if (text.find(part) != std::string::npos) return true;
    return false;
}

TEST(ExplosionSvgTest, FrameScalesAndIsTitled) {
    const SvgDocument svg(Picture(SmallScene()));

    ASSERT_TRUE(svg.Parsed()) << svg.Error();
    Element root = svg.Root();
    EXPECT_STREQ(root->Name(), "svg");
    const double width = Number(root, "width");
    const double height = Number(root, "height");
    std::istringstream viewBox(root->Attribute("viewBox") ? root->Attribute("viewBox") : "");
    double x = -1, y = -1, w = 0, h = 0;
    viewBox >> x >> y >> w >> h;
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_NEAR(w, width, kNear);
    EXPECT_NEAR(h, height, kNear);
    EXPECT_GT(width, 0);
    Element title = root->FirstChildElement("title");
    ASSERT_NE(title, nullptr);
    EXPECT_NE(
        Text(title).find("Explosion 2 at centre (0, 0, 0), splash radius 100: 1 hit, 1 missed"),
        std::string::npos)
        << Text(title);
    // Everything drawn lies inside the picture.
    for (Element rect : FindAll(root, "rect")) {
        const Box box = BoxOf(rect);
        EXPECT_GE(box.x, 0);
        EXPECT_GE(box.y, 0);
        EXPECT_LE(box.Right(), width + kNear);
        EXPECT_LE(box.Bottom(), height + kNear);
    }
}

// Both views to one scale: the top view has z up the page, the side view y,
// the world's up axis; the circle and the cube share the centre.
TEST(ExplosionSvgTest, ViewsPlaceCircleCubeAndBoxes) {
    const SvgDocument svg(Picture(SmallScene()));
    ASSERT_TRUE(svg.Parsed()) << svg.Error();
    Element top = svg.View("top-view");
    Element side = svg.View("side-view");
    ASSERT_NE(top, nullptr);
    ASSERT_NE(side, nullptr);

    EXPECT_NEAR(ReachOf(top).r, ReachOf(side).r, kNear);
    for (Element view : {top, side}) {
        const Reach reach = ReachOf(view);
        const Box cube = BoxOf(FindOne(view, "rect", {"cube"}));
        EXPECT_NEAR(cube.width, 2 * reach.r, kNear);
        EXPECT_NEAR(cube.height, 2 * reach.r, kNear);
        EXPECT_NEAR(cube.x + cube.width / 2, reach.cx, kNear);
        EXPECT_NEAR(cube.y + cube.height / 2, reach.cy, kNear);
        EXPECT_EQ(FindAll(view, "rect", {"box", "hit"}).size(), 1u);
        EXPECT_EQ(FindAll(view, "rect", {"box", "missed"}).size(), 1u);
        EXPECT_EQ(FindAll(view, "rect", {"box", "over-limit"}).size(), 1u);
        EXPECT_EQ(FindAll(view, "rect", {"box", "outside"}).size(), 1u);
        EXPECT_EQ(FindAll(view, "line", {"push"}).size(), 1u);
        EXPECT_EQ(FindAll(view, "polygon", {"effect"}).size(), 1u);
        // A nearest point for each picked box, none for those left out.
        EXPECT_EQ(FindAll(view, "circle", {"nearest"}).size(), 2u);
    }
    ExpectBoxAt(top, "near", 10, 20, -5, 5);
    ExpectBoxAt(top, "high", 90, 100, 0, 10);
    ExpectBoxAt(top, "crowd", -90, -80, 60, 70);
    ExpectBoxAt(side, "high", 90, 100, 50, 60);
    ExpectBoxAt(side, "drone", -10, 10, 120, 130);
    // The nearest point of "high" seen from the side: (90, 50).
    const Reach side_reach = ReachOf(side);
    bool found = false;
    for (Element dot : FindAll(side, "circle", {"nearest"}))
        found =
            found || (std::fabs(Number(dot, "cx") - (side_reach.cx + 0.9 * side_reach.r)) < kNear &&
                      std::fabs(Number(dot, "cy") - (side_reach.cy - 0.5 * side_reach.r)) < kNear);
    EXPECT_TRUE(found);
}

TEST(ExplosionSvgTest, LabelsNameEveryBoxAndLeaveEachOtherAndTheBoxesAlone) {
    const SvgDocument svg(Picture(SmallScene()));
    ASSERT_TRUE(svg.Parsed()) << svg.Error();

    for (const char* name : {"top-view", "side-view"}) {
        Element view = svg.View(name);
        const std::vector<Label> labels = LabelsOf(view);
        ASSERT_EQ(labels.size(), 4u) << name;
        EXPECT_TRUE(OverlappingLabels(view).empty()) << name;
        for (const Label& label : labels) {
            EXPECT_TRUE(label.box.Holds(label.textX, label.textY)) << label.name;
            for (Element rect : FindAll(view, "rect", {"box"}))
                EXPECT_FALSE(label.box.Overlaps(BoxOf(rect)))
                    << name << ": " << label.name << " covers " << rect->Attribute("data-name");
        }
    }
    // The view from above gives the distance with the name.
    EXPECT_TRUE(AnyContains(Texts(svg.View("top-view")), "near 10.000"));
}

TEST(ExplosionSvgTest, WordsSayWhatSetItOffAndWhyEachWasLeftOut) {
    const SvgDocument svg(Picture(SmallScene()));
    ASSERT_TRUE(svg.Parsed()) << svg.Error();
    const std::vector<std::string> texts = Texts(svg.Root());

    EXPECT_TRUE(AnyContains(texts, "set off by the death of centre in explosion 1"));
    // The way out: the explosions before and after, the index, and the
    // explosion that set this one off.
    EXPECT_EQ(Links(svg.Root()),
              (std::vector<std::string>{"explosion-01.svg", "index.html#explosion-2",
                                        "explosion-03.svg", "explosion-01.svg"}));
    const SvgDocument first(Picture(SmallScene(), PictureLinks{.previous = false, .next = false}));
    EXPECT_EQ(Links(first.Root()),
              (std::vector<std::string>{"index.html#explosion-2", "explosion-01.svg"}));
    EXPECT_TRUE(
        AnyContains(texts, "3 in the cube, the 2 nearest its centre picked (the limit is 2)"));
    EXPECT_TRUE(AnyContains(texts, "1 damage message (message 3), one to each hit: damage 20"));
    EXPECT_TRUE(AnyContains(texts, "effect fx_boom started at (0, 0, 0)"));
    EXPECT_TRUE(AnyContains(texts, "hit: picked, its box reaches within the radius"));
    // The table gives each entity's verdict and reason.
    EXPECT_EQ(FindAll(svg.Root(), "g", {"row"}).size(), 4u);
    const std::vector<std::string> drone = Texts(Named(svg.Root(), "g", {"row"}, "drone"));
    EXPECT_TRUE(AnyContains(drone, "outside the cube: above its top, y = 100"));
    EXPECT_TRUE(AnyContains(drone, "120 to 130"));
    const std::vector<std::string> crowd = Texts(Named(svg.Root(), "g", {"row"}, "crowd"));
    EXPECT_TRUE(AnyContains(crowd, "in the cube, over the pick limit of 2"));
    const std::vector<std::string> high = Texts(Named(svg.Root(), "g", {"row"}, "high"));
    EXPECT_TRUE(AnyContains(high, "102.956 > 100"));
}

// With no radius there is no sphere or cube to draw, and the legend says so
// instead of describing them.
TEST(ExplosionSvgTest, LegendDescribesOnlyWhatIsDrawn) {
    Explosion zero = SmallScene();
    zero.radius = 0;
    zero.cubeMin = zero.cubeMax = {0, 0, 0};
    zero.messages.clear();
    zero.picks[0].message = -1;
    zero.spawns.clear();
    const SvgDocument svg(Picture(zero));
    ASSERT_TRUE(svg.Parsed()) << svg.Error();

    EXPECT_TRUE(FindAll(svg.Root(), "circle", {"reach"}).empty());
    EXPECT_TRUE(FindAll(svg.Root(), "rect", {"cube"}).empty());
    const std::vector<std::string> legend = Texts(FindOne(svg.Root(), "g", {"legend"}));
    EXPECT_TRUE(AnyContains(legend, "splash radius 0"));
    EXPECT_FALSE(AnyContains(legend, "sphere of reach"));
    EXPECT_FALSE(AnyContains(legend, "push"));
    EXPECT_FALSE(AnyContains(legend, "effect"));
    EXPECT_TRUE(AnyContains(legend, "scale: "));
}

// Command text may hold any byte: the picture stays well-formed XML and
// shows what it cannot carry as \xNN.
TEST(ExplosionSvgTest, TextThatXmlCannotCarryIsEscaped) {
    Explosion explosion = SmallScene();
    explosion.setOffBy = 0;
    explosion.commandLine = 7;
    explosion.commandText = std::string("event f1 \"<&\x01\xff\xc3\xa9\"");
    const SvgDocument svg(Picture(explosion));

    ASSERT_TRUE(svg.Parsed()) << svg.Error();
    EXPECT_TRUE(
        AnyContains(Texts(svg.Root()), "set off by line 7: event f1 \"<&\\x01\\xFF\xc3\xa9\""));
}

// Coordinates at the ends of the float range, and ones no world gives (not
// a number, infinite), still make a well-formed picture of finite size.
TEST(ExplosionSvgTest, ExtremeCoordinatesStillMakeAPicture) {
    constexpr float kHuge = 3.4e38f;
    const float kNan = std::nanf("");
    const float kInf = HUGE_VALF;
    Explosion huge = SmallScene();
    huge.centre = {kHuge, -kHuge, 0};
    huge.radius = 2.1e9f;
    huge.cubeMin = {kHuge, -kHuge, -2.1e9f};
    huge.cubeMax = {kHuge, -kHuge, 2.1e9f};
    huge.picks[1].boxMin = {-kHuge, -kHuge, -kHuge};
    huge.picks[1].boxMax = {kHuge, kHuge, kHuge};
    Explosion broken = SmallScene();
    broken.centre = {kNan, kInf, -kInf};
    broken.picks[0].boxMin = {kNan, kNan, kNan};
    broken.leftOut[0].boxMax = {kInf, kInf, kInf};

    for (const Explosion& explosion : {huge, broken}) {
        const SvgDocument svg(Picture(explosion));
        ASSERT_TRUE(svg.Parsed()) << svg.Error();
        EXPECT_GT(Number(svg.Root(), "width"), 0);
        EXPECT_GT(Number(svg.Root(), "height"), 0);
        EXPECT_TRUE(std::isfinite(Number(svg.Root(), "width")));
    }
}

}  // namespace
}  // namespace flamer_host
