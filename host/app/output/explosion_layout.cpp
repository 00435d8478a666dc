#include "explosion_layout.h"

#include "explosion_words.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace flamer_host {
namespace {

constexpr double kSceneMarginShare = 0.04;  // of the longest axis, around the scene
constexpr double kMinAxisShare = 0.3;       // no axis shown shorter than this share
constexpr double kMinBoxPixels = 4.0;       // a box is drawn at least this wide and high
constexpr int kMaxTicks = 40;
constexpr double kPlainNumberLimit = 1e9;  // beyond, ticks are written with exponents
constexpr double kTickSteps[] = {1.0, 2.0, 5.0};

Range Cut(const Range& range, const Range& to) {
    return {std::clamp(range.lo, to.lo, to.hi), std::clamp(range.hi, to.lo, to.hi)};
}

void Include(Range& range, double lo, double hi) {
    range.lo = std::min(range.lo, lo);
    range.hi = std::max(range.hi, hi);
}

// The axis at least `extent` long, around its middle.
void Widen(Range& range, double extent) {
    if (range.Extent() >= extent) return;
    const double middle = (range.lo + range.hi) / 2;
    range = {middle - extent / 2, middle + extent / 2};
    // Coordinates too large to tell apart at this extent: keep one unit.
    if (!(range.Extent() > 0)) range = {middle - 0.5, middle + 0.5};
}

}  // namespace

double AxisOf(const D3DXVECTOR3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

const char* AxisName(int axis) { return axis == 0 ? "x" : axis == 1 ? "y" : "z"; }

SceneBox ShownScene(const ExplosionModel& model) {
    const Explosion& explosion = model.record;
    D3DXVECTOR3 nearMin;
    D3DXVECTOR3 nearMax;
    NearbyRegion(explosion.centre, CubeHalfEdge(explosion), nearMin, nearMax);
    const bool cubeShown = CubeHalfEdge(explosion) >= 0;
    SceneBox scene;
    for (int axis = 0; axis < 3; ++axis) {
        const Range region{AxisOf(nearMin, axis), AxisOf(nearMax, axis)};
        const double centre = AxisOf(explosion.centre, axis);
        Range& range = scene.axis[axis];
        range = {centre, centre};
        if (cubeShown)
            Include(range, AxisOf(explosion.cubeMin, axis), AxisOf(explosion.cubeMax, axis));
        for (const EntityView& entity : model.entities) {
            const Range box =
                Cut({AxisOf(entity.boxMin, axis), AxisOf(entity.boxMax, axis)}, region);
            Include(range, box.lo, box.hi);
        }
        for (const EffectSpawn& spawn : explosion.spawns) {
            const double at = std::clamp(AxisOf(EffectPosition(spawn), axis), region.lo, region.hi);
            Include(range, at, at);
        }
    }
    double longest = 0;
    for (const Range& range : scene.axis) longest = std::max(longest, range.Extent());
    if (!(longest > 0) || !std::isfinite(longest)) longest = 1.0;
    for (Range& range : scene.axis) {
        // A coordinate that is not a number shows a unit around the origin.
        if (!std::isfinite(range.lo) || !std::isfinite(range.hi)) range = {-0.5, 0.5};
        Widen(range, longest * kMinAxisShare);
        range.lo -= longest * kSceneMarginShare;
        range.hi += longest * kSceneMarginShare;
    }
    return scene;
}

ViewFrame::ViewFrame(const SceneBox& scene, ViewAxes axes, double scale, double left, double top)
    : axes_(axes),
      across_(scene.axis[axes.across]),
      up_(scene.axis[axes.up]),
      scale_(scale),
      drawing_(PixelRect::Sized(left, top, across_.Extent() * scale, up_.Extent() * scale)) {}

PixelRect ViewFrame::BoxRect(const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax) const {
    const Range across = Cut({AxisOf(boxMin, axes_.across), AxisOf(boxMax, axes_.across)}, across_);
    const Range up = Cut({AxisOf(boxMin, axes_.up), AxisOf(boxMax, axes_.up)}, up_);
    PixelRect rect{X(across.lo), Y(up.hi), X(across.hi), Y(up.lo)};
    if (rect.Width() < kMinBoxPixels) {
        const double middle = rect.CentreX();
        rect.left = middle - kMinBoxPixels / 2;
        rect.right = middle + kMinBoxPixels / 2;
    }
    if (rect.Height() < kMinBoxPixels) {
        const double middle = rect.CentreY();
        rect.top = middle - kMinBoxPixels / 2;
        rect.bottom = middle + kMinBoxPixels / 2;
    }
    return rect;
}

double TickStep(double spacing) {
    if (!(spacing > 0) || !std::isfinite(spacing)) return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(spacing)));
    for (int decade = 0; decade < 2; ++decade)
        for (double step : kTickSteps)
            if (step * power * std::pow(10.0, decade) >= spacing)
                return step * power * std::pow(10.0, decade);
    return 10.0 * power;
}

std::vector<double> Ticks(const Range& range, double step) {
    std::vector<double> ticks;
    const double first = std::ceil(range.lo / step) * step;
    if (!std::isfinite(first) || !std::isfinite(range.hi)) return ticks;
    for (int i = 0; i < kMaxTicks; ++i) {
        const double value = first + i * step;
        if (value > range.hi) break;
        // A step too small to move the value: one mark says it all.
        if (!ticks.empty() && value == ticks.back()) break;
        ticks.push_back(value);
    }
    return ticks;
}

std::string TickText(double value, double step) {
    char buffer[48];
    if (std::fabs(value) < step / 2) value = 0.0;  // no "-0"
    if (std::fabs(value) < kPlainNumberLimit) {
        const int decimals =
            step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    } else {
        const int digits = std::clamp(static_cast<int>(std::floor(std::log10(std::fabs(value))) -
                                                       std::floor(std::log10(step))) +
                                          1,
                                      1, 17);
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    }
    return buffer;
}

}  // namespace flamer_host
