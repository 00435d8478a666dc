// The object registry: class objects by kind and name.
#include "zorObjRegistry.h"

#include "zorQNameHash.h"
#include "zorQObj.h"

#include <atomic>
#include <string>
#include <unordered_map>

namespace {

// A class's registry key: its kind and its name, joined by a byte neither
// can hold.
std::string KeyOf(const char* kind, const char* className) {
    std::string key(kind);
    key += '\0';
    key += className;
    return key;
}

zorObjRegistry& DefaultRegistry() {
    static zorObjRegistry registry;
    return registry;
}

std::atomic<zorObjRegistry*> currentRegistry{nullptr};

zorObjRegistry& CurrentRegistry() {
    zorObjRegistry* registry = currentRegistry.load(std::memory_order_relaxed);
    return registry != nullptr ? *registry : DefaultRegistry();
}

}  // namespace

struct zorObjRegistry::Classes {
    std::unordered_map<std::string, zorObjClass*, zorQNameHash, zorQNameEqual> byKey;
    std::unordered_multimap<const zorObjClass*, std::string> keysOf;
};

zorObjRegistry::zorObjRegistry() : classes_(std::make_unique<Classes>()) {}
zorObjRegistry::~zorObjRegistry() = default;

bool zorObjRegistry::Register(zorObjClass* cls, const char* kind) {
    if (cls == nullptr || kind == nullptr || cls->GetName()[0] == '\0') return false;
    if (std::char_traits<char>::length(kind) >= kZorQObjKindSize) return false;
    std::string key = KeyOf(kind, cls->GetName());
    if (!classes_->byKey.emplace(key, cls).second) return false;
    classes_->keysOf.emplace(cls, std::move(key));
    return true;
}

void zorObjRegistry::Unregister(zorObjClass* cls) {
    const auto [first, last] = classes_->keysOf.equal_range(cls);
    for (auto it = first; it != last; ++it) classes_->byKey.erase(it->second);
    classes_->keysOf.erase(first, last);
}

zorObjClass* zorObjRegistry::GetClass(const char* className, const char* kind) {
    if (className == nullptr || kind == nullptr) return nullptr;
    const auto found = classes_->byKey.find(KeyOf(kind, className));
    return found != classes_->byKey.end() ? found->second : nullptr;
}

zorObjRegistry* zorQObj_SetRegistry(zorObjRegistry* registry) {
    zorObjRegistry* previous = &CurrentRegistry();
    currentRegistry.store(registry, std::memory_order_relaxed);
    return previous;
}

extern "C" {

zorObjClass* zorQObj_GetClass(const char* className, const char* kind) {
    return CurrentRegistry().GetClass(className, kind);
}

int zorQObj_RegisterClass(zorObjClass* cls, const char* kind) {
    return CurrentRegistry().Register(cls, kind) ? 1 : 0;
}

void zorQObj_UnregisterClass(zorObjClass* cls) { CurrentRegistry().Unregister(cls); }

}  // extern "C"
