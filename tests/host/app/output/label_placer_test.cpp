// Greedy label placement: labels next to what they name, around obstacles,
// never on each other, inside their area, even when crowded.
#include "label_placer.h"

#include <gtest/gtest.h>

namespace flamer_host {
namespace {

constexpr double kWidth = 80;
constexpr double kHeight = 14;

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(LabelPlacerTest, LabelSitsBesideItsAnchorAndAvoidsObstacles) {
    LabelPlacer placer({0, 0, 400, 400});
    const PixelRect anchor{100, 100, 120, 120};

    const PixelRect first = placer.Place(anchor, kWidth, kHeight);

    EXPECT_FALSE(Overlap(first, anchor));
    EXPECT_FALSE(LabelPlacer::NeedsLeader(first, anchor));

    // An obstacle right of the next anchor sends its label elsewhere, still
    // beside it.
    const PixelRect second{100, 300, 120, 320};
    const PixelRect obstacle{120, 290, 260, 330};
    placer.AddObstacle(obstacle);
    const PixelRect label = placer.Place(second, kWidth, kHeight);
    EXPECT_FALSE(Overlap(label, obstacle));
    EXPECT_FALSE(Overlap(label, first));
    EXPECT_FALSE(LabelPlacer::NeedsLeader(label, second));
}

TEST(LabelPlacerTest, FixedTextIsNeverCovered) {
    LabelPlacer placer({0, 0, 400, 400});
    const PixelRect tick{118, 100, 200, 130};
    placer.AddFixed(tick);

    const PixelRect label = placer.Place({100, 105, 116, 125}, kWidth, kHeight);

    EXPECT_FALSE(Overlap(label, tick));
}

// Fifty labels for anchors piled in one spot, with obstacles all around:
// none overlaps another, all stay in the area; the far ones get leaders.
TEST(LabelPlacerTest, CrowdedLabelsNeverOverlap) {
    const PixelRect area{0, 0, 700, 500};
    LabelPlacer placer(area);
    for (int i = 0; i < 10; ++i) placer.AddObstacle({300.0 + i * 8, 200, 306.0 + i * 8, 300});
    std::vector<PixelRect> placed;
    int leaders = 0;
    for (int i = 0; i < 50; ++i) {
        const PixelRect anchor{340.0 + i % 5, 240.0 + i % 7, 346.0 + i % 5, 246.0 + i % 7};
        const PixelRect label = placer.Place(anchor, kWidth + i % 3 * 20, kHeight);
        EXPECT_TRUE(area.Contains(label)) << i;
        for (const PixelRect& other : placed) EXPECT_FALSE(Overlap(label, other)) << i;
        placed.push_back(label);
        leaders += LabelPlacer::NeedsLeader(label, anchor) ? 1 : 0;
    }
    EXPECT_GT(leaders, 0);
}

// An area too small for the labels still gets every label placed, at its
// anchor's side.
TEST(LabelPlacerTest, FullAreaStillPlacesEveryLabel) {
    LabelPlacer placer({0, 0, 100, 20});
    placer.Place({0, 0, 5, 5}, kWidth, kHeight);

    const PixelRect label = placer.Place({10, 0, 15, 5}, kWidth, kHeight);

    EXPECT_DOUBLE_EQ(label.Width(), kWidth);
    EXPECT_DOUBLE_EQ(label.Height(), kHeight);
}

}  // namespace
}  // namespace flamer_host
