#include "scenario_checker.h"

#include "shown_text.h"
#include "zorQBox.h"

#include <vector>

namespace flamer_host {
namespace {

constexpr char kClassSeparator = '.';

// "plA and plB", "plA, plB and plC"
std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

}  // namespace

ScenarioChecker::ScenarioChecker(const ClassCatalogue& classes) : classes_(classes) {
    // Effect classes that modules brought are registered already.
    for (const ClassInfo& cls : classes_.Classes())
        if (cls.kind == kEffectKind) effects_.insert(cls.name);
}

const ClassInfo* ScenarioChecker::FindClass(WordReader& reader, const std::string& name) {
    if (const ClassInfo* cls = classes_.Find(name)) return cls;
    reader.Fail("unknown class " + Quoted(name) + " (the classes: " + classes_.Names() + ")");
    return nullptr;
}

const ClassInfo* ScenarioChecker::FindSpawnableClass(WordReader& reader, const std::string& name) {
    const ClassInfo* cls = FindClass(reader, name);
    if (cls == nullptr || cls->classicPlayer) return cls;
    reader.Fail("class " + Quoted(cls->name) + " is not a classic player class: only those spawn");
    return nullptr;
}

bool ScenarioChecker::FindParam(WordReader& reader, const std::string& word, FoundParam& found) {
    const std::size_t dot = word.find(kClassSeparator);
    if (dot != std::string::npos) {
        if (const ClassInfo* cls = classes_.Find(std::string_view(word).substr(0, dot))) {
            const std::string name = word.substr(dot + 1);
            found = {cls, cls->FindParam(name)};
            if (found.param != nullptr) return true;
            return reader.Fail("class " + cls->name + " has no parameter " + Quoted(name));
        }
    }
    std::vector<std::string> listers;
    for (const ClassInfo& cls : classes_.Classes()) {
        if (const ParamInfo* param = cls.FindParam(word)) {
            if (listers.empty()) found = {&cls, param};
            listers.push_back(cls.name);
        }
    }
    if (listers.size() == 1) return true;
    if (listers.empty()) return reader.Fail("unknown parameter " + Quoted(word));
    return reader.Fail("parameter " + Quoted(word) + " is listed by " + Listed(listers) +
                       ": name the class, as in " + listers.front() + kClassSeparator +
                       Printable(word));
}

bool ScenarioChecker::AddEffect(WordReader& reader, const std::string& name) {
    if (!effects_.insert(name).second)
        return reader.Fail("effect class " + Quoted(name) + " is already registered");
    return true;
}

bool ScenarioChecker::Define(WordReader& reader, const std::string& name,
                             const Definition& definition) {
    const auto [found, added] = names_.emplace(name, definition);
    if (!added)
        return reader.Fail(Quoted(name) + " is already defined on line " +
                           std::to_string(found->second.line));
    return true;
}

ScenarioChecker::Definition* ScenarioChecker::FindEntity(WordReader& reader,
                                                         const std::string& name) {
    const auto found = names_.find(name);
    if (found != names_.end()) return &found->second;
    reader.Fail("unknown entity " + Quoted(name));
    return nullptr;
}

ScenarioChecker::Definition* ScenarioChecker::FindObject(WordReader& reader,
                                                         const std::string& name) {
    const auto found = names_.find(name);
    if (found == names_.end()) {
        reader.Fail("unknown object " + Quoted(name));
        return nullptr;
    }
    if (found->second.IsObject()) return &found->second;
    reader.Fail(Quoted(name) + " is an entity, not an object that flamer or spawn made");
    return nullptr;
}

bool CheckBoxFits(WordReader& reader, const D3DXVECTOR3& position, const D3DXVECTOR3& boxMin,
                  const D3DXVECTOR3& boxMax) {
    if (zorq::Finite(zorq::Add(position, boxMin)) && zorq::Finite(zorq::Add(position, boxMax)))
        return true;
    return reader.Fail("the box at this position reaches beyond the largest float");
}

}  // namespace flamer_host
