// The words the report and the pictures share, so that both tell an
// explosion's story the same way.
#pragma once

#include "explosion_record.h"

#include <string>

namespace flamer_host {

// A number formatted by a printf format that takes one double.
std::string Formatted(const char* format, double value);
std::string FormatNumber(double value);
std::string FormatVector(const D3DXVECTOR3& v);
// A distance as the report shows it, to three decimals.
std::string FormatDistance(double distance);

// "explosion 6 at f2 (-60, 0, 0), splash radius 100"
std::string ExplosionTitle(const Explosion& explosion);
// The title as a heading: "Explosion 6 at f2 (-60, 0, 0), splash radius 100"
std::string HeadingText(const Explosion& explosion);
// The query cube, what it found and how many were hit, and how many stood
// near the cube outside it.
std::string QueryText(const Explosion& explosion);
// The damage messages sent and the effect started.
std::string BlastText(const Explosion& explosion);
// "query cube (-100, -100, -100) to (100, 100, 100): " and the pick count.
std::string QueryCubeText(const Explosion& explosion);
// "5 hit, 2 missed"
std::string HitCountText(const Explosion& explosion);
// "set off by the death of f2 in explosion 5", "set off by line 24: kill f1
// 2", or nothing when the command is not known.
std::string SetOffByText(const Explosion& explosion);
// For an explosion set off by another: "set off by the death of f2 in ", and
// the words that name the other, "explosion 5".
std::string SetOffByDeathText(const Explosion& explosion);
std::string ExplosionName(int number);
// "7 in the cube, 7 picked", or, when the pick limit applied, "42 in the
// cube, the 32 nearest its centre picked (the limit is 32)".
std::string PickCountText(const Explosion& explosion);
// Why an entity left out was not picked: "in the cube, over the pick limit
// of 32", "outside the cube: above its top, y = 100".
std::string LeftOutWhy(const LeftOutEntity& entity, const Explosion& explosion);
// The distance compared with the radius: "100.000 <= 100" ("<=" is in reach).
std::string ReachText(double distance, double radius);
// The effect started, and where: "effect fx_boom started at (0, 0, 0)", or
// "no effect started".
std::string EffectText(const Explosion& explosion);
// Where an effect started: the translation of its transform.
D3DXVECTOR3 EffectPosition(const EffectSpawn& spawn);

}  // namespace flamer_host
