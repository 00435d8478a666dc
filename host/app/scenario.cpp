#include "scenario.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>

namespace flamer_host {
namespace {

constexpr char kCommentMark = '#';
constexpr char kQuote = '"';

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Collects the problems of one script.
class ErrorSink {
public:
    ErrorSink(const std::string& source, std::vector<ScenarioError>& errors)
        : source_(source), errors_(errors) {}
    void Report(int line, std::string message) {
        errors_.push_back({source_, line, std::move(message)});
    }

private:
    const std::string& source_;
    std::vector<ScenarioError>& errors_;
};

// Splits one line into words: blanks separate, '#' starts a comment, and a
// double-quoted word may hold blanks (or be empty). Null on an open quote.
std::optional<std::vector<std::string>> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size() || line[i] == kCommentMark) return words;
        if (line[i] == kQuote) {
            const std::size_t close = line.find(kQuote, i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            words.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != kCommentMark) ++i;
        words.emplace_back(line.substr(start, i - start));
    }
}

// The words of a command as a line again, quoting those that need it.
std::string JoinWords(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        const bool quote = word.empty() || word.find_first_of(" \t#") != std::string::npos;
        line += (line.empty() ? "" : " ") + (quote ? kQuote + word + kQuote : word);
    }
    return line;
}

// Reads the words of one command in order; the first problem is reported
// and ends the reading of the line.
class WordReader {
public:
    WordReader(std::vector<std::string> words, int line, ErrorSink& sink)
        : words_(std::move(words)), line_(line), sink_(sink) {}

    bool Word(std::string& out, const char* what) {
        if (!Next(what)) return false;
        out = words_[index_++];
        return true;
    }

    bool Name(std::string& out, const char* what) {
        if (!Word(out, what)) return false;
        if (out.empty()) return Fail(std::string("empty ") + what);
        if (out.size() >= kNameCapacity)
            return Fail(std::string(what) + " '" + out +
                        "' is too long: " + std::to_string(out.size()) + " characters, at most " +
                        std::to_string(kNameCapacity - 1));
        return true;
    }

    // An entity or Flamer name: letters, digits, '_' and '-', so that the
    // report's derived names (a corpse is "<name>.corpse") never collide.
    bool EntityName(std::string& out, const char* what) {
        if (!Name(out, what)) return false;
        for (char c : out)
            if (!IsNameCharacter(c))
                return Fail(std::string(what) + " '" + out +
                            "' may hold only letters, digits, '_' and '-'");
        return true;
    }

    bool Int(int& out, const char* what) {
        std::string word;
        if (!Word(word, what)) return false;
        errno = 0;
        char* end = nullptr;
        const long value = std::strtol(word.c_str(), &end, 10);
        if (word.empty() || *end != '\0')
            return Fail("malformed integer '" + word + "' for " + what);
        if (errno == ERANGE || value < std::numeric_limits<int>::min() ||
            value > std::numeric_limits<int>::max())
            return Fail("integer '" + word + "' for " + what + " is out of range");
        out = static_cast<int>(value);
        return true;
    }

    bool Float(float& out, const char* what) {
        std::string word;
        if (!Word(word, what)) return false;
        char* end = nullptr;
        const float value = std::strtof(word.c_str(), &end);
        if (word.empty() || *end != '\0')
            return Fail("malformed number '" + word + "' for " + what);
        if (std::isinf(value))
            return Fail("number '" + word + "' for " + what + " is out of range");
        if (std::isnan(value))
            return Fail("number '" + word + "' for " + what + " is not a number");
        out = value;
        return true;
    }

    bool Vector(D3DXVECTOR3& out, const char* what) {
        const std::string base(what);
        return Float(out.x, (base + " x").c_str()) && Float(out.y, (base + " y").c_str()) &&
               Float(out.z, (base + " z").c_str());
    }

    // Consumes `keyword` if it comes next.
    bool Optional(const char* keyword) {
        if (index_ < words_.size() && EqualsIgnoringCase(words_[index_], keyword)) {
            ++index_;
            return true;
        }
        return false;
    }

    bool Keyword(const char* keyword) {
        if (Optional(keyword)) return true;
        if (index_ == words_.size()) return Fail(std::string("missing '") + keyword + "'");
        return Fail(std::string("expected '") + keyword + "', found '" + words_[index_] + "'");
    }

