#include "svg_writer.h"

#include "report.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace flamer_host {
namespace {

constexpr double kDrawingSize = 640.0;  // pixels for the larger side of the scene
constexpr double kMargin = 48.0;
constexpr double kTitleHeight = 56.0;
constexpr double kMinWidth = 760.0;  // room for the title and the legend
constexpr double kLegendHeight = 60.0;
constexpr double kArrowShare = 0.3;      // arrow length as a share of the radius
constexpr double kMinArrowLength = 8.0;  // world units, for a radius of zero
constexpr char kHitColour[] = "#d62728";
constexpr char kMissColour[] = "#1f77b4";
constexpr char kReachColour[] = "#ff7f0e";
constexpr char kCubeColour[] = "#7f7f7f";

// World rectangle on the x/z plane.
struct Bounds {
    double minX = 0, maxX = 0, minZ = 0, maxZ = 0;

    void Include(double x, double z) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minZ = std::min(minZ, z);
        maxZ = std::max(maxZ, z);
    }
};

// Maps world x/z to picture coordinates, z growing upwards.
class Projection {
public:
    explicit Projection(const Bounds& bounds) : bounds_(bounds) {
        const double extent = std::max({bounds.maxX - bounds.minX, bounds.maxZ - bounds.minZ, 1.0});
        scale_ = kDrawingSize / extent;
    }
    double X(double x) const { return kMargin + (x - bounds_.minX) * scale_; }
    double Y(double z) const { return kTitleHeight + kMargin + (bounds_.maxZ - z) * scale_; }
    double Length(double world) const { return world * scale_; }
    double Width() const { return std::max(X(bounds_.maxX) + kMargin, kMinWidth); }
    double Height() const { return Y(bounds_.minZ) + kMargin + kLegendHeight; }

private:
    Bounds bounds_;
    double scale_;
};

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
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
                out += c;
        }
    }
    return out;
}

std::string Num(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

double ArrowLength(const Explosion& explosion) {
    return std::max(static_cast<double>(explosion.radius) * kArrowShare, kMinArrowLength);
}

Bounds SceneBounds(const Explosion& explosion) {
    const double r = std::fabs(explosion.radius);
    Bounds bounds{explosion.centre.x - r, explosion.centre.x + r, explosion.centre.z - r,
                  explosion.centre.z + r};
    bounds.Include(explosion.cubeMin.x, explosion.cubeMin.z);
    bounds.Include(explosion.cubeMax.x, explosion.cubeMax.z);
    for (const PickedEntity& pick : explosion.picks) {
        bounds.Include(pick.boxMin.x, pick.boxMin.z);
        bounds.Include(pick.boxMax.x, pick.boxMax.z);
        const double arrow = ArrowLength(explosion);
        bounds.Include(pick.position.x - arrow, pick.position.z - arrow);
        bounds.Include(pick.position.x + arrow, pick.position.z + arrow);
    }
    return bounds;
}

void Rect(std::ostream& svg, const Projection& p, double x0, double z0, double x1, double z1,
          const std::string& style) {
    const double left = p.X(std::min(x0, x1));
    const double top = p.Y(std::max(z0, z1));
    svg << "<rect x=\"" << Num(left) << "\" y=\"" << Num(top) << "\" width=\""
        << Num(p.X(std::max(x0, x1)) - left) << "\" height=\"" << Num(p.Y(std::min(z0, z1)) - top)
        << "\" " << style << "/>\n";
}

void Text(std::ostream& svg, double x, double y, const std::string& text,
          const std::string& style) {
    svg << "<text x=\"" << Num(x) << "\" y=\"" << Num(y) << "\" " << style << ">" << Escape(text)
        << "</text>\n";
}

void Line(std::ostream& svg, double x0, double y0, double x1, double y1, const std::string& style) {
    svg << "<line x1=\"" << Num(x0) << "\" y1=\"" << Num(y0) << "\" x2=\"" << Num(x1) << "\" y2=\""
        << Num(y1) << "\" " << style << "/>\n";
}

void DrawHeader(std::ostream& svg, const Projection& p, const Explosion& explosion) {
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Num(p.Width()) << "\" height=\""
        << Num(p.Height()) << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
        << "<defs><marker id=\"head\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" "
           "markerWidth=\"7\" "
           "markerHeight=\"7\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" "
           "fill=\"#000\"/></marker></defs>\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    Text(svg, kMargin, 24,
         "Explosion " + std::to_string(explosion.number) + " at " + explosion.centreName + " " +
             FormatVector(explosion.centre) + ", splash radius " + FormatNumber(explosion.radius),
         "font-size=\"14\" font-weight=\"bold\"");
    Text(svg, kMargin, 42,
         "seen from above: x to the right, z up; distances are to the nearest point of each box",
         "fill=\"#555\"");
}

