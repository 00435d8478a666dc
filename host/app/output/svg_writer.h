// The picture of one explosion, in SVG: a title that says where the centre
// is, what set the explosion off, what the query found and what the blast
// sent and started; a view from above (x to the right, z up the page) and a
// view from the side (x to the right, y, the world's up axis, up the page),
// both to the same scale with world coordinates on their edges, showing the
// query cube, the sphere of reach, every picked box coloured hit or missed
// with its nearest point joined to the centre, the pushes, the effect, and
// the entities left out (over the pick limit, or outside the cube near it);
// a table that gives each entity's verdict and why; and a legend of what is
// drawn.
//
// The work is bounded per explosion: the record holds at most the plug-in's
// 32 picks and a bounded number of entities left out.
#pragma once

#include "explosion_model.h"

#include <string>

namespace flamer_host {

std::string ExplosionSvg(const ExplosionModel& model);

// File name of an explosion's picture: "explosion-NN.svg".
std::string ExplosionSvgName(int number);

}  // namespace flamer_host
