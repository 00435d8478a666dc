#include "explosion_view.h"

#include "explosion_words.h"
#include "label_placer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace flamer_host {
namespace {

constexpr double kTickLength = 4.0;
// A box covering more than this share of a view is a background: labels may
// lie on it, or they would be pushed far from what they name.
constexpr double kBackgroundShare = 0.08;
constexpr double kLabelHeight = 14.0;
constexpr double kLabelPad = 2.0;
constexpr double kArrowPixels = 26.0;
constexpr double kRingRadius = 5.0;
constexpr double kCentreArm = 7.0;
constexpr double kStarOuter = 10.0;
constexpr double kStarInner = 4.0;
constexpr int kStarPoints = 8;
constexpr double kDotRadius = 2.5;
constexpr char kGridColour[] = "#e4e4e4";
constexpr char kFrameFill[] = "#fcfcfc";
constexpr char kFrameColour[] = "#bbbbbb";
constexpr char kTickColour[] = "#555555";

class ViewDrawer {
public:
    ViewDrawer(SvgCanvas& svg, const ViewKind& view, const ViewFrame& frame, const PixelRect& panel,
               const ExplosionModel& model, double tickStep, DrawnMarks& marks)
        : svg_(svg),
          view_(view),
          frame_(frame),
          panel_(panel),
          explosion_(model.record),
          entities_(model.entities),
          tickStep_(tickStep),
          marks_(marks),
          labels_({panel.left, panel.top + kViewHeadingHeight, panel.right, panel.bottom}) {}

    void Draw() {
        svg_.Open("g", Class(std::string("view ") + view_.cssClass));
        svg_.Text(panel_.left, panel_.top + kTextFont + 2, view_.heading,
                  Class("view-heading") + Attr("font-weight", "bold"));
        DrawFrameAndTicks();
        const std::string clip = std::string(view_.cssClass) + "-clip";
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
        svg_.Rect(d, Class("frame") + Attr("fill", kFrameFill) + Stroke(kFrameColour, 1));
        const double textHeight = kMonoFont + 2;
        for (double value : Ticks(frame_.Across(), tickStep_)) {
            const double x = frame_.X(value);
            svg_.Line(x, d.top, x, d.bottom, Class("grid") + Stroke(kGridColour, 1));
            svg_.Line(x, d.bottom, x, d.bottom + kTickLength, Stroke(kFrameColour, 1));
            const std::string text = TickText(value, tickStep_);
            const double width = MonoWidth(text);
            Fixed(PixelRect::Sized(x - width / 2, d.bottom + kTickLength + 1, width, textHeight),
                  text, Align::kMiddle);
        }
        for (double value : Ticks(frame_.Up(), tickStep_)) {
            const double y = frame_.Y(value);
            svg_.Line(d.left, y, d.right, y, Class("grid") + Stroke(kGridColour, 1));
            svg_.Line(d.left - kTickLength, y, d.left, y, Stroke(kFrameColour, 1));
            const std::string text = TickText(value, tickStep_);
            const double width = MonoWidth(text);
            Fixed(PixelRect::Sized(d.left - kTickLength - 2 - width, y - textHeight / 2, width,
                                   textHeight),
                  text, Align::kEnd);
        }
        // The axes' names at their positive ends.
        const std::string across = std::string(AxisName(view_.axes.across)) + " \u2192";
        Fixed(PixelRect::Sized(d.right + 6, d.bottom - textHeight, MonoWidth(across), textHeight),
              across, Align::kStart, "axis-name");
        const std::string up = std::string("\u2191 ") + view_.upName;
        Fixed(PixelRect::Sized(d.left, d.top - textHeight - 3, MonoWidth(up), textHeight), up,
              Align::kStart, "axis-name");
    }

    enum class Align {
        kStart,
        kMiddle,
        kEnd,
    };

    // Text the labels must leave alone: ticks and axis names, in `rect`.
    void Fixed(const PixelRect& rect, const std::string& text, Align align,
               const char* cssClass = "tick") {
        const double x = align == Align::kMiddle ? rect.CentreX()
                         : align == Align::kEnd  ? rect.right
                                                 : rect.left;
        const char* anchor = align == Align::kMiddle ? "middle"
                             : align == Align::kEnd  ? "end"
                                                     : "start";
        svg_.Text(x, rect.bottom - 3, text,
                  Class(cssClass) + Attr("text-anchor", anchor) + Attr("font-family", kMonoFamily) +
                      Attr("font-size", kMonoFont) + Attr("fill", kTickColour));
        labels_.AddFixed(rect);
    }

    void DrawReach() {
        if (CubeHalfEdge(explosion_) < 0 || explosion_.radius <= 0) return;
        svg_.Rect(frame_.BoxRect(explosion_.cubeMin, explosion_.cubeMax),
                  Class("cube") + CubePaint());
        svg_.Circle(frame_.XOf(Centre()), frame_.YOf(Centre()), frame_.Length(explosion_.radius),
                    Class("reach") + ReachPaint());
    }

