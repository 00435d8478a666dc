#include "svg_writer.h"

#include "explosion_layout.h"
#include "explosion_words.h"
#include "label_placer.h"
#include "svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace flamer_host {
namespace {

// ---- Page ----
constexpr double kPage = 24.0;       // margin around everything
constexpr double kViewSize = 480.0;  // pixels for the longest axis of the scene
constexpr double kGutterX = 110.0;   // room beside a view for ticks and labels
constexpr double kGutterY = 44.0;    // room above and below a view
constexpr double kHeadingHeight = 24.0;
constexpr double kPanelGap = 16.0;
constexpr double kSectionGap = 18.0;
constexpr double kTicksPerView = 6.0;  // about this many tick marks along the longest axis
constexpr double kTickLength = 4.0;
// A box covering more than this share of a view is a background: labels may
// lie on it, or they would be pushed far from what they name.
constexpr double kBackgroundShare = 0.08;

// ---- Text ----
constexpr double kTitleFont = 16.0;
constexpr double kTextFont = 12.0;
constexpr double kMonoFont = 11.0;
// Widths a character takes at most: monospace is exact, sans-serif an
// upper estimate for these texts.
constexpr double kMonoAdvance = 0.62;
constexpr double kSansAdvance = 0.6;
constexpr double kLineHeight = 18.0;
constexpr double kLabelHeight = 14.0;
constexpr double kLabelPad = 2.0;
constexpr double kRowHeight = 15.0;
constexpr std::size_t kMaxTitleText = 160;  // characters of a command shown in a title

// ---- Marks ----
constexpr double kArrowPixels = 26.0;
constexpr double kRingRadius = 5.0;
constexpr double kCentreArm = 7.0;
constexpr double kStarOuter = 10.0;
constexpr double kStarInner = 4.0;
constexpr int kStarPoints = 8;
constexpr double kDotRadius = 2.5;
constexpr double kSwatch = 11.0;
constexpr double kLegendSymbol = 26.0;

constexpr char kReachColour[] = "#ff7f0e";
constexpr char kCubeColour[] = "#555555";
constexpr char kEffectColour[] = "#e6a100";
constexpr char kInkColour[] = "#222222";
constexpr char kGridColour[] = "#e4e4e4";
constexpr char kLeaderColour[] = "#777777";
constexpr char kMonoFamily[] = "DejaVu Sans Mono, Menlo, Consolas, monospace";

struct VerdictStyle {
    const char* cssClass;
    const char* colour;
    const char* dash;  // empty for a solid outline
    const char* word;  // the table's verdict column
};

const VerdictStyle& StyleOf(Verdict verdict) {
    static const VerdictStyle kStyles[] = {
        {"hit", "#d62728", "", "hit"},
        {"missed", "#1f77b4", "", "missed"},
        {"over-limit", "#9467bd", "5 3", "not picked"},
        {"outside", "#8c8c8c", "2 3", "not picked"},
    };
    return kStyles[static_cast<int>(verdict)];
}

// Characters of a UTF-8 text: its bytes but for continuation bytes.
std::size_t Characters(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

double MonoWidth(std::size_t characters) { return characters * kMonoFont * kMonoAdvance; }
double MonoWidth(std::string_view text) { return MonoWidth(Characters(text)); }
double SansWidth(std::string_view text, double font) {
    return Characters(text) * font * kSansAdvance;
}

// The text cut to at most `limit` characters, at a character boundary.
std::string Shorten(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t cut = limit > 3 ? limit - 3 : 0;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "...";
}

std::string Class(const std::string& name) { return Attr("class", name); }

std::string Stroke(const std::string& colour, double width, const std::string& dash = "") {
    std::string attributes = Attr("stroke", colour) + Attr("stroke-width", width);
    if (!dash.empty()) attributes += Attr("stroke-dasharray", dash);
    return attributes;
}

// Which marks the views drew, so the legend describes only those.
struct DrawnMarks {
    bool verdicts[4] = {false, false, false, false};
    bool nearest = false;
    bool arrows = false;
    bool rings = false;
    bool leaders = false;
};

// ---- Title ----

// The title's first line: "Explosion 6 at f2 ...".
std::string HeadingText(const Explosion& explosion) {
    std::string text = ExplosionTitle(explosion);
    text[0] = 'E';
    return text;
}

std::string QueryText(const Explosion& explosion) {
    std::string text = QueryCubeText(explosion) + ": " + HitCountText(explosion);
    if (explosion.nearbyOutside > 0)
        text += "; " + std::to_string(explosion.nearbyOutside) + " near the cube, outside it";
    return text;
}

std::string BlastText(const Explosion& explosion) {
    std::string text;
    if (explosion.messages.empty()) {
        text = "no damage message";
    } else {
        const zorQMsgDamage& record = explosion.messages.front().record;
        text = std::to_string(explosion.messages.size()) + " damage message" +
               (explosion.messages.size() == 1 ? "" : "s") + " (message " +
               std::to_string(ZORQMSG_DAMAGE) + "), one to each hit: damage " +
               std::to_string(record.damage) + ", impulse " + FormatNumber(record.impulse) +
               ", rotImpulse " + FormatNumber(record.rotImpulse);
    }
    return text + "; " + EffectText(explosion);
}

double DrawTitle(SvgCanvas& svg, const Explosion& explosion, double width) {
    const std::size_t plainChars =
        static_cast<std::size_t>((width - 2 * kPage) / (kTextFont * kSansAdvance));
    double y = kPage + kTitleFont;
    svg.Text(kPage, y, Shorten(HeadingText(explosion), plainChars),
             Class("title") + Attr("font-size", kTitleFont) + Attr("font-weight", "bold"));
    const std::string setOff =
        Shorten(SetOffByText(explosion), std::min(plainChars, kMaxTitleText));
    if (!setOff.empty()) {
        y += kLineHeight + 2;
        // An explosion set off by another links to the other's picture.
        if (explosion.setOffBy > 0)
            svg.Open("a", Attr("href", ExplosionSvgName(explosion.setOffBy)));
        svg.Text(kPage, y, setOff, Class("set-off") + Attr("font-weight", "bold"));
        if (explosion.setOffBy > 0) svg.Close("a");
    }
    y += kLineHeight;
    svg.Text(kPage, y, Shorten(QueryText(explosion), plainChars), Class("query"));
    y += kLineHeight;
    svg.Text(kPage, y, Shorten(BlastText(explosion), plainChars), Class("blast"));
    return y + kSectionGap;
}

// ---- Views ----

struct ViewSpec {
    ViewAxes axes;
    const char* cssClass;
    const char* heading;
    const char* upName;  // the vertical axis as its end is labelled
};

constexpr ViewSpec kTopView{kTopAxes, "top-view",
                            "Seen from above: x to the right, z up the page (y, the height, "
                            "points at you)",
                            "z"};
constexpr ViewSpec kSideView{kSideAxes, "side-view",
                             "Seen from the side: x to the right, y (the height) up the page",
                             "y (up)"};

class ViewDrawer {
public:
    ViewDrawer(SvgCanvas& svg, const ViewSpec& spec, const ViewFrame& frame, const PixelRect& panel,
               const Explosion& explosion, const std::vector<DrawnEntity>& drawn, double tickStep,
               DrawnMarks& marks)
        : svg_(svg),
          spec_(spec),
          frame_(frame),
          panel_(panel),
          explosion_(explosion),
          drawn_(drawn),
          tickStep_(tickStep),
          marks_(marks),
          labels_({panel.left, panel.top + kHeadingHeight, panel.right, panel.bottom}) {}

    void Draw() {
        svg_.Open("g", Class(std::string("view ") + spec_.cssClass));
        svg_.Text(panel_.left, panel_.top + kTextFont + 2, spec_.heading,
                  Class("view-heading") + Attr("font-weight", "bold"));
        DrawFrameAndTicks();
        const std::string clip = std::string(spec_.cssClass) + "-clip";
        svg_.Open("clipPath", Attr("id", clip));
        svg_.Rect(frame_.Drawing(), "");
        svg_.Close("clipPath");
        svg_.Open("g", Attr("clip-path", "url(#" + clip + ")"));
        DrawReach();
        DrawBoxes();
        DrawNearestPoints();
        DrawPushes();
        DrawCentre();
        DrawEffects();
        svg_.Close("g");
        DrawLabels();
        svg_.Close("g");
    }

private:
    const D3DXVECTOR3& Centre() const { return explosion_.centre; }

    void DrawFrameAndTicks() {
        const PixelRect& d = frame_.Drawing();
        svg_.Rect(d, Class("frame") + Attr("fill", "#fcfcfc") + Stroke("#bbbbbb", 1));
        const double textHeight = kMonoFont + 2;
        for (double value : Ticks(frame_.Across(), tickStep_)) {
            const double x = frame_.X(value);
            svg_.Line(x, d.top, x, d.bottom, Class("grid") + Stroke(kGridColour, 1));
            svg_.Line(x, d.bottom, x, d.bottom + kTickLength, Stroke("#999999", 1));
            const std::string text = TickText(value, tickStep_);
            const double width = MonoWidth(text);
            Fixed(PixelRect::Sized(x - width / 2, d.bottom + kTickLength + 1, width, textHeight),
                  text, "middle");
        }
        for (double value : Ticks(frame_.Up(), tickStep_)) {
            const double y = frame_.Y(value);
            svg_.Line(d.left, y, d.right, y, Class("grid") + Stroke(kGridColour, 1));
            svg_.Line(d.left - kTickLength, y, d.left, y, Stroke("#999999", 1));
            const std::string text = TickText(value, tickStep_);
            const double width = MonoWidth(text);
            Fixed(PixelRect::Sized(d.left - kTickLength - 2 - width, y - textHeight / 2, width,
                                   textHeight),
                  text, "end");
        }
        // The axes' names at their positive ends.
        const std::string across = std::string(AxisName(spec_.axes.across)) + " \u2192";
        Fixed(PixelRect::Sized(d.right + 6, d.bottom - textHeight, MonoWidth(across), textHeight),
              across, "start", "axis-name");
        const std::string up = std::string("\u2191 ") + spec_.upName;
        Fixed(PixelRect::Sized(d.left, d.top - textHeight - 3, MonoWidth(up), textHeight), up,
              "start", "axis-name");
    }

    // Text the labels must leave alone: ticks and axis names.
    void Fixed(const PixelRect& rect, const std::string& text, const char* anchor,
               const char* cssClass = "tick") {
        const double x = std::string(anchor) == "middle" ? rect.CentreX()
                         : std::string(anchor) == "end"  ? rect.right
                                                         : rect.left;
        svg_.Text(x, rect.bottom - 3, text,
                  Class(cssClass) + Attr("text-anchor", anchor) + Attr("font-family", kMonoFamily) +
                      Attr("font-size", kMonoFont) + Attr("fill", "#555555"));
        labels_.AddFixed(rect);
    }

    void DrawReach() {
        if (CubeHalfEdge(explosion_) < 0 || explosion_.radius <= 0) return;
        svg_.Rect(frame_.BoxRect(explosion_.cubeMin, explosion_.cubeMax),
                  Class("cube") + Attr("fill", "none") + Stroke(kCubeColour, 1.2, "7 4"));
        svg_.Circle(frame_.XOf(Centre()), frame_.YOf(Centre()), frame_.Length(explosion_.radius),
                    Class("reach") + Attr("fill", kReachColour) + Attr("fill-opacity", "0.08") +
                        Stroke(kReachColour, 2));
    }

    // Larger boxes first, so smaller ones stay visible on top of them.
    void DrawBoxes() {
        std::vector<std::size_t> order(drawn_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        rects_.resize(drawn_.size());
        for (std::size_t i = 0; i < drawn_.size(); ++i)
            rects_[i] = frame_.BoxRect(drawn_[i].boxMin, drawn_[i].boxMax);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return rects_[a].Width() * rects_[a].Height() > rects_[b].Width() * rects_[b].Height();
        });
        for (std::size_t i : order) {
            const DrawnEntity& entity = drawn_[i];
            const VerdictStyle& style = StyleOf(entity.verdict);
            const bool picked =
                entity.verdict == Verdict::kHit || entity.verdict == Verdict::kMissed;
            svg_.Rect(rects_[i], Class(std::string("box ") + style.cssClass) +
                                     Attr("data-name", entity.name) + Attr("fill", style.colour) +
                                     Attr("fill-opacity", picked ? "0.28" : "0.10") +
                                     Stroke(style.colour, 1.5, style.dash));
            const PixelRect& d = frame_.Drawing();
            if (rects_[i].Width() * rects_[i].Height() < kBackgroundShare * d.Width() * d.Height())
                labels_.AddObstacle(rects_[i]);
            marks_.verdicts[static_cast<int>(entity.verdict)] = true;
        }
    }

    // The point of each picked box nearest the centre decides the hit.
    void DrawNearestPoints() {
        for (const DrawnEntity& entity : drawn_) {
            if (entity.verdict != Verdict::kHit && entity.verdict != Verdict::kMissed) continue;
            const char* colour = StyleOf(entity.verdict).colour;
            const double x = frame_.XOf(entity.nearest);
            const double y = frame_.YOf(entity.nearest);
            svg_.Line(frame_.XOf(Centre()), frame_.YOf(Centre()), x, y,
                      Class("nearest-line") + Stroke(colour, 1, "2 3"));
            svg_.Circle(x, y, kDotRadius, Class("nearest") + Attr("fill", colour));
            marks_.nearest = true;
        }
    }

    // Each push from the hit entity's position, along the direction as this
    // view sees it; a push along the line of sight shows as a ring.
    void DrawPushes() {
        for (std::size_t i = 0; i < drawn_.size(); ++i) {
            const DrawnEntity& entity = drawn_[i];
            if (!entity.push) continue;
            double x = frame_.XOf(entity.position);
            double y = frame_.YOf(entity.position);
            rects_[i].Clamp(x, y);
            const double dx = AxisOf(*entity.push, spec_.axes.across);
            const double dy = -AxisOf(*entity.push, spec_.axes.up);
            const double length = std::hypot(dx, dy);
            if (!(length > 0) || !std::isfinite(length)) {
                svg_.Circle(x, y, kRingRadius,
                            Class("push-ring") + Attr("fill", "none") + Stroke(kInkColour, 2));
                labels_.AddObstacle(PixelRect{x, y, x, y}.Grown(kRingRadius + 1));
                marks_.rings = true;
                continue;
            }
            const double x1 = x + dx / length * kArrowPixels;
            const double y1 = y + dy / length * kArrowPixels;
            svg_.Line(x, y, x1, y1,
                      Class("push") + Stroke(kInkColour, 1.5) + Attr("marker-end", "url(#head)"));
            labels_.AddObstacle(
                PixelRect{std::min(x, x1), std::min(y, y1), std::max(x, x1), std::max(y, y1)}.Grown(
                    3));
            marks_.arrows = true;
        }
    }

    void DrawCentre() {
        const double x = frame_.XOf(Centre());
        const double y = frame_.YOf(Centre());
        svg_.Open("g", Class("centre") + Stroke(kInkColour, 2));
        svg_.Line(x - kCentreArm, y, x + kCentreArm, y, "");
        svg_.Line(x, y - kCentreArm, x, y + kCentreArm, "");
        svg_.Close("g");
        labels_.AddObstacle(PixelRect{x, y, x, y}.Grown(kCentreArm + 1));
    }

    void DrawEffects() {
        for (const EffectSpawn& spawn : explosion_.spawns) {
            double x = frame_.XOf(EffectPosition(spawn));
            double y = frame_.YOf(EffectPosition(spawn));
            frame_.Drawing().Clamp(x, y);
            svg_.Element("polygon", Class("effect") + Attr("points", StarPoints(x, y)) +
                                        Attr("fill", kEffectColour) + Attr("fill-opacity", "0.35") +
                                        Stroke(kEffectColour, 1.2));
            labels_.AddObstacle(PixelRect{x, y, x, y}.Grown(kStarOuter));
        }
    }

    static std::string StarPoints(double x, double y) {
        std::string points;
        for (int i = 0; i < 2 * kStarPoints; ++i) {
            const double angle = M_PI * i / kStarPoints;
            const double r = i % 2 == 0 ? kStarOuter : kStarInner;
            if (i > 0) points += ' ';
            points += Num(x + r * std::sin(angle));
            points += ',';
            points += Num(y - r * std::cos(angle));
        }
        return points;
    }

    std::string LabelText(const DrawnEntity& entity) const {
        // The view from above carries the distance; the side view only names.
        if (spec_.axes.up == kTopAxes.up)
            return entity.name + " " + FormatDistance(entity.distance);
        return entity.name;
    }

    // Labels of picks first, nearest first, then those left out.
    void DrawLabels() {
        struct Placed {
            std::size_t entity;
            PixelRect rect;
            std::string text;
        };
        std::vector<std::size_t> order(drawn_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const bool aPicked = drawn_[a].verdict <= Verdict::kMissed;
            const bool bPicked = drawn_[b].verdict <= Verdict::kMissed;
            if (aPicked != bPicked) return aPicked;
            return drawn_[a].distance < drawn_[b].distance;
        });
        std::vector<Placed> placed;
        for (std::size_t i : order) {
            const std::string text = LabelText(drawn_[i]);
            const PixelRect rect =
                labels_.Place(rects_[i], MonoWidth(text) + 2 * kLabelPad, kLabelHeight);
            placed.push_back({i, rect, text});
        }
        svg_.Open("g", Class("labels"));
        for (const Placed& label : placed) {
            const PixelRect& anchor = rects_[label.entity];
            if (!LabelPlacer::NeedsLeader(label.rect, anchor)) continue;
            // From the point of the box nearest the label to the label.
            double toX = label.rect.CentreX();
            double toY = label.rect.CentreY();
            anchor.Clamp(toX, toY);
            double fromX = toX;
            double fromY = toY;
            label.rect.Clamp(fromX, fromY);
            svg_.Line(fromX, fromY, toX, toY, Class("leader") + Stroke(kLeaderColour, 0.8));
            marks_.leaders = true;
        }
        for (const Placed& label : placed) {
            const DrawnEntity& entity = drawn_[label.entity];
            svg_.Open("g", Class("label") + Attr("data-name", entity.name));
            svg_.Rect(label.rect, Class("label-box") + Attr("fill", "#ffffff") +
                                      Attr("fill-opacity", "0.85") +
                                      Stroke(StyleOf(entity.verdict).colour, 0.6));
            svg_.Text(label.rect.left + kLabelPad, label.rect.bottom - 3.5, label.text,
                      Attr("font-family", kMonoFamily) + Attr("font-size", kMonoFont) +
                          Attr("fill", StyleOf(entity.verdict).colour));
            svg_.Close("g");
        }
        svg_.Close("g");
    }

