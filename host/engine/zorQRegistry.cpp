// The object registry: class objects by kind and name.
#include "zorQObj.h"
#include "zorQText.h"

#include <algorithm>
#include <atomic>

namespace {

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

zorObjRegistry::zorObjRegistry() = default;
zorObjRegistry::~zorObjRegistry() = default;

bool zorObjRegistry::Register(zorObjClass* cls, const char* kind) {
    if (cls == nullptr || kind == nullptr || cls->GetName()[0] == '\0') return false;
    Entry entry{cls, {}};
    if (!zorq::CopyText(entry.kind, sizeof entry.kind, kind)) return false;
    if (Find(cls->GetName(), kind) != nullptr) return false;
    entries.push_back(entry);
    return true;
}

void zorObjRegistry::Unregister(zorObjClass* cls) {
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [cls](const Entry& entry) { return entry.cls == cls; }),
                  entries.end());
}

zorObjClass* zorObjRegistry::GetClass(const char* className, const char* kind) {
    return Find(className, kind);
}

zorObjClass* zorObjRegistry::Find(const char* className, const char* kind) const {
    for (const Entry& entry : entries) {
        if (zorQ_NamesEqual(entry.kind, kind) && zorQ_NamesEqual(entry.cls->GetName(), className))
            return entry.cls;
    }
    return nullptr;
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
