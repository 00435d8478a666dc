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

std::size_t WidestName(const std::vector<PickedEntity>& picks) {
    std::size_t width = 0;
    for (const PickedEntity& pick : picks) width = std::max(width, pick.name.size());
    return width;
}

std::string Pad(const std::string& text, std::size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

void PrintHeader(std::ostream& out, const Explosion& explosion, const std::string& margin) {
    out << margin << "explosion " << explosion.number << " at " << explosion.centreName << " "
        << FormatVector(explosion.centre) << ", splash radius " << FormatNumber(explosion.radius)
        << RadiusNote(explosion.radius);
    if (explosion.setOffBy > 0)
        out << ", set off by explosion " << explosion.setOffBy << ": " << explosion.centreName
            << " died of its damage";
    out << "\n"
        << margin << kIndent << "query cube " << FormatVector(explosion.cubeMin) << " to "
        << FormatVector(explosion.cubeMax) << ": " << explosion.inCube << " in the cube, ";
    if (explosion.inCube > explosion.capacity)
        out << "the " << explosion.reportedPicks << " nearest its centre picked (the limit is "
            << explosion.capacity << ")\n";
    else
        out << explosion.reportedPicks << " picked\n";
}

void PrintPicks(std::ostream& out, const Explosion& explosion, const std::string& margin) {
    const std::size_t width = WidestName(explosion.picks);
    for (const PickedEntity& pick : explosion.picks) {
        const char* verdict = pick.hit ? "HIT   " : "missed";
        const char* relation = pick.distance > explosion.radius ? ">" : "<=";
        out << margin << kIndent << verdict << " " << Pad(pick.name, width) << "  box "
            << FormatVector(pick.boxMin) << " to " << FormatVector(pick.boxMax) << "  distance "
            << Format("%.3f", pick.distance) << " " << relation << " "
            << FormatNumber(explosion.radius) << "\n";
    }
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

std::string FormatNumber(double value) { return Format("%g", value); }

std::string FormatVector(const D3DXVECTOR3& v) {
    std::string text(1, '(');
    text += FormatNumber(v.x) + ", " + FormatNumber(v.y) + ", " + FormatNumber(v.z) + ")";
    return text;
}

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
