#include "report.h"

#include <algorithm>
#include <cstdio>

namespace flamer_host {
namespace {

constexpr int kMatrixRows = 4;
constexpr int kMatrixColumns = 4;
constexpr char kMargin[] = "  ";
constexpr char kIndent[] = "    ";
constexpr char kDeepIndent[] = "      ";

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string MessageName(unsigned long number) {
    const std::string numbered = "message (" + std::to_string(number) + ")";
    return number == ZORQMSG_DAMAGE ? "damage " + numbered : numbered;
}

// The widest name of the picks and of those left out, so their boxes line up.
std::size_t WidestName(const Explosion& explosion) {
    std::size_t width = 0;
    for (const PickedEntity& pick : explosion.picks) width = std::max(width, pick.name.size());
    for (const LeftOutEntity& left : explosion.leftOut) width = std::max(width, left.name.size());
    return width;
}

std::string Pad(const std::string& text, std::size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

void PrintHeader(std::ostream& out, const Explosion& explosion, const std::string& margin) {
    out << margin << ExplosionTitle(explosion) << RadiusNote(explosion.radius);
    // The command that set off the others is echoed just above them.
    if (explosion.setOffBy > 0) out << ", " << SetOffByText(explosion);
    out << "\n" << margin << kIndent << QueryCubeText(explosion) << "\n";
}

std::string BoxText(const std::string& name, std::size_t width, const D3DXVECTOR3& boxMin,
                    const D3DXVECTOR3& boxMax) {
    return Pad(name, width) + "  box " + FormatVector(boxMin) + " to " + FormatVector(boxMax);
}

void PrintPicks(std::ostream& out, const Explosion& explosion, const std::string& margin) {
    const std::size_t width = WidestName(explosion);
    for (const PickedEntity& pick : explosion.picks) {
        const char* verdict = pick.hit ? "HIT   " : "missed";
        out << margin << kIndent << verdict << " "
            << BoxText(pick.name, width, pick.boxMin, pick.boxMax) << "  distance "
            << ReachText(pick.distance, explosion.radius) << ", nearest point "
            << FormatVector(NearestBoxPoint(pick.centre, pick.boxMin, pick.boxMax)) << "\n";
    }
}

// The entities left out for one reason, nearest first, and how many more
// there were than the record keeps.
void PrintLeftOut(std::ostream& out, const Explosion& explosion, LeftOutReason reason, int total,
                  const std::string& heading, const std::string& margin) {
    const std::size_t width = WidestName(explosion);
    out << margin << kIndent << heading << ":\n";
    int shown = 0;
    for (const LeftOutEntity& left : explosion.leftOut) {
        if (left.reason != reason) continue;
        ++shown;
        out << margin << kDeepIndent << BoxText(left.name, width, left.boxMin, left.boxMax)
            << "  distance " << FormatDistance(left.distance) << ", " << LeftOutWhy(left, explosion)
            << "\n";
    }
    if (total > shown) out << margin << kDeepIndent << "and " << total - shown << " more\n";
}

void PrintLeftOuts(std::ostream& out, const Explosion& explosion, const std::string& margin) {
    const int overLimit = explosion.inCube - explosion.reportedPicks;
    if (overLimit > 0)
        PrintLeftOut(out, explosion, LeftOutReason::kOverLimit, overLimit,
                     "not picked, over the pick limit (nearest first)", margin);
    if (explosion.nearbyOutside > 0)
        PrintLeftOut(out, explosion, LeftOutReason::kOutsideCube, explosion.nearbyOutside,
                     "not picked, outside the cube but near it (nearest first)", margin);
}

void PrintMessages(std::ostream& out, const Explosion& explosion, const std::string& margin) {
    if (explosion.messages.empty()) {
        out << margin << kIndent << "no damage message\n";
        return;
    }
    for (const DamageMessage& message : explosion.messages) {
        const zorQMsgDamage& record = message.record;
        out << margin << kIndent << MessageName(message.number) << " to " << message.target
            << ": damage " << record.damage << ", impulse " << FormatNumber(record.impulse)
            << ", rotImpulse " << FormatNumber(record.rotImpulse) << "\n"
            << margin << kDeepIndent << "origin " << FormatVector(record.origin) << ", direction "
            << FormatVector(record.direction) << "\n";
    }
}

void PrintMatrix(std::ostream& out, const D3DXMATRIX& matrix, const std::string& margin) {
    for (int row = 0; row < kMatrixRows; ++row) {
        out << margin << kDeepIndent << "[";
        for (int column = 0; column < kMatrixColumns; ++column)
            out << (column == 0 ? "" : " ") << Format("%8.3f", matrix.m[row][column]);
        out << " ]\n";
    }
}

void PrintSpawns(std::ostream& out, const Explosion& explosion, const std::string& margin) {
    if (explosion.spawns.empty()) {
        out << margin << kIndent << "no effect started\n";
        return;
    }
    for (const EffectSpawn& spawn : explosion.spawns) {
        out << margin << kIndent << "effect " << spawn.effectName << " started at\n";
        PrintMatrix(out, spawn.transform, margin);
    }
}

}  // namespace

void PrintParameters(std::ostream& out, const std::vector<ParamLine>& params,
                     const std::string& binding) {
    out << "class parameters\n";
    std::size_t width = 0;
    for (const ParamLine& param : params) width = std::max(width, param.name.size());
    for (const ParamLine& param : params)
        out << kIndent << Pad(param.name, width) << "  " << Pad(param.kind, 7) << "  "
            << param.value << "\n";
    out << kIndent << binding << "\n";
}

std::string RadiusNote(double radius) {
    return radius < 0 ? " (negative: the query cube is inverted, nothing is picked or reached)"
                      : "";
}

void PrintExplosion(std::ostream& out, const Explosion& explosion) {
    const std::string margin = kMargin;
    PrintHeader(out, explosion, margin);
    PrintPicks(out, explosion, margin);
    PrintLeftOuts(out, explosion, margin);
    PrintMessages(out, explosion, margin);
    PrintSpawns(out, explosion, margin);
}

void PrintHealth(std::ostream& out, const std::vector<HealthLine>& lines) {
    out << "  health afterwards:";
    for (const HealthLine& line : lines) {
        out << " " << line.name << " ";
        out << (line.health ? std::to_string(*line.health) : std::string("-"));
        if (!line.note.empty()) out << " (" << line.note << ")";
        out << (&line == &lines.back() ? "" : ",");
    }
    out << "\n";
}

void PrintLeakReport(std::ostream& out, const std::string& report) {
    out << "leak report: " << (report.empty() ? "none\n" : "\n" + report);
    if (!report.empty() && report.back() != '\n') out << "\n";
}

}  // namespace flamer_host
