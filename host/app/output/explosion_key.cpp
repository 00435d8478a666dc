#include "explosion_key.h"

#include "explosion_words.h"

#include <algorithm>

namespace flamer_host {
namespace {

constexpr double kRowHeight = 15.0;
constexpr double kSwatch = 11.0;
constexpr double kColumnGap = 14.0;
constexpr double kLegendSymbol = kLegendSymbolWidth;

std::string HeightText(const EntityView& entity) {
    return FormatNumber(entity.boxMin.y) + " to " + FormatNumber(entity.boxMax.y);
}

}  // namespace

const char* const kTableHeadings[kTableColumns] = {"entity",        "verdict",  "distance to box",
                                                   "nearest point", "height y", "why"};

std::vector<TableRow> TableRows(const ExplosionModel& model) {
    const double radius = model.record.radius;
    std::vector<TableRow> rows;
    for (const EntityView& entity : model.entities) {
        const bool picked = Picked(entity.verdict);
        TableRow row;
        row.entity = &entity;
        row.cells[0] = entity.name;
        row.cells[1] = StyleOf(entity.verdict).word;
        row.cells[2] =
            picked ? ReachText(entity.distance, radius) : FormatDistance(entity.distance);
        row.cells[3] = FormatVector(entity.nearest);
        row.cells[4] = HeightText(entity);
        row.cells[5] = entity.reason;
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const TableRow& a, const TableRow& b) {
        if (a.entity->verdict != b.entity->verdict) return a.entity->verdict < b.entity->verdict;
        return a.entity->distance < b.entity->distance;
    });
    return rows;
}

std::string NotDrawnText(const Explosion& explosion) {
    int overShown = 0;
    int outsideShown = 0;
    for (const LeftOutEntity& left : explosion.leftOut)
        ++(left.reason == LeftOutReason::kOverLimit ? overShown : outsideShown);
    const int overMore = explosion.inCube - explosion.reportedPicks - overShown;
    const int outsideMore = explosion.nearbyOutside - outsideShown;
    std::string text;
    if (overMore > 0) text = std::to_string(overMore) + " more over the pick limit";
    if (outsideMore > 0)
        text += (text.empty() ? "" : ", ") + std::to_string(outsideMore) +
                " more near the cube, outside it";
    return text.empty() ? "" : "not drawn: " + text + " (the nearest are drawn)";
}

namespace {

std::string SwatchSymbol(Verdict verdict) {
    return "<rect x=\"4\" y=\"2\" width=\"18\" height=\"11\"" + VerdictPaint(verdict) + "/>";
}

}  // namespace

std::vector<LegendItem> LegendItems(const Explosion& explosion, const DrawnMarks& marks) {
    std::vector<LegendItem> items;
    const std::string capacity = std::to_string(explosion.capacity);
    const std::string texts[kVerdictCount] = {
        "hit: picked, its box reaches within the radius (a damage message was sent)",
        "missed: picked, its box stays beyond the radius",
        "not picked: in the cube, over the pick limit of " + capacity,
        "not picked: outside the query cube, near it"};
    for (int verdict = 0; verdict < kVerdictCount; ++verdict)
        if (marks.verdicts[verdict])
            items.push_back(
                {.text = texts[verdict], .symbol = SwatchSymbol(static_cast<Verdict>(verdict))});
    items.push_back(LegendItem{.text = "centre of the explosion (" + explosion.centreName + ")",
                               .symbol = "<path d=\"M6,7 H20 M13,0 V14\"" + CentrePaint() + "/>"});
    const std::string radius = FormatNumber(explosion.radius);
    if (CubeHalfEdge(explosion) < 0) {
        items.push_back(LegendItem{
            .text = "negative splash radius: the query cube is inverted, nothing is picked "
                    "or reached",
            .symbol = ""});
    } else if (explosion.radius <= 0) {
        items.push_back(LegendItem{
            .text = "splash radius 0: no sphere or cube to draw; only a box touching the "
                    "centre is in reach",
            .symbol = ""});
    } else {
        items.push_back(LegendItem{
            .text = "sphere of reach, radius " + radius + " (seen as a circle in both views)",
            .symbol = "<circle cx=\"13\" cy=\"7\" r=\"6\"" + ReachPaint() + "/>"});
        items.push_back(LegendItem{
            .text = "query cube, " + radius + " from the centre each way",
            .symbol = "<rect x=\"4\" y=\"1\" width=\"18\" height=\"12\"" + CubePaint() + "/>"});
    }
    if (marks.nearest)
        items.push_back(LegendItem{
            .text = "nearest box point, joined to the centre: its distance decides",
            .symbol = "<line x1=\"2\" y1=\"7\" x2=\"20\" y2=\"7\"" + NearestLinePaint(kInkColour) +
                      "/><circle cx=\"20\" cy=\"7\" r=\"2.5\"" + NearestDotPaint(kInkColour) +
                      "/>"});
    if (marks.arrows)
        items.push_back(LegendItem{
            .text = "push of the damage message, as the view sees its direction",
            .symbol = "<line x1=\"2\" y1=\"7\" x2=\"20\" y2=\"7\"" + PushPaint() + "/>"});
    if (marks.rings)
        items.push_back(
            LegendItem{.text = "push along the line of sight (straight up, seen from above)",
                       .symbol = "<circle cx=\"13\" cy=\"7\" r=\"5\"" + RingPaint() + "/>"});
    if (!explosion.spawns.empty())
        items.push_back(
            LegendItem{.text = "effect " + explosion.spawns.front().effectName + " started here",
                       .symbol = "<polygon points=\"13,0 15,5 20,7 15,9 13,14 11,9 6,7 11,5\"" +
                                 EffectPaint() + "/>"});
    if (marks.leaders)
        items.push_back(LegendItem{
            .text = "thin grey line: joins a label to its box",
            .symbol = "<line x1=\"2\" y1=\"7\" x2=\"22\" y2=\"7\"" + LeaderPaint() + "/>"});
    return items;
}

