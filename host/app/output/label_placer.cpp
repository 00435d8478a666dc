#include "label_placer.h"

#include <cmath>
#include <limits>

namespace flamer_host {
namespace {

constexpr double kGap = 2.0;        // between a label and what it names
constexpr int kRings = 6;           // rings of spots around the anchor
constexpr double kRingStep = 12.0;  // pixels between rings
constexpr double kScanStepX = 6.0;  // the grid of spots over the whole area
constexpr double kScanStepY = 4.0;
constexpr double kLeaderAfter = kGap + 1.0;  // a label farther than this gets a leader line

// The spots of one ring, in the order a reader expects a label: right of
// the thing, above it, left, below, then the corners.
std::vector<PixelRect> RingSpots(const PixelRect& anchor, double offset, double width,
                                 double height) {
    const PixelRect ring = anchor.Grown(offset);
    const double middle = anchor.CentreY() - height / 2;
    const double centred = anchor.CentreX() - width / 2;
    return {
        PixelRect::Sized(ring.right, middle, width, height),
        PixelRect::Sized(anchor.left, ring.top - height, width, height),
        PixelRect::Sized(ring.left - width, middle, width, height),
        PixelRect::Sized(anchor.left, ring.bottom, width, height),
        PixelRect::Sized(centred, ring.top - height, width, height),
        PixelRect::Sized(centred, ring.bottom, width, height),
        PixelRect::Sized(anchor.right - width, ring.top - height, width, height),
        PixelRect::Sized(anchor.right - width, ring.bottom, width, height),
        PixelRect::Sized(ring.right, ring.top - height, width, height),
        PixelRect::Sized(ring.left - width, ring.top - height, width, height),
        PixelRect::Sized(ring.right, ring.bottom, width, height),
        PixelRect::Sized(ring.left - width, ring.bottom, width, height),
    };
}

}  // namespace

bool LabelPlacer::Free(const PixelRect& spot, Avoid avoid) const {
    if (!area_.Contains(spot)) return false;
    for (const PixelRect& label : labels_)
        if (spot.Overlaps(label)) return false;
    if (avoid == Avoid::kLabels) return true;
    for (const PixelRect& obstacle : obstacles_)
        if (spot.Overlaps(obstacle)) return false;
    return true;
}

bool LabelPlacer::NearSpot(const PixelRect& anchor, double width, double height, Avoid avoid,
                           PixelRect& spot) const {
    for (int ring = 0; ring < kRings; ++ring)
        for (const PixelRect& candidate : RingSpots(anchor, kGap + ring * kRingStep, width, height))
            if (Free(candidate, avoid)) {
                spot = candidate;
                return true;
            }
    return false;
}

bool LabelPlacer::AnySpot(const PixelRect& anchor, double width, double height,
                          PixelRect& spot) const {
    double best = std::numeric_limits<double>::infinity();
    for (double top = area_.top; top + height <= area_.bottom; top += kScanStepY)
        for (double left = area_.left; left + width <= area_.right; left += kScanStepX) {
            const PixelRect candidate = PixelRect::Sized(left, top, width, height);
            // Free of obstacles where possible: those spots count as nearer.
            const double penalty = Free(candidate, Avoid::kLabelsAndObstacles) ? 0.0 : 1e6;
            const double distance = candidate.GapTo(anchor) + penalty;
            if (distance < best && Free(candidate, Avoid::kLabels)) {
                best = distance;
                spot = candidate;
            }
        }
    return std::isfinite(best);
}

PixelRect LabelPlacer::Place(const PixelRect& anchor, double width, double height) {
    PixelRect spot;
    if (!NearSpot(anchor, width, height, Avoid::kLabelsAndObstacles, spot) &&
        !NearSpot(anchor, width, height, Avoid::kLabels, spot) &&
        !AnySpot(anchor, width, height, spot))
        // The area is full: the label goes right of its anchor, overlapping.
        spot = PixelRect::Sized(anchor.right + kGap, anchor.CentreY() - height / 2, width, height);
    labels_.push_back(spot);
    return spot;
}

bool LabelPlacer::NeedsLeader(const PixelRect& label, const PixelRect& anchor) {
    return label.GapTo(anchor) > kLeaderAfter;
}

}  // namespace flamer_host