    bool AtEnd() const { return index_ == words_.size(); }

    bool End() {
        if (AtEnd()) return true;
        return Fail("unexpected '" + words_[index_] + "' after the command");
    }

    bool Fail(std::string message) {
        sink_.Report(line_, std::move(message));
        return false;
    }

    int Line() const { return line_; }

private:
    bool Next(const char* what) {
        if (index_ < words_.size()) return true;
        return Fail(std::string("missing ") + what);
    }

    std::vector<std::string> words_;
    std::size_t index_ = 0;
    int line_;
    ErrorSink& sink_;
};

bool InvertedBox(const D3DXVECTOR3& lo, const D3DXVECTOR3& hi) {
    return lo.x > hi.x || lo.y > hi.y || lo.z > hi.z;
}

bool ReadBox(WordReader& reader, Command& command) {
    if (!reader.Vector(command.boxMin, "box minimum") ||
        !reader.Vector(command.boxMax, "box maximum"))
        return false;
    if (InvertedBox(command.boxMin, command.boxMax))
        return reader.Fail("box minimum lies above its maximum");
    return true;
}

bool ReadHealth(WordReader& reader, Command& command) {
    command.health = kDefaultHealth;
    return !reader.Optional("health") || reader.Int(command.health, "health");
}

const ParamInfo* FindParam(const std::vector<ParamInfo>& params, std::string_view name) {
    for (const ParamInfo& param : params)
        if (EqualsIgnoringCase(param.name, name)) return &param;
    return nullptr;
}

bool ReadParamValue(WordReader& reader, const ParamInfo& param, Command& command) {
    command.name = param.name;
    command.paramKind = param.kind;
    switch (param.kind) {
        case ParamKind::kInt:
            return reader.Int(command.intValue, ("integer parameter '" + param.name + "'").c_str());
        case ParamKind::kFloat:
            return reader.Float(command.floatValue,
                                ("number parameter '" + param.name + "'").c_str());
        case ParamKind::kText:
            if (!reader.Word(command.text, ("text for '" + param.name + "'").c_str())) return false;
            if (command.text.size() >= param.textCapacity)
                return reader.Fail("text for '" + param.name + "' is too long: " +
                                   std::to_string(command.text.size()) + " characters, at most " +
                                   std::to_string(param.textCapacity - 1));
            return true;
    }
    return false;
}

// What the checker knows of a name defined earlier in the script.
struct Definition {
    int line;
    bool flamer;
    int killedOn;  // 0 while alive
};

// Parses each command and checks it against what the lines before it define.
class ScenarioChecker {
public:
    explicit ScenarioChecker(const std::vector<ParamInfo>& params) : params_(params) {}

    std::optional<Command> Parse(WordReader& reader, const std::string& verb) {
        Command command;
        command.line = reader.Line();
        bool ok = false;
        if (EqualsIgnoringCase(verb, "set"))
            ok = ParseSet(reader, command);
        else if (EqualsIgnoringCase(verb, "effect"))
            ok = ParseEffect(reader, command);
        else if (EqualsIgnoringCase(verb, "entity"))
            ok = ParseEntity(reader, command);
        else if (EqualsIgnoringCase(verb, "flamer"))
            ok = ParseFlamer(reader, command);
        else if (EqualsIgnoringCase(verb, "kill"))
            ok = ParseKill(reader, command);
        else if (EqualsIgnoringCase(verb, "event"))
            ok = ParseEvent(reader, command);
        else if (EqualsIgnoringCase(verb, "move"))
            ok = ParseMove(reader, command);
        else
            return reader.Fail("unknown command '" + verb + "'"), std::nullopt;
        if (!ok || !reader.End()) return std::nullopt;
        return command;
    }

private:
    bool ParseSet(WordReader& reader, Command& command) {
        command.kind = CommandKind::kSet;
        std::string name;
        if (!reader.Word(name, "parameter name")) return false;
        const ParamInfo* param = FindParam(params_, name);
        if (param == nullptr) return reader.Fail("unknown parameter '" + name + "'");
        return ReadParamValue(reader, *param, command);
    }

    bool ParseEffect(WordReader& reader, Command& command) {
        command.kind = CommandKind::kEffect;
        if (!reader.Name(command.name, "effect class name")) return false;
        for (const std::string& known : effects_)
            if (EqualsIgnoringCase(known, command.name))
                return reader.Fail("effect class '" + command.name + "' is already registered");
        effects_.push_back(command.name);
        return true;
    }

