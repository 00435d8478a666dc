// The Flamer: a classic player whose death, and every "fireblow" event on its
// corpse, sets off an explosion that damages every entity in reach and starts
// an optional effect class at the body.
//
// zorPlFlamerClass is the class object the host obtains from CreateObjClass;
// it holds the tuning (five class parameters) and creates zorPlFlamer objects.
#pragma once

#include "zorQModule.h"
#include "zorQObj.h"
#include "zorQWorld.h"

#include <cstddef>
#include <cstdint>

// Source path the plug-in reports to the leak tracker.
#define PLFLAMER_SOURCE_FILE "CODE/OBJECTS/plFlamer/plFlamer"

// Capacity of the effect class name, terminator included.
constexpr std::size_t kFlamerExplosionNameSize = 128;
static_assert(kFlamerExplosionNameSize == kZorParamTextSize);

// Class storage comes from the tracked allocator; a null block makes the
// new-expression yield null.
#define ZOR_TRACKED_STORAGE                                                           \
    static void* operator new(std::size_t size) noexcept;                             \
    static void* operator new(std::size_t size, const char* file, int line) noexcept; \
    static void* operator new[](std::size_t size) noexcept;                           \
    static void operator delete(void* block) noexcept;                                \
    static void operator delete(void* block, const char* file, int line) noexcept;    \
    static void operator delete[](void* block) noexcept;

class ZOR_MODULE_API zorPlFlamerClass : public zorPlClassicClass {
public:
    zorPlFlamerClass();
    zorPlFlamerClass(const zorPlFlamerClass& other);
    zorPlFlamerClass& operator=(const zorPlFlamerClass& other);
    ~zorPlFlamerClass() override;

    ZOR_TRACKED_STORAGE

    void AddRef() override;
    void Release() override;
    zorObj* CreateObj() override;
    void ParamChanged(zorParam* param) override;

    // Sends the damage message to every entity whose box lies within
    // splashRadius of the centre's position, then starts the bound effect
    // class at the centre.
    void ExplodeCorpse(zorQEntityRef* centre);

    char explosionName[kFlamerExplosionNameSize];
    zorObjClass* explosionClass;
    int32_t splashRadius;
    int32_t splashDamage;
    float impulse;
    float rotImpulse;

private:
    void RegisterParams();
    void AddParamRecord(zorParam* record);
    void BindExplosionClass();
    void UnbindExplosionClass();
};

class ZOR_MODULE_API zorPlFlamer : public zorPlClassic {
public:
    explicit zorPlFlamer(zorObjClass* objClass);
    zorPlFlamer(const zorPlFlamer& other);
    zorPlFlamer& operator=(const zorPlFlamer& other);
    ~zorPlFlamer() override;

    ZOR_TRACKED_STORAGE

    long Create(zorQEntityRef* entity, unsigned long flags) override;
    // A non-zero flag explodes the Flamer at its own entity before the
    // classic player's death handling.
    void Kill(int flag) override;
    // Places the corpse and registers the corpse event callback with it.
    zorQEntityRef* PlaceCorpse() override;

    // The class object that created this Flamer.
    zorPlFlamerClass* FlamerClass() const { return static_cast<zorPlFlamerClass*>(objClass); }
    // The living Flamer's own world entity.
    zorQEntityRef* OwnEntity() const { return entity; }
};

#undef ZOR_TRACKED_STORAGE

extern "C" ZOR_MODULE_API zorPlFlamerClass* CreateObjClass();