namespace {

double LegendItemWidth(const LegendItem& item) {
    return kLegendSymbol + 6 + SansWidth(item.text, kTextFont) + 18;
}

}  // namespace

TableLayout LayoutTable(const ExplosionModel& model) {
    TableLayout table;
    table.rows = TableRows(model);
    table.notDrawn = NotDrawnText(model.record);
    double x = kSwatch + 6;
    for (int column = 0; column < kTableColumns; ++column) {
        std::size_t widest = Characters(kTableHeadings[column]);
        for (const TableRow& row : table.rows)
            widest = std::max(widest, Characters(row.cells[column]));
        table.columns[column] = x;
        x += MonoWidth(widest) + kColumnGap;
    }
    table.width = std::max(x, MonoWidth(table.notDrawn));
    table.height = kLineHeight + kRowHeight * (table.rows.size() + 1) +
                   (table.notDrawn.empty() ? 0 : kRowHeight);
    return table;
}

double DrawTable(SvgCanvas& svg, const TableLayout& table, double top) {
    if (table.rows.empty() && table.notDrawn.empty()) return top;
    svg.Open("g", Class("table") + Attr("font-family", kMonoFamily) + Attr("font-size", kMonoFont));
    svg.Text(kPage, top + kTextFont, "Every entity drawn, and why it was hit, missed or not picked",
             Class("table-heading") + Attr("font-family", "sans-serif") +
                 Attr("font-size", kTextFont) + Attr("font-weight", "bold"));
    double y = top + kLineHeight + kRowHeight;
    for (int column = 0; column < kTableColumns; ++column)
        svg.Text(kPage + table.columns[column], y, kTableHeadings[column],
                 Attr("font-weight", "bold"));
    for (const TableRow& row : table.rows) {
        y += kRowHeight;
        const VerdictStyle& style = StyleOf(row.entity->verdict);
        svg.Open("g",
                 Class(std::string("row ") + style.cssClass) + Attr("data-name", row.entity->name));
        svg.Rect(PixelRect::Sized(kPage, y - kSwatch + 1, kSwatch, kSwatch),
                 VerdictPaint(row.entity->verdict));
        for (int column = 0; column < kTableColumns; ++column)
            svg.Text(kPage + table.columns[column], y, row.cells[column],
                     column == 1 ? Attr("fill", style.colour) : "");
        svg.Close("g");
    }
    if (!table.notDrawn.empty()) {
        y += kRowHeight;
        svg.Text(kPage, y, table.notDrawn, Class("not-drawn"));
    }
    svg.Close("g");
    return top + table.height + kSectionGap;
}

// Entries flow left to right and wrap; the scale bar ends the legend.
double DrawLegend(SvgCanvas& svg, const Explosion& explosion, const DrawnMarks& marks, double top,
                  double width, double tickStep, double scale) {
    const std::vector<LegendItem> items = LegendItems(explosion, marks);
    svg.Open("g", Class("legend"));
    svg.Text(kPage, top + kTextFont, "Legend", Attr("font-weight", "bold"));
    double x = kPage;
    double y = top + kLineHeight + 14;
    for (const LegendItem& item : items) {
        const double itemWidth = LegendItemWidth(item);
        if (x > kPage && x + itemWidth > width - kPage) {
            x = kPage;
            y += kLineHeight;
        }
        if (!item.symbol.empty())
            svg.Raw("<g transform=\"translate(" + Num(x) + "," + Num(y - 11) + ")\">" +
                    item.symbol + "</g>\n");
        svg.Text(x + (item.symbol.empty() ? 0 : kLegendSymbol + 6), y, item.text, "");
        x += itemWidth;
    }
    y += kLineHeight + 6;
    const double bar = tickStep * scale;
    svg.Open("g", Class("scale-bar"));
    svg.Line(kPage, y, kPage + bar, y, Stroke(kInkColour, 2));
    svg.Line(kPage, y - 4, kPage, y + 4, Stroke(kInkColour, 2));
    svg.Line(kPage + bar, y - 4, kPage + bar, y + 4, Stroke(kInkColour, 2));
    svg.Text(kPage + bar + 8, y + 4,
             "scale: " + TickText(tickStep, tickStep) + " world units (same in both views)", "");
    svg.Close("g");
    svg.Close("g");
    return y + kLineHeight;
}

}  // namespace flamer_host
