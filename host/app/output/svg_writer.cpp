#include "svg_writer.h"

#include "explosion_key.h"
#include "explosion_layout.h"
#include "explosion_view.h"
#include "explosion_words.h"
#include "picture_style.h"
#include "svg_canvas.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace flamer_host {
namespace {

constexpr double kViewSize = 480.0;    // pixels for the longest axis of the scene
constexpr double kTicksPerView = 6.0;  // about this many tick marks along the longest axis
constexpr double kPanelGap = 16.0;
constexpr std::size_t kMaxTitleText = 160;  // characters of a command shown in a title

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
        const zorQMsgDamage& record = explosion.messages.front().damage;
        text = std::to_string(explosion.messages.size()) + " damage message" +
               (explosion.messages.size() == 1 ? "" : "s") + " (message " +
               std::to_string(ZORQMSG_DAMAGE) + "), one to each hit: damage " +
               std::to_string(record.damage) + ", impulse " + FormatNumber(record.impulse) +
               ", rotImpulse " + FormatNumber(record.rotImpulse);
    }
    return text + "; " + EffectText(explosion);
}

double DrawTitle(SvgCanvas& svg, const Explosion& explosion, double width) {
    const std::size_t plainChars = SansCharacters(width - 2 * kPage, kTextFont);
    const std::size_t titleChars = SansCharacters(width - 2 * kPage, kTitleFont);
    double y = kPage + kTitleFont;
    svg.Text(kPage, y, Shorten(HeadingText(explosion), titleChars),
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

}  // namespace

std::string ExplosionSvgName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "explosion-%02d.svg", number);
    return name;
}

std::string ExplosionSvg(const ExplosionModel& model) {
    const Explosion& explosion = model.record;
    const SceneBox scene = ShownScene(model);
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
    const double panelWidth = std::max(drawingWidth + 2 * kViewGutterX, headingWidth);
    const double panelHeight = kViewHeadingHeight + drawingHeight + 2 * kViewGutterY;

    const TableLayout table = LayoutTable(model);
    double width = std::max(2 * panelWidth + kPanelGap, table.width) + 2 * kPage;
    width = std::max(width, SansWidth(QueryText(explosion), kTextFont) + 2 * kPage);

    SvgCanvas body;
    const double viewsTop = DrawTitle(body, explosion, width);
    DrawnMarks marks;
    const ViewKind* views[2] = {&kTopView, &kSideView};
    for (int i = 0; i < 2; ++i) {
        const PixelRect panel = PixelRect::Sized(kPage + i * (panelWidth + kPanelGap), viewsTop,
                                                 panelWidth, panelHeight);
        const ViewFrame frame(scene, views[i]->axes, scale, panel.left + kViewGutterX,
                              panel.top + kViewHeadingHeight + kViewGutterY);
        DrawView(body, *views[i], frame, panel, model, tickStep, marks);
    }
    const double tableTop = viewsTop + panelHeight + kSectionGap;
    const double legendTop = DrawTable(body, table, tableTop);
    const double height =
        DrawLegend(body, explosion, marks, legendTop, width, tickStep, scale) + kPage;

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
    // The arrow head of the pushes.
    svg.Raw(std::string("<defs><marker id=\"head\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" "
                        "markerWidth=\"6\" markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 "
                        "L10,5 L0,10 z\"") +
            Attr("fill", kInkColour) + "/></marker></defs>\n");
    svg.Rect(PixelRect::Sized(0, 0, width, height), Class("background") + Attr("fill", "#ffffff"));
    svg.Raw(body.Str());
    svg.Close("svg");
    return svg.Str();
}

}  // namespace flamer_host