    bool ParseEntity(WordReader& reader, Command& command) {
        command.kind = CommandKind::kEntity;
        return reader.EntityName(command.name, "entity name") && reader.Keyword("pos") &&
               reader.Vector(command.position, "position") && reader.Keyword("box") &&
               ReadBox(reader, command) && ReadHealth(reader, command) &&
               Define(reader, command, false);
    }

    bool ParseFlamer(WordReader& reader, Command& command) {
        command.kind = CommandKind::kFlamer;
        command.boxMin = kDefaultFlamerBoxMin;
        command.boxMax = kDefaultFlamerBoxMax;
        if (!reader.EntityName(command.name, "Flamer name") || !reader.Keyword("pos") ||
            !reader.Vector(command.position, "position"))
            return false;
        if (reader.Optional("box") && !ReadBox(reader, command)) return false;
        return Define(reader, command, true);
    }

    bool ParseKill(WordReader& reader, Command& command) {
        command.kind = CommandKind::kKill;
        Definition* flamer = nullptr;
        if (!reader.Word(command.name, "Flamer name") ||
            !FindFlamer(reader, command.name, flamer) || !reader.Int(command.intValue, "kill flag"))
            return false;
        if (flamer->killedOn != 0)
            return reader.Fail("Flamer '" + command.name + "' is already dead (killed on line " +
                               std::to_string(flamer->killedOn) + ")");
        flamer->killedOn = command.line;
        return true;
    }

    bool ParseEvent(WordReader& reader, Command& command) {
        command.kind = CommandKind::kEvent;
        Definition* flamer = nullptr;
        if (!reader.Word(command.name, "Flamer name") ||
            !FindFlamer(reader, command.name, flamer) || !reader.Word(command.text, "event text"))
            return false;
        if (flamer->killedOn == 0)
            return reader.Fail("Flamer '" + command.name + "' has no corpse yet: kill it first");
        return true;
    }

    bool ParseMove(WordReader& reader, Command& command) {
        command.kind = CommandKind::kMove;
        if (!reader.Word(command.name, "entity name")) return false;
        if (Lookup(command.name) == nullptr)
            return reader.Fail("unknown entity '" + command.name + "'");
        return reader.Vector(command.position, "position");
    }

    Definition* Lookup(const std::string& name) {
        const auto found = names_.find(name);
        return found == names_.end() ? nullptr : &found->second;
    }

    bool FindFlamer(WordReader& reader, const std::string& name, Definition*& out) {
        out = Lookup(name);
        if (out == nullptr) return reader.Fail("unknown Flamer '" + name + "'");
        if (!out->flamer) return reader.Fail("'" + name + "' is an entity, not a Flamer");
        return true;
    }

    bool Define(WordReader& reader, const Command& command, bool flamer) {
        if (const Definition* earlier = Lookup(command.name))
            return reader.Fail("'" + command.name + "' is already defined on line " +
                               std::to_string(earlier->line));
        names_.emplace(command.name, Definition{command.line, flamer, 0});
        return true;
    }

    const std::vector<ParamInfo>& params_;
    std::map<std::string, Definition> names_;
    std::vector<std::string> effects_;
};

}  // namespace

std::string FormatError(const ScenarioError& error) {
    return error.source + ":" + std::to_string(error.line) + ": " + error.message;
}

ParseResult ParseScenario(std::string_view text, const std::string& source,
                          const std::vector<ParamInfo>& params) {
    ParseResult result;
    result.scenario.source = source;
    ErrorSink sink(source, result.errors);
    ScenarioChecker checker(params);
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        std::optional<std::vector<std::string>> words = SplitWords(line);
        if (!words) {
            sink.Report(lineNumber, "unterminated quoted text");
            continue;
        }
        if (words->empty()) continue;
        const std::string sourceText = JoinWords(*words);
        const std::string verb = words->front();
        words->erase(words->begin());
        WordReader reader(std::move(*words), lineNumber, sink);
        if (std::optional<Command> command = checker.Parse(reader, verb)) {
            command->sourceText = sourceText;
            result.scenario.commands.push_back(std::move(*command));
        }
    }
    return result;
}

}  // namespace flamer_host
