// The engine's object registry: class objects by kind ("player", "custom",
// ...) and name, both compared without regard to case. The registry does not
// own the classes. The zorQObj_ functions forward to the current registry,
// which tests may replace; a module only looks classes up (zorQObj_GetClass
// in zorQObj.h).
#pragma once

#include "zorQDefs.h"
#include "zorQObj.h"

#include <cstddef>
#include <memory>

// Capacity of a registry kind, terminator included.
constexpr std::size_t kZorQObjKindSize = 32;

class ZOR_HOST_API zorObjRegistry {
public:
    zorObjRegistry();
    zorObjRegistry(const zorObjRegistry&) = delete;
    zorObjRegistry& operator=(const zorObjRegistry&) = delete;
    virtual ~zorObjRegistry();

    // Registers `cls` under `kind` and the name it has now (a class renamed
    // later stays registered under the old name); false when it is null, has
    // no name, the kind is too long, or that kind and name are taken.
    virtual bool Register(zorObjClass* cls, const char* kind);
    virtual void Unregister(zorObjClass* cls);
    virtual zorObjClass* GetClass(const char* name, const char* kind);

private:
    // The classes by kind and name, and the keys each class is known by.
    struct Classes;
    std::unique_ptr<Classes> classes_;
};

extern "C" {
// Registers `cls` in the current registry; 1 on success, 0 when refused.
ZOR_HOST_API int zorQObj_RegisterClass(zorObjClass* cls, const char* kind);
ZOR_HOST_API void zorQObj_UnregisterClass(zorObjClass* cls);
}

// Makes `registry` current and returns the previous one; null restores the
// built-in registry. The caller keeps ownership.
ZOR_HOST_API zorObjRegistry* zorQObj_SetRegistry(zorObjRegistry* registry);
