#include "explosion_words.h"

#include "shown_text.h"

#include <cstdio>

namespace flamer_host {
namespace {

constexpr int kTranslationRow = 3;

// Which face of the cube a box lies beyond, checked height first: the
// world's up axis is y.
std::string OutsideSide(const LeftOutEntity& entity, const Explosion& explosion) {
    const D3DXVECTOR3& lo = explosion.cubeMin;
    const D3DXVECTOR3& hi = explosion.cubeMax;
    if (lo.x > hi.x || lo.y > hi.y || lo.z > hi.z) return "the cube is inverted and holds nothing";
    if (entity.boxMin.y > hi.y) return "above its top, y = " + FormatNumber(hi.y);
    if (entity.boxMax.y < lo.y) return "below its bottom, y = " + FormatNumber(lo.y);
    if (entity.boxMin.x > hi.x) return "beyond its side x = " + FormatNumber(hi.x);
    if (entity.boxMax.x < lo.x) return "beyond its side x = " + FormatNumber(lo.x);
    if (entity.boxMin.z > hi.z) return "beyond its side z = " + FormatNumber(hi.z);
    if (entity.boxMax.z < lo.z) return "beyond its side z = " + FormatNumber(lo.z);
    return "its position lies outside it";
}

}  // namespace

std::string Formatted(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string FormatNumber(double value) { return Formatted("%g", value); }

std::string FormatVector(const D3DXVECTOR3& v) {
    std::string text(1, '(');
    text += FormatNumber(v.x) + ", " + FormatNumber(v.y) + ", " + FormatNumber(v.z) + ")";
    return text;
}

std::string FormatDistance(double distance) { return Formatted("%.3f", distance); }

std::string ExplosionTitle(const Explosion& explosion) {
    return "explosion " + std::to_string(explosion.number) + " at " + explosion.centreName + " " +
           FormatVector(explosion.centre) + ", splash radius " + FormatNumber(explosion.radius);
}

std::string QueryCubeText(const Explosion& explosion) {
    return "query cube " + FormatVector(explosion.cubeMin) + " to " +
           FormatVector(explosion.cubeMax) + ": " + PickCountText(explosion);
}

std::string HitCountText(const Explosion& explosion) {
    int hits = 0;
    for (const PickedEntity& pick : explosion.picks) hits += pick.hit ? 1 : 0;
    const int misses = static_cast<int>(explosion.picks.size()) - hits;
    return std::to_string(hits) + " hit, " + std::to_string(misses) + " missed";
}

std::string SetOffByDeathText(const Explosion& explosion) {
    return "set off by the death of " + explosion.centreName + " in ";
}

std::string ExplosionName(int number) { return "explosion " + std::to_string(number); }

std::string SetOffByText(const Explosion& explosion) {
    if (explosion.setOffBy > 0)
        return SetOffByDeathText(explosion) + ExplosionName(explosion.setOffBy);
    if (explosion.commandLine > 0)
        return "set off by line " + std::to_string(explosion.commandLine) + ": " +
               explosion.commandText;
    return "";
}

std::string PickCountText(const Explosion& explosion) {
    const std::string inCube = std::to_string(explosion.inCube) + " in the cube, ";
    if (explosion.inCube > explosion.capacity)
        return inCube + "the " + std::to_string(explosion.reportedPicks) +
               " nearest its centre picked (the limit is " + std::to_string(explosion.capacity) +
               ")";
    return inCube + std::to_string(explosion.reportedPicks) + " picked";
}

std::string LeftOutWhy(const LeftOutEntity& entity, const Explosion& explosion) {
    if (entity.reason == LeftOutReason::kOverLimit)
        return "in the cube, over the pick limit of " + std::to_string(explosion.capacity);
    return "outside the cube: " + OutsideSide(entity, explosion);
}

std::string ReachText(double distance, double radius) {
    return FormatDistance(distance) + (distance > radius ? " > " : " <= ") + FormatNumber(radius);
}

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

D3DXVECTOR3 EffectPosition(const EffectSpawn& spawn) {
    const D3DXMATRIX& m = spawn.transform;
    return {m.m[kTranslationRow][0], m.m[kTranslationRow][1], m.m[kTranslationRow][2]};
}

std::string EffectText(const Explosion& explosion) {
    if (explosion.spawns.empty()) return "no effect started";
    const EffectSpawn& spawn = explosion.spawns.front();
    std::string text = "effect " + Printable(spawn.effectName) + " started at " +
                       FormatVector(EffectPosition(spawn));
    if (explosion.spawns.size() > 1)
        text += " (and " + std::to_string(explosion.spawns.size() - 1) + " more)";
    return text;
}

}  // namespace flamer_host
