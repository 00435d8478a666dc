// One view of an explosion's picture: the drawing of the scene on two world
// axes with its ticks, grid and axis names, the query cube, the sphere of
// reach, every box in its verdict's colour, the nearest points, the pushes,
// the centre, the effect, and the labels, placed so that none overlaps
// another.
#pragma once

#include "explosion_layout.h"
#include "picture_style.h"
#include "svg_canvas.h"

namespace flamer_host {

// Above the drawing, its heading; beside and below it, room for ticks and
// labels.
inline constexpr double kViewHeadingHeight = 24.0;
inline constexpr double kViewGutterX = 110.0;
inline constexpr double kViewGutterY = 44.0;

struct ViewKind {
    ViewAxes axes;
    const char* cssClass;
    const char* heading;
    const char* upName;  // the vertical axis as its end is labelled
};

inline constexpr ViewKind kTopView{kTopAxes, "top-view",
                                   "Seen from above: x to the right, z up the page (y, the "
                                   "height, points at you)",
                                   "z"};
inline constexpr ViewKind kSideView{kSideAxes, "side-view",
                                    "Seen from the side: x to the right, y (the height) up the "
                                    "page",
                                    "y (up)"};

// Draws the view into `panel`, whose drawing `frame` places; notes in
// `marks` what it drew.
void DrawView(SvgCanvas& svg, const ViewKind& view, const ViewFrame& frame, const PixelRect& panel,
              const ExplosionModel& model, double tickStep, DrawnMarks& marks);

}  // namespace flamer_host
