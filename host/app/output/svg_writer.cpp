#include "svg_writer.h"

#include "explosion_key.h"
#include "explosion_layout.h"
#include "explosion_view.h"
#include "explosion_words.h"
#include "picture_folder.h"
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
constexpr double kNavigationGap = 24.0;
constexpr char kLinkColour[] = "#1a56b0";

// The way out of the picture: the explosions before and after it, when
// there are, and the index, which shows the explosion among the others.
double DrawNavigation(SvgCanvas& svg, const Explosion& explosion, const PictureLinks& links) {
    const double y = kPage + kTextFont;
    struct Link {
        bool shown;
        std::string href;
        std::string text;
    };
    const Link navigation[] = {
        {links.previous, ExplosionSvgName(explosion.number - 1),
         "\u2190 explosion " + std::to_string(explosion.number - 1)},
        {true, std::string(kIndexName) + "#" + ExplosionAnchor(explosion.number),
         "all explosions (index)"},
        {links.next, ExplosionSvgName(explosion.number + 1),
         "explosion " + std::to_string(explosion.number + 1) + " \u2192"},
    };
    svg.Open("g", Class("navigation"));
    double x = kPage;
    for (const Link& link : navigation) {
        if (!link.shown) continue;
        svg.Open("a", Attr("href", link.href));
        svg.Text(x, y, link.text, Attr("fill", kLinkColour) + Attr("text-decoration", "underline"));
        svg.Close("a");
        x += SansWidth(link.text, kTextFont) + kNavigationGap;
    }
    svg.Close("g");
    return y + kLineHeight;
}

double DrawTitle(SvgCanvas& svg, const Explosion& explosion, double width, double top) {
    const std::size_t plainChars = SansCharacters(width - 2 * kPage, kTextFont);
    const std::size_t titleChars = SansCharacters(width - 2 * kPage, kTitleFont);
    double y = top + kTitleFont;
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

std::string ExplosionAnchor(int number) { return "explosion-" + std::to_string(number); }

SvgPicture ExplosionSvg(const ExplosionModel& model, const PictureLinks& links) {
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
    const double titleTop = DrawNavigation(body, explosion, links);
    const double viewsTop = DrawTitle(body, explosion, width, titleTop);
    DrawnMarks marks;
    const ViewKind* views[2] = {&kTopView, &kSideView};
    SvgPicture picture;
    for (int i = 0; i < 2; ++i) {
        const PixelRect panel = PixelRect::Sized(kPage + i * (panelWidth + kPanelGap), viewsTop,
                                                 panelWidth, panelHeight);
        // A view alone shows its drawing without its heading, which a page
        // gives in its own text.
        picture.views[i] = {
            views[i]->cssClass, views[i]->heading,
            PixelRect{panel.left, panel.top + kViewHeadingHeight, panel.right, panel.bottom}};
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
    // Each view alone, for a page that tells the rest in its own text.
    for (const SvgPicture::Fragment& view : picture.views)
        svg.Element("view",
                    Attr("id", view.id) +
                        Attr("viewBox", Num(view.box.left) + " " + Num(view.box.top) + " " +
                                            Num(view.box.Width()) + " " + Num(view.box.Height())));
    svg.Rect(PixelRect::Sized(0, 0, width, height), Class("background") + Attr("fill", "#ffffff"));
    svg.Raw(body.Str());
    svg.Close("svg");
    picture.text = svg.Str();
    picture.legend = LegendItems(explosion, marks);
    return picture;
}

}  // namespace flamer_host