#include "picture_style.h"

#include "svg_canvas.h"

namespace flamer_host {
namespace {

// Widths a character takes at most: monospace is exact, sans-serif an upper
// estimate for these texts.
constexpr double kMonoAdvance = 0.62;
constexpr double kSansAdvance = 0.6;

constexpr char kPickedFill[] = "0.28";
constexpr char kLeftOutFill[] = "0.10";
constexpr double kOutline = 1.5;

constexpr VerdictStyle kStyles[kVerdictCount] = {
    {"hit", "#d62728", "", "hit"},
    {"missed", "#1f77b4", "", "missed"},
    {"over-limit", "#9467bd", "5 3", "not picked"},
    {"outside", "#8c8c8c", "2 3", "not picked"},
};

}  // namespace

const VerdictStyle& StyleOf(Verdict verdict) { return kStyles[static_cast<int>(verdict)]; }

std::string VerdictPaint(Verdict verdict) {
    const VerdictStyle& style = StyleOf(verdict);
    return Attr("fill", style.colour) +
           Attr("fill-opacity", Picked(verdict) ? kPickedFill : kLeftOutFill) +
           Stroke(style.colour, kOutline, style.dash);
}

std::string ReachPaint() {
    return Attr("fill", kReachColour) + Attr("fill-opacity", "0.08") + Stroke(kReachColour, 2);
}

std::string CubePaint() { return Attr("fill", "none") + Stroke(kCubeColour, 1.2, "7 4"); }

std::string NearestLinePaint(const char* colour) { return Stroke(colour, 1, "2 3"); }

std::string NearestDotPaint(const char* colour) { return Attr("fill", colour); }

std::string PushPaint() { return Stroke(kInkColour, 1.5) + Attr("marker-end", "url(#head)"); }

std::string RingPaint() { return Attr("fill", "none") + Stroke(kInkColour, 2); }

std::string CentrePaint() { return Stroke(kInkColour, 2); }

std::string EffectPaint() {
    return Attr("fill", kEffectColour) + Attr("fill-opacity", "0.35") + Stroke(kEffectColour, 1.2);
}

std::string LeaderPaint() { return Stroke(kLeaderColour, 0.8); }

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

std::size_t SansCharacters(double width, double font) {
    return width > 0 ? static_cast<std::size_t>(width / (font * kSansAdvance)) : 0;
}

std::string Shorten(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t cut = limit > 3 ? limit - 3 : 0;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "...";
}

std::string Class(const std::string& name) { return Attr("class", name); }

std::string Stroke(const std::string& colour, double width, const std::string& dash) {
    std::string attributes = Attr("stroke", colour) + Attr("stroke-width", width);
    if (!dash.empty()) attributes += Attr("stroke-dasharray", dash);
    return attributes;
}

}  // namespace flamer_host
