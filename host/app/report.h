// The report the host program prints: a person reads it to see which entity
// each explosion hit, why, what it left out, what it received, and which
// explosion set off which.
#pragma once

#include "explosion_record.h"
#include "explosion_words.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace flamer_host {

// One class parameter as the report shows it.
struct ParamLine {
    std::string name;
    std::string kind;   // "text", "integer" or "float"
    std::string value;  // quoted for text
};

// One entity's health after a command; empty when it keeps none (a corpse).
struct HealthLine {
    std::string name;
    std::optional<int> health;
    std::string note;  // e.g. "dead", "corpse"
};

void PrintParameters(std::ostream& out, const std::vector<ParamLine>& params,
                     const std::string& binding);
// A note on a negative splash radius (with a leading blank), or nothing.
std::string RadiusNote(double radius);
void PrintExplosion(std::ostream& out, const Explosion& explosion);
void PrintHealth(std::ostream& out, const std::vector<HealthLine>& lines);
// The leak tracker's report at exit; "none" when it is empty.
void PrintLeakReport(std::ostream& out, const std::string& report);

}  // namespace flamer_host
