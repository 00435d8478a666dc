#include "svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace flamer_host {
namespace {

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at `at` that XML may carry, or 0.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[at + i]);
    };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;   // bounds of the second byte, which rule out
    unsigned char high = 0xBF;  // overlong forms, surrogates and beyond U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!Continuation(byte(i))) return 0;
    // U+FFFE and U+FFFF are not characters XML allows.
    if (lead == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE) return 0;
    return length;
}

void AppendEscapedByte(std::string& out, unsigned char byte) {
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02X", byte);
    out += escape;
}

}  // namespace

double PixelRect::GapTo(const PixelRect& other) const {
    const double dx = std::max({0.0, other.left - right, left - other.right});
    const double dy = std::max({0.0, other.top - bottom, top - other.bottom});
    return std::hypot(dx, dy);
}

void PixelRect::Clamp(double& x, double& y) const {
    x = std::clamp(x, left, right);
    y = std::clamp(y, top, bottom);
}

std::string Num(double value) {
    char buffer[48];
    // Non-finite values never reach a picture; a guard keeps the XML sound.
    std::snprintf(buffer, sizeof buffer, "%.2f", std::isfinite(value) ? value : 0.0);
    return buffer;
}

std::string XmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            const std::size_t length = Utf8Length(text, at);
            if (length == 0) {
                AppendEscapedByte(out, byte);
                ++at;
            } else {
                out.append(text.substr(at, length));
                at += length;
            }
            continue;
        }
        ++at;
        switch (byte) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F)
                    AppendEscapedByte(out, byte);
                else
                    out += static_cast<char>(byte);
        }
    }
    return out;
}

std::string Attr(std::string_view name, std::string_view value) {
    std::string attribute = " ";
    attribute += name;
    attribute += "=\"" + XmlText(value) + "\"";
    return attribute;
}

std::string Attr(std::string_view name, double value) { return Attr(name, Num(value)); }

void SvgCanvas::Open(std::string_view tag, const std::string& attributes) {
    svg_ << "<" << tag << attributes << ">\n";
}

void SvgCanvas::Close(std::string_view tag) { svg_ << "</" << tag << ">\n"; }

void SvgCanvas::Element(std::string_view tag, const std::string& attributes) {
    svg_ << "<" << tag << attributes << "/>\n";
}

void SvgCanvas::Rect(const PixelRect& rect, const std::string& attributes) {
    Element("rect", Attr("x", rect.left) + Attr("y", rect.top) + Attr("width", rect.Width()) +
                        Attr("height", rect.Height()) + attributes);
}

void SvgCanvas::Line(double x0, double y0, double x1, double y1, const std::string& attributes) {
    Element("line", Attr("x1", x0) + Attr("y1", y0) + Attr("x2", x1) + Attr("y2", y1) + attributes);
}

void SvgCanvas::Circle(double cx, double cy, double r, const std::string& attributes) {
    Element("circle", Attr("cx", cx) + Attr("cy", cy) + Attr("r", r) + attributes);
}

void SvgCanvas::Text(double x, double y, std::string_view text, const std::string& attributes) {
    svg_ << "<text" << Attr("x", x) << Attr("y", y) << attributes << ">" << XmlText(text)
         << "</text>\n";
}

}  // namespace flamer_host