    SvgCanvas& svg_;
    const ViewSpec& spec_;
    const ViewFrame& frame_;
    PixelRect panel_;
    const Explosion& explosion_;
    const std::vector<DrawnEntity>& drawn_;
    double tickStep_;
    DrawnMarks& marks_;
    LabelPlacer labels_;
    std::vector<PixelRect> rects_;  // each drawn entity's box in this view
};

// ---- Table ----

struct TableRow {
    const DrawnEntity* entity;
    std::string cells[6];
};

constexpr const char* kTableHeadings[6] = {"entity",        "verdict",  "distance to box",
                                           "nearest point", "height y", "why"};

std::string HeightText(const DrawnEntity& entity) {
    return FormatNumber(entity.boxMin.y) + " to " + FormatNumber(entity.boxMax.y);
}

std::string WhyText(const DrawnEntity& entity) {
    switch (entity.verdict) {
        case Verdict::kHit:
            return "picked; its box reaches within the radius";
        case Verdict::kMissed:
            return "picked; its box stays beyond the radius";
        case Verdict::kOverLimit:
        case Verdict::kOutside:
            break;
    }
    return entity.why;
}

std::vector<TableRow> TableRows(const std::vector<DrawnEntity>& drawn, double radius) {
    std::vector<TableRow> rows;
    for (const DrawnEntity& entity : drawn) {
        const bool picked = entity.verdict <= Verdict::kMissed;
        rows.push_back(
            {&entity,
             {entity.name, StyleOf(entity.verdict).word,
              picked ? ReachText(entity.distance, radius) : FormatDistance(entity.distance),
              FormatVector(entity.nearest), HeightText(entity), WhyText(entity)}});
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

struct TableLayout {
    std::vector<TableRow> rows;
    double columns[6] = {};  // left edge of each column, after the swatch
    double width = 0;
    double height = 0;
    std::string notDrawn;
};

TableLayout LayoutTable(const Explosion& explosion, const std::vector<DrawnEntity>& drawn) {
    TableLayout table;
    table.rows = TableRows(drawn, explosion.radius);
    table.notDrawn = NotDrawnText(explosion);
    constexpr double kColumnGap = 14.0;
    double x = kSwatch + 6;
    for (int column = 0; column < 6; ++column) {
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
    for (int column = 0; column < 6; ++column)
        svg.Text(kPage + table.columns[column], y, kTableHeadings[column],
                 Attr("font-weight", "bold"));
    for (const TableRow& row : table.rows) {
        y += kRowHeight;
        const VerdictStyle& style = StyleOf(row.entity->verdict);
        svg.Open("g",
                 Class(std::string("row ") + style.cssClass) + Attr("data-name", row.entity->name));
        svg.Rect(PixelRect::Sized(kPage, y - kSwatch + 1, kSwatch, kSwatch),
                 Attr("fill", style.colour) + Attr("fill-opacity", "0.35") +
                     Stroke(style.colour, 1.2, style.dash));
        for (int column = 0; column < 6; ++column)
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

// ---- Legend ----

// One legend entry: its symbol drawn at (x, y) in a kLegendSymbol square.
struct LegendItem {
    std::string text;
    std::string symbol;  // SVG elements, drawn with the entry's origin at 0,0
};

std::string SwatchSymbol(const VerdictStyle& style, bool picked) {
    return "<rect x=\"4\" y=\"2\" width=\"18\" height=\"11\"" + Attr("fill", style.colour) +
           Attr("fill-opacity", picked ? "0.28" : "0.10") + Stroke(style.colour, 1.5, style.dash) +
           "/>";
}

std::vector<LegendItem> LegendItems(const Explosion& explosion, const DrawnMarks& marks) {
    std::vector<LegendItem> items;
    const std::string capacity = std::to_string(explosion.capacity);
    const std::string texts[4] = {
        "hit: picked, its box reaches within the radius (a damage message was sent)",
        "missed: picked, its box stays beyond the radius",
        "not picked: in the cube, over the pick limit of " + capacity,
        "not picked: outside the query cube, near it"};
    for (int verdict = 0; verdict < 4; ++verdict)
        if (marks.verdicts[verdict])
            items.push_back({texts[verdict],
                             SwatchSymbol(StyleOf(static_cast<Verdict>(verdict)), verdict <= 1)});
    items.push_back({"centre of the explosion (" + explosion.centreName + ")",
                     "<path d=\"M6,7 H20 M13,0 V14\"" + Stroke(kInkColour, 2) + "/>"});
    const std::string radius = FormatNumber(explosion.radius);
    if (CubeHalfEdge(explosion) < 0) {
        items.push_back(
            {"negative splash radius: the query cube is inverted, nothing is picked "
             "or reached",
             ""});
    } else if (explosion.radius <= 0) {
        items.push_back(
            {"splash radius 0: no sphere or cube to draw; only a box touching the "
             "centre is in reach",
             ""});
    } else {
        items.push_back({"sphere of reach, radius " + radius + " (seen as a circle in both views)",
                         "<circle cx=\"13\" cy=\"7\" r=\"6\"" + Attr("fill", kReachColour) +
                             Attr("fill-opacity", "0.08") + Stroke(kReachColour, 2) + "/>"});
        items.push_back({"query cube, " + radius + " from the centre each way",
                         "<rect x=\"4\" y=\"1\" width=\"18\" height=\"12\" fill=\"none\"" +
                             Stroke(kCubeColour, 1.2, "4 2") + "/>"});
    }
    if (marks.nearest)
        items.push_back(
            {"nearest box point, joined to the centre: its distance decides",
             "<line x1=\"2\" y1=\"7\" x2=\"20\" y2=\"7\"" + Stroke(kInkColour, 1, "2 3") +
                 "/><circle cx=\"20\" cy=\"7\" r=\"2.5\"" + Attr("fill", kInkColour) + "/>"});
    if (marks.arrows)
        items.push_back({"push of the damage message, as the view sees its direction",
                         "<line x1=\"2\" y1=\"7\" x2=\"20\" y2=\"7\"" + Stroke(kInkColour, 2) +
                             " marker-end=\"url(#head)\"/>"});
    if (marks.rings)
        items.push_back(
            {"push along the line of sight (straight up, seen from above)",
             "<circle cx=\"13\" cy=\"7\" r=\"5\" fill=\"none\"" + Stroke(kInkColour, 2) + "/>"});
    if (!explosion.spawns.empty())
        items.push_back({"effect " + explosion.spawns.front().effectName + " started here",
                         "<polygon points=\"13,0 15,5 20,7 15,9 13,14 11,9 6,7 11,5\"" +
                             Attr("fill", kEffectColour) + Attr("fill-opacity", "0.35") +
                             Stroke(kEffectColour, 1.2) + "/>"});
    if (marks.leaders)
        items.push_back(
            {"thin grey line: joins a label to its box",
             "<line x1=\"2\" y1=\"7\" x2=\"22\" y2=\"7\"" + Stroke(kLeaderColour, 0.8) + "/>"});
    return items;
}

double LegendItemWidth(const LegendItem& item) {
    return kLegendSymbol + 6 + SansWidth(item.text, kTextFont) + 18;
}

// Entries flow left to right and wrap; the scale bar ends the legend.
double DrawLegend(SvgCanvas& svg, const std::vector<LegendItem>& items, double top, double width,
                  double tickStep, double scale) {
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

}  // namespace

std::string ExplosionSvgName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "explosion-%02d.svg", number);
    return name;
}

std::string ExplosionSvg(const Explosion& explosion) {
    const std::vector<DrawnEntity> drawn = DrawnEntities(explosion);
    const SceneBox scene = ShownScene(explosion, drawn);
    double longest = 0;
    for (const Range& range : scene.axis) longest = std::max(longest, range.Extent());
    const double scale = kViewSize / longest;
    const double tickStep = TickStep(longest / kTicksPerView);

    // Two panels side by side, each a view with room for ticks and labels.
    const double drawingWidth = scene.axis[0].Extent() * scale;
    const double drawingHeight =
        std::max(scene.axis[kTopAxes.up].Extent(), scene.axis[kSideAxes.up].Extent()) * scale;
    // Wide enough for its heading; the room over goes to labels.
    const double headingWidth =
        std::max(SansWidth(kTopView.heading, kTextFont), SansWidth(kSideView.heading, kTextFont));
    const double panelWidth = std::max(drawingWidth + 2 * kGutterX, headingWidth);
    const double panelHeight = kHeadingHeight + drawingHeight + 2 * kGutterY;

    const TableLayout table = LayoutTable(explosion, drawn);
    double width = std::max(2 * panelWidth + kPanelGap, table.width) + 2 * kPage;
    width = std::max(width, SansWidth(QueryText(explosion), kTextFont) + 2 * kPage);

    SvgCanvas body;
    const double viewsTop = DrawTitle(body, explosion, width);
    DrawnMarks marks;
    const ViewSpec* specs[2] = {&kTopView, &kSideView};
    for (int i = 0; i < 2; ++i) {
        const PixelRect panel = PixelRect::Sized(kPage + i * (panelWidth + kPanelGap), viewsTop,
                                                 panelWidth, panelHeight);
        const ViewFrame frame(scene, specs[i]->axes, scale, panel.left + kGutterX,
                              panel.top + kHeadingHeight + kGutterY);
        ViewDrawer(body, *specs[i], frame, panel, explosion, drawn, tickStep, marks).Draw();
    }
    const double tableTop = viewsTop + panelHeight + kSectionGap;
    const double legendTop = DrawTable(body, table, tableTop);
    const double height =
        DrawLegend(body, LegendItems(explosion, marks), legendTop, width, tickStep, scale) + kPage;

    SvgCanvas svg;
    svg.Open("svg", Attr("xmlns", "http://www.w3.org/2000/svg") + Attr("width", width) +
                        Attr("height", height) +
                        Attr("viewBox", "0 0 " + Num(width) + " " + Num(height)) +
                        Attr("font-family", "sans-serif") + Attr("font-size", kTextFont));
    svg.Open("title");
    svg.Raw(XmlText(HeadingText(explosion) + ": " + HitCountText(explosion)) + "\n");
    svg.Close("title");
    svg.Open("desc");
    svg.Raw(XmlText(SetOffByText(explosion) + ". " + QueryText(explosion) + ". " +
                    BlastText(explosion) + ".") +
            "\n");
    svg.Close("desc");
    svg.Raw(
        "<defs><marker id=\"head\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" markerWidth=\"6\" "
        "markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"#222222\"/>"
        "</marker></defs>\n");
    svg.Rect(PixelRect::Sized(0, 0, width, height), Class("background") + Attr("fill", "#ffffff"));
    svg.Raw(body.Str());
    svg.Close("svg");
    return svg.Str();
}

}  // namespace flamer_host