void DrawReach(std::ostream& svg, const Projection& p, const Explosion& explosion) {
    Rect(svg, p, explosion.cubeMin.x, explosion.cubeMin.z, explosion.cubeMax.x, explosion.cubeMax.z,
         std::string("fill=\"none\" stroke=\"") + kCubeColour + "\" stroke-dasharray=\"6 4\"");
    svg << "<circle cx=\"" << Num(p.X(explosion.centre.x)) << "\" cy=\""
        << Num(p.Y(explosion.centre.z)) << "\" r=\""
        << Num(p.Length(std::max(0.0f, explosion.radius))) << "\" fill=\"" << kReachColour
        << "\" fill-opacity=\"0.12\" stroke=\"" << kReachColour << "\" stroke-width=\"2\"/>\n";
    const double cx = p.X(explosion.centre.x);
    const double cy = p.Y(explosion.centre.z);
    Line(svg, cx - 6, cy, cx + 6, cy, "stroke=\"#000\" stroke-width=\"2\"");
    Line(svg, cx, cy - 6, cx, cy + 6, "stroke=\"#000\" stroke-width=\"2\"");
}

// Places labels so that none covers another: a label that would overlap
// one placed before moves up a line.
class LabelPlacer {
public:
    double Place(double x, double y, std::size_t characters) {
        const double width = static_cast<double>(characters) * kCharWidth;
        while (Overlaps(x, y, width)) y -= kLineHeight;
        placed_.push_back({x, y, width});
        return y;
    }

private:
    static constexpr double kCharWidth = 6.5;
    static constexpr double kLineHeight = 14.0;
    struct Label {
        double x, y, width;
    };
    bool Overlaps(double x, double y, double width) const {
        for (const Label& label : placed_)
            if (std::fabs(label.y - y) < kLineHeight && x < label.x + label.width &&
                label.x < x + width)
                return true;
        return false;
    }
    std::vector<Label> placed_;
};

void DrawPick(std::ostream& svg, const Projection& p, const PickedEntity& pick,
              LabelPlacer& labels) {
    const std::string colour = pick.hit ? kHitColour : kMissColour;
    Rect(svg, p, pick.boxMin.x, pick.boxMin.z, pick.boxMax.x, pick.boxMax.z,
         "fill=\"" + colour + "\" fill-opacity=\"0.3\" stroke=\"" + colour +
             "\" stroke-width=\"1.5\"");
    // The nearest point of the box decides the hit: join it to the centre.
    const D3DXVECTOR3 nearest = NearestBoxPoint(pick.centre, pick.boxMin, pick.boxMax);
    const double nearX = nearest.x;
    const double nearZ = nearest.z;
    Line(svg, p.X(pick.centre.x), p.Y(pick.centre.z), p.X(nearX), p.Y(nearZ),
         "stroke=\"" + colour + "\" stroke-dasharray=\"3 3\"");
    svg << "<circle cx=\"" << Num(p.X(nearX)) << "\" cy=\"" << Num(p.Y(nearZ))
        << "\" r=\"3\" fill=\"" << colour << "\"/>\n";
    char distance[32];
    std::snprintf(distance, sizeof distance, "%.2f", pick.distance);
    const std::string label = pick.name + (pick.hit ? " hit, " : " missed, ") + "d = " + distance;
    const double x = p.X(std::min(pick.boxMin.x, pick.boxMax.x)) + 3;
    const double y = labels.Place(x, p.Y(std::max(pick.boxMin.z, pick.boxMax.z)) - 4, label.size());
    Text(svg, x, y, label, "fill=\"" + colour + "\"");
}

