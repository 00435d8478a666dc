#include "report.h"

#include "explosion_words.h"
#include "shown_text.h"
#include "zorQModule.h"

#include <algorithm>

namespace flamer_host {
namespace {

constexpr int kMatrixRows = 4;
constexpr int kMatrixColumns = 4;
constexpr std::size_t kKindWidth = 7;
constexpr char kMargin[] = "  ";
constexpr char kIndent[] = "    ";
constexpr char kExplosionIndent[] = "      ";        // an explosion's lines, under its title
constexpr char kExplosionDeepIndent[] = "        ";  // their second lines

std::string MessageName(unsigned long number) {
    const std::string numbered = "message (" + std::to_string(number) + ")";
    return number == ZORQMSG_DAMAGE ? "damage " + numbered : numbered;
}

std::string Pad(const std::string& text, std::size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

std::string ValueText(const std::optional<ParamValue>& value) {
    if (!value) return "?";
    if (const auto* text = std::get_if<std::string>(&*value)) return Enclosed(*text, '"');
    if (const auto* number = std::get_if<int32_t>(&*value)) return std::to_string(*number);
    return FormatNumber(std::get<float>(*value));
}

std::string BindingText(const EffectBinding& binding) {
    const std::string quoted = Enclosed(binding.name, '"');
    switch (binding.state) {
        case EffectBinding::State::kNoName:
            return "no effect class named: explosions start no effect";
        case EffectBinding::State::kNotRegistered:
            return "effect class " + quoted + " is not registered: explosions start no effect";
        case EffectBinding::State::kNotBound:
            return "effect class " + quoted +
                   " is registered but not bound (it was named before it was registered): "
                   "explosions start no effect";
        case EffectBinding::State::kBound:
            break;
    }
    return "effect class bound: " + Printable(binding.name);
}

// The widest name of the entities, so their boxes line up.
std::size_t WidestName(const ExplosionModel& model) {
    std::size_t width = 0;
    for (const EntityView& entity : model.entities) width = std::max(width, entity.name.size());
    return width;
}

std::string BoxText(const EntityView& entity, std::size_t width) {
    return Pad(entity.name, width) + "  box " + FormatVector(entity.boxMin) + " to " +
           FormatVector(entity.boxMax);
}

void PrintMatrix(std::ostream& out, const D3DXMATRIX& matrix, const char* indent) {
    for (int row = 0; row < kMatrixRows; ++row) {
        out << indent << "[";
        for (int column = 0; column < kMatrixColumns; ++column)
            out << (column == 0 ? "" : " ") << Formatted("%8.3f", matrix.m[row][column]);
        out << " ]\n";
    }
}

// A message's contents after "... to TARGET": the damage record in full, or
// the two parameters.
void PrintMessageBody(std::ostream& out, const SentMessage& message, const char* indent) {
    if (!message.hasDamage && message.number != ZORQMSG_DAMAGE) {
        out << ": param1 " << message.param1 << ", param2 " << message.param2 << "\n";
        return;
    }
    const zorQMsgDamage& damage = message.damage;
    out << ": damage " << damage.damage << ", impulse " << FormatNumber(damage.impulse)
        << ", rotImpulse " << FormatNumber(damage.rotImpulse) << "\n"
        << indent << "origin " << FormatVector(damage.origin) << ", direction "
        << FormatVector(damage.direction) << "\n";
}

void PrintHeader(std::ostream& out, const Explosion& explosion) {
    out << kMargin << ExplosionTitle(explosion) << RadiusNote(explosion.radius);
    // The command that set off the others is echoed just above them.
    if (explosion.setOffBy > 0) out << ", " << SetOffByText(explosion);
    out << "\n" << kExplosionIndent << QueryCubeText(explosion) << "\n";
}

void PrintPicks(std::ostream& out, const ExplosionModel& model) {
    const std::size_t width = WidestName(model);
    for (const EntityView& entity : model.entities) {
        if (!Picked(entity.verdict)) continue;
        const char* verdict = entity.verdict == Verdict::kHit ? "HIT   " : "missed";
        out << kExplosionIndent << verdict << " " << BoxText(entity, width) << "  distance "
            << ReachText(entity.distance, model.record.radius) << ", nearest point "
            << FormatVector(entity.nearest) << "\n";
    }
}

// The entities left out for one verdict, nearest first, and how many more
// there were than the record keeps.
void PrintLeftOut(std::ostream& out, const ExplosionModel& model, Verdict verdict, int total,
                  const std::string& heading) {
    const std::size_t width = WidestName(model);
    out << kExplosionIndent << heading << ":\n";
    int shown = 0;
    for (const EntityView& entity : model.entities) {
        if (entity.verdict != verdict) continue;
        ++shown;
        out << kExplosionDeepIndent << BoxText(entity, width) << "  distance "
            << FormatDistance(entity.distance) << ", " << entity.reason << "\n";
    }
    if (total > shown) out << kExplosionDeepIndent << "and " << total - shown << " more\n";
}

void PrintLeftOuts(std::ostream& out, const ExplosionModel& model) {
    const Explosion& explosion = model.record;
    const int overLimit = explosion.inCube - explosion.reportedPicks;
    if (overLimit > 0)
        PrintLeftOut(out, model, Verdict::kOverLimit, overLimit,
                     "not picked, over the pick limit (nearest first)");
    if (explosion.nearbyOutside > 0)
        PrintLeftOut(out, model, Verdict::kOutside, explosion.nearbyOutside,
                     "not picked, outside the cube but near it (nearest first)");
}

void PrintMessages(std::ostream& out, const Explosion& explosion) {
    if (explosion.messages.empty()) {
        out << kExplosionIndent << "no damage message\n";
        return;
    }
    for (const SentMessage& message : explosion.messages) {
        out << kExplosionIndent << MessageName(message.number) << " to " << message.target;
        PrintMessageBody(out, message, kExplosionDeepIndent);
    }
}

void PrintSpawns(std::ostream& out, const Explosion& explosion) {
    if (explosion.spawns.empty()) {
        out << kExplosionIndent << "no effect started\n";
        return;
    }
    for (const EffectSpawn& spawn : explosion.spawns) {
        out << kExplosionIndent << "effect " << Printable(spawn.effectName) << " started at\n";
        PrintMatrix(out, spawn.transform, kExplosionDeepIndent);
    }
}

void PrintConsoleLines(std::ostream& out, const Explosion& explosion) {
    for (const std::string& line : explosion.consoleLines)
        out << kExplosionIndent << "console: " << Printable(line) << "\n";
}

}  // namespace

void Report::Print(const Happening& happening) {
    std::visit([this](const auto& told) { Print(told); }, happening);
}

void Report::PrintExplosion(const ExplosionModel& model) {
    PrintHeader(out_, model.record);
    PrintPicks(out_, model);
    PrintLeftOuts(out_, model);
    PrintMessages(out_, model.record);
    PrintSpawns(out_, model.record);
    PrintConsoleLines(out_, model.record);
}

void Report::Print(const ScenarioStarted& started) {
    out_ << "scenario " << Printable(started.source) << ": " << started.commandCount
         << " commands\n";
}

void Report::Print(const ScenarioRefused& refused) {
    for (const ScenarioError& error : refused.errors) err_ << FormatError(error) << "\n";
    err_ << refused.errors.size() << (refused.errors.size() == 1 ? " error" : " errors")
         << ": nothing was run\n";
}

// One block per class; a single class's block is just "class parameters".
void Report::Print(const ParametersShown& shown) {
    for (const ClassParameters& cls : shown.classes) {
        out_ << "\nclass parameters";
        if (shown.classes.size() > 1) out_ << " of " << Printable(cls.className);
        if (cls.params.empty() && !cls.binding) {
            out_ << ": none\n";
            continue;
        }
        out_ << "\n";
        std::size_t width = 0;
        for (const ParamLine& param : cls.params)
            width = std::max(width, Printable(param.name).size());
        for (const ParamLine& param : cls.params)
            out_ << kIndent << Pad(Printable(param.name), width) << "  "
                 << Pad(zorParam_KindName(param.type), kKindWidth) << "  " << ValueText(param.value)
                 << "\n";
        if (cls.binding) out_ << kIndent << BindingText(*cls.binding) << "\n";
    }
}

void Report::Print(const CommandStarted& command) {
    out_ << "\nline " << command.line << ": " << command.text << "\n";
}

void Report::Print(const EffectRegistered& effect) {
    out_ << kMargin << "effect class " << Printable(effect.name) << " registered as "
         << Enclosed(effect.kind, '"') << "\n";
}

void Report::Print(const ParamSet& set) {
    out_ << kMargin << Printable(set.shownName) << " is now " << ValueText(set.value);
    if (set.bindingChange) out_ << "; " << BindingText(*set.bindingChange);
    if (set.splashRadius) out_ << RadiusNote(*set.splashRadius);
    out_ << "\n";
}

void Report::Print(const EntityPlaced& entity) {
    out_ << kMargin << "entity " << entity.name << " at " << FormatVector(entity.position)
         << ", health " << entity.health << "\n";
}

void Report::Print(const ObjectSpawned& object) {
    out_ << kMargin << Printable(object.noun) << " " << object.name << " at "
         << FormatVector(object.position) << ", health " << object.health << "\n";
}

void Report::Print(const NotKilledAgain& notKilled) {
    out_ << kMargin << notKilled.name << " already died";
    if (notKilled.causeExplosion)
        out_ << " of the damage of explosion " << *notKilled.causeExplosion;
    out_ << ": it is not killed again\n";
}

void Report::Print(const Explosion& explosion) { PrintExplosion(ModelOf(explosion)); }

void Report::Print(const MessageSent& sent) {
    out_ << kMargin << MessageName(sent.message.number) << " from " << sent.sender << " to "
         << sent.message.target;
    PrintMessageBody(out_, sent.message, kIndent);
}

void Report::Print(const EffectStarted& started) {
    out_ << kMargin << "effect " << Printable(started.spawn.effectName) << " started by "
         << started.startedBy << " at\n";
    PrintMatrix(out_, started.spawn.transform, kIndent);
}

void Report::Print(const ConsoleLine& line) {
    out_ << kMargin << "console: " << Printable(line.text) << "\n";
}

void Report::Print(const Died& died) {
    // A death that sets off an explosion is told by the explosion's title.
    if (died.setOffExplosion) return;
    out_ << kMargin << died.name << " died of the damage of ";
    if (died.causeExplosion > 0)
        out_ << ExplosionName(died.causeExplosion) << "\n";
    else
        out_ << "a message from " << died.causeSender << "\n";
}

void Report::Print(const NothingHappened&) { out_ << kMargin << "no explosion\n"; }

void Report::Print(const CorpsePlaced& corpse) {
    out_ << kMargin << "corpse " << corpse.name << " placed at " << FormatVector(corpse.position)
         << "\n";
}

void Report::Print(const NoCorpsePlaced&) { out_ << kMargin << "no corpse was placed\n"; }

void Report::Print(const EventRaised& event) {
    out_ << kMargin << "event " << Enclosed(event.text, '"') << " reached " << event.reached
         << " callback" << (event.reached == 1 ? "" : "s") << "\n";
}

void Report::Print(const HealthAfterwards& health) {
    out_ << kMargin << "health afterwards:";
    for (const HealthLine& line : health.lines) {
        out_ << " " << line.name << " ";
        out_ << (line.health ? std::to_string(*line.health) : std::string("-"));
        if (!line.note.empty()) out_ << " (" << line.note << ")";
        out_ << (&line == &health.lines.back() ? "" : ",");
    }
    out_ << "\n";
}

void Report::Print(const Moved& moved) {
    out_ << kMargin << moved.name << " moved to " << FormatVector(moved.position) << "\n";
}

void Report::Print(const RunFailed& failed) { err_ << FormatError(failed.error) << "\n"; }

std::string RadiusNote(double radius) {
    return radius < 0 ? " (negative: the query cube is inverted, nothing is picked or reached)"
                      : "";
}

void PrintLeakReport(std::ostream& out, const std::string& report) {
    out << "leak report: " << (report.empty() ? "none\n" : "\n" + report);
    if (!report.empty() && report.back() != '\n') out << "\n";
}

}  // namespace flamer_host
