// The key below an explosion's views: a table of every entity drawn with
// its verdict and why, and a legend of only what the views drew, with a
// scale bar.
#pragma once

#include "explosion_layout.h"
#include "picture_style.h"
#include "svg_canvas.h"

#include <string>
#include <vector>

namespace flamer_host {

inline constexpr int kTableColumns = 6;
// The columns' headings.
extern const char* const kTableHeadings[kTableColumns];

struct TableRow {
    const EntityView* entity = nullptr;
    std::string cells[kTableColumns];
};

// The rows of the table: every entity drawn, by verdict, each verdict
// nearest first.
std::vector<TableRow> TableRows(const ExplosionModel& model);
// How many left out were not drawn, if any: "not drawn: ...".
std::string NotDrawnText(const Explosion& explosion);

// One legend entry: its text, and its symbol as SVG elements drawn in a
// kLegendSymbolWidth by kLegendSymbolHeight box with its origin at 0,0.
struct LegendItem {
    std::string text;
    std::string symbol;
};
inline constexpr double kLegendSymbolWidth = 26.0;
inline constexpr double kLegendSymbolHeight = 14.0;
// The entries that describe what the views drew.
std::vector<LegendItem> LegendItems(const Explosion& explosion, const DrawnMarks& marks);

// The table laid out: its rows in order, where its columns start, its size.
struct TableLayout {
    std::vector<TableRow> rows;
    double columns[kTableColumns] = {};  // left edge of each column, after the swatch
    double width = 0;
    double height = 0;
    std::string notDrawn;  // how many left out were not drawn, if any
};

TableLayout LayoutTable(const ExplosionModel& model);
// Draws the table from `top`; returns where what follows starts.
double DrawTable(SvgCanvas& svg, const TableLayout& table, double top);
// Draws the legend from `top`, its entries wrapped to `width`, and the scale
// bar of `tickStep` world units at `scale` pixels each; returns its bottom.
double DrawLegend(SvgCanvas& svg, const Explosion& explosion, const DrawnMarks& marks, double top,
                  double width, double tickStep, double scale);

}  // namespace flamer_host
