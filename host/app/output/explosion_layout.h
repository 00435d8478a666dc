// Where a picture of one explosion shows what: the part of the world shown,
// and the two views of it (from above and from the side) with their scales
// and tick marks.
#pragma once

#include "explosion_model.h"
#include "svg_canvas.h"

#include <string>
#include <vector>

namespace flamer_host {

struct Range {
    double lo = 0, hi = 0;
    double Extent() const { return hi - lo; }
};

// The part of the world a picture shows, per axis (x, y, z).
struct SceneBox {
    Range axis[3];
};

// The cube, the sphere, the entities' boxes (cut to the region near the
// cube) and the effect, with a margin; no axis shorter than a share of the
// longest.
SceneBox ShownScene(const ExplosionModel& model);

// The world axes a view shows: `across` to the right, `up` up the page.
struct ViewAxes {
    int across;
    int up;
};
inline constexpr ViewAxes kTopAxes{0, 2};   // from above: x right, z up the page
inline constexpr ViewAxes kSideAxes{0, 1};  // from the front: x right, y (height) up

double AxisOf(const D3DXVECTOR3& v, int axis);
const char* AxisName(int axis);

// One view: world coordinates on two axes mapped to picture coordinates.
class ViewFrame {
public:
    ViewFrame(const SceneBox& scene, ViewAxes axes, double scale, double left, double top);

    double X(double across) const { return drawing_.left + (across - across_.lo) * scale_; }
    double Y(double up) const { return drawing_.top + (up_.hi - up) * scale_; }
    double XOf(const D3DXVECTOR3& v) const { return X(AxisOf(v, axes_.across)); }
    double YOf(const D3DXVECTOR3& v) const { return Y(AxisOf(v, axes_.up)); }
    double Length(double world) const { return world * scale_; }
    // The box as drawn: cut to the view, at least a few pixels wide and high.
    PixelRect BoxRect(const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax) const;

    const PixelRect& Drawing() const { return drawing_; }
    ViewAxes Axes() const { return axes_; }
    const Range& Across() const { return across_; }
    const Range& Up() const { return up_; }

private:
    ViewAxes axes_;
    Range across_;
    Range up_;
    double scale_;
    PixelRect drawing_;
};

// Tick marks of a range: a round step (1, 2 or 5 times a power of ten) that
// leaves at least `spacing` world units between marks, and the marks.
double TickStep(double spacing);
std::vector<double> Ticks(const Range& range, double step);
// A tick's value with as many decimals as its step needs.
std::string TickText(double value, double step);

}  // namespace flamer_host
