// What the parts of an explosion's picture share: the page's margins, the
// fonts and how wide their text runs, the paint of every verdict and mark
// (the views draw with it, the legend shows it), and which marks were drawn
// (so the legend describes only those).
#pragma once

#include "explosion_model.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace flamer_host {

inline constexpr double kPage = 24.0;  // margin around everything
inline constexpr double kSectionGap = 18.0;

inline constexpr double kTitleFont = 16.0;
inline constexpr double kTextFont = 12.0;
inline constexpr double kMonoFont = 11.0;
inline constexpr double kLineHeight = 18.0;
inline constexpr char kMonoFamily[] = "DejaVu Sans Mono, Menlo, Consolas, monospace";

inline constexpr char kReachColour[] = "#ff7f0e";
inline constexpr char kCubeColour[] = "#555555";
inline constexpr char kEffectColour[] = "#e6a100";
inline constexpr char kInkColour[] = "#222222";
inline constexpr char kLeaderColour[] = "#777777";

struct VerdictStyle {
    const char* cssClass;
    const char* colour;
    const char* dash;  // empty for a solid outline
    const char* word;  // the table's verdict column
};
const VerdictStyle& StyleOf(Verdict verdict);
// The fill and outline of a box of that verdict: those left out fainter.
std::string VerdictPaint(Verdict verdict);

// The paint of each mark, as attributes.
std::string ReachPaint();                          // the sphere of reach
std::string CubePaint();                           // the query cube
std::string NearestLinePaint(const char* colour);  // centre to the nearest point
std::string NearestDotPaint(const char* colour);   // the nearest point
std::string PushPaint();                           // a push arrow
std::string RingPaint();                           // a push along the line of sight
std::string CentrePaint();                         // the cross at the centre
std::string EffectPaint();                         // the star where an effect started
std::string LeaderPaint();                         // a label's line to its box

// Which marks the views drew.
struct DrawnMarks {
    bool verdicts[kVerdictCount] = {};
    bool nearest = false;
    bool arrows = false;
    bool rings = false;
    bool leaders = false;
};

// Characters of a UTF-8 text: its bytes but for continuation bytes.
std::size_t Characters(std::string_view text);
// How wide text runs: monospace exactly, sans-serif at most.
double MonoWidth(std::size_t characters);
double MonoWidth(std::string_view text);
double SansWidth(std::string_view text, double font);
// How many sans-serif characters surely fit in `width`.
std::size_t SansCharacters(double width, double font);
// The text cut to at most `limit` bytes, at a character boundary, "..." ending it.
std::string Shorten(const std::string& text, std::size_t limit);

// Attributes: ` class="..."`, and a stroke with its width and dashes.
std::string Class(const std::string& name);
std::string Stroke(const std::string& colour, double width, const std::string& dash = "");

}  // namespace flamer_host