    // Larger boxes first, so smaller ones stay visible on top of them.
    void DrawBoxes() {
        std::vector<std::size_t> order(entities_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        rects_.resize(entities_.size());
        for (std::size_t i = 0; i < entities_.size(); ++i)
            rects_[i] = frame_.BoxRect(entities_[i].boxMin, entities_[i].boxMax);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return rects_[a].Width() * rects_[a].Height() > rects_[b].Width() * rects_[b].Height();
        });
        for (std::size_t i : order) {
            const EntityView& entity = entities_[i];
            svg_.Rect(rects_[i], Class(std::string("box ") + StyleOf(entity.verdict).cssClass) +
                                     Attr("data-name", entity.name) + VerdictPaint(entity.verdict));
            const PixelRect& d = frame_.Drawing();
            if (rects_[i].Width() * rects_[i].Height() < kBackgroundShare * d.Width() * d.Height())
                labels_.AddObstacle(rects_[i]);
            marks_.verdicts[static_cast<int>(entity.verdict)] = true;
        }
    }

    // The point of each picked box nearest the centre decides the hit.
    void DrawNearestPoints() {
        for (const EntityView& entity : entities_) {
            if (entity.verdict != Verdict::kHit && entity.verdict != Verdict::kMissed) continue;
            const char* colour = StyleOf(entity.verdict).colour;
            const double x = frame_.XOf(entity.nearest);
            const double y = frame_.YOf(entity.nearest);
            svg_.Line(frame_.XOf(Centre()), frame_.YOf(Centre()), x, y,
                      Class("nearest-line") + NearestLinePaint(colour));
            svg_.Circle(x, y, kDotRadius, Class("nearest") + NearestDotPaint(colour));
            marks_.nearest = true;
        }
    }

    // Each push from the hit entity's position, along the direction as this
    // view sees it; a push along the line of sight shows as a ring.
    void DrawPushes() {
        for (std::size_t i = 0; i < entities_.size(); ++i) {
            const EntityView& entity = entities_[i];
            if (!entity.push) continue;
            double x = frame_.XOf(entity.position);
            double y = frame_.YOf(entity.position);
            rects_[i].Clamp(x, y);
            const double dx = AxisOf(*entity.push, view_.axes.across);
            const double dy = -AxisOf(*entity.push, view_.axes.up);
            const double length = std::hypot(dx, dy);
            if (!(length > 0) || !std::isfinite(length)) {
                svg_.Circle(x, y, kRingRadius, Class("push-ring") + RingPaint());
                labels_.AddObstacle(PixelRect{x, y, x, y}.Grown(kRingRadius + 1));
                marks_.rings = true;
                continue;
            }
            const double x1 = x + dx / length * kArrowPixels;
            const double y1 = y + dy / length * kArrowPixels;
            svg_.Line(x, y, x1, y1, Class("push") + PushPaint());
            labels_.AddObstacle(
                PixelRect{std::min(x, x1), std::min(y, y1), std::max(x, x1), std::max(y, y1)}.Grown(
                    3));
            marks_.arrows = true;
        }
    }

    void DrawCentre() {
        const double x = frame_.XOf(Centre());
        const double y = frame_.YOf(Centre());
        svg_.Open("g", Class("centre") + CentrePaint());
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
            svg_.Element("polygon",
                         Class("effect") + Attr("points", StarPoints(x, y)) + EffectPaint());
            labels_.AddObstacle(PixelRect{x, y, x, y}.Grown(kStarOuter));
        }
    }

    static std::string StarPoints(double x, double y) {
        std::string points;
        for (int i = 0; i < 2 * kStarPoints; ++i) {
            const double angle = std::numbers::pi * i / kStarPoints;
            const double r = i % 2 == 0 ? kStarOuter : kStarInner;
            if (i > 0) points += ' ';
            points += Num(x + r * std::sin(angle));
            points += ',';
            points += Num(y - r * std::cos(angle));
        }
        return points;
    }

    std::string LabelText(const EntityView& entity) const {
        // The view from above carries the distance; the side view only names.
        if (view_.axes.up == kTopAxes.up)
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
        std::vector<std::size_t> order(entities_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const bool aPicked = Picked(entities_[a].verdict);
            const bool bPicked = Picked(entities_[b].verdict);
            if (aPicked != bPicked) return aPicked;
            return entities_[a].distance < entities_[b].distance;
        });
        std::vector<Placed> placed;
        for (std::size_t i : order) {
            const std::string text = LabelText(entities_[i]);
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
            svg_.Line(fromX, fromY, toX, toY, Class("leader") + LeaderPaint());
            marks_.leaders = true;
        }
        for (const Placed& label : placed) {
            const EntityView& entity = entities_[label.entity];
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
    const ViewKind& view_;
    const ViewFrame& frame_;
    PixelRect panel_;
    const Explosion& explosion_;
    const std::vector<EntityView>& entities_;
    double tickStep_;
    DrawnMarks& marks_;
    LabelPlacer labels_;
    std::vector<PixelRect> rects_;  // each drawn entity's box in this view
};

}  // namespace

void DrawView(SvgCanvas& svg, const ViewKind& view, const ViewFrame& frame, const PixelRect& panel,
              const ExplosionModel& model, double tickStep, DrawnMarks& marks) {
    ViewDrawer(svg, view, frame, panel, model, tickStep, marks).Draw();
}

}  // namespace flamer_host
