// The picture of one explosion, in SVG: links to the explosions before and
// after it and to the index; a title that says where the centre
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

#include "explosion_key.h"
#include "explosion_model.h"
#include "svg_canvas.h"

#include <string>
#include <vector>

namespace flamer_host {

// Which other pictures a picture links to, besides the index.
struct PictureLinks {
    bool previous = false;  // explosion-(N-1).svg
    bool next = false;      // explosion-(N+1).svg
};

// A picture, and what a page that shows its views alone needs: each view
// is a fragment of the picture ("explosion-NN.svg#top-view",
// "#side-view") of the size given here, and the legend of what was drawn.
struct SvgPicture {
    std::string text;
    struct Fragment {
        const char* id;
        const char* description;
        PixelRect box;
    };
    Fragment views[2];
    std::vector<LegendItem> legend;
};

SvgPicture ExplosionSvg(const ExplosionModel& model, const PictureLinks& links);

// File name of an explosion's picture: "explosion-NN.svg".
std::string ExplosionSvgName(int number);
// The explosion's place in the index page: "explosion-N".
std::string ExplosionAnchor(int number);

}  // namespace flamer_host
