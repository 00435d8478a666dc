// The report the host program prints: a person reads it to see what every
// command did, which entity each explosion hit and why, what it left out,
// what every module sent, started and printed, and which explosion set off
// which. It prints each happening of the play as it is handed on.
#pragma once

#include "explosion_model.h"
#include "happenings.h"

#include <ostream>
#include <string>

namespace flamer_host {

class Report {
public:
    // The report goes to `out`; what stops or refuses the play goes to `err`.
    Report(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void Print(const Happening& happening);
    void PrintExplosion(const ExplosionModel& model);

private:
    void Print(const ScenarioStarted& started);
    void Print(const ScenarioRefused& refused);
    void Print(const ParametersShown& shown);
    void Print(const CommandStarted& command);
    void Print(const EffectRegistered& effect);
    void Print(const ParamSet& set);
    void Print(const EntityPlaced& entity);
    void Print(const ObjectSpawned& object);
    void Print(const NotKilledAgain& notKilled);
    void Print(const Explosion& explosion);
    void Print(const MessageSent& sent);
    void Print(const EffectStarted& started);
    void Print(const ConsoleLine& line);
    void Print(const Died& died);
    void Print(const NothingHappened&);
    void Print(const CorpsePlaced& corpse);
    void Print(const NoCorpsePlaced&);
    void Print(const EventRaised& event);
    void Print(const HealthAfterwards& health);
    void Print(const Moved& moved);
    void Print(const RunFailed& failed);
    void Print(const ScenarioEnded&) {}

    std::ostream& out_;
    std::ostream& err_;
};

// A note on a negative splash radius (with a leading blank), or nothing.
std::string RadiusNote(double radius);
// The leak tracker's report at exit; "none" when it is empty.
void PrintLeakReport(std::ostream& out, const std::string& report);

}  // namespace flamer_host
