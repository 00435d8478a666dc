// Writing SVG: rectangles in picture coordinates, numbers with two
// decimals, and text escaped so that any name or command makes well-formed
// XML.
#pragma once

#include <sstream>
#include <string>
#include <string_view>

namespace flamer_host {

// A rectangle in picture coordinates (y grows downwards).
struct PixelRect {
    double left = 0, top = 0, right = 0, bottom = 0;

    static PixelRect Sized(double left, double top, double width, double height) {
        return {left, top, left + width, top + height};
    }
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    double CentreX() const { return (left + right) / 2; }
    double CentreY() const { return (top + bottom) / 2; }
    PixelRect Grown(double by) const { return {left - by, top - by, right + by, bottom + by}; }
    // True when the two share more than an edge.
    bool Overlaps(const PixelRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool Contains(const PixelRect& other) const {
        return left <= other.left && other.right <= right && top <= other.top &&
               other.bottom <= bottom;
    }
    // The gap between the two, 0 when they touch or overlap.
    double GapTo(const PixelRect& other) const;
    // Moves the point into the rectangle.
    void Clamp(double& x, double& y) const;
};

// A number as SVG attributes carry it.
std::string Num(double value);
// Text for an element's content or an attribute value: markup characters
// escaped; control bytes and bytes that are not UTF-8 written as \xNN (XML
// cannot carry them).
std::string XmlText(std::string_view text);
// ` name="value"`, the value escaped.
std::string Attr(std::string_view name, std::string_view value);
std::string Attr(std::string_view name, double value);

class SvgCanvas {
public:
    // <tag attributes>, to be closed with Close(tag).
    void Open(std::string_view tag, const std::string& attributes = "");
    void Close(std::string_view tag);
    // <tag attributes/>
    void Element(std::string_view tag, const std::string& attributes);
    void Rect(const PixelRect& rect, const std::string& attributes);
    void Line(double x0, double y0, double x1, double y1, const std::string& attributes);
    void Circle(double cx, double cy, double r, const std::string& attributes);
    void Text(double x, double y, std::string_view text, const std::string& attributes);
    // Markup written as it is.
    void Raw(std::string_view markup) { svg_ << markup; }
    std::string Str() const { return svg_.str(); }

private:
    std::ostringstream svg_;
};

}  // namespace flamer_host
