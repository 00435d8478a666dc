// Greedy label placement: each label takes the first free spot around what
// it names, nearest first, so that no two labels overlap and, where room
// allows, no label covers a box or a mark. Labels that find no spot nearby
// go to any free spot of the area and are joined to what they name by a
// leader line.
//
// Each placement tries a bounded number of spots against the labels and
// obstacles placed so far, so placing n labels among m obstacles costs
// O(n * (n + m)) checks per spot.
#pragma once

#include "svg_canvas.h"

#include <vector>

namespace flamer_host {

class LabelPlacer {
public:
    // Labels stay inside `area`.
    explicit LabelPlacer(const PixelRect& area) : area_(area) {}

    // Something labels should not cover: a box, a mark, an arrow.
    void AddObstacle(const PixelRect& obstacle) { obstacles_.push_back(obstacle); }
    // Text already placed (tick labels): labels never overlap it.
    void AddFixed(const PixelRect& text) { labels_.push_back(text); }

    // Places a label of the given size near `anchor` and returns where.
    PixelRect Place(const PixelRect& anchor, double width, double height);

    // Whether a label placed at `label` needs a leader line to `anchor`.
    static bool NeedsLeader(const PixelRect& label, const PixelRect& anchor);

private:
    enum class Avoid {
        kLabelsAndObstacles,
        kLabels,
    };
    bool Free(const PixelRect& spot, Avoid avoid) const;
    // The first free spot of the rings around the anchor, nearest ring first.
    bool NearSpot(const PixelRect& anchor, double width, double height, Avoid avoid,
                  PixelRect& spot) const;
    // The free spot of the whole area nearest the anchor.
    bool AnySpot(const PixelRect& anchor, double width, double height, PixelRect& spot) const;

    PixelRect area_;
    std::vector<PixelRect> obstacles_;
    std::vector<PixelRect> labels_;
};

}  // namespace flamer_host