// The push seen from above: along (direction.x, direction.z) from the
// target; a push straight up shows as a ring.
void DrawPush(std::ostream& svg, const Projection& p, const Explosion& explosion,
              const PickedEntity& pick, const DamageMessage& message) {
    const double dx = message.record.direction.x;
    const double dz = message.record.direction.z;
    const double length = std::hypot(dx, dz);
    const double x0 = p.X(pick.position.x);
    const double y0 = p.Y(pick.position.z);
    if (length == 0.0) {
        svg << "<circle cx=\"" << Num(x0) << "\" cy=\"" << Num(y0)
            << "\" r=\"6\" fill=\"none\" stroke=\"#000\" stroke-width=\"2\"/>\n";
        return;
    }
    const double arrow = ArrowLength(explosion);
    Line(svg, x0, y0, p.X(pick.position.x + dx / length * arrow),
         p.Y(pick.position.z + dz / length * arrow),
         "stroke=\"#000\" stroke-width=\"2\" marker-end=\"url(#head)\"");
}

void DrawPushes(std::ostream& svg, const Projection& p, const Explosion& explosion) {
    for (const PickedEntity& pick : explosion.picks)
        if (pick.message >= 0)
            DrawPush(svg, p, explosion, pick,
                     explosion.messages[static_cast<std::size_t>(pick.message)]);
}

void DrawLegend(std::ostream& svg, const Projection& p) {
    const double y = p.Height() - kLegendHeight + 8;
    const std::string swatch =
        "width=\"14\" height=\"14\" fill-opacity=\"0.3\" stroke-width=\"1.5\"";
    svg << "<rect x=\"" << Num(kMargin) << "\" y=\"" << Num(y) << "\" " << swatch << " fill=\""
        << kHitColour << "\" stroke=\"" << kHitColour << "\"/>\n";
    Text(svg, kMargin + 20, y + 12, "hit (box within the radius)", "");
    svg << "<rect x=\"" << Num(kMargin + 200) << "\" y=\"" << Num(y) << "\" " << swatch
        << " fill=\"" << kMissColour << "\" stroke=\"" << kMissColour << "\"/>\n";
    Text(svg, kMargin + 220, y + 12, "missed", "");
    Text(svg, kMargin + 290, y + 12, "dashed square: query cube; circle: reach of the blast", "");
    Text(svg, kMargin, y + 34,
         "dotted lines: centre to the nearest box point; arrows: pushes; ring: push straight up",
         "");
}

}  // namespace

std::string ExplosionSvg(const Explosion& explosion) {
    const Projection projection(SceneBounds(explosion));
    std::ostringstream svg;
    DrawHeader(svg, projection, explosion);
    DrawReach(svg, projection, explosion);
    LabelPlacer labels;
    for (const PickedEntity& pick : explosion.picks) DrawPick(svg, projection, pick, labels);
    DrawPushes(svg, projection, explosion);
    DrawLegend(svg, projection);
    svg << "</svg>\n";
    return svg.str();
}

std::string ExplosionSvgName(const Explosion& explosion) {
    char name[32];
    std::snprintf(name, sizeof name, "explosion-%02d.svg", explosion.number);
    return name;
}

bool PrepareSvgDirectory(const std::string& directory, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code code;
    fs::create_directories(directory, code);
    if (code || !fs::is_directory(directory, code)) {
        error = "cannot write pictures into " + directory + ": " +
                (code ? code.message() : "it is not a folder");
        return false;
    }
    // A file made and removed again tells whether the folder takes files.
    const fs::path probe = fs::path(directory) / ".flamer_host-write-test";
    std::ofstream(probe).put('\n');
    const bool writable = fs::exists(probe, code);
    fs::remove(probe, code);
    if (!writable) {
        error = "cannot write pictures into " + directory + ": " + std::strerror(EACCES);
        return false;
    }
    return true;
}

bool WriteExplosionSvg(const std::string& directory, const Explosion& explosion,
                       std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    if (code) {
        error = "cannot create " + directory + ": " + code.message();
        return false;
    }
    const std::filesystem::path path =
        std::filesystem::path(directory) / ExplosionSvgName(explosion);
    std::ofstream file(path);
    file << ExplosionSvg(explosion);
    file.close();
    if (!file) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

}  // namespace flamer_host